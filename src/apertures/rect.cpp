#include "apertures/rect.h"

#include <cmath>

#include "core/parallel.h"

namespace kv {

namespace {

// Degrees to radians with the sign of the rotation folded in: -3.1415927/180.
constexpr double kMinusDegree = -0.01745329277777778;

// The blanking test. The aperture blanks outside the closed rectangle, the
// screen inside the open one, so an edge sample passes both. NaN makes every
// comparison it takes part in false.
inline bool blanked(double u, double v, double hw, double hh, Keep keep) {
  const double au = std::fabs(u);
  const double av = std::fabs(v);
  return keep == Keep::Inside ? (au > hw || av > hh) : (au < hw && av < hh);
}

}  // namespace

void rect_mask(double w, double h, double x_shift, double y_shift, double phi, const FieldIn& in,
               const FieldOut& out, Keep keep) {
  const int32_t n = in.n;
  const double dx = in.dx();
  // Only a Phi that compares equal to 0 skips the rotation; 360 does not.
  const bool rotate = !(phi == 0.0);
  double c = 1.0;
  double s = 0.0;
  if (rotate) {
    const double theta = phi * kMinusDegree;
    c = std::cos(theta);
    s = std::sin(theta);
  }
  const double hw = w * 0.5;
  const double hh = h * 0.5;

  with_samples(in, [&](auto* z) {
    parallel_for(n, column_grain(n, kGrainMemory), [=](int64_t i0, int64_t i1) {
      for (int64_t i = i0; i < i1; ++i) {
        const double x = grid_x(i, n, dx) - x_shift;
        const double xc = x * c;
        const double xs = x * s;
        const int64_t row = i * n;
        for (int64_t j = 0; j < n; ++j) {
          const int64_t k = row + j;
          const double y = grid_x(j, n, dx) - y_shift;
          const double u = rotate ? y * s + xc : x;
          const double v = rotate ? y * c - xs : y;
          out.z[k] = blanked(u, v, hw, hh, keep) ? cplx(0.0, 0.0) : sample(z, k);
        }
      }
    });
  });
}

}  // namespace kv

#include "phase/axicon.h"

#include <cmath>

#include "phase/factor.h"

namespace kv {

AxiconResult axicon(double phi, double n1, double x_shift, double y_shift, const FieldIn& in,
                    const FieldOut& out) {
  if (!(in.h.curvature == 0.0)) return kAxiconSpherical;

  const double half = phi * 0.5;
  const double theta = std::asin(std::cos(half) * n1 + half - 1.5707963);
  const double g = theta * (6.2831852 / in.h.lambda);
  const int32_t n = in.n;
  const double d = in.dx();
  for (int64_t i = 0; i < n; ++i) {
    const double ex = grid_x(i, n, d) - x_shift;
    const double ax = ex * ex;
    const int64_t row = i * n;
    for (int64_t j = 0; j < n; ++j) {
      const double ey = grid_x(j, n, d) - y_shift;
      const double r = std::sqrt(ey * ey + ax);
      phase_sample(in, out, row + j, -(r * g));
    }
  }
  return kAxiconOk;
}

}  // namespace kv

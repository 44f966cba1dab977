#include "phase/lens.h"

#include <cmath>

namespace kv {

LensResult thin_lens(double f, double x_shift, double y_shift, const FieldIn& in,
                     const FieldOut& out) {
  // Written so that NaN counts as "not 0".
  if (!(in.h.curvature == 0.0)) return kLensSpherical;

  const int32_t n = in.n;
  const double k = 6.2831852 / in.h.lambda;
  const double d = in.dx();
  const double two_f = 2.0 * f;
  for (int64_t i = 0; i < n; ++i) {
    const double dxs = grid_x(i, n, d) - x_shift;
    for (int64_t j = 0; j < n; ++j) {
      const double dys = grid_x(j, n, d) - y_shift;
      const double s = dys * dys + dxs * dxs;
      const double phi = -(s * k / two_f);
      const double cp = std::cos(phi);
      const double sp = std::sin(phi);
      const int64_t at = i * n + j;
      const double re = in.re[at];
      const double im = in.im[at];
      out.re[at] = cp * re - sp * im;
      out.im[at] = sp * re + cp * im;
    }
  }
  return kLensOk;
}

}  // namespace kv

#include "phase/lens.h"

#include <cmath>

#include "core/grid.h"
#include "core/phase_factor.h"

namespace kv {

LensResult thin_lens(double f, double x_shift, double y_shift, const FieldIn& in,
                     const FieldOut& out) {
  // Written so that NaN counts as "not 0".
  if (!(in.h.curvature == 0.0)) return kLensSpherical;

  const double k = 6.2831852 / in.h.lambda;
  const double two_f = 2.0 * f;
  with_samples(in, [&](auto* z) {
    for_each_r2(in.n, in.dx(), x_shift, y_shift, kGrainMath,
                [=](int64_t at, double s) { phase_sample(z, out, at, -(s * k / two_f)); });
  });
  return kLensOk;
}

}  // namespace kv

#include "phase/axicon.h"

#include <cmath>

#include "core/grid.h"
#include "core/phase_factor.h"

namespace kv {

AxiconResult axicon(double phi, double n1, double x_shift, double y_shift, const FieldIn& in,
                    const FieldOut& out) {
  if (!(in.h.curvature == 0.0)) return kAxiconSpherical;

  const double half = phi * 0.5;
  const double theta = std::asin(std::cos(half) * n1 + half - 1.5707963);
  const double g = theta * (6.2831852 / in.h.lambda);
  with_samples(in, [&](auto* z) {
    for_each_r2(in.n, in.dx(), x_shift, y_shift, kGrainMath,
                [=](int64_t k, double r2) { phase_sample(z, out, k, -(std::sqrt(r2) * g)); });
  });
  return kAxiconOk;
}

}  // namespace kv

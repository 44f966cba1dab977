// The loop shared by the smooth masks: every sample is multiplied by a real
// factor of its squared distance r2 from (x_shift, y_shift).
#pragma once

#include "core/field.h"
#include "core/grid.h"

namespace kv {

// out = factor(r2) * in on real and imaginary parts, with
// r2 = (y - y_shift)^2 + ax and ax = (x - x_shift)^2 taken once per column.
template <class Factor>
void scale_radial(double x_shift, double y_shift, const FieldIn& in, const FieldOut& out,
                  Factor factor) {
  with_samples(in, [&](auto* z) {
    for_each_r2(in.n, in.dx(), x_shift, y_shift, kGrainMath, [=](int64_t k, double r2) {
      const double t = factor(r2);
      const cplx v = sample(z, k);
      out.z[k] = cplx(t * v.real(), t * v.imag());
    });
  });
}

}  // namespace kv

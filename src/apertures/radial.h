// The loop shared by the smooth masks: every sample is multiplied by a real
// factor of its squared distance r2 from (x_shift, y_shift).
#pragma once

#include "core/field.h"
#include "core/grid.h"

namespace kv {

// out = factor(r2) * in on both planes, with r2 = (y - y_shift)^2 + ax and
// ax = (x - x_shift)^2 taken once per column.
template <class Factor>
void scale_radial(double x_shift, double y_shift, const FieldIn& in, const FieldOut& out,
                  Factor factor) {
  for_each_r2(in.n, in.dx(), x_shift, y_shift, [&](int64_t k, double r2) {
    const double t = factor(r2);
    out.re[k] = t * in.re[k];
    out.im[k] = t * in.im[k];
  });
}

}  // namespace kv

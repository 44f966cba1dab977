// The loop shared by the smooth masks: every sample is multiplied by a real
// factor of its squared distance r2 from (x_shift, y_shift).
#pragma once

#include "core/field.h"

namespace kv {

// out = factor(r2) * in on both planes, with r2 = (y - y_shift)^2 + ax and
// ax = (x - x_shift)^2 taken once per column.
template <class Factor>
void scale_radial(double x_shift, double y_shift, const FieldIn& in, const FieldOut& out,
                  Factor factor) {
  const int32_t n = in.n;
  const double dx = in.dx();
  for (int64_t i = 0; i < n; ++i) {
    const double ex = grid_x(i, n, dx) - x_shift;
    const double ax = ex * ex;
    const int64_t row = i * n;
    for (int64_t j = 0; j < n; ++j) {
      const int64_t k = row + j;
      const double ey = grid_x(j, n, dx) - y_shift;
      const double t = factor(ey * ey + ax);
      out.re[k] = t * in.re[k];
      out.im[k] = t * in.im[k];
    }
  }
}

}  // namespace kv

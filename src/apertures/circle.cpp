#include "apertures/circle.h"

namespace kv {

void circ_mask(double r, double x_shift, double y_shift, const FieldIn& in, const FieldOut& out,
               Keep keep) {
  const int32_t n = in.n;
  const double dx = in.dx();
  const double r2 = r * r;
  for (int64_t i = 0; i < n; ++i) {
    const double ex = grid_x(i, n, dx) - x_shift;
    const double ax = ex * ex;
    const int64_t row = i * n;
    for (int64_t j = 0; j < n; ++j) {
      const int64_t k = row + j;
      const double ey = grid_x(j, n, dx) - y_shift;
      const double d2 = ey * ey + ax;
      // Comparisons with NaN are false, so a NaN parameter passes everything.
      const bool blank = keep == Keep::Inside ? d2 > r2 : d2 <= r2;
      out.re[k] = blank ? 0.0 : in.re[k];
      out.im[k] = blank ? 0.0 : in.im[k];
    }
  }
}

}  // namespace kv

#include "apertures/circle.h"

#include "core/grid.h"

namespace kv {

void circ_mask(double r, double x_shift, double y_shift, const FieldIn& in, const FieldOut& out,
               Keep keep) {
  const double r2 = r * r;
  with_samples(in, [&](auto* z) {
    for_each_r2(in.n, in.dx(), x_shift, y_shift, kGrainMemory, [=](int64_t k, double d2) {
      // Comparisons with NaN are false, so a NaN parameter passes everything.
      const bool blank = keep == Keep::Inside ? d2 > r2 : d2 <= r2;
      out.z[k] = blank ? cplx(0.0, 0.0) : sample(z, k);
    });
  });
}

}  // namespace kv

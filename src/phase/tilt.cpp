#include "phase/tilt.h"

#include "core/parallel.h"
#include "core/phase_factor.h"

namespace kv {

void tilt(double tx, double ty, const FieldIn& in, const FieldOut& out) {
  const int32_t n = in.n;
  const double k = 6.283185308 / in.h.lambda;
  const double d = in.dx();
  with_samples(in, [&](auto* z) {
    parallel_for(n, column_grain(n, kGrainMath), [=](int64_t i0, int64_t i1) {
      for (int64_t i = i0; i < i1; ++i) {
        const double xt = grid_x(i, n, d) * tx;
        const int64_t row = i * n;
        for (int64_t j = 0; j < n; ++j) {
          const double phi = -((grid_x(j, n, d) * ty + xt) * k);
          phase_sample(z, out, row + j, phi);
        }
      }
    });
  });
}

}  // namespace kv

#include "analysis/normal.h"

#include <cmath>

#include "core/parallel.h"

namespace kv {

bool normalize(const FieldIn& in, const FieldOut& out, double* power) {
  const double dx = in.dx();
  const double d = dx * dx;
  const int64_t nn = samples(in.n);
  bool done = false;
  with_samples(in, [&](auto* z) {
    // The power over fixed blocks, added up in block order.
    double part[kMaxBlocks];
    for_blocks(nn, kGrainMemory, [&](int b, int64_t k0, int64_t k1) {
      double p = 0.0;
      for (int64_t k = k0; k < k1; ++k) {
        const cplx v = sample(z, k);
        p = (v.imag() * v.imag() + v.real() * v.real()) * d + p;
      }
      part[b] = p;
    });
    double p = 0.0;
    for (int b = 0; b < reduce_blocks(nn); ++b) p += part[b];
    *power = p;
    if (p == 0.0) return;
    const double s = std::sqrt(1.0 / p);
    parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const cplx v = sample(z, k);
        out.z[k] = cplx(v.real() * s, v.imag() * s);
      }
    });
    done = true;
  });
  return done;
}

}  // namespace kv

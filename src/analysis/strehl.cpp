#include "analysis/strehl.h"

#include <cmath>

#include "core/parallel.h"

namespace kv {

bool strehl_ratio(const FieldIn& in, double* sr) {
  const int64_t nn = samples(in.n);
  // The three sums over fixed blocks, added up in block order.
  double part_re[kMaxBlocks];
  double part_im[kMaxBlocks];
  double part_abs[kMaxBlocks];
  with_samples(in, [&](auto* z) {
    for_blocks(nn, kGrainMath, [&](int blk, int64_t k0, int64_t k1) {
      // Local sums, so that the loop keeps them in registers.
      double a = 0.0;
      double b = 0.0;
      double m = 0.0;
      for (int64_t k = k0; k < k1; ++k) {
        const cplx v = sample(z, k);
        const double re = v.real();
        const double im = v.imag();
        a += re;
        b += im;
        m += std::sqrt(re * re + im * im);
      }
      part_re[blk] = a;
      part_im[blk] = b;
      part_abs[blk] = m;
    });
  });
  double sum_re = 0.0;
  double sum_im = 0.0;
  double sum_abs = 0.0;
  for (int blk = 0; blk < reduce_blocks(nn); ++blk) {
    sum_re += part_re[blk];
    sum_im += part_im[blk];
    sum_abs += part_abs[blk];
  }
  if (sum_abs == 0.0) return false;  // a NaN sum goes on and gives NaN
  *sr = (sum_re * sum_re + sum_im * sum_im) / sum_abs / sum_abs;
  return true;
}

}  // namespace kv

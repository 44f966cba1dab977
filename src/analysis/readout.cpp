#include "analysis/readout.h"

#include <cmath>

#include "core/parallel.h"

namespace kv {

bool intensity(const FieldIn& in, Normalize scale, double* out) {
  const int64_t nn = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const cplx v = sample(z, k);
        out[k] = v.real() * v.real() + v.imag() * v.imag();
      }
    });
  });
  if (scale == Normalize::None) return true;
  // The peak of each fixed block, then of the blocks in order.
  double part[kMaxBlocks];
  for_blocks(nn, kGrainMemory, [&](int b, int64_t k0, int64_t k1) {
    double peak = 0.0;
    for (int64_t k = k0; k < k1; ++k) {
      if (out[k] > peak) peak = out[k];  // NaN never becomes the peak
    }
    part[b] = peak;
  });
  double peak = 0.0;
  for (int b = 0; b < reduce_blocks(nn); ++b) {
    if (part[b] > peak) peak = part[b];
  }
  if (peak == 0.0) return false;
  const double s = 1.0 / peak;
  parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
    if (scale == Normalize::ToOne) {
      for (int64_t k = k0; k < k1; ++k) out[k] = s * out[k];
    } else {
      for (int64_t k = k0; k < k1; ++k) out[k] = s * out[k] * 255.0;
    }
  });
  return true;
}

void phase(const FieldIn& in, double* out) {
  const int64_t nn = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(nn, kGrainMath, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const cplx v = sample(z, k);
        const double re = v.real();
        const double im = v.imag();
        if (re != 0.0) {
          out[k] = std::atan2(im, re);  // a NaN real part lands here
        } else if (im >= 0.0) {
          out[k] = 1.570796327;
        } else {
          out[k] = 4.712388981;  // negative or NaN imaginary part
        }
      }
    });
  });
}

}  // namespace kv

#include "analysis/readout.h"

#include <cmath>

namespace kv {

bool intensity(const FieldIn& in, Normalize scale, double* out) {
  const int64_t nn = samples(in.n);
  with_samples(in, [&](auto* z) {
    for (int64_t k = 0; k < nn; ++k) {
      const cplx v = sample(z, k);
      out[k] = v.real() * v.real() + v.imag() * v.imag();
    }
  });
  if (scale == Normalize::None) return true;
  double peak = 0.0;
  for (int64_t k = 0; k < nn; ++k) {
    if (out[k] > peak) peak = out[k];  // NaN never becomes the peak
  }
  if (peak == 0.0) return false;
  const double s = 1.0 / peak;
  if (scale == Normalize::ToOne) {
    for (int64_t k = 0; k < nn; ++k) out[k] = s * out[k];
  } else {
    for (int64_t k = 0; k < nn; ++k) out[k] = s * out[k] * 255.0;
  }
  return true;
}

void phase(const FieldIn& in, double* out) {
  const int64_t nn = samples(in.n);
  with_samples(in, [&](auto* z) {
    for (int64_t k = 0; k < nn; ++k) {
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
}

}  // namespace kv

#include "analysis/readout.h"

#include <cmath>

namespace kv {

bool intensity(const FieldIn& in, Normalize scale, double* out) {
  const int64_t nn = samples(in.n);
  for (int64_t k = 0; k < nn; ++k) out[k] = in.re[k] * in.re[k] + in.im[k] * in.im[k];
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
  for (int64_t k = 0; k < nn; ++k) {
    const double re = in.re[k];
    const double im = in.im[k];
    if (re != 0.0) {
      out[k] = std::atan2(im, re);  // a NaN real part lands here
    } else if (im >= 0.0) {
      out[k] = 1.570796327;
    } else {
      out[k] = 4.712388981;  // negative or NaN imaginary part
    }
  }
}

}  // namespace kv

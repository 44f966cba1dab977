#include "combination/gain.h"

#include <cmath>

namespace kv {

void gain_sheet(double isat, double gain, double length, const FieldIn& in, const FieldOut& out) {
  const int64_t nn = samples(in.n);
  for (int64_t k = 0; k < nn; ++k) {
    const double u = in.re[k];
    const double v = in.im[k];
    const double i = v * v + u * u;
    // The amplified intensity first, then the amplitude factor from the
    // ratio of the two; a NaN isat counts as switched on.
    const double p = isat != 0.0 ? std::exp((gain * length) / (i / isat + 1.0)) * i : i;
    const double t = i != 0.0 ? std::sqrt(p / i) : 0.0;
    out.re[k] = t * u;
    out.im[k] = t * v;
  }
}

void attenuate(double r, const FieldIn& in, const FieldOut& out) {
  const double a = std::sqrt(r);
  const int64_t nn = samples(in.n);
  for (int64_t k = 0; k < nn; ++k) {
    out.re[k] = a * in.re[k];
    out.im[k] = a * in.im[k];
  }
}

}  // namespace kv

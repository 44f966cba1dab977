#include "combination/mix.h"

#include <cmath>

namespace kv {

int beam_mix(const FieldIn& a, const FieldIn& b, const FieldOut& out) {
  if (!(a.h.size == b.h.size)) return kMixUnequalSizes;
  if (a.h.curvature != 0.0 || b.h.curvature != 0.0) return kMixSpherical;
  const int64_t nn = samples(out.n);
  for (int64_t k = 0; k < nn; ++k) {
    out.re[k] = a.re[k] + b.re[k];
    out.im[k] = a.im[k] + b.im[k];
  }
  return kMixDone;
}

int polarize(double phi, const FieldIn& fx, const FieldIn& fy, const FieldOut& out) {
  if (!(fx.h.size == fy.h.size)) return kPolUnequalSizes;
  if (!(fx.h.lambda == fy.h.lambda)) return kPolUnequalLambda;
  if (fx.h.curvature != 0.0 || fy.h.curvature != 0.0) return kPolSpherical;
  const double s = std::sin(phi);
  const double c = std::cos(phi);
  const int64_t nn = samples(out.n);
  for (int64_t k = 0; k < nn; ++k) {
    out.re[k] = c * fx.re[k] + s * fy.re[k];
    out.im[k] = s * fy.im[k] + c * fx.im[k];
  }
  return kMixDone;
}

}  // namespace kv

#include "combination/mix.h"

#include <cmath>

#include "core/parallel.h"

namespace kv {

int beam_mix(const FieldIn& a, const FieldIn& b, const FieldOut& out) {
  if (!(a.h.size == b.h.size)) return kMixUnequalSizes;
  if (a.h.curvature != 0.0 || b.h.curvature != 0.0) return kMixSpherical;
  const int64_t nn = samples(out.n);
  with_samples(a, [&](auto* za) {
    with_samples(b, [&](auto* zb) {
      parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
        for (int64_t k = k0; k < k1; ++k) {
          const cplx u = sample(za, k);
          const cplx v = sample(zb, k);
          out.z[k] = cplx(u.real() + v.real(), u.imag() + v.imag());
        }
      });
    });
  });
  return kMixDone;
}

int polarize(double phi, const FieldIn& fx, const FieldIn& fy, const FieldOut& out) {
  if (!(fx.h.size == fy.h.size)) return kPolUnequalSizes;
  if (!(fx.h.lambda == fy.h.lambda)) return kPolUnequalLambda;
  if (fx.h.curvature != 0.0 || fy.h.curvature != 0.0) return kPolSpherical;
  const double s = std::sin(phi);
  const double c = std::cos(phi);
  const int64_t nn = samples(out.n);
  with_samples(fx, [&](auto* zx) {
    with_samples(fy, [&](auto* zy) {
      parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
        for (int64_t k = k0; k < k1; ++k) {
          const cplx x = sample(zx, k);
          const cplx y = sample(zy, k);
          out.z[k] = cplx(c * x.real() + s * y.real(), s * y.imag() + c * x.imag());
        }
      });
    });
  });
  return kMixDone;
}

}  // namespace kv

#include "combination/gain.h"

#include <cmath>

#include "core/parallel.h"

namespace kv {

void gain_sheet(double isat, double gain, double length, const FieldIn& in, const FieldOut& out) {
  const int64_t nn = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(nn, kGrainMath, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const cplx s = sample(z, k);
        const double u = s.real();
        const double v = s.imag();
        const double i = v * v + u * u;
        // The amplified intensity first, then the amplitude factor from the
        // ratio of the two; a NaN isat counts as switched on.
        const double p = isat != 0.0 ? std::exp((gain * length) / (i / isat + 1.0)) * i : i;
        const double t = i != 0.0 ? std::sqrt(p / i) : 0.0;
        out.z[k] = cplx(t * u, t * v);
      }
    });
  });
}

void attenuate(double r, const FieldIn& in, const FieldOut& out) {
  const double a = std::sqrt(r);
  const int64_t nn = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const cplx s = sample(z, k);
        out.z[k] = cplx(a * s.real(), a * s.imag());
      }
    });
  });
}

}  // namespace kv

#include "phase/random_phase.h"

#include <cmath>

#include "core/random.h"

namespace kv {

void random_phase(int32_t seed, double max, const FieldIn& in, const FieldOut& out) {
  Rand15 gen(seed);
  const int64_t count = samples(in.n);
  for (int64_t k = 0; k < count; ++k) {
    const double phi = (gen.unit() - 0.5) * max;
    const double c = std::cos(phi);
    const double s = std::sin(phi);
    const double u = in.re[k];
    const double v = in.im[k];
    out.re[k] = c * u - s * v;
    out.im[k] = s * u + c * v;
  }
}

}  // namespace kv

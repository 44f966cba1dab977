#include "phase/random_phase.h"

#include <cmath>

#include "core/phase_factor.h"
#include "core/random.h"

namespace kv {

void random_phase(int32_t seed, double max, const FieldIn& in, const FieldOut& out) {
  Rand15 gen(seed);
  const int64_t count = samples(in.n);
  with_samples(in, [&](auto* z) {
    for (int64_t k = 0; k < count; ++k) phase_sample(z, out, k, (gen.unit() - 0.5) * max);
  });
}

}  // namespace kv

#include "phase/random_phase.h"

#include <cmath>

#include "core/parallel.h"
#include "core/phase_factor.h"
#include "core/random.h"

namespace kv {

void random_phase(int32_t seed, double max, const FieldIn& in, const FieldOut& out) {
  const int64_t count = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(count, kGrainMath, [=](int64_t k0, int64_t k1) {
      // Sample k takes draw k of the sequence, whichever range it is in.
      Rand15 gen(seed);
      gen.skip(static_cast<uint64_t>(k0));
      for (int64_t k = k0; k < k1; ++k) phase_sample(z, out, k, (gen.unit() - 0.5) * max);
    });
  });
}

}  // namespace kv

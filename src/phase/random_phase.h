// Random phase screen: every sample turned by its own pseudo-random angle.
#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

// Adds to the phase of sample k a random angle (r/32767 - 0.5) * max, with r
// the k-th draw of the generator seeded with `seed` (samples in increasing
// linear index). `max` is the truncated width of the interval, as a double.
void random_phase(int32_t seed, double max, const FieldIn& in, const FieldOut& out);

}  // namespace kv

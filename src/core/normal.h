// Gaussian deviates from the counter-based generator of core/philox.h, by
// the ziggurat method of Marsaglia and Tsang ("The ziggurat method for
// generating random variables", J. Stat. Softw. 5(8), 2000) with 256
// layers, each deviate from its own 64 random bits: 8 bits choose the layer
// (apart from the position, as Doornik advises), 1 the sign, 53 the
// position. About 1.5 % of draws need more bits (the wedges and the tail);
// they come from further blocks of the same counter. The tables are made
// once with the maths library's exp, log and erfc; the deviates are the same
// on every platform up to that library's rounding.
#pragma once

#include <cstdint>

namespace kv {

struct NormalPair {
  double a;
  double b;
};

// Two independent standard normal deviates for counter `index` of `stream`
// under the key (key0, key1). The first block (index low word, index high
// word, 0, stream) gives both; more bits for a come from attempts 1, 2, ...
// in the third counter word, for b from attempts 2^31 + 1, ...
NormalPair philox_normal_pair(uint32_t key0, uint32_t key1, uint64_t index, uint32_t stream);

// The pairs of the `count` counters first, first + 1, ...: the same numbers
// as philox_normal_pair, eight blocks at a time. out[2k] and out[2k + 1]
// receive pair k.
void philox_normal_pairs(uint32_t key0, uint32_t key1, uint64_t first, uint32_t stream,
                         int64_t count, double* out);

}  // namespace kv

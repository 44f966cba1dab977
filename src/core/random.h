// The pseudo-random generator of the random commands: a 15-bit linear
// congruential generator, the same sequence on every platform and compiler.
#pragma once

#include <cstdint>

namespace kv {

// The largest value a draw can take; a draw divided by this lies in [0, 1].
constexpr int kRandMax = 32767;

// The classic portable rand() of the C standard's example:
//   state = state * 1103515245 + 12345   (mod 2^32)
//   draw  = (state / 65536) mod 32768
// that is bits 16 to 30 of the new state. Seeding sets the state to the
// seed's 32-bit pattern, so a negative seed acts as the unsigned number with
// the same bits. Each command owns its generator for the length of a call.
class Rand15 {
 public:
  explicit Rand15(int32_t seed) : state_(static_cast<uint32_t>(seed)) {}

  // The next draw, in 0..32767.
  int next() {
    state_ = state_ * UINT32_C(1103515245) + UINT32_C(12345);
    return static_cast<int>((state_ >> 16) & UINT32_C(0x7fff));
  }

  // The next draw divided by 32767.0, in [0, 1].
  double unit() { return static_cast<double>(next()) / 32767.0; }

  // Moves on by `count` draws at once, as `count` calls of next() would (in
  // about 2*log2(count) steps), so that a range of samples can start at its
  // own draw.
  void skip(uint64_t count) {
    // The step s -> a*s + c taken 2^b times is s -> mul*s + add.
    uint32_t mul = UINT32_C(1103515245);
    uint32_t add = UINT32_C(12345);
    for (; count != 0; count >>= 1) {
      if (count & 1) state_ = state_ * mul + add;
      add = add * mul + add;
      mul = mul * mul;
    }
  }

 private:
  uint32_t state_;
};

}  // namespace kv

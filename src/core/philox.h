// A counter-based generator: Philox4x32-10 (Salmon, Moraes, Dror and Shaw,
// "Parallel random numbers: as easy as 1, 2, 3", SC11, 2011) maps a 128-bit
// counter and a 64-bit key to 128 random bits, so every draw is a pure
// function of (key, counter): draws can be made in any order, on any
// thread, and give the same numbers, on every platform. core/normal.h turns
// them into Gaussian deviates.
#pragma once

#include <cstdint>

namespace kv {

struct Philox4x32 {
  uint32_t v[4];
};

// One Philox4x32-10 block: ten rounds of the published multipliers and Weyl
// key increments. Known answers: the Random123 kat_vectors, checked by the
// unit tests.
inline Philox4x32 philox4x32_10(Philox4x32 ctr, uint32_t key0, uint32_t key1) {
  constexpr uint64_t kM0 = 0xD2511F53u;
  constexpr uint64_t kM1 = 0xCD9E8D57u;
  constexpr uint32_t kW0 = 0x9E3779B9u;
  constexpr uint32_t kW1 = 0xBB67AE85u;
  uint32_t* c = ctr.v;
  for (int round = 0; round < 10; ++round) {
    if (round > 0) {
      key0 += kW0;
      key1 += kW1;
    }
    const uint64_t p0 = kM0 * c[0];
    const uint64_t p1 = kM1 * c[2];
    const uint32_t c1 = c[1];
    const uint32_t c3 = c[3];
    c[0] = static_cast<uint32_t>(p1 >> 32) ^ c1 ^ key0;
    c[1] = static_cast<uint32_t>(p1);
    c[2] = static_cast<uint32_t>(p0 >> 32) ^ c3 ^ key1;
    c[3] = static_cast<uint32_t>(p0);
  }
  return ctr;
}

// Eight blocks at once, for counters (c0[k], c1[k], c2, c3), k = 0 .. 7:
// the same rounds, laid out so that the compiler can run the eight chains
// side by side. Words r0..r3[k] receive block k.
inline void philox4x32_10_x8(const uint32_t* c0, const uint32_t* c1, uint32_t c2, uint32_t c3,
                             uint32_t key0, uint32_t key1, uint32_t* r0, uint32_t* r1, uint32_t* r2,
                             uint32_t* r3) {
  constexpr uint64_t kM0 = 0xD2511F53u;
  constexpr uint64_t kM1 = 0xCD9E8D57u;
  uint32_t a[8], b[8], c[8], d[8];
  for (int k = 0; k < 8; ++k) {
    a[k] = c0[k];
    b[k] = c1[k];
    c[k] = c2;
    d[k] = c3;
  }
  for (int round = 0; round < 10; ++round) {
    if (round > 0) {
      key0 += 0x9E3779B9u;
      key1 += 0xBB67AE85u;
    }
    for (int k = 0; k < 8; ++k) {
      const uint64_t p0 = kM0 * a[k];
      const uint64_t p1 = kM1 * c[k];
      const uint32_t nb = static_cast<uint32_t>(p1);
      const uint32_t nd = static_cast<uint32_t>(p0);
      a[k] = static_cast<uint32_t>(p1 >> 32) ^ b[k] ^ key0;
      c[k] = static_cast<uint32_t>(p0 >> 32) ^ d[k] ^ key1;
      b[k] = nb;
      d[k] = nd;
    }
  }
  for (int k = 0; k < 8; ++k) {
    r0[k] = a[k];
    r1[k] = b[k];
    r2[k] = c[k];
    r3[k] = d[k];
  }
}

}  // namespace kv

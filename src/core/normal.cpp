#include "core/normal.h"

#include <cmath>

#include "core/philox.h"

namespace kv {

namespace {

constexpr int kLayers = 256;
// The base layer's edge for 256 layers (Marsaglia and Tsang).
constexpr double kR = 3.6541528853610088;

// f(x) = exp(-x^2/2). Layer k >= 1 is the box [0, x[k]] x [f(x[k]),
// f(x[k+1])], layer 0 the box [0, r] x [0, f(r)] with the tail beyond r, all
// of area v; x[0] = v/f(r) is layer 0's width as if it were a box, x[256] =
// 0. ratio[k] = x[k+1]/x[k]: a position below it lies under the curve.
struct Tables {
  double x[kLayers + 1];
  double f[kLayers + 1];
  double ratio[kLayers];
  Tables() {
    const double fr = std::exp(-0.5 * kR * kR);
    const double v = kR * fr + std::sqrt(0.5 * 3.141592653589793) * std::erfc(kR / std::sqrt(2.0));
    x[0] = v / fr;
    x[1] = kR;
    for (int k = 1; k < kLayers - 1; ++k)
      x[k + 1] = std::sqrt(-2.0 * std::log(v / x[k] + std::exp(-0.5 * x[k] * x[k])));
    x[kLayers] = 0.0;
    for (int k = 0; k <= kLayers; ++k) f[k] = std::exp(-0.5 * x[k] * x[k]);
    f[0] = 0.0;  // layer 0 reaches down to 0
    for (int k = 0; k < kLayers; ++k) ratio[k] = x[k + 1] / x[k];
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

// 53 bits as a double in [0, 1), and in (0, 1).
inline double unit(uint64_t w) { return static_cast<double>(w >> 11) * (1.0 / 9007199254740992.0); }
inline double open_unit(uint64_t w) {
  return (static_cast<double>(w >> 11) + 0.5) * (1.0 / 9007199254740992.0);
}

// Further 64-bit words of one counter: blocks (index, attempt, stream) for
// attempt = first, first + 1, ..., two words each.
class MoreBits {
 public:
  MoreBits(uint32_t key0, uint32_t key1, uint64_t index, uint32_t stream, uint32_t first)
      : key0_(key0), key1_(key1), index_(index), stream_(stream), attempt_(first) {}
  uint64_t next() {
    if (left_ == 0) {
      const Philox4x32 c{{static_cast<uint32_t>(index_), static_cast<uint32_t>(index_ >> 32),
                          attempt_++, stream_}};
      const Philox4x32 r = philox4x32_10(c, key0_, key1_);
      words_[0] = (static_cast<uint64_t>(r.v[0]) << 32) | r.v[1];
      words_[1] = (static_cast<uint64_t>(r.v[2]) << 32) | r.v[3];
      left_ = 2;
    }
    return words_[2 - left_--];
  }

 private:
  uint32_t key0_, key1_;
  uint64_t index_;
  uint32_t stream_;
  uint32_t attempt_;
  uint64_t words_[2] = {0, 0};
  int left_ = 0;
};

// The ziggurat's fast case: true, with the deviate, when the position falls
// inside its layer's box below the next edge.
inline bool fast(const Tables& t, uint64_t w, double* out) {
  const int k = static_cast<int>(w & 0xFF);
  const double u = unit(w);
  if (!(u < t.ratio[k])) return false;
  const double x = u * t.x[k];
  *out = (w & 0x100) != 0 ? -x : x;
  return true;
}

// The whole algorithm, for a first word that missed the fast case.
double slow(const Tables& t, uint64_t w, MoreBits* more) {
  for (;;) {
    const int k = static_cast<int>(w & 0xFF);
    const bool negative = (w & 0x100) != 0;
    const double u = unit(w);
    const double x = u * t.x[k];
    if (u < t.ratio[k]) return negative ? -x : x;
    if (k == 0) {
      // The tail beyond r (Marsaglia's method).
      double e, y;
      do {
        e = -std::log(open_unit(more->next())) / kR;
        y = -std::log(open_unit(more->next()));
      } while (2.0 * y < e * e);
      return negative ? -(kR + e) : kR + e;
    }
    // The wedge between the box's edge and the curve.
    const double y = t.f[k] + unit(more->next()) * (t.f[k + 1] - t.f[k]);
    if (y < std::exp(-0.5 * x * x)) return negative ? -x : x;
    w = more->next();
  }
}

constexpr uint32_t kSecond = 0x80000001u;

inline NormalPair from_block(const Tables& t, uint32_t key0, uint32_t key1, uint64_t index,
                             uint32_t stream, uint32_t r0, uint32_t r1, uint32_t r2, uint32_t r3) {
  const uint64_t wa = (static_cast<uint64_t>(r0) << 32) | r1;
  const uint64_t wb = (static_cast<uint64_t>(r2) << 32) | r3;
  NormalPair p;
  if (!fast(t, wa, &p.a)) {
    MoreBits more(key0, key1, index, stream, 1);
    p.a = slow(t, wa, &more);
  }
  if (!fast(t, wb, &p.b)) {
    MoreBits more(key0, key1, index, stream, kSecond);
    p.b = slow(t, wb, &more);
  }
  return p;
}

}  // namespace

NormalPair philox_normal_pair(uint32_t key0, uint32_t key1, uint64_t index, uint32_t stream) {
  const Philox4x32 c{{static_cast<uint32_t>(index), static_cast<uint32_t>(index >> 32), 0, stream}};
  const Philox4x32 r = philox4x32_10(c, key0, key1);
  return from_block(tables(), key0, key1, index, stream, r.v[0], r.v[1], r.v[2], r.v[3]);
}

void philox_normal_pairs(uint32_t key0, uint32_t key1, uint64_t first, uint32_t stream,
                         int64_t count, double* out) {
  const Tables& t = tables();
  int64_t k = 0;
  for (; k + 8 <= count; k += 8) {
    uint32_t lo[8], hi[8], r0[8], r1[8], r2[8], r3[8];
    for (int j = 0; j < 8; ++j) {
      const uint64_t index = first + static_cast<uint64_t>(k + j);
      lo[j] = static_cast<uint32_t>(index);
      hi[j] = static_cast<uint32_t>(index >> 32);
    }
    philox4x32_10_x8(lo, hi, 0, stream, key0, key1, r0, r1, r2, r3);
    for (int j = 0; j < 8; ++j) {
      const NormalPair p = from_block(t, key0, key1, first + static_cast<uint64_t>(k + j), stream,
                                      r0[j], r1[j], r2[j], r3[j]);
      out[2 * (k + j)] = p.a;
      out[2 * (k + j) + 1] = p.b;
    }
  }
  for (; k < count; ++k) {
    const NormalPair p = philox_normal_pair(key0, key1, first + static_cast<uint64_t>(k), stream);
    out[2 * k] = p.a;
    out[2 * k + 1] = p.b;
  }
}

}  // namespace kv

#include "focus/fraunhofer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/interrupt.h"
#include "core/parallel.h"
#include "propagation/gemm.h"

namespace kv {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Angle addition works on blocks of this many table rows.
constexpr int64_t kStep = 16;
// Real multiply-adds per product call: some tens of milliseconds between
// two stop points on a current processor. Narrower blocks than a few
// hundred columns cost the BLAS a good part of its speed.
constexpr int64_t kBlockWork = INT64_C(1) << 29;
constexpr int64_t kMinColumns = 64;

inline cplx mul(cplx a, cplx b) {
  return cplx(a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real());
}
// -i*z
inline cplx minus_i(cplx z) { return cplx(z.imag(), -z.real()); }

int64_t half_count(int64_t n) { return n / 2 + 1; }

// U(+p) + U(-p) and -i*(U(+p) - U(-p)) for the lines at +p and -p about the
// centre line; the line at +p is missing (0) on the edge of an even grid,
// and the centre line (p = 0) counts once.
inline void combine(int64_t p, bool has_plus, cplx a, cplx b, cplx* sum, cplx* diff) {
  if (p == 0) {
    *sum = b;
    *diff = cplx(0.0, 0.0);
  } else if (has_plus) {
    *sum = a + b;
    *diff = minus_i(a - b);
  } else {
    *sum = b;
    *diff = minus_i(-b);
  }
}

// The pairs p = 0 .. h - 1 go into the products in blocks of about
// kPairBlock: the combined samples of one block, and the rows of the tables
// that meet them, make one product's depth.
constexpr int64_t kPairBlock = 128;

int64_t pair_blocks(int64_t h) { return (h + kPairBlock - 1) / kPairBlock; }

// Block b covers pairs [p0, p1). Its table rows are p0 + p (cos) and p1 + p
// (sin): rows [2*p0, 2*p1) of a table column, the cos of the block first.
struct PairBlock {
  int64_t p0, p1;
  int64_t width() const { return p1 - p0; }
};
PairBlock pair_block(int64_t h, int64_t b) {
  const int64_t nb = pair_blocks(h);
  return {split(h, nb, b), split(h, nb, b + 1)};
}

// W (n x 2*width) for one block from the input's columns k = c0 +- p: the
// sums in the first `width` columns, the differences in the others. Columns
// are shared among threads.
template <class P>
void pair_columns(P z, int64_t n, PairBlock blk, cplx* w) {
  const int64_t c0 = n / 2;
  const int64_t width = blk.width();
  parallel_for(width, column_grain(n, kGrainMemory), [=](int64_t q0, int64_t q1) {
    for (int64_t q = q0; q < q1; ++q) {
      const int64_t p = blk.p0 + q;
      cplx* sum = w + q * n;
      cplx* diff = w + (width + q) * n;
      const bool has_plus = c0 + p < n;
      const int64_t kp = has_plus ? (c0 + p) * n : 0, km = (c0 - p) * n;
      for (int64_t l = 0; l < n; ++l) {
        const cplx b = sample(z, km + l);
        const cplx a = has_plus ? sample(z, kp + l) : cplx(0.0, 0.0);
        combine(p, has_plus, a, b, sum + l, diff + l);
      }
    }
  });
}

// W2 (m x 2*width) for one block from the rows l = c0 +- p of the n x m
// product t. Tiles of rows of W2 are shared among threads, each written a
// short line at a time.
void pair_rows(const cplx* t, int64_t n, int64_t m, PairBlock blk, cplx* w) {
  const int64_t c0 = n / 2;
  const int64_t width = blk.width();
  constexpr int64_t kTile = 16;
  const int64_t tiles = (m + kTile - 1) / kTile;
  parallel_for(tiles, column_grain(kTile * 2 * width, kGrainMemory), [=](int64_t b0, int64_t b1) {
    for (int64_t b = b0; b < b1; ++b) {
      const int64_t i0 = b * kTile, i1 = std::min(m, i0 + kTile);
      for (int64_t q = 0; q < width; ++q) {
        const int64_t p = blk.p0 + q;
        const bool has_plus = c0 + p < n;
        for (int64_t i = i0; i < i1; ++i) {
          const cplx* col = t + i * n;
          const cplx a = has_plus ? col[c0 + p] : cplx(0.0, 0.0);
          combine(p, has_plus, a, col[c0 - p], w + i + q * m, w + i + (width + q) * m);
        }
      }
    }
  });
}

// c (rows x cols, leading dimension rows) = or += w (rows x depth) *
// table (depth x cols, leading dimension ldt), real, a block of columns at
// a time with a stop point before each.
void product(const double* w, int64_t rows, int64_t depth, const double* table, int64_t ldt,
             int64_t cols, bool add, double* c) {
  const int64_t per = std::max(kMinColumns, kBlockWork / std::max<int64_t>(1, rows * depth));
  for (int64_t c0 = 0; c0 < cols; c0 += per) {
    stop_point();
    const int64_t cb = std::min(per, cols - c0);
    dgemm(rows, cb, depth, w, rows, table + c0 * ldt, ldt, add ? 1.0 : 0.0, c + c0 * rows, rows);
  }
}

template <class P>
bool all_finite(P z, int64_t count) {
  bool bad[kMaxBlocks];
  for_blocks(count, kGrainMemory, [&](int b, int64_t s0, int64_t s1) {
    bool found = false;
    for (int64_t s = s0; s < s1 && !found; ++s) {
      const cplx v = sample(z, s);
      found = !std::isfinite(v.real()) || !std::isfinite(v.imag());
    }
    bad[b] = found;
  });
  for (int b = 0; b < reduce_blocks(count); ++b) {
    if (bad[b]) return false;
  }
  return true;
}

// exp(i*pi*u_i^2/(lambda*f)) for the m output coordinates.
void focal_phase(int64_t m, double du, double shift, double lambda_f, cplx* line) {
  const double c = kPi / lambda_f;
  for (int64_t i = 0; i < m; ++i) {
    const double u = static_cast<double>(i - m / 2) * du + shift;
    const double phase = c * u * u;
    line[i] = cplx(std::cos(phase), std::sin(phase));
  }
}

template <class P>
void transform(const FraunhoferGrid& g, P z, int64_t n, double size, double lambda,
               const FieldOut& out, const FraunhoferScratch& s) {
  const int64_t m = g.m;
  const int64_t h = half_count(n);
  const int64_t rows = 2 * h;  // of a table column
  const double d = size / static_cast<double>(n);
  const double du = g.new_size / static_cast<double>(m);
  const double lambda_f = lambda * g.f;
  const double a = 2.0 * kPi * d / lambda_f;

  stop_point();
  fraunhofer_table(static_cast<int32_t>(n), g.m, a, du, g.x_shift, s.table_x);
  if (s.table_y != s.table_x) {
    fraunhofer_table(static_cast<int32_t>(n), g.m, a, du, g.y_shift, s.table_y);
  }

  // Over x: T (n x m, rows l) = sum over blocks of W (n x 2w) * X rows.
  double* t = reinterpret_cast<double*>(s.product);
  for (int64_t b = 0; b < pair_blocks(h); ++b) {
    const PairBlock blk = pair_block(h, b);
    stop_point();
    pair_columns(z, n, blk, s.pairs);
    product(reinterpret_cast<const double*>(s.pairs), 2 * n, 2 * blk.width(),
            s.table_x + 2 * blk.p0, rows, m, b > 0, t);
  }
  // Over y: R (m x m, rows i, at i + j*m) straight into the output's samples.
  double* r = reinterpret_cast<double*>(out.z);
  for (int64_t b = 0; b < pair_blocks(h); ++b) {
    const PairBlock blk = pair_block(h, b);
    stop_point();
    pair_rows(s.product, n, m, blk, s.pairs);
    product(reinterpret_cast<const double*>(s.pairs), 2 * m, 2 * blk.width(),
            s.table_y + 2 * blk.p0, rows, m, b > 0, r);
  }
  stop_point();

  // Scale and focal-plane phase, and R(i, j) to out[i*m + j]: a transpose in
  // place, tile pairs (I, J) with I <= J shared among threads.
  cplx* px = s.pairs;
  cplx* py = s.pairs + m;
  focal_phase(m, du, g.x_shift, lambda_f, px);
  focal_phase(m, du, g.y_shift, lambda_f, py);
  const cplx scale(0.0, -d * d / lambda_f);  // d^2/(i*lambda*f)
  cplx* o = out.z;
  constexpr int64_t kTile = 32;
  const int64_t tiles = (m + kTile - 1) / kTile;
  parallel_for(tiles, column_grain(kTile * m, kGrainMemory), [=](int64_t b0, int64_t b1) {
    for (int64_t bi = b0; bi < b1; ++bi) {
      const int64_t i0 = bi * kTile, i1 = std::min(m, i0 + kTile);
      for (int64_t bj = bi; bj < tiles; ++bj) {
        const int64_t j0 = bj * kTile, j1 = std::min(m, j0 + kTile);
        for (int64_t i = i0; i < i1; ++i) {
          const cplx fx = mul(scale, px[i]);
          const cplx gy = mul(scale, py[i]);
          for (int64_t j = (bj == bi ? i : j0); j < j1; ++j) {
            // out[i*m + j] holds R(j, i) and out[j*m + i] holds R(i, j).
            const cplx rij = o[i + j * m];
            const cplx rji = o[j + i * m];
            o[i * m + j] = mul(mul(fx, py[j]), rij);
            if (j != i) o[j * m + i] = mul(mul(gy, px[j]), rji);
          }
        }
      }
    }
  });
}

}  // namespace

FraunhoferScratchSize fraunhofer_scratch_size(int32_t n, int32_t m) {
  if (n < 1 || m < 1) return {0, 0, 0};
  const int64_t nn = n, mm = m, big = std::max(nn, mm);
  const int64_t h = half_count(nn);
  const int64_t width = std::min(h, kPairBlock + 1);  // the widest block
  // The pairs hold a block of W or W2, and at the end the two phase lines.
  return {std::max(big * 2 * width, 2 * mm), nn * mm, 2 * h * mm};
}

void fraunhofer_table(int32_t n, int32_t m, double a, double du, double shift, double* table) {
  const int64_t h = half_count(n);
  const int64_t rows = 2 * h;
  parallel_for(m, column_grain(h, kGrainMath), [=](int64_t i0, int64_t i1) {
    for (int64_t i = i0; i < i1; ++i) {
      const double beta = a * (static_cast<double>(i - m / 2) * du + shift);
      double sc[kStep], ss[kStep];
      for (int64_t r = 0; r < kStep; ++r) {
        const double t = static_cast<double>(r) * beta;
        sc[r] = std::cos(t);
        ss[r] = std::sin(t);
      }
      double* col = table + i * rows;
      int64_t b = 0;
      PairBlock blk = pair_block(h, 0);
      for (int64_t q = 0; q * kStep < h; ++q) {
        const double t = static_cast<double>(q * kStep) * beta;
        const double bc = std::cos(t), bs = std::sin(t);
        const int64_t r1 = std::min(kStep, h - q * kStep);
        for (int64_t r = 0; r < r1; ++r) {
          const int64_t p = q * kStep + r;
          while (p >= blk.p1) blk = pair_block(h, ++b);
          col[blk.p0 + p] = bc * sc[r] - bs * ss[r];
          col[blk.p1 + p] = bs * sc[r] + bc * ss[r];
        }
      }
    }
  });
}

bool fraunhofer_pair_block(int32_t n, int64_t b, int64_t* p0, int64_t* p1) {
  const int64_t h = half_count(n);
  if (b < 0 || b >= pair_blocks(h)) return false;
  const PairBlock blk = pair_block(h, b);
  *p0 = blk.p0;
  *p1 = blk.p1;
  return true;
}

FraunhoferResult fraunhofer(const FraunhoferGrid& g, const FieldIn& in, const FieldOut& out,
                            const FraunhoferScratch& s) {
  if (in.n < 1 || g.m < 1 || out.n != g.m || out.z == nullptr ||
      (in.z == nullptr && in.re == nullptr) || s.pairs == nullptr || s.product == nullptr ||
      s.table_x == nullptr || s.table_y == nullptr)
    return kFraunhoferBadArguments;
  const int64_t n = in.n;
  bool finite = true;
  with_samples(in, [&](auto* z) { finite = all_finite(z, n * n); });
  if (!finite) {
    const int64_t mm = samples(g.m);
    cplx* o = out.z;
    parallel_for(mm, kGrainMemory,
                 [=](int64_t k0, int64_t k1) { std::fill(o + k0, o + k1, cplx(kNaN, kNaN)); });
    return kFraunhoferOk;
  }
  with_samples(in, [&](auto* z) { transform(g, z, n, in.h.size, in.h.lambda, out, s); });
  return kFraunhoferOk;
}

}  // namespace kv

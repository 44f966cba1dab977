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
// Real multiply-adds per product block: some tens of milliseconds between
// two stop points.
constexpr int64_t kBlockWork = INT64_C(1) << 27;

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

// W(l, p) and W(l, h + p) from the input's columns k = c0 +- p: columns of W
// are shared among threads.
template <class P>
void pair_columns(P z, int64_t n, cplx* w) {
  const int64_t h = half_count(n);
  const int64_t c0 = n / 2;
  parallel_for(h, column_grain(n, kGrainMemory), [=](int64_t p0, int64_t p1) {
    for (int64_t p = p0; p < p1; ++p) {
      cplx* sum = w + p * n;
      cplx* diff = w + (h + p) * n;
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

// W2(i, p) and W2(i, h + p) (m rows) from the rows l = c0 +- p of the n x m
// product t: blocks of rows of W2 are shared among threads, and each block
// is written a short line at a time.
void pair_rows(const cplx* t, int64_t n, int64_t m, cplx* w) {
  const int64_t h = half_count(n);
  const int64_t c0 = n / 2;
  constexpr int64_t kTile = 16;
  const int64_t tiles = (m + kTile - 1) / kTile;
  parallel_for(tiles, column_grain(kTile * n, kGrainMemory), [=](int64_t b0, int64_t b1) {
    for (int64_t b = b0; b < b1; ++b) {
      const int64_t i0 = b * kTile, i1 = std::min(m, i0 + kTile);
      for (int64_t p = 0; p < h; ++p) {
        const bool has_plus = c0 + p < n;
        for (int64_t i = i0; i < i1; ++i) {
          const cplx* col = t + i * n;
          const cplx a = has_plus ? col[c0 + p] : cplx(0.0, 0.0);
          combine(p, has_plus, a, col[c0 - p], w + i + p * m, w + i + (h + p) * m);
        }
      }
    }
  });
}

// c (rows x cols) = w (rows x depth) * table (depth x cols), real, a block of
// columns at a time with a stop point before each.
void product(const double* w, int64_t rows, int64_t depth, const double* table, int64_t cols,
             double* c) {
  const int64_t per = std::clamp<int64_t>(kBlockWork / std::max<int64_t>(1, rows * depth), 16,
                                          std::max<int64_t>(16, cols));
  for (int64_t c0 = 0; c0 < cols; c0 += per) {
    stop_point();
    const int64_t cb = std::min(per, cols - c0);
    dgemm(rows, cb, depth, w, rows, table + c0 * depth, depth, c + c0 * rows, rows);
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
  const double d = size / static_cast<double>(n);
  const double du = g.new_size / static_cast<double>(m);
  const double lambda_f = lambda * g.f;
  const double a = 2.0 * kPi * d / lambda_f;

  stop_point();
  fraunhofer_table(static_cast<int32_t>(n), g.m, a, du, g.x_shift, s.table_x);
  if (s.table_y != s.table_x)
    fraunhofer_table(static_cast<int32_t>(n), g.m, a, du, g.y_shift, s.table_y);

  // Over x: T (n x m, rows l) = W (n x 2h) * X (2h x m).
  pair_columns(z, n, s.pairs);
  product(reinterpret_cast<const double*>(s.pairs), 2 * n, 2 * h, s.table_x, m,
          reinterpret_cast<double*>(s.product));
  // Over y: R (m x m, rows i) = W2 (m x 2h) * Y (2h x m).
  stop_point();
  pair_rows(s.product, n, m, s.pairs);
  product(reinterpret_cast<const double*>(s.pairs), 2 * m, 2 * h, s.table_y, m,
          reinterpret_cast<double*>(s.product));
  stop_point();

  // Scale and focal-plane phase, and R(i, j) (at i + j*m) to out[i*m + j].
  cplx* px = s.pairs;
  cplx* py = s.pairs + m;
  focal_phase(m, du, g.x_shift, lambda_f, px);
  focal_phase(m, du, g.y_shift, lambda_f, py);
  const cplx scale(0.0, -d * d / lambda_f);  // d^2/(i*lambda*f)
  const cplx* r = s.product;
  cplx* o = out.z;
  constexpr int64_t kTile = 32;
  const int64_t tiles = (m + kTile - 1) / kTile;
  parallel_for(tiles, column_grain(kTile * m, kGrainMemory), [=](int64_t b0, int64_t b1) {
    for (int64_t b = b0; b < b1; ++b) {
      const int64_t i0 = b * kTile, i1 = std::min(m, i0 + kTile);
      for (int64_t j0 = 0; j0 < m; j0 += kTile) {
        const int64_t j1 = std::min(m, j0 + kTile);
        for (int64_t i = i0; i < i1; ++i) {
          const cplx fx = mul(scale, px[i]);
          for (int64_t j = j0; j < j1; ++j) o[i * m + j] = mul(mul(fx, py[j]), r[i + j * m]);
        }
      }
    }
  });
}

}  // namespace

FraunhoferScratchSize fraunhofer_scratch_size(int32_t n, int32_t m) {
  if (n < 1 || m < 1) return {0, 0, 0};
  const int64_t nn = n, mm = m, big = std::max(nn, mm);
  return {big * 2 * half_count(nn), mm * big, 2 * half_count(nn) * mm};
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
      double* cs = table + i * rows;
      double* sn = cs + h;
      for (int64_t q = 0; q * kStep < h; ++q) {
        const double t = static_cast<double>(q * kStep) * beta;
        const double bc = std::cos(t), bs = std::sin(t);
        const int64_t r1 = std::min(kStep, h - q * kStep);
        for (int64_t r = 0; r < r1; ++r) {
          cs[q * kStep + r] = bc * sc[r] - bs * ss[r];
          sn[q * kStep + r] = bs * sc[r] + bc * ss[r];
        }
      }
    }
  });
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

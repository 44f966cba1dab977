#include "propagation/forward.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/field.h"
#include "core/interrupt.h"
#include "core/parallel.h"
#include "propagation/fresnel.h"
#include "propagation/gemm.h"

namespace kv {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Columns of the left operand, or of the result, per matrix product.
constexpr int64_t kBlock = 256;

// Ctrl-C is taken between pieces of the products of about this many complex
// multiply-adds (some tens of milliseconds), cut along the columns of the
// first product's result and the rows of the second's, in multiples of
// kPieceAlign. The pieces are the same in every process and at any thread
// count. A BLAS may round an element differently at the edge of a product
// (where its kernels' unrolling ends): 96 is a multiple of the usual widths
// (2, 3, 4, 6, 8, 12, 16, 24, 32).
constexpr int64_t kPieceWork = INT64_C(1) << 27;
constexpr int64_t kPieceAlign = 96;

// Result lines per piece when each line costs `per_line` multiply-adds.
int64_t piece_lines(int64_t per_line) {
  const int64_t lines = kPieceWork / std::max<int64_t>(1, per_line);
  return std::max(kPieceAlign, lines / kPieceAlign * kPieceAlign);
}

double spacing(double side, int32_t n) { return side / static_cast<double>(n - 1); }

double scale(const ForwardGrids& g) { return std::sqrt(1 / (g.lambda * 2 * g.z)); }

// Both grids put sample i at (i - n/2)*d; p = 2*(x' - x).
double twice_offset(int64_t k, int64_t i, const ForwardGrids& g, double d_in, double d_out) {
  return 2 * (grid_x(k, g.n, d_in) - grid_x(i, g.m, d_out));
}

void fill_nan(cplx* p, int64_t count) {
  parallel_for(count, kGrainMemory,
               [=](int64_t k0, int64_t k1) { std::fill(p + k0, p + k1, cplx(kNaN, kNaN)); });
}

// The samples as the products can read them in place: complex ones only.
const cplx* in_place(const cplx* z) { return z; }
const cplx* in_place(const double*) { return nullptr; }

int64_t depth_block(const ForwardGrids& g) {
  return std::min<int64_t>(kBlock, std::max<int64_t>(g.n, g.m));
}

template <class P>
bool any_infinite(P z, int64_t count) {
  bool found[kMaxBlocks];
  for_blocks(count, kGrainMemory, [&](int b, int64_t s0, int64_t s1) {
    bool inf = false;
    for (int64_t s = s0; s < s1 && !inf; ++s) {
      const cplx v = sample(z, s);
      inf = std::isinf(v.real()) || std::isinf(v.imag());
    }
    found[b] = inf;
  });
  for (int b = 0; b < reduce_blocks(count); ++b) {
    if (found[b]) return true;
  }
  return false;
}

template <class P>
void direct(const ForwardGrids& g, P z, cplx* out) {
  const int64_t n = g.n;
  const int64_t m = g.m;
  const double d_in = spacing(g.size, g.n);
  const double d_out = spacing(g.new_size, g.m);
  const double a = scale(g);
  for (int64_t i = 0; i < m; ++i) {
    for (int64_t j = 0; j < m; ++j) {
      double vr = 0;
      double vi = 0;
      for (int64_t k = 0; k < n; ++k) {
        const double p = twice_offset(k, i, g, d_in, d_out);
        for (int64_t l = 0; l < n; ++l) {
          const double q = twice_offset(l, j, g, d_in, d_out);
          const Fresnel x2 = fresnel_integrals(a * (p + d_in));
          const Fresnel y1 = fresnel_integrals(a * (q - d_in));
          const Fresnel x1 = fresnel_integrals(a * (p - d_in));
          const Fresnel y2 = fresnel_integrals(a * (q + d_in));
          const double dcx = x2.c - x1.c, dsx = x2.s - x1.s;
          const double dcy = y2.c - y1.c, dsy = y2.s - y1.s;
          const double kr = dcx * dcy - dsx * dsy;
          const double ki = dcx * dsy + dsx * dcy;
          const cplx u = sample(z, k * n + l);
          const double ur = u.real(), ui = u.imag();
          vr += (ur * ki + ui * kr) / 2;
          vi += (ui * ki - ur * kr) / 2;
        }
      }
      out[i * m + j] = cplx(vr, vi);
    }
  }
}

template <class P>
ForwardResult fast(const ForwardGrids& g, P z, cplx* out, const ForwardScratch& scratch) {
  const int64_t n = g.n;
  const int64_t m = g.m;
  const int64_t nn = n * n;
  const int64_t mm = m * m;

  // A not-a-number sample meets every output sample. The samples are
  // counted over fixed blocks.
  bool any_nan[kMaxBlocks];
  int64_t infinite_in[kMaxBlocks];
  for_blocks(nn, kGrainMemory, [&](int b, int64_t s0, int64_t s1) {
    bool nan = false;
    int64_t inf = 0;
    for (int64_t s = s0; s < s1 && !nan; ++s) {
      const cplx v = sample(z, s);
      nan = std::isnan(v.real()) || std::isnan(v.imag());
      if (std::isinf(v.real()) || std::isinf(v.imag())) ++inf;
    }
    any_nan[b] = nan;
    infinite_in[b] = inf;
  });
  int64_t infinite = 0;
  for (int b = 0; b < reduce_blocks(nn); ++b) {
    if (any_nan[b]) {
      fill_nan(out, mm);
      return kForwardOk;
    }
    infinite += infinite_in[b];
  }
  // Complex finite samples go into the first product as they stand; real
  // ones, or a field with infinite samples, are copied a block at a time.
  const cplx* const samples_in_place = infinite == 0 ? in_place(z) : nullptr;
  if (samples_in_place == nullptr && scratch.pack == nullptr) return kForwardBadArguments;

  // The kernel table, K(k, i) = dC + i dS for input index k and output index
  // i, column-major (k runs fastest). A factor that is not a number (an edge
  // through an output point at z = 0, lambda*z < 0) spoils the whole output
  // column and row it enters; it is zeroed in the table, which then only
  // carries the finite factors, and the spoilt lines are marked afterwards.
  cplx* const kt = scratch.kernel;
  double* const spoilt = scratch.lines;
  const double d_in = spacing(g.size, g.n);
  const double d_out = spacing(g.new_size, g.m);
  const double a = scale(g);
  // Output index i fills column i of the table: the columns are shared
  // among threads.
  const auto fill = [=](int64_t i0, int64_t i1) {
    for (int64_t i = i0; i < i1; ++i) {
      spoilt[i] = 0;
      for (int64_t k = 0; k < n; ++k) {
        const double p = twice_offset(k, i, g, d_in, d_out);
        const Fresnel hi = fresnel_integrals(a * (p + d_in));
        const Fresnel lo = fresnel_integrals(a * (p - d_in));
        const double dc = hi.c - lo.c;
        const double ds = hi.s - lo.s;
        if (std::isnan(dc) || std::isnan(ds)) {
          spoilt[i] = 1;
          kt[k + i * n] = cplx(0);
        } else {
          kt[k + i * n] = cplx(dc, ds);
        }
      }
    }
  };
  parallel_for_slices(m, column_grain(n, kGrainMath), column_slice(n, kSliceMath / 4), fill);
  bool any_finite_line = false;
  for (int64_t i = 0; i < m; ++i) {
    if (spoilt[i] == 0) any_finite_line = true;
  }
  if (!any_finite_line) {
    fill_nan(out, mm);
    return kForwardOk;
  }

  // Infinite samples go into the products as 0 and are added term by term
  // below, so that their infinities and their 0*inf meet every output sample
  // as in the direct sum. Past a budget comparable with the products' own work
  // that would take longer than the rest together; the output is then
  // not-a-number, which is what the direct sum gives almost everywhere as soon
  // as infinities of both signs meet.
  if (infinite > 8 * n) {
    fill_nan(out, mm);
    return kForwardOk;
  }

  // The input samples, read column-major, are A(l, k) = U(k, l) with leading
  // dimension n; the output samples are B(j, i) = V(i, j) with leading
  // dimension m. Then T = A K (n x m) and B = K^T T / (2i), both products
  // taken a block of columns at a time.
  const int64_t block = depth_block(g);
  cplx* const t = scratch.product;
  for (int64_t k0 = 0; k0 < n; k0 += block) {
    const int64_t kb = std::min(block, n - k0);
    const cplx* a_block = nullptr;
    if (samples_in_place != nullptr) {
      a_block = samples_in_place + k0 * n;
    } else {
      // The copy is done (in threads) before the product starts (in BLAS's).
      parallel_for(kb, column_grain(n, kGrainMemory), [=](int64_t c0, int64_t c1) {
        for (int64_t k = c0; k < c1; ++k) {
          for (int64_t l = 0; l < n; ++l) {
            const cplx v = sample(z, (k0 + k) * n + l);
            const bool inf = std::isinf(v.real()) || std::isinf(v.imag());
            scratch.pack[l + k * n] = inf ? cplx(0) : v;
          }
        }
      });
      a_block = scratch.pack;
    }
    // T's columns a piece at a time.
    const int64_t cols = piece_lines(n * kb);
    for (int64_t c0 = 0; c0 < m; c0 += cols) {
      stop_point();
      const int64_t cb = std::min(cols, m - c0);
      zgemm(false, n, cb, kb, cplx(1), a_block, n, kt + k0 + c0 * n, n, cplx(k0 == 0 ? 0 : 1),
            t + c0 * n, n);
    }
  }
  for (int64_t i0 = 0; i0 < m; i0 += block) {
    const int64_t ib = std::min(block, m - i0);
    // The block of B's columns a piece of its rows at a time.
    const int64_t rows = piece_lines(n * ib);
    for (int64_t r0 = 0; r0 < m; r0 += rows) {
      stop_point();
      const int64_t rb = std::min(rows, m - r0);
      zgemm(true, rb, ib, n, cplx(0, -0.5), kt + r0 * n, n, t + i0 * n, n, cplx(0),
            out + i0 * m + r0, m);
    }
  }

  // Each output column i is one thread's; it takes the infinite samples in
  // their order, as one thread would.
  if (infinite > 0) {
    const int64_t column_work = nn + infinite * m;
    const int64_t slice = std::max<int64_t>(8, kSliceMemory / column_work);
    const auto add = [=](int64_t i0, int64_t i1) {
      for (int64_t s = 0; s < nn; ++s) {
        const cplx v = sample(z, s);
        if (!std::isinf(v.real()) && !std::isinf(v.imag())) continue;
        const int64_t k = s / n;
        const int64_t l = s % n;
        const double sr = v.real(), si = v.imag();
        for (int64_t i = i0; i < i1; ++i) {
          const cplx kx = kt[k + i * n];
          for (int64_t j = 0; j < m; ++j) {
            const cplx ky = kt[l + j * n];
            const double re_k = kx.real() * ky.real() - kx.imag() * ky.imag();
            const double im_k = kx.real() * ky.imag() + kx.imag() * ky.real();
            const cplx o = out[i * m + j];
            out[i * m + j] = cplx(o.real() + (sr * im_k + si * re_k) / 2,
                                  o.imag() + (si * im_k - sr * re_k) / 2);
          }
        }
      }
    };
    parallel_for_slices(m, column_grain(m * infinite, kGrainMemory), slice, add);
  }

  for (int64_t i = 0; i < m; ++i) {
    if (spoilt[i] == 0) continue;
    fill_nan(out + i * m, m);
    for (int64_t r = 0; r < m; ++r) out[r * m + i] = cplx(kNaN, kNaN);
  }
  return kForwardOk;
}

bool matches(const ForwardGrids& g, const FieldIn& in, const FieldOut& out) {
  return g.n >= 1 && g.m >= 1 && in.n == g.n && out.n == g.m && out.z != nullptr &&
         (in.z != nullptr || in.re != nullptr);
}

}  // namespace

void forward_direct(const ForwardGrids& g, const FieldIn& in, const FieldOut& out) {
  if (!matches(g, in, out)) return;
  with_samples(in, [&](auto* z) { direct(g, z, out.z); });
}

ForwardScratchSize forward_scratch_size(const ForwardGrids& g, const FieldIn& in) {
  ForwardScratchSize size{0, 0, 0, 0};
  if (g.n < 1 || g.m < 1) return size;
  const int64_t n = g.n;
  const int64_t m = g.m;
  size.kernel = n * m;
  size.product = n * m;
  size.lines = m;
  bool copied = in.z == nullptr;
  if (!copied) copied = any_infinite(in.z, samples(in.n));
  if (copied) size.pack = n * std::min(depth_block(g), n);
  return size;
}

ForwardResult forward_fast(const ForwardGrids& g, const FieldIn& in, const FieldOut& out,
                           const ForwardScratch& s) {
  if (!matches(g, in, out) || s.kernel == nullptr || s.product == nullptr || s.lines == nullptr)
    return kForwardBadArguments;
  ForwardResult result = kForwardOk;
  with_samples(in, [&](auto* z) { result = fast(g, z, out.z, s); });
  return result;
}

}  // namespace kv

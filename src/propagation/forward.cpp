#include "propagation/forward.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "core/field.h"
#include "propagation/fresnel.h"
#include "propagation/gemm.h"

namespace kv {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Columns packed or unpacked per matrix product.
constexpr int64_t kBlock = 256;

double spacing(double side, int32_t n) { return side / static_cast<double>(n - 1); }

double scale(const ForwardGrids& g) { return std::sqrt(1 / (g.lambda * 2 * g.z)); }

// Both grids put sample i at (i - n/2)*d; p = 2*(x' - x).
double twice_offset(int64_t k, int64_t i, const ForwardGrids& g, double d_in, double d_out) {
  return 2 * (grid_x(k, g.n, d_in) - grid_x(i, g.m, d_out));
}

void fill(double* p, int64_t count, double v) { std::fill(p, p + count, v); }

}  // namespace

void forward_direct(const ForwardGrids& g, const double* in_re, const double* in_im, double* out_re,
                    double* out_im) {
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
          const double ur = in_re[k * n + l], ui = in_im[k * n + l];
          vr += (ur * ki + ui * kr) / 2;
          vi += (ui * ki - ur * kr) / 2;
        }
      }
      out_re[i * m + j] = vr;
      out_im[i * m + j] = vi;
    }
  }
}

void forward_fast(const ForwardGrids& g, const double* in_re, const double* in_im, double* out_re,
                  double* out_im) {
  const int64_t n = g.n;
  const int64_t m = g.m;
  const int64_t nn = n * n;
  const int64_t mm = m * m;

  // A not-a-number sample meets every output sample.
  std::vector<int64_t> infinite;
  for (int64_t s = 0; s < nn; ++s) {
    if (std::isnan(in_re[s]) || std::isnan(in_im[s])) {
      fill(out_re, mm, kNaN);
      fill(out_im, mm, kNaN);
      return;
    }
    if (std::isinf(in_re[s]) || std::isinf(in_im[s])) infinite.push_back(s);
  }

  // The kernel table, K(k, i) = dC + i dS for input index k and output index
  // i, column-major (k runs fastest). A factor that is not a number (an edge
  // through an output point at z = 0, lambda*z < 0) spoils the whole output
  // column and row it enters; it is zeroed in the table, which then only
  // carries the finite factors, and the spoilt lines are marked afterwards.
  const std::size_t nm = static_cast<std::size_t>(n * m);
  std::vector<cplx> kt(nm);
  std::vector<unsigned char> spoilt(static_cast<std::size_t>(m), 0);
  const double d_in = spacing(g.size, g.n);
  const double d_out = spacing(g.new_size, g.m);
  const double a = scale(g);
  bool any_finite_line = false;
  for (int64_t i = 0; i < m; ++i) {
    for (int64_t k = 0; k < n; ++k) {
      const double p = twice_offset(k, i, g, d_in, d_out);
      const Fresnel hi = fresnel_integrals(a * (p + d_in));
      const Fresnel lo = fresnel_integrals(a * (p - d_in));
      const double dc = hi.c - lo.c;
      const double ds = hi.s - lo.s;
      if (std::isnan(dc) || std::isnan(ds)) {
        spoilt[static_cast<std::size_t>(i)] = 1;
      } else {
        kt[static_cast<std::size_t>(k + i * n)] = cplx(dc, ds);
      }
    }
    if (!spoilt[static_cast<std::size_t>(i)]) any_finite_line = true;
  }
  if (!any_finite_line) {
    fill(out_re, mm, kNaN);
    fill(out_im, mm, kNaN);
    return;
  }

  // Infinite samples go into the products as 0 and are added term by term
  // below, so that their infinities and their 0*inf meet every output sample
  // as in the direct sum. Past a budget comparable with the products' own work
  // that would take longer than the rest together; the output is then
  // not-a-number, which is what the direct sum gives almost everywhere as soon
  // as infinities of both signs meet.
  if (static_cast<int64_t>(infinite.size()) > 8 * n) {
    fill(out_re, mm, kNaN);
    fill(out_im, mm, kNaN);
    return;
  }

  // The input plane, read column-major, is A(l, k) = U(k, l); the output plane
  // is B(j, i) = V(i, j). Then T = A K (n x m) and B = K^T T / (2i). A is
  // packed into complex pairs a block of columns at a time, and B is formed
  // and unpacked a block of columns at a time.
  const int64_t block = std::min<int64_t>(kBlock, std::max(n, m));
  std::vector<cplx> t(nm);
  std::vector<cplx> pack(static_cast<std::size_t>(std::max(n, m) * block));
  for (int64_t k0 = 0; k0 < n; k0 += block) {
    const int64_t kb = std::min(block, n - k0);
    for (int64_t k = 0; k < kb; ++k) {
      for (int64_t l = 0; l < n; ++l) {
        const int64_t s = (k0 + k) * n + l;
        const bool inf = std::isinf(in_re[s]) || std::isinf(in_im[s]);
        pack[static_cast<std::size_t>(l + k * n)] = inf ? cplx(0) : cplx(in_re[s], in_im[s]);
      }
    }
    zgemm(false, n, m, kb, cplx(1), pack.data(), n, kt.data() + k0, n, cplx(k0 == 0 ? 0 : 1),
          t.data(), n);
  }
  for (int64_t i0 = 0; i0 < m; i0 += block) {
    const int64_t ib = std::min(block, m - i0);
    zgemm(true, m, ib, n, cplx(0, -0.5), kt.data(), n, t.data() + i0 * n, n, cplx(0), pack.data(),
          m);
    for (int64_t i = 0; i < ib; ++i) {
      for (int64_t j = 0; j < m; ++j) {
        const cplx v = pack[static_cast<std::size_t>(j + i * m)];
        out_re[(i0 + i) * m + j] = v.real();
        out_im[(i0 + i) * m + j] = v.imag();
      }
    }
  }

  for (int64_t s : infinite) {
    const int64_t k = s / n;
    const int64_t l = s % n;
    const double sr = in_re[s], si = in_im[s];
    for (int64_t i = 0; i < m; ++i) {
      const cplx kx = kt[static_cast<std::size_t>(k + i * n)];
      for (int64_t j = 0; j < m; ++j) {
        const cplx ky = kt[static_cast<std::size_t>(l + j * n)];
        const double re_k = kx.real() * ky.real() - kx.imag() * ky.imag();
        const double im_k = kx.real() * ky.imag() + kx.imag() * ky.real();
        out_re[i * m + j] += (sr * im_k + si * re_k) / 2;
        out_im[i * m + j] += (si * im_k - sr * re_k) / 2;
      }
    }
  }

  for (int64_t i = 0; i < m; ++i) {
    if (!spoilt[static_cast<std::size_t>(i)]) continue;
    fill(out_re + i * m, m, kNaN);
    fill(out_im + i * m, m, kNaN);
    for (int64_t r = 0; r < m; ++r) {
      out_re[r * m + i] = kNaN;
      out_im[r * m + i] = kNaN;
    }
  }
}

}  // namespace kv

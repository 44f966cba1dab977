// The focusing subsystem's pieces: the exponential tables of the matrix
// Fourier transform against sin and cos, the real product against our own
// kernel, and the mirrored grid past a focus. The physics (Airy pattern,
// FFT, Gaussian beams) is in tests/octave/test_focus.m.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "focus/following.h"
#include "focus/fraunhofer.h"
#include "propagation/gemm.h"

namespace {

using kv::cplx;

TEST(Focus, TablesMatchSinAndCosToRounding) {
  // Phases up to about 2000 rad, odd and even n, a shifted grid.
  for (int32_t n : {15, 64, 1024}) {
    const int32_t m = 37;
    const int64_t h = n / 2 + 1;
    const double a = 0.37, du = 0.21, shift = -0.013;
    std::vector<double> t(static_cast<size_t>(2 * h * m));
    kv::fraunhofer_table(n, m, a, du, shift, t.data());
    double worst = 0;
    int64_t p0 = 0, p1 = 0;
    for (int64_t b = 0; kv::fraunhofer_pair_block(n, b, &p0, &p1); ++b) {
      for (int64_t i = 0; i < m; ++i) {
        const double beta = a * (static_cast<double>(i - m / 2) * du + shift);
        for (int64_t p = p0; p < p1; ++p) {
          const double th = static_cast<double>(p) * beta;
          const double* col = t.data() + i * 2 * h;
          worst = std::max(worst, std::fabs(col[p0 + p] - std::cos(th)));
          worst = std::max(worst, std::fabs(col[p1 + p] - std::sin(th)));
        }
      }
    }
    EXPECT_EQ(p1, h);
    // The phase itself is rounded to |th|*2^-53 either way.
    EXPECT_LT(worst, 4e-13) << n;
  }
}

TEST(Focus, RealProductMatchesOwnKernel) {
  const int64_t m = 70, n = 33, k = 41;
  std::vector<double> a(static_cast<size_t>(m * k)), b(static_cast<size_t>(k * n));
  for (size_t i = 0; i < a.size(); ++i) a[i] = std::sin(0.7 * static_cast<double>(i));
  for (size_t i = 0; i < b.size(); ++i) b[i] = std::cos(0.3 * static_cast<double>(i));
  std::vector<double> c1(static_cast<size_t>(m * n), 7.0), c2(c1);
  kv::dgemm(m, n, k, a.data(), m, b.data(), k, 0.0, c1.data(), m);
  kv::dgemm_own(m, n, k, a.data(), m, b.data(), k, 0.0, c2.data(), m);
  for (int64_t j = 0; j < n; ++j) {
    for (int64_t i = 0; i < m; ++i) {
      double s = 0;
      for (int64_t p = 0; p < k; ++p)
        s += a[static_cast<size_t>(i + p * m)] * b[static_cast<size_t>(p + j * k)];
      EXPECT_NEAR(c1[static_cast<size_t>(i + j * m)], s, 1e-12);
      EXPECT_NEAR(c2[static_cast<size_t>(i + j * m)], s, 1e-12);
    }
  }
}

TEST(Focus, PastTheFocusTheGridIsMirroredAboutItsCentre) {
  // Over a distance 0 the samples stay, so m = -1 (c*z = -2) is exactly the
  // mirror times -1 (up to the transforms' rounding), on
  // odd and even grids; the first line of an even grid is its own mirror.
  for (int32_t n : {9, 10}) {
    std::vector<cplx> in(static_cast<size_t>(n) * n), out(static_cast<size_t>(n) * (n + 1));
    for (size_t k = 0; k < in.size(); ++k) in[k] = cplx(static_cast<double>(k), 1.0);
    kv::Following g;
    ASSERT_TRUE(kv::following_grid(-2.0, 1.0, 3.0, &g));
    EXPECT_EQ(g.m, -1.0);
    EXPECT_EQ(g.size, 3.0);
    EXPECT_EQ(g.curvature, 2.0);
    g.distance = 0;  // no propagation: the mapping alone
    const kv::FieldIn fin{in.data(), nullptr, n, {3.0, 1e-6, 0, 0}};
    std::vector<cplx> line(static_cast<size_t>(n));
    ASSERT_EQ(kv::fresnel_following(g, fin, kv::FieldOut{out.data(), n}, line.data()), kv::kFftOk);
    const int64_t c2 = 2 * (n / 2);
    for (int64_t i = 0; i < n; ++i) {
      for (int64_t j = 0; j < n; ++j) {
        const int64_t im = (c2 - i + n) % n, jm = (c2 - j + n) % n;
        EXPECT_LT(
            std::abs(out[static_cast<size_t>(i * n + j)] + in[static_cast<size_t>(im * n + jm)]),
            1e-12 * n * n)
            << n;
      }
    }
  }
  kv::Following g;
  EXPECT_FALSE(kv::following_grid(-2.0, 0.5, 1.0, &g));  // the focus
  EXPECT_FALSE(kv::following_grid(std::nan(""), 0.5, 1.0, &g));
}

}  // namespace

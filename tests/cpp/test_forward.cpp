// KVForward: the Fresnel integrals, the fast separable propagation against
// the direct sum (finite and non-finite), a physical check, and the command
// through the test host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "host.h"
#include "propagation/forward.h"
#include "propagation/fresnel.h"
#include "propagation/gemm.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// S and C by Simpson's rule in long double, independent of the coefficients.
kv::Fresnel integrate(double x) {
  const int steps = 200000;
  const long double h = static_cast<long double>(x) / steps;
  long double s = 0, c = 0;
  for (int i = 0; i <= steps; ++i) {
    const long double t = h * i, w = (i == 0 || i == steps) ? 1 : (i % 2 ? 4 : 2);
    s += w * std::sin(1.57079632679489661923L * t * t);
    c += w * std::cos(1.57079632679489661923L * t * t);
  }
  return {static_cast<double>(s * h / 3), static_cast<double>(c * h / 3)};
}

struct Planes {
  std::vector<double> re, im;
  explicit Planes(int32_t n) : re(static_cast<size_t>(n) * n), im(re.size()) {}
};

Planes random_planes(int32_t n, unsigned seed) {
  Planes p(n);
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  for (size_t s = 0; s < p.re.size(); ++s) p.re[s] = u(gen), p.im[s] = u(gen);
  return p;
}

struct Both {
  Planes direct, fast;
};

Both propagate(const kv::ForwardGrids& g, const Planes& in) {
  Both r{Planes(g.m), Planes(g.m)};
  kv::forward_direct(g, in.re.data(), in.im.data(), r.direct.re.data(), r.direct.im.data());
  kv::forward_fast(g, in.re.data(), in.im.data(), r.fast.re.data(), r.fast.im.data());
  return r;
}

}  // namespace

TEST(Fresnel, KnownValuesOddnessAndBranches) {
  const double known[][3] = {{0, 0, 0},
                             {1, 0.43825914739035, 0.77989340037682},
                             {2, 0.34341567836370, 0.48825340607534},
                             {5, 0.49919138191712, 0.56363118870401}};
  for (const auto& k : known) {
    const kv::Fresnel f = kv::fresnel_integrals(k[0]), g = kv::fresnel_integrals(-k[0]);
    EXPECT_NEAR(f.s, k[1], 1e-14) << k[0];
    EXPECT_NEAR(f.c, k[2], 1e-14) << k[0];
    EXPECT_TRUE(g.s == -f.s && g.c == -f.c) << k[0];
  }
  // Either side of the hand-over at t^2 = 2.5625, against quadrature.
  const double edge = std::sqrt(2.5625);
  for (double x : {0.1, 1.3, std::nextafter(edge, 0.0), edge, 1.9, 3.3, 7.25}) {
    EXPECT_NEAR(kv::fresnel_integrals(x).s, integrate(x).s, 2e-14) << x;
    EXPECT_NEAR(kv::fresnel_integrals(x).c, integrate(x).c, 2e-14) << x;
  }
  // 36974 itself still takes the asymptotic form; beyond it both are 1/2.
  EXPECT_NE(kv::fresnel_integrals(36974).c, 0.5);
  EXPECT_NEAR(kv::fresnel_integrals(36974).c, 0.5, 1e-5);
  for (double x : {36974.01, kInf, -1e9}) {
    EXPECT_EQ(kv::fresnel_integrals(x).s, std::copysign(0.5, x));
    EXPECT_EQ(kv::fresnel_integrals(x).c, std::copysign(0.5, x));
  }
  EXPECT_TRUE(std::isnan(kv::fresnel_integrals(kNaN).s));
}

TEST(Forward, FastAgreesWithDirectSum) {
  // Odd and even grids of both sizes; z = 0 (NaN lines where an output point
  // lies on a pixel edge), lambda*z < 0 (NaN everywhere); a NaN sample, and
  // infinities that meet vanishing far-field factors (0*inf).
  enum Bad { kNone, kNaNSample, kInfinities, kOneInfinity };
  const struct {
    int32_t n, m;
    double z, size, new_size;
    Bad bad;
  } cases[] = {
      {8, 8, 0.5, 1e-3, 1e-3, kNone},       {9, 8, 0.05, 2e-3, 1e-3, kNone},
      {8, 11, 2.0, 1e-3, 4e-3, kNone},      {12, 9, 0.01, 1e-3, 0.5e-3, kNone},
      {7, 16, 10.0, 3e-3, 2e-2, kNone},     {16, 13, 0.2, 2e-3, 3e-3, kNone},
      {13, 10, 1e-4, 1e-3, 1e-3, kNone},    {8, 8, 0, 7, 3.5, kNone},
      {9, 8, -0.5, 1e-3, 1e-3, kNone},      {8, 8, 50, 1e-3, 4e-3, kNaNSample},
      {8, 8, 50, 1e-3, 4e-3, kInfinities},  {8, 9, 0.05, 1e-3, 1e-3, kInfinities},
      {8, 8, 50, 1e-3, 4e-3, kOneInfinity}, {8, 9, 0.05, 1e-3, 1e-3, kOneInfinity},
  };
  unsigned seed = 1;
  for (const auto& c : cases) {
    Planes in = random_planes(c.n, seed++);
    if (c.bad == kNaNSample) in.im[19] = kNaN;
    if (c.bad == kInfinities) in.re[5] = kInf, in.im[40] = -kInf;
    if (c.bad == kOneInfinity) in.re[27] = -kInf;
    const Both r = propagate({c.z, c.new_size, c.m, c.size, 633e-9, c.n}, in);
    double big = 1;
    for (double v : r.direct.re) big = std::isfinite(v) ? std::max(big, std::fabs(v)) : big;
    for (size_t s = 0; s < 2 * r.direct.re.size(); ++s) {
      const double w = s % 2 ? r.direct.im[s / 2] : r.direct.re[s / 2];
      const double v = s % 2 ? r.fast.im[s / 2] : r.fast.re[s / 2];
      if (std::isfinite(w)) {
        ASSERT_NEAR(w, v, 1e-11 * big) << "case " << seed - 1 << " at " << s;
      } else {
        ASSERT_TRUE(std::isnan(w) ? std::isnan(v) : v == w) << "case " << seed - 1 << " at " << s;
      }
      EXPECT_TRUE(std::isnan(v) || (c.z >= 0 && c.bad != kNaNSample));
    }
  }
}

TEST(Forward, OnAxisIntensityBehindCircularAperture) {
  // A disc of radius a lit by a unit plane wave gives 4 sin^2(pi a^2/(2 lambda z))
  // on the axis, with no paraxial error since both sides are Fresnel
  // integrals. The disc is made of whole pixels and a is taken from their
  // area; what remains is the staircase rim, of order 1e-3 in |U| here.
  const int32_t n = 320;
  const double lambda = 1e-6, size = 4e-3, d = size / (n - 1), r = 150 * d;
  Planes in(n);
  int64_t count = 0;
  for (int64_t k = 0; k < n; ++k)
    for (int64_t l = 0; l < n; ++l) {
      const double x = (k - n / 2) * d, y = (l - n / 2) * d;
      if (x * x + y * y < r * r) in.re[static_cast<size_t>(k * n + l)] = 1, ++count;
    }
  const double a2 = count * d * d / M_PI;
  for (double fresnel_number : {1.0, 2.0, 3.0}) {
    Planes out(9);
    kv::forward_fast({a2 / (lambda * fresnel_number), 1e-4, 9, size, lambda, n}, in.re.data(),
                     in.im.data(), out.re.data(), out.im.data());
    EXPECT_NEAR(std::norm(std::complex<double>(out.re[40], out.im[40])),
                4 * std::pow(std::sin(M_PI * fresnel_number / 2), 2), 1e-2)
        << "Fresnel number " << fresnel_number;
  }
}

TEST(Gemm, OwnKernelAgreesWithTheLinkedProduct) {
  // Shapes that leave partial row, depth and column blocks.
  std::mt19937 gen(11);
  std::uniform_real_distribution<double> u(-1, 1);
  auto random = [&](int64_t count) {
    std::vector<kv::cplx> v(static_cast<size_t>(count));
    for (auto& e : v) e = {u(gen), u(gen)};
    return v;
  };
  for (int64_t m : {1, 7, 70}) {
    for (int64_t k : {3, 130}) {
      for (bool trans : {false, true}) {
        const int64_t n = 6, ldb = k + 2, lda = trans ? k + 2 : m + 1;
        const auto a = random(lda * std::max(m, k)), b = random(ldb * n);
        auto c1 = random(m * n), c2 = c1;
        const kv::cplx alpha(0.3, -0.5), beta(0.5, 2);
        kv::zgemm(trans, m, n, k, alpha, a.data(), lda, b.data(), ldb, beta, c1.data(), m);
        kv::zgemm_own(trans, m, n, k, alpha, a.data(), lda, b.data(), ldb, beta, c2.data(), m);
        for (size_t s = 0; s < c1.size(); ++s)
          ASSERT_NEAR(std::abs(c1[s] - c2[s]), 0, 1e-12) << m << " " << k << " " << trans;
      }
    }
  }
}

TEST(KVForward, BannerAndOrderOfChecks) {
  const std::string stars(53, '*');
  host::Result none = host::call("KVForward", 1, {});
  EXPECT_FALSE(none.failed);
  EXPECT_EQ(none.printed.rfind(stars + "\n\n\tKorvane for Matlab Optical Toolbox\n", 0), 0u);
  EXPECT_NE(none.printed.find("\tFout = KVForward(z,NewSize,NewNumber,Fin);\n"), std::string::npos);
  EXPECT_EQ(none.printed.substr(none.printed.size() - 55), stars + "\n\n");

  host::Array f = host::field(8), z = host::scalar(1), s = host::scalar(1e-3), m = host::scalar(8);
  host::Array cplx = host::complex(1, 1), real = host::real(8, 9),
              short_field = host::complex(8, 8);
  host::Array small = host::scalar(7.99);
  const char* const kNotField = "Input field is not a Korvane field.";
  const struct {
    std::vector<const mxArray*> args;
    int nlhs;
    const char* msg;
  } cases[] = {
      {{z.get(), s.get(), f.get()}, 1, "expects four input arguments"},
      {{z.get(), s.get(), m.get(), f.get()}, 2, "expects one output argument"},
      {{z.get(), s.get(), cplx.get(), real.get()}, 1, "Input must be real scalar."},
      // The new dimension is checked after the complex flag, before the shape.
      {{z.get(), s.get(), small.get(), real.get()}, 1, kNotField},
      {{z.get(), s.get(), small.get(), short_field.get()},
       1,
       "The minimum grid-dimension of a Korvane field is 8"},
      {{z.get(), s.get(), m.get(), short_field.get()}, 1, kNotField},
  };
  for (const auto& c : cases) {
    host::Result r = host::call("KVForward", c.nlhs, c.args);
    EXPECT_EQ(r.error, c.msg);
    EXPECT_EQ(r.printed, r.error.rfind("expects", 0) == 0 ? none.printed : "") << c.msg;
  }
  // NaN and values beyond 32 bits truncate to INT32_MIN; nothing is left behind.
  const long live = host::live_arrays();
  for (double v : {1e10, 2147483647.0, kNaN, -8.0}) {
    host::Array mm = host::scalar(v);
    EXPECT_FALSE(host::call("KVForward", 1, {z.get(), s.get(), mm.get(), f.get()}).error.empty());
  }
  EXPECT_EQ(host::live_arrays(), live);
}

TEST(KVForward, NewGridAndHeader) {
  // 16 pixels of width 1, z = 0, an 8 x 8 grid of spacing 1: each output
  // point is the centre of a pixel and takes its value, out(i, j) = in(i + 4, j + 4).
  host::Array f = host::field(16, 15, 1e-6, 0.25, 3.7);
  for (int k = 0; k < 256; ++k) host::re(f.get())[k] = k, host::im(f.get())[k] = -std::sin(k);
  host::Array z = host::scalar(0), s = host::scalar(7), m = host::scalar(8.9);
  host::Result r = host::call("KVForward", 1, {z.get(), s.get(), m.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  ASSERT_EQ(mxGetM(r[0]), 8u);
  ASSERT_EQ(mxGetN(r[0]), 9u);
  const double *re = host::re(r[0]), *im = host::im(r[0]);
  EXPECT_EQ(std::vector<double>(re + 64, re + 72),
            (std::vector<double>{7, 1e-6, 8, 0.25, 3, 0, 0, 0}));
  EXPECT_EQ(std::vector<double>(im + 64, im + 72), std::vector<double>(8, 0.0));
  for (int k = 0; k < 64; ++k) {
    const int from = (k / 8 + 4) * 16 + k % 8 + 4;
    EXPECT_NEAR(re[k], from, 1e-12) << k;
    EXPECT_NEAR(im[k], -std::sin(from), 1e-12) << k;
  }
}

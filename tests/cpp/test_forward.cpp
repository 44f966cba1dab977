// KVForward: the Fresnel integrals, the fast separable propagation against
// the direct sum, its non-finite cases, a physical check, and the command
// through the test host.
#include <gtest/gtest.h>

#include <cmath>
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

// S and C by composite Simpson integration in long double, for checking the
// rational approximations independently of their coefficients.
kv::Fresnel integrate(double x) {
  const int steps = 200000;
  const long double h = static_cast<long double>(x) / steps;
  const long double half_pi = 1.57079632679489661923132169163975L;
  long double s = 0, c = 0;
  for (int i = 0; i <= steps; ++i) {
    const long double t = h * i;
    const long double w = (i == 0 || i == steps) ? 1 : (i % 2 ? 4 : 2);
    s += w * std::sin(half_pi * t * t);
    c += w * std::cos(half_pi * t * t);
  }
  return {static_cast<double>(s * h / 3), static_cast<double>(c * h / 3)};
}

struct Planes {
  int32_t n;
  std::vector<double> re, im;
  explicit Planes(int32_t n_) : n(n_), re(static_cast<size_t>(n_) * n_), im(re.size()) {}
};

Planes random_planes(int32_t n, unsigned seed) {
  Planes p(n);
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  for (size_t s = 0; s < p.re.size(); ++s) {
    p.re[s] = u(gen);
    p.im[s] = u(gen);
  }
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

// NaN where the other is NaN, the same infinity where it is infinite, and
// within tol elsewhere.
void expect_same(const Planes& want, const Planes& got, double tol, const std::string& what) {
  for (size_t s = 0; s < want.re.size(); ++s) {
    for (int plane = 0; plane < 2; ++plane) {
      const double w = plane ? want.im[s] : want.re[s];
      const double v = plane ? got.im[s] : got.re[s];
      if (std::isnan(w) || std::isinf(w)) {
        EXPECT_EQ(std::isnan(w), std::isnan(v)) << what << " sample " << s << " plane " << plane;
        if (std::isinf(w)) {
          EXPECT_EQ(w, v) << what << " sample " << s;
        }
      } else {
        ASSERT_NEAR(w, v, tol) << what << " sample " << s << " plane " << plane;
      }
    }
  }
}

double largest(const Planes& p) {
  double m = 0;
  for (size_t s = 0; s < p.re.size(); ++s) m = std::max(m, std::hypot(p.re[s], p.im[s]));
  return m;
}

}  // namespace

TEST(Fresnel, KnownValues) {
  const struct {
    double x, s, c;
  } known[] = {{1, 0.43825914739035, 0.77989340037682},
               {2, 0.34341567836370, 0.48825340607534},
               {5, 0.49919138191712, 0.56363118870401}};
  for (const auto& k : known) {
    const kv::Fresnel f = kv::fresnel_integrals(k.x);
    EXPECT_NEAR(f.s, k.s, 1e-14) << k.x;
    EXPECT_NEAR(f.c, k.c, 1e-14) << k.x;
    const kv::Fresnel g = kv::fresnel_integrals(-k.x);
    EXPECT_EQ(g.s, -f.s);
    EXPECT_EQ(g.c, -f.c);
  }
  const kv::Fresnel zero = kv::fresnel_integrals(0);
  EXPECT_EQ(zero.s, 0);
  EXPECT_EQ(zero.c, 0);
}

TEST(Fresnel, AgreesWithQuadratureOnBothSidesOfTheBranches) {
  // t^2 = 2.5625 is where the series hands over to the asymptotic form.
  const double edge = std::sqrt(2.5625);
  for (double x : {0.1, 0.7, 1.3, std::nextafter(edge, 0.0), edge, std::nextafter(edge, 9.0), 1.9,
                   3.3, 7.25}) {
    const kv::Fresnel want = integrate(x);
    const kv::Fresnel got = kv::fresnel_integrals(x);
    EXPECT_NEAR(got.s, want.s, 2e-14) << x;
    EXPECT_NEAR(got.c, want.c, 2e-14) << x;
  }
}

TEST(Fresnel, FarRangeAndNonFinite) {
  // 36974 itself still takes the asymptotic form, which is close to but not
  // exactly 1/2 there; beyond it both are exactly 1/2 with the sign of x.
  const kv::Fresnel at = kv::fresnel_integrals(36974);
  EXPECT_NE(at.c, 0.5);
  EXPECT_NEAR(at.c, 0.5, 1e-5);
  EXPECT_NEAR(at.s, 0.5, 1e-5);
  for (double x : {36974.01, 1e9, kInf}) {
    EXPECT_EQ(kv::fresnel_integrals(x).s, 0.5);
    EXPECT_EQ(kv::fresnel_integrals(x).c, 0.5);
    EXPECT_EQ(kv::fresnel_integrals(-x).s, -0.5);
    EXPECT_EQ(kv::fresnel_integrals(-x).c, -0.5);
  }
  EXPECT_TRUE(std::isnan(kv::fresnel_integrals(kNaN).s));
  EXPECT_TRUE(std::isnan(kv::fresnel_integrals(kNaN).c));
}

TEST(Forward, FastAgreesWithDirectSum) {
  const struct {
    int32_t n, m;
    double z, size, new_size;
  } cases[] = {
      {8, 8, 0.5, 1e-3, 1e-3},     {9, 8, 0.05, 2e-3, 1e-3},  {8, 11, 2.0, 1e-3, 4e-3},
      {12, 9, 0.01, 1e-3, 0.5e-3}, {7, 16, 10.0, 3e-3, 2e-2}, {16, 13, 0.2, 2e-3, 3e-3},
      {13, 10, 1e-4, 1e-3, 1e-3},
  };
  unsigned seed = 1;
  for (const auto& c : cases) {
    const Planes in = random_planes(c.n, seed++);
    const kv::ForwardGrids g{c.z, c.new_size, c.m, c.size, 633e-9, c.n};
    const Both r = propagate(g, in);
    const double tol = 1e-11 * largest(r.direct);
    expect_same(r.direct, r.fast, tol, "n " + std::to_string(c.n) + " m " + std::to_string(c.m));
  }
}

TEST(Forward, ZeroDistancePicksThePixel) {
  // Input pixels of width 1 centred on the integers. At d_out = 1 every
  // output point is a pixel centre and gets that pixel's value; at d_out =
  // 0.5 every other line lies on pixel edges and is not a number.
  const Planes in = random_planes(8, 7);
  const Both same = propagate({0, 7, 8, 7, 1, 8}, in);
  for (size_t s = 0; s < in.re.size(); ++s) {
    EXPECT_NEAR(same.fast.re[s], in.re[s], 1e-15);
    EXPECT_NEAR(same.fast.im[s], in.im[s], 1e-15);
  }
  expect_same(same.direct, same.fast, 1e-15, "z = 0");
  const Both half = propagate({0, 3.5, 8, 7, 1, 8}, in);
  for (int64_t i = 0; i < 8; ++i) {
    for (int64_t j = 0; j < 8; ++j) {
      const bool edge = (i % 2 == 1) || (j % 2 == 1);
      EXPECT_EQ(std::isnan(half.fast.re[i * 8 + j]), edge) << i << " " << j;
      EXPECT_EQ(std::isnan(half.fast.im[i * 8 + j]), edge) << i << " " << j;
    }
  }
  expect_same(half.direct, half.fast, 1e-15, "z = 0 on edges");
}

TEST(Forward, NonFiniteSpreadsAsInTheDirectSum) {
  // Negative lambda*z: every sample is not a number.
  const Planes in = random_planes(8, 3);
  for (double z : {-0.5, 0.5}) {
    const Both r = propagate({z, 1e-3, 9, 1e-3, z > 0 ? -633e-9 : 633e-9, 8}, in);
    for (size_t s = 0; s < r.fast.re.size(); ++s) {
      EXPECT_TRUE(std::isnan(r.fast.re[s]) && std::isnan(r.fast.im[s]));
      EXPECT_TRUE(std::isnan(r.direct.re[s]));
    }
  }
  // One not-a-number sample reaches every output sample; infinities of
  // either sign and 0*inf against vanishing far-field factors likewise.
  const kv::ForwardGrids far{50, 4e-3, 8, 1e-3, 633e-9, 8};
  const kv::ForwardGrids near{0.05, 1e-3, 9, 1e-3, 633e-9, 8};
  for (const kv::ForwardGrids& g : {far, near}) {
    Planes bad = in;
    bad.im[19] = kNaN;
    const Both r = propagate(g, bad);
    for (size_t s = 0; s < r.fast.re.size(); ++s) EXPECT_TRUE(std::isnan(r.fast.im[s]));
    expect_same(r.direct, r.fast, 0, "NaN sample");
    Planes inf = in;
    inf.re[5] = kInf;
    inf.im[40] = -kInf;
    const Both ri = propagate(g, inf);
    expect_same(ri.direct, ri.fast, 1e-11 * 8, "infinite samples");
    Planes one = in;
    one.re[27] = -kInf;
    const Both r1 = propagate(g, one);
    expect_same(r1.direct, r1.fast, 1e-11 * 8, "one infinite sample");
  }
}

TEST(Forward, OnAxisIntensityBehindCircularAperture) {
  // A disc of radius a lit by a unit plane wave gives 4 sin^2(pi a^2/(2 lambda z))
  // on the axis, with no paraxial error here since both sides are Fresnel
  // integrals. The disc is made of whole pixels; its radius is taken from
  // the pixel count, area = pi a^2, so the remaining error is the staircase's
  // departure from a circle along the rim: the rim pixels sit at phases
  // spread by about 2 pi N_F d/a (0.04 rad for a = 150 pixels, N_F = 1) around
  // the mean, which moves |U| by of order 1e-3. Tolerance 1e-2 on I (<= 4).
  const int32_t n = 320;
  const double lambda = 1e-6, size = 4e-3;
  const double d = size / (n - 1);
  const double r = 150 * d;
  Planes in(n);
  int64_t count = 0;
  for (int64_t k = 0; k < n; ++k)
    for (int64_t l = 0; l < n; ++l) {
      const double x = (k - n / 2) * d, y = (l - n / 2) * d;
      if (x * x + y * y < r * r) {
        in.re[k * n + l] = 1;
        ++count;
      }
    }
  const double a2 = count * d * d / M_PI;
  for (double fresnel_number : {1.0, 2.0, 3.0}) {
    const double z = a2 / (lambda * fresnel_number);
    Planes out(9);
    kv::forward_fast({z, 1e-4, 9, size, lambda, n}, in.re.data(), in.im.data(), out.re.data(),
                     out.im.data());
    const double on_axis =
        out.re[4 * 9 + 4] * out.re[4 * 9 + 4] + out.im[4 * 9 + 4] * out.im[4 * 9 + 4];
    const double want = 4 * std::pow(std::sin(M_PI * fresnel_number / 2), 2);
    EXPECT_NEAR(on_axis, want, 1e-2) << "Fresnel number " << fresnel_number;
  }
}

// The command through the test host.

namespace {
const char kBanner[] =
    "*****************************************************\n\n\tKorvane for Matlab Optical "
    "Toolbox\n\n\tKVForward propagates the field a distance using the direct integration "
    "method.\n\n\tUSAGE:\n\tFout = KVForward(z,NewSize,NewNumber,Fin);\n\n\twith:\n\tz    = "
    "propagation distance\n\tNewSize = a new grid size\n\tNewNumber = a new grid "
    "dimension\n\tFin  = input field\n\tFout = output field\n"
    "*****************************************************\n\n";
const char kMinimum[] = "The minimum grid-dimension of a Korvane field is 8";
}  // namespace

TEST(KVForward, BannerAndMessages) {
  host::Result none = host::call("KVForward", 1, {});
  EXPECT_FALSE(none.failed);
  EXPECT_EQ(none.printed, kBanner);
  host::Array f = host::field(8);
  host::Array z = host::scalar(1), s = host::scalar(1e-3), m = host::scalar(8);
  host::Result three = host::call("KVForward", 1, {z.get(), s.get(), f.get()});
  EXPECT_EQ(three.error, "expects four input arguments");
  EXPECT_EQ(three.printed, kBanner);
  host::Result two = host::call("KVForward", 2, {z.get(), s.get(), m.get(), f.get()});
  EXPECT_EQ(two.error, "expects one output argument");
  host::Array cplx = host::complex(1, 1), real = host::real(8, 9);
  EXPECT_EQ(host::call("KVForward", 1, {z.get(), s.get(), cplx.get(), f.get()}).error,
            "Input must be real scalar.");
  EXPECT_EQ(host::call("KVForward", 1, {z.get(), s.get(), m.get(), real.get()}).error,
            "Input field is not a Korvane field.");
  // The new dimension is checked before the field's shape.
  host::Array small = host::scalar(7.99), bad = host::complex(8, 8);
  host::Result r = host::call("KVForward", 1, {z.get(), s.get(), small.get(), bad.get()});
  EXPECT_EQ(r.error, kMinimum);
  EXPECT_TRUE(r.printed.empty());
  EXPECT_EQ(host::call("KVForward", 1, {z.get(), s.get(), m.get(), bad.get()}).error,
            "Input field is not a Korvane field.");
}

TEST(KVForward, AbsurdNewNumberEndsWithAMessage) {
  host::Array f = host::field(8);
  host::Array z = host::scalar(1), s = host::scalar(1e-3);
  const long live = host::live_arrays();
  for (double m : {1e10, 2147483647.0, kNaN, -8.0}) {
    host::Array mm = host::scalar(m);
    host::Result r = host::call("KVForward", 1, {z.get(), s.get(), mm.get(), f.get()});
    EXPECT_TRUE(r.failed) << m;
    EXPECT_FALSE(r.error.empty()) << m;
  }
  EXPECT_EQ(host::live_arrays(), live);
}

TEST(KVForward, NewGridAndHeader) {
  host::Array f = host::field(16, 2e-3, 1e-6, 0.25, 3.7);
  host::Array z = host::scalar(0.5), s = host::scalar(4e-3), m = host::scalar(8.9);
  host::Result r = host::call("KVForward", 1, {z.get(), s.get(), m.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  const mxArray* out = r[0];
  ASSERT_EQ(mxGetM(out), 8u);
  ASSERT_EQ(mxGetN(out), 9u);
  const double* h = mxGetPr(out) + 64;
  EXPECT_EQ(h[0], 4e-3);
  EXPECT_EQ(h[1], 1e-6);
  EXPECT_EQ(h[2], 8);
  EXPECT_EQ(h[3], 0.25);
  EXPECT_EQ(h[4], 3);
  for (int r2 = 5; r2 < 8; ++r2) EXPECT_EQ(h[r2], 0);
  for (int r2 = 0; r2 < 8; ++r2) EXPECT_EQ(mxGetPi(out)[64 + r2], 0);
  // The samples are the propagation of the 16 x 16 planes.
  Planes in(16);
  for (size_t k = 0; k < in.re.size(); ++k) in.re[k] = mxGetPr(f.get())[k];
  Planes want(8);
  kv::forward_direct({0.5, 4e-3, 8, 2e-3, 1e-6, 16}, in.re.data(), in.im.data(), want.re.data(),
                     want.im.data());
  for (int k = 0; k < 64; ++k) {
    EXPECT_NEAR(mxGetPr(out)[k], want.re[static_cast<size_t>(k)], 1e-12);
    EXPECT_NEAR(mxGetPi(out)[k], want.im[static_cast<size_t>(k)], 1e-12);
  }
}

TEST(Gemm, OwnKernelAgreesWithTheLinkedProduct) {
  // Shapes that leave partial row, depth and column blocks.
  std::mt19937 gen(11);
  std::uniform_real_distribution<double> u(-1, 1);
  for (int64_t m : {1, 7, 70}) {
    for (int64_t k : {3, 130}) {
      const int64_t n = 6, ld = k + 2;
      std::vector<kv::cplx> a(static_cast<size_t>(ld * std::max(m, k))),
          b(static_cast<size_t>(ld * n));
      std::vector<kv::cplx> c1(static_cast<size_t>(m * n)), c2;
      for (auto& v : a) v = {u(gen), u(gen)};
      for (auto& v : b) v = {u(gen), u(gen)};
      for (auto& v : c1) v = {u(gen), u(gen)};
      c2 = c1;
      const kv::cplx alpha(0.3, -0.5), beta(0.5, 2);
      for (bool trans : {false, true}) {
        const int64_t lda = trans ? ld : m + 1;
        std::vector<kv::cplx> aa(static_cast<size_t>(lda * std::max(m, k)));
        for (size_t s = 0; s < aa.size(); ++s) aa[s] = a[s % a.size()];
        kv::zgemm(trans, m, n, k, alpha, aa.data(), lda, b.data(), ld, beta, c1.data(), m);
        kv::zgemm_own(trans, m, n, k, alpha, aa.data(), lda, b.data(), ld, beta, c2.data(), m);
        for (size_t s = 0; s < c1.size(); ++s) {
          ASSERT_NEAR(c1[s].real(), c2[s].real(), 1e-12) << m << " " << k << " " << trans;
          ASSERT_NEAR(c1[s].imag(), c2[s].imag(), 1e-12) << m << " " << k << " " << trans;
        }
      }
    }
  }
}

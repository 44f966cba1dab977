// KVForward: the Fresnel integrals, the fast separable propagation against
// the direct sum (finite and non-finite), a physical check, and the command
// through the test host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
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

using Samples = std::vector<kv::cplx>;

Samples random_samples(int32_t n, unsigned seed) {
  Samples p(static_cast<size_t>(n) * n);
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  for (auto& v : p) {
    const double r = u(gen);
    v = kv::cplx(r, u(gen));
  }
  return p;
}

kv::FieldIn field_in(const kv::ForwardGrids& g, const kv::cplx* z, const double* re = nullptr) {
  return kv::FieldIn{z, re, g.n, {g.size, g.lambda, 0, 0}};
}

// The fast path with its scratch taken as the command takes it, filled with
// NaN first: the kernel must not rely on zeroed scratch. Exactly m*m output
// samples, so that ASan sees any write past them.
Samples fast(const kv::ForwardGrids& g, const kv::FieldIn& in) {
  const kv::ForwardScratchSize size = kv::forward_scratch_size(g, in);
  const kv::cplx nan(kNaN, kNaN);
  Samples kernel(static_cast<size_t>(size.kernel), nan),
      product(static_cast<size_t>(size.product), nan), pack(static_cast<size_t>(size.pack), nan);
  std::vector<double> lines(static_cast<size_t>(size.lines), kNaN);
  Samples out(static_cast<size_t>(g.m) * g.m, kv::cplx(7, 7));
  const kv::ForwardScratch s{kernel.data(), product.data(), size.pack > 0 ? pack.data() : nullptr,
                             lines.data()};
  EXPECT_EQ(kv::forward_fast(g, in, kv::FieldOut{out.data(), g.m}, s), kv::kForwardOk);
  return out;
}

Samples direct(const kv::ForwardGrids& g, const kv::FieldIn& in) {
  Samples out(static_cast<size_t>(g.m) * g.m);
  kv::forward_direct(g, in, kv::FieldOut{out.data(), g.m});
  return out;
}

struct Both {
  Samples direct, fast;
};

Both propagate(const kv::ForwardGrids& g, const Samples& in) {
  const kv::FieldIn f = field_in(g, in.data());
  return Both{direct(g, f), fast(g, f)};
}

// Bit patterns, so that NaN equals NaN and -0 differs from +0.
bool same_bits(const Samples& a, const Samples& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(kv::cplx)) == 0;
}

double part(const Samples& v, size_t s) { return s % 2 ? v[s / 2].imag() : v[s / 2].real(); }

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
    Samples in = random_samples(c.n, seed++);
    if (c.bad == kNaNSample) in[19].imag(kNaN);
    if (c.bad == kInfinities) in[5].real(kInf), in[40].imag(-kInf);
    if (c.bad == kOneInfinity) in[27].real(-kInf);
    const Both r = propagate({c.z, c.new_size, c.m, c.size, 633e-9, c.n}, in);
    double big = 1;
    for (const kv::cplx& v : r.direct)
      big = std::isfinite(v.real()) ? std::max(big, std::fabs(v.real())) : big;
    for (size_t s = 0; s < 2 * r.direct.size(); ++s) {
      const double w = part(r.direct, s);
      const double v = part(r.fast, s);
      if (std::isfinite(w)) {
        ASSERT_NEAR(w, v, 1e-11 * big) << "case " << seed - 1 << " at " << s;
      } else {
        ASSERT_TRUE(std::isnan(w) ? std::isnan(v) : v == w) << "case " << seed - 1 << " at " << s;
      }
      EXPECT_TRUE(std::isnan(v) || (c.z >= 0 && c.bad != kNaNSample));
    }
  }
}

TEST(Forward, NarrowedRealFieldGivesTheSameBitsAsZeroImaginaryParts) {
  // Octave hands over a field whose imaginary parts are all zero as a real
  // array; both paths must give what the complex field with +0 gives, finite
  // or with an infinity (which takes the copying path either way).
  const kv::ForwardGrids grids[] = {
      {0.5, 1e-3, 8, 1e-3, 633e-9, 8}, {2.0, 4e-3, 11, 1e-3, 633e-9, 9}, {0, 3.5, 8, 7, 633e-9, 8}};
  unsigned seed = 40;
  for (const auto& g : grids) {
    for (bool infinity : {false, true}) {
      Samples z = random_samples(g.n, seed++);
      std::vector<double> re(z.size());
      for (size_t k = 0; k < z.size(); ++k) z[k].imag(0.0), re[k] = z[k].real();
      if (infinity) z[3].real(kInf), re[3] = kInf;
      const kv::FieldIn complex = field_in(g, z.data()), narrowed = field_in(g, nullptr, re.data());
      EXPECT_GT(kv::forward_scratch_size(g, narrowed).pack, 0);
      EXPECT_TRUE(same_bits(fast(g, narrowed), fast(g, complex))) << g.n << " " << infinity;
      EXPECT_TRUE(same_bits(direct(g, narrowed), direct(g, complex))) << g.n << " " << infinity;
    }
  }
}

TEST(Forward, ScratchAndArgumentChecks) {
  // Finite complex samples are read in place: no copy. An infinite sample
  // needs the copy, and without it nothing is written.
  const kv::ForwardGrids g{0.5, 1e-3, 9, 1e-3, 633e-9, 300};
  Samples z = random_samples(g.n, 3);
  const kv::ForwardScratchSize size = kv::forward_scratch_size(g, field_in(g, z.data()));
  EXPECT_EQ(size.kernel, 300 * 9);
  EXPECT_EQ(size.product, 300 * 9);
  EXPECT_EQ(size.pack, 0);
  EXPECT_EQ(size.lines, 9);
  z[1000].imag(kInf);
  EXPECT_EQ(kv::forward_scratch_size(g, field_in(g, z.data())).pack, 300 * 256);

  Samples kernel(size.kernel), product(size.product), out(81, kv::cplx(7, 7));
  std::vector<double> lines(9);
  const kv::ForwardScratch s{kernel.data(), product.data(), nullptr, lines.data()};
  EXPECT_EQ(kv::forward_fast(g, field_in(g, z.data()), kv::FieldOut{out.data(), 9}, s),
            kv::kForwardBadArguments);
  // Grids that do not match the fields, and missing scratch, are refused.
  z[1000].imag(0);
  kv::FieldIn wrong = field_in(g, z.data());
  wrong.n = 299;
  EXPECT_EQ(kv::forward_fast(g, wrong, kv::FieldOut{out.data(), 9}, s), kv::kForwardBadArguments);
  EXPECT_EQ(kv::forward_fast(g, field_in(g, z.data()), kv::FieldOut{out.data(), 8}, s),
            kv::kForwardBadArguments);
  const kv::ForwardScratch none{nullptr, product.data(), nullptr, lines.data()};
  EXPECT_EQ(kv::forward_fast(g, field_in(g, z.data()), kv::FieldOut{out.data(), 9}, none),
            kv::kForwardBadArguments);
  for (const kv::cplx& v : out) ASSERT_EQ(v, kv::cplx(7, 7));
  EXPECT_EQ(kv::forward_fast(g, field_in(g, z.data()), kv::FieldOut{out.data(), 9}, s),
            kv::kForwardOk);
  EXPECT_NE(out[40], kv::cplx(7, 7));
}

TEST(Forward, OnAxisIntensityBehindCircularAperture) {
  // A disc of radius a lit by a unit plane wave gives 4 sin^2(pi a^2/(2 lambda z))
  // on the axis, with no paraxial error since both sides are Fresnel
  // integrals. The disc is made of whole pixels and a is taken from their
  // area; what remains is the staircase rim, of order 1e-3 in |U| here.
  const int32_t n = 320;
  const double lambda = 1e-6, size = 4e-3, d = size / (n - 1), r = 150 * d;
  Samples in(static_cast<size_t>(n) * n);
  int64_t count = 0;
  for (int64_t k = 0; k < n; ++k)
    for (int64_t l = 0; l < n; ++l) {
      const double x = (k - n / 2) * d, y = (l - n / 2) * d;
      if (x * x + y * y < r * r) in[static_cast<size_t>(k * n + l)] = 1, ++count;
    }
  const double a2 = count * d * d / M_PI;
  for (double fresnel_number : {1.0, 2.0, 3.0}) {
    const kv::ForwardGrids g{a2 / (lambda * fresnel_number), 1e-4, 9, size, lambda, n};
    const Samples out = fast(g, field_in(g, in.data()));
    EXPECT_NEAR(std::norm(out[40]), 4 * std::pow(std::sin(M_PI * fresnel_number / 2), 2), 1e-2)
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
  for (int k = 0; k < 256; ++k) host::set(f.get(), k, host::cplx(k, -std::sin(k)));
  host::Array z = host::scalar(0), s = host::scalar(7), m = host::scalar(8.9);
  host::Result r = host::call("KVForward", 1, {z.get(), s.get(), m.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  ASSERT_EQ(mxGetM(r[0]), 8u);
  ASSERT_EQ(mxGetN(r[0]), 9u);
  std::vector<double> head_re, head_im;
  for (int k = 64; k < 72; ++k)
    head_re.push_back(host::re(r[0], k)), head_im.push_back(host::im(r[0], k));
  EXPECT_EQ(head_re, (std::vector<double>{7, 1e-6, 8, 0.25, 3, 0, 0, 0}));
  EXPECT_EQ(head_im, std::vector<double>(8, 0.0));
  for (int k = 0; k < 64; ++k) {
    const int from = (k / 8 + 4) * 16 + k % 8 + 4;
    EXPECT_NEAR(host::re(r[0], k), from, 1e-12) << k;
    EXPECT_NEAR(host::im(r[0], k), -std::sin(from), 1e-12) << k;
  }
}

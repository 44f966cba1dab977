// Turbulence: the counter-based generator, the theory of the phase
// structure function, the screens' exact expected structure function and
// real ensembles against that theory, KVTurbScreen's parameters and
// refusals, and KVStructureFunction against a direct sum over pairs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/normal.h"
#include "core/philox.h"
#include "host.h"
#include "turbulence/psd.h"
#include "turbulence/screen.h"
#include "turbulence/structure.h"

using host::Array;
using host::call;

namespace {

constexpr double kPi = 3.141592653589793;

// One screen through the library, as the command makes it.
std::vector<double> screen(const kv::TurbParams& p, int32_t n, double size) {
  std::vector<double> out(static_cast<size_t>(n) * n);
  std::vector<kv::cplx> half(static_cast<size_t>(kv::turb_half_count(n)));
  std::vector<double> basis(static_cast<size_t>(kv::turb_basis_count(n)));
  EXPECT_EQ(kv::turb_screen(p, n, size, out.data(), half.data(), basis.data()), kv::kTurbOk);
  return out;
}

std::vector<double> structure(const std::vector<double>& phase, const std::vector<double>* mask,
                              int32_t n) {
  std::vector<double> d(static_cast<size_t>(n / 2 + 1));
  std::vector<kv::cplx> scratch(static_cast<size_t>(kv::structure_scratch_count(n)));
  EXPECT_EQ(kv::structure_function(phase.data(), mask ? mask->data() : nullptr, n, d.data(),
                                   scratch.data()),
            kv::kTurbOk);
  return d;
}

// The definition, pair by pair.
std::vector<double> direct_structure(const std::vector<double>& phase,
                                     const std::vector<double>* mask, int32_t n) {
  auto in = [&](int64_t k) {
    return std::isfinite(phase[k]) &&
           (mask == nullptr || ((*mask)[k] != 0 && (*mask)[k] == (*mask)[k]));
  };
  std::vector<double> d(static_cast<size_t>(n / 2 + 1));
  for (int64_t s = 0; s <= n / 2; ++s) {
    double sum[2] = {0, 0};
    double cnt[2] = {0, 0};
    for (int64_t i = 0; i < n; ++i)
      for (int64_t j = 0; j < n; ++j) {
        const int64_t a = i * n + j;
        if (i + s < n && in(a) && in((i + s) * n + j)) {
          const double v = phase[(i + s) * n + j] - phase[a];
          sum[0] += v * v;
          cnt[0] += 1;
        }
        if (j + s < n && in(a) && in(a + s)) {
          const double v = phase[a + s] - phase[a];
          sum[1] += v * v;
          cnt[1] += 1;
        }
      }
    if (cnt[0] > 0 && cnt[1] > 0) {
      d[s] = 0.5 * (sum[0] / cnt[0] + sum[1] / cnt[1]);
    } else if (cnt[0] > 0 || cnt[1] > 0) {
      d[s] = cnt[0] > 0 ? sum[0] / cnt[0] : sum[1] / cnt[1];
    } else {
      d[s] = NAN;
    }
  }
  return d;
}

// The turbulence models of the accuracy tests, for a grid of side 1.
struct Model {
  const char* name;
  double L0;
  double l0;
  int screens;  // enough for a standard error of about 1 % at N/4 samples
};
const Model kModels[] = {
    {"Kolmogorov", INFINITY, 0.0, 3000},
    {"von Karman, L0 = size", 1.0, 0.0, 800},
    {"modified von Karman, L0 = size, l0 = 3 samples", 1.0, 3.0 / 64, 800},
};

// D(r) by Simpson's rule in ln f, with glibc's j0: independent of the
// library's quadrature and Bessel function.
double reference_theory(const kv::TurbSpectrum& s, double r) {
  const int steps = 200000;
  const double a = std::log(1e-12 / r);
  const double b = std::log(1e4 / r);
  const double h = (b - a) / steps;
  double sum = 0.0;
  for (int k = 0; k <= steps; ++k) {
    const double f = std::exp(a + k * h);
    const double u = 2 * kPi * f * r;
    const double omj = u < 1e-3 ? u * u / 4 - u * u * u * u / 64 : 1.0 - j0(u);
    const double g = s.psd(f * f) * omj * f * f;
    sum += g * ((k == 0 || k == steps) ? 1 : (k % 2 == 1 ? 4 : 2));
  }
  return 4 * kPi * sum * h / 3;
}

}  // namespace

TEST(Philox, RandomKnownAnswers) {
  // Random123's kat_vectors for philox4x32 10: counter, key, result.
  const struct {
    uint32_t ctr[4];
    uint32_t key[2];
    uint32_t out[4];
  } kat[] = {
      {{0, 0, 0, 0}, {0, 0}, {0x6627e8d5, 0xe169c58d, 0xbc57ac4c, 0x9b00dbd8}},
      {{0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff},
       {0xffffffff, 0xffffffff},
       {0x408f276d, 0x41c83b0e, 0xa20bc7c6, 0x6d5451fd}},
      {{0x243f6a88, 0x85a308d3, 0x13198a2e, 0x03707344},
       {0xa4093822, 0x299f31d0},
       {0xd16cfe09, 0x94fdcceb, 0x5001e420, 0x24126ea1}},
  };
  for (const auto& v : kat) {
    kv::Philox4x32 c{{v.ctr[0], v.ctr[1], v.ctr[2], v.ctr[3]}};
    const kv::Philox4x32 r = kv::philox4x32_10(c, v.key[0], v.key[1]);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(r.v[k], v.out[k]) << k;
  }
  // Eight at once: the same blocks.
  uint32_t lo[8], hi[8], r[4][8];
  for (int k = 0; k < 8; ++k) {
    lo[k] = 0xfffffffcu + k;
    hi[k] = 7 + (k >= 4);
  }
  kv::philox4x32_10_x8(lo, hi, 3, 9, 11, 13, r[0], r[1], r[2], r[3]);
  for (int k = 0; k < 8; ++k) {
    const kv::Philox4x32 one = kv::philox4x32_10(kv::Philox4x32{{lo[k], hi[k], 3, 9}}, 11, 13);
    for (int w = 0; w < 4; ++w) EXPECT_EQ(r[w][k], one.v[w]);
  }
}

TEST(Philox, NormalPairsHaveTheGaussianDistribution) {
  // 400000 deviates: the moments, the distribution function at points
  // through the core, the wedges and the tail beyond the base layer (3.654),
  // and the correlation of the two of a pair, each within 5 standard errors.
  const int pairs = 200000;
  std::vector<double> v(2 * pairs);
  kv::philox_normal_pairs(12345, 678, 0, 3, pairs, v.data());
  const double cut[] = {-3.8, -2.0, -1.0, -0.4, 0.0, 0.3, 1.0, 2.5, 3.7};
  const double cdf[] = {
      7.234804392511999e-05, 0.022750131948179, 0.158655253931457, 0.344578258389676, 0.5,
      0.617911422188953,     0.841344746068543, 0.993790334674224, 0.999892197636873};
  double m1 = 0, m2 = 0, m4 = 0, ab = 0, below[9] = {};
  for (int k = 0; k < 2 * pairs; ++k) {
    const double x = v[k];
    m1 += x;
    m2 += x * x;
    m4 += x * x * x * x;
    for (int c = 0; c < 9; ++c) below[c] += x < cut[c];
  }
  for (int k = 0; k < pairs; ++k) ab += v[2 * k] * v[2 * k + 1];
  const double n = 2.0 * pairs;
  EXPECT_NEAR(m1 / n, 0.0, 5 * std::sqrt(1 / n));
  EXPECT_NEAR(m2 / n, 1.0, 5 * std::sqrt(2 / n));
  EXPECT_NEAR(m4 / n, 3.0, 5 * std::sqrt(96 / n));
  EXPECT_NEAR(ab / pairs, 0.0, 5 * std::sqrt(1.0 / pairs));
  for (int c = 0; c < 9; ++c)
    EXPECT_NEAR(below[c] / n, cdf[c], 5 * std::sqrt(cdf[c] * (1 - cdf[c]) / n)) << cut[c];
  // One at a time gives the same numbers as eight at a time, wedges and
  // tails included; a pure function of key and counter.
  for (int k = 0; k < 1003; ++k) {
    const kv::NormalPair p = kv::philox_normal_pair(12345, 678, static_cast<uint64_t>(k), 3);
    ASSERT_EQ(p.a, v[2 * k]) << k;
    ASSERT_EQ(p.b, v[2 * k + 1]) << k;
  }
  std::vector<double> w(2 * 13);
  kv::philox_normal_pairs(12345, 678, 500, 3, 13, w.data());
  for (int k = 0; k < 26; ++k) EXPECT_EQ(w[k], v[1000 + k]);
  const kv::NormalPair a = kv::philox_normal_pair(1, 2, 99, 0);
  EXPECT_NE(a.a, kv::philox_normal_pair(2, 2, 99, 0).a);
  EXPECT_NE(a.a, kv::philox_normal_pair(1, 2, 99, 1).a);
  EXPECT_NE(a.a, kv::philox_normal_pair(1, 2, 100, 0).a);
}

TEST(TurbTheory, BesselAndStructureFunctionTheory) {
  for (double u = 0.0; u < 80.0; u += 0.00371) {
    const double ref =
        u < 0.05 ? u * u / 4 - std::pow(u, 4) / 64 + std::pow(u, 6) / 2304 - std::pow(u, 8) / 147456
                 : 1.0 - j0(u);
    EXPECT_NEAR(kv::one_minus_j0(u), ref, 1e-12 * (u < 0.05 ? ref : 1.0)) << u;
  }
  // Kolmogorov: 6.8839 r^(5/3) (the 0.022896 of the spectrum gives 6.88400).
  const kv::TurbSpectrum kol = kv::turb_spectrum(INFINITY, 0.0);
  for (double r : {1e-4, 0.01, 1.0, 37.0}) {
    EXPECT_NEAR(kv::turb_structure_theory(kol, r) / std::pow(r, 5.0 / 3.0), 6.8839, 3e-4) << r;
  }
  // Von Karman, in closed form with K_(5/6):
  //   D = 4 pi c [(3/5) f0^(-5/3) - (pi r/f0)^(5/6) K_(5/6)(2 pi f0 r)/Gamma(11/6)].
  for (double L0 : {0.3, 2.0, 50.0}) {
    const kv::TurbSpectrum s = kv::turb_spectrum(L0, 0.0);
    const double f0 = 1 / L0;
    for (double r : {0.01, 0.2, 1.0, 4.0}) {
      const double exact =
          4 * kPi * kv::kTurbPsdConstant *
          (0.6 * std::pow(f0, -5.0 / 3) - std::pow(kPi * r / f0, 5.0 / 6) *
                                              std::cyl_bessel_k(5.0 / 6, 2 * kPi * f0 * r) /
                                              std::tgamma(11.0 / 6));
      EXPECT_NEAR(kv::turb_structure_theory(s, r) / exact, 1.0, 1e-6) << L0 << " " << r;
    }
  }
  // With an inner scale, against an independent quadrature.
  const kv::TurbSpectrum mvk = kv::turb_spectrum(1.0, 0.03);
  for (double r : {0.005, 0.03, 0.25}) {
    EXPECT_NEAR(kv::turb_structure_theory(mvk, r) / reference_theory(mvk, r), 1.0, 1e-6) << r;
  }
  EXPECT_EQ(kv::turb_structure_theory(kol, 0.0), 0.0);
}

TEST(TurbScreen, ExpectedStructureFunctionMatchesTheory) {
  // The exact expectation of the construction, without sampling noise:
  // within 1 % of the theory from 2 to N/4 samples, for every model and
  // grid here (and 0 at 0).
  struct Grid {
    int32_t n;
    double size;
    double r0;
  };
  const Grid grids[] = {{64, 1.0, 0.05}, {128, 1.0, 0.05}, {256, 2.0, 0.1}, {1024, 2.0, 0.01}};
  const double L0s[] = {INFINITY, 20.0, 2.0, 0.5};
  for (const Grid& g : grids)
    for (double L0 : L0s)
      for (double l0 : {0.0, 4.0 * g.size / g.n}) {
        kv::TurbParams p;
        p.r0 = g.r0;
        p.L0 = L0;
        p.l0 = l0;
        std::vector<double> d(static_cast<size_t>(g.n / 4 + 1));
        kv::turb_expected_structure(p, g.n, g.size, d.data(), g.n / 4 + 1);
        EXPECT_EQ(d[0], 0.0);
        const kv::TurbSpectrum s = kv::turb_spectrum(L0, l0);
        double worst = 0;
        for (int64_t k = 2; k <= g.n / 4; ++k) {
          const double r = static_cast<double>(k) * g.size / g.n;
          const double theory = kv::turb_structure_theory(s, r) * std::pow(g.r0, -5.0 / 3);
          worst = std::fmax(worst, std::fabs(d[static_cast<size_t>(k)] / theory - 1));
        }
        EXPECT_LT(worst, 0.01) << "N=" << g.n << " L0=" << L0 << " l0=" << l0;
      }
}

TEST(TurbScreen, EnsemblesMatchTheoryAndTheirExpectation) {
  // Screens of 64 x 64: the mean structure function within 5 % of the
  // theory from 2 to 16 samples, and within 4 standard errors of the exact
  // expectation (the standard error, from the ensemble, is printed: about
  // 1 % at 16 samples, most where the few low-frequency modes dominate).
  const int32_t n = 64;
  const double size = 1.0;
  const double r0 = 0.05;
  for (const Model& m : kModels) {
    const int screens = m.screens;
    kv::TurbParams p;
    p.r0 = r0;
    p.L0 = m.L0;
    p.l0 = m.l0;
    std::vector<double> sum(static_cast<size_t>(n / 2 + 1)), sum2(sum.size());
    for (int s = 0; s < screens; ++s) {
      p.seed = 1000 + s;
      const std::vector<double> d = structure(screen(p, n, size), nullptr, n);
      for (size_t k = 0; k < d.size(); ++k) {
        sum[k] += d[k];
        sum2[k] += d[k] * d[k];
      }
    }
    std::vector<double> expected(sum.size());
    kv::turb_expected_structure(p, n, size, expected.data(), static_cast<int64_t>(expected.size()));
    const kv::TurbSpectrum model = kv::turb_spectrum(m.L0, m.l0);
    double worst = 0, worst_se = 0;
    for (int64_t k = 2; k <= n / 4; ++k) {
      const double mean = sum[k] / screens;
      const double se = std::sqrt((sum2[k] / screens - mean * mean) / (screens - 1));
      const double r = static_cast<double>(k) * size / n;
      const double theory = kv::turb_structure_theory(model, r) * std::pow(r0, -5.0 / 3);
      EXPECT_NEAR(mean / theory, 1.0, 0.05) << m.name << " k=" << k;
      EXPECT_NEAR(mean, expected[k], 4 * se) << m.name << " k=" << k;
      worst = std::fmax(worst, std::fabs(mean / theory - 1));
      worst_se = std::fmax(worst_se, se / theory);
    }
    std::printf(
        "%s: %d screens, largest deviation from theory %.2f %%, standard error <= %.2f %%\n",
        m.name, screens, 100 * worst, 100 * worst_se);
  }
}

TEST(TurbScreen, SeedsScaleWavelengthAndGrid) {
  Array f = host::field(64, 0.5, 1e-6);
  auto run = [&](double seed, double r0, double L0, double l0, const mxArray* field) {
    Array s = host::scalar(seed), a = host::scalar(r0), b = host::scalar(L0), c = host::scalar(l0);
    host::Result r = call("KVTurbScreen", 1, {s.get(), a.get(), b.get(), c.get(), field});
    EXPECT_FALSE(r.failed) << r.error;
    std::vector<double> v(host::real_data(r[0]), host::real_data(r[0]) + 64 * 64);
    EXPECT_EQ(mxGetM(r[0]), 64u);
    EXPECT_EQ(mxGetN(r[0]), 64u);
    EXPECT_FALSE(mxIsComplex(r[0]));
    return v;
  };
  const std::vector<double> a = run(5, 0.02, 10, 0.004, f.get());
  // Bit for bit the same for the same seed; seeds truncated toward zero.
  EXPECT_EQ(a, run(5, 0.02, 10, 0.004, f.get()));
  EXPECT_EQ(a, run(5.9, 0.02, 10, 0.004, f.get()));
  EXPECT_EQ(run(-3.9, 0.02, 10, 0.004, f.get()), run(-3, 0.02, 10, 0.004, f.get()));
  EXPECT_EQ(run(NAN, 0.02, 10, 0.004, f.get()), run(-2147483648.0, 0.02, 10, 0.004, f.get()));
  EXPECT_EQ(run(1e10, 0.02, 10, 0.004, f.get()), run(-2147483648.0, 0.02, 10, 0.004, f.get()));
  // The wavelength and the curvature play no part.
  Array g = host::field(64, 0.5, 633e-9, 3.5);
  EXPECT_EQ(a, run(5, 0.02, 10, 0.004, g.get()));
  // r0 only scales: r0/2 gives 2^(5/6) times the screen.
  const std::vector<double> half = run(5, 0.01, 10, 0.004, f.get());
  double top = 0;
  for (double v : a) top = std::fmax(top, std::fabs(v));
  for (size_t k = 0; k < a.size(); ++k)
    ASSERT_NEAR(half[k], std::pow(2.0, 5.0 / 6) * a[k], 1e-13 * top) << k;
  // r0 = Inf: zeros.
  for (double v : run(5, INFINITY, 10, 0.004, f.get())) ASSERT_EQ(v, 0.0);
  // No piston: the mean over the grid is 0, for Kolmogorov turbulence too,
  // whose lowest subharmonics have amplitudes of thousands of radians.
  for (const std::vector<double>& p : {a, run(8, 0.02, INFINITY, 0, f.get())}) {
    double sum = 0, big = 0;
    for (double v : p) {
      sum += v;
      big = std::fmax(big, std::fabs(v));
    }
    EXPECT_LT(std::fabs(sum / p.size()), 1e-12 * big);
    EXPECT_LT(big, 200.0);
  }
  // Other seeds: uncorrelated increments (4096 samples: |rho| < 5/64).
  const std::vector<double> b = run(6, 0.02, 10, 0.004, f.get());
  double sab = 0, saa = 0, sbb = 0;
  for (int64_t i = 0; i + 1 < 64; ++i)
    for (int64_t j = 0; j < 64; ++j) {
      const double da = a[(i + 1) * 64 + j] - a[i * 64 + j];
      const double db = b[(i + 1) * 64 + j] - b[i * 64 + j];
      sab += da * db;
      saa += da * da;
      sbb += db * db;
    }
  EXPECT_LT(std::fabs(sab / std::sqrt(saa * sbb)), 5.0 / 64);
  // A grid size that is not positive: NaN throughout.
  Array bad = host::field(8, -1.0);
  Array s = host::scalar(1), r0 = host::scalar(0.1), L0 = host::scalar(INFINITY),
        l0 = host::scalar(0);
  host::Result r = call("KVTurbScreen", 1, {s.get(), r0.get(), L0.get(), l0.get(), bad.get()});
  ASSERT_FALSE(r.failed);
  EXPECT_TRUE(std::isnan(host::real_data(r[0])[0]));
}

TEST(TurbScreen, Refusals) {
  Array f = host::field(16);
  Array one = host::scalar(1), inf = host::scalar(INFINITY), zero = host::scalar(0);
  Array neg = host::scalar(-1), nan = host::scalar(NAN), cx = host::complex(1, 1);
  struct Case {
    std::vector<const mxArray*> args;
    int nlhs;
    const char* msg;
    const char* id;
  } cases[] = {
      {{one.get(), one.get(), one.get(), f.get()},
       1,
       "expects five input arguments",
       "Korvane:argCount"},
      {{one.get(), one.get(), one.get(), zero.get(), f.get()},
       2,
       "expects one output argument",
       "Korvane:argCount"},
      {{cx.get(), one.get(), one.get(), zero.get(), f.get()},
       1,
       "Input must be real scalar.",
       "Korvane:notScalar"},
      {{one.get(), one.get(), one.get(), cx.get(), f.get()},
       1,
       "Input must be real scalar.",
       "Korvane:notScalar"},
      {{one.get(), one.get(), one.get(), zero.get(), one.get()},
       1,
       "Input field is not a Korvane field.",
       "Korvane:notField"},
      {{one.get(), zero.get(), one.get(), zero.get(), f.get()},
       1,
       "The Fried parameter r0 must be positive.",
       "Korvane:badValue"},
      {{one.get(), neg.get(), one.get(), zero.get(), f.get()},
       1,
       "The Fried parameter r0 must be positive.",
       "Korvane:badValue"},
      {{one.get(), nan.get(), one.get(), zero.get(), f.get()},
       1,
       "The Fried parameter r0 must be positive.",
       "Korvane:badValue"},
      {{one.get(), one.get(), zero.get(), zero.get(), f.get()},
       1,
       "The outer scale L0 must be positive (Inf: no outer scale).",
       "Korvane:badValue"},
      {{one.get(), one.get(), nan.get(), zero.get(), f.get()},
       1,
       "The outer scale L0 must be positive (Inf: no outer scale).",
       "Korvane:badValue"},
      {{one.get(), one.get(), one.get(), neg.get(), f.get()},
       1,
       "The inner scale l0 must be zero or positive.",
       "Korvane:badValue"},
      {{one.get(), one.get(), one.get(), nan.get(), f.get()},
       1,
       "The inner scale l0 must be zero or positive.",
       "Korvane:badValue"},
      {{one.get(), one.get(), one.get(), inf.get(), f.get()},
       1,
       "The inner scale l0 must be zero or positive.",
       "Korvane:badValue"},
  };
  for (const Case& c : cases) {
    host::Result r = call("KVTurbScreen", c.nlhs, c.args);
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.error, c.msg);
    EXPECT_EQ(r.id, c.id) << c.msg;
  }
  host::Result banner = call("KVTurbScreen", 1, {});
  EXPECT_FALSE(banner.failed);
  EXPECT_NE(banner.printed.find("KVTurbScreen"), std::string::npos);
}

TEST(StructureFunction, AgreesWithTheSumOverPairs) {
  // Random values on an odd and an even grid, with and without a mask,
  // with NaN and infinite samples and garbage outside the mask.
  for (int32_t n : {9, 16}) {
    std::vector<double> phase(static_cast<size_t>(n) * n), mask(phase.size());
    uint32_t state = 7;
    for (size_t k = 0; k < phase.size(); ++k) {
      state = state * 1103515245u + 12345u;
      phase[k] = 10.0 + static_cast<double>(state >> 8) / 16777216.0;
      mask[k] = (state >> 4) % 5 != 0;
    }
    phase[3] = NAN;
    phase[20] = INFINITY;
    mask[31] = NAN;
    const std::vector<double> d = structure(phase, nullptr, n);
    const std::vector<double> e = direct_structure(phase, nullptr, n);
    mask[30] = 0;
    phase[30] = 1e300;
    const std::vector<double> dm = structure(phase, &mask, n);
    const std::vector<double> em = direct_structure(phase, &mask, n);
    for (size_t k = 0; k < d.size(); ++k) {
      EXPECT_NEAR(d[k], e[k], 1e-12) << n << " " << k;
      EXPECT_NEAR(dm[k], em[k], 1e-12) << n << " " << k;
    }
    EXPECT_EQ(d[0], 0.0);
  }
}

TEST(StructureFunction, RampsMasksAndShapes) {
  const int n = 64;
  const double size = 0.1;
  const double dx = size / n;
  Array f = host::field(n, size, 1e-6);
  Array ramp = host::real(n, n);
  Array tilt_y = host::real(n, n);
  const double a = 3.7;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      host::real_data(ramp.get())[i * n + j] = a * (i - n / 2) * dx + 0.25;  // phi = a x
      host::real_data(tilt_y.get())[i * n + j] = -a * (j - n / 2) * dx;      // phi = -a y
    }
  host::Result r = call("KVStructureFunction", 2, {ramp.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  ASSERT_EQ(mxGetM(r[0]), static_cast<size_t>(n / 2 + 1));
  ASSERT_EQ(mxGetN(r[0]), 1u);
  ASSERT_EQ(mxGetM(r[1]), static_cast<size_t>(n / 2 + 1));
  for (int k = 0; k <= n / 2; ++k) {
    const double rk = host::real_data(r[1])[k];
    EXPECT_EQ(rk, k * dx);
    const double want = a * a * rk * rk / 2;
    EXPECT_NEAR(host::real_data(r[0])[k], want, 1e-12 * (want + 1e-300)) << k;
  }
  host::Result y = call("KVStructureFunction", 1, {tilt_y.get(), f.get()});
  ASSERT_FALSE(y.failed);
  ASSERT_EQ(y.out.size(), 1u);
  for (int k = 0; k <= n / 2; ++k)
    EXPECT_NEAR(host::real_data(y[0])[k], host::real_data(r[0])[k], 1e-12 * a * a);

  // A pupil: only pairs inside count, whatever lies outside; a logical mask
  // and the same as doubles agree, and with the ramp D stays a^2 r^2/2 as
  // long as both directions have pairs.
  Array pupil = host::logical(n, n);
  Array pupil_d = host::real(n, n);
  Array garbage = host::real(n, n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const bool in = (i - 32) * (i - 32) + (j - 32) * (j - 32) <= 20 * 20;
      static_cast<mxLogical*>(mxGetData(pupil.get()))[i * n + j] = in;
      host::real_data(pupil_d.get())[i * n + j] = in ? 2.0 : 0.0;
      host::real_data(garbage.get())[i * n + j] =
          in ? host::real_data(ramp.get())[i * n + j] : (j % 2 ? NAN : 1e6);
    }
  host::Result m = call("KVStructureFunction", 1, {garbage.get(), f.get(), pupil.get()});
  host::Result md = call("KVStructureFunction", 1, {garbage.get(), f.get(), pupil_d.get()});
  ASSERT_FALSE(m.failed) << m.error;
  ASSERT_FALSE(md.failed) << md.error;
  for (int k = 0; k <= n / 2; ++k) {
    const double rk = k * dx;
    const double got = host::real_data(m[0])[k];
    EXPECT_EQ(got, host::real_data(md[0])[k]);
    EXPECT_NEAR(got, a * a * rk * rk / 2, 1e-10 * a * a) << k;
  }
  // No sample in the mask: NaN throughout.
  Array none = host::logical(n, n);
  host::Result e = call("KVStructureFunction", 1, {ramp.get(), f.get(), none.get()});
  ASSERT_FALSE(e.failed);
  EXPECT_TRUE(std::isnan(host::real_data(e[0])[0]));
  EXPECT_TRUE(std::isnan(host::real_data(e[0])[n / 2]));
}

TEST(StructureFunction, Refusals) {
  Array f = host::field(8);
  Array p = host::real(8, 8);
  Array small = host::real(7, 7);
  Array cx = host::complex(8, 8);
  Array text = host::string("abcdefgh");
  Array cells = host::cell(8, 8);
  struct Case {
    std::vector<const mxArray*> args;
    int nlhs;
    const char* msg;
  } cases[] = {
      {{p.get()}, 1, "expects two or three input arguments"},
      {{p.get(), f.get(), p.get(), p.get()}, 1, "expects two or three input arguments"},
      {{p.get(), f.get()}, 0, "expects one or two output arguments"},
      {{p.get(), f.get()}, 3, "expects one or two output arguments"},
      {{p.get(), p.get()}, 1, "Input field is not a Korvane field."},
      {{cx.get(), f.get()}, 1, "Input phase array must have real elements."},
      {{small.get(), f.get()},
       1,
       "Input phase array must be square and must have equal dimensions as the input field."},
      {{cells.get(), f.get()}, 1, "Input phase array must be a numeric or logical array."},
      {{text.get(), f.get()},
       1,
       "Input phase array must be square and must have equal dimensions as the input field."},
      {{p.get(), f.get(), small.get()},
       1,
       "Input mask array must be square and must have equal dimensions as the input field."},
      {{p.get(), f.get(), cx.get()}, 1, "Input mask array must have real elements."},
  };
  for (const Case& c : cases) {
    host::Result r = call("KVStructureFunction", c.nlhs, c.args);
    EXPECT_TRUE(r.failed) << c.msg;
    EXPECT_EQ(r.error, c.msg);
  }
}

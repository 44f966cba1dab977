// Rectangle, Gaussian and super-Gaussian masks: their shells through the test
// host, and the edge behaviour of the computations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "apertures/gauss.h"
#include "apertures/rect.h"
#include "apertures/supergauss.h"
#include "core/field.h"
#include "host.h"

using host::Array;
using host::call;

namespace {

// Each banner: its rule, its description line and its call form.
struct Banner {
  const char* name;
  int rule;
  const char* what;
  const char* usage;
} const kBanners[] = {
    {"KVRectAperture", 100, "apertures the field with a rectangular aperture.",
     "Fout=KVRectAperture(w,h,x_shift,y_shift,Phi,Fin);"},
    {"KVRectScreen", 100, "screens the field with a rectangular screen.",
     "Fout=KVRectScreen(w,h,x_shift,y_shift,Phi,Fin);"},
    {"KVGaussAperture", 100, "apertures the field with a Gaussian aperture.",
     "Fout=KVGaussAperture(w,x_shift,y_shift,R,Fin);"},
    {"KVGaussScreen", 100, "screens the field with a Gaussian screen.",
     "Fout=KVGaussScreen(w,x_shift,y_shift,T,Fin);"},
    {"KVSuperGaussAperture", 100,
     "apertures the field with a Super-Gaussian aperture.\n\tFout=Sqrt(R)*Fin*exp{-1/2*(r/w)^2n}",
     "Fout=KVSuperGaussAperture(w,n,x_shift,y_shift,R,Fin);"},
    {"KVSuperGaussScreen", 100,
     "screens the field with a Super-Gaussian screen.\n\tFout=Fin*Sqrt[1-(1-T)*exp{-(r/w)^2n}]",
     "Fout=KVSuperGaussScreen(w,n,x_shift,y_shift,T,Fin);"},
};

// The frame every banner shares, around its description and call form.
void expect_banner(const std::string& printed, const Banner& b) {
  const std::string rule(static_cast<size_t>(b.rule), '*');
  const std::string head = rule + "\n\n\tKorvane for Matlab Optical Toolbox\n\n\t" + b.name + " " +
                           b.what + "\n\n\tUSAGE:\n\t" + b.usage + "\n\n\twith:\n\t";
  EXPECT_EQ(printed.substr(0, head.size()), head) << b.name;
  const std::string tail = "\n\n" + rule + "\n\n";
  ASSERT_GE(printed.size(), tail.size());
  EXPECT_EQ(printed.substr(printed.size() - tail.size()), tail) << b.name;
}

// A field of dimension n on a grid of spacing 1 (size = n), samples that
// differ from each other and from 1, so that copies and products show.
struct Grid {
  int32_t n;
  std::vector<double> re, im, ore, oim;
  explicit Grid(int32_t dim) : n(dim) {
    const size_t nn = static_cast<size_t>(dim) * static_cast<size_t>(dim);
    re.resize(nn);
    im.resize(nn);
    ore.assign(nn, -7.0);
    oim.assign(nn, -7.0);
    for (size_t k = 0; k < nn; ++k) {
      re[k] = 1.0 + 0.01 * static_cast<double>(k);
      im[k] = -0.5 + 0.003 * static_cast<double>(k);
    }
  }
  kv::FieldIn in() const {
    kv::FieldIn f{re.data(), im.data(), n, {}};
    f.h.size = n;
    f.h.lambda = 1e-6;
    return f;
  }
  kv::FieldOut out() { return kv::FieldOut{ore.data(), oim.data(), n}; }
  // Sample index of grid point (x, y), both whole numbers on the unit grid.
  size_t at(int x, int y) const { return static_cast<size_t>((x + n / 2) * n + (y + n / 2)); }
  bool passed(size_t k) const { return ore[k] == re[k] && oim[k] == im[k]; }
  bool blanked(size_t k) const { return ore[k] == 0.0 && oim[k] == 0.0; }
  int count_passed() const {
    int c = 0;
    for (size_t k = 0; k < re.size(); ++k) c += passed(k);
    return c;
  }
};

void rect(Grid& g, double w, double h, double xs, double ys, double phi, kv::Keep keep) {
  kv::rect_mask(w, h, xs, ys, phi, g.in(), g.out(), keep);
}

}  // namespace

TEST(MaskCommands, BannersAndCounts) {
  Array f = host::field(8);
  Array s = host::scalar(1);
  for (const Banner& b : kBanners) {
    host::Result none = call(b.name, 1, {});
    EXPECT_FALSE(none.failed) << b.name;
    EXPECT_EQ(none.out[0], nullptr) << b.name;
    expect_banner(none.printed, b);

    const bool six = std::string(b.name).find("Rect") != std::string::npos ||
                     std::string(b.name).find("Super") != std::string::npos;
    std::vector<const mxArray*> args(six ? 5 : 4, s.get());
    args.push_back(f.get());
    host::Result few = call(b.name, 1, std::vector<const mxArray*>(args.begin() + 1, args.end()));
    EXPECT_EQ(few.error, six ? "expects six input arguments" : "expects five input arguments");
    EXPECT_EQ(few.printed, none.printed);
    host::Result two = call(b.name, 2, args);
    EXPECT_EQ(two.error, "expects one output argument") << b.name;
    EXPECT_EQ(two.printed, none.printed);

    // Every scalar position takes the real-scalar test, before the field's.
    Array cplx = host::complex(1, 1);
    Array notfield = host::real(2, 2);
    for (size_t pos = 0; pos + 1 < args.size(); ++pos) {
      std::vector<const mxArray*> bad = args;
      bad[pos] = cplx.get();
      bad.back() = notfield.get();
      EXPECT_EQ(call(b.name, 1, bad).error, "Input must be real scalar.") << b.name << pos;
    }
    args.back() = notfield.get();
    EXPECT_EQ(call(b.name, 1, args).error, "Input field is not a Korvane field.") << b.name;
  }
}

TEST(RectMask, EdgeSamplesPassBothCommands) {
  Grid a(8), s(8);
  // Blanked samples are overwritten, not multiplied.
  a.re[a.at(3, 3)] = INFINITY;
  a.im[a.at(3, 3)] = NAN;
  // hw = 2, hh = 1: x = +-2 and y = +-1 are edges.
  rect(a, 4, 2, 0, 0, 0, kv::Keep::Inside);
  rect(s, 4, 2, 0, 0, 0, kv::Keep::Outside);
  for (size_t k : {a.at(2, 0), a.at(-2, 1), a.at(0, -1), a.at(2, 1)}) {
    EXPECT_TRUE(a.passed(k)) << k;
    EXPECT_TRUE(s.passed(k)) << k;
  }
  for (size_t k : {a.at(1, 0), a.at(-1, 0), a.at(0, 0)}) {
    EXPECT_TRUE(a.passed(k));
    EXPECT_TRUE(s.blanked(k));
  }
  for (size_t k : {a.at(3, 0), a.at(0, 2), a.at(-3, -2), a.at(3, 3)}) {
    EXPECT_TRUE(a.blanked(k));
    EXPECT_TRUE(s.passed(k));
  }
  EXPECT_EQ(a.count_passed(), 15);
  EXPECT_EQ(s.count_passed(), 64 - 3);
}

TEST(RectMask, FullTurnIsNotZero) {
  // Phi = 360 rotates by -6.2831854 rad: sin is about -9.3e-8, enough to move
  // edge samples to the other side.
  Grid a0(8), a360(8), s0(8), s360(8);
  rect(a0, 4, 2, 0, 0, 0, kv::Keep::Inside);
  rect(a360, 4, 2, 0, 0, 360, kv::Keep::Inside);
  rect(s0, 4, 2, 0, 0, 0, kv::Keep::Outside);
  rect(s360, 4, 2, 0, 0, 360, kv::Keep::Outside);
  const size_t corner = a0.at(2, 1);  // v = 1 + 1.9e-7 after the turn
  EXPECT_TRUE(a0.passed(corner));
  EXPECT_TRUE(a360.blanked(corner));
  const size_t top = s0.at(0, 1);  // v = cos(theta) < 1, u = sin(theta) after the turn
  EXPECT_TRUE(s0.passed(top));
  EXPECT_TRUE(s360.blanked(top));
  // Away from the edges the two agree.
  EXPECT_TRUE(a360.passed(a0.at(1, 0)));
  EXPECT_TRUE(a360.blanked(a0.at(3, 0)));
  // -0 compares equal to 0 and skips the rotation too.
  Grid m0(8);
  rect(m0, 4, 2, 0, 0, -0.0, kv::Keep::Inside);
  EXPECT_EQ(m0.ore, a0.ore);
}

TEST(RectMask, QuarterTurnSwapsExtentsAndShiftComesFirst) {
  Grid g0(8), g90(8), sh(8);
  rect(g0, 4.5, 2.5, 0, 0, 0, kv::Keep::Inside);
  rect(g90, 4.5, 2.5, 0, 0, 90, kv::Keep::Inside);
  EXPECT_EQ(g0.count_passed(), 15);
  EXPECT_EQ(g90.count_passed(), 15);
  EXPECT_TRUE(g0.passed(g0.at(2, 0)));
  EXPECT_TRUE(g90.blanked(g0.at(2, 0)));
  EXPECT_TRUE(g0.blanked(g0.at(0, 2)));
  EXPECT_TRUE(g90.passed(g0.at(0, 2)));
  // Rotation about the shifted centre: the same rectangle, moved by (1, -1).
  rect(sh, 4.5, 2.5, 1, -1, 90, kv::Keep::Inside);
  EXPECT_EQ(sh.count_passed(), 15);
  EXPECT_TRUE(sh.passed(sh.at(1, 1)));
  EXPECT_TRUE(sh.passed(sh.at(2, -3)));
  EXPECT_TRUE(sh.blanked(sh.at(3, -1)));
}

TEST(RectMask, DegenerateAndNaNParameters) {
  Grid a(8), s(8);
  rect(a, 0, 2, 0, 0, 0, kv::Keep::Inside);  // only u exactly 0 survives
  rect(s, 0, 2, 0, 0, 0, kv::Keep::Outside);
  EXPECT_EQ(a.count_passed(), 3);
  EXPECT_EQ(s.count_passed(), 64);
  rect(a, -4, 2, 0, 0, 0, kv::Keep::Inside);
  rect(s, 4, -2, 0, 0, 30, kv::Keep::Outside);
  EXPECT_EQ(a.count_passed(), 0);
  EXPECT_EQ(s.count_passed(), 64);
  // NaN: every comparison it enters is false. A NaN angle makes u and v NaN.
  rect(a, NAN, 2, 0, 0, 0, kv::Keep::Inside);  // the |v| test still blanks
  EXPECT_EQ(a.count_passed(), 8 * 3);
  rect(a, 4, 2, 0, 0, NAN, kv::Keep::Inside);
  rect(s, 4, 2, 0, 0, NAN, kv::Keep::Outside);
  EXPECT_EQ(a.count_passed(), 64);
  EXPECT_EQ(s.count_passed(), 64);
  // Off the grid.
  rect(a, 1, 1, 100, 0, 0, kv::Keep::Inside);
  rect(s, 1, 1, 100, 0, 0, kv::Keep::Outside);
  EXPECT_EQ(a.count_passed(), 0);
  EXPECT_EQ(s.count_passed(), 64);
}

TEST(GaussMask, Profiles) {
  Grid a(8), s(8);
  kv::gauss_mask(2, 0, 0, 1, a.in(), a.out(), kv::Keep::Inside);
  const size_t at_w = a.at(2, 0);
  EXPECT_DOUBLE_EQ(a.ore[at_w] / a.re[at_w], std::exp(-0.5));
  EXPECT_DOUBLE_EQ(a.oim[at_w] / a.im[at_w], std::exp(-0.5));
  EXPECT_TRUE(a.passed(a.at(0, 0)));

  // Centre reflection scales the amplitude by its root; shifted centre.
  kv::gauss_mask(2, 1, -1, 0.25, a.in(), a.out(), kv::Keep::Inside);
  EXPECT_DOUBLE_EQ(a.ore[a.at(1, -1)], 0.5 * a.re[a.at(1, -1)]);
  EXPECT_DOUBLE_EQ(a.ore[a.at(1, 1)], 0.5 * std::exp(-0.5) * a.re[a.at(1, 1)]);

  kv::gauss_mask(2, 0, 0, 1, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_EQ(s.count_passed(), 64);
  kv::gauss_mask(2, 0, 0, 0, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_EQ(s.ore[s.at(0, 0)], 0.0);
  EXPECT_DOUBLE_EQ(s.ore[at_w], std::sqrt(1 - std::exp(-1.0)) * s.re[at_w]);
  // The screen is not the aperture's complement.
  kv::gauss_mask(2, 0, 0, 0.5, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_DOUBLE_EQ(s.ore[at_w], std::sqrt(1 - 0.5 * std::exp(-1.0)) * s.re[at_w]);
}

TEST(GaussMask, IeeeEdges) {
  Grid a(8), s(8);
  // w = 0: the centre gets 0/0, everything else exp(-inf) = 0.
  kv::gauss_mask(0, 0, 0, 1, a.in(), a.out(), kv::Keep::Inside);
  kv::gauss_mask(0, 0, 0, 0.3, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_TRUE(std::isnan(a.ore[a.at(0, 0)]));
  EXPECT_TRUE(std::isnan(s.ore[s.at(0, 0)]));
  EXPECT_TRUE(a.blanked(a.at(1, 0)));
  EXPECT_EQ(s.count_passed(), 63);
  // R < 0 makes everything NaN; T < 0 only near the centre.
  kv::gauss_mask(2, 0, 0, -1, a.in(), a.out(), kv::Keep::Inside);
  for (double v : a.ore) EXPECT_TRUE(std::isnan(v));
  kv::gauss_mask(1, 0, 0, -1, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_TRUE(std::isnan(s.ore[s.at(0, 0)]));
  EXPECT_FALSE(std::isnan(s.ore[s.at(-4, -4)]));
  // Far out exp underflows: exact zeros and exact copies.
  kv::gauss_mask(0.05, 0, 0, 1, a.in(), a.out(), kv::Keep::Inside);
  kv::gauss_mask(0.05, 0, 0, 0, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_TRUE(a.blanked(a.at(3, 0)));
  EXPECT_TRUE(s.passed(s.at(3, 0)));
}

TEST(SuperGaussMask, PowerOneIsTheGaussianPair) {
  for (kv::Keep keep : {kv::Keep::Inside, kv::Keep::Outside}) {
    Grid g(16), sg(16);
    kv::gauss_mask(2.7, 0.5, -1.25, 0.64, g.in(), g.out(), keep);
    kv::supergauss_mask(2.7, 1, 0.5, -1.25, 0.64, sg.in(), sg.out(), keep);
    for (size_t k = 0; k < g.ore.size(); ++k) {
      EXPECT_NEAR(sg.ore[k], g.ore[k], 1e-14 * std::fabs(g.ore[k]) + 1e-300) << k;
      EXPECT_NEAR(sg.oim[k], g.oim[k], 1e-14 * std::fabs(g.oim[k]) + 1e-300) << k;
    }
  }
}

TEST(SuperGaussMask, CentreZeroPowerAndWidthRules) {
  Grid a(8), s(8), ref(8);
  const size_t c = a.at(0, 0);
  // The centre takes sqrt(R) / sqrt(T) without a logarithm, whatever n.
  kv::supergauss_mask(2, -3, 0, 0, 0.25, a.in(), a.out(), kv::Keep::Inside);
  kv::supergauss_mask(2, -3, 0, 0, 0.25, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_EQ(a.ore[c], 0.5 * a.re[c]);
  EXPECT_EQ(s.ore[c], 0.5 * s.re[c]);
  // n = 0: a flat factor off the centre.
  kv::supergauss_mask(2, 0, 0, 0, 0.25, a.in(), a.out(), kv::Keep::Inside);
  kv::supergauss_mask(2, 0, 0, 0, 0.25, s.in(), s.out(), kv::Keep::Outside);
  const size_t k = a.at(3, -2);
  EXPECT_DOUBLE_EQ(a.ore[k], std::exp(-0.5) * 0.5 * a.re[k]);
  EXPECT_DOUBLE_EQ(s.ore[k], std::sqrt(1 - std::exp(-1.0) * 0.75) * s.re[k]);
  // w = 0: the aperture has the profile of w = 1; the screen is switched off.
  kv::supergauss_mask(0, 3, 1, 0, 0.5, a.in(), a.out(), kv::Keep::Inside);
  kv::supergauss_mask(1, 3, 1, 0, 0.5, ref.in(), ref.out(), kv::Keep::Inside);
  EXPECT_EQ(a.ore, ref.ore);
  EXPECT_EQ(a.oim, ref.oim);
  kv::supergauss_mask(0, 3, 0, 0, 0.0, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_EQ(s.count_passed(), 64);
  // w < 0: ln(w) is NaN everywhere but at the centre.
  kv::supergauss_mask(-2, 2, 0, 0, 1, a.in(), a.out(), kv::Keep::Inside);
  kv::supergauss_mask(-2, 2, 0, 0, 1, s.in(), s.out(), kv::Keep::Outside);
  int nan_a = 0, nan_s = 0;
  for (size_t i = 0; i < a.ore.size(); ++i) {
    nan_a += std::isnan(a.ore[i]);
    nan_s += std::isnan(s.ore[i]);
  }
  EXPECT_EQ(nan_a, 63);
  EXPECT_EQ(nan_s, 63);
  EXPECT_EQ(a.ore[c], a.re[c]);
  // A high power overflows p far out: exact zeros and exact copies.
  kv::supergauss_mask(1.5, 60, 0, 0, 1, a.in(), a.out(), kv::Keep::Inside);
  kv::supergauss_mask(1.5, 60, 0, 0, 0, s.in(), s.out(), kv::Keep::Outside);
  EXPECT_TRUE(a.blanked(a.at(3, 3)));
  EXPECT_TRUE(s.passed(s.at(3, 3)));
  EXPECT_TRUE(a.passed(a.at(1, 0)));
  EXPECT_TRUE(s.blanked(s.at(1, 0)));
}

// The shells of the masks and phase elements through the test host, and the
// edge behaviour of the rectangle, Gaussian and super-Gaussian masks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "apertures/gauss.h"
#include "apertures/rect.h"
#include "apertures/supergauss.h"
#include "core/field.h"
#include "host.h"

using host::Array;
using host::call;
using kv::Keep;

namespace {

// A field of dimension n on a grid of spacing 1 (size = n), samples that
// differ from each other and from 1, so that copies and products show.
struct Grid {
  int32_t n;
  std::vector<double> re, im, ore, oim;
  explicit Grid(int32_t dim = 8) : n(dim) {
    const size_t nn = static_cast<size_t>(dim) * static_cast<size_t>(dim);
    ore.assign(nn, -7.0);
    oim.assign(nn, -7.0);
    for (size_t k = 0; k < nn; ++k) {
      re.push_back(1.0 + 0.01 * static_cast<double>(k));
      im.push_back(-0.5 + 0.003 * static_cast<double>(k));
    }
  }
  kv::FieldIn in() const { return kv::FieldIn{re.data(), im.data(), n, {double(n), 1e-6, 0, 0}}; }
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

// Each command's input count, banner rule and call form, and its one
// argument (if any) that is read without the real-scalar test.
struct Shell {
  const char* name;
  int inputs;
  size_t rule;
  const char* usage;
  int loose;
} const kShells[] = {
    {"KVRectAperture", 6, 100, "Fout=KVRectAperture(w,h,x_shift,y_shift,Phi,Fin);", -1},
    {"KVRectScreen", 6, 100, "Fout=KVRectScreen(w,h,x_shift,y_shift,Phi,Fin);", -1},
    {"KVGaussAperture", 5, 100, "Fout=KVGaussAperture(w,x_shift,y_shift,R,Fin);", -1},
    {"KVGaussScreen", 5, 100, "Fout=KVGaussScreen(w,x_shift,y_shift,T,Fin);", -1},
    {"KVSuperGaussAperture", 6, 100, "Fout=KVSuperGaussAperture(w,n,x_shift,y_shift,R,Fin);", -1},
    {"KVSuperGaussScreen", 6, 100, "Fout=KVSuperGaussScreen(w,n,x_shift,y_shift,T,Fin);", -1},
    {"KVTilt", 3, 100, "Fout=KVTilt(tx,ty,Fin);", -1},
    {"KVAxicon", 5, 53, "Fout = KVAxicon(phi,n1,x_shift,y_shift,Fin);", 3},
    {"KVZernike", 5, 100, "Fout=KVZernike(n,m,R,A,Fin)", -1},
};

}  // namespace

TEST(MaskAndPhaseCommands, Shells) {
  const char* words[] = {"", "", "", "three", "", "five", "six"};
  Array f = host::field(8);
  Array one = host::scalar(1);
  Array cplx = host::complex(1, 1);
  Array notfield = host::real(2, 2);
  for (const Shell& s : kShells) {
    host::Result none = call(s.name, 1, {});
    EXPECT_FALSE(none.failed) << s.name;
    EXPECT_EQ(none.out[0], nullptr) << s.name;
    const std::string rule(s.rule, '*');
    EXPECT_EQ(none.printed.rfind(rule + "\n\n\tKorvane for Matlab Optical Toolbox\n\n\t", 0), 0u);
    EXPECT_NE(none.printed.find(std::string("\n\tUSAGE:\n\t") + s.usage + "\n\n\twith:\n\t"),
              std::string::npos)
        << s.name;
    const std::string tail = "\n" + rule + "\n\n";
    EXPECT_EQ(none.printed.substr(none.printed.size() - tail.size()), tail) << s.name;

    std::vector<const mxArray*> args(static_cast<size_t>(s.inputs - 1), one.get());
    host::Result few = call(s.name, 1, args);
    EXPECT_EQ(few.error, std::string("expects ") + words[s.inputs] + " input arguments");
    EXPECT_EQ(few.printed, none.printed);
    args.push_back(f.get());

    // Every scalar takes the real-scalar test before the field is looked at.
    for (int pos = 0; pos + 1 < s.inputs; ++pos) {
      std::vector<const mxArray*> bad = args;
      bad[static_cast<size_t>(pos)] = cplx.get();
      if (pos == s.loose) {
        EXPECT_FALSE(call(s.name, 1, bad).failed) << s.name << pos;
        continue;
      }
      bad.back() = notfield.get();
      EXPECT_EQ(call(s.name, 1, bad).error, "Input must be real scalar.") << s.name << pos;
    }
    args.back() = notfield.get();
    EXPECT_EQ(call(s.name, 1, args).error, "Input field is not a Korvane field.") << s.name;
  }
}

TEST(RectMask, EdgesRotationAndDegenerateParameters) {
  const Keep in = Keep::Inside, out = Keep::Outside;
  using Points = std::vector<std::pair<int, int>>;
  struct Case {
    double w, h, xs, ys, phi;
    Keep keep;
    int passed;  // -1: not counted
    Points pass, block;
  } const cases[] = {
      // hw = 2, hh = 1: x = +-2 and y = +-1 are edges, which pass both.
      {4, 2, 0, 0, 0, in, 15, {{2, 0}, {-2, 1}, {0, -1}, {2, 1}, {0, 0}}, {{3, 0}, {0, 2}, {3, 3}}},
      {4, 2, 0, 0, 0, out, 61, {{2, 0}, {-2, 1}, {0, -1}, {2, 1}, {3, 3}}, {{1, 0}, {0, 0}}},
      // Phi = 360 turns by -6.2831854 rad, sin about -9.3e-8: edge samples
      // move to the other side. -0 skips the turn like 0.
      {4, 2, 0, 0, 360, in, -1, {{1, 0}}, {{2, 1}, {3, 0}}},  // v = 1 + 1.9e-7
      {4, 2, 0, 0, 360, out, -1, {}, {{0, 1}}},               // v = cos(theta) < 1
      {4, 2, 0, 0, -0.0, in, 15, {{2, 1}}, {}},
      // A quarter turn lays the width along y, about the shifted centre.
      {4.5, 2.5, 0, 0, 90, in, 15, {{0, 2}}, {{2, 0}}},
      {4.5, 2.5, 1, -1, 90, in, 15, {{1, 1}, {2, -3}}, {{3, -1}}},
      {0, 2, 0, 0, 0, in, 3, {{0, 1}}, {}},  // only u exactly 0 survives
      {0, 2, 0, 0, 0, out, 64, {}, {}},
      {-4, 2, 0, 0, 0, in, 0, {}, {}},
      {4, -2, 0, 0, 30, out, 64, {}, {}},
      {NAN, 2, 0, 0, 0, in, 24, {}, {}},  // the |v| test still blanks
      {4, 2, 0, 0, NAN, in, 64, {}, {}},  // a NaN angle makes u and v NaN
      {4, 2, 0, 0, NAN, out, 64, {}, {}},
      {1, 1, 100, 0, 0, in, 0, {}, {}},  // off the grid
      {1, 1, 100, 0, 0, out, 64, {}, {}},
  };
  for (const Case& c : cases) {
    Grid g;
    // A blanked sample is overwritten, not multiplied.
    g.re[g.at(3, 3)] = INFINITY;
    kv::rect_mask(c.w, c.h, c.xs, c.ys, c.phi, g.in(), g.out(), c.keep);
    const int row = static_cast<int>(&c - cases);
    if (c.passed >= 0) {
      EXPECT_EQ(g.count_passed(), c.passed) << row;
    }
    for (auto [x, y] : c.pass) EXPECT_TRUE(g.passed(g.at(x, y))) << row << ": " << x << "," << y;
    for (auto [x, y] : c.block) EXPECT_TRUE(g.blanked(g.at(x, y))) << row << ": " << x << "," << y;
  }
}

// The factor a smooth mask puts on sample (x, y), against its closed form;
// 0 and 1 must be exact (zeros and copies), NaN must be NaN.
TEST(SmoothMasks, FactorsAgainstClosedForms) {
  const double e5 = std::exp(-0.5), e1 = std::exp(-1.0);
  const Keep in = Keep::Inside, out = Keep::Outside;
  struct Case {
    bool super;
    double w, p, xs, c;
    Keep keep;
    int x, y;
    double factor;
  } const cases[] = {
      // Gaussian aperture: sqrt(R) at the centre, times exp(-1/2) at r = w.
      {false, 2, 0, 0, 1, in, 0, 0, 1},
      {false, 2, 0, 0, 1, in, 2, 0, e5},
      {false, -2, 0, 1, 0.25, in, 1, 2, 0.5 * e5},
      {false, 0, 0, 0, 1, in, 0, 0, NAN},  // w = 0: 0/0 at the centre
      {false, 0, 0, 0, 1, in, 1, 0, 0},    // and exp(-inf) elsewhere
      {false, 2, 0, 0, -1, in, 3, 3, NAN},
      {false, 0.05, 0, 0, 1, in, 3, 0, 0},  // exp underflows
      // Gaussian screen: sqrt(T) at the centre, sqrt(1 - (1 - T)/e) at r = w.
      {false, 2, 0, 0, 0, out, 0, 0, 0},
      {false, 2, 0, 0, 0, out, 2, 0, std::sqrt(1 - e1)},
      {false, 2, 0, 0, 0.5, out, 2, 0, std::sqrt(1 - 0.5 * e1)},
      {false, 2, 0, 0, 1, out, 3, 1, 1},
      {false, 0, 0, 0, 0.3, out, 0, 0, NAN},
      {false, 0, 0, 0, 0.3, out, 1, 0, 1},
      {false, 1, 0, 0, -1, out, 0, 0, NAN},
      {false, 1, 0, 0, -1, out, -4, -4, std::sqrt(1 - 2 * std::exp(-32.0))},
      {false, 0.05, 0, 0, 0, out, 3, 0, 1},
      // Super-Gaussian: the centre takes sqrt(R) or sqrt(T) without a
      // logarithm, whatever n; exp(-1/2) and 1/e at r = w for any n.
      {true, 2, -3, 0, 0.25, in, 0, 0, 0.5},
      {true, 2, -3, 0, 0.25, out, 0, 0, 0.5},
      {true, 2, 3, 0, 1, in, 0, -2, e5},
      {true, 2, 3, 0, 0, out, 0, -2, std::sqrt(1 - e1)},
      {true, 2, 0, 0, 0.25, in, 3, -2, e5 * 0.5},  // n = 0: flat off the centre
      {true, 2, 0, 0, 0.25, out, 3, -2, std::sqrt(1 - e1 * 0.75)},
      {true, 0, 3, 1, 0.5, in, 2, 0, std::sqrt(0.5) * e5},  // w = 0 acts as w = 1
      {true, 0, 3, 0, 0, out, 0, 0, 1},                     // and switches the screen off
      {true, 0, 3, 0, 0, out, 1, 0, 1},
      {true, -2, 2, 0, 1, in, 0, 0, 1},  // w < 0: NaN but at the centre
      {true, -2, 2, 0, 1, in, 1, 0, NAN},
      {true, -2, 2, 0, 1, out, 1, 0, NAN},
      {true, 1.5, 60, 0, 1, in, 1, 0, 1},  // p underflows near, overflows far
      {true, 1.5, 60, 0, 1, in, 3, 3, 0},
      {true, 1.5, 60, 0, 0, out, 1, 0, 0},
      {true, 1.5, 60, 0, 0, out, 3, 3, 1},
  };
  for (const Case& c : cases) {
    Grid g;
    if (c.super) {
      kv::supergauss_mask(c.w, c.p, c.xs, 0, c.c, g.in(), g.out(), c.keep);
    } else {
      kv::gauss_mask(c.w, c.xs, 0, c.c, g.in(), g.out(), c.keep);
    }
    const size_t k = g.at(c.x, c.y);
    const double want[2] = {c.factor * g.re[k], c.factor * g.im[k]};
    const double got[2] = {g.ore[k], g.oim[k]};
    for (int plane = 0; plane < 2; ++plane) {
      if (std::isnan(c.factor)) {
        EXPECT_TRUE(std::isnan(got[plane])) << &c - cases;
      } else if (c.factor == 0 || c.factor == 1) {
        EXPECT_EQ(got[plane], want[plane]) << &c - cases;
      } else {
        EXPECT_DOUBLE_EQ(got[plane], want[plane]) << &c - cases;
      }
    }
  }
}

TEST(SmoothMasks, SuperGaussianOfPowerOneIsTheGaussianPair) {
  for (Keep keep : {Keep::Inside, Keep::Outside}) {
    Grid g(16), sg(16);
    kv::gauss_mask(2.7, 0.5, -1.25, 0.64, g.in(), g.out(), keep);
    kv::supergauss_mask(2.7, 1, 0.5, -1.25, 0.64, sg.in(), sg.out(), keep);
    for (size_t k = 0; k < g.ore.size(); ++k) {
      EXPECT_NEAR(sg.ore[k], g.ore[k], 1e-14 * std::fabs(g.ore[k])) << k;
      EXPECT_NEAR(sg.oim[k], g.oim[k], 1e-14 * std::fabs(g.oim[k])) << k;
    }
  }
}

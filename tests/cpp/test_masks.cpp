// The shells of the masks and phase elements through the test host, the
// edge behaviour of the rectangle, Gaussian and super-Gaussian masks, and how
// every element reads a field whose samples arrive as real numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/normal.h"
#include "analysis/readout.h"
#include "analysis/strehl.h"
#include "apertures/circle.h"
#include "apertures/gauss.h"
#include "apertures/rect.h"
#include "apertures/supergauss.h"
#include "combination/gain.h"
#include "combination/mix.h"
#include "core/field.h"
#include "host.h"
#include "phase/axicon.h"
#include "phase/lens.h"
#include "phase/random_phase.h"
#include "phase/tilt.h"
#include "phase/zernike.h"
#include "profiles/profiles.h"

using host::Array;
using host::call;
using kv::Keep;

namespace {

// A field of dimension n on a grid of spacing 1 (size = n), samples that
// differ from each other and from 1, so that copies and products show.
struct Grid {
  int32_t n;
  std::vector<kv::cplx> z, o;  // input and output samples
  explicit Grid(int32_t dim = 8) : n(dim) {
    const size_t nn = static_cast<size_t>(dim) * static_cast<size_t>(dim);
    o.assign(nn, kv::cplx(-7.0, -7.0));
    for (size_t k = 0; k < nn; ++k) {
      z.emplace_back(1.0 + 0.01 * static_cast<double>(k), -0.5 + 0.003 * static_cast<double>(k));
    }
  }
  kv::FieldIn in() const { return kv::FieldIn{z.data(), nullptr, n, {double(n), 1e-6, 0, 0}}; }
  kv::FieldOut out() { return kv::FieldOut{o.data(), n}; }
  // Sample index of grid point (x, y), both whole numbers on the unit grid.
  size_t at(int x, int y) const { return static_cast<size_t>((x + n / 2) * n + (y + n / 2)); }
  bool passed(size_t k) const { return o[k].real() == z[k].real() && o[k].imag() == z[k].imag(); }
  bool blanked(size_t k) const { return o[k].real() == 0.0 && o[k].imag() == 0.0; }
  int count_passed() const {
    int c = 0;
    for (size_t k = 0; k < z.size(); ++k) c += passed(k);
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
    g.z[g.at(3, 3)].real(INFINITY);
    kv::rect_mask(c.w, c.h, c.xs, c.ys, c.phi, g.in(), g.out(), c.keep);
    const int row = static_cast<int>(&c - cases);
    if (c.passed >= 0) {
      EXPECT_EQ(g.count_passed(), c.passed) << row;
    }
    for (const auto& p : c.pass) {
      EXPECT_TRUE(g.passed(g.at(p.first, p.second))) << row << ": " << p.first << "," << p.second;
    }
    for (const auto& p : c.block) {
      EXPECT_TRUE(g.blanked(g.at(p.first, p.second))) << row << ": " << p.first << "," << p.second;
    }
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
    const double want[2] = {c.factor * g.z[k].real(), c.factor * g.z[k].imag()};
    const double got[2] = {g.o[k].real(), g.o[k].imag()};
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
    for (size_t k = 0; k < g.o.size(); ++k) {
      EXPECT_NEAR(sg.o[k].real(), g.o[k].real(), 1e-14 * std::fabs(g.o[k].real())) << k;
      EXPECT_NEAR(sg.o[k].imag(), g.o[k].imag(), 1e-14 * std::fabs(g.o[k].imag())) << k;
    }
  }
}

// The same bits, or NaN for NaN: which of two NaN operands gives its sign
// and payload to the result is up to the compiler's operand order.
namespace {
bool same_value(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}
}  // namespace

// Octave hands over a field whose imaginary parts are all zero as a real
// array. Every computation reads it as the complex field with +0 imaginary
// parts: the very same values out, infinities, -0 and subnormals included.
TEST(NarrowedField, ReadLikeZeroImaginaryParts) {
  using kv::cplx;
  using kv::FieldIn;
  using kv::FieldOut;
  const int32_t n = 8;
  const size_t nn = 64;
  // Finite samples with zeros of both signs and a subnormal; then the same
  // with NaN and infinities.
  std::vector<double> finite(nn), profile(nn);
  for (size_t k = 0; k < nn; ++k) {
    finite[k] = 0.7 * static_cast<double>(k) - 20.0;
    profile[k] = 0.1 * static_cast<double>(k) - 1.0;  // negative ones give NaN amplitudes
  }
  finite[3] = -0.0;
  finite[5] = 0.0;
  finite[20] = 1e-310;
  std::vector<double> nonfinite = finite;
  nonfinite[9] = NAN;
  nonfinite[12] = INFINITY;
  nonfinite[17] = -INFINITY;
  std::vector<cplx> other(nn);
  for (size_t k = 0; k < nn; ++k) {
    other[k] = cplx(0.5 - 0.01 * static_cast<double>(k), 0.25 * static_cast<double>(k) - 3.0);
  }
  const kv::Header h{8.0, 1e-6, 0.0, 0};
  const FieldIn second{other.data(), nullptr, n, h};
  const double* p = profile.data();
  // Results that are real arrays are laid into the real parts of `out`.
  auto real_out = [](const std::vector<double>& v, const FieldOut& out) {
    for (size_t k = 0; k < v.size(); ++k) out.z[k] = cplx(v[k], 0.0);
  };
  using Kernel = std::function<void(const FieldIn&, const FieldOut&)>;
  const std::pair<const char*, Kernel> kernels[] = {
      {"copy", [](const FieldIn& in, const FieldOut& out) { kv::copy_samples(in, out); }},
      {"circ", [](const FieldIn& in,
                  const FieldOut& out) { kv::circ_mask(2.5, 0.5, 0, in, out, kv::Keep::Inside); }},
      {"circ screen",
       [](const FieldIn& in, const FieldOut& out) {
         kv::circ_mask(2.5, 0.5, 0, in, out, kv::Keep::Outside);
       }},
      {"rect",
       [](const FieldIn& in, const FieldOut& out) {
         kv::rect_mask(5, 3, 0, 1, 30, in, out, kv::Keep::Inside);
       }},
      {"rect screen",
       [](const FieldIn& in, const FieldOut& out) {
         kv::rect_mask(5, 3, 0, 1, 0, in, out, kv::Keep::Outside);
       }},
      {"gauss",
       [](const FieldIn& in, const FieldOut& out) {
         kv::gauss_mask(2, 0.5, 0, 0.8, in, out, kv::Keep::Inside);
       }},
      {"gauss screen",
       [](const FieldIn& in, const FieldOut& out) {
         kv::gauss_mask(2, 0.5, 0, -0.5, in, out, kv::Keep::Outside);
       }},
      {"supergauss",
       [](const FieldIn& in, const FieldOut& out) {
         kv::supergauss_mask(2, 3, 0, 0, 0.8, in, out, kv::Keep::Inside);
       }},
      {"supergauss screen",
       [](const FieldIn& in, const FieldOut& out) {
         kv::supergauss_mask(2, 3, 0, 0, -2, in, out, kv::Keep::Outside);
       }},
      {"lens", [](const FieldIn& in, const FieldOut& out) { kv::thin_lens(0.5, 1, 0, in, out); }},
      {"tilt", [](const FieldIn& in, const FieldOut& out) { kv::tilt(1e-7, -2e-7, in, out); }},
      {"axicon",
       [](const FieldIn& in, const FieldOut& out) { kv::axicon(3.0, 1.5, 0, 1, in, out); }},
      {"zernike",
       [](const FieldIn& in, const FieldOut& out) { kv::zernike_phase(3, -1, 3, 0.7, in, out); }},
      {"zernike overflow",
       [](const FieldIn& in, const FieldOut& out) { kv::zernike_phase(171, 1, 3, 0.7, in, out); }},
      {"random phase",
       [](const FieldIn& in, const FieldOut& out) { kv::random_phase(7, 6.0, in, out); }},
      {"random intensity",
       [](const FieldIn& in, const FieldOut& out) { kv::random_intensity(7, in, out); }},
      {"gain", [](const FieldIn& in, const FieldOut& out) { kv::gain_sheet(3, 0.4, 2, in, out); }},
      {"attenuate", [](const FieldIn& in, const FieldOut& out) { kv::attenuate(-1, in, out); }},
      {"mix first", [&](const FieldIn& in, const FieldOut& out) { kv::beam_mix(in, second, out); }},
      {"mix second",
       [&](const FieldIn& in, const FieldOut& out) { kv::beam_mix(second, in, out); }},
      {"mix both", [](const FieldIn& in, const FieldOut& out) { kv::beam_mix(in, in, out); }},
      {"polarize x",
       [&](const FieldIn& in, const FieldOut& out) { kv::polarize(0.3, in, second, out); }},
      {"polarize y",
       [&](const FieldIn& in, const FieldOut& out) { kv::polarize(2.0, second, in, out); }},
      {"sub intensity",
       [p](const FieldIn& in, const FieldOut& out) { kv::sub_intensity(p, in, out); }},
      {"sub phase", [p](const FieldIn& in, const FieldOut& out) { kv::sub_phase(p, in, out); }},
      {"mult intensity",
       [p](const FieldIn& in, const FieldOut& out) { kv::mult_intensity(p, in, out); }},
      {"mult phase", [p](const FieldIn& in, const FieldOut& out) { kv::mult_phase(p, in, out); }},
      {"normalize",
       [](const FieldIn& in, const FieldOut& out) {
         double power = -1;
         kv::normalize(in, out, &power);
         out.z[0] = cplx(power, 0.0);
       }},
      {"intensity",
       [&](const FieldIn& in, const FieldOut& out) {
         std::vector<double> v(nn);
         kv::intensity(in, kv::Normalize::ToOne, v.data());
         real_out(v, out);
       }},
      {"phase",
       [&](const FieldIn& in, const FieldOut& out) {
         std::vector<double> v(nn);
         kv::phase(in, v.data());
         real_out(v, out);
       }},
      {"strehl",
       [](const FieldIn& in, const FieldOut& out) {
         double sr = -1;
         kv::strehl_ratio(in, &sr);
         out.z[0] = cplx(sr, 0.0);
       }},
  };
  for (const std::vector<double>* re : {&finite, &nonfinite}) {
    std::vector<cplx> z(nn);
    for (size_t k = 0; k < nn; ++k) z[k] = cplx((*re)[k], 0.0);
    const FieldIn full{z.data(), nullptr, n, h};
    const FieldIn narrowed{nullptr, re->data(), n, h};
    for (const auto& kernel : kernels) {
      std::vector<cplx> a(nn, cplx(-7.0, -7.0)), b(nn, cplx(-7.0, -7.0));
      kernel.second(full, FieldOut{a.data(), n});
      kernel.second(narrowed, FieldOut{b.data(), n});
      for (size_t k = 0; k < nn; ++k) {
        EXPECT_TRUE(same_value(a[k].real(), b[k].real()) && same_value(a[k].imag(), b[k].imag()))
            << kernel.first << (re == &finite ? "" : ", non-finite samples") << ", sample " << k;
      }
    }
  }
}

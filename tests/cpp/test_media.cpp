// KVMedium and KVMode against closed forms: the angular spectrum in vacuum,
// Gaussian beams, plane waves and tilted beams in glass, power and
// absorption, the parabolic graded index (ray period, matched beam, mode
// indices), and the step-index fibre's dispersion equation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/interrupt.h"
#include "media/medium.h"
#include "media/mode.h"
#include "propagation/fft_propagation.h"

namespace {

// With KV_MEDIA_FIGURES set, the tests print what they measured (for the
// manual's validation table).
void figure(const char* what, double value) {
  if (std::getenv("KV_MEDIA_FIGURES") != nullptr) std::printf("  %-44s %.9g\n", what, value);
}

// Quick plans for the length of a test: these tests are about the physics,
// not the planner (the previous setting comes back afterwards).
class EstimatePlans {
 public:
  EstimatePlans() {
    const char* old = std::getenv(kName);
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv(kName, "estimate", 1);
  }
  ~EstimatePlans() {
    if (had_) {
      setenv(kName, old_.c_str(), 1);
    } else {
      unsetenv(kName);
    }
  }

 private:
  static constexpr const char* kName = "KORVANE_FFTW_PLANNER";
  bool had_ = false;
  std::string old_;
};

using kv::cplx;
using Samples = std::vector<cplx>;
const double kPi = 3.141592653589793;

struct Grid {
  int32_t n;
  double size;
  double lambda;
  double d() const { return size / n; }
  double x(int64_t i) const { return kv::grid_x(i, n, d()); }
  double k0() const { return 2 * kPi / lambda; }
  int64_t count() const { return static_cast<int64_t>(n) * n; }
};

Samples make(const Grid& g, const std::function<cplx(double, double)>& f) {
  Samples s(static_cast<size_t>(g.count()));
  for (int64_t i = 0; i < g.n; ++i)
    for (int64_t j = 0; j < g.n; ++j) s[static_cast<size_t>(i * g.n + j)] = f(g.x(i), g.x(j));
  return s;
}

std::vector<double> make_index(const Grid& g, const std::function<double(double, double)>& f) {
  std::vector<double> s(static_cast<size_t>(g.count()));
  for (int64_t i = 0; i < g.n; ++i)
    for (int64_t j = 0; j < g.n; ++j) s[static_cast<size_t>(i * g.n + j)] = f(g.x(i), g.x(j));
  return s;
}

kv::IndexArray real_index(const double* v, int64_t m, int64_t cols, int64_t slices = 1) {
  kv::IndexArray ix;
  ix.a.cls = kv::Class::Double;
  ix.a.m = m;
  ix.a.n = cols;
  ix.a.re = v;
  ix.slices = slices;
  ix.scalar = m == 1 && cols == 1;
  return ix;
}

kv::IndexArray complex_index(const cplx* v, int64_t m, int64_t cols) {
  kv::IndexArray ix = real_index(reinterpret_cast<const double*>(v), m, cols);
  ix.a.complex = true;
  ix.a.stride = 2;
  return ix;
}

// Propagates `in` over z in `steps` steps; ixz (if given) is filled.
Samples medium(const Grid& g, double z, int32_t steps, const kv::IndexArray& index,
               const Samples& in, double absorber = 0.0, std::vector<double>* ixz = nullptr) {
  Samples out(static_cast<size_t>(g.n) * (g.n + 1));
  std::vector<cplx> scratch(static_cast<size_t>(kv::medium_scratch_count(g.n)));
  const kv::FieldIn fin{in.data(), nullptr, g.n, {g.size, g.lambda, 0, 0}};
  kv::MediumRequest request;
  request.z = z;
  request.steps = steps;
  request.absorber = absorber;
  if (ixz != nullptr) ixz->assign(static_cast<size_t>(g.n) * (steps + 1), 0.0);
  EXPECT_EQ(kv::medium_propagate(request, index, fin, kv::FieldOut{out.data(), g.n},
                                 ixz != nullptr ? ixz->data() : nullptr, scratch.data()),
            kv::kMediumOk);
  out.resize(in.size());
  return out;
}

Samples medium_n(const Grid& g, double z, int32_t steps, double n, const Samples& in,
                 double absorber = 0.0) {
  return medium(g, z, steps, real_index(&n, 1, 1), in, absorber);
}

double power(const Samples& a) {
  double p = 0;
  for (const cplx& v : a) p += std::norm(v);
  return p;
}

// Centroid along x and the second-moment radius w = 2*sqrt(<x^2> - <x>^2)
// along x.
void moments_x(const Grid& g, const Samples& a, double* cx, double* wx) {
  double s = 0, s1 = 0, s2 = 0;
  for (int64_t i = 0; i < g.n; ++i)
    for (int64_t j = 0; j < g.n; ++j) {
      const double p = std::norm(a[static_cast<size_t>(i * g.n + j)]);
      s += p;
      s1 += p * g.x(i);
      s2 += p * g.x(i) * g.x(i);
    }
  *cx = s1 / s;
  if (wx != nullptr) *wx = 2 * std::sqrt(s2 / s - (*cx) * (*cx));
}

Samples gauss(const Grid& g, double w, double x0 = 0, double kx = 0) {
  return make(g, [=](double x, double y) {
    const double r2 = (x - x0) * (x - x0) + y * y;
    return std::exp(-r2 / (w * w)) * std::polar(1.0, kx * x);
  });
}

TEST(Medium, VacuumEqualsAngularSpectrum) {
  const EstimatePlans plans;
  const Grid g{64, 2e-3, 1e-6};
  const Samples in = gauss(g, 2e-4, 1e-4);
  const double z = 0.05;
  Samples ref(static_cast<size_t>(g.n) * (g.n + 1));
  const kv::FieldIn fin{in.data(), nullptr, g.n, {g.size, g.lambda, 0, 0}};
  ASSERT_EQ(kv::angular_spectrum(z, fin, kv::FieldOut{ref.data(), g.n}), kv::kFftOk);
  for (int32_t steps : {1, 5}) {
    const Samples out = medium_n(g, z, steps, 1.0, in);
    double diff = 0, peak = 0;
    for (size_t k = 0; k < in.size(); ++k) {
      diff = std::max(diff, std::abs(out[k] - ref[k]));
      peak = std::max(peak, std::abs(ref[k]));
    }
    EXPECT_LT(diff, 1e-12 * peak) << steps;
    figure("vacuum vs angular spectrum, max diff / peak", diff / peak);
  }
}

TEST(Medium, RayleighRangeInGlass) {
  const EstimatePlans plans;
  // w(z)^2 = w0^2*(1 + (z/zR)^2), zR = pi*w0^2*n/lambda.
  const Grid g{128, 1.2e-3, 1e-6};
  const double w0 = 1e-4, n = 1.5;
  const double zr = kPi * w0 * w0 * n / g.lambda;
  const Samples in = gauss(g, w0);
  double c, w;
  moments_x(g, in, &c, &w);
  const double w0m = w;
  const Samples out = medium_n(g, zr, 3, n, in);
  moments_x(g, out, &c, &w);
  const double zr_measured = zr / std::sqrt(w * w / (w0m * w0m) - 1);
  EXPECT_NEAR(zr_measured / zr, 1.0, 1e-4);
  figure("Rayleigh range in n = 1.5, measured/theory - 1", zr_measured / zr - 1);
}

TEST(Medium, PlaneWavePhaseAndAbsorption) {
  const EstimatePlans plans;
  const Grid g{32, 1e-4, 1e-6};
  const Samples in(static_cast<size_t>(g.count()), cplx(1, 0));
  const double z = 1.234e-3;
  // Glass: exp(i*k0*(n - 1)*z) at every sample.
  const Samples out = medium_n(g, z, 10, 1.5, in);
  const cplx expect = std::polar(1.0, g.k0() * 0.5 * z);
  double diff = 0;
  for (const cplx& v : out) diff = std::max(diff, std::abs(v - expect));
  EXPECT_LT(diff, 1e-9);
  figure("plane wave in n = 1.5, max |u - exp(i k0 0.5 z)|", diff);
  // Absorbing glass: power falls as exp(-2*k0*Im(n)*z), gain rises.
  for (double ni : {2e-4, -1e-4}) {
    const cplx nc(1.5, ni);
    const Samples a = medium(g, z, 7, complex_index(&nc, 1, 1), in);
    EXPECT_NEAR(power(a) / power(in), std::exp(-2 * g.k0() * ni * z), 1e-8);
    figure("absorption: P/P0 - exp(-2 k0 Im(n) z)",
           power(a) / power(in) - std::exp(-2 * g.k0() * ni * z));
  }
}

TEST(Medium, TiltedBeamMovesByTanTheta) {
  const EstimatePlans plans;
  const Grid g{256, 64e-6, 1e-6};
  const double n = 1.5, s = 0.3;  // sin(theta) inside the glass
  const Samples in = gauss(g, 6e-6, -10e-6, g.k0() * n * s);
  const double z = 40e-6;
  const Samples out = medium_n(g, z, 4, n, in);
  double c0, c1;
  moments_x(g, in, &c0, nullptr);
  moments_x(g, out, &c1, nullptr);
  const double tan_theta = s / std::sqrt(1 - s * s);
  EXPECT_NEAR((c1 - c0) / (z * tan_theta), 1.0, 2e-3);
  figure("tilted beam: shift / (z tan theta)", (c1 - c0) / (z * tan_theta));
  figure("tilted beam: shift / (z sin theta)", (c1 - c0) / (z * s));
}

TEST(Medium, PowerConservedOverThousandSteps) {
  const EstimatePlans plans;
  const Grid g{64, 64e-6, 1e-6};
  const std::vector<double> idx = make_index(g, [](double x, double y) {
    return 1.45 + 0.01 * std::exp(-(x * x + y * y) / 1e-10) + 0.003 * std::sin(2e5 * x + 1e5 * y);
  });
  const Samples in = gauss(g, 8e-6, 3e-6);
  const Samples out = medium(g, 1e-3, 1000, real_index(idx.data(), g.n, g.n), in);
  EXPECT_NEAR(power(out) / power(in), 1.0, 1e-10);
  figure("power after 1000 steps, P/P0 - 1", power(out) / power(in) - 1);
}

// The parabolic profile n^2 = n0^2*(1 - g^2*r^2).
struct Grin {
  double n0 = 1.5;
  double g = 1e4;  // 1/m
  std::vector<double> index(const Grid& gr) const {
    const double n0_ = n0, g_ = g;
    return make_index(
        gr, [=](double x, double y) { return n0_ * std::sqrt(1 - g_ * g_ * (x * x + y * y)); });
  }
};

TEST(Medium, GradedIndexPeriodAndMatchedBeam) {
  const EstimatePlans plans;
  const Grid gr{128, 64e-6, 1e-6};
  const Grin grin;
  const std::vector<double> idx = grin.index(gr);
  const kv::IndexArray ix = real_index(idx.data(), gr.n, gr.n);
  const double half = kPi / grin.g;  // 314 um
  const double wm = std::sqrt(2 / (gr.k0() * grin.n0 * grin.g));
  const double x0 = 8e-6;
  // An off-axis Gaussian crosses to -x0 after pi/g and returns after 2*pi/g.
  const Samples in = gauss(gr, wm, x0);
  const Samples a = medium(gr, half, 314, ix, in);
  const Samples b = medium(gr, half, 314, ix, a);
  double ca, cb;
  moments_x(gr, a, &ca, nullptr);
  moments_x(gr, b, &cb, nullptr);
  EXPECT_NEAR(ca, -x0, 0.005 * x0);
  EXPECT_NEAR(cb, x0, 0.005 * x0);
  figure("GRIN: centroid at pi/g, (x + x0)/x0", (ca + x0) / x0);
  figure("GRIN: centroid at 2 pi/g, (x - x0)/x0", (cb - x0) / x0);
  // The matched Gaussian keeps its width.
  const Samples m0 = gauss(gr, wm);
  double c, w0, w;
  moments_x(gr, m0, &c, &w0);
  Samples m = m0;
  for (int k = 0; k < 4; ++k) {
    m = medium(gr, half / 4, 79, ix, m);
    moments_x(gr, m, &c, &w);
    EXPECT_NEAR(w / w0, 1.0, 1e-3) << k;
    figure("GRIN: matched width w/w0 - 1", w / w0 - 1);
  }
}

struct Mode {
  Samples field;
  double neff = 0;
  int32_t guided = 0;
  kv::ModeResult result = kv::kModeOk;
};

Mode find_mode(const Grid& g, const std::vector<double>& idx, int32_t m) {
  Mode r;
  r.field.assign(static_cast<size_t>(g.count()), cplx(0, 0));
  std::vector<double> scratch(static_cast<size_t>(kv::mode_scratch_count(g.n, m)));
  r.result = kv::guided_mode(idx.data(), m, g.n, g.size, g.lambda, scratch.data(), r.field.data(),
                             &r.neff, &r.guided);
  return r;
}

TEST(Mode, GradedIndexFamilies) {
  const EstimatePlans plans;
  const Grid gr{128, 64e-6, 1e-6};
  const Grin grin;
  const std::vector<double> idx = grin.index(gr);
  // Families p = 0, 1, 2 begin at modes 0, 1 and 3.
  const int32_t first[3] = {0, 1, 3};
  for (int p = 0; p < 3; ++p) {
    const Mode md = find_mode(gr, idx, first[p]);
    ASSERT_EQ(md.result, kv::kModeOk);
    const double theory = std::sqrt(grin.n0 * grin.n0 - 2 * grin.n0 * grin.g * (p + 1) / gr.k0());
    EXPECT_NEAR(md.neff, theory, 1e-5) << p;
    figure("GRIN: neff - theory, p = 0, 1, 2", md.neff - theory);
  }
}

}  // namespace

namespace {

// The step-index fibre of the help: a = 4.5 um, n1 = 1.4504, n2 = 1.4447 at
// 1.31 um (V = 2.77), on the recommended grid: the core's edge samples hold
// the index averaged over their area.
struct Fibre {
  double a = 4.5e-6, n1 = 1.4504, n2 = 1.4447;
  std::vector<double> index(const Grid& g) const {
    const int sub = 16;
    const double d = g.d(), a_ = a, n1_ = n1, n2_ = n2;
    return make_index(g, [=](double x, double y) {
      int inside = 0;
      for (int u = 0; u < sub; ++u)
        for (int v = 0; v < sub; ++v) {
          const double xs = x + ((u + 0.5) / sub - 0.5) * d, ys = y + ((v + 0.5) / sub - 0.5) * d;
          if (xs * xs + ys * ys < a_ * a_) ++inside;
        }
      const double f = static_cast<double>(inside) / (sub * sub);
      return n2_ + f * (n1_ - n2_);
    });
  }
  // The LP01 root of U*J1(U)/J0(U) = W*K1(W)/K0(W), U^2 + W^2 = V^2, by
  // bisection; neff from U.
  double neff01(double k0) const {
    const double v = k0 * a * std::sqrt(n1 * n1 - n2 * n2);
    auto f = [&](double u) {
      const double w = std::sqrt(v * v - u * u);
      return u * std::cyl_bessel_j(1.0, u) / std::cyl_bessel_j(0.0, u) -
             w * std::cyl_bessel_k(1.0, w) / std::cyl_bessel_k(0.0, w);
    };
    double lo = 1e-6, hi = std::min(v, 2.404825557695773) - 1e-9;
    for (int it = 0; it < 200; ++it) {
      const double mid = 0.5 * (lo + hi);
      (f(lo) < 0) == (f(mid) < 0) ? lo = mid : hi = mid;
    }
    const double u = 0.5 * (lo + hi);
    return std::sqrt(n1 * n1 - (u / (k0 * a)) * (u / (k0 * a)));
  }
};

cplx overlap(const Grid& g, const Samples& a, const Samples& b) {
  cplx s(0, 0);
  for (size_t k = 0; k < a.size(); ++k) s += std::conj(a[k]) * b[k];
  return s * g.d() * g.d();
}

TEST(Mode, StepIndexFibre) {
  const EstimatePlans plans;
  const Grid g{128, 40e-6, 1.31e-6};
  const Fibre f;
  const std::vector<double> idx = f.index(g);
  const Mode m0 = find_mode(g, idx, 0);
  ASSERT_EQ(m0.result, kv::kModeOk);
  EXPECT_NEAR(m0.neff, f.neff01(g.k0()), 3e-5);
  figure("fibre: neff LP01", m0.neff);
  figure("fibre: neff - dispersion root", m0.neff - f.neff01(g.k0()));
  EXPECT_NEAR(power(m0.field) * g.d() * g.d(), 1.0, 1e-12);
  // Through 1 mm of the same fibre at the recommended step it stays itself
  // and gains the phase k0*(neff - 1)*z.
  const double z = 1e-3;
  const kv::IndexArray ix = real_index(idx.data(), g.n, g.n);
  const Samples out = medium(g, z, 1600, ix, m0.field, 0.1);
  const cplx o = overlap(g, m0.field, out);
  EXPECT_GE(std::norm(o), 0.999);
  const double phase = g.k0() * (m0.neff - 1) * z;
  EXPECT_LT(std::abs(std::arg(o * std::polar(1.0, -phase))), 0.01);
  figure("fibre: power in mode after 1 mm", std::norm(o));
  figure("fibre: phase - k0 (neff - 1) z (rad)", std::arg(o * std::polar(1.0, -phase)));
  // LP11: a degenerate pair, the first with its lobes on the x axis; two
  // guided modes beyond the fundamental, none beyond them.
  const Mode m1 = find_mode(g, idx, 1), m2 = find_mode(g, idx, 2), m3 = find_mode(g, idx, 3);
  ASSERT_EQ(m1.result, kv::kModeOk);
  ASSERT_EQ(m2.result, kv::kModeOk);
  EXPECT_EQ(m3.result, kv::kModeNotGuided);
  EXPECT_EQ(m3.guided, 3);
  EXPECT_NEAR(m1.neff, m2.neff, 1e-9);
  EXPECT_NEAR(std::abs(overlap(g, m1.field, m2.field)), 0.0, 1e-9);
  double row1 = 0, row2 = 0;
  for (int64_t i = 0; i < g.n; ++i) {
    row1 += std::norm(m1.field[static_cast<size_t>(i * g.n + g.n / 2)]);
    row2 += std::norm(m2.field[static_cast<size_t>(i * g.n + g.n / 2)]);
  }
  EXPECT_GT(row1, 10 * row2);
  // Its two extremes tie; the one at negative x (first in memory) is positive.
  double left = 0;
  for (int64_t i = 0; i < g.n / 2; ++i) {
    const double v = m1.field[static_cast<size_t>(i * g.n + g.n / 2)].real();
    if (std::fabs(v) > std::fabs(left)) left = v;
  }
  EXPECT_GT(left, 0);
  // Beat of LP01 and LP11a: the centroid swings to the other side after half
  // the period lambda/(neff0 - neff1) and back after the whole.
  Samples both(m0.field.size());
  for (size_t k = 0; k < both.size(); ++k) both[k] = m0.field[k] + m1.field[k];
  const double beat = g.lambda / (m0.neff - m1.neff);
  double c0, ch, cf;
  moments_x(g, both, &c0, nullptr);
  const Samples h = medium(g, beat / 2, 100, ix, both, 0.1);
  const Samples full = medium(g, beat / 2, 100, ix, h, 0.1);
  moments_x(g, h, &ch, nullptr);
  moments_x(g, full, &cf, nullptr);
  EXPECT_NEAR(ch, -c0, 0.01 * std::fabs(c0));
  EXPECT_NEAR(cf, c0, 0.01 * std::fabs(c0));
  figure("beat: centroid at half period / start", ch / c0);
  figure("beat: centroid at period / start", cf / c0);
}

}  // namespace

namespace {

// The absorber: a beam aimed at the edge, followed until it would have come
// round through the seam into the centre again; what does come back is the
// absorber's reflection figure given in the help.
double returned(double sine, double width) {
  const Grid g{256, 128e-6, 1e-6};
  const double t = sine / std::sqrt(1 - sine * sine);
  const Samples in = gauss(g, 16e-6, 0, g.k0() * sine);
  const double z = g.size / t;  // the centre moves across the whole grid
  const Samples out = medium_n(g, z, 128, 1.0, in, width);
  double back = 0;
  for (int64_t i = g.n / 4; i < 3 * g.n / 4; ++i)
    for (int64_t j = 0; j < g.n; ++j) back += std::norm(out[static_cast<size_t>(i * g.n + j)]);
  return back / power(in);
}

// Inputs where nothing can converge end at once: an index whose largest
// value is on the edge guides nothing, and a grid far too coarse for the
// wavelength (an operator spanning many k0) still ends in a bounded number
// of iterations, with a mode or with none.
TEST(Mode, HopelessInputsEndQuickly) {
  const EstimatePlans plans;
  const Grid g{8, 1e-3, 8.0};
  const Mode uniform = find_mode(g, std::vector<double>(static_cast<size_t>(g.count()), 0.5), 8);
  EXPECT_EQ(uniform.result, kv::kModeNotGuided);
  EXPECT_EQ(uniform.guided, 0);
  std::vector<double> bump(static_cast<size_t>(g.count()), 1.0);
  bump[static_cast<size_t>(g.count() / 2 + 4)] = 1.5;
  const Mode coarse = find_mode(Grid{8, 1e-3, 1e-9}, bump, 2);
  EXPECT_TRUE(coarse.result == kv::kModeOk || coarse.result == kv::kModeNotGuided);
  const Mode too_long = find_mode(Grid{8, 1e-3, 8.0}, bump, 2);
  EXPECT_TRUE(too_long.result == kv::kModeOk || too_long.result == kv::kModeNotGuided);
}

TEST(Medium, AbsorberSendsLittleBack) {
  const EstimatePlans plans;
  EXPECT_LT(returned(0.3, 0.1), 1e-8);
  EXPECT_LT(returned(0.6, 0.1), 1e-6);
  EXPECT_LT(returned(0.1, 0.2), 1e-3);
}

}  // namespace

namespace {

// Ctrl-C: both stop at their next step once the host reports it.
TEST(Medium, StopsOnInterrupt) {
  const EstimatePlans plans;
  const Grid g{32, 1e-4, 1e-6};
  const Samples in = gauss(g, 2e-5);
  Samples out(static_cast<size_t>(g.n) * (g.n + 1));
  std::vector<cplx> scratch(static_cast<size_t>(kv::medium_scratch_count(g.n)));
  const kv::FieldIn fin{in.data(), nullptr, g.n, {g.size, g.lambda, 0, 0}};
  kv::MediumRequest request;
  request.z = 1e-3;
  request.steps = 1000000;
  const double n = 1.5;
  const std::vector<double> idx =
      make_index(g, [](double x, double y) { return 1.45 + 0.01 * (x * x + y * y < 4e-10); });
  std::vector<double> mode_scratch(static_cast<size_t>(kv::mode_scratch_count(g.n, 0)));
  double neff;
  int32_t guided;
  kv::InterruptScope scope([](void*) { return true; }, nullptr);
  EXPECT_THROW(kv::medium_propagate(request, real_index(&n, 1, 1), fin,
                                    kv::FieldOut{out.data(), g.n}, nullptr, scratch.data()),
               kv::Interrupted);
  EXPECT_THROW(kv::guided_mode(idx.data(), 0, g.n, g.size, g.lambda, mode_scratch.data(),
                               out.data(), &neff, &guided),
               kv::Interrupted);
}

}  // namespace

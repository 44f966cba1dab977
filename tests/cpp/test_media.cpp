// KVMedium and KVMode against closed forms: the angular spectrum in vacuum,
// Gaussian beams, plane waves and tilted beams in glass, power and
// absorption, the parabolic graded index (ray period, matched beam, mode
// indices), and the step-index fibre's dispersion equation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <vector>

#include "media/medium.h"
#include "media/mode.h"
#include "propagation/fft_propagation.h"

namespace {

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
  kv::MediumSpec spec;
  spec.z = z;
  spec.steps = steps;
  spec.absorber = absorber;
  if (ixz != nullptr) ixz->assign(static_cast<size_t>(g.n) * (steps + 1), 0.0);
  EXPECT_EQ(kv::medium_propagate(spec, index, fin, kv::FieldOut{out.data(), g.n},
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
  }
}

TEST(Medium, RayleighRangeInGlass) {
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
}

TEST(Medium, PlaneWavePhaseAndAbsorption) {
  const Grid g{32, 1e-4, 1e-6};
  const Samples in(static_cast<size_t>(g.count()), cplx(1, 0));
  const double z = 1.234e-3;
  // Glass: exp(i*k0*(n - 1)*z) at every sample.
  const Samples out = medium_n(g, z, 10, 1.5, in);
  const cplx expect = std::polar(1.0, g.k0() * 0.5 * z);
  double diff = 0;
  for (const cplx& v : out) diff = std::max(diff, std::abs(v - expect));
  EXPECT_LT(diff, 1e-9);
  // Absorbing glass: power falls as exp(-2*k0*Im(n)*z), gain rises.
  for (double ni : {2e-4, -1e-4}) {
    const cplx nc(1.5, ni);
    const Samples a = medium(g, z, 7, complex_index(&nc, 1, 1), in);
    EXPECT_NEAR(power(a) / power(in), std::exp(-2 * g.k0() * ni * z), 1e-8);
  }
}

TEST(Medium, TiltedBeamMovesByTanTheta) {
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
}

TEST(Medium, PowerConservedOverThousandSteps) {
  const Grid g{64, 64e-6, 1e-6};
  const std::vector<double> idx = make_index(g, [](double x, double y) {
    return 1.45 + 0.01 * std::exp(-(x * x + y * y) / 1e-10) + 0.003 * std::sin(2e5 * x + 1e5 * y);
  });
  const Samples in = gauss(g, 8e-6, 3e-6);
  const Samples out = medium(g, 1e-3, 1000, real_index(idx.data(), g.n, g.n), in);
  EXPECT_NEAR(power(out) / power(in), 1.0, 1e-10);
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
  // The matched Gaussian keeps its width.
  const Samples m0 = gauss(gr, wm);
  double c, w0, w;
  moments_x(gr, m0, &c, &w0);
  Samples m = m0;
  for (int k = 0; k < 4; ++k) {
    m = medium(gr, half / 4, 79, ix, m);
    moments_x(gr, m, &c, &w);
    EXPECT_NEAR(w / w0, 1.0, 1e-3) << k;
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
  }
}

}  // namespace

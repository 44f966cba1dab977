// KVFresnelFFT, KVAngularSpectrum and KVPad: Gaussian beams, Talbot images
// and a steep plane wave against closed forms, reversibility and power,
// agreement with the direct integration, padding, and the commands through
// the test host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "host.h"
#include "propagation/fft_pad.h"
#include "propagation/fft_plan.h"
#include "propagation/fft_propagation.h"

namespace {

using kv::cplx;
using Samples = std::vector<cplx>;
using Propagator = std::function<kv::FftResult(double, const kv::FieldIn&, const kv::FieldOut&)>;

const double kPi = 3.141592653589793;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Grid {
  int32_t n;
  double size;
  double lambda;
  double d() const { return size / n; }
  double x(int64_t i) const { return kv::grid_x(i, n, d()); }
};

Samples make(const Grid& g, const std::function<cplx(double, double)>& f) {
  Samples s(static_cast<size_t>(g.n) * g.n);
  for (int64_t i = 0; i < g.n; ++i)
    for (int64_t j = 0; j < g.n; ++j) s[static_cast<size_t>(i * g.n + j)] = f(g.x(i), g.x(j));
  return s;
}

// The samples of the propagated field (the output's header column dropped).
Samples run(const Propagator& p, double z, const Grid& g, const Samples& in) {
  Samples out(static_cast<size_t>(g.n) * (g.n + 1));
  const kv::FieldIn fin{in.data(), nullptr, g.n, {g.size, g.lambda, 0, 0}};
  EXPECT_EQ(p(z, fin, kv::FieldOut{out.data(), g.n}), kv::kFftOk);
  out.resize(in.size());
  return out;
}

double peak(const Samples& a) {
  double m = 0;
  for (const cplx& v : a) m = std::max(m, std::abs(v));
  return m;
}

double max_diff(const Samples& a, const Samples& b) {
  double m = 0;
  for (size_t k = 0; k < a.size(); ++k) m = std::max(m, std::abs(a[k] - b[k]));
  return m;
}

double power(const Samples& a) {
  double p = 0;
  for (const cplx& v : a) p += std::norm(v);
  return p;
}

// Beam radius from the second moment of the intensity: w^2 = 2 <r^2>.
double second_moment_radius(const Grid& g, const Samples& a) {
  double s = 0, s2 = 0;
  for (int64_t i = 0; i < g.n; ++i)
    for (int64_t j = 0; j < g.n; ++j) {
      const double p = std::norm(a[static_cast<size_t>(i * g.n + j)]);
      s += p;
      s2 += p * (g.x(i) * g.x(i) + g.x(j) * g.x(j));
    }
  return std::sqrt(2 * s2 / s);
}

// The paraxial Gaussian beam of waist w0 at z, without exp(i*k*z):
// exp(-r^2/(w0^2 (1 + i z/zR)))/(1 + i z/zR).
cplx gaussian_at(double w0, double lambda, double z, double x, double y) {
  const double zr = kPi * w0 * w0 / lambda;
  const cplx a(1, z / zr);
  return std::exp(-(x * x + y * y) / (w0 * w0 * a)) / a;
}

Samples random_field(const Grid& g, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  return make(g, [&](double, double) { return cplx(u(gen), u(gen)); });
}

// The samples of a field of grid g embedded in an m x m grid, and back.
Samples pad(const Samples& in, const Grid& g, int32_t m) {
  Samples out(static_cast<size_t>(m) * (m + 1));
  EXPECT_TRUE(kv::pad_field(kv::FieldIn{in.data(), nullptr, g.n, {g.size, g.lambda, 0, 0}},
                            kv::FieldOut{out.data(), m}));
  out.resize(static_cast<size_t>(m) * m);
  return out;
}
Samples crop(const Samples& in, const Grid& g, int32_t m) { return pad(in, g, m); }

const Propagator kFresnel = kv::fresnel_fft;
const Propagator kAngular = kv::angular_spectrum;

}  // namespace

// A Gaussian beam against the closed form: radius w0*sqrt(1 + (z/zR)^2) and
// the Gouy phase -atan(z/zR) on the axis, sample by sample. The sampling
// errors are the beam's spectrum at the Nyquist frequency and its tail at
// the grid's edge; the angular spectrum adds the non-paraxial phase
// 2*pi*z*lambda^3*f^4/8, on the beam's spectrum a relative z*lambda^3/
// (2*pi^3*w0^4). Beyond the switch distance the impulse response, cut off
// at half the grid, disturbs the outer half of the grid: there the field is
// padded to 2N first and cropped back after.
TEST(FftGaussian, WaistAndGouyPhaseFromBothPropagators) {
  const double lambda = 0.5e-6, d = 2e-6, w0 = 8 * d;
  const Grid g{256, 256 * d, lambda};
  const Grid padded{512, 512 * d, lambda};
  const double zr = kPi * w0 * w0 / lambda;
  const double zc = kv::fresnel_switch_distance(g.n, g.size, g.lambda);
  ASSERT_LT(zr, zc);  // zR in the transfer-function regime
  ASSERT_GT(3 * zr, kv::fresnel_switch_distance(padded.n, padded.size, lambda));  // 3 zR not
  const Samples in = make(g, [&](double x, double y) { return gaussian_at(w0, lambda, 0, x, y); });
  const double alias = std::exp(-kPi * kPi * w0 * w0 / (4 * d * d));
  for (double z : {zr, -zr, 3 * zr}) {
    const double wz = w0 * std::sqrt(1 + (z / zr) * (z / zr));
    const double edge = std::exp(-std::pow(g.size / 2 / wz, 2));
    const double sampling = 10 * (alias + edge) + 1e-12;
    const double paraxial =
        4 * std::fabs(z) * std::pow(lambda, 3) / (2 * std::pow(kPi, 3) * std::pow(w0, 4));
    const Samples exact =
        make(g, [&](double x, double y) { return gaussian_at(w0, lambda, z, x, y); });
    const struct {
      const char* name;
      const Propagator& p;
      double tol;
    } cases[] = {{"fresnel", kFresnel, sampling}, {"angular", kAngular, sampling + paraxial}};
    for (const auto& c : cases) {
      const Samples out = std::fabs(z) > zc
                              ? crop(run(c.p, z, padded, pad(in, g, padded.n)), padded, g.n)
                              : run(c.p, z, g, in);
      EXPECT_LT(max_diff(out, exact), c.tol) << c.name << " z/zR " << z / zr;
      EXPECT_NEAR(second_moment_radius(g, out), wz, 2 * c.tol * wz) << c.name;
      const cplx axis = out[static_cast<size_t>(g.n / 2 * g.n + g.n / 2)];
      EXPECT_NEAR(std::arg(axis), -std::atan(z / zr), 2 * c.tol) << c.name;
    }
  }
  // At z = zR exactly: amplitude 1/sqrt(2) and phase -pi/4 on the axis.
  const cplx axis = run(kFresnel, zr, g, in)[static_cast<size_t>(g.n / 2 * g.n + g.n / 2)];
  EXPECT_NEAR(std::abs(axis), std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(std::arg(axis), -kPi / 4, 1e-12);
  // Unpadded beyond the switch distance: right within half a grid of the
  // beam, wrong (the cut-off response) near the edge.
  const double z = 3 * zr;
  const Samples out = run(kFresnel, z, g, in);
  const Samples exact =
      make(g, [&](double x, double y) { return gaussian_at(w0, lambda, z, x, y); });
  double inner = 0, outer = 0;
  for (int64_t i = 0; i < g.n; ++i)
    for (int64_t j = 0; j < g.n; ++j) {
      const size_t k = static_cast<size_t>(i * g.n + j);
      const bool central = std::abs(i - g.n / 2) < g.n / 4 && std::abs(j - g.n / 2) < g.n / 4;
      (central ? inner : outer) = std::max(central ? inner : outer, std::abs(out[k] - exact[k]));
    }
  EXPECT_LT(inner, 1e-12);
  EXPECT_GT(outer, 1e-3);
}

// Where |H| = 1 (the Fresnel transfer function; the angular spectrum with
// every component propagating and inside its band limit) the transforms
// are unitary: z then -z gives the field back and the power is kept.
TEST(FftGaussian, BackAndForthAndPower) {
  const double lambda = 0.5e-6;
  const Grid g{128, 128 * 2 * lambda, lambda};  // fx, fy <= 1/(4 lambda)
  const Samples in = random_field(g, 7);
  const double zc = kv::fresnel_switch_distance(g.n, g.size, g.lambda);
  const struct {
    const char* name;
    const Propagator& p;
    double z;
  } cases[] = {{"fresnel", kFresnel, 0.7 * zc}, {"angular", kAngular, g.size / 2}};
  for (const auto& c : cases) {
    const Samples there = run(c.p, c.z, g, in);
    const Samples back = run(c.p, -c.z, g, there);
    EXPECT_LT(max_diff(back, in), 1e-10 * peak(in)) << c.name;
    EXPECT_NEAR(power(there), power(in), 1e-12 * power(in)) << c.name;
    EXPECT_GT(max_diff(there, in), 0.1) << c.name;  // it did move
  }
}

// A grating of period d images itself at the Talbot distance 2 d^2/lambda,
// and shifted by d/2 at half of it. The angular spectrum gives the first
// orders the exact phase 2*pi*z*(sqrt(1/lambda^2 - 1/d^2) - 1/lambda).
TEST(FftTalbot, GratingImagesItself) {
  const double lambda = 0.5e-6, d = 1e-6, period = 8 * d;
  const Grid g{256, 256 * d, lambda};
  const double zt = 2 * period * period / lambda;
  ASSERT_LE(zt, kv::fresnel_switch_distance(g.n, g.size, g.lambda));
  auto grating = [&](double shift, cplx orders) {
    return make(g, [&](double x, double) {
      return cplx(1) + 0.5 * orders * std::cos(2 * kPi * (x - shift) / period);
    });
  };
  const Samples in = grating(0, 1);
  EXPECT_LT(max_diff(run(kFresnel, zt, g, in), in), 1e-12);
  EXPECT_LT(max_diff(run(kFresnel, zt / 2, g, in), grating(period / 2, 1)), 1e-12);
  const double phase =
      2 * kPi * zt * (std::sqrt(1 / (lambda * lambda) - 1 / (period * period)) - 1 / lambda);
  const Samples exact = grating(0, std::polar(1.0, phase));
  EXPECT_LT(max_diff(run(kAngular, zt, g, in), exact), 1e-12);
  EXPECT_GT(max_diff(exact, in), 1e-3);  // the two do differ
}

// A plane wave tilted by 30 degrees (sin = 1/2, on a frequency bin): the
// angular spectrum gives it exactly the phase of sqrt(1/lambda^2 - fx^2);
// the Fresnel propagator gives -pi*lambda*z*fx^2, off by the paraxial error.
TEST(FftPlaneWave, SteepTiltExactAndParaxial) {
  const double lambda = 0.5e-6;
  const Grid g{256, 64 * lambda, lambda};
  const double fx = 0.5 / lambda;  // bin 32
  const double z = 10 * lambda;
  ASSERT_LE(z, kv::fresnel_switch_distance(g.n, g.size, g.lambda));
  const Samples in = make(g, [&](double x, double) { return std::polar(1.0, 2 * kPi * fx * x); });
  const double exact_phase =
      2 * kPi * z * (std::sqrt(1 / (lambda * lambda) - fx * fx) - 1 / lambda);
  const double paraxial_phase = -kPi * lambda * z * fx * fx;
  const Samples as = run(kAngular, z, g, in);
  const Samples fr = run(kFresnel, z, g, in);
  double as_err = 0, fr_err = 0, gap = 0;
  for (size_t k = 0; k < in.size(); ++k) {
    as_err = std::max(as_err, std::abs(as[k] - in[k] * std::polar(1.0, exact_phase)));
    fr_err = std::max(fr_err, std::abs(fr[k] - in[k] * std::polar(1.0, paraxial_phase)));
    gap = std::max(gap, std::fabs(std::arg(as[k] / fr[k]) - (exact_phase - paraxial_phase)));
  }
  EXPECT_LT(as_err, 1e-12);
  EXPECT_LT(fr_err, 1e-12);
  EXPECT_LT(gap, 1e-12);
  EXPECT_NEAR(exact_phase - paraxial_phase, -0.564, 1e-3);  // not small at 30 degrees
}

// Far beyond the band limit a narrow spectrum stays narrow: a point source
// at z = 100 * size keeps its power from wrapping into aliased rings; all
// that passes is the cone inside |f| <= 1/(lambda*sqrt((2z/size)^2 + 1)).
TEST(FftAngular, BandLimitAndEvanescentWaves) {
  const double lambda = 1e-6;
  const Grid g{64, 64 * 0.25e-6, lambda};  // |f| up to 2/lambda: much is evanescent
  Samples point(static_cast<size_t>(g.n) * g.n, cplx(0));
  point[static_cast<size_t>(g.n / 2 * g.n + g.n / 2)] = 1;
  // Short distance: the evanescent part is gone, the rest propagates with
  // |H| = 1, so the power is that of the propagating spectrum.
  const Samples near = run(kAngular, 0.1 * lambda, g, point);
  int propagating = 0;
  for (int p = 0; p < g.n; ++p)
    for (int q = 0; q < g.n; ++q) {
      const double fx = (p <= g.n / 2 ? p : p - g.n) / g.size;
      const double fy = (q <= g.n / 2 ? q : q - g.n) / g.size;
      propagating += fx * fx + fy * fy < 1 / (lambda * lambda);  // grazing ones go too
    }
  EXPECT_NEAR(power(near), propagating / double(g.n) / g.n, 1e-12);
  // Long distance: only the band-limited cone; its on-axis spectrum has
  // (2*floor(f_lim*size) + 1)^2 bins, |H| = 1 on each.
  const double z = 100 * g.size;
  const Samples far = run(kAngular, z, g, point);
  const double flim = 1 / (lambda * std::sqrt(std::pow(2 * z / g.size, 2) + 1));
  const int bins = 2 * static_cast<int>(std::floor(flim * g.size)) + 1;
  EXPECT_NEAR(power(far), bins * bins / double(g.n) / g.n, 1e-12);
}

// The direct integration (KVForward) onto the same sample positions agrees
// on both sides of the switch distance. KVForward spaces its input by
// size/(N - 1), so its copy of the field carries size*(N - 1)/N; the output
// asks NewSize = D*(N - 1). It treats each sample as a uniform pixel: the
// beam's spectrum times sinc(D*fx)*sinc(D*fy), about 1 - D^2/(6*w0^2) on
// a Gaussian, and the pixels' edges send light off at angles lambda/D that
// reach the grid's edge (and the FFT's response is cut off there beyond the
// switch distance); so the comparison is over the central half, with twice
// the pixel error.
TEST(FftFresnel, AgreesWithDirectIntegration) {
  const double lambda = 0.5e-6, d = 2e-6, w0 = 8 * d;
  const Grid g{128, 128 * d, lambda};
  const double zc = kv::fresnel_switch_distance(g.n, g.size, g.lambda);
  const Samples in = make(g, [&](double x, double y) { return gaussian_at(w0, lambda, 0, x, y); });
  host::Array f = host::field(g.n, g.size * (g.n - 1) / g.n, lambda);
  for (size_t k = 0; k < in.size(); ++k) host::set(f.get(), k, in[k]);
  for (double z : {0.5 * zc, 2 * zc}) {
    const Samples fft = run(kFresnel, z, g, in);
    host::Array zz = host::scalar(z), size = host::scalar(d * (g.n - 1)), m = host::scalar(g.n);
    host::Result r = host::call("KVForward", 1, {zz.get(), size.get(), m.get(), f.get()});
    ASSERT_FALSE(r.failed) << r.error;
    Samples direct(in.size());
    for (size_t k = 0; k < in.size(); ++k) direct[k] = host::at(r[0], k);
    double diff = 0;
    for (int64_t i = g.n / 4; i < 3 * g.n / 4; ++i)
      for (int64_t j = g.n / 4; j < 3 * g.n / 4; ++j) {
        const size_t k = static_cast<size_t>(i * g.n + j);
        diff = std::max(diff, std::abs(fft[k] - direct[k]));
      }
    EXPECT_LT(diff, 2 * d * d / (6 * w0 * w0) * peak(fft)) << z / zc;
    // A conjugated convention would be off by the Gouy phase, tenths of a radian.
    const size_t axis = static_cast<size_t>(g.n / 2 * g.n + g.n / 2);
    EXPECT_NEAR(std::arg(fft[axis]), std::arg(direct[axis]), 1e-2) << z / zc;
  }
}

// Both regimes against each other just around the switch distance, and the
// narrowed (real) input against the same field given as complex.
TEST(FftFresnel, RegimesMeetAndRealInput) {
  const double lambda = 0.5e-6, d = 2e-6, w0 = 8 * d;
  const Grid g{128, 128 * d, lambda};
  const double zc = kv::fresnel_switch_distance(g.n, g.size, g.lambda);
  const Samples in = make(g, [&](double x, double y) { return gaussian_at(w0, lambda, 0, x, y); });
  const Samples below = run(kFresnel, zc, g, in);
  const Samples above = run(kFresnel, std::nextafter(zc, 2 * zc), g, in);
  EXPECT_LT(max_diff(below, above), 1e-9);
  EXPECT_GT(max_diff(below, above), 0.0);  // really two computations

  std::vector<double> re(in.size());
  for (size_t k = 0; k < in.size(); ++k) re[k] = in[k].real();
  const Samples complex_in = make(
      g, [&](double x, double y) { return cplx(gaussian_at(w0, lambda, 0, x, y).real(), 0.0); });
  for (const Propagator* p : {&kFresnel, &kAngular}) {
    Samples out(static_cast<size_t>(g.n) * (g.n + 1));
    const kv::FieldIn narrowed{nullptr, re.data(), g.n, {g.size, lambda, 0, 0}};
    ASSERT_EQ((*p)(zc, narrowed, kv::FieldOut{out.data(), g.n}), kv::kFftOk);
    out.resize(in.size());
    const Samples ref = run(*p, zc, g, complex_in);
    EXPECT_EQ(0, std::memcmp(out.data(), ref.data(), ref.size() * sizeof(cplx)));
  }
}

// Odd grids, a NaN sample, z = 0, spherical coordinates and the plan cache.
TEST(FftKernels, EdgeCases) {
  const double lambda = 0.5e-6, d = 2e-6;
  // Odd N: the origin is sample (N/2, N/2); a centred beam stays centred.
  const Grid odd{65, 65 * d, lambda};
  const Samples beam =
      make(odd, [&](double x, double y) { return gaussian_at(6 * d, lambda, 0, x, y); });
  for (const Propagator* p : {&kFresnel, &kAngular}) {
    const Samples out = run(*p, 1e-4, odd, beam);
    for (int64_t i = 0; i < odd.n; ++i)  // symmetric about the middle sample
      EXPECT_LT(std::abs(out[static_cast<size_t>(i * odd.n)] -
                         out[static_cast<size_t>((odd.n - 1 - i) * odd.n + odd.n - 1)]),
                1e-12);
  }

  const Grid g{32, 32 * d, lambda};
  Samples in = random_field(g, 3);
  for (const Propagator* p : {&kFresnel, &kAngular}) {
    // z = 0: the samples bit for bit.
    const Samples same = run(*p, 0.0, g, in);
    EXPECT_EQ(0, std::memcmp(same.data(), in.data(), in.size() * sizeof(cplx)));
    // One NaN sample: NaN everywhere, in both Fresnel regimes.
    Samples bad = in;
    bad[100] = cplx(kNaN, 0);
    for (double z : {1e-5, 1.0}) {
      const Samples out = run(*p, z, g, bad);
      EXPECT_TRUE(std::all_of(out.begin(), out.end(),
                              [](cplx v) { return std::isnan(v.real()) || std::isnan(v.imag()); }));
    }
    // NaN distance: NaN, no crash.
    const Samples nan = run(*p, kNaN, g, in);
    EXPECT_TRUE(std::isnan(nan[0].real()));
    // Spherical coordinates, NaN curvature included: refused, nothing written.
    for (double curv : {0.5, kNaN}) {
      Samples out(static_cast<size_t>(g.n) * (g.n + 1));
      const kv::FieldIn sph{in.data(), nullptr, g.n, {g.size, lambda, curv, 0}};
      EXPECT_EQ((*p)(1e-3, sph, kv::FieldOut{out.data(), g.n}), kv::kFftSpherical);
      EXPECT_EQ(out[0], cplx(0));
    }
  }

  // Plans are kept per size and reused; releasing them leaves the next call
  // working.
  kv::fft_release_plans();
  run(kFresnel, 1e-5, g, in);
  const int held = kv::fft_plans_held();
  EXPECT_GE(held, 2);  // forward and backward
  run(kAngular, 1e-5, g, in);
  run(kFresnel, 1e-5, g, in);
  EXPECT_EQ(kv::fft_plans_held(), held);
  for (int32_t n = 10; n < 40; n += 2)
    run(kFresnel, 1e-5, Grid{n, n * d, lambda}, Samples(static_cast<size_t>(n) * n));
  EXPECT_LE(kv::fft_plans_held(), 8);
  kv::fft_release_plans();
  EXPECT_EQ(kv::fft_plans_held(), 0);
  EXPECT_LT(max_diff(run(kFresnel, 1e-5, g, in), run(kFresnel, 1e-5, g, in)), 1e-300);
}

// Padding puts the origin on the origin, adds zeros and keeps the power to
// the bit; cropping back gives the field bit for bit. Odd sizes included.
TEST(FftPad, EmbedAndCrop) {
  const Grid g{16, 16e-6, 1e-6};
  const Samples in = random_field(g, 11);
  for (int32_t m : {16, 32, 33, 17, 9, 8}) {
    Samples big(static_cast<size_t>(m) * (m + 1));
    const kv::FieldIn fin{in.data(), nullptr, g.n, {g.size, g.lambda, 0, 0}};
    ASSERT_TRUE(kv::pad_field(fin, kv::FieldOut{big.data(), m}));
    // The origin sample.
    EXPECT_EQ(big[static_cast<size_t>(m / 2 * m + m / 2)],
              in[static_cast<size_t>(g.n / 2 * g.n + g.n / 2)]);
    Samples back(static_cast<size_t>(g.n) * (g.n + 1));
    const kv::FieldIn fbig{big.data(), nullptr, m, {g.size * m / g.n, g.lambda, 0, 0}};
    ASSERT_TRUE(kv::pad_field(fbig, kv::FieldOut{back.data(), g.n}));
    back.resize(in.size());
    big.resize(static_cast<size_t>(m) * m);
    if (m >= g.n) {
      EXPECT_EQ(0, std::memcmp(back.data(), in.data(), in.size() * sizeof(cplx))) << m;
      EXPECT_EQ(power(big), power(in)) << m;
    } else {
      // Cropped and padded back: the inner m x m block, zeros around it.
      const int64_t s = g.n / 2 - m / 2;
      for (int64_t i = 0; i < g.n; ++i)
        for (int64_t j = 0; j < g.n; ++j) {
          const bool inside = i >= s && i < s + m && j >= s && j < s + m;
          const size_t k = static_cast<size_t>(i * g.n + j);
          EXPECT_EQ(back[k], inside ? in[k] : cplx(0)) << m << " " << i << " " << j;
        }
    }
  }
  // A padded beam propagates like the unpadded one near the axis.
  const double lambda = 0.5e-6, d = 2e-6, w0 = 8 * d;
  const Grid small{64, 64 * d, lambda};
  const Samples beam =
      make(small, [&](double x, double y) { return gaussian_at(w0, lambda, 0, x, y); });
  Samples big(128 * 129);
  kv::pad_field(kv::FieldIn{beam.data(), nullptr, 64, {small.size, lambda, 0, 0}},
                kv::FieldOut{big.data(), 128});
  big.resize(128 * 128);
  const Samples a = run(kFresnel, 1e-3, small, beam);
  const Samples b = run(kFresnel, 1e-3, Grid{128, 128 * d, lambda}, big);
  EXPECT_NEAR(std::abs(a[32 * 64 + 32] - b[64 * 128 + 64]), 0, 1e-6);
}

// The commands through the test host: banners, counts, scalar and field
// tests, spherical coordinates, the header rule, and KVPad's grid checks.
TEST(FftCommands, GatewayAndHeaders) {
  for (const char* name : {"KVFresnelFFT", "KVAngularSpectrum", "KVPad"}) {
    host::Result b = host::call(name, 1, {});
    EXPECT_FALSE(b.failed) << name;
    EXPECT_EQ(b.printed.rfind(std::string(53, '*') +
                                  "\n\n\tKorvane for Matlab Optical Toolbox\n\n\t" + name + " ",
                              0),
              0u)
        << b.printed;
    EXPECT_NE(b.printed.find(std::string("USAGE:\n\tFout = ") + name + "("), std::string::npos);
    EXPECT_EQ(b.printed.substr(b.printed.size() - 56), "\n" + std::string(53, '*') + "\n\n");

    host::Array one = host::scalar(8), f = host::field(8);
    host::Result r = host::call(name, 1, {one.get()});
    EXPECT_EQ(r.error, "expects two input arguments") << name;
    EXPECT_EQ(r.printed, b.printed);
    r = host::call(name, 2, {one.get(), f.get()});
    EXPECT_EQ(r.error, "expects one output argument") << name;
    host::Array cz = host::complex(1, 1);
    EXPECT_EQ(host::call(name, 1, {cz.get(), f.get()}).error, "Input must be real scalar.");
    host::Array notfield = host::real(8, 9);
    EXPECT_EQ(host::call(name, 1, {one.get(), notfield.get()}).error,
              "Input field is not a Korvane field.");
    // KVFresnelFFT follows a finite curvature (tests/octave/test_focus.m).
    for (double curv : {0.25, kNaN}) {
      host::Array sph = host::field(8, 1e-3, 1e-6, curv);
      const bool follows = std::strcmp(name, "KVFresnelFFT") == 0;
      if (follows && !std::isnan(curv)) continue;
      EXPECT_EQ(host::call(name, 1, {one.get(), sph.get()}).error,
                follows ? "The field's curvature is not finite."
                        : "No spherical coordinates allowed. Use KVConvert first");
    }
  }

  // Header by the output rule; z = 0 gives the samples back bit for bit.
  host::Array f = host::field(16, 2e-3, 633e-9, 0, 3.7);
  for (size_t k = 0; k < 256; ++k)
    host::set(f.get(), k, cplx(std::sin(k * 0.1), std::cos(k * 0.3)));
  host::Array zero = host::scalar(0), z = host::scalar(0.01);
  for (const char* name : {"KVFresnelFFT", "KVAngularSpectrum"}) {
    host::Result r = host::call(name, 1, {zero.get(), f.get()});
    ASSERT_FALSE(r.failed) << r.error;
    ASSERT_EQ(mxGetM(r[0]), 16u);
    ASSERT_EQ(mxGetN(r[0]), 17u);
    for (size_t k = 0; k < 256; ++k) EXPECT_EQ(host::at(r[0], k), host::at(f.get(), k));
    r = host::call(name, 1, {z.get(), f.get()});
    ASSERT_FALSE(r.failed) << r.error;
    const double head[] = {2e-3, 633e-9, 16, 0, 3};
    for (int s = 0; s < 5; ++s) EXPECT_EQ(host::re(r[0], 256 + s), head[s]) << name << s;
  }

  // KVPad: the new size, the origin, and the checks of the new dimension.
  host::Array m = host::scalar(32.7);
  host::Result r = host::call("KVPad", 1, {m.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  ASSERT_EQ(mxGetM(r[0]), 32u);
  EXPECT_EQ(host::re(r[0], 32 * 32 + 0), 4e-3);
  EXPECT_EQ(host::re(r[0], 32 * 32 + 2), 32);
  EXPECT_EQ(host::re(r[0], 32 * 32 + 4), 3);
  EXPECT_EQ(host::at(r[0], 16 * 32 + 16), host::at(f.get(), 8 * 16 + 8));
  EXPECT_EQ(host::at(r[0], 0), cplx(0));
  host::Array bad_field = host::real(3, 3);
  for (double v : {7.99, -8.0, kNaN, 4294967304.0, -std::numeric_limits<double>::infinity()}) {
    host::Array n = host::scalar(v);
    EXPECT_EQ(host::call("KVPad", 1, {n.get(), f.get()}).error,
              "The minimum grid-dimension of a Korvane field is 8")
        << v;
  }
  host::Array seven = host::scalar(7);
  EXPECT_EQ(host::call("KVPad", 1, {seven.get(), host::field(8, 1, 1, 0, 0).get()}).error,
            "The minimum grid-dimension of a Korvane field is 8");
  host::Array huge = host::scalar(2147483647.0);
  EXPECT_EQ(host::call("KVPad", 1, {huge.get(), f.get()}).error,
            "Grid dimension too large: the result would not fit in memory.");
}

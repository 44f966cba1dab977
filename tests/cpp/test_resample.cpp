// KVInterpol, KVLens and KVConvert: the resampling loop and its cell
// interpolation, the thin lens shared by the lens and the conversion, and the
// three commands through the test host.
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
#include "phase/lens.h"
#include "propagation/interpol.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// A field held in vectors of exactly n*n samples, so that ASan sees any read
// past the planes.
struct Planes {
  int32_t n;
  std::vector<double> re, im;
  explicit Planes(int32_t n_) : n(n_), re(kv::samples(n_)), im(kv::samples(n_)) {}
  kv::FieldIn in(double size, double lambda = 1e-6, double curvature = 0) const {
    kv::FieldIn f{re.data(), im.data(), n, {}};
    f.h.size = size;
    f.h.lambda = lambda;
    f.h.curvature = curvature;
    return f;
  }
  kv::FieldOut out() { return kv::FieldOut{re.data(), im.data(), n}; }
  double& r(int64_t i, int64_t j) { return re[i * n + j]; }
  double& m(int64_t i, int64_t j) { return im[i * n + j]; }
};

Planes random_planes(int32_t n, unsigned seed) {
  Planes p(n);
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  for (auto& v : p.re) v = u(gen);
  for (auto& v : p.im) v = u(gen);
  return p;
}

// ---- interpolate_cell ----

TEST(InterpolateCell, CornersEdgesAndInterior) {
  // The unit cell at (2, 3) with f00 = 1, f10 = 2, f01 = 4, f11 = 8.
  const double cases[][3] = {
      {2, 3, 1},          {3, 3, 2},   {2, 4, 4}, {3, 4, 8},  // corners
      {2, 3.25, 1.75},    {2.5, 4, 6},                        // edges x = x0 and y = y0 + d
      {2.5, 3.5, 3.75},                                       // centre: the mean
      {2.25, 3.5, 3.125},  // 1*.75*.5 + 2*.25*.5 + 4*.75*.5 + 8*.25*.5
  };
  for (const auto& c : cases) {
    double v = 0;
    ASSERT_EQ(kv::interpolate_cell(2, 3, 1, 1, 2, 4, 8, c[0], c[1], &v), kv::kInterpolOk);
    EXPECT_NEAR(v, c[2], 1e-14) << c[0] << "," << c[1];
  }
}

TEST(InterpolateCell, OutsideTheCellBeyondTolerance) {
  double v = 0;
  EXPECT_EQ(kv::interpolate_cell(0, 0, 1, 1, 1, 1, 1, 1 + 2e-6, 0.5, &v), kv::kInterpolOutOfRange);
  EXPECT_EQ(kv::interpolate_cell(0, 0, 1, 1, 1, 1, 1, 0.5, -2e-6, &v), kv::kInterpolOutOfRange);
  // Within d*1e-6 of the edge the point is taken as on the edge.
  ASSERT_EQ(kv::interpolate_cell(0, 0, 1, 1, 2, 1, 2, 1 + 5e-7, 0.5, &v), kv::kInterpolOk);
  EXPECT_NEAR(v, 2, 1e-12);
}

// ---- resampling loop ----

TEST(Interpolate, IdentityCopiesInteriorAndZeroesBorder) {
  for (int32_t n : {8, 9}) {
    Planes in = random_planes(n, 7);
    Planes out(n);
    std::fill(out.re.begin(), out.re.end(), 99.0);
    ASSERT_EQ(kv::interpolate(2e-3, n, 0, 0, 0, 1, in.in(2e-3), out.out()), kv::kInterpolOk);
    for (int64_t i = 0; i < n; ++i) {
      for (int64_t j = 0; j < n; ++j) {
        const bool border = i == 0 || j == 0 || i == n - 1 || j == n - 1;
        EXPECT_NEAR(out.r(i, j), border ? 0.0 : in.r(i, j), 1e-12) << n << " " << i << "," << j;
        EXPECT_NEAR(out.m(i, j), border ? 0.0 : in.m(i, j), 1e-12) << n << " " << i << "," << j;
      }
    }
  }
}

// A field linear in x and y is reproduced exactly by bilinear interpolation,
// so the mapped values can be checked against the formula.
Planes linear_planes(int32_t n, double d) {
  Planes p(n);
  for (int64_t i = 0; i < n; ++i) {
    for (int64_t j = 0; j < n; ++j) {
      p.r(i, j) = 1 + 3 * kv::grid_x(i, n, d) + 5 * kv::grid_x(j, n, d);
      p.m(i, j) = 2 - kv::grid_x(i, n, d);
    }
  }
  return p;
}

TEST(Interpolate, MagnificationTwoHalvesAmplitudeAndDoublesExtent) {
  const int32_t n = 16;
  const double size = 1.5;  // d_in = 0.1, samples -0.8 .. 0.7
  Planes in = linear_planes(n, size / (n - 1));
  // The output grid is twice as wide, d_out = 0.2: the pattern fills it, and
  // its first and last lines fall on the input's and are 0.
  Planes out(n);
  ASSERT_EQ(kv::interpolate(3.0, n, 0, 0, 0, 2, in.in(size), out.out()), kv::kInterpolOk);
  const double lo = -8 * (size / 15), hi = 7 * (size / 15);
  for (int64_t i = 0; i < n; ++i) {
    for (int64_t j = 0; j < n; ++j) {
      const double x = kv::grid_x(i, n, 3.0 / 15) / 2, y = kv::grid_x(j, n, 3.0 / 15) / 2;
      const bool inside = x > lo && x < hi && y > lo && y < hi;
      EXPECT_EQ(inside, i != 0 && j != 0 && i != n - 1 && j != n - 1);
      EXPECT_NEAR(out.r(i, j), inside ? (1 + 3 * x + 5 * y) / 2 : 0, 1e-12);
      EXPECT_NEAR(out.m(i, j), inside ? (2 - x) / 2 : 0, 1e-12);
    }
  }
  EXPECT_NEAR(out.r(14, 8), (1 + 3 * 0.6) / 2, 1e-12);  // x = 1.2 shows the input at 0.6
}

TEST(Interpolate, ShiftRotationAndNegativeMagnification) {
  const int32_t n = 21;
  const double size = 2.0;  // d = 0.1, grid -1 .. 1
  Planes in = linear_planes(n, 0.1);
  auto value = [](double x, double y) { return 1 + 3 * x + 5 * y; };
  // Shift by (0.3, -0.2): out(x, y) = in(x - 0.3, y + 0.2).
  Planes out(n);
  ASSERT_EQ(kv::interpolate(size, n, 0.3, -0.2, 0, 1, in.in(size), out.out()), kv::kInterpolOk);
  EXPECT_NEAR(out.r(10, 10), value(-0.3, 0.2), 1e-12);
  EXPECT_NEAR(out.r(15, 5), value(0.2, -0.3), 1e-12);
  EXPECT_EQ(out.r(2, 10), 0.0);  // x - 0.3 = -1.1 lies outside
  // 90 degrees: the input's x axis runs along the output's y axis,
  // out(x, y) = in(y, -x) to the rounding of the degree factor.
  ASSERT_EQ(kv::interpolate(size, n, 0, 0, 90, 1, in.in(size), out.out()), kv::kInterpolOk);
  EXPECT_NEAR(out.r(13, 6), value(-0.4, -0.3), 1e-9);
  EXPECT_NEAR(out.r(7, 16), value(0.6, 0.3), 1e-9);
  // Magnification -1: turned by 180 degrees and negated.
  ASSERT_EQ(kv::interpolate(size, n, 0, 0, 0, -1, in.in(size), out.out()), kv::kInterpolOk);
  EXPECT_NEAR(out.r(13, 6), -value(-0.3, 0.4), 1e-12);
  EXPECT_NEAR(out.m(13, 6), -(2 + 0.3), 1e-12);
}

TEST(Interpolate, NonFiniteParametersGiveZerosOrNaNWithoutReadingOutside) {
  Planes in = random_planes(8, 3);
  Planes out(10);
  const double odd[] = {0.0, kNaN, kInf, -kInf};
  for (double v : odd) {
    std::fill(out.re.begin(), out.re.end(), 99.0);
    // Magnification 0 or non-finite shifts and angles: all zeros.
    ASSERT_EQ(kv::interpolate(1e-3, 10, 0, 0, 0, v, in.in(1e-3), out.out()), kv::kInterpolOk);
    for (double s : out.re) EXPECT_EQ(s, 0.0) << v;
    if (v == 0.0) continue;
    ASSERT_EQ(kv::interpolate(1e-3, 10, v, 0, 0, 1, in.in(1e-3), out.out()), kv::kInterpolOk);
    ASSERT_EQ(kv::interpolate(1e-3, 10, 0, 0, v, 1, in.in(1e-3), out.out()), kv::kInterpolOk);
    for (double s : out.re) EXPECT_EQ(s, 0.0) << v;
    ASSERT_EQ(kv::interpolate(v, 10, 0, 0, 0, 1, in.in(1e-3), out.out()), kv::kInterpolOk);
  }
  // An infinite or NaN input size: the cell corner is NaN, the samples NaN
  // or 0, and no read leaves the planes.
  ASSERT_EQ(kv::interpolate(1e-3, 10, 0, 0, 0, 1, in.in(kInf), out.out()), kv::kInterpolOk);
  ASSERT_EQ(kv::interpolate(1e-3, 10, 0, 0, 0, 1, in.in(kNaN), out.out()), kv::kInterpolOk);
  for (double s : out.re) EXPECT_EQ(s, 0.0);
}

TEST(Interpolate, PointRoundingOntoLastSampleLineStaysInside) {
  // N = 7, size 5.692469544347301: the largest double below the last sample
  // line, x = 2.84623477217365, gives floor(x/d + 4) - 1 = 6 = N - 1, whose
  // upper neighbour would lie past the planes. The shift puts the output's
  // centre column on that point.
  const int32_t n = 7;
  const double size = 5.692469544347301;
  const double x = 2.84623477217365;
  const double d = size / (n - 1);
  ASSERT_LT(x, (n - 1 - n / 2) * d);
  ASSERT_EQ(std::floor(x / d + n / 2 + 1) - 1, n - 1);
  Planes in = random_planes(n, 11);
  Planes out(n);
  ASSERT_EQ(kv::interpolate(size, n, -x, 0, 0, 1, in.in(size), out.out()), kv::kInterpolOk);
  for (int64_t j = 1; j < n - 1; ++j) {
    EXPECT_NEAR(out.r(n / 2, j), in.r(n - 1, j), 1e-9) << j;
    EXPECT_NEAR(out.m(n / 2, j), in.m(n - 1, j), 1e-9) << j;
  }
}

// ---- thin lens ----

TEST(ThinLens, PhaseAtHandComputedSampleAndCentre) {
  const int32_t n = 8;
  const double size = 8e-3, lambda = 1e-6, f = 2.0;  // d = 1e-3
  Planes in = random_planes(n, 2);
  Planes out(n);
  ASSERT_EQ(kv::thin_lens(f, 1e-3, -2e-3, in.in(size, lambda), out.out()), kv::kLensOk);
  // Lens centre at (1e-3, -2e-3): sample (5, 2) is unchanged.
  EXPECT_DOUBLE_EQ(out.r(5, 2), in.r(5, 2));
  EXPECT_DOUBLE_EQ(out.m(5, 2), in.m(5, 2));
  // Sample (7, 6): x = 3e-3, y = 2e-3, 2e-3 and 4e-3 from the lens centre;
  // s = 16e-6 + 4e-6 = 20e-6;
  // phi = -(s * 6.2831852 / 1e-6) / 4.
  const double phi = -(20e-6 * (6.2831852 / lambda) / (2 * f));
  const std::complex<double> expect =
      std::complex<double>(in.r(7, 6), in.m(7, 6)) * std::polar(1.0, phi);
  EXPECT_NEAR(out.r(7, 6), expect.real(), 1e-12);
  EXPECT_NEAR(out.m(7, 6), expect.imag(), 1e-12);
  for (int64_t k = 0; k < kv::samples(n); ++k) {
    EXPECT_NEAR(std::hypot(out.re[k], out.im[k]), std::hypot(in.re[k], in.im[k]), 1e-14);
  }
}

TEST(ThinLens, RefusesSphericalFieldsAndWritesNothing) {
  Planes in = random_planes(8, 4);
  for (double curvature : {0.5, -1e-9, kNaN}) {
    Planes out(8);
    EXPECT_EQ(kv::thin_lens(1, 0, 0, in.in(1e-3, 1e-6, curvature), out.out()), kv::kLensSpherical);
    for (double s : out.re) EXPECT_EQ(s, 0.0);
  }
  Planes out(8);
  EXPECT_EQ(kv::thin_lens(1, 0, 0, in.in(1e-3, 1e-6, -0.0), out.out()), kv::kLensOk);
}

// ---- the three commands through the host ----

using host::Array;
using host::call;

const char* const kNotField = "Input field is not a Korvane field.";
const char* const kNotScalar = "Input must be real scalar.";
const char* const kSphericalMsg = "No spherical coordinates allowed. Use KVConvert first";

// A field of dimension n with varied samples.
Array varied_field(int n, double size, double curvature = 0, double aux = 0) {
  Array f = host::field(n, size, 1e-6, curvature, aux);
  for (int64_t k = 0; k < kv::samples(n); ++k) {
    host::re(f.get())[k] = std::sin(0.37 * k) + 0.5;
    host::im(f.get())[k] = std::cos(0.11 * k);
  }
  return f;
}

const double* head(const mxArray* a) { return host::re(a) + mxGetM(a) * mxGetM(a); }

TEST(ResampleCommands, BannersAndCountMessages) {
  const std::string interpol =
      "*****************************************************\n\n\tKorvane for Matlab Optical "
      "Toolbox\n\n\tKVInterpol interpolates the field to a new grid\n\n\tUSAGE:\n\tFout="
      "KVInterpol(new_size,new_number,x_shift,y_shift,angle,magnification,Fin);\n\n\twith:\n\t"
      "new_size = the new grid size\n\tnew_number = the new grid dimension\n\tx_shift, y_shift "
      "= shift of the field from the centre\n\tangle = rotation of the field\n\tmagnification = "
      "the magnification of the field\n\tFin  = input field\n\tFout = output field\n"
      "*****************************************************\n\n";
  const std::string stars(100, '*');
  const std::string lens = stars +
                           "\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVLens propagates "
                           "the field through a lens.\n\n\tUSAGE:\n\tFout=KVLens(f,x_shift,"
                           "y_shift,Fin);\n\n\twith:\n\tf                = focal length of the "
                           "lens\n\tx_shift, y_shift = displacement from the centre\n\tFin     "
                           "         = the input field\n\tFout             = the output field\n\n" +
                           stars + "\n\n";
  const std::string convert =
      "*****************************************************\n\n\tKorvane for Matlab Optical "
      "Toolbox\n\n\tKVConvert converts from spherical coordinates to normal coordinates.\n\n\t"
      "USAGE:\n\tFout = KVConvert(Fin);\n\n\twith:\n\tFin  = input field\n\tFout = output "
      "field\n*****************************************************\n\n";
  Array f = host::field(8);
  Array s = host::scalar(1);
  const mxArray* fp = f.get();
  const mxArray* sp = s.get();
  struct Case {
    const char* name;
    const std::string& banner;
    std::vector<const mxArray*> args;
    int nlhs;
    const char* msg;  // nullptr: banner only
  } cases[] = {
      {"KVInterpol", interpol, {}, 1, nullptr},
      {"KVInterpol", interpol, {sp, sp, sp, sp, sp, fp}, 1, "expects seven input arguments"},
      {"KVInterpol", interpol, {sp, sp, sp, sp, sp, sp, fp}, 2, "expects one output argument"},
      {"KVLens", lens, {}, 0, nullptr},
      {"KVLens", lens, {sp, sp, fp}, 1, "expects four input arguments"},
      {"KVLens", lens, {sp, sp, sp, fp}, 0, "expects one output argument"},
      {"KVConvert", convert, {}, 1, nullptr},
      {"KVConvert", convert, {fp, fp}, 1, "expects one input argument"},
      {"KVConvert", convert, {fp}, 2, "expects one output argument"},
  };
  for (const Case& c : cases) {
    host::Result r = call(c.name, c.nlhs, c.args);
    EXPECT_EQ(r.printed, c.banner) << c.name;
    EXPECT_EQ(r.failed, c.msg != nullptr) << c.name;
    if (c.msg) {
      EXPECT_EQ(r.error, c.msg) << c.name;
    }
  }
}

TEST(ResampleCommands, LensYShiftIsReadWithoutTheScalarTest) {
  Array f = varied_field(8, 8e-3);
  Array f1 = host::scalar(2.0), x = host::scalar(1e-3), y = host::scalar(-2e-3);
  host::Result ref = call("KVLens", 1, {f1.get(), x.get(), y.get(), f.get()});
  ASSERT_FALSE(ref.failed) << ref.error;
  // A 1x3 array gives its first element.
  Array y3 = host::real(1, 3, {-2e-3, 5, 7});
  host::Result r = call("KVLens", 1, {f1.get(), x.get(), y3.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(0, std::memcmp(host::re(r[0]), host::re(ref[0]), 64 * sizeof(double)));
  EXPECT_EQ(0, std::memcmp(host::im(r[0]), host::im(ref[0]), 64 * sizeof(double)));
  // An empty array or a string has no value to read.
  Array empty = host::real(0, 0), str = host::string("a");
  EXPECT_EQ(call("KVLens", 1, {f1.get(), x.get(), empty.get(), f.get()}).error, kNotScalar);
  EXPECT_EQ(call("KVLens", 1, {f1.get(), x.get(), str.get(), f.get()}).error, kNotScalar);
  // f and x_shift are put to the test.
  Array pair = host::real(1, 2);
  EXPECT_EQ(call("KVLens", 1, {pair.get(), x.get(), y.get(), f.get()}).error, kNotScalar);
  EXPECT_EQ(call("KVLens", 1, {f1.get(), pair.get(), y.get(), f.get()}).error, kNotScalar);
}

TEST(ResampleCommands, LensHeaderAndSphericalRefusal) {
  Array f = varied_field(8, 8e-3, 0, 2.5);
  Array f1 = host::scalar(2.0), zero = host::scalar(0);
  host::Result r = call("KVLens", 1, {f1.get(), zero.get(), zero.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(head(r[0])[kv::kAux], 2.0);
  EXPECT_EQ(head(r[0])[kv::kSize], 8e-3);
  EXPECT_EQ(head(r[0])[kv::kN], 8.0);
  EXPECT_EQ(host::re(r[0])[4 * 8 + 4], host::re(f.get())[4 * 8 + 4]);  // the lens centre
  for (double curvature : {0.5, std::nan("")}) {
    Array sph = varied_field(8, 8e-3, curvature);
    host::Result bad = call("KVLens", 1, {f1.get(), zero.get(), zero.get(), sph.get()});
    EXPECT_TRUE(bad.failed);
    EXPECT_EQ(bad.error, kSphericalMsg);
    EXPECT_TRUE(bad.out.empty());
  }
}

TEST(ResampleCommands, ConvertPhaseHeaderAndIdempotence) {
  const int n = 8;
  const double size = 8e-3, c = 0.25, lambda = 1e-6;
  Array f = varied_field(n, size, c, 3.7);
  host::Result r = call("KVConvert", 1, {f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  const mxArray* o = r[0];
  EXPECT_EQ(head(o)[kv::kCurvature], 0.0);
  EXPECT_EQ(head(o)[kv::kAux], 3.0);
  EXPECT_EQ(head(f.get())[kv::kCurvature], c);  // the input is untouched
  const int64_t centre = (n / 2) * n + n / 2;
  EXPECT_EQ(host::re(o)[centre], host::re(f.get())[centre]);
  EXPECT_EQ(host::im(o)[centre], host::im(f.get())[centre]);
  // x = size/N, y = 0: sample (N/2 + 1, N/2).
  const int64_t k = (n / 2 + 1) * n + n / 2;
  const double dx = size / n;
  const std::complex<double> want =
      std::complex<double>(host::re(f.get())[k], host::im(f.get())[k]) *
      std::polar(1.0, (6.2831852 / lambda) * c * dx * dx / 2);
  EXPECT_NEAR(host::re(o)[k], want.real(), 1e-12);
  EXPECT_NEAR(host::im(o)[k], want.imag(), 1e-12);

  // Converting again changes nothing but what the output rule writes.
  host::Result twice = call("KVConvert", 1, {o});
  ASSERT_FALSE(twice.failed);
  EXPECT_EQ(0, std::memcmp(host::re(twice[0]), host::re(o), (n * n + 5) * sizeof(double)));
  EXPECT_EQ(0, std::memcmp(host::im(twice[0]), host::im(o), n * n * sizeof(double)));

  // A NaN curvature: every sample NaN, and the result is in normal coordinates.
  Array nan = varied_field(n, size, std::nan(""));
  host::Result rn = call("KVConvert", 1, {nan.get()});
  ASSERT_FALSE(rn.failed);
  for (int64_t s = 0; s < n * n; ++s) EXPECT_TRUE(std::isnan(host::re(rn[0])[s])) << s;
  EXPECT_EQ(head(rn[0])[kv::kCurvature], 0.0);
}

TEST(ResampleCommands, InterpolNewNumberAndHeader) {
  Array f = varied_field(8, 1e-3, 0.75, 4.9);
  Array size = host::scalar(2e-3), zero = host::scalar(0), one = host::scalar(1);
  auto run = [&](double number) {
    Array num = host::scalar(number);
    return call("KVInterpol", 1,
                {size.get(), num.get(), zero.get(), zero.get(), zero.get(), one.get(), f.get()});
  };
  host::Result r = run(5.9);
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(mxGetM(r[0]), 5u);
  EXPECT_EQ(mxGetN(r[0]), 6u);
  EXPECT_TRUE(mxIsComplex(r[0]));
  EXPECT_EQ(head(r[0])[kv::kSize], 2e-3);
  EXPECT_EQ(head(r[0])[kv::kLambda], 1e-6);
  EXPECT_EQ(head(r[0])[kv::kN], 5.0);
  EXPECT_EQ(head(r[0])[kv::kCurvature], 0.75);
  EXPECT_EQ(head(r[0])[kv::kAux], 4.0);

  for (double bad : {4.99, 0.0, -7.0, std::nan(""), -1e10}) {
    host::Result e = run(bad);
    EXPECT_TRUE(e.failed) << bad;
    EXPECT_EQ(e.error, "new_number must be at least 5.") << bad;
    EXPECT_TRUE(e.out.empty());
  }
  // Too large to allocate: a clear message, nothing returned.
  for (double huge : {2147483647.0, 1e9, 1e10, kInf}) {
    host::Result e = run(huge);
    EXPECT_TRUE(e.failed) << huge;
    EXPECT_EQ(e.error, "Grid dimension too large: the result would not fit in memory.") << huge;
    EXPECT_TRUE(e.out.empty());
  }
  // A bad scalar is reported before a bad field.
  Array pair = host::real(1, 2), real = host::real(8, 9);
  EXPECT_EQ(
      call("KVInterpol", 1,
           {size.get(), size.get(), zero.get(), zero.get(), pair.get(), one.get(), real.get()})
          .error,
      kNotScalar);
  Array nine = host::scalar(9);
  Array short_field = host::complex(8, 8);
  EXPECT_EQ(call("KVInterpol", 1,
                 {size.get(), nine.get(), zero.get(), zero.get(), zero.get(), one.get(),
                  short_field.get()})
                .error,
            kNotField);
}

}  // namespace

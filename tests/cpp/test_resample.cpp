// KVInterpol, KVLens and KVConvert: the cell interpolation and the resampling
// loop, then the three commands through the test host.
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
#include "propagation/interpol.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Exactly n*n samples, so that ASan sees any read past them.
struct Grid {
  int32_t n;
  std::vector<kv::cplx> z;
  explicit Grid(int32_t n_) : n(n_), z(static_cast<size_t>(kv::samples(n_))) {}
  kv::FieldIn in(double size) const {
    return kv::FieldIn{z.data(), nullptr, n, {size, 1e-6, 0, 0}};
  }
  kv::FieldOut out() { return kv::FieldOut{z.data(), n}; }
  // The real and imaginary part of sample (i, j), as std::complex lays them out.
  double& r(int64_t i, int64_t j) { return reinterpret_cast<double(&)[2]>(z[i * n + j])[0]; }
  double& m(int64_t i, int64_t j) { return reinterpret_cast<double(&)[2]>(z[i * n + j])[1]; }
};

Grid random_grid(int32_t n, unsigned seed) {
  Grid p(n);
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  for (auto& v : p.z) v.real(u(gen));
  for (auto& v : p.z) v.imag(u(gen));
  return p;
}

// A field linear in x and y, which bilinear interpolation reproduces exactly.
double linear(double x, double y) { return 1 + 3 * x + 5 * y; }
Grid linear_grid(int32_t n, double d) {
  Grid p(n);
  for (int64_t i = 0; i < n; ++i)
    for (int64_t j = 0; j < n; ++j) {
      p.r(i, j) = linear(kv::grid_x(i, n, d), kv::grid_x(j, n, d));
      p.m(i, j) = 2 - kv::grid_x(i, n, d);
    }
  return p;
}

}  // namespace

TEST(InterpolateCell, CornersEdgesInteriorAndRange) {
  // The unit cell at (2, 3) with f00 = 1, f10 = 2, f01 = 4, f11 = 8.
  const double cases[][3] = {
      {2, 3, 1},          {3, 3, 2},   {2, 4, 4}, {3, 4, 8},  // corners
      {2, 3.25, 1.75},    {2.5, 4, 6},                        // edges x = x0 and y = y0 + d
      {2.5, 3.5, 3.75},                                       // centre: the mean
      {2.25, 3.5, 3.125},  // 1*.75*.5 + 2*.25*.5 + 4*.75*.5 + 8*.25*.5
      {3 + 5e-7, 3.5, 5},  // within d*1e-6 of the edge x = x0 + d
  };
  double v = 0;
  for (const auto& c : cases) {
    ASSERT_EQ(kv::interpolate_cell(2, 3, 1, 1, 2, 4, 8, c[0], c[1], &v), kv::kInterpolOk);
    EXPECT_NEAR(v, c[2], 1e-12) << c[0] << "," << c[1];
  }
  EXPECT_EQ(kv::interpolate_cell(2, 3, 1, 1, 2, 4, 8, 3 + 2e-6, 3.5, &v), kv::kInterpolOutOfRange);
  EXPECT_EQ(kv::interpolate_cell(2, 3, 1, 1, 2, 4, 8, 2.5, 3 - 2e-6, &v), kv::kInterpolOutOfRange);
}

TEST(Interpolate, IdentityCopiesInteriorAndZeroesBorder) {
  for (int32_t n : {8, 9}) {
    Grid in = random_grid(n, 7), out(n);
    std::fill(out.z.begin(), out.z.end(), kv::cplx(99.0, 99.0));
    ASSERT_EQ(kv::interpolate(2e-3, n, 0, 0, 0, 1, in.in(2e-3), out.out()), kv::kInterpolOk);
    for (int64_t i = 0; i < n; ++i)
      for (int64_t j = 0; j < n; ++j) {
        const bool border = i == 0 || j == 0 || i == n - 1 || j == n - 1;
        EXPECT_NEAR(out.r(i, j), border ? 0.0 : in.r(i, j), 1e-12) << n << " " << i << "," << j;
        EXPECT_NEAR(out.m(i, j), border ? 0.0 : in.m(i, j), 1e-12) << n << " " << i << "," << j;
      }
  }
}

TEST(Interpolate, MagnificationShiftRotationAndSign) {
  // Grid -1 .. 1 in steps of 0.1 (N = 21). Each case gives an output sample
  // and the input point it shows: out = in(R*(p - shift)/mag)/mag.
  const int32_t n = 21;
  Grid in = linear_grid(n, 0.1);
  const struct {
    double new_size, xs, ys, angle, mag;
    int i, j;
    double x, y;  // the input point shown at output sample (i, j); x = inf: none
  } cases[] = {
      {4, 0, 0, 0, 2, 16, 8, 0.6, -0.2},        // d_out = 0.2: twice the extent
      {4, 0, 0, 0, 2, 19, 10, 0.9, 0},          //
      {2, 0.3, -0.2, 0, 1, 10, 10, -0.3, 0.2},  // shifted
      {2, 0.3, -0.2, 0, 1, 15, 5, 0.2, -0.3},   //
      {2, 0.3, -0.2, 0, 1, 2, 10, kInf, 0},     // x - 0.3 = -1.1 lies outside
      {2, 0, 0, 90, 1, 13, 6, -0.4, -0.3},      // the input's x axis along the output's y
      {2, 0, 0, 90, 1, 7, 16, 0.6, 0.3},        //
      {2, 0, 0, 0, -1, 13, 6, -0.3, 0.4},       // turned by 180 degrees, negated
      {2, 0, 0, 0, 1, 20, 10, kInf, 0},         // on the last sample line
  };
  for (const auto& c : cases) {
    Grid out(n);
    ASSERT_EQ(kv::interpolate(c.new_size, n, c.xs, c.ys, c.angle, c.mag, in.in(2), out.out()),
              kv::kInterpolOk);
    const bool outside = std::isinf(c.x);
    EXPECT_NEAR(out.r(c.i, c.j), outside ? 0 : linear(c.x, c.y) / c.mag, 1e-9) << c.i << "," << c.j;
    EXPECT_NEAR(out.m(c.i, c.j), outside ? 0 : (2 - c.x) / c.mag, 1e-9) << c.i << "," << c.j;
  }
}

TEST(Interpolate, NonFiniteParametersReadNothingOutside) {
  Grid in = random_grid(8, 3), out(10);
  for (double v : {0.0, kNaN, kInf, -kInf}) {
    // Magnification 0 or non-finite, non-finite shifts and angles: zeros.
    for (int arg = 0; arg < 3; ++arg) {
      if (arg > 0 && v == 0.0) continue;
      std::fill(out.z.begin(), out.z.end(), kv::cplx(99.0, 99.0));
      ASSERT_EQ(kv::interpolate(1e-3, 10, arg == 1 ? v : 0, 0, arg == 2 ? v : 0, arg == 0 ? v : 1,
                                in.in(1e-3), out.out()),
                kv::kInterpolOk);
      for (const kv::cplx& s : out.z) EXPECT_EQ(s, kv::cplx(0.0, 0.0)) << v << " " << arg;
    }
    ASSERT_EQ(kv::interpolate(v, 10, 0, 0, 0, 1, in.in(1e-3), out.out()), kv::kInterpolOk);
  }
  // An infinite or NaN input size: NaN cell corners, no read outside.
  ASSERT_EQ(kv::interpolate(1e-3, 10, 0, 0, 0, 1, in.in(kInf), out.out()), kv::kInterpolOk);
  ASSERT_EQ(kv::interpolate(1e-3, 10, 0, 0, 0, 1, in.in(kNaN), out.out()), kv::kInterpolOk);
}

TEST(Interpolate, PointRoundingOntoLastSampleLineStaysInside) {
  // N = 7: the largest double below the last sample line gives
  // floor(x/d + 4) - 1 = N - 1, whose upper neighbour lies past the samples.
  // The shift puts the output's centre column on that point.
  const int32_t n = 7;
  const double size = 5.692469544347301, x = 2.84623477217365, d = size / (n - 1);
  ASSERT_LT(x, (n - 1 - n / 2) * d);
  ASSERT_EQ(std::floor(x / d + n / 2 + 1) - 1, n - 1);
  Grid in = random_grid(n, 11), out(n);
  ASSERT_EQ(kv::interpolate(size, n, -x, 0, 0, 1, in.in(size), out.out()), kv::kInterpolOk);
  for (int64_t j = 1; j < n - 1; ++j) {
    EXPECT_NEAR(out.r(n / 2, j), in.r(n - 1, j), 1e-9) << j;
    EXPECT_NEAR(out.m(n / 2, j), in.m(n - 1, j), 1e-9) << j;
  }
}

TEST(Interpolate, NarrowedRealFieldGivesTheSameBitsAsZeroImaginaryParts) {
  // Octave hands over a field whose imaginary parts are all zero as a real
  // array. Shifted, rotated and magnified, its result must carry the very bits
  // of the complex field with +0 imaginary parts.
  const int32_t n = 13;
  Grid in = random_grid(n, 5);
  std::vector<double> re(in.z.size());
  for (size_t k = 0; k < re.size(); ++k) in.z[k].imag(0.0), re[k] = in.z[k].real();
  const kv::FieldIn narrowed{nullptr, re.data(), n, {2e-3, 1e-6, 0, 0}};
  for (double angle : {0.0, 17.0, -90.0}) {
    Grid a(11), b(11);
    ASSERT_EQ(kv::interpolate(2.5e-3, 11, 1e-4, -2e-4, angle, 0.8, in.in(2e-3), a.out()),
              kv::kInterpolOk);
    ASSERT_EQ(kv::interpolate(2.5e-3, 11, 1e-4, -2e-4, angle, 0.8, narrowed, b.out()),
              kv::kInterpolOk);
    EXPECT_EQ(std::memcmp(a.z.data(), b.z.data(), a.z.size() * sizeof(kv::cplx)), 0) << angle;
    EXPECT_NE(a.r(5, 5), 0.0);
  }
}

// ---- the three commands through the host ----

using host::Array;
using host::call;

const char* const kNotScalar = "Input must be real scalar.";

// A field of dimension n with varied samples.
Array varied_field(int n, double size, double curvature = 0, double aux = 0) {
  Array f = host::field(n, size, 1e-6, curvature, aux);
  for (int64_t k = 0; k < kv::samples(n); ++k)
    host::set(f.get(), k, host::cplx(std::sin(0.37 * k) + 0.5, std::cos(0.11 * k)));
  return f;
}

std::vector<double> header(const mxArray* a) {
  std::vector<double> h;
  for (size_t s = 0; s < 5; ++s) h.push_back(host::re(a, mxGetM(a) * mxGetM(a) + s));
  return h;
}
// The real parts of the samples, then their imaginary parts.
std::vector<double> samples(const mxArray* a) {
  const size_t count = mxGetM(a) * mxGetM(a);
  std::vector<double> v;
  for (size_t k = 0; k < count; ++k) v.push_back(host::re(a, k));
  for (size_t k = 0; k < count; ++k) v.push_back(host::im(a, k));
  return v;
}

TEST(ResampleCommands, BannersAndInputCounts) {
  Array f = host::field(8), s = host::scalar(1);
  const mxArray *fp = f.get(), *sp = s.get();
  const struct {
    const char *name, *usage, *msg;
    size_t stars;
    std::vector<const mxArray*> args;
  } cases[] = {
      {"KVInterpol",
       "(new_size,new_number,x_shift,y_shift,angle,magnification,Fin);\n",
       "expects seven input arguments",
       53,
       {sp, sp, sp, sp, sp, fp}},
      {"KVLens", "(f,x_shift,y_shift,Fin);\n", "expects four input arguments", 100, {sp, sp, fp}},
      {"KVConvert", "(Fin);\n", "expects one input argument", 53, {fp, fp}},
  };
  for (const auto& c : cases) {
    const std::string stars(c.stars, '*');
    const std::string text = call(c.name, 1, {}).printed;
    EXPECT_EQ(text.rfind(stars + "\n\n\tKorvane for Matlab Optical Toolbox\n", 0), 0u) << c.name;
    EXPECT_NE(text.find(std::string(c.name) + c.usage), std::string::npos) << c.name;
    EXPECT_EQ(text.substr(text.size() - c.stars - 2), stars + "\n\n") << c.name;
    host::Result r = call(c.name, 1, c.args);
    EXPECT_EQ(r.printed, text) << c.name;
    EXPECT_EQ(r.error, c.msg) << c.name;
  }
}

TEST(ResampleCommands, LensArgumentsHeaderAndSphericalRefusal) {
  Array f = varied_field(8, 8e-3, 0, 2.5);
  Array f1 = host::scalar(2.0), x = host::scalar(1e-3), y = host::scalar(-2e-3);
  host::Result ref = call("KVLens", 1, {f1.get(), x.get(), y.get(), f.get()});
  ASSERT_FALSE(ref.failed) << ref.error;
  EXPECT_EQ(header(ref[0]), (std::vector<double>{8e-3, 1e-6, 8, 0, 2}));
  // d = 1e-3: the lens centre is sample (5, 2) and keeps its value; sample
  // (7, 6) lies 2e-3 and 4e-3 from it, s = 20e-6, phi = -(s*6.2831852e6)/4.
  EXPECT_EQ(host::at(ref[0], 42), host::at(f.get(), 42));
  const std::complex<double> want =
      host::at(f.get(), 62) * std::polar(1.0, -20e-6 * 6.2831852e6 / 4);
  EXPECT_NEAR(host::re(ref[0], 62), want.real(), 1e-12);
  EXPECT_NEAR(host::im(ref[0], 62), want.imag(), 1e-12);
  // y_shift is read without the real-scalar test: a 1x3 array gives its
  // first element; an empty array or a string has no value to read.
  Array y3 = host::real(1, 3, {-2e-3, 5, 7});
  EXPECT_EQ(samples(call("KVLens", 1, {f1.get(), x.get(), y3.get(), f.get()})[0]), samples(ref[0]));
  Array empty = host::real(0, 0), str = host::string("a"), pair = host::real(1, 2);
  for (const std::vector<const mxArray*>& args :
       {std::vector<const mxArray*>{f1.get(), x.get(), empty.get(), f.get()},
        {f1.get(), x.get(), str.get(), f.get()},
        {pair.get(), x.get(), y.get(), f.get()},
        {f1.get(), pair.get(), y.get(), f.get()}})
    EXPECT_EQ(call("KVLens", 1, args).error, kNotScalar);
  // Any curvature but 0 (NaN too) is refused; -0 is 0.
  for (double curvature : {0.5, -1e-300, kNaN, -0.0}) {
    Array sph = varied_field(8, 8e-3, curvature);
    host::Result res = call("KVLens", 1, {f1.get(), x.get(), y.get(), sph.get()});
    EXPECT_EQ(res.error,
              curvature == 0 ? "" : "No spherical coordinates allowed. Use KVConvert first");
    EXPECT_EQ(res.out.empty(), curvature != 0);
  }
}

TEST(ResampleCommands, ConvertPhaseHeaderAndIdempotence) {
  const double c = 0.25, dx = 8e-3 / 8;
  Array f = varied_field(8, 8e-3, c, 3.7);
  host::Result r = call("KVConvert", 1, {f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  const mxArray* o = r[0];
  EXPECT_EQ(header(o), (std::vector<double>{8e-3, 1e-6, 8, 0, 3}));
  EXPECT_EQ(header(f.get())[kv::kCurvature], c);      // the input is untouched
  EXPECT_EQ(host::re(o, 36), host::re(f.get(), 36));  // the centre
  // Sample (N/2 + 1, N/2) at x = size/N, y = 0.
  const std::complex<double> want =
      host::at(f.get(), 44) * std::polar(1.0, (6.2831852 / 1e-6) * c * dx * dx / 2);
  EXPECT_NEAR(host::re(o, 44), want.real(), 1e-12);
  EXPECT_NEAR(host::im(o, 44), want.imag(), 1e-12);
  // Converting again changes nothing.
  host::Result twice = call("KVConvert", 1, {o});
  EXPECT_EQ(samples(twice[0]), samples(o));
  EXPECT_EQ(header(twice[0]), header(o));
  // A NaN curvature: every sample NaN, the result in normal coordinates.
  Array nan = varied_field(8, 8e-3, kNaN);
  host::Result rn = call("KVConvert", 1, {nan.get()});
  for (double v : samples(rn[0])) EXPECT_TRUE(std::isnan(v));
  EXPECT_EQ(header(rn[0])[kv::kCurvature], 0.0);
}

TEST(ResampleCommands, InterpolNewNumberAndHeader) {
  Array f = varied_field(8, 1e-3, 0.75, 4.9);
  Array size = host::scalar(2e-3), zero = host::scalar(0), one = host::scalar(1);
  auto run = [&](double number, const mxArray* angle, const mxArray* field) {
    Array num = host::scalar(number);
    return call("KVInterpol", 1,
                {size.get(), num.get(), zero.get(), zero.get(), angle, one.get(), field});
  };
  host::Result r = run(5.9, zero.get(), f.get());
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(mxGetN(r[0]), 6u);
  EXPECT_EQ(header(r[0]), (std::vector<double>{2e-3, 1e-6, 5, 0.75, 4}));
  // Below 5 there is no room for the header; beyond 32 bits, or too large
  // to allocate, no memory: a message and nothing returned.
  for (double bad : {4.99, 0.0, -7.0, kNaN, -1e10, 2147483647.0, 1e9, 1e10, kInf}) {
    host::Result e = run(bad, zero.get(), f.get());
    EXPECT_EQ(e.error, bad >= 5 ? "Grid dimension too large: the result would not fit in memory."
                                : "new_number must be at least 5.")
        << bad;
    EXPECT_TRUE(e.out.empty());
  }
  // A bad scalar is reported before a bad field, and the field's shape after
  // new_number.
  Array pair = host::real(1, 2), real = host::real(8, 9), bad = host::complex(8, 8);
  EXPECT_EQ(run(9, pair.get(), real.get()).error, kNotScalar);
  EXPECT_EQ(run(4, zero.get(), real.get()).error, "Input field is not a Korvane field.");
  EXPECT_EQ(run(4, zero.get(), bad.get()).error, "new_number must be at least 5.");
  EXPECT_EQ(run(9, zero.get(), bad.get()).error, "Input field is not a Korvane field.");
}

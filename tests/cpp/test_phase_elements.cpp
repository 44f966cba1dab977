// Tilt, axicon and Zernike phases against closed forms, and the rules of
// their own arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstring>
#include <utility>
#include <vector>

#include "host.h"
#include "phase/zernike.h"

using host::Array;
using host::call;

namespace {

// A field of dimension 8 on a unit grid (size 8): sample (x, y) sits at
// index (x + 4)*8 + y + 4. Samples vary in amplitude and phase.
Array test_field(double lambda = 1.0, double curvature = 0.0) {
  Array f = host::field(8, 8.0, lambda, curvature, 0);
  for (size_t k = 0; k < 64; ++k) host::set(f.get(), k, {1.0 + 0.01 * k, -0.5 + 0.02 * k});
  return f;
}

int at(int x, int y) { return (x + 4) * 8 + (y + 4); }

std::complex<double> sample(const mxArray* a, int k) { return host::at(a, static_cast<size_t>(k)); }

// The first `count` elements of a and b hold the same bits.
bool same_bits(const mxArray* a, const mxArray* b, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    const std::complex<double> x = host::at(a, k), y = host::at(b, k);
    if (std::memcmp(&x, &y, sizeof x) != 0) return false;
  }
  return true;
}

// The phase a command added at sample k (out / in); the amplitude must keep.
double added_phase(const mxArray* out, const mxArray* in, int k) {
  EXPECT_NEAR(std::abs(sample(out, k)), std::abs(sample(in, k)), 1e-14) << k;
  return std::arg(sample(out, k) / sample(in, k));
}

host::Result run(const char* name, std::vector<double> scalars, const mxArray* f) {
  std::vector<Array> keep;
  std::vector<const mxArray*> args;
  for (double v : scalars) {
    keep.push_back(host::scalar(v));
    args.push_back(keep.back().get());
  }
  args.push_back(f);
  return call(name, 1, args);
}

// The radial polynomial summed the slow way, factorials per term.
double radial_reference(int n, int m, double rho) {
  const int k = std::abs(m);
  double sum = 0.0, sign = 1.0;
  for (int s = 0; s <= (n - k) / 2; ++s) {
    const double p = n - 2 * s == 0 ? 1.0 : std::pow(rho, n - 2 * s);
    sum += (sign * kv::factorial(n - s) * p) /
           (kv::factorial((n - k) / 2 - s) * (kv::factorial((n + k) / 2 - s) * kv::factorial(s)));
    sign = -sign;
  }
  return sum;
}

}  // namespace

TEST(Axicon, YShiftReadAsGivenAndSphericalFieldsRefused) {
  Array f = test_field();
  Array phi = host::scalar(3.0), n1 = host::scalar(1.5), xs = host::scalar(0);
  Array real2 = host::scalar(2.0), row = host::real(1, 2, {2.0, 9.0}), str = host::string("a");
  host::Result ref = call("KVAxicon", 1, {phi.get(), n1.get(), xs.get(), real2.get(), f.get()});
  host::Result r = call("KVAxicon", 1, {phi.get(), n1.get(), xs.get(), row.get(), f.get()});
  ASSERT_FALSE(r.failed || ref.failed) << r.error;
  EXPECT_TRUE(same_bits(r[0], ref[0], 72));
  EXPECT_EQ(call("KVAxicon", 1, {phi.get(), n1.get(), xs.get(), str.get(), f.get()}).error,
            "Input must be real scalar.");

  const long before = host::live_arrays();
  for (double curv : {1e-3, -2.0, double(NAN)}) {
    host::Result r = run("KVAxicon", {3.0, 1.5, 0, 0}, test_field(1.0, curv).get());
    EXPECT_EQ(r.error, "No spherical coordinates allowed. Use KVConvert first") << curv;
    EXPECT_FALSE(r.swallowed);
  }
  EXPECT_EQ(host::live_arrays(), before);
  // The other phase elements carry curvature through.
  Array sph = test_field(1.0, 0.25);
  EXPECT_EQ(host::re(run("KVTilt", {0.1, 0.2}, sph.get())[0], 64 + 3), 0.25);
  EXPECT_EQ(host::re(run("KVZernike", {2, 0, 3, 1}, sph.get())[0], 64 + 3), 0.25);
}

TEST(Tilt, LinearPhase) {
  Array f = test_field(0.5);
  host::Result zero = run("KVTilt", {0, 0}, f.get());
  EXPECT_TRUE(same_bits(zero[0], f.get(), 64));

  // k = 6.283185308 / 0.5; x goes with the outer index, y with the inner.
  host::Result r = run("KVTilt", {0.01, -0.03}, f.get());
  EXPECT_EQ(sample(r[0], at(0, 0)), sample(f.get(), at(0, 0)));
  EXPECT_NEAR(added_phase(r[0], f.get(), at(1, 0)), -0.12566370616, 1e-12);
  EXPECT_NEAR(added_phase(r[0], f.get(), at(0, 1)), 0.37699111848, 1e-12);
  EXPECT_NEAR(added_phase(r[0], f.get(), at(-3, 2)), 1.13097335544, 1e-12);
}

TEST(Axicon, ConicalPhase) {
  Array f = test_field(1.0);
  // theta = asin(cos(1.5)*1.5 + 1.5 - 1.5707963), g = theta*6.2831852.
  const double g = 0.0353168437059 * 6.2831852;
  host::Result r = run("KVAxicon", {3.0, 1.5, 1, -2}, f.get());
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(sample(r[0], at(1, -2)), sample(f.get(), at(1, -2)));  // the tip
  for (int x : {-4, 0, 3}) {
    for (int y : {-4, -2, 3}) {
      const double phase = -std::hypot(x - 1.0, y + 2.0) * g;
      EXPECT_NEAR(added_phase(r[0], f.get(), at(x, y)), phase, 1e-11) << x << " " << y;
    }
  }
  // A flat plate leaves the field all but unchanged.
  host::Result flat = run("KVAxicon", {2 * 1.5707963, 1.5, 0, 0}, f.get());
  for (int s = 0; s < 64; ++s) EXPECT_NEAR(added_phase(flat[0], f.get(), s), 0.0, 1e-5);
  // No arcsine: every sample is NaN, and no error.
  host::Result bad = run("KVAxicon", {1.0, 3.0, 0, 0}, f.get());
  ASSERT_FALSE(bad.failed);
  for (size_t s = 0; s < 64; ++s) EXPECT_TRUE(std::isnan(host::re(bad[0], s)));
}

TEST(Zernike, LowOrdersAgainstClosedForms) {
  Array f = test_field();
  const double a = 0.3;
  struct Case {
    double n, m, radius;
    double (*z)(double x, double y);  // in units of R = 4
  } cases[] = {
      {0, 0, 4, [](double, double) { return 1.0; }},
      {1, 1, 4, [](double, double y) { return y / 4; }},
      {1, -1, -4, [](double x, double) { return x / 4; }},
      {2, 0, 4, [](double x, double y) { return 2 * (x * x + y * y) / 16 - 1; }},
      {2.9, -0.5, 4, [](double x, double y) { return 2 * (x * x + y * y) / 16 - 1; }},
      {2, 2, 4, [](double x, double y) { return 2 * x * y / 16; }},
      {2, -2, 4, [](double x, double y) { return (x * x - y * y) / 16; }},
      {3, -1, 4, [](double x, double y) { return (3 * (x * x + y * y) / 16 - 2) * x / 4; }},
  };
  for (const Case& c : cases) {
    host::Result out = run("KVZernike", {c.n, c.m, c.radius, a}, f.get());
    ASSERT_FALSE(out.failed) << out.error;
    for (int x = -4; x < 4; ++x) {
      for (int y = -4; y < 4; ++y) {
        // The stored quarter-turn angles differ from pi/2 and 3pi/2 by ~1e-10.
        EXPECT_NEAR(added_phase(out[0], f.get(), at(x, y)), a * c.z(x, y), 1e-9)
            << c.n << " " << c.m << " at " << x << "," << y;
      }
    }
  }
  // On the line x = 0 the stored quarter turns 1.570796327 and 4.712388981
  // stand for the angle: cos(m*theta) there is -2.051e-10 above the centre
  // and 6.154e-10 below it.
  host::Result line = run("KVZernike", {1, -1, 3, 1e3}, f.get());
  EXPECT_NEAR(added_phase(line[0], f.get(), at(0, 3)), -2.0510343e-7, 1e-13);
  EXPECT_NEAR(added_phase(line[0], f.get(), at(0, -3)), 6.1531029e-7, 1e-13);
}

TEST(Zernike, OrderMessages) {
  Array f = test_field();
  const char* kFirst = "first argument must be larger than zero";
  const char* kArg = "argument must be larger than zero";
  struct Case {
    double n, m;
    const char* msg;
  } cases[] = {{2, 1, kArg},     {1, 3, kArg},     {1, -3, kArg},         {-1, 1, kFirst},
               {NAN, 0, kFirst}, {5, -3e9, kArg},  {2147483647, 2, kArg}, {-0.9, 0, nullptr},
               {4, -4, nullptr}, {0, 0.9, nullptr}};
  for (const Case& c : cases) {
    host::Result r = run("KVZernike", {c.n, c.m, 1, 1}, f.get());
    EXPECT_EQ(r.error, c.msg ? c.msg : "") << c.n << " " << c.m;
    EXPECT_TRUE(r.printed.empty());
  }
  // A malformed field is reported before the orders.
  Array notfield = host::complex(8, 8);
  EXPECT_EQ(run("KVZernike", {-1, 1, 1, 1}, notfield.get()).error,
            "Input field is not a Korvane field.");
}

TEST(Zernike, FactorialsOnceSameValues) {
  EXPECT_EQ(kv::factorial(0), 1.0);
  EXPECT_EQ(kv::factorial(22), 1124000727777607680000.0);
  EXPECT_TRUE(std::isfinite(kv::factorial(170)) && std::isinf(kv::factorial(171)));
  // The precomputed polynomial gives the very doubles of the per-term sum.
  for (int n : {0, 1, 2, 7, 24, 45, 101, 170}) {
    for (int m : {n, -n, n - 2, 2 - n, n % 2}) {
      if (kv::zernike_orders(n, m) != kv::kZernikeOk) continue;
      const kv::ZernikeRadial radial(n, m);
      for (double rho : {0.0, 0.3, 0.999, 1.0, 1.7, 25.0}) {
        const double want = radial_reference(n, m, rho), got = radial(rho);
        EXPECT_TRUE(got == want || (std::isnan(got) && std::isnan(want)))
            << n << " " << m << " " << rho << ": " << got << " vs " << want;
      }
    }
  }
}

TEST(Zernike, OverflowingOrdersReturnAtOnce) {
  // Above 170 the slow sum is never finite, so every sample becomes NaN.
  for (int n : {171, 172, 173, 200}) {
    for (int m : {n % 2, n, -n + 2}) {
      for (double rho : {0.0, 0.5, 3.0}) {
        EXPECT_TRUE(std::isnan(std::cos(radial_reference(n, m, rho) * 0.7))) << n << " " << m;
      }
    }
  }
  Array f = test_field();
  for (double n : {171.0, 340.0, 2e9, 2147483647.0}) {
    const auto t0 = std::chrono::steady_clock::now();
    host::Result r = run("KVZernike", {n, std::fmod(n, 2.0), 3, 0.5}, f.get());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
    ASSERT_FALSE(r.failed) << r.error;
    EXPECT_LT(took.count(), 1.0) << n;
    for (size_t s = 0; s < 64; ++s) {
      EXPECT_TRUE(std::isnan(host::re(r[0], s)) && std::isnan(host::im(r[0], s))) << n;
    }
    EXPECT_EQ(host::re(r[0], 64 + 2), 8.0);
  }
}

// cos(m*theta) and sin(m*theta) by the recurrence from x/r and y/r: against
// the angle in long double, and against sin or cos of m*atan2(y, x).
TEST(Zernike, AngularFactorWithoutTheAngle) {
  std::vector<std::pair<double, double>> points;
  for (int i = -50; i <= 50; ++i) {
    for (int j = -50; j <= 50; ++j) {
      if (i != 0) points.push_back({i / 50.0, j / 50.0});
    }
  }
  // Next to the axes, where the plain recurrence would lose digits as m^2.
  for (double e : {1e-9, -1e-9, 1e-5, 3e-3}) {
    points.push_back({1.0, e});
    points.push_back({-1.0, e});
    points.push_back({e, 1.0});
    points.push_back({-e, -1.0});
  }
  double worst = 0.0, worst_vs_atan2 = 0.0;
  for (int m : {1, -1, 2, -2, 3, 5, -6, 10, -17, 40, -64, 100, 170, -170}) {
    for (const auto& p : points) {
      const long double t =
          static_cast<long double>(m) *
          std::atan2(static_cast<long double>(p.second), static_cast<long double>(p.first));
      const double exact = static_cast<double>(m > 0 ? std::sin(t) : std::cos(t));
      const double mt = m * std::atan2(p.second, p.first);
      const double today = m > 0 ? std::sin(mt) : std::cos(mt);
      const double got = kv::zernike_angular(m, p.first, p.second);
      worst = std::max(worst, std::fabs(got - exact));
      worst_vs_atan2 = std::max(worst_vs_atan2, std::fabs(got - today));
    }
  }
  EXPECT_LT(worst, 4e-14);
  EXPECT_LT(worst_vs_atan2, 1e-12);
  EXPECT_EQ(kv::zernike_angular(0, 0.3, -0.7), 1.0);
  // Squares out of the normal range take the angle: tiny, huge, infinite, NaN.
  for (const auto& p : std::vector<std::pair<double, double>>{
           {1e-170, 2e-170}, {-3e-200, 0.0}, {1e200, -2e200}, {INFINITY, 1.0}, {-1.0, -INFINITY}}) {
    for (int m : {1, -2, 3}) {
      const double mt = m * std::atan2(p.second, p.first);
      EXPECT_EQ(kv::zernike_angular(m, p.first, p.second), m > 0 ? std::sin(mt) : std::cos(mt))
          << p.first << " " << p.second << " " << m;
    }
  }
  EXPECT_TRUE(std::isnan(kv::zernike_angular(0, NAN, 1.0)));
  EXPECT_TRUE(std::isnan(kv::zernike_angular(2, 1.0, NAN)));
}

// The command against the same phase formed with the angle (atan2 off the
// line x = 0, the stored quarter turns on it): within 1e-12 of the largest
// sample, and the very same bits on the line x = 0.
TEST(Zernike, AgreesWithThePhaseFromTheAngle) {
  const int n = 64;
  Array f = host::field(n, 1.0, 1e-6);
  for (size_t k = 0; k < size_t{n} * n; ++k)
    host::set(f.get(), k, {1.0 + 0.001 * static_cast<double>(k % 37), 0.3});
  struct Case {
    int order, m;
    double radius, a;
  } cases[] = {{4, 2, 0.5, 1.0},   {7, -3, 0.6, 2.0},   {10, 0, 0.7, 0.5},
               {12, 12, 0.5, 1.0}, {40, -40, 1.0, 1.0}, {170, 170, 1.0, 0.1}};
  for (const Case& c : cases) {
    host::Result r = run("KVZernike", {double(c.order), double(c.m), c.radius, c.a}, f.get());
    ASSERT_FALSE(r.failed) << r.error;
    const kv::ZernikeRadial radial(c.order, c.m);
    const double d = 1.0 / n;
    double worst = 0.0, largest = 0.0;
    for (int i = 0; i < n; ++i) {
      const double x = kv::grid_x(i, n, d);
      for (int j = 0; j < n; ++j) {
        const double y = kv::grid_x(j, n, d);
        const double rho = std::sqrt((y * y + x * x) / (c.radius * c.radius));
        const double theta = x != 0.0 ? std::atan2(y, x) : (y >= 0.0 ? 1.570796327 : 4.712388981);
        const double phi = kv::zernike(radial, c.m, rho, theta) * c.a;
        const size_t k = static_cast<size_t>(i) * n + j;
        const std::complex<double> v = host::at(f.get(), k);
        const std::complex<double> want(std::cos(phi) * v.real() - std::sin(phi) * v.imag(),
                                        std::sin(phi) * v.real() + std::cos(phi) * v.imag());
        const std::complex<double> got = host::at(r[0], k);
        if (x == 0.0) {
          EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << c.order << " " << c.m << " " << j;
        }
        worst = std::max(worst, std::abs(got - want));
        largest = std::max(largest, std::abs(want));
      }
    }
    EXPECT_LE(worst, 1e-12 * largest) << c.order << " " << c.m;
  }
}

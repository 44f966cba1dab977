// Tilt, axicon and Zernike: their shells through the test host, and their
// phases against closed forms.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstring>
#include <string>
#include <vector>

#include "core/field.h"
#include "host.h"
#include "phase/zernike.h"

using host::Array;
using host::call;

namespace {

// Each banner: its rule, its description line and its call form.
struct Banner {
  const char* name;
  int inputs;
  int rule;
  const char* what;
  const char* usage;
} const kBanners[] = {
    {"KVTilt", 3, 100, "introduces a tilt in the field.", "Fout=KVTilt(tx,ty,Fin);"},
    {"KVAxicon", 5, 53, "simulates an axicon.", "Fout = KVAxicon(phi,n1,x_shift,y_shift,Fin);"},
    {"KVZernike", 5, 100, "introduces arbitrary Zernike aberration into the field.",
     "Fout=KVZernike(n,m,R,A,Fin)"},
};

// The frame every banner shares, around its description and call form; the
// axicon's closing rule follows its last line directly.
void expect_banner(const std::string& printed, const Banner& b) {
  const std::string rule(static_cast<size_t>(b.rule), '*');
  const std::string head = rule + "\n\n\tKorvane for Matlab Optical Toolbox\n\n\t" + b.name + " " +
                           b.what + "\n\n\tUSAGE:\n\t" + b.usage + "\n\n\twith:\n\t";
  EXPECT_EQ(printed.substr(0, head.size()), head) << b.name;
  const std::string tail = (b.rule == 53 ? "\n" : "\n\n") + rule + "\n\n";
  ASSERT_GE(printed.size(), tail.size());
  EXPECT_EQ(printed.substr(printed.size() - tail.size()), tail) << b.name;
}

// A field of dimension 8 on a unit grid (size 8): sample (x, y) sits at
// index (x + 4)*8 + y + 4. Samples vary in amplitude and phase.
Array test_field(double lambda = 1.0, double curvature = 0.0) {
  Array f = host::field(8, 8.0, lambda, curvature, 0);
  for (int k = 0; k < 64; ++k) {
    host::re(f.get())[k] = 1.0 + 0.01 * k;
    host::im(f.get())[k] = -0.5 + 0.02 * k;
  }
  return f;
}

int at(int x, int y) { return (x + 4) * 8 + (y + 4); }

std::complex<double> sample(const mxArray* a, int k) { return {host::re(a)[k], host::im(a)[k]}; }

// The phase a command added at sample k: out / in.
double added_phase(const mxArray* out, const mxArray* in, int k) {
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

TEST(PhaseCommands, BannersAndCounts) {
  Array f = test_field();
  Array s = host::scalar(1);
  const char* words[] = {"", "", "", "three", "", "five"};
  for (const Banner& b : kBanners) {
    host::Result none = call(b.name, 1, {});
    EXPECT_FALSE(none.failed) << b.name;
    expect_banner(none.printed, b);
    std::vector<const mxArray*> args(static_cast<size_t>(b.inputs - 1), s.get());
    host::Result few = call(b.name, 1, args);
    EXPECT_EQ(few.error, std::string("expects ") + words[b.inputs] + " input arguments");
    EXPECT_EQ(few.printed, none.printed);
    args.push_back(f.get());
    host::Result two = call(b.name, 2, args);
    EXPECT_EQ(two.error, "expects one output argument");
    EXPECT_EQ(two.printed, none.printed);
  }
}

TEST(PhaseCommands, AxiconLeavesYShiftUntested) {
  Array f = test_field();
  Array phi = host::scalar(3.0), n1 = host::scalar(1.5), xs = host::scalar(0);
  Array real2 = host::scalar(2.0);
  Array cplx2 = host::complex(1, 1);
  host::re(cplx2.get())[0] = 2.0;
  host::im(cplx2.get())[0] = 3.0;
  Array row = host::real(1, 2, {2.0, 9.0});
  host::Result ref = call("KVAxicon", 1, {phi.get(), n1.get(), xs.get(), real2.get(), f.get()});
  ASSERT_FALSE(ref.failed) << ref.error;
  for (const mxArray* y : {cplx2.get(), row.get()}) {
    host::Result r = call("KVAxicon", 1, {phi.get(), n1.get(), xs.get(), y, f.get()});
    ASSERT_FALSE(r.failed) << r.error;
    EXPECT_EQ(0, std::memcmp(host::re(r[0]), host::re(ref[0]), 72 * sizeof(double)));
  }
  const char* kNotScalar = "Input must be real scalar.";
  Array str = host::string("a");
  EXPECT_EQ(call("KVAxicon", 1, {phi.get(), n1.get(), xs.get(), str.get(), f.get()}).error,
            kNotScalar);
  // x_shift keeps the test.
  EXPECT_EQ(call("KVAxicon", 1, {phi.get(), n1.get(), cplx2.get(), xs.get(), f.get()}).error,
            kNotScalar);
}

TEST(PhaseCommands, AxiconRefusesSphericalFields) {
  for (double curv : {1e-3, -2.0, double(NAN)}) {
    Array f = test_field(1.0, curv);
    host::Result r = run("KVAxicon", {3.0, 1.5, 0, 0}, f.get());
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.error, "No spherical coordinates allowed. Use KVConvert first") << curv;
    EXPECT_FALSE(r.swallowed);
  }
  // The other phase elements carry curvature through.
  Array f = test_field(1.0, 0.25);
  EXPECT_EQ(host::re(run("KVTilt", {0.1, 0.2}, f.get())[0])[64 + 3], 0.25);
  EXPECT_EQ(host::re(run("KVZernike", {2, 0, 3, 1}, f.get())[0])[64 + 3], 0.25);
}

TEST(Tilt, LinearPhase) {
  const double lambda = 0.5;
  Array f = test_field(lambda);
  host::Result zero = run("KVTilt", {0, 0}, f.get());
  EXPECT_EQ(0, std::memcmp(host::re(zero[0]), host::re(f.get()), 64 * sizeof(double)));
  EXPECT_EQ(0, std::memcmp(host::im(zero[0]), host::im(f.get()), 64 * sizeof(double)));

  const double tx = 0.01, ty = -0.03, k = 6.283185308 / lambda;
  host::Result r = run("KVTilt", {tx, ty}, f.get());
  EXPECT_EQ(sample(r[0], at(0, 0)), sample(f.get(), at(0, 0)));
  for (int x = -4; x < 4; ++x) {
    for (int y = -4; y < 4; ++y) {
      const int s = at(x, y);
      EXPECT_NEAR(added_phase(r[0], f.get(), s), -(x * tx + y * ty) * k, 1e-12) << x << y;
      EXPECT_NEAR(std::abs(sample(r[0], s)), std::abs(sample(f.get(), s)), 1e-14);
    }
  }
}

TEST(Axicon, ConicalPhase) {
  Array f = test_field(1.0);
  const double phi = 3.0, n1 = 1.5;
  const double g = std::asin(std::cos(phi * 0.5) * n1 + phi * 0.5 - 1.5707963) * 6.2831852;
  host::Result r = run("KVAxicon", {phi, n1, 1, -2}, f.get());
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(sample(r[0], at(1, -2)), sample(f.get(), at(1, -2)));  // the tip
  for (int x = -4; x < 4; ++x) {
    for (int y = -4; y < 4; ++y) {
      const double rr = std::hypot(x - 1.0, y + 2.0);
      const int s = at(x, y);
      EXPECT_NEAR(added_phase(r[0], f.get(), s), -rr * g, 1e-12);
      EXPECT_NEAR(std::abs(sample(r[0], s)), std::abs(sample(f.get(), s)), 1e-14);
    }
  }
  // A flat plate leaves the field all but unchanged.
  host::Result flat = run("KVAxicon", {2 * 1.5707963, 1.5, 0, 0}, f.get());
  for (int s = 0; s < 64; ++s) EXPECT_NEAR(added_phase(flat[0], f.get(), s), 0.0, 1e-5);
  // No arcsine: every sample is NaN, and no error.
  host::Result bad = run("KVAxicon", {1.0, 3.0, 0, 0}, f.get());
  ASSERT_FALSE(bad.failed);
  for (int s = 0; s < 64; ++s) EXPECT_TRUE(std::isnan(host::re(bad[0])[s]));
}

TEST(Zernike, LowOrdersAgainstClosedForms) {
  Array f = test_field();
  const double a = 0.3, r = 4.0;
  struct Case {
    double n, m, radius;
    double (*z)(double x, double y);  // in units of R = 4
  } cases[] = {
      {0, 0, r, [](double, double) { return 1.0; }},
      {1, 1, r, [](double, double y) { return y / 4; }},
      {1, -1, -r, [](double x, double) { return x / 4; }},
      {2, 0, r, [](double x, double y) { return 2 * (x * x + y * y) / 16 - 1; }},
      {2.9, -0.5, r, [](double x, double y) { return 2 * (x * x + y * y) / 16 - 1; }},
      {2, 2, r, [](double x, double y) { return 2 * x * y / 16; }},
      {2, -2, r, [](double x, double y) { return (x * x - y * y) / 16; }},
      {3, -1, r, [](double x, double y) { return (3 * (x * x + y * y) / 16 - 2) * x / 4; }},
  };
  for (const Case& c : cases) {
    host::Result out = run("KVZernike", {c.n, c.m, c.radius, a}, f.get());
    ASSERT_FALSE(out.failed) << out.error;
    for (int x = -4; x < 4; ++x) {
      for (int y = -4; y < 4; ++y) {
        const int s = at(x, y);
        // The stored quarter-turn angles differ from pi/2 and 3pi/2 by ~1e-10.
        EXPECT_NEAR(added_phase(out[0], f.get(), s), a * c.z(x, y), 1e-9)
            << c.n << " " << c.m << " at " << x << "," << y;
        EXPECT_NEAR(std::abs(sample(out[0], s)), std::abs(sample(f.get(), s)), 1e-14);
      }
    }
  }
  // Defocus: -A at the centre, +A at distance R.
  host::Result d = run("KVZernike", {2, 0, r, a}, f.get());
  EXPECT_NEAR(added_phase(d[0], f.get(), at(0, 0)), -a, 1e-15);
  EXPECT_NEAR(added_phase(d[0], f.get(), at(-4, 0)), a, 1e-15);
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
    EXPECT_EQ(r.failed, c.msg != nullptr) << c.n << " " << c.m;
    if (c.msg) {
      EXPECT_EQ(r.error, c.msg) << c.n << " " << c.m;
      EXPECT_TRUE(r.printed.empty());
    }
  }
}

TEST(Zernike, FactorialsOnceSameValues) {
  EXPECT_EQ(kv::factorial(0), 1.0);
  EXPECT_EQ(kv::factorial(1), 1.0);
  EXPECT_EQ(kv::factorial(22), 1124000727777607680000.0);
  EXPECT_TRUE(std::isfinite(kv::factorial(170)));
  EXPECT_TRUE(std::isinf(kv::factorial(171)));
  // The precomputed polynomial gives the very doubles of the per-term sum.
  for (int n : {0, 1, 2, 7, 24, 45, 101, 170}) {
    for (int m : {n, -n, n - 2, 2 - n, n % 2}) {
      if (kv::zernike_orders(n, m) != kv::kZernikeOk) continue;
      const kv::ZernikeRadial radial(n, m);
      for (double rho : {0.0, 0.3, 0.999, 1.0, 1.7, 25.0}) {
        const double want = radial_reference(n, m, rho);
        const double got = radial(rho);
        EXPECT_TRUE(got == want || (std::isnan(got) && std::isnan(want)))
            << n << " " << m << " " << rho << ": " << got << " vs " << want;
      }
    }
  }
}

TEST(Zernike, OverflowingOrdersReturnAtOnce) {
  // Above 170 the loop's first term is n! = inf times a power over a product
  // of factorials: never finite, so every sample becomes NaN.
  for (int n : {171, 172, 173, 200}) {
    for (int m : {n % 2, n, -n + 2}) {
      for (double rho : {0.0, 0.5, 3.0}) {
        const double z = radial_reference(n, m, rho) * 0.7;
        EXPECT_TRUE(std::isnan(std::cos(z))) << n << " " << m << " " << rho;
      }
    }
  }
  Array f = test_field();
  for (double n : {171.0, 340.0, 2e9, 2147483647.0}) {
    const auto t0 = std::chrono::steady_clock::now();
    host::Result r = run("KVZernike", {n, std::fmod(n, 2.0), 3, 0.5}, f.get());
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    ASSERT_FALSE(r.failed) << r.error;
    EXPECT_LT(secs, 1.0) << n;
    for (int s = 0; s < 64; ++s) {
      EXPECT_TRUE(std::isnan(host::re(r[0])[s]) && std::isnan(host::im(r[0])[s])) << n;
    }
    EXPECT_EQ(host::re(r[0])[64 + 2], 8.0);
  }
}

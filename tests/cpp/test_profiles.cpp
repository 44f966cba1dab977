// Profiles, random screens and the Gauss-Hermite mode.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/random.h"
#include "host.h"
#include "profiles/profiles.h"

namespace {

// A field of dimension n whose sample k is re[k % size] + i*im[k % size].
host::Array field_of(int n, const std::vector<double>& re, const std::vector<double>& im,
                     double curvature = 0, double aux = 0) {
  host::Array f = host::field(n, 2e-3, 1e-6, curvature, aux);
  for (size_t k = 0; k < static_cast<size_t>(n) * n; ++k) {
    host::set(f.get(), k, {re[k % re.size()], im[k % im.size()]});
  }
  return f;
}

host::Array profile_of(int n, double v) {
  return host::real(n, n, std::vector<double>(static_cast<size_t>(n) * n, v));
}

const char* const kIntensityShape =
    "Input intensity array must be square and must have equal dimensions as the input field.";
const char* const kPhaseShape =
    "Input phase array must be square and must have equal dimensions as the input field.";

}  // namespace

TEST(ProfileShell, BannersAndCountMessages) {
  const std::string stars(100, '*');
  host::Array f = host::field(8);
  host::Array one = host::scalar(1);
  const char* const shells[][3] = {
      {"KVRandomPhase", "\tFout=KVRandomPhase(seed,max,Fin);\n", "expects three input arguments."},
      {"KVRandomIntensity", "\tFout=KVRandomIntensity(seed,Fin);\n", "expects two input arguments"},
      {"KVSubIntensity", "\tFout = KVSubIntensity(Intensity, Fin);\n",
       "expects two input arguments"},
      {"KVSubPhase", "\tFout = KVSubPhase(Phase, Fin);\n", "expects two input arguments"},
      {"KVMultIntensity", "\tFout = KVMultIntensity(Intens, Fin);\n",
       "expects two input arguments"},
      {"KVMultPhase", "\tFout = KVMultPhase(Phase, Fin);\n", "expects two input arguments"},
      {"KVGaussHermite", "\tFout=KVGaussHermite(n,m,A,w0,Fin);n\n\twith:\n",
       "expects five input arguments"},
  };
  for (const auto& s : shells) {
    SCOPED_TRACE(s[0]);
    host::Result help = host::call(s[0], 1, {});
    EXPECT_FALSE(help.failed);
    EXPECT_EQ(help[0], nullptr);
    const std::string& b = help.printed;
    EXPECT_EQ(b.rfind(stars + "\n\n\tKorvane for Matlab Optical Toolbox\n\n\t" + s[0], 0), 0u);
    EXPECT_NE(b.find(s[1]), std::string::npos);
    EXPECT_EQ(b.substr(b.size() - 103), "\n" + stars + "\n\n");
    host::Result few = host::call(s[0], 1, {f.get()});
    EXPECT_EQ(few.error, s[2]);
    EXPECT_EQ(few.printed, b);
  }
  // The random phase screen words its output count with a full stop too.
  host::Result two = host::call("KVRandomPhase", 2, {one.get(), one.get(), f.get()});
  EXPECT_EQ(two.error, "expects one output argument.");
  EXPECT_FALSE(two.printed.empty());
}

TEST(ProfileShell, OrderOfChecks) {
  const int n = 8;
  host::Array f = host::field(n);
  host::Array z = host::numeric(mxDOUBLE_CLASS, 1, 1, mxCOMPLEX);
  host::Array one = host::scalar(1);
  host::Array real_field = host::real(n, n + 1);
  host::set_re(real_field.get(), n * n + 2, n);
  host::Array short_rows = host::real(n - 1, n);
  host::Array rgb = host::numeric(mxUINT8_CLASS, n, 3 * n);  // an RGB image seen as 2-D
  host::Array cells = host::cell(n, n);
  const char* const kNotField = "Input field is not a Korvane field.";
  struct {
    const char* name;
    std::vector<const mxArray*> args;
    const char* msg;
  } const cases[] = {
      // Scalars before the field; the profile gets no scalar test, and the
      // field is tested before it.
      {"KVRandomPhase", {one.get(), z.get(), real_field.get()}, "Input must be real scalar."},
      {"KVRandomIntensity", {one.get(), real_field.get()}, kNotField},
      {"KVSubPhase", {one.get(), real_field.get()}, kNotField},
      {"KVSubIntensity", {short_rows.get(), f.get()}, kIntensityShape},
      {"KVMultIntensity", {rgb.get(), f.get()}, kIntensityShape},
      {"KVSubPhase", {f.get(), f.get()}, kPhaseShape},
      {"KVMultPhase",
       {cells.get(), f.get()},
       "Input phase array must be a numeric or logical array."},
  };
  for (const auto& c : cases) {
    host::Result r = host::call(c.name, 1, c.args);
    EXPECT_EQ(r.error, c.msg) << c.name;
    EXPECT_TRUE(r.printed.empty()) << c.name;
  }
}

// profile(r, c) acts on field row r, column c, whatever the profile's class.
TEST(ProfileArrays, OrientationAndClasses) {
  const int n = 6;
  const size_t hit = 3 * n + 1;  // row 1, column 3
  host::Array f = field_of(n, {3}, {4});
  host::Array dbl = host::real(n, n);
  host::Array u8 = host::numeric(mxUINT8_CLASS, n, n);
  host::Array i16 = host::numeric(mxINT16_CLASS, n, n);
  host::Array cpx = host::complex(n, n);
  host::Array mask = host::logical(n, n);
  host::set_re(dbl.get(), hit, 4);
  static_cast<uint8_t*>(mxGetData(u8.get()))[hit] = 4;
  static_cast<int16_t*>(mxGetData(i16.get()))[hit] = 4;
  host::set_re(cpx.get(), hit, 4);
  for (size_t k = 0; k < size_t{n} * n; ++k) host::set_im(cpx.get(), k, 7);
  static_cast<mxLogical*>(mxGetData(mask.get()))[hit] = 1;
  host::Array sp(mxCreateSparse(n, n, 2, mxREAL));  // one entry, row 1 column 3
  for (int c = 0; c <= n; ++c) mxGetJc(sp.get())[c] = c > 3 ? 1 : 0;
  mxGetIr(sp.get())[0] = 1;
  host::set_re(sp.get(), 0, 4);
  // Complex arrays of any class give their real parts, whatever the layout.
  host::Array c16 = host::numeric(mxINT16_CLASS, n, n, mxCOMPLEX);
  int16_t* c16_data = static_cast<int16_t*>(mxGetData(c16.get()));
#if MX_HAS_INTERLEAVED_COMPLEX
  for (size_t k = 0; k < size_t{n} * n; ++k) c16_data[2 * k + 1] = 9;
  c16_data[2 * hit] = 4;
#else
  for (size_t k = 0; k < size_t{n} * n; ++k) static_cast<int16_t*>(mxGetImagData(c16.get()))[k] = 9;
  c16_data[hit] = 4;
#endif
  host::Array csp = host::sparse(n, n, true);
  for (int c = 0; c <= n; ++c) mxGetJc(csp.get())[c] = c > 3 ? 1 : 0;
  mxGetIr(csp.get())[0] = 1;
  host::set(csp.get(), 0, {4, 7});

  for (const mxArray* p :
       {dbl.get(), u8.get(), i16.get(), cpx.get(), sp.get(), c16.get(), csp.get()}) {
    SCOPED_TRACE(mxGetClassID(p));
    host::Result r = host::call("KVMultIntensity", 1, {p, f.get()});
    ASSERT_FALSE(r.failed) << r.error;
    for (size_t k = 0; k < size_t{n} * n; ++k) {
      EXPECT_EQ(host::re(r[0], k), k == hit ? 6.0 : 0.0);
      EXPECT_EQ(host::im(r[0], k), k == hit ? 8.0 : 0.0);
    }
  }
  host::Result r = host::call("KVSubIntensity", 1, {mask.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_DOUBLE_EQ(host::re(r[0], hit), 0.6);
  EXPECT_DOUBLE_EQ(host::im(r[0], hit), 0.8);
  EXPECT_EQ(host::re(r[0], hit + 1), 0.0);
  // Negative integers reach sqrt as the same negative doubles.
  static_cast<int16_t*>(mxGetData(i16.get()))[0] = -1;
  r = host::call("KVMultIntensity", 1, {i16.get(), f.get()});
  EXPECT_TRUE(std::isnan(host::re(r[0], 0)));
}

TEST(ProfileFormulas, SubstituteAndMultiply) {
  const int n = 6;
  // Samples: 3+4i, 0, 0-2i, -0+2i, then the cycle repeats.
  host::Array f = field_of(n, {3, 0, 0, -0.0}, {4, 0, -2, 2}, 0.25, 3.7);
  host::Array ones = profile_of(n, 1), zeros = profile_of(n, 0);
  host::Array quarter = profile_of(n, 0.25), pi = profile_of(n, M_PI);

  host::Result r = host::call("KVSubIntensity", 1, {ones.get(), f.get()});
  ASSERT_FALSE(r.failed);
  auto re = [&r](size_t k) { return host::re(r[0], k); };
  auto im = [&r](size_t k) { return host::im(r[0], k); };
  EXPECT_DOUBLE_EQ(re(0), 0.6);
  EXPECT_DOUBLE_EQ(im(0), 0.8);
  // A zero real part takes 1.570796327 or 4.712388981, not pi/2 and -pi/2.
  EXPECT_NEAR(re(1), -2.0510343e-10, 1e-17);
  EXPECT_EQ(im(1), 1.0);
  EXPECT_NEAR(re(2), 6.1531029e-10, 1e-17);
  EXPECT_EQ(im(2), -1.0);
  EXPECT_EQ(re(3), re(1));  // -0 counts as zero
  const double head[] = {2e-3, 1e-6, double{n}, 0.25, 3.0};
  for (int s = 0; s < 5; ++s) EXPECT_EQ(re(n * n + s), head[s]);

  r = host::call("KVSubPhase", 1, {zeros.get(), f.get()});
  EXPECT_EQ(host::re(r[0], 0), 5.0);
  EXPECT_EQ(host::im(r[0], 0), 0.0);
  EXPECT_EQ(host::re(r[0], 1), 0.0);
  r = host::call("KVMultIntensity", 1, {quarter.get(), f.get()});
  EXPECT_EQ(host::re(r[0], 0), 1.5);
  EXPECT_EQ(host::im(r[0], 0), 2.0);
  r = host::call("KVMultPhase", 1, {pi.get(), f.get()});
  for (size_t k = 0; k < size_t{n} * n; ++k) {
    EXPECT_NEAR(host::re(r[0], k), -host::re(f.get(), k), 1e-14);
    EXPECT_NEAR(host::im(r[0], k), -host::im(f.get(), k), 1e-14);
  }
}

TEST(RandomGenerator, PortableSequence) {
  // The sequence of the C standard's portable rand() for seed 1.
  kv::Rand15 g(1);
  for (int v : {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086}) {
    EXPECT_EQ(g.next(), v);
  }
}

TEST(RandomCommands, ReproducibleAndShared) {
  const int n = 8;
  host::Array f = field_of(n, {1}, {0}, 0, 3.7);
  host::Array s1 = host::scalar(1.2), s1b = host::scalar(1.9), s2 = host::scalar(2);
  host::Array two = host::scalar(2.5), small = host::scalar(0.7);

  host::Result a = host::call("KVRandomIntensity", 1, {s1.get(), f.get()});
  host::Result b = host::call("KVRandomIntensity", 1, {s1b.get(), f.get()});
  host::Result c = host::call("KVRandomIntensity", 1, {s2.get(), f.get()});
  host::Result p = host::call("KVRandomPhase", 1, {s1.get(), two.get(), f.get()});
  host::Result p0 = host::call("KVRandomPhase", 1, {s1.get(), small.get(), f.get()});
  ASSERT_FALSE(a.failed || p.failed);
  kv::Rand15 g(1);
  bool differs = false;
  for (int64_t k = 0; k < int64_t{n} * n; ++k) {
    const double t = host::re(a[0], k);
    EXPECT_EQ(t, g.next() / 32767.0);  // one draw per sample, divided by 32767
    EXPECT_EQ(t, host::re(b[0], k));
    differs |= t != host::re(c[0], k);
    // Same draws for the phase: phi = (t - 0.5) * trunc(max).
    EXPECT_NEAR(std::atan2(host::im(p[0], k), host::re(p[0], k)), (t - 0.5) * 2.0, 1e-12);
    EXPECT_NEAR(std::hypot(host::re(p[0], k), host::im(p[0], k)), 1.0, 1e-15);
    EXPECT_EQ(host::re(p0[0], k), 1.0);
    EXPECT_EQ(host::im(p0[0], k), 0.0);
  }
  EXPECT_TRUE(differs);
  EXPECT_EQ(host::re(a[0], n * n + 4), 3.0);
}

TEST(Hermite, EarlyStopGivesTheFullRecurrence) {
  EXPECT_EQ(kv::hermite_polynomial(-3, 5.0), 1.0);
  EXPECT_EQ(kv::hermite_polynomial(2, 0.0), -2.0);
  EXPECT_EQ(kv::hermite_polynomial(3, 0.5), 8 * 0.125 - 12 * 0.5);
  auto literal = [](int32_t k, double t) {
    double prev = 1.0, cur = 2.0 * t;
    for (int32_t q = 1; q < k; ++q) {
      const double next = 2.0 * t * cur - 2.0 * q * prev;
      prev = cur;
      cur = next;
    }
    return cur;
  };
  const double ts[] = {0.0, -0.0, 1e-320, 0.3, -2.5, 40.0, 1e200, -1e300, INFINITY, NAN};
  for (double t : ts) {
    for (int32_t k : {1, 7, 150, 151, 400, 401, 3000}) {
      const double want = literal(k, t);
      const double got = kv::hermite_polynomial(k, t);
      EXPECT_TRUE(got == want || (std::isnan(got) && std::isnan(want))) << k << " " << t;
    }
  }
  const auto start = std::chrono::steady_clock::now();
  for (double t : ts) EXPECT_TRUE(std::isnan(kv::hermite_polynomial(2000000000, t)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(GaussHermite, ModeValuesAndOrientation) {
  const int n = 9;  // odd: the grid is symmetric about sample 4
  const int o = n / 2;
  host::Array f = field_of(n, {0}, {0}, 0.5, -3.7);
  host::Array g = field_of(n, {2, -1}, {5}, 0.5, -3.7);
  host::Array zero = host::scalar(0), one = host::scalar(1.9), two = host::scalar(2);
  host::Array amp = host::scalar(1.5), w0 = host::scalar(7e-4), huge = host::scalar(2e9);
  auto mode = [&](const host::Array& nn, const host::Array& m, const host::Array& w,
                  const host::Array& in) {
    return host::call("KVGaussHermite", 1, {nn.get(), m.get(), amp.get(), w.get(), in.get()});
  };

  host::Result r = mode(zero, zero, w0, f);
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(host::re(r[0], o * n + o), 1.5);
  const double d = 2e-3 / n, x = -4 * d, y = 2 * d;
  EXPECT_DOUBLE_EQ(host::re(r[0], 0 * n + 6), 1.5 * std::exp(-(x * x + y * y) / (7e-4 * 7e-4)));
  EXPECT_EQ(host::re(r[0], n * n + 3), 0.5);
  EXPECT_EQ(host::re(r[0], n * n + 4), -3.0);
  EXPECT_EQ(host::re(mode(two, zero, w0, f)[0], o * n + o), -3.0);

  // n = 1 (from 1.9) goes with y: row o is zero, column o is not; the
  // input's samples do not matter.
  r = mode(one, zero, w0, f);
  host::Result rg = mode(one, zero, w0, g);
  for (int64_t k = 0; k < int64_t{n} * (n + 1); ++k) {
    EXPECT_EQ(host::re(r[0], k), host::re(rg[0], k));
    EXPECT_EQ(host::im(r[0], k), 0.0);
  }
  for (int i = 0; i < n; ++i) EXPECT_EQ(host::re(r[0], i * n + o), 0.0);
  EXPECT_NE(host::re(r[0], o * n + o + 1), 0.0);

  // A huge order ends quickly, with NaN as the full recurrence gives.
  r = mode(huge, huge, w0, f);
  ASSERT_FALSE(r.failed);
  EXPECT_TRUE(std::isnan(host::re(r[0], 0)));
}

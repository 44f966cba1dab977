// Profiles, random screens and the Gauss-Hermite mode, through the modules
// and at the level of the computations.
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

const std::string kStars(100, '*');

// A field of dimension n whose sample k is values[k % values.size()].
host::Array field_of(int n, const std::vector<double>& re, const std::vector<double>& im,
                     double curvature = 0, double aux = 0) {
  host::Array f = host::field(n, 2e-3, 1e-6, curvature, aux);
  for (int64_t k = 0; k < int64_t{n} * n; ++k) {
    host::re(f.get())[k] = re[k % re.size()];
    host::im(f.get())[k] = im[k % im.size()];
  }
  return f;
}

host::Array profile_of(int n, double v) {
  return host::real(n, n, std::vector<double>(static_cast<size_t>(n) * n, v));
}

struct Shell {
  const char* name;
  int inputs;
  const char* call_form;
  const char* input_msg;
  const char* output_msg;
};

const Shell kShells[] = {
    {"KVRandomPhase", 3, "\tFout=KVRandomPhase(seed,max,Fin);\n", "expects three input arguments.",
     "expects one output argument."},
    {"KVRandomIntensity", 2, "\tFout=KVRandomIntensity(seed,Fin);\n", "expects two input arguments",
     "expects one output argument"},
    {"KVSubIntensity", 2, "\tFout = KVSubIntensity(Intensity, Fin);\n",
     "expects two input arguments", "expects one output argument"},
    {"KVSubPhase", 2, "\tFout = KVSubPhase(Phase, Fin);\n", "expects two input arguments",
     "expects one output argument"},
    {"KVMultIntensity", 2, "\tFout = KVMultIntensity(Intens, Fin);\n",
     "expects two input arguments", "expects one output argument"},
    {"KVMultPhase", 2, "\tFout = KVMultPhase(Phase, Fin);\n", "expects two input arguments",
     "expects one output argument"},
    {"KVGaussHermite", 5, "\tFout=KVGaussHermite(n,m,A,w0,Fin);n\n\twith:\n",
     "expects five input arguments", "expects one output argument"},
};

TEST(ProfileShell, BannersAndCountMessages) {
  host::Array f = host::field(8);
  for (const Shell& s : kShells) {
    SCOPED_TRACE(s.name);
    host::Result help = host::call(s.name, 1, {});
    EXPECT_FALSE(help.failed);
    EXPECT_EQ(help[0], nullptr);
    const std::string& b = help.printed;
    EXPECT_EQ(b.rfind(kStars + "\n\n\tKorvane for Matlab Optical Toolbox\n\n\t" + s.name, 0), 0u);
    EXPECT_NE(b.find(s.call_form), std::string::npos);
    ASSERT_GT(b.size(), 104u);
    EXPECT_EQ(b.substr(b.size() - 103), "\n" + kStars + "\n\n");

    std::vector<const mxArray*> one{f.get()};
    host::Result few = host::call(s.name, 1, one);
    EXPECT_TRUE(few.failed);
    EXPECT_EQ(few.error, s.input_msg);
    EXPECT_EQ(few.printed, b);

    std::vector<host::Array> keep;
    std::vector<const mxArray*> args;
    for (int i = 0; i + 1 < s.inputs; ++i) {
      keep.push_back(host::scalar(1));
      args.push_back(keep.back().get());
    }
    args.push_back(f.get());
    host::Result two = host::call(s.name, 2, args);
    EXPECT_TRUE(two.failed);
    EXPECT_EQ(two.error, s.output_msg);
    EXPECT_EQ(two.printed, b);
  }
}

TEST(ProfileShell, ScalarAndFieldChecks) {
  host::Array f = host::field(8);
  host::Array z = host::numeric(mxDOUBLE_CLASS, 1, 1, mxCOMPLEX);
  host::Array one = host::scalar(1);
  host::Array real_field = host::real(8, 9);
  host::re(real_field.get())[64 + 2] = 8;

  // The scalar message wins over a bad field.
  host::Result r = host::call("KVRandomPhase", 1, {one.get(), z.get(), real_field.get()});
  EXPECT_EQ(r.error, "Input must be real scalar.");
  r = host::call("KVGaussHermite", 1, {one.get(), one.get(), one.get(), z.get(), f.get()});
  EXPECT_EQ(r.error, "Input must be real scalar.");
  r = host::call("KVRandomIntensity", 1, {one.get(), real_field.get()});
  EXPECT_EQ(r.error, "Input field is not a Korvane field.");
  // The profile is not a scalar: a 1x1 profile fails on its dimensions only.
  r = host::call("KVSubPhase", 1, {one.get(), real_field.get()});
  EXPECT_EQ(r.error, "Input field is not a Korvane field.");
}

TEST(ProfileArrays, DimensionAndClassMessages) {
  const int n = 8;
  host::Array f = host::field(n);
  host::Array wide = host::real(n, n + 1);
  host::Array short_rows = host::real(n - 1, n);
  host::Array cube = host::numeric(mxUINT8_CLASS, n, 3 * n);  // an RGB image seen as 2-D
  host::Array cells = host::cell(n, n);
  const char* const kIntensity =
      "Input intensity array must be square and must have equal dimensions as the input field.";
  const char* const kPhase =
      "Input phase array must be square and must have equal dimensions as the input field.";
  struct {
    const char* name;
    const char* shape;
    const char* kind;
  } const cmds[] = {
      {"KVSubIntensity", kIntensity, "Input intensity array must be a numeric or logical array."},
      {"KVMultIntensity", kIntensity, "Input intensity array must be a numeric or logical array."},
      {"KVSubPhase", kPhase, "Input phase array must be a numeric or logical array."},
      {"KVMultPhase", kPhase, "Input phase array must be a numeric or logical array."},
  };
  for (const auto& c : cmds) {
    SCOPED_TRACE(c.name);
    for (const mxArray* bad : {wide.get(), short_rows.get(), cube.get(), f.get()}) {
      host::Result r = host::call(c.name, 1, {bad, f.get()});
      EXPECT_TRUE(r.failed);
      EXPECT_EQ(r.error, c.shape);
      EXPECT_TRUE(r.printed.empty());
    }
    host::Result r = host::call(c.name, 1, {cells.get(), f.get()});
    EXPECT_EQ(r.error, c.kind);
  }
}

// profile(r, c) acts on field row r, column c, whatever the profile's class.
TEST(ProfileArrays, OrientationAndClasses) {
  const int n = 6;
  const int64_t hit = 3 * n + 1;  // row 1, column 3
  host::Array f = field_of(n, {3}, {4});
  host::Array dbl = host::real(n, n);
  host::Array u8 = host::numeric(mxUINT8_CLASS, n, n);
  host::Array i16 = host::numeric(mxINT16_CLASS, n, n);
  host::Array sgl = host::numeric(mxSINGLE_CLASS, n, n);
  host::Array cpx = host::complex(n, n);
  host::Array mask = host::logical(n, n);
  host::re(dbl.get())[hit] = 4;
  static_cast<uint8_t*>(mxGetData(u8.get()))[hit] = 4;
  static_cast<int16_t*>(mxGetData(i16.get()))[hit] = 4;
  static_cast<float*>(mxGetData(sgl.get()))[hit] = 4;
  host::re(cpx.get())[hit] = 4;
  for (int64_t k = 0; k < int64_t{n} * n; ++k) host::im(cpx.get())[k] = 7;
  static_cast<mxLogical*>(mxGetData(mask.get()))[hit] = 1;
  // A sparse profile with its one entry at row 1, column 3.
  host::Array sp(mxCreateSparse(n, n, 2, mxREAL));
  for (int c = 0; c <= n; ++c) mxGetJc(sp.get())[c] = c > 3 ? 1 : 0;
  mxGetIr(sp.get())[0] = 1;
  host::re(sp.get())[0] = 4;

  for (const mxArray* p : {dbl.get(), u8.get(), i16.get(), sgl.get(), cpx.get(), sp.get()}) {
    SCOPED_TRACE(mxGetClassID(p));
    host::Result r = host::call("KVMultIntensity", 1, {p, f.get()});
    ASSERT_FALSE(r.failed) << r.error;
    for (int64_t k = 0; k < int64_t{n} * n; ++k) {
      EXPECT_EQ(host::re(r[0])[k], k == hit ? 6.0 : 0.0);
      EXPECT_EQ(host::im(r[0])[k], k == hit ? 8.0 : 0.0);
    }
  }
  host::Result r = host::call("KVSubIntensity", 1, {mask.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_DOUBLE_EQ(host::re(r[0])[hit], 0.6);
  EXPECT_DOUBLE_EQ(host::im(r[0])[hit], 0.8);
  EXPECT_EQ(host::re(r[0])[hit + 1], 0.0);
  // Negative integers reach sqrt as the same negative doubles.
  static_cast<int16_t*>(mxGetData(i16.get()))[0] = -1;
  r = host::call("KVMultIntensity", 1, {i16.get(), f.get()});
  EXPECT_TRUE(std::isnan(host::re(r[0])[0]));
}

TEST(ProfileFormulas, SubstituteAndMultiply) {
  const int n = 6;
  const int64_t count = int64_t{n} * n;
  // Samples: 3+4i, 0, 0-2i, 0+2i, then the cycle repeats.
  host::Array f = field_of(n, {3, 0, 0, -0.0}, {4, 0, -2, 2}, 0.25, 3.7);
  host::Array ones = profile_of(n, 1);
  host::Array zeros = profile_of(n, 0);
  host::Array quarter = profile_of(n, 0.25);
  host::Array pi = profile_of(n, M_PI);

  host::Result r = host::call("KVSubIntensity", 1, {ones.get(), f.get()});
  ASSERT_FALSE(r.failed);
  const double* re = host::re(r[0]);
  const double* im = host::im(r[0]);
  EXPECT_DOUBLE_EQ(re[0], 0.6);
  EXPECT_DOUBLE_EQ(im[0], 0.8);
  EXPECT_EQ(re[1], std::cos(1.570796327));  // about -2.05e-10
  EXPECT_EQ(im[1], std::sin(1.570796327));
  EXPECT_EQ(re[2], std::cos(4.712388981));  // about 6.15e-10
  EXPECT_EQ(im[2], std::sin(4.712388981));
  EXPECT_EQ(re[3], std::cos(1.570796327));  // -0 counts as zero
  EXPECT_EQ(re[n * n], 2e-3);               // header carried
  EXPECT_EQ(re[n * n + 2], n);
  EXPECT_EQ(re[n * n + 3], 0.25);
  EXPECT_EQ(re[n * n + 4], 3.0);

  r = host::call("KVSubPhase", 1, {zeros.get(), f.get()});
  EXPECT_EQ(host::re(r[0])[0], 5.0);
  EXPECT_EQ(host::im(r[0])[0], 0.0);
  EXPECT_EQ(host::re(r[0])[1], 0.0);

  r = host::call("KVMultIntensity", 1, {quarter.get(), f.get()});
  EXPECT_EQ(host::re(r[0])[0], 1.5);
  EXPECT_EQ(host::im(r[0])[0], 2.0);

  r = host::call("KVMultPhase", 1, {pi.get(), f.get()});
  for (int64_t k = 0; k < count; ++k) {
    EXPECT_NEAR(host::re(r[0])[k], -host::re(f.get())[k], 1e-14);
    EXPECT_NEAR(host::im(r[0])[k], -host::im(f.get())[k], 1e-14);
  }
  EXPECT_EQ(host::re(r[0])[n * n + 4], 3.0);
}

TEST(RandomGenerator, PortableSequence) {
  // The sequence of the C standard's portable rand() for seed 1.
  kv::Rand15 g(1);
  for (int v : {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086}) {
    EXPECT_EQ(g.next(), v);
  }
  kv::Rand15 h(-7);
  int lo = 32767, hi = 0;
  for (int k = 0; k < 200000; ++k) {
    const int v = h.next();
    lo = v < lo ? v : lo;
    hi = v > hi ? v : hi;
  }
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 32767);
}

TEST(RandomCommands, ReproducibleAndShared) {
  const int n = 8;
  const int64_t count = int64_t{n} * n;
  host::Array f = field_of(n, {1}, {0}, 0, 3.7);
  host::Array s1 = host::scalar(1.2), s1b = host::scalar(1.9), s2 = host::scalar(2);
  host::Array two = host::scalar(2.5), three = host::scalar(3), minus3 = host::scalar(-3);
  host::Array small = host::scalar(0.7);

  host::Result a = host::call("KVRandomIntensity", 1, {s1.get(), f.get()});
  host::Result b = host::call("KVRandomIntensity", 1, {s1b.get(), f.get()});
  host::Result c = host::call("KVRandomIntensity", 1, {s2.get(), f.get()});
  ASSERT_FALSE(a.failed);
  kv::Rand15 g(1);
  bool differs = false;
  for (int64_t k = 0; k < count; ++k) {
    EXPECT_EQ(host::re(a[0])[k], g.next() / 32767.0);
    EXPECT_EQ(host::re(a[0])[k], host::re(b[0])[k]);
    differs |= host::re(a[0])[k] != host::re(c[0])[k];
  }
  EXPECT_TRUE(differs);
  EXPECT_EQ(host::re(a[0])[count + 4], 3.0);

  // The phase screen uses the same draws: phi = (t - 0.5) * trunc(max).
  host::Result p = host::call("KVRandomPhase", 1, {s1.get(), two.get(), f.get()});
  host::Result p3 = host::call("KVRandomPhase", 1, {s1b.get(), three.get(), f.get()});
  host::Result m3 = host::call("KVRandomPhase", 1, {s1b.get(), minus3.get(), f.get()});
  host::Result p0 = host::call("KVRandomPhase", 1, {s1.get(), small.get(), f.get()});
  ASSERT_FALSE(p.failed);
  for (int64_t k = 0; k < count; ++k) {
    const double t = host::re(a[0])[k];
    const double phi = std::atan2(host::im(p[0])[k], host::re(p[0])[k]);
    EXPECT_NEAR(phi, (t - 0.5) * 2.0, 1e-12);
    EXPECT_NEAR(std::hypot(host::re(p[0])[k], host::im(p[0])[k]), 1.0, 1e-15);
    EXPECT_EQ(host::re(p3[0])[k], host::re(m3[0])[k]);
    EXPECT_EQ(host::im(p3[0])[k], -host::im(m3[0])[k]);
    EXPECT_EQ(host::re(p0[0])[k], 1.0);
    EXPECT_EQ(host::im(p0[0])[k], 0.0);
  }
}

// The recurrence as written, without the early end, for comparison.
double literal_hermite(int32_t k, double t) {
  if (k <= 0) return 1.0;
  double prev = 1.0, cur = 2.0 * t;
  for (int32_t q = 1; q < k; ++q) {
    const double next = 2.0 * t * cur - 2.0 * q * prev;
    prev = cur;
    cur = next;
  }
  return cur;
}

TEST(Hermite, RecurrenceAndHugeOrders) {
  EXPECT_EQ(kv::hermite_polynomial(0, 5.0), 1.0);
  EXPECT_EQ(kv::hermite_polynomial(-3, 5.0), 1.0);
  EXPECT_EQ(kv::hermite_polynomial(2, 0.0), -2.0);
  EXPECT_EQ(kv::hermite_polynomial(3, 0.5), 8 * 0.125 - 12 * 0.5);
  const double ts[] = {0.0, -0.0, 1e-320, 0.3, -2.5, 40.0, 1e200, -1e300, INFINITY, NAN};
  for (double t : ts) {
    for (int32_t k : {1, 2, 7, 150, 151, 400, 401, 3000}) {
      const double want = literal_hermite(k, t);
      const double got = kv::hermite_polynomial(k, t);
      if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got)) << "k=" << k << " t=" << t;
      } else {
        EXPECT_EQ(got, want) << "k=" << k << " t=" << t;
      }
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
  host::Array amp = host::scalar(1.5), w0 = host::scalar(7e-4);

  host::Result r =
      host::call("KVGaussHermite", 1, {zero.get(), zero.get(), amp.get(), w0.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(host::re(r[0])[o * n + o], 1.5);
  const double d = 2e-3 / n;
  const double x = -4 * d, y = 2 * d;
  EXPECT_DOUBLE_EQ(host::re(r[0])[0 * n + 6], 1.5 * std::exp(-(x * x + y * y) / (7e-4 * 7e-4)));
  EXPECT_EQ(host::re(r[0])[n * n + 3], 0.5);
  EXPECT_EQ(host::re(r[0])[n * n + 4], -3.0);

  r = host::call("KVGaussHermite", 1, {two.get(), zero.get(), amp.get(), w0.get(), f.get()});
  EXPECT_EQ(host::re(r[0])[o * n + o], -3.0);

  // n = 1 (from 1.9) goes with y: row o is zero, column o is not. The
  // samples of the input do not matter.
  r = host::call("KVGaussHermite", 1, {one.get(), zero.get(), amp.get(), w0.get(), f.get()});
  host::Result rg =
      host::call("KVGaussHermite", 1, {one.get(), zero.get(), amp.get(), w0.get(), g.get()});
  for (int64_t k = 0; k < int64_t{n} * (n + 1); ++k) {
    EXPECT_EQ(host::re(r[0])[k], host::re(rg[0])[k]);
    EXPECT_EQ(host::im(r[0])[k], 0.0);
  }
  for (int i = 0; i < n; ++i) EXPECT_EQ(host::re(r[0])[i * n + o], 0.0);
  EXPECT_NE(host::re(r[0])[o * n + o + 1], 0.0);
  // m = 1 goes with x: column o is zero.
  r = host::call("KVGaussHermite", 1, {zero.get(), one.get(), amp.get(), w0.get(), f.get()});
  for (int j = 0; j < n; ++j) EXPECT_EQ(host::re(r[0])[o * n + j], 0.0);
  EXPECT_NE(host::re(r[0])[(o + 1) * n + o], 0.0);

  // A huge order ends quickly (not a number everywhere, as the full
  // recurrence gives), and w0 = 0 leaves 0/0 at the centre only.
  host::Array huge = host::scalar(2e9), w_zero = host::scalar(0);
  r = host::call("KVGaussHermite", 1, {huge.get(), huge.get(), amp.get(), w0.get(), f.get()});
  ASSERT_FALSE(r.failed);
  EXPECT_TRUE(std::isnan(host::re(r[0])[0]));
  r = host::call("KVGaussHermite", 1, {zero.get(), zero.get(), amp.get(), w_zero.get(), f.get()});
  for (int64_t k = 0; k < int64_t{n} * n; ++k) {
    if (k == o * n + o) {
      EXPECT_TRUE(std::isnan(host::re(r[0])[k]));
    } else {
      EXPECT_EQ(host::re(r[0])[k], 0.0);
    }
  }
}

}  // namespace

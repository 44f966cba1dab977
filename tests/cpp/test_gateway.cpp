// The gateway's order of checks and messages, through the test host.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/field.h"
#include "core/gateway.h"
#include "host.h"

using host::Array;
using host::call;

namespace {

const char* const kNotField = "Input field is not a Korvane field.";
const char* const kNotScalar = "Input must be real scalar.";

// Every way an argument can fail the real-scalar test.
std::vector<Array> bad_scalars() {
  std::vector<Array> v;
  v.push_back(host::complex(1, 1));
  v.push_back(host::sparse(1, 1));
  v.push_back(host::numeric(mxSINGLE_CLASS, 1, 1));
  v.push_back(host::numeric(mxINT32_CLASS, 1, 1));
  v.push_back(host::logical(1, 1));
  v.push_back(host::string("a"));
  v.push_back(host::real(1, 2));
  v.push_back(host::real(0, 0));
  v.push_back(host::cell(1, 1));
  return v;
}

}  // namespace

TEST(Gateway, NoInputPrintsBannerOnly) {
  for (const char* name : {"KVBegin", "KVCircAperture", "KVCircScreen", "KVIntensity", "KVPhase"}) {
    host::Result r = call(name, 1, {});
    EXPECT_FALSE(r.failed) << name;
    EXPECT_EQ(r.out[0], nullptr) << name;
    EXPECT_EQ(r.printed.find("*****"), 0u) << name;
    EXPECT_NE(r.printed.find("\tKorvane for Matlab Optical Toolbox\n"), std::string::npos);
    EXPECT_NE(r.printed.find(std::string("\t") + name), std::string::npos) << name;
  }
}

TEST(Gateway, CountMessagesFollowBanner) {
  Array f = host::field(8);
  Array s = host::scalar(1);
  struct Case {
    const char* name;
    std::vector<const mxArray*> args;
    int nlhs;
    const char* msg;
  } cases[] = {
      {"KVBegin", {s.get()}, 1, "kvbegin expects three input arguments"},
      {"KVBegin", {s.get(), s.get(), s.get()}, 2, "kvbegin expects one output argument"},
      {"KVCircAperture", {s.get(), s.get(), f.get()}, 1, "expects four input arguments"},
      {"KVCircScreen", {s.get(), s.get(), s.get(), f.get()}, 2, "expects one output argument"},
      {"KVCircScreen", {s.get(), s.get(), s.get(), f.get()}, 0, "expects one output argument"},
      {"KVIntensity", {f.get()}, 1, "expects two input arguments"},
      {"KVPhase", {f.get(), f.get()}, 1, "expects one input argument"},
      {"KVPhase", {f.get()}, 3, "expects one output argument"},
      // A command of two call forms, and of one or two results.
      {"KVStructureFunction", {f.get()}, 1, "expects two or three input arguments"},
      {"KVStructureFunction",
       {f.get(), f.get(), f.get(), f.get()},
       1,
       "expects two or three input arguments"},
      {"KVStructureFunction", {f.get(), f.get()}, 0, "expects one or two output arguments"},
      {"KVStructureFunction", {f.get(), f.get()}, 3, "expects one or two output arguments"},
      {"KVMedium", {s.get(), s.get(), f.get()}, 1, "expects four or five input arguments"},
      {"KVMedium",
       {s.get(), s.get(), s.get(), f.get(), s.get(), s.get()},
       1,
       "expects four or five input arguments"},
      {"KVMedium", {s.get(), s.get(), s.get(), f.get()}, 3, "expects one or two output arguments"},
      {"KVMode", {s.get(), f.get()}, 1, "expects three input arguments"},
      {"KVMode", {s.get(), s.get(), f.get()}, 3, "expects one or two output arguments"},
      {"KVFraunhofer", {s.get(), s.get(), f.get()}, 1, "expects four or six input arguments"},
      {"KVFraunhofer",
       {s.get(), s.get(), s.get(), f.get(), s.get(), s.get(), s.get()},
       1,
       "expects four or six input arguments"},
      {"KVFocus", {s.get(), f.get()}, 1, "expects three input arguments"},
      {"KVFocus", {s.get(), s.get(), f.get()}, 2, "expects one output argument"},
      // Up to six results; a leading argument that may be left out.
      {"KVJones", {f.get(), f.get(), f.get()}, 1, "expects two output arguments"},
      {"KVWavePlate", {s.get(), s.get(), f.get(), f.get()}, 3, "expects two output arguments"},
      {"KVRotator", {s.get(), f.get()}, 2, "expects three input arguments"},
      {"KVStokes", {f.get(), f.get()}, 0, "expects one to four output arguments"},
      {"KVStokes", {f.get(), f.get()}, 5, "expects one to four output arguments"},
      {"KVBeamWidth", {}, 1, ""},
      {"KVBeamWidth", {f.get(), f.get(), f.get()}, 1, "expects one or two input arguments"},
      {"KVBeamWidth", {f.get()}, 6, "expects one to five output arguments"},
      {"KVBeamQuality", {f.get()}, 7, "expects one to six output arguments"},
  };
  for (const Case& c : cases) {
    host::Result r = call(c.name, c.nlhs, c.args);
    EXPECT_EQ(r.failed, !c.args.empty()) << c.name;
    EXPECT_EQ(r.error, c.msg) << c.name;
    EXPECT_EQ(r.printed.find("*****"), 0u) << c.name;
  }
}

// A call gets as many results as it asks for, up to the most the command
// gives (six here, above the two of the first commands), each in its slot.
TEST(Gateway, ManyResults) {
  Array f = host::field(16);
  Array intensity = host::real(16, 16, std::vector<double>(256, 1.0));
  for (int nlhs = 1; nlhs <= 6; ++nlhs) {
    host::Result r = call("KVBeamQuality", nlhs, {f.get()});
    ASSERT_FALSE(r.failed) << r.error;
    ASSERT_EQ(r.out.size(), static_cast<size_t>(nlhs));
    for (int s = 0; s < nlhs; ++s) {
      ASSERT_NE(r[s], nullptr) << s;
      EXPECT_EQ(mxGetM(r[s]) * mxGetN(r[s]), 1u);
    }
  }
  host::Result s = call("KVStokes", 4, {f.get(), f.get()});
  ASSERT_FALSE(s.failed) << s.error;
  const double stokes[4] = {2, 0, 2, 0};  // Fx = Fy = 1: polarized at 45 degrees
  for (int k = 0; k < 4; ++k) EXPECT_EQ(host::real_data(s[k])[0], stokes[k]) << k;
  // The short call form binds its one argument as a field, the long one its
  // first as an array: the same figures from a field and its intensity.
  host::Result a = call("KVBeamWidth", 5, {f.get()});
  host::Result b = call("KVBeamWidth", 5, {intensity.get(), f.get()});
  ASSERT_FALSE(a.failed || b.failed) << a.error << b.error;
  for (int k = 0; k < 5; ++k) EXPECT_EQ(host::real_data(a[k])[0], host::real_data(b[k])[0]);
  EXPECT_EQ(call("KVBeamWidth", 1, {intensity.get()}).error, kNotField);
  EXPECT_EQ(call("KVBeamWidth", 1, {f.get(), f.get()}).error,
            "Input intensity array must have real elements.");
}

TEST(Gateway, RealScalarTestOnEveryClass) {
  Array f = host::field(8);
  Array one = host::scalar(1);
  for (const Array& bad : bad_scalars()) {
    for (int pos = 0; pos < 3; ++pos) {
      std::vector<const mxArray*> args{one.get(), one.get(), one.get(), f.get()};
      args[static_cast<size_t>(pos)] = bad.get();
      host::Result r = call("KVCircAperture", 1, args);
      EXPECT_EQ(r.error, kNotScalar) << "position " << pos;
      EXPECT_TRUE(r.printed.empty());
    }
    host::Result b = call("KVBegin", 1, {one.get(), bad.get(), one.get()});
    EXPECT_EQ(b.error, kNotScalar);
  }
}

TEST(Gateway, FieldTests) {
  Array one = host::scalar(1);
  auto circ = [&](const mxArray* f) {
    return call("KVCircAperture", 1, {one.get(), one.get(), one.get(), f});
  };
  // A real array with a correct header is not a field in this host.
  Array real = host::real(8, 9);
  host::set_re(real.get(), 66, 8);
  EXPECT_EQ(circ(real.get()).error, kNotField);
  // Header column missing, header N disagreeing, NaN or huge N.
  EXPECT_EQ(circ(host::complex(8, 8).get()).error, kNotField);
  for (double n : {7.0, 9.0, double(NAN), 2147483647.0, 1e300, -8.0}) {
    Array f = host::field(8);
    host::set_re(f.get(), 66, n);
    EXPECT_EQ(circ(f.get()).error, kNotField) << n;
  }
  // Arrays too small to hold a header are refused before it is read.
  for (size_t m : {0, 1, 2, 3, 4}) EXPECT_EQ(circ(host::complex(m, m + 1).get()).error, kNotField);
  // Complex arrays that are not full doubles cannot be read as fields.
  Array single = host::numeric(mxSINGLE_CLASS, 8, 9, mxCOMPLEX);
  EXPECT_EQ(circ(single.get()).error, kNotField);
  Array int16 = host::numeric(mxINT16_CLASS, 8, 9, mxCOMPLEX);
  EXPECT_EQ(circ(int16.get()).error, kNotField);
  EXPECT_EQ(circ(host::sparse(8, 9, true).get()).error, kNotField);
  // A fractional N whose truncation matches is accepted, and written back whole.
  Array frac = host::field(8);
  host::set_re(frac.get(), 66, 8.9);
  host::Result ok = circ(frac.get());
  ASSERT_FALSE(ok.failed) << ok.error;
  EXPECT_EQ(host::re(ok[0], 66), 8.0);
}

TEST(Gateway, ScalarMessageWinsOverField) {
  Array bad = host::complex(1, 1);
  Array one = host::scalar(1);
  Array notfield = host::real(3, 3);
  host::Result r = call("KVCircAperture", 1, {one.get(), bad.get(), one.get(), notfield.get()});
  EXPECT_EQ(r.error, kNotScalar);
  host::Result i = call("KVIntensity", 1, {bad.get(), notfield.get()});
  EXPECT_EQ(i.error, kNotScalar);
}

TEST(Gateway, ErrorsFreeEverythingTheCallCreated) {
  const long before = host::live_arrays();
  {
    Array f = host::field(8);
    for (int i = 0; i < 64; ++i) host::set_re(f.get(), i, 0);
    Array flag = host::scalar(1);
    host::Result r = call("KVIntensity", 1, {flag.get(), f.get()});
    EXPECT_EQ(r.error, "Cannot normalize: Zero beam power.");
    EXPECT_FALSE(r.swallowed);
  }
  EXPECT_EQ(host::live_arrays(), before);
}

TEST(Gateway, IntegerTruncation) {
  EXPECT_EQ(kv::truncate_int(7.9), 7);
  EXPECT_EQ(kv::truncate_int(-0.5), 0);
  EXPECT_EQ(kv::truncate_int(-7.9), -7);
  EXPECT_EQ(kv::truncate_int(2147483647.9), 2147483647);
  EXPECT_EQ(kv::truncate_int(-2147483648.9), INT32_MIN);
  EXPECT_EQ(kv::truncate_int(2147483648.0), INT32_MIN);
  EXPECT_EQ(kv::truncate_int(NAN), INT32_MIN);
  EXPECT_EQ(kv::truncate_int(-INFINITY), INT32_MIN);
}

// Every refusal carries an identifier naming its kind; the text stays the
// command's own.
TEST(Gateway, ErrorIdentifiers) {
  Array f = host::field(8);
  Array f16 = host::field(16);
  Array curved = host::field(8, 1e-3, 1e-6, 0.5);
  Array one = host::scalar(1);
  Array seven = host::scalar(7);
  Array huge = host::scalar(2147483646);
  Array cplx = host::complex(1, 1);
  Array notfield = host::complex(8, 8);
  Array wrong = host::real(4, 4);
  struct Case {
    const char* name;
    std::vector<const mxArray*> args;
    int nlhs;
    const char* id;
    const char* msg;
  } cases[] = {
      {"KVCircAperture",
       {one.get(), f.get()},
       1,
       "Korvane:argCount",
       "expects four input arguments"},
      {"KVNormal", {f.get()}, 1, "Korvane:argCount", "expects two output arguments.\n\n"},
      {"KVTilt", {cplx.get(), one.get(), f.get()}, 1, "Korvane:notScalar", kNotScalar},
      {"KVTilt", {one.get(), one.get(), notfield.get()}, 1, "Korvane:notField", kNotField},
      {"KVBeamMix",
       {f.get(), notfield.get()},
       1,
       "Korvane:notField",
       "Input field 2 is not a Korvane field."},
      {"KVSubPhase",
       {wrong.get(), f.get()},
       1,
       "Korvane:badArray",
       "Input phase array must be square and must have equal dimensions as the input field."},
      {"KVLens",
       {one.get(), one.get(), one.get(), curved.get()},
       1,
       "Korvane:spherical",
       "No spherical coordinates allowed. Use KVConvert first"},
      {"KVBeamMix", {f.get(), f16.get()}, 1, "Korvane:mismatch", "Unequal grid dimensions."},
      {"KVBegin",
       {one.get(), one.get(), seven.get()},
       1,
       "Korvane:badValue",
       "Grid dimension must be larger than 8x8 points."},
      {"KVBegin",
       {one.get(), one.get(), huge.get()},
       1,
       "Korvane:tooLarge",
       "Grid dimension too large: the result would not fit in memory."},
  };
  for (const Case& c : cases) {
    host::Result r = call(c.name, c.nlhs, c.args);
    EXPECT_TRUE(r.failed) << c.name;
    EXPECT_EQ(r.id, c.id) << c.name << ": " << r.error;
    EXPECT_EQ(r.error, c.msg) << c.name;
  }
  // A failed allocation is told apart from every refusal.
  host::fail_allocation_at(1);
  host::Result r = call("KVTilt", 1, {one.get(), one.get(), f.get()});
  host::fail_allocation_at(0);
  EXPECT_EQ(r.id, "Korvane:outOfMemory");
  EXPECT_EQ(r.error, "Out of memory.");
  // A '%' in a message reaches the user as it stands.
  char buf[512];
  EXPECT_STREQ(kv::as_format("50% of %s", buf), "50%% of %%s");
}

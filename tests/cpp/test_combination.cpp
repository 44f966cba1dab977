// Beam mixing, polarizer, gain sheet and attenuator through the test host:
// their shells, the order of their two-field checks, and their formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host.h"

namespace {

using host::Array;

// A field of dimension n whose samples cycle through re + i*im.
Array field_of(int n, const std::vector<double>& re, const std::vector<double>& im,
               double size = 1e-3, double lambda = 1e-6, double curvature = 0, double aux = 0) {
  Array f = host::field(n, size, lambda, curvature, aux);
  for (int64_t k = 0; k < int64_t{n} * n; ++k) {
    host::set_re(f.get(), k, re[static_cast<size_t>(k) % re.size()]);
    host::set_im(f.get(), k, im[static_cast<size_t>(k) % im.size()]);
  }
  return f;
}

// Header slot s of a field (the real part of element n*n + s).
double head(const mxArray* f, size_t s) { return host::re(f, mxGetM(f) * mxGetM(f) + s); }
void set_head(mxArray* f, size_t s, double v) { host::set_re(f, mxGetM(f) * mxGetM(f) + s, v); }

}  // namespace

TEST(CombinationShell, BannersAndCounts) {
  Array f = host::field(8);
  Array s = host::scalar(1);
  const struct {
    const char* name;
    size_t stars, scalars, fields;
    const char* call_form;
    const char* input_msg;
  } cases[] = {
      {"KVBeamMix", 53, 0, 2, "\tFout = KVBeamMix(Fin1,Fin2);\n", "expects two input arguments"},
      {"KVPolarizer", 100, 1, 2, "\tFout=KVPolarizer(Phi,Fx,Fy);\n",
       "expects three input arguments"},
      {"KVGain", 53, 3, 1, "\tFout = KVGain(Isat,gain,L,Fin);\n", "expects four input argument"},
      {"KVIntAttenuator", 53, 1, 1, "\tFout=KVIntAttenuator(R,Fin);\n",
       "expects two input arguments"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string stars(c.stars, '*');
    const std::string b = host::call(c.name, 1, {}).printed;
    EXPECT_EQ(b.rfind(stars + "\n\n\tKorvane for Matlab Optical Toolbox\n\n\t" + c.name, 0), 0u);
    EXPECT_NE(b.find(c.call_form), std::string::npos);
    EXPECT_EQ(b.substr(b.size() - c.stars - 3), "\n" + stars + "\n\n");

    std::vector<const mxArray*> args(c.scalars, s.get());
    args.insert(args.end(), c.fields, f.get());
    host::Result r = host::call(c.name, 2, args);
    EXPECT_EQ(r.error, "expects one output argument");
    EXPECT_EQ(r.printed, b);
    r = host::call(c.name, 1, args);
    EXPECT_FALSE(r.failed) << r.error;
    EXPECT_TRUE(r.printed.empty());
    args.push_back(f.get());
    r = host::call(c.name, 1, args);
    EXPECT_EQ(r.error, c.input_msg);
    EXPECT_EQ(r.printed, b);
  }
}

// The order of the two-field checks: complex flags, shapes, dimensions,
// then the result codes in their order.
TEST(TwoFields, OrderOfChecks) {
  Array phi = host::scalar(0.3);
  Array cphi = host::complex(1, 1);
  Array f16 = host::field(16);
  Array f32 = host::field(32);
  Array real16 = host::real(16, 17);
  set_head(real16.get(), 2, 16);
  Array bad_n = host::field(16);
  set_head(bad_n.get(), 2, 15);
  Array wider = host::field(16, std::nextafter(1e-3, 1.0));
  Array nan_size = host::field(16, std::nan(""));
  Array curved = host::field(16, 1e-3, 1e-6, 0.5);
  Array curved_nan = host::field(16, 1e-3, 1e-6, std::nan(""));
  Array other_lambda = host::field(16, 1e-3, 2e-6);
  Array nan_lambda = host::field(16, 1e-3, std::nan(""));
  Array all_three = host::field(16, 2e-3, 2e-6, 1.0);
  Array lambda_curved = host::field(16, 1e-3, 2e-6, -1.0);
  const char* const kField1 = "Input field 1 is not a Korvane field.";
  const char* const kField2 = "Input field 2 is not a Korvane field.";
  const char* const kSizes = "Input field(s) have unequal grid sizes.";
  const char* const kSpherical = "Input field(s) have spherical coordinates (use KVConvert first).";
  const char* const kNotField = "Input field is not a Korvane field.";
  const char* const kLambdas = "Input fields must have equal wave lengths.";
  const struct {
    const mxArray* phi;  // null: KVBeamMix
    const mxArray* a;
    const mxArray* b;
    const char* msg;
  } cases[] = {
      {nullptr, real16.get(), bad_n.get(), kField1},  // both complex tests before any shape test
      {nullptr, f16.get(), real16.get(), kField2},
      {nullptr, f32.get(), bad_n.get(), kField2},  // the shape before the dimensions
      {nullptr, f16.get(), f32.get(), "Unequal grid dimensions."},
      {nullptr, f16.get(), wider.get(), kSizes},
      {nullptr, nan_size.get(), nan_size.get(), kSizes},
      {nullptr, curved.get(), wider.get(), kSizes},  // sizes before curvature
      {nullptr, f16.get(), curved.get(), kSpherical},
      {nullptr, curved_nan.get(), f16.get(), kSpherical},
      {cphi.get(), real16.get(), real16.get(), "Input must be real scalar."},
      {phi.get(), real16.get(), f16.get(), kNotField},
      {phi.get(), f16.get(), bad_n.get(), kNotField},
      {phi.get(), f32.get(), f16.get(), "Input fields must have equal grid dimensions."},
      {phi.get(), f16.get(), all_three.get(), "Input fields must have equal grid sizes."},
      {phi.get(), f16.get(), other_lambda.get(), kLambdas},
      {phi.get(), nan_lambda.get(), nan_lambda.get(), kLambdas},
      {phi.get(), lambda_curved.get(), f16.get(), kLambdas},
      {phi.get(), f16.get(), curved_nan.get(),
       "One of the input fields has spherical coordinates."},
  };
  for (const auto& c : cases) {
    host::Result r = c.phi ? host::call("KVPolarizer", 1, {c.phi, c.a, c.b})
                           : host::call("KVBeamMix", 1, {c.a, c.b});
    EXPECT_EQ(r.error, c.msg);
    EXPECT_TRUE(r.printed.empty());
  }
}

TEST(BeamMix, SumAndHeader) {
  Array a = field_of(8, {3, -1}, {4, 2}, 1e-3, 500e-9, 0, 3.7);
  Array b = field_of(8, {1, 1}, {-4, 0}, 1e-3, 600e-9, 0, 9);
  host::Result r = host::call("KVBeamMix", 1, {a.get(), b.get()});
  ASSERT_FALSE(r.failed) << r.error;
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(host::re(r[0], k), k % 2 ? 0.0 : 4.0);
    EXPECT_EQ(host::im(r[0], k), k % 2 ? 2.0 : 0.0);
  }
  const double want[] = {1e-3, 550e-9, 8.0, 0.0, 3.0};
  for (int s = 0; s < 5; ++s) EXPECT_DOUBLE_EQ(head(r[0], s), want[s]);
  // With itself: every sample doubled, the wavelength carried exactly.
  r = host::call("KVBeamMix", 1, {a.get(), a.get()});
  EXPECT_EQ(host::re(r[0], 0), 6.0);
  EXPECT_EQ(host::im(r[0], 1), 4.0);
  EXPECT_EQ(head(r[0], 1), 500e-9);
}

TEST(Polarizer, Projection) {
  Array fx = field_of(8, {3}, {4}, 1e-3, 1e-6, 0, 3.7);
  Array fy = field_of(8, {-1}, {2}, 1e-3, 1e-6, 0, 5);
  Array zero = host::scalar(0);
  host::Result r = host::call("KVPolarizer", 1, {zero.get(), fx.get(), fy.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(host::re(r[0], 5), 3.0);
  EXPECT_EQ(host::im(r[0], 5), 4.0);
  EXPECT_EQ(head(r[0], 4), 3.0);
  Array right = host::scalar(M_PI / 2);
  r = host::call("KVPolarizer", 1, {right.get(), fx.get(), fy.get()});
  EXPECT_NEAR(host::re(r[0], 0), -1.0, 1e-15);
  EXPECT_NEAR(host::im(r[0], 0), 2.0, 1e-15);
  Array quarter = host::scalar(M_PI / 4);
  r = host::call("KVPolarizer", 1, {quarter.get(), fx.get(), fx.get()});
  EXPECT_NEAR(host::re(r[0], 63), 3.0 * std::sqrt(2.0), 1e-14);
  EXPECT_NEAR(host::im(r[0], 63), 4.0 * std::sqrt(2.0), 1e-14);
}

TEST(Gain, WeakSignalSaturationAndSwitches) {
  // Samples: very weak, exactly Isat (|3+4i|^2 = 25), zero.
  Array f = field_of(8, {1e-6, 3, 0}, {0, 4, 0}, 1e-3, 1e-6, 0.25, -3.7);
  Array isat = host::scalar(25);
  Array gain = host::scalar(std::log(4.0));
  Array len = host::scalar(1);
  host::Result r = host::call("KVGain", 1, {isat.get(), gain.get(), len.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_NEAR(host::re(r[0], 0), 2e-6, 1e-17);  // gain*L = ln 4: amplitude doubles
  const double i1 = host::re(r[0], 1) * host::re(r[0], 1) + host::im(r[0], 1) * host::im(r[0], 1);
  EXPECT_NEAR(i1, 25.0 * 2.0, 1e-12);  // I = Isat: intensity times exp(ln 4 / 2)
  EXPECT_NEAR(host::im(r[0], 1) / host::re(r[0], 1), 4.0 / 3.0, 1e-15);  // phase kept
  EXPECT_TRUE(host::re(r[0], 2) == 0.0 && host::im(r[0], 2) == 0.0);
  EXPECT_EQ(head(r[0], 3), 0.25);
  EXPECT_EQ(head(r[0], 4), -3.0);

  // Isat = 0 switches the gain off, whatever gain and L are.
  Array off = host::scalar(0), big = host::scalar(50);
  r = host::call("KVGain", 1, {off.get(), big.get(), big.get(), f.get()});
  EXPECT_EQ(host::re(r[0], 1), 3.0);
  EXPECT_EQ(host::im(r[0], 1), 4.0);

  // L is not put to the real-scalar test: a 1 x 3 array gives its first value.
  Array row = host::real(1, 3, {1, 100, 100});
  r = host::call("KVGain", 1, {isat.get(), gain.get(), row.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_NEAR(host::re(r[0], 0), 2e-6, 1e-17);
  Array cpx = host::complex(1, 1);
  EXPECT_EQ(host::call("KVGain", 1, {isat.get(), cpx.get(), row.get(), f.get()}).error,
            "Input must be real scalar.");
}

TEST(IntAttenuator, Scaling) {
  Array f = field_of(8, {3}, {4}, 1e-3, 1e-6, 0.5, 3.7);
  Array quarter = host::scalar(0.25);
  host::Result r = host::call("KVIntAttenuator", 1, {quarter.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(host::re(r[0], 7), 1.5);
  EXPECT_EQ(host::im(r[0], 7), 2.0);
  EXPECT_EQ(head(r[0], 3), 0.5);
  EXPECT_EQ(head(r[0], 4), 3.0);
  Array neg = host::scalar(-1);
  r = host::call("KVIntAttenuator", 1, {neg.get(), f.get()});
  ASSERT_FALSE(r.failed);
  EXPECT_TRUE(std::isnan(host::re(r[0], 0)));
  EXPECT_TRUE(std::isnan(host::im(r[0], 0)));
}

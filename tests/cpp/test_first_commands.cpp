// KVBegin, the circular masks and the two read-outs, through the test host
// and as plain computations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/readout.h"
#include "apertures/circle.h"
#include "core/field.h"
#include "host.h"

using host::Array;
using host::call;

namespace {

// A field of dimension n held in vectors, for the computations.
struct Samples {
  int32_t n;
  std::vector<kv::cplx> z, o;  // input and output
  explicit Samples(int32_t n_, double size = 1.0)
      : n(n_),
        z(static_cast<size_t>(n_) * (n_ + 1), kv::cplx(1.0, 0.0)),
        o(z.size(), kv::cplx(-1.0, -1.0)),
        size_(size) {}
  kv::FieldIn in() const { return {z.data(), nullptr, n, {size_, 1e-6, 0, 0}}; }
  kv::FieldOut out() { return {o.data(), n}; }
  double ore(size_t k) const { return o[k].real(); }
  double oim(size_t k) const { return o[k].imag(); }
  double size_;
};

double at(const Array& a, size_t k) { return host::re(a.get(), k); }

}  // namespace

TEST(Begin, CreatesUniformField) {
  Array s = host::scalar(2.5), l = host::scalar(5e-7), n = host::scalar(8.9);
  host::Result r = call("KVBegin", 1, {s.get(), l.get(), n.get()});
  ASSERT_FALSE(r.failed) << r.error;
  ASSERT_EQ(mxGetM(r[0]), 8u);
  ASSERT_EQ(mxGetN(r[0]), 9u);
  ASSERT_TRUE(mxIsComplex(r[0]));
  for (size_t k = 0; k < 64; ++k) {
    EXPECT_EQ(host::re(r[0], k), 1.0);
    EXPECT_EQ(host::im(r[0], k), 0.0);
  }
  const double head[] = {2.5, 5e-7, 8, 0, 0, 0, 0, 0};
  for (size_t k = 0; k < 8; ++k) {
    EXPECT_EQ(host::re(r[0], 64 + k), head[k]);
    EXPECT_EQ(host::im(r[0], 64 + k), 0.0);
  }
}

TEST(Begin, GridDimensionChecks) {
  Array one = host::scalar(1);
  struct {
    double n;
    const char* msg;
  } cases[] = {{7, "Grid dimension must be larger than 8x8 points."},
               {-2, "Grid dimension must be larger than 8x8 points."},
               {NAN, "Grid dimension must be larger than 8x8 points."},
               {9, "Grid dimension must be an even number."},
               {9.5, "Grid dimension must be an even number."},
               {2147483647.0, "Grid dimension must be an even number."}};
  for (const auto& c : cases) {
    Array n = host::scalar(c.n);
    EXPECT_EQ(call("KVBegin", 1, {one.get(), one.get(), n.get()}).error, c.msg) << c.n;
  }
  // Zero size and wavelength are stored as given.
  Array zero = host::scalar(0), eight = host::scalar(8);
  host::Result r = call("KVBegin", 1, {zero.get(), zero.get(), eight.get()});
  ASSERT_FALSE(r.failed);
  EXPECT_EQ(at(r.out[0], 64), 0.0);
}

TEST(Begin, HugeGridEndsWithAClearError) {
  Array one = host::scalar(1), lambda = host::scalar(1e-6);
  for (double n : {1e9, 2147483646.0}) {
    Array big = host::scalar(n);
    host::Result r = call("KVBegin", 1, {one.get(), lambda.get(), big.get()});
    EXPECT_TRUE(r.failed);
    EXPECT_NE(r.error.find("too large"), std::string::npos) << r.error;
  }
}

TEST(CircMask, BoundarySampleAndComplements) {
  // N = 8, size 8: dx = 1. Radius 2 about the origin: sample (4+2, 4) is on
  // the circle.
  Samples p(8, 8.0);
  kv::circ_mask(2.0, 0.0, 0.0, p.in(), p.out(), kv::Keep::Inside);
  EXPECT_EQ(p.ore(6 * 8 + 4), 1.0);
  EXPECT_EQ(p.ore(6 * 8 + 5), 0.0);  // distance^2 = 5
  EXPECT_EQ(p.ore(4 * 8 + 4), 1.0);
  int inside = 0;
  for (int k = 0; k < 64; ++k) inside += p.ore(static_cast<size_t>(k)) == 1.0;
  EXPECT_EQ(inside, 13);
  kv::circ_mask(2.0, 0.0, 0.0, p.in(), p.out(), kv::Keep::Outside);
  EXPECT_EQ(p.ore(6 * 8 + 4), 0.0);
  EXPECT_EQ(p.ore(6 * 8 + 5), 1.0);
  // A negative radius acts like its absolute value.
  kv::circ_mask(-2.0, 0.0, 0.0, p.in(), p.out(), kv::Keep::Outside);
  EXPECT_EQ(p.ore(6 * 8 + 4), 0.0);
}

TEST(CircMask, NaNPassesEverythingAndBlankedSamplesAreZero) {
  Samples p(8, 8.0);
  p.z[0].real(NAN);
  p.z[1].imag(INFINITY);
  kv::circ_mask(NAN, 0.0, 0.0, p.in(), p.out(), kv::Keep::Inside);
  EXPECT_TRUE(std::isnan(p.ore(0)));
  EXPECT_EQ(p.oim(1), INFINITY);
  kv::circ_mask(1.0, 0.0, NAN, p.in(), p.out(), kv::Keep::Outside);
  EXPECT_TRUE(std::isnan(p.ore(0)));
  // The blocked region overwrites non-finite samples with exact zeros.
  kv::circ_mask(1.0, 0.0, 0.0, p.in(), p.out(), kv::Keep::Inside);
  EXPECT_EQ(p.ore(0), 0.0);
  EXPECT_EQ(p.oim(1), 0.0);
}

TEST(CircMask, OddGridIsCentredOnTheMiddleSample) {
  Samples p(9, 9.0);
  kv::circ_mask(0.0, 0.0, 0.0, p.in(), p.out(), kv::Keep::Inside);
  for (int k = 0; k < 81; ++k) EXPECT_EQ(p.ore(static_cast<size_t>(k)), k == 4 * 9 + 4 ? 1.0 : 0.0);
}

TEST(CircMask, CommandCarriesHeader) {
  Array f = host::field(8, 1e-3, 5e-7, 0.25, -2.7);
  Array r = host::scalar(1e-3), zero = host::scalar(0);
  host::Result res = call("KVCircScreen", 1, {r.get(), zero.get(), zero.get(), f.get()});
  ASSERT_FALSE(res.failed);
  const double head[] = {1e-3, 5e-7, 8, 0.25, -2};
  for (size_t k = 0; k < 5; ++k) EXPECT_EQ(host::re(res[0], 64 + k), head[k]);
  // The whole grid lies inside a radius of 1 mm: the screen blocks it all.
  for (size_t k = 0; k < 64; ++k) EXPECT_EQ(host::re(res[0], k), 0.0);
  // The input is untouched.
  EXPECT_EQ(host::re(f.get(), 0), 1.0);
}

TEST(Readout, IntensityScaling) {
  Samples p(8);
  std::fill(p.z.begin(), p.z.begin() + 64, kv::cplx(0.0, 0.0));
  p.z[10] = kv::cplx(3, 4);
  std::vector<double> out(64);
  ASSERT_TRUE(kv::intensity(p.in(), kv::Normalize::None, out.data()));
  EXPECT_EQ(out[10], 25.0);
  ASSERT_TRUE(kv::intensity(p.in(), kv::Normalize::ToOne, out.data()));
  EXPECT_EQ(out[10], 1.0);
  EXPECT_EQ(out[11], 0.0);
  ASSERT_TRUE(kv::intensity(p.in(), kv::Normalize::To255, out.data()));
  EXPECT_EQ(out[10], 255.0);
  // NaN takes no part in the peak; an infinite peak makes finite values 0.
  p.z[3].real(NAN);
  ASSERT_TRUE(kv::intensity(p.in(), kv::Normalize::ToOne, out.data()));
  EXPECT_TRUE(std::isnan(out[3]));
  EXPECT_EQ(out[10], 1.0);
  p.z[4].real(INFINITY);
  ASSERT_TRUE(kv::intensity(p.in(), kv::Normalize::ToOne, out.data()));
  EXPECT_EQ(out[10], 0.0);
  EXPECT_TRUE(std::isnan(out[4]));
  // All zero (or NaN): nothing to scale by.
  Samples z(8);
  std::fill(z.z.begin(), z.z.begin() + 64, kv::cplx(0.0, 0.0));
  EXPECT_TRUE(kv::intensity(z.in(), kv::Normalize::None, out.data()));
  EXPECT_FALSE(kv::intensity(z.in(), kv::Normalize::ToOne, out.data()));
}

TEST(Readout, IntensityFlagThroughTheCommand) {
  Array f = host::field(8);
  for (double flag : {1.9, -0.7, 2.5}) {
    Array fl = host::scalar(flag);
    host::Result r = call("KVIntensity", 1, {fl.get(), f.get()});
    ASSERT_FALSE(r.failed) << flag;
    EXPECT_FALSE(mxIsComplex(r[0]));
    EXPECT_EQ(mxGetN(r[0]), 8u);
    EXPECT_EQ(at(r.out[0], 0), flag == 2.5 ? 255.0 : 1.0);
  }
  for (double flag : {3.0, -1.0, double(NAN)}) {
    Array fl = host::scalar(flag);
    EXPECT_EQ(call("KVIntensity", 1, {fl.get(), f.get()}).error, " flag must be 0, 1, or 2");
  }
}

TEST(Readout, PhaseConstants) {
  Samples p(8);
  const double re[] = {1, -1, 0, 0, 0, -0.0, NAN, 0};
  const double im[] = {0, 0, 1, -1, 0, 0, 0, NAN};
  for (size_t k = 0; k < 8; ++k) p.z[k] = kv::cplx(re[k], im[k]);
  std::vector<double> out(64);
  kv::phase(p.in(), out.data());
  EXPECT_EQ(out[0], 0.0);
  EXPECT_EQ(out[1], M_PI);
  EXPECT_EQ(out[2], 1.570796327);
  EXPECT_EQ(out[3], 4.712388981);
  EXPECT_EQ(out[4], 1.570796327);
  EXPECT_EQ(out[5], 1.570796327);
  EXPECT_TRUE(std::isnan(out[6]));
  EXPECT_EQ(out[7], 4.712388981);
  EXPECT_EQ(out[8], 0.0);
}

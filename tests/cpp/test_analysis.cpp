// Phase unwrapping, Strehl ratio and normalization: the computations and
// the modules through the test host.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "analysis/unwrap.h"
#include "host.h"

namespace {

constexpr double kT = 3.141592654;
constexpr double kS = 6.283185308;

// The folding loop one step at a time.
double fold_stepwise(double v, double ref) {
  if (v - ref >= kT) {
    do {
      v -= kS;
    } while (v - ref >= kT);
  } else {
    while (v - ref <= -kT) v += kS;
  }
  return v;
}

// Folds x into (-pi, pi], like a phase read-out.
double wrap(double x) { return std::atan2(std::sin(x), std::cos(x)); }

// An n x n array with element i*n + j = f(i - n/2, j - n/2).
template <class F>
std::vector<double> grid(int64_t n, F f) {
  std::vector<double> v(static_cast<size_t>(n * n));
  for (int64_t i = 0; i < n; ++i) {
    for (int64_t j = 0; j < n; ++j) v[static_cast<size_t>(i * n + j)] = f(i - n / 2, j - n / 2);
  }
  return v;
}

std::vector<double> unwrap(const std::vector<double>& in, int64_t n, double k = 1.0) {
  std::vector<double> out(in.size(), std::nan(""));
  kv::unwrap_phase(in.data(), n, k, out.data());
  return out;
}

}  // namespace

TEST(Fold, SameResultAsTheStepwiseLoop) {
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  // Magnitudes up to 1e7 (1.6 million steps) cross many binades, where every
  // step is rounded to a coarser grid than the one before.
  for (double scale : {1.0, 10.0, 100.0, 1e3, 1e4, 1e5, 1e6, 1e7}) {
    for (int t = 0; t < 40; ++t) {
      const double v = unit(gen) * scale;
      const double ref = unit(gen) * (t % 2 ? scale : 3.0);
      ASSERT_EQ(kv::fold_phase(v, ref), fold_stepwise(v, ref)) << v << " toward " << ref;
    }
  }
  // Binade edges and the threshold itself.
  for (double v : {16.0, 32.0, 64.0 - 1e-14, 1024.0, -4096.0, kT, -kT, 2 * kT}) {
    for (double ref : {0.0, 1.0, -20.0, 40.0}) {
      EXPECT_EQ(kv::fold_phase(v, ref), fold_stepwise(v, ref)) << v << " toward " << ref;
    }
  }
}

TEST(Fold, EndsOnEveryValue) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::nan("");
  const auto start = std::chrono::steady_clock::now();
  // Non-finite differences leave the value as it is, like NaN.
  EXPECT_EQ(kv::fold_phase(-inf, 0.0), -inf);
  EXPECT_EQ(kv::fold_phase(0.5, inf), 0.5);
  EXPECT_EQ(kv::fold_phase(1e308, -1e308), 1e308);
  EXPECT_TRUE(std::isnan(kv::fold_phase(nan, 0.0)));
  EXPECT_EQ(kv::fold_phase(1.0, nan), 1.0);
  // So large that a step no longer changes it: left where the steps stop.
  EXPECT_EQ(kv::fold_phase(1e300, 0.0), 1e300);
  EXPECT_EQ(kv::fold_phase(0.5, 1e300), std::ldexp(1.0, 56));
  // 1e15 / 6.28 steps, through every binade down to the reference.
  EXPECT_LT(std::fabs(kv::fold_phase(1e15, 0.25) - 0.25), kT);
  EXPECT_GT(kv::fold_phase(-3e16, 2.0) - 2.0, -kT);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(Unwrap, RestoresRampAndParaboloid) {
  const int64_t n = 64;
  // A ramp of 1.0 per column, and a paraboloid whose neighbours differ by
  // less than pi but which spans about 40 radians.
  auto ramp = [](int64_t a, int64_t) { return 1.0 * static_cast<double>(a) + 0.3; };
  auto bowl = [](int64_t a, int64_t b) { return 0.02 * static_cast<double>(a * a + b * b) - 1.0; };
  for (auto shape : {+ramp, +bowl}) {
    const std::vector<double> truth = grid(n, shape);
    std::vector<double> wrapped(truth.size());
    for (size_t k = 0; k < truth.size(); ++k) wrapped[k] = wrap(truth[k]);
    const std::vector<double> out = unwrap(wrapped, n);
    // The centre is kept, so the result is the truth shifted by the centre's
    // multiple of 6.283185308 (zero here).
    const size_t centre = static_cast<size_t>((n / 2) * n + n / 2);
    EXPECT_EQ(out[centre], wrapped[centre]);
    for (size_t k = 0; k < truth.size(); ++k) ASSERT_NEAR(out[k], truth[k], 1e-6) << k;
  }
}

TEST(Unwrap, EverySizeWritesEveryElementOnce) {
  // A smooth tilted plane offset by 2*kS at every element: every element is
  // written (no NaN sentinel left) and folded back to the plane; K scales.
  for (int64_t n = 1; n <= 13; ++n) {
    SCOPED_TRACE(n);
    const std::vector<double> plane =
        grid(n, [](int64_t a, int64_t b) { return 0.5 * a + 0.25 * b; });
    EXPECT_EQ(unwrap(plane, n), plane);
    std::vector<double> in = plane;
    for (size_t k = 0; k < in.size(); ++k) {
      if (k != static_cast<size_t>((n / 2) * n + n / 2)) in[k] += 2 * kS;
    }
    const std::vector<double> out = unwrap(in, n, -1.0);
    for (size_t k = 0; k < in.size(); ++k) ASSERT_NEAR(out[k], -plane[k], 1e-9) << k;
  }
  std::vector<double> none;
  kv::unwrap_phase(none.data(), 0, 1.0, none.data());
}

TEST(UnwrapCommand, ChecksAndShapes) {
  host::Array k = host::scalar(2.0);
  host::Array cpx = host::complex(4, 4);
  host::Array wide = host::real(8, 9);
  host::Array text = host::string("ab");
  host::Array cell = host::cell(2, 2);
  host::Array f = host::field(8);
  host::Result r = host::call("KVPhaseUnwrap", 1, {k.get()});
  EXPECT_EQ(r.error, "expects two input arguments");
  EXPECT_EQ(r.printed.rfind(std::string(100, '*') + "\n\n\tKorvane", 0), 0u);
  EXPECT_NE(r.printed.find("\tPhaseOut=KVPhaseUnwrap(K,PhaseIn);\n"), std::string::npos);
  const struct {
    const mxArray* k;
    const mxArray* phase;
    const char* msg;
  } cases[] = {
      {cpx.get(), wide.get(), "Input must be real scalar."},
      {k.get(), cpx.get(), "Input phase array must have real elements."},
      {k.get(), f.get(), "Input phase array must have real elements."},
      {k.get(), wide.get(), "Input phase array must be square."},
      {k.get(), text.get(), "Input phase array must be square."},
      {k.get(), cell.get(), "Input phase array must be a numeric or logical array."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(host::call("KVPhaseUnwrap", 1, {c.k, c.phase}).error, c.msg);

  // Empty in, empty out; single precision is read as its values.
  host::Array empty = host::real(0, 0);
  r = host::call("KVPhaseUnwrap", 1, {k.get(), empty.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(mxGetM(r[0]) + mxGetN(r[0]), 0u);
  host::Array single = host::numeric(mxSINGLE_CLASS, 5, 5);
  static_cast<float*>(mxGetData(single.get()))[3] = 7.0f;  // column 0, row 3
  r = host::call("KVPhaseUnwrap", 1, {k.get(), single.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_FALSE(mxIsComplex(r[0]));
  EXPECT_NEAR(host::re(r[0], 3), 2.0 * (7.0 - kS), 1e-12);
  EXPECT_EQ(host::re(r[0], 4), 0.0);
}

TEST(StrehlCommand, Ratios) {
  host::Array f = host::field(8);
  host::Result r = host::call("KVStrehl", 1, {f.get()});
  ASSERT_FALSE(r.failed);
  EXPECT_TRUE(mxGetM(r[0]) == 1 && mxGetN(r[0]) == 1 && !mxIsComplex(r[0]));
  EXPECT_EQ(host::re(r[0], 0), 1.0);
  for (int k = 0; k < 64; ++k) host::set_re(f.get(), k, k % 2 ? 1.0 : -1.0);
  EXPECT_EQ(host::re(host::call("KVStrehl", 1, {f.get()})[0], 0), 0.0);
  for (int k = 0; k < 64; ++k) host::set_re(f.get(), k, 0.0);
  EXPECT_EQ(host::call("KVStrehl", 1, {f.get()}).error, "Zero beam power");
  host::set_re(f.get(), 9, 3.0);
  host::set_im(f.get(), 9, 4.0);
  EXPECT_EQ(host::re(host::call("KVStrehl", 1, {f.get()})[0], 0), 1.0);
  host::set_im(f.get(), 10, std::nan(""));
  EXPECT_TRUE(std::isnan(host::re(host::call("KVStrehl", 1, {f.get()})[0], 0)));
  host::Array one = host::scalar(1);
  r = host::call("KVStrehl", 1, {f.get(), one.get()});
  EXPECT_EQ(r.error, "expects one input argument");
  EXPECT_NE(r.printed.find("\tSR = KVStrehl(Fin);\n"), std::string::npos);
}

TEST(NormalCommand, PowerAndMessages) {
  host::Array f = host::field(8, 1.0, 1e-6, 0.0, 3.7);
  host::Result r = host::call("KVNormal", 2, {f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(host::re(r[1], 0), 1.0);
  EXPECT_FALSE(mxIsComplex(r[1]));
  for (int k = 0; k < 64; ++k) EXPECT_EQ(host::re(r[0], k), 1.0);
  EXPECT_EQ(host::re(r[0], 64 + 4), 3.0);

  host::Array g = host::field(8, 2.0);
  r = host::call("KVNormal", 2, {g.get()});
  EXPECT_EQ(host::re(r[1], 0), 4.0);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(host::re(r[0], k), 0.5);

  host::Array flat = host::field(8, 0.0);
  EXPECT_EQ(host::call("KVNormal", 2, {flat.get()}).error, "Zero beam power");
  r = host::call("KVNormal", 1, {f.get()});
  EXPECT_EQ(r.error, "expects two output arguments.\n\n");
  EXPECT_NE(r.printed.find("\t[Fout,NC] = KVNormal(Fin);\n"), std::string::npos);
  EXPECT_EQ(host::call("KVNormal", 2, {f.get(), f.get()}).error, "expects one input argument.\n\n");
}

// FFTW planner levels and wisdom: the level every module reads, plans kept
// per level, data kept while a plan is measured, and KVFftw's forms.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "host.h"
#include "propagation/fft_plan.h"
#include "propagation/fft_planner.h"

using host::Array;
using cplx = std::complex<double>;

namespace {

void set_planner(const char* value) {
  if (value == nullptr) {
    unsetenv("KORVANE_FFTW_PLANNER");
  } else {
    setenv("KORVANE_FFTW_PLANNER", value, 1);
  }
}

std::string text_of(const mxArray* a) {
  char buf[64];
  return mxGetString(a, buf, sizeof buf) == 0 ? std::string(buf) : std::string("?");
}

// The 2-D DFT of n x n values, the slow way.
std::vector<cplx> dft2(const std::vector<cplx>& z, int n) {
  std::vector<cplx> out(z.size());
  const double w = -2.0 * 3.141592653589793 / n;
  for (int p = 0; p < n; ++p)
    for (int q = 0; q < n; ++q) {
      cplx s = 0;
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) s += z[i * n + j] * std::polar(1.0, w * (p * i + q * j));
      out[p * n + q] = s;
    }
  return out;
}

}  // namespace

TEST(FftPlanner, LevelsByNameAndFromTheEnvironment) {
  kv::FftPlanner level = kv::FftPlanner::Estimate;
  EXPECT_TRUE(kv::fft_planner_from_name("PATIENT", &level));
  EXPECT_EQ(level, kv::FftPlanner::Patient);
  EXPECT_FALSE(kv::fft_planner_from_name("exhaustive", &level));
  EXPECT_FALSE(kv::fft_planner_from_name("measured", &level));
  EXPECT_FALSE(kv::fft_planner_from_name("", &level));
  EXPECT_EQ(level, kv::FftPlanner::Patient);  // left as it was
  for (kv::FftPlanner l :
       {kv::FftPlanner::Estimate, kv::FftPlanner::Measure, kv::FftPlanner::Patient}) {
    kv::FftPlanner back = kv::FftPlanner::Estimate;
    EXPECT_TRUE(kv::fft_planner_from_name(kv::fft_planner_name(l), &back));
    EXPECT_EQ(back, l);
  }
  set_planner(nullptr);
  EXPECT_EQ(kv::fft_planner(), kv::FftPlanner::Measure);  // the default
  set_planner("sometimes");
  EXPECT_EQ(kv::fft_planner(), kv::FftPlanner::Measure);
  ASSERT_TRUE(kv::fft_set_planner(kv::FftPlanner::Estimate));
  EXPECT_STREQ(std::getenv("KORVANE_FFTW_PLANNER"), "estimate");
  EXPECT_EQ(kv::fft_planner(), kv::FftPlanner::Estimate);
  set_planner(nullptr);
}

// A plan is made once per size and level and used again; measuring leaves
// the data as it was, and the same plan gives the same bits.
TEST(FftPlanner, PlansPerLevelReusedAndDataKept) {
  const int n = 12;
  std::vector<cplx> z(n * n);
  for (int k = 0; k < n * n; ++k) z[k] = cplx(std::cos(0.7 * k), 0.1 * (k % 5));
  const std::vector<cplx> want = dft2(z, n);
  kv::fft_release_plans();
  std::vector<std::vector<cplx>> results;
  std::vector<cplx> a(n * n);  // one array: the plans' alignment is the same
  for (const char* level : {"estimate", "measure", "measure", "patient", "estimate"}) {
    set_planner(level);
    a = z;
    ASSERT_TRUE(kv::fft2_in_place(a.data(), n, kv::kFftForward)) << level;
    double err = 0;
    for (int k = 0; k < n * n; ++k) err = std::max(err, std::abs(a[k] - want[k]));
    EXPECT_LT(err, 1e-12) << level;  // planning did not disturb the input
    results.push_back(a);
  }
  EXPECT_EQ(kv::fft_plans_held(), 3);  // one per level
  EXPECT_EQ(std::memcmp(results[1].data(), results[2].data(), n * n * sizeof(cplx)), 0);
  EXPECT_EQ(std::memcmp(results[0].data(), results[4].data(), n * n * sizeof(cplx)), 0);
  kv::fft_release_plans();
  set_planner(nullptr);
}

TEST(FftPlanner, KVFftwSetsTheLevelAndKeepsWisdomInFiles) {
  set_planner(nullptr);
  Array planner = host::string("planner");
  host::Result r = host::call("KVFftw", 1, {planner.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(text_of(r[0]), "measure");

  Array patient = host::string("Patient");
  r = host::call("KVFftw", 1, {planner.get(), patient.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(text_of(r[0]), "patient");
  EXPECT_EQ(kv::fft_planner(), kv::FftPlanner::Patient);  // seen outside the module
  Array estimate = host::string("estimate");
  r = host::call("KVFftw", 0, {planner.get(), estimate.get()});  // no output asked for
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(kv::fft_planner(), kv::FftPlanner::Estimate);

  // Wisdom made by a measured transform goes to a file and comes back.
  set_planner("measure");
  Array f = host::field(48, 1e-3, 1e-6);
  ASSERT_FALSE(host::call("KVFresnelFFT", 1, {host::scalar(0.01).get(), f.get()}).failed);
  const std::string path = testing::TempDir() + "korvane_wisdom_test.txt";
  std::remove(path.c_str());
  Array save = host::string("save"), load = host::string("load"), file = host::string(path.c_str());
  r = host::call("KVFftw", 0, {save.get(), file.get()});
  ASSERT_FALSE(r.failed) << r.error;
  std::ifstream in(path);
  std::string head;
  std::getline(in, head);
  EXPECT_EQ(head.rfind("(fftw-3", 0), 0u) << head;
  r = host::call("KVFftw", 0, {load.get(), file.get()});
  EXPECT_FALSE(r.failed) << r.error;
  std::remove(path.c_str());

  // Refusals, with their kinds.
  struct Bad {
    std::vector<const mxArray*> args;
    int nlhs;
    const char* msg;
    const char* id;
  };
  Array junk = host::string("junk"), number = host::scalar(1),
        nowhere = host::string("/nonexistent/dir/w");
  Array empty = host::string("");
  const Bad bad[] = {
      {{number.get()}, 1, "Input must be a string.", "Korvane:badArray"},
      {{planner.get(), number.get()}, 1, "Input must be a string.", "Korvane:badArray"},
      {{junk.get()},
       1,
       "the first argument must be 'planner', 'save' or 'load'",
       "Korvane:badValue"},
      {{planner.get(), junk.get()},
       1,
       "method must be 'estimate', 'measure' or 'patient'",
       "Korvane:badValue"},
      {{save.get()}, 0, "'save' and 'load' expect a file name", "Korvane:argCount"},
      {{save.get(), file.get()}, 1, "'save' and 'load' give no output", "Korvane:argCount"},
      {{save.get(), nowhere.get()}, 0, "cannot write the wisdom file", "Korvane:badValue"},
      {{save.get(), empty.get()}, 0, "cannot write the wisdom file", "Korvane:badValue"},
      {{load.get(), nowhere.get()}, 0, "cannot read the file as FFTW wisdom", "Korvane:badValue"},
      {{planner.get(), planner.get(), planner.get()},
       1,
       "expects one or two input arguments",
       "Korvane:argCount"},
      {{planner.get()}, 2, "expects at most one output argument", "Korvane:argCount"},
  };
  for (const Bad& b : bad) {
    host::Result e = host::call("KVFftw", b.nlhs, b.args);
    EXPECT_TRUE(e.failed);
    EXPECT_EQ(e.error, b.msg);
    EXPECT_EQ(e.id, b.id) << b.msg;
  }
  // A file that is not wisdom.
  const std::string junk_path = testing::TempDir() + "korvane_not_wisdom.txt";
  std::ofstream(junk_path) << "not wisdom\n";
  Array junk_file = host::string(junk_path.c_str());
  EXPECT_EQ(host::call("KVFftw", 0, {load.get(), junk_file.get()}).error,
            "cannot read the file as FFTW wisdom");
  std::remove(junk_path.c_str());
  // The banner, with no arguments.
  host::Result banner = host::call("KVFftw", 0, {});
  EXPECT_FALSE(banner.failed);
  EXPECT_NE(banner.printed.find("KVFftw('planner',method)"), std::string::npos);
  set_planner(nullptr);
}

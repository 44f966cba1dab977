// FFTW planner levels and wisdom: the level every module reads, plans kept
// per level, data kept while a plan is measured, and KVFftw's forms.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
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
  EXPECT_EQ(kv::fft_planner(), kv::FftPlanner::Estimate);  // the default
  set_planner("sometimes");
  EXPECT_EQ(kv::fft_planner(), kv::FftPlanner::Estimate);
  ASSERT_TRUE(kv::fft_set_planner(kv::FftPlanner::Measure));
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
  EXPECT_EQ(text_of(r[0]), "estimate");

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
  Array pair = host::real(1, 2, {1, 2});
  const Bad bad[] = {
      {{number.get()}, 1, "Input must be a string.", "Korvane:badArray"},
      {{planner.get(), number.get()},
       1,
       "method must be 'estimate', 'measure' or 'patient'",
       "Korvane:badValue"},
      {{planner.get(), pair.get()},
       1,
       "Input must be a string or a real scalar.",
       "Korvane:badArray"},
      {{load.get(), number.get()}, 0, "the file name must be text", "Korvane:badValue"},
      {{junk.get()},
       1,
       "the first argument must be 'planner', 'timelimit', 'save' or 'load'",
       "Korvane:badValue"},
      {{planner.get(), junk.get()},
       1,
       "method must be 'estimate', 'measure' or 'patient'",
       "Korvane:badValue"},
      {{save.get()}, 0, "'save' and 'load' expect a file name", "Korvane:argCount"},
      {{save.get(), file.get()}, 1, "'save' and 'load' give no output", "Korvane:argCount"},
      {{save.get(), nowhere.get()},
       0,
       "cannot write the wisdom file: its folder does not exist",
       "Korvane:badValue"},
      {{save.get(), empty.get()},
       0,
       "cannot write the wisdom file: the folder cannot take a new file, or the disk is full",
       "Korvane:badValue"},
      {{load.get(), nowhere.get()},
       0,
       "cannot read the wisdom file: no such file",
       "Korvane:badValue"},
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
  // The banner, with no arguments.
  host::Result banner = host::call("KVFftw", 0, {});
  EXPECT_FALSE(banner.failed);
  EXPECT_NE(banner.printed.find("KVFftw('planner',method)"), std::string::npos);
  set_planner(nullptr);
}

namespace {

host::Result fftw(const char* action, const char* file) {
  Array a = host::string(action), f = host::string(file);
  return host::call("KVFftw", 0, {a.get(), f.get()});
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Files left in `dir` whose name starts with `stem` (temporary files of a save).
int files_starting(const std::string& dir, const std::string& stem) {
  int count = 0;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) count += std::string(e->d_name).rfind(stem, 0) == 0;
    closedir(d);
  }
  return count;
}

}  // namespace

// The transforms run on data FFTW sees as aligned, whatever the caller's
// address: an array at an odd multiple of 8 bytes gives the bits of an
// aligned one, through the same plan.
TEST(FftPlanner, MisalignedArraysGiveTheBitsOfAlignedOnes) {
  const int n = 64;
  set_planner(nullptr);
  kv::fft_release_plans();
  std::vector<double> raw(2 * n * n + 8);
  // An address that is 8 bytes past a 16-byte boundary, and one on it.
  double* base = raw.data() + (reinterpret_cast<uintptr_t>(raw.data()) % 16 == 0 ? 1 : 0);
  cplx* odd = reinterpret_cast<cplx*>(base);
  std::vector<cplx> even(n * n);
  for (int k = 0; k < n * n; ++k) {
    even[k] = cplx(std::sin(0.37 * k), std::cos(0.11 * k * k));
    std::memcpy(static_cast<void*>(odd + k), &even[k], sizeof(cplx));
  }
  ASSERT_TRUE(kv::fft2_in_place(even.data(), n, kv::kFftForward));
  ASSERT_TRUE(kv::fft2_in_place(odd, n, kv::kFftForward));
  EXPECT_EQ(std::memcmp(static_cast<const void*>(odd), even.data(), n * n * sizeof(cplx)), 0);
  EXPECT_EQ(kv::fft_plans_held(), 1);
  // The complex-to-real kind, with an output misaligned too.
  const int h = n / 2 + 1;
  std::vector<cplx> half(n * h, cplx(0, 0));
  half[0] = 1.0;
  half[3] = cplx(0.5, -0.25);
  half[(n - 2) * h + 5] = cplx(-0.75, 0.5);  // its partner bin is implied
  std::vector<cplx> half2 = half;
  std::vector<double> out(n * n), out_raw(n * n + 1);
  std::vector<cplx> half_raw(n * h + 1);
  cplx* half_odd = reinterpret_cast<cplx*>(reinterpret_cast<double*>(half_raw.data()) + 1);
  double* out_odd = out_raw.data() + (reinterpret_cast<uintptr_t>(out_raw.data()) % 16 == 0);
  std::memcpy(static_cast<void*>(half_odd), half2.data(), half2.size() * sizeof(cplx));
  ASSERT_TRUE(kv::fft2_c2r(half.data(), out.data(), n));
  ASSERT_TRUE(kv::fft2_c2r(half_odd, out_odd, n));
  EXPECT_EQ(std::memcmp(out_odd, out.data(), out.size() * sizeof(double)), 0);
  kv::fft_release_plans();
}

TEST(FftPlanner, TimeLimitDefaultsToTenSecondsAndIsSetThroughKVFftw) {
  unsetenv("KORVANE_FFTW_TIMELIMIT");
  EXPECT_EQ(kv::fft_timelimit(), 10.0);
  Array limit = host::string("timelimit");
  host::Result r = host::call("KVFftw", 1, {limit.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(host::re(r[0], 0), 10.0);
  for (double v : {2.5, double(INFINITY), 1e-3}) {
    Array s = host::scalar(v);
    r = host::call("KVFftw", 1, {limit.get(), s.get()});
    ASSERT_FALSE(r.failed) << r.error;
    EXPECT_EQ(host::re(r[0], 0), v);
    EXPECT_EQ(kv::fft_timelimit(), v);  // seen outside the module
  }
  Array text = host::string("long");
  for (const mxArray* bad : {host::scalar(0).release(), host::scalar(-1).release(),
                             host::scalar(NAN).release(), text.release()}) {
    Array hold(const_cast<mxArray*>(bad));
    r = host::call("KVFftw", 0, {limit.get(), bad});
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.id, "Korvane:badValue");
    EXPECT_EQ(r.error, "the time limit must be a positive number of seconds, or Inf");
  }
  EXPECT_EQ(kv::fft_timelimit(), 1e-3);  // refusals left it alone
  setenv("KORVANE_FFTW_TIMELIMIT", "soon", 1);
  EXPECT_EQ(kv::fft_timelimit(), 10.0);
  unsetenv("KORVANE_FFTW_TIMELIMIT");
}

// Every file that is not wisdom is refused at once, with what is wrong: a
// device that never ends, a FIFO without a writer, a folder, a huge sparse
// file, a truncated or random file, a folder that cannot be written to.
TEST(FftPlanner, WisdomFilesThatAreNotWisdomAreRefusedAtOnce) {
  set_planner("measure");
  Array f = host::field(32, 1e-3, 1e-6);
  ASSERT_FALSE(host::call("KVFresnelFFT", 1, {host::scalar(0.01).get(), f.get()}).failed);
  set_planner(nullptr);
  const std::string dir = testing::TempDir() + "korvane_wisdom_files/";
  mkdir(dir.c_str(), 0755);
  const std::string good = dir + "good.wisdom";
  ASSERT_FALSE(fftw("save", good.c_str()).failed);
  const std::string wisdom = slurp(good);
  ASSERT_GT(wisdom.size(), 20u);
  EXPECT_FALSE(fftw("load", good.c_str()).failed);

  const std::string fifo = dir + "fifo", sparse = dir + "sparse", cut = dir + "cut",
                    noise = dir + "noise", empty = dir + "empty";
  unlink(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  {
    std::ofstream(sparse).close();
    ASSERT_EQ(truncate(sparse.c_str(), off_t{4} << 30), 0);  // 4 GiB of holes
    std::ofstream(cut, std::ios::binary) << wisdom.substr(0, wisdom.size() / 2);
    std::ofstream out(noise, std::ios::binary);
    uint32_t x = 12345;
    for (int k = 0; k < 4096; ++k) {
      x = x * 1664525u + 1013904223u;
      out.put(static_cast<char>(x >> 24));
    }
    std::ofstream(empty).close();
  }
  const std::string not_wisdom =
      "cannot read the file as FFTW wisdom (truncated, or not written by KVFftw ('save') with "
      "this FFTW)";
  const struct {
    std::string path;
    std::string msg;
  } cases[] = {
      {"/dev/zero",
       "cannot read the wisdom file: it is not a regular file (a device, FIFO or socket)"},
      {fifo, "cannot read the wisdom file: it is not a regular file (a device, FIFO or socket)"},
      {dir, "cannot read the wisdom file: it is a folder"},
      {sparse, "cannot read the wisdom file: it is larger than 1 MiB, too large for FFTW wisdom"},
      {dir + "missing", "cannot read the wisdom file: no such file"},
      {cut, not_wisdom},
      {noise, not_wisdom},
      {empty, not_wisdom},
  };
  for (const auto& c : cases) {
    host::Result r = fftw("load", c.path.c_str());
    EXPECT_TRUE(r.failed) << c.path;
    EXPECT_EQ(r.id, "Korvane:badValue") << c.path;
    EXPECT_EQ(r.error, c.msg) << c.path;
  }
  // The wisdom loaded before is still there: a refused file changed nothing.
  EXPECT_FALSE(fftw("load", good.c_str()).failed);

  // Saving: over a folder, and into a folder that takes no new file (as
  // root, whom permissions do not stop, a folder of /sys); the file saved
  // before is left whole, and no temporary file is left behind.
  host::Result r = fftw("save", dir.c_str());
  EXPECT_EQ(r.error, "cannot write the wisdom file: it is a folder");
  const std::string locked = dir + "locked/";
  mkdir(locked.c_str(), 0500);
  chmod(locked.c_str(), 0500);
  const std::string target = geteuid() == 0 ? "/sys/korvane.wisdom" : locked + "w.wisdom";
  // Root in a chroot without /sys mounted may write anywhere: then there is
  // no folder to refuse it, and nothing to check.
  const int probe = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (probe >= 0) {
    close(probe);
    unlink(target.c_str());
  } else {
    r = fftw("save", target.c_str());
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.error,
              "cannot write the wisdom file: the folder cannot take a new file, or the disk is "
              "full");
  }
  ASSERT_FALSE(fftw("save", good.c_str()).failed);  // replaces the file
  EXPECT_EQ(slurp(good), wisdom);
  EXPECT_EQ(files_starting(dir, "good.wisdom"), 1);
  for (const std::string& p : {fifo, sparse, cut, noise, empty, good}) unlink(p.c_str());
  rmdir(locked.c_str());
  rmdir(dir.c_str());
}

// Slow planning says so once per size and level, through the host's print,
// and is bounded by the time limit.
TEST(FftPlanner, SlowPlanningSaysSoOnceAndStopsAtTheTimeLimit) {
  set_planner("measure");
  setenv("KORVANE_FFTW_TIMELIMIT", "0.2", 1);
  Array f = host::field(1024, 4e-3, 633e-9);
  Array z = host::scalar(0.05);
  host::Result r = host::call("KVFresnelFFT", 1, {z.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(r.printed,
            "KVFresnelFFT: FFTW plans the transforms of N = 1024 at level 'measure' (up to 0.2 s "
            "per plan); later calls at this size and level reuse the plans\n");
  r = host::call("KVFresnelFFT", 1, {z.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(r.printed, "");
  // Estimate plans at once and says nothing.
  set_planner("estimate");
  r = host::call("KVAngularSpectrum", 1, {z.get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  EXPECT_EQ(r.printed, "");
  set_planner(nullptr);
  unsetenv("KORVANE_FFTW_TIMELIMIT");
}

// Wisdom saved by one process is loaded by a new one as its first call (FFTW
// threads are set up before the import), and the new process then gives the
// bits of the first. The processes are this test program again, running the
// two halves below.
namespace {

const char* const kChildVariable = "KORVANE_TEST_WISDOM_CHILD";

std::string bits_file(const std::string& wisdom) { return wisdom + ".bits"; }

void fresnel_bits(const std::string& path) {
  Array f = host::field(256, 4e-3, 633e-9);
  for (size_t k = 0; k < 256 * 256; ++k)
    host::set(f.get(), k, cplx(std::exp(-1e-4 * double((k % 256 - 128) * (k % 256 - 128))), 0.1));
  host::Result r = host::call("KVFresnelFFT", 1, {host::scalar(0.05).get(), f.get()});
  ASSERT_FALSE(r.failed) << r.error;
  std::ofstream out(path, std::ios::binary);
  for (size_t k = 0; k < 256 * 256; ++k) {
    const cplx v = host::at(r[0], k);
    out.write(reinterpret_cast<const char*>(&v), sizeof v);
  }
}

int run_child(const char* part, const std::string& wisdom) {
  char exe[4096];
  const ssize_t len = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (len <= 0) return -1;
  exe[len] = '\0';
  const std::string cmd = std::string(kChildVariable) + "='" + wisdom + "' '" + exe +
                          "' --gtest_filter=FftWisdomChild." + part + " >/dev/null 2>&1";
  return std::system(cmd.c_str());
}

}  // namespace

TEST(FftWisdomChild, Save) {
  const char* path = std::getenv(kChildVariable);
  if (path == nullptr) GTEST_SKIP() << "run by FftPlanner.WisdomLoadedFirstInANewProcess";
  setenv("KORVANE_FFTW_PLANNER", "measure", 1);
  fresnel_bits(bits_file(path));
  ASSERT_FALSE(fftw("save", path).failed);
}

TEST(FftWisdomChild, Load) {
  const char* path = std::getenv(kChildVariable);
  if (path == nullptr) GTEST_SKIP() << "run by FftPlanner.WisdomLoadedFirstInANewProcess";
  // The first call of the process.
  host::Result r = fftw("load", path);
  ASSERT_FALSE(r.failed) << r.error;
  setenv("KORVANE_FFTW_PLANNER", "measure", 1);
  fresnel_bits(bits_file(path) + "2");
}

TEST(FftPlanner, WisdomLoadedFirstInANewProcess) {
  const std::string wisdom = testing::TempDir() + "korvane_child.wisdom";
  ASSERT_EQ(run_child("Save", wisdom), 0);
  ASSERT_EQ(run_child("Load", wisdom), 0);
  const std::string a = slurp(bits_file(wisdom)), b = slurp(bits_file(wisdom) + "2");
  EXPECT_EQ(a.size(), 256u * 256u * sizeof(cplx));
  EXPECT_TRUE(a == b) << "the measured plan of the wisdom gives the same bits";
  for (const std::string& p : {wisdom, bits_file(wisdom), bits_file(wisdom) + "2"})
    std::remove(p.c_str());
}

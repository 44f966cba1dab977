// Threads: the loop primitive (ranges, blocks, the thread count) and every
// command at 1, 2 and 3 threads, which must give the same bits. The grids
// are large enough for every loop to be cut into at least three ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/parallel.h"
#include "core/random.h"
#include "host.h"

using host::Array;

namespace {

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    set(value);
  }
  ~ScopedEnv() { set(had_ ? old_.c_str() : nullptr); }
  void set(const char* value) {
    if (value != nullptr) {
      setenv(name_, value, 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

struct Range {
  int64_t begin, end;
  bool operator<(const Range& o) const { return begin < o.begin; }
};

// The ranges run_ranges hands out, and the items each range touched.
std::vector<Range> ranges_of(int64_t count, int64_t grain, int threads, std::vector<int>* hits) {
  struct Ctx {
    std::mutex mu;
    std::vector<Range> ranges;
    std::vector<int>* hits;
  } ctx{{}, {}, hits};
  hits->assign(static_cast<size_t>(count), 0);
  kv::run_ranges(
      count, grain, threads,
      [](void* p, int64_t b, int64_t e) {
        Ctx& c = *static_cast<Ctx*>(p);
        for (int64_t k = b; k < e; ++k) ++(*c.hits)[static_cast<size_t>(k)];
        std::lock_guard<std::mutex> lock(c.mu);
        c.ranges.push_back({b, e});
      },
      &ctx);
  std::sort(ctx.ranges.begin(), ctx.ranges.end());
  return ctx.ranges;
}

}  // namespace

TEST(Parallel, RangesCoverEveryItemOnceInContiguousPieces) {
  for (int threads : {1, 2, 3, 4, 7}) {
    for (int64_t count : {0, 1, 2, 5, 17, 100, 1000, 1001}) {
      for (int64_t grain : {1, 3, 10, 64, 5000}) {
        std::vector<int> hits;
        const std::vector<Range> r = ranges_of(count, grain, threads, &hits);
        for (int h : hits) ASSERT_EQ(h, 1) << count << " " << grain << " " << threads;
        if (count == 0) {
          EXPECT_TRUE(r.empty());
          continue;
        }
        const int64_t parts = std::max<int64_t>(1, std::min<int64_t>(threads, count / grain));
        ASSERT_EQ(static_cast<int64_t>(r.size()), parts) << count << " " << grain << " " << threads;
        EXPECT_EQ(r.front().begin, 0);
        EXPECT_EQ(r.back().end, count);
        for (size_t k = 0; k + 1 < r.size(); ++k) EXPECT_EQ(r[k].end, r[k + 1].begin);
        for (const Range& x : r) {
          EXPECT_GE(x.end - x.begin, parts > 1 ? grain : 1);  // each worth its thread
          EXPECT_LE(x.end - x.begin, count / parts + 1);      // and balanced
        }
      }
    }
  }
}

TEST(Parallel, RangesRunInThreadsOfTheirOwn) {
  std::mutex mu;
  std::set<std::thread::id> ids;
  struct Ctx {
    std::mutex* mu;
    std::set<std::thread::id>* ids;
  } ctx{&mu, &ids};
  kv::run_ranges(
      3, 1, 3,
      [](void* p, int64_t, int64_t) {
        Ctx& c = *static_cast<Ctx*>(p);
        std::lock_guard<std::mutex> lock(*c.mu);
        c.ids->insert(std::this_thread::get_id());
      },
      &ctx);
  EXPECT_EQ(ids.size(), 3u);
  EXPECT_EQ(ids.count(std::this_thread::get_id()), 1u);  // the first range runs here
}

// Block bounds depend on the count alone, and the threads take whole blocks.
TEST(Parallel, ReductionBlocksIndependentOfTheThreadCount) {
  for (int64_t count : {1, 4095, 8192, 100000, 4096 * 256 + 3, 5000000}) {
    std::vector<std::vector<Range>> seen;
    for (const char* threads : {"1", "2", "3"}) {
      ScopedEnv env("KORVANE_NUM_THREADS", threads);
      std::vector<Range> blocks(static_cast<size_t>(kv::reduce_blocks(count)));
      kv::for_blocks(count, 1, [&](int b, int64_t k0, int64_t k1) {
        blocks[static_cast<size_t>(b)] = {k0, k1};
      });
      seen.push_back(blocks);
    }
    EXPECT_EQ(seen[0].size(), seen[1].size());
    for (size_t t = 1; t < seen.size(); ++t) {
      for (size_t b = 0; b < seen[0].size(); ++b) {
        EXPECT_EQ(seen[t][b].begin, seen[0][b].begin);
        EXPECT_EQ(seen[t][b].end, seen[0][b].end);
      }
    }
    EXPECT_EQ(seen[0].front().begin, 0);
    EXPECT_EQ(seen[0].back().end, count);
    EXPECT_LE(kv::reduce_blocks(count), kv::kMaxBlocks);
  }
}

TEST(Parallel, ThreadCountFromTheEnvironment) {
  EXPECT_EQ(kv::parse_thread_count("1"), 1);
  EXPECT_EQ(kv::parse_thread_count(" 3 "), 3);
  EXPECT_EQ(kv::parse_thread_count("256"), 256);
  EXPECT_EQ(kv::parse_thread_count("257"), kv::kMaxThreads);
  EXPECT_EQ(kv::parse_thread_count("99999999999999999999999"), kv::kMaxThreads);
  for (const char* bad : {"", "0", "-2", "two", "3x", "1.5", "+2", " "})
    EXPECT_EQ(kv::parse_thread_count(bad), 0) << bad;
  {
    ScopedEnv env("KORVANE_NUM_THREADS", "3");
    EXPECT_EQ(kv::thread_count(), 3);
    env.set("nonsense");
    EXPECT_EQ(kv::thread_count(), kv::processors());
    env.set(nullptr);
    EXPECT_EQ(kv::thread_count(), kv::processors());
  }
  EXPECT_GE(kv::processors(), 1);
}

// A range of the random commands starts at its own draw.
TEST(Parallel, RandomSequenceSkipsAhead) {
  for (int32_t seed : {0, 7, -1, 2147483647}) {
    kv::Rand15 walk(seed);
    uint64_t done = 0;
    for (uint64_t k : {0u, 1u, 2u, 3u, 1000u, 65537u}) {
      while (done < k) {
        walk.next();
        ++done;
      }
      kv::Rand15 jump(seed);
      jump.skip(k);
      EXPECT_EQ(jump.next(), kv::Rand15(walk).next()) << seed << " " << k;
    }
    // A long skip is two shorter ones.
    kv::Rand15 a(seed), b(seed);
    a.skip((uint64_t{1} << 33) + 12345);
    b.skip(uint64_t{1} << 33);
    b.skip(12345);
    EXPECT_EQ(a.next(), b.next());
  }
}

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr int kN = 645;  // odd; 645^2 samples make three ranges of the copy grain

// Every value of a result, bit for bit.
std::vector<unsigned char> bits(const mxArray* a) {
  std::vector<unsigned char> b;
  const size_t count = mxGetNumberOfElements(a);
  if (!mxIsDouble(a)) {
    const unsigned char* p = static_cast<const unsigned char*>(mxGetData(a));
    b.assign(p, p + count);
    return b;
  }
  b.reserve(count * 16);
  for (size_t k = 0; k < count; ++k) {
    const host::cplx v = host::at(a, k);
    const double parts[2] = {v.real(), v.imag()};
    const unsigned char* p = reinterpret_cast<const unsigned char*>(parts);
    b.insert(b.end(), p, p + sizeof parts);
  }
  return b;
}

// A field whose samples vary in amplitude and phase, with a few infinite
// ones when `infinite`.
Array busy_field(int n, double size, unsigned salt, bool infinite = false) {
  Array f = host::field(n, size, 633e-9);
  const size_t nn = static_cast<size_t>(n) * n;
  kv::Rand15 gen(static_cast<int32_t>(salt));
  for (size_t k = 0; k < nn; ++k) {
    const double a = 0.2 + gen.unit();
    const double p = 6.0 * gen.unit();
    host::set(f.get(), k, {a * std::cos(p), a * std::sin(p)});
  }
  if (infinite) {
    host::set(f.get(), 17, {INFINITY, 0.0});
    host::set(f.get(), nn / 2, {0.0, -INFINITY});
  }
  return f;
}

struct Case {
  const char* name;
  int nlhs;
  // S: the next scalar, F: field, G: a second field, I: a field with
  // infinite samples, A: a real profile, U: a uint8 profile, W: a guiding
  // index (higher in a disc at the centre), T: a text, J: a complex 2 x 2
  // matrix.
  const char* kinds;
  std::vector<double> scalars;
};

const Case kCases[] = {
    {"KVBegin", 1, "SSS", {5e-3, 633e-9, kN + 1}},  // an even grid
    {"KVForward", 1, "SSSF", {0.5, 5e-3, 96}},
    {"KVForward", 1, "SSSI", {0.5, 5e-3, 96}},  // the copied input and its infinite terms
    {"KVInterpol", 1, "SSSSSSF", {4e-3, kN, 1e-4, -2e-4, 12.0, 1.1}},
    {"KVConvert", 1, "F", {}},
    {"KVCircAperture", 1, "SSSF", {1.5e-3, 1e-4, 0}},
    {"KVCircScreen", 1, "SSSF", {1.5e-3, 0, -1e-4}},
    {"KVRectAperture", 1, "SSSSSF", {2e-3, 1e-3, 0, 0, 20.0}},
    {"KVRectScreen", 1, "SSSSSF", {2e-3, 1e-3, 1e-4, 0, 0}},
    {"KVGaussAperture", 1, "SSSSF", {1e-3, 0, 0, 0.7}},
    {"KVGaussScreen", 1, "SSSSF", {1e-3, 0, 0, 0.3}},
    {"KVSuperGaussAperture", 1, "SSSSSF", {1e-3, 4, 0, 0, 1}},
    {"KVSuperGaussScreen", 1, "SSSSSF", {1e-3, 3, 0, 0, 0.5}},
    {"KVLens", 1, "SSSF", {0.5, 1e-4, 0}},
    {"KVTilt", 1, "SSF", {1e-3, -2e-3}},
    {"KVAxicon", 1, "SSSSF", {3.0, 1.5, 0, 0}},
    {"KVZernike", 1, "SSSSF", {7, -3, 2e-3, 1.5}},
    {"KVRandomPhase", 1, "SSF", {7, 3}},
    {"KVSubIntensity", 1, "AF", {}},
    {"KVSubPhase", 1, "UF", {}},
    {"KVMultIntensity", 1, "UF", {}},
    {"KVMultPhase", 1, "AF", {}},
    {"KVRandomIntensity", 1, "SF", {11}},
    {"KVGaussHermite", 1, "SSSSF", {2, 3, 1, 1e-3}},
    {"KVIntensity", 1, "SF", {0}},
    {"KVIntensity", 1, "SF", {1}},
    {"KVIntensity", 1, "SF", {2}},
    {"KVPhase", 1, "F", {}},
    {"KVPhaseUnwrap", 1, "SA", {2}},
    {"KVStrehl", 1, "F", {}},
    {"KVNormal", 2, "F", {}},
    {"KVBeamMix", 1, "FG", {}},
    {"KVPolarizer", 1, "SFG", {0.4}},
    {"KVGain", 1, "SSSF", {1, 0.5, 0.1}},
    {"KVIntAttenuator", 1, "SF", {0.5}},
    {"KVFresnelFFT", 1, "SF", {0.05}},  // the transfer function
    {"KVFresnelFFT", 1, "SF", {5.0}},   // the transformed impulse response
    {"KVAngularSpectrum", 1, "SF", {0.05}},
    {"KVPad", 1, "SF", {700}},
    {"KVPad", 1, "SF", {600}},
    {"KVTurbScreen", 1, "SSSSF", {7, 2e-4, 2e-3, 1e-5}},   // every kind of mode
    {"KVTurbScreen", 1, "SSSSF", {7, 2e-4, INFINITY, 0}},  // Kolmogorov
    // Its transforms are FFTW's; here so that every command is in the list.
    {"KVStructureFunction", 2, "AF", {}},
    {"KVStructureFunction", 1, "AFU", {}},
    // Through an index of the field's size, with the side view; and the
    // fundamental mode of a guiding index.
    {"KVMedium", 2, "SSAFS", {2e-3, 3, 0.1}},
    {"KVMedium", 1, "SSWF", {5e-3, 4}},
    {"KVMode", 2, "WSF", {0}},
    // No per-sample loop; here so that every command is in the list.
    {"KVFftw", 1, "T", {}},
    {"KVFraunhofer", 1, "SSSF", {0.5, 5e-3, 96}},
    {"KVFraunhofer", 1, "SSSFSS", {-0.5, 3e-3, 90, 1e-4, -2e-4}},
    {"KVFraunhofer", 1, "SSSI", {0.5, 5e-3, 96}},  // infinite samples: NaN throughout
    {"KVFocus", 1, "SSF", {0.5, 0.3}},
    {"KVFocus", 1, "SSF", {0.5, 0.7}},  // past the focus: the mirrored grid
    {"KVJones", 2, "JFG", {}},
    {"KVWavePlate", 2, "SSFG", {1.5, 0.3}},
    {"KVLinearPolarizer", 2, "SFG", {0.4}},
    {"KVRotator", 2, "SFG", {0.4}},
    {"KVStokes", 4, "FG", {}},
    {"KVStokes", 4, "FI", {}},
    // Sums over fixed blocks: the same bits at any thread count.
    {"KVBeamWidth", 5, "F", {}},
    {"KVBeamWidth", 5, "AF", {}},
    {"KVBeamQuality", 6, "F", {}},
};

}  // namespace

TEST(Threads, EveryCommandGivesTheSameBitsAtOneTwoAndThreeThreads) {
  // The default planner level, as a user has it: its plans do not depend on
  // our thread count.
  ScopedEnv threads("KORVANE_NUM_THREADS", "1");
  const double size = 5e-3;
  Array field = busy_field(kN, size, 1);
  Array other = busy_field(kN, size, 2);
  Array infinite = busy_field(kN, size, 3, true);
  const size_t nn = static_cast<size_t>(kN) * kN;
  Array profile = host::real(kN, kN);
  Array bytes = host::numeric(mxUINT8_CLASS, kN, kN);
  for (size_t k = 0; k < nn; ++k) {
    host::real_data(profile.get())[k] = 0.05 * static_cast<double>(k % 97);
    static_cast<unsigned char*>(mxGetData(bytes.get()))[k] = static_cast<unsigned char>(k * 7);
  }
  Array guide = host::real(kN, kN);
  for (int64_t i = 0; i < kN; ++i)
    for (int64_t j = 0; j < kN; ++j) {
      const double x = static_cast<double>(i - kN / 2), y = static_cast<double>(j - kN / 2);
      host::real_data(guide.get())[i * kN + j] = x * x + y * y < 100.0 ? 1.45001 : 1.45;
    }
  Array text = host::string("planner");
  Array jones = host::complex(2, 2);
  for (size_t k = 0; k < 4; ++k) host::set(jones.get(), k, host::cplx(0.5 + k, 0.25 * k));

  std::set<std::string> covered;
  for (const Case& c : kCases) {
    std::vector<Array> scalars;
    std::vector<const mxArray*> args;
    size_t s = 0;
    for (const char* k = c.kinds; *k != '\0'; ++k) {
      switch (*k) {
        case 'S':
          scalars.push_back(host::scalar(c.scalars.at(s++)));
          args.push_back(scalars.back().get());
          break;
        case 'F':
          args.push_back(field.get());
          break;
        case 'G':
          args.push_back(other.get());
          break;
        case 'I':
          args.push_back(infinite.get());
          break;
        case 'A':
          args.push_back(profile.get());
          break;
        case 'U':
          args.push_back(bytes.get());
          break;
        case 'W':
          args.push_back(guide.get());
          break;
        case 'J':
          args.push_back(jones.get());
          break;
        default:
          args.push_back(text.get());
          break;
      }
    }
    std::vector<std::vector<unsigned char>> ref;
    covered.insert(c.name);
    // A mode of this grid takes a minute under the sanitizers; the plain
    // builds check its bits, and the sanitizers see KVMode in its own tests.
    if (kSanitized && std::strcmp(c.name, "KVMode") == 0) continue;
    for (const char* count : {"1", "2", "3"}) {
      threads.set(count);
      host::Result r = host::call(c.name, c.nlhs, args);
      ASSERT_FALSE(r.failed) << c.name << " at " << count << " threads: " << r.error;
      ASSERT_EQ(r.out.size(), static_cast<size_t>(c.nlhs));
      for (size_t i = 0; i < r.out.size(); ++i) {
        if (ref.size() <= i) {
          ref.push_back(bits(r[i]));
        } else {
          EXPECT_TRUE(bits(r[i]) == ref[i])
              << c.name << " output " << i << " differs at " << count << " threads";
        }
      }
    }
  }
  // Every module the build made is in the list.
  for (const auto& e : std::filesystem::directory_iterator(KV_MODULE_DIR)) {
    if (e.path().extension() != ".mexa64") continue;
    EXPECT_EQ(covered.count(e.path().stem().string()), 1u) << e.path().stem() << " is not tested";
  }
}

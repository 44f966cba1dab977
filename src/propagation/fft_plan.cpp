#include "propagation/fft_plan.h"

#if defined(KV_FFTW_OWN_DECLARATIONS)
#include "propagation/fftw_decl.h"
#else
#include <fftw3.h>
#endif
#if defined(KV_FFTW_NO_THREADS)
// A copy of FFTW without its threads library: every plan runs on one thread.
#define fftw_planner_nthreads() 1
#define fftw_plan_with_nthreads(n) static_cast<void>(n)
#endif

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "core/notice.h"
#include "core/parallel.h"
#include "propagation/fft_planner.h"

namespace kv {
namespace {

// Below this dimension a 2-D transform runs on one thread: starting workers
// would cost more than they save.
constexpr int32_t kThreadedFrom = 128;

// Plans kept per module; the oldest goes first.
constexpr int kMaxPlans = 8;

// What a plan transforms.
enum Kind : int {
  kComplex1 = 1,     // one line of complex values, in place
  kComplex2 = 2,     // an n x n complex array, in place
  kHalfToReal2 = 3,  // an n x (n/2 + 1) half spectrum to an n x n real array
};

// Every transform runs on data that FFTW sees as aligned for its SIMD code
// (fftw_alignment_of 0: 16 bytes in the usual builds, which every malloc
// gives; copied to memory aligned to kAlign bytes when the caller's arrays
// are not), so that FFTW makes the same plan for a key whatever the
// addresses of the arrays, and the bits are the same in every process: the
// alignment is part of what FFTW plans for.
constexpr size_t kAlign = 64;

// Planning at these levels and from this dimension on takes seconds: the
// first plan of a size says so once (core/notice.h).
constexpr int32_t kNoticeFrom = 1024;

struct Key {
  int kind;
  int32_t n;
  int sign;
  FftPlanner level;
  bool operator==(const Key& o) const {
    return kind == o.kind && n == o.n && sign == o.sign && level == o.level;
  }
};

bool aligned(void* p) { return fftw_alignment_of(static_cast<double*>(p)) == 0; }

// Memory of `bytes` bytes aligned to kAlign, released with its destructor.
class AlignedBuffer {
 public:
  explicit AlignedBuffer(size_t bytes) {
    if (bytes <= SIZE_MAX - kAlign) raw_ = std::malloc(bytes + kAlign);
    if (raw_ != nullptr) {
      const uintptr_t a = reinterpret_cast<uintptr_t>(raw_);
      data_ = reinterpret_cast<void*>((a + kAlign - 1) / kAlign * kAlign);
    }
  }
  ~AlignedBuffer() { std::free(raw_); }
  AlignedBuffer(const AlignedBuffer&) = delete;
  AlignedBuffer& operator=(const AlignedBuffer&) = delete;
  void* data() const { return data_; }

 private:
  void* raw_ = nullptr;
  void* data_ = nullptr;
};

class PlanCache {
 public:
  PlanCache() = default;
  PlanCache(const PlanCache&) = delete;
  PlanCache& operator=(const PlanCache&) = delete;
  ~PlanCache() { release(); }

  // Plans (or finds) the transform and runs it on `in` (writing `out`), under
  // the lock: FFTW's planner is not reentrant, and a plan must not be evicted
  // while it runs. Arrays not aligned to kAlign are copied to aligned memory
  // and back.
  bool run(Kind kind, cplx* in, double* out, int32_t n, FftSign sign) {
    std::lock_guard<std::mutex> lock(mu_);
    const Key key{kind, n, static_cast<int>(sign), fft_planner()};
    const size_t in_bytes = bytes(key);
    const size_t out_bytes = kind == kHalfToReal2 ? out_size(key) : 0;
    if (!aligned(in) || (out != nullptr && !aligned(out))) {
      AlignedBuffer a_in(in_bytes), a_out(out_bytes);
      if (a_in.data() == nullptr || (out_bytes > 0 && a_out.data() == nullptr)) return false;
      std::memcpy(a_in.data(), in, in_bytes);
      cplx* z = static_cast<cplx*>(a_in.data());
      double* o = out_bytes > 0 ? static_cast<double*>(a_out.data()) : nullptr;
      if (!run_aligned(key, z, o)) return false;
      if (o != nullptr) {
        std::memcpy(out, o, out_bytes);
      } else {
        std::memcpy(in, z, in_bytes);
      }
      return true;
    }
    return run_aligned(key, in, out);
  }

  bool run_aligned(const Key& key, cplx* in, double* out) {
    fftw_plan plan = nullptr;
    for (int i = 0; i < count_; ++i) {
      if (keys_[i] == key) plan = plans_[i];
    }
    fftw_complex* data = reinterpret_cast<fftw_complex*>(in);
    if (plan == nullptr) {
      plan = make(key, data, out);
      if (plan == nullptr) return false;
      if (count_ == kMaxPlans) {
        fftw_destroy_plan(plans_[0]);
        for (int i = 1; i < count_; ++i) {
          keys_[i - 1] = keys_[i];
          plans_[i - 1] = plans_[i];
        }
        --count_;
      }
      keys_[count_] = key;
      plans_[count_] = plan;
      ++count_;
    }
    // The alignment planned for, as FFTW's new-array execution asks.
    if (key.kind == kHalfToReal2) {
      fftw_execute_dft_c2r(plan, data, out);
    } else {
      fftw_execute_dft(plan, data, data);
    }
    return true;
  }

  int held() {
    std::lock_guard<std::mutex> lock(mu_);
    return count_;
  }

  void release() {
    std::lock_guard<std::mutex> lock(mu_);
    for (int i = 0; i < count_; ++i) fftw_destroy_plan(plans_[i]);
    count_ = 0;
  }

 private:
  // The plan of `key` on the caller's own arrays, with FFTW's planner flags.
  static fftw_plan plan_with(const Key& key, fftw_complex* data, double* out, unsigned flags) {
    switch (key.kind) {
      case kComplex2:
        return fftw_plan_dft_2d(key.n, key.n, data, data, key.sign, flags);
      case kHalfToReal2:
        return fftw_plan_dft_c2r_2d(key.n, key.n, data, out, flags);
      default:
        return fftw_plan_dft_1d(key.n, data, data, key.sign, flags);
    }
  }

  // The bytes of the input a plan of `key` transforms (a half spectrum for
  // the complex-to-real kind: its output is written whatever the plan).
  static size_t bytes(const Key& key) {
    const size_t n = static_cast<size_t>(key.n);
    switch (key.kind) {
      case kComplex2:
        return n * n * sizeof(fftw_complex);
      case kHalfToReal2:
        return n * (n / 2 + 1) * sizeof(fftw_complex);
      default:
        return n * sizeof(fftw_complex);
    }
  }

  // The bytes of the real output of the complex-to-real kind.
  static size_t out_size(const Key& key) {
    const size_t n = static_cast<size_t>(key.n);
    return n * n * sizeof(double);
  }

  // Says once per size and level that a slow plan is being made.
  void tell_slow_plan(const Key& key) {
    if (key.kind == kComplex1 || key.n < kNoticeFrom || key.level == FftPlanner::Estimate) return;
    for (int i = 0; i < told_count_; ++i) {
      if (told_[i].n == key.n && told_[i].level == key.level) return;
    }
    char text[320];
    const double limit = fft_timelimit();
    char limit_text[48];
    if (std::isinf(limit)) {
      std::snprintf(limit_text, sizeof limit_text, "no time limit");
    } else {
      std::snprintf(limit_text, sizeof limit_text, "up to %g s per plan", limit);
    }
    std::snprintf(text, sizeof text,
                  "FFTW plans the transforms of N = %d at level '%s' (%s); later calls at this "
                  "size and level reuse the plans",
                  static_cast<int>(key.n), fft_planner_name(key.level), limit_text);
    if (!notice(text)) return;  // not the calling thread: said by a later call
    if (told_count_ < kMaxTold) told_[told_count_++] = Told{key.n, key.level};
  }

  // Every plan is made here, at the level in its key. FFTW_ESTIMATE, and any
  // level FFTW finds in its wisdom, plan without touching the data; measuring
  // runs transforms on the arrays, so the input is kept aside meanwhile.
  fftw_plan make(const Key& key, fftw_complex* data, double* out) {
    const bool threads_ready = fft_threads_ready();
    fft_import_system_wisdom_once();
    const int threads = (key.kind != kComplex1 && key.n >= kThreadedFrom) ? processors() : 1;
    // The thread count is the planner's, shared with the host: set for this
    // plan, then put back.
    int before = 1;
    if (threads_ready) {
      before = fftw_planner_nthreads();
      fftw_plan_with_nthreads(threads);
    }
    const unsigned flags = fft_planner_flags(key.level);
    fftw_plan plan = nullptr;
    if (flags == FFTW_ESTIMATE) {
      plan = plan_with(key, data, out, flags);
    } else {
      plan = plan_with(key, data, out, flags | FFTW_WISDOM_ONLY);
      if (plan == nullptr) {
        tell_slow_plan(key);
        // FFTW's planner then stops measuring and takes the best plan found.
        const double limit = fft_timelimit();
        fftw_set_timelimit(std::isinf(limit) ? FFTW_NO_TIMELIMIT : limit);
        void* kept = std::malloc(bytes(key));
        if (kept != nullptr) {
          std::memcpy(kept, data, bytes(key));
          plan = plan_with(key, data, out, flags);
          std::memcpy(data, kept, bytes(key));
          std::free(kept);
        }
        fftw_set_timelimit(FFTW_NO_TIMELIMIT);  // FFTW's default, for the host's own plans
      }
    }
    if (threads_ready) fftw_plan_with_nthreads(before);
    return plan;
  }

  std::mutex mu_;
  Key keys_[kMaxPlans] = {};
  fftw_plan plans_[kMaxPlans] = {};
  int count_ = 0;
  struct Told {
    int32_t n;
    FftPlanner level;
  };
  static constexpr int kMaxTold = 32;
  Told told_[kMaxTold] = {};
  int told_count_ = 0;
};

// One per module; its destructor runs when the module is unloaded.
PlanCache& cache() {
  static PlanCache c;
  return c;
}

}  // namespace

bool fft2_in_place(cplx* z, int32_t n, FftSign sign) {
  if (n < 1) return false;
  return cache().run(kComplex2, z, nullptr, n, sign);
}

bool fft1_in_place(cplx* z, int32_t n, FftSign sign) {
  if (n < 1) return false;
  return cache().run(kComplex1, z, nullptr, n, sign);
}

bool fft2_c2r(cplx* half, double* out, int32_t n) {
  if (n < 1 || out == nullptr) return false;
  return cache().run(kHalfToReal2, half, out, n, kFftBackward);
}

int fft_plans_held() { return cache().held(); }

void fft_release_plans() { cache().release(); }

}  // namespace kv

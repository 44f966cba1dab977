#include "propagation/fft_plan.h"

#if defined(KV_FFTW_OWN_DECLARATIONS)
#include "propagation/fftw_decl.h"
#else
#include <fftw3.h>
#endif
#if defined(KV_FFTW_NO_THREADS)
// A copy of FFTW without its threads library: every plan runs on one thread.
#define fftw_init_threads() 0
#define fftw_planner_nthreads() 1
#define fftw_plan_with_nthreads(n) static_cast<void>(n)
#endif

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "core/parallel.h"
#include "propagation/fft_planner.h"

#if defined(__linux__) || defined(__APPLE__)
#include <dlfcn.h>
#endif

namespace kv {
namespace {

// Below this dimension a 2-D transform runs on one thread: starting workers
// would cost more than they save.
constexpr int32_t kThreadedFrom = 128;

// Plans kept per module; the oldest goes first.
constexpr int kMaxPlans = 8;

// FFTW's worker threads stay alive between transforms, waiting inside the
// threads library. Should this module be the library's only user and be
// unloaded, the library would go with it under those threads; it is therefore
// kept loaded for the rest of the process (the host's own FFTW use, if any,
// already does that).
void pin_threads_library() {
#if (defined(__linux__) || defined(__APPLE__)) && !defined(KV_FFTW_NO_THREADS)
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&fftw_plan_with_nthreads), &info) != 0 &&
      info.dli_fname != nullptr) {
    // Takes one more reference that is never given back.
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
#endif
}

// What a plan transforms.
enum Kind : int {
  kComplex1 = 1,     // one line of complex values, in place
  kComplex2 = 2,     // an n x n complex array, in place
  kHalfToReal2 = 3,  // an n x (n/2 + 1) half spectrum to an n x n real array
};

struct Key {
  int kind;
  int32_t n;
  int sign;
  int alignment;      // fftw_alignment_of the data the plan was made for
  int out_alignment;  // and of its output (out-of-place plans; else 0)
  FftPlanner level;
  bool operator==(const Key& o) const {
    return kind == o.kind && n == o.n && sign == o.sign && alignment == o.alignment &&
           out_alignment == o.out_alignment && level == o.level;
  }
};

class PlanCache {
 public:
  PlanCache() = default;
  PlanCache(const PlanCache&) = delete;
  PlanCache& operator=(const PlanCache&) = delete;
  ~PlanCache() { release(); }

  // Plans (or finds) the transform and runs it on `in` (writing `out`), under
  // the lock: FFTW's planner is not reentrant, and a plan must not be evicted
  // while it runs.
  bool run(Kind kind, cplx* in, double* out, int32_t n, FftSign sign) {
    std::lock_guard<std::mutex> lock(mu_);
    const Key key{kind,
                  n,
                  static_cast<int>(sign),
                  fftw_alignment_of(reinterpret_cast<double*>(in)),
                  out != nullptr ? fftw_alignment_of(out) : 0,
                  fft_planner()};
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
    // The same alignment and placement as planned, as FFTW's new-array
    // execution asks.
    if (kind == kHalfToReal2) {
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

  // Every plan is made here, at the level in its key. FFTW_ESTIMATE, and any
  // level FFTW finds in its wisdom, plan without touching the data; measuring
  // runs transforms on the arrays, so the input is kept aside meanwhile.
  static fftw_plan make(const Key& key, fftw_complex* data, double* out) {
    static bool threads_ready = false;
    if (!threads_ready) {
      threads_ready = fftw_init_threads() != 0;
      if (threads_ready) pin_threads_library();
    }
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
        void* kept = std::malloc(bytes(key));
        if (kept != nullptr) {
          std::memcpy(kept, data, bytes(key));
          plan = plan_with(key, data, out, flags);
          std::memcpy(data, kept, bytes(key));
          std::free(kept);
        }
      }
    }
    if (threads_ready) fftw_plan_with_nthreads(before);
    return plan;
  }

  std::mutex mu_;
  Key keys_[kMaxPlans] = {};
  fftw_plan plans_[kMaxPlans] = {};
  int count_ = 0;
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

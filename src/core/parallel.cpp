#include "core/parallel.h"

#include <functional>
#include <thread>

#include "core/env.h"
#include "core/interrupt.h"

#if defined(__linux__)
#include <sched.h>
#endif

namespace kv {

int processors() {
#if defined(__linux__)
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
#endif
  const unsigned n = std::thread::hardware_concurrency();
  return n > 0 ? static_cast<int>(std::min<unsigned>(n, kMaxThreads)) : 1;
}

int parse_thread_count(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p < '0' || *p > '9') return 0;
  int64_t v = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    v = v * 10 + (*p - '0');
    if (v > kMaxThreads) v = kMaxThreads + 1;  // stays above the cap, never overflows
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (*p != '\0' || v < 1) return 0;
  return static_cast<int>(std::min<int64_t>(v, kMaxThreads));
}

int thread_count() {
  char buf[32];
  if (env_get("KORVANE_NUM_THREADS", buf, sizeof buf)) {
    const int n = parse_thread_count(buf);
    if (n > 0) return n;
  }
  return std::min(processors(), kMaxThreads);
}

namespace {

struct Job {
  int64_t count;
  int64_t parts;
  RangeFn fn;
  void* ctx;
  InterruptScope* interrupt;  // the calling thread's, read by the workers
};

void run_parts(const Job& job, int64_t p0, int64_t p1);

// A worker's start: it reads the caller's interrupt flag, then runs its part.
void run_worker(const Job& job, int64_t p0, int64_t p1) {
  InterruptScope::adopt(job.interrupt);
  run_parts(job, p0, p1);
}

// Runs ranges p0 .. p1-1 of the job: the upper half in a new thread, which
// splits it further the same way, the lower half here; so the threads are
// started in a tree, log2(parts) starts deep, rather than one after another
// by the calling thread. Returns when all of them are done.
void run_parts(const Job& job, int64_t p0, int64_t p1) {
  if (p1 - p0 == 1) {
    job.fn(job.ctx, split(job.count, job.parts, p0), split(job.count, job.parts, p1));
    return;
  }
  const int64_t mid = p0 + (p1 - p0) / 2;
  std::thread upper;
  try {
    upper = std::thread(run_worker, std::cref(job), mid, p1);
  } catch (...) {
    // No thread to be had (resources, memory): these ranges run here.
    run_parts(job, mid, p1);
  }
  run_parts(job, p0, mid);
  if (upper.joinable()) upper.join();
}

}  // namespace

void run_ranges(int64_t count, int64_t grain, int threads, RangeFn fn, void* ctx) {
  if (count <= 0) return;
  if (grain < 1) grain = 1;
  const int64_t parts = std::min<int64_t>(std::clamp(threads, 1, kMaxThreads), count / grain);
  if (parts <= 1) {
    fn(ctx, 0, count);
    return;
  }
  const Job job{count, parts, fn, ctx, InterruptScope::current()};
  run_parts(job, 0, parts);
}

}  // namespace kv

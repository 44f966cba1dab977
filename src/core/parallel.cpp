#include "core/parallel.h"

#include <thread>

#include "core/env.h"

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

void run_ranges(int64_t count, int64_t grain, int threads, RangeFn fn, void* ctx) {
  if (count <= 0) return;
  if (grain < 1) grain = 1;
  const int64_t parts = std::min<int64_t>(std::clamp(threads, 1, kMaxThreads), count / grain);
  if (parts <= 1) {
    fn(ctx, 0, count);
    return;
  }
  std::thread workers[kMaxThreads];  // not started: no allocation yet
  int started = 0;
  for (int64_t p = 1; p < parts; ++p) {
    const int64_t begin = split(count, parts, p);
    const int64_t end = split(count, parts, p + 1);
    try {
      workers[started] = std::thread(fn, ctx, begin, end);
      ++started;
    } catch (...) {
      // No thread to be had (resources, memory): this range runs here.
      fn(ctx, begin, end);
    }
  }
  fn(ctx, 0, split(count, parts, 1));
  for (int k = 0; k < started; ++k) workers[k].join();
}

}  // namespace kv

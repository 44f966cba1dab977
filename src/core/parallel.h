// Threads for the per-sample loops. A loop over `count` items is cut into
// contiguous ranges, one per thread; the threads are started for that loop
// and joined before it returns. No thread outlives a call and nothing is
// kept between calls, so a module can be unloaded at any time between calls
// and a session holds no idle threads of ours, however many modules it has
// loaded.
//
// Results do not depend on the number of threads: a loop body must compute
// each item from its index alone, and a sum goes over fixed blocks whose
// bounds depend only on the count (for_blocks), added up in block order.
// A range never calls the host, BLAS or FFTW.
//
// KORVANE_NUM_THREADS sets the number of threads (a positive integer); unset
// or anything else means every processor the process may run on. With 1 no
// thread is started and every loop runs in the calling thread.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/interrupt.h"

namespace kv {

// Threads a loop may use at most, whatever KORVANE_NUM_THREADS says.
constexpr int kMaxThreads = 256;

// The fewest items that pay for a thread of their own (starting and joining
// one costs some tens of microseconds): for loops that load and store a
// sample with a few operations, and for loops that take one or more
// transcendental functions per sample.
constexpr int64_t kGrainMemory = INT64_C(1) << 17;
constexpr int64_t kGrainMath = INT64_C(1) << 14;

// The grain in columns of n samples for a loop over the columns of a grid.
inline int64_t column_grain(int64_t n, int64_t grain) {
  return n > 0 ? std::max<int64_t>(1, grain / n) : 1;
}

// Processors the process may run on (its affinity mask where there is one).
int processors();

// A value of KORVANE_NUM_THREADS: a decimal integer of at least 1, capped
// at kMaxThreads; 0 for anything else (not a number, 0, negative, trailing
// characters).
int parse_thread_count(const char* text);

// The threads a loop may use now: KORVANE_NUM_THREADS if it holds a valid
// count, else processors(); 1 .. kMaxThreads.
int thread_count();

// Start of range `part` of [0, count) cut into `parts` ranges whose sizes
// differ by at most one; range p is [split(count, parts, p),
// split(count, parts, p + 1)).
inline int64_t split(int64_t count, int64_t parts, int64_t part) {
  const int64_t q = count / parts;
  const int64_t r = count % parts;
  return part * q + std::min(part, r);
}

using RangeFn = void (*)(void* ctx, int64_t begin, int64_t end);

// Runs fn(ctx, begin, end) over [0, count) cut into min(threads,
// count / grain) ranges (at least one), the first in the calling thread and
// each other in a thread of its own, started in a tree: a thread starts one
// for the upper half of its ranges and goes on with the lower half, so no
// range waits for more than log2(ranges) starts. Ranges whose thread cannot
// be started run in the thread that tried. Returns when every range is done.
void run_ranges(int64_t count, int64_t grain, int threads, RangeFn fn, void* ctx);

// body(begin, end) over [0, count) with thread_count() threads at most.
// Each range runs a copy of body made in its own thread's frame: the stores
// and calls of the range cannot reach that copy, so a body that captures its
// parameters by value keeps them in registers. A body captures what it only
// reads by value ([=]), and by reference only what it writes.
template <class Body>
void parallel_for(int64_t count, int64_t grain, const Body& body) {
  run_ranges(
      count, grain, thread_count(),
      [](void* ctx, int64_t begin, int64_t end) {
        const Body local = *static_cast<const Body*>(ctx);
        local(begin, end);
      },
      const_cast<void*>(static_cast<const void*>(&body)));
}

// Items of one slice of a long pass (parallel_for_slices): about 20 ms of
// work for two threads at a few nanoseconds per item (loads, stores and
// products), and at a transcendental function or two per item.
constexpr int64_t kSliceMemory = INT64_C(1) << 23;
constexpr int64_t kSliceMath = INT64_C(1) << 20;

// The slice in columns of n samples for a pass over the columns of a grid.
inline int64_t column_slice(int64_t n, int64_t slice) {
  return n > 0 ? std::max<int64_t>(1, slice / n) : 1;
}

// parallel_for over [0, count) a slice of at most `slice` items at a time,
// with stop_point() before each slice: for a pass long enough that Ctrl-C
// must be able to cut it. The body computes each item from its index alone,
// so the results are those of one parallel_for over the whole range. Called
// only where an Interrupted exception may leave the pass half done.
template <class Body>
void parallel_for_slices(int64_t count, int64_t grain, int64_t slice, const Body& body) {
  if (slice < 1) slice = 1;
  for (int64_t s0 = 0; s0 < count; s0 += slice) {
    stop_point();
    const int64_t s1 = count - s0 > slice ? s0 + slice : count;
    parallel_for(s1 - s0, grain, [s0, body](int64_t b, int64_t e) { body(s0 + b, s0 + e); });
  }
}

// Reductions. The items are cut into reduce_blocks(count) blocks by split();
// their number depends on the count alone, so each block's partial result,
// and the sum of the partials in block order, is the same for any number of
// threads. inst/KVPower.m sums over the same blocks, to give KVNormal's
// power bit for bit: keep the two in step.
constexpr int kMaxBlocks = 256;
constexpr int64_t kBlockItems = 4096;  // the fewest items in a block of a large count

inline int reduce_blocks(int64_t count) {
  return static_cast<int>(std::clamp<int64_t>(count / kBlockItems, 1, kMaxBlocks));
}

// body(block, begin, end) for every block of [0, count): the threads take
// whole blocks, at least `grain` items' worth each.
template <class Body>
void for_blocks(int64_t count, int64_t grain, const Body& body) {
  const int blocks = reduce_blocks(count);
  const int64_t per_block = count / blocks + 1;
  parallel_for(blocks, (grain + per_block - 1) / per_block, [&](int64_t b0, int64_t b1) {
    for (int64_t b = b0; b < b1; ++b) {
      body(static_cast<int>(b), split(count, blocks, b), split(count, blocks, b + 1));
    }
  });
}

}  // namespace kv

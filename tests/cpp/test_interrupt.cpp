// Ctrl-C: the interrupt scope of a call (polling, the flag its worker threads
// read, nesting), the sliced loops, and every long command through the test
// host, whose interrupt query stands in for MATLAB's: a call that meets a
// pending interrupt ends with Korvane:interrupted, returns nothing, leaves
// its inputs as they were and leaks nothing (the sanitized build runs this
// too).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "core/interrupt.h"
#include "core/parallel.h"
#include "host.h"

using host::Array;

namespace {

// A poll that answers true from its k-th call on and counts its calls.
struct FakeHost {
  long at = 0;
  long polls = 0;
  static bool poll(void* ctx) {
    auto* h = static_cast<FakeHost*>(ctx);
    return h->at > 0 && ++h->polls >= h->at;
  }
};

TEST(Interrupt, StopPointThrowsOnlyInsideAnInterruptedCall) {
  EXPECT_FALSE(kv::interrupt_requested());
  EXPECT_NO_THROW(kv::stop_point());  // no call: nothing to stop
  FakeHost quiet;
  {
    kv::InterruptScope scope(FakeHost::poll, &quiet);
    EXPECT_NO_THROW(kv::stop_point());
    EXPECT_FALSE(kv::interrupt_raised());
  }
  FakeHost pressed{1};
  kv::InterruptScope scope(FakeHost::poll, &pressed);
  // The first request asks the host at once.
  EXPECT_THROW(kv::stop_point(), kv::Interrupted);
  EXPECT_TRUE(kv::interrupt_raised());
  EXPECT_EQ(pressed.polls, 1);
  // Once seen, the interrupt holds without asking again.
  EXPECT_THROW(kv::stop_point(), kv::Interrupted);
  EXPECT_EQ(pressed.polls, 1);
}

TEST(Interrupt, PollsAreSpacedAndAnInnerScopeRestoresTheOuter) {
  FakeHost outer_host{0};
  kv::InterruptScope outer(FakeHost::poll, &outer_host);
  for (int i = 0; i < 100000; ++i) kv::stop_point();
  // One poll at once; the next only after kPollIntervalNs, far longer than
  // these calls take.
  EXPECT_LE(outer_host.polls, 2);
  {
    FakeHost pressed{1};
    kv::InterruptScope inner(FakeHost::poll, &pressed);
    EXPECT_THROW(kv::stop_point(), kv::Interrupted);
  }
  // The outer call is again the one polled, from its own thread.
  EXPECT_FALSE(kv::interrupt_raised());
  EXPECT_NO_THROW(kv::stop_point());
  EXPECT_EQ(kv::InterruptScope::current(), &outer);
}

TEST(Interrupt, WorkersReadTheCallersFlagWithoutPolling) {
  FakeHost pressed{1};
  kv::InterruptScope scope(FakeHost::poll, &pressed);
  EXPECT_TRUE(kv::interrupt_requested());  // the calling thread polls
  std::atomic<int> seen{0};
  kv::run_ranges(
      8, 1, 4,
      [](void* ctx, int64_t, int64_t) {
        if (kv::interrupt_requested()) ++*static_cast<std::atomic<int>*>(ctx);
      },
      &seen);
  EXPECT_EQ(seen.load(), 4);
  EXPECT_EQ(pressed.polls, 1);
}

TEST(Interrupt, SlicedLoopsGiveTheSameItemsAndStopBetweenSlices) {
  const int64_t count = 100003;
  std::vector<double> whole(count), sliced(count);
  double* w = whole.data();
  double* s = sliced.data();
  kv::parallel_for(count, 7, [=](int64_t b, int64_t e) {
    for (int64_t k = b; k < e; ++k) w[k] = std::sin(0.001 * static_cast<double>(k));
  });
  kv::parallel_for_slices(count, 7, 999, [=](int64_t b, int64_t e) {
    for (int64_t k = b; k < e; ++k) s[k] = std::sin(0.001 * static_cast<double>(k));
  });
  EXPECT_EQ(whole, sliced);

  // Interrupted at the second poll, which comes once the first slice has
  // taken longer than the poll interval: no later slice runs.
  FakeHost host{2};
  kv::InterruptScope scope(FakeHost::poll, &host);
  std::vector<int> done(count, 0);
  int* d = done.data();
  bool stopped = false;
  try {
    kv::parallel_for_slices(count, 2000, 1000, [=](int64_t b, int64_t e) {
      if (b == 0) std::this_thread::sleep_for(std::chrono::milliseconds(25));
      for (int64_t k = b; k < e; ++k) d[k] = 1;
    });
  } catch (const kv::Interrupted&) {
    stopped = true;
  }
  EXPECT_TRUE(stopped);
  long touched = 0;
  for (int v : done) touched += v;
  EXPECT_EQ(touched, 1000);
}

// The samples of a double array, real or complex, for comparing inputs
// before and after a call.
std::vector<host::cplx> contents(const mxArray* a) {
  std::vector<host::cplx> v;
  if (!mxIsDouble(a)) return v;
  const size_t count = mxGetM(a) * mxGetN(a);
  v.reserve(count);
  for (size_t k = 0; k < count; ++k) v.push_back(host::at(a, k));
  return v;
}

bool same_bits(const std::vector<host::cplx>& a, const std::vector<host::cplx>& b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    const bool re =
        a[k].real() == b[k].real() || (std::isnan(a[k].real()) && std::isnan(b[k].real()));
    const bool im =
        a[k].imag() == b[k].imag() || (std::isnan(a[k].imag()) && std::isnan(b[k].imag()));
    if (!re || !im) return false;
  }
  return true;
}

// A field with samples that vary, so that the work is not trivial.
Array varied_field(int n, double size = 4e-3) {
  Array f = host::field(n, size, 1e-6);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const size_t k = static_cast<size_t>(i) * n + j;
      host::set(f.get(), k, host::cplx(std::cos(0.1 * i), std::sin(0.07 * j)));
    }
  return f;
}

// A real n x n array (a phase) with a few wraps.
Array phase_array(int n) {
  Array a = host::real(n, n);
  double* p = host::real_data(a.get());
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) p[i * n + j] = std::remainder(0.3 * i + 0.2 * j, 6.283185307);
  return a;
}

std::vector<Array> args(std::initializer_list<double> scalars, Array last) {
  std::vector<Array> v;
  for (double s : scalars) v.push_back(host::scalar(s));
  v.push_back(std::move(last));
  return v;
}

struct Case {
  const char* name;
  std::vector<Array> (*make)();
};

const Case kCases[] = {
    {"KVFresnelFFT", [] { return args({0.5}, varied_field(64)); }},
    {"KVFresnelFFT", [] { return args({50.0}, varied_field(64)); }},  // the impulse response
    {"KVAngularSpectrum", [] { return args({0.5}, varied_field(64)); }},
    {"KVForward",
     [] {
       return args({0.5, 4e-3, 48}, varied_field(64));
     }},
    {"KVForward",
     [] {
       Array f = varied_field(64);
       host::set(f.get(), 100, host::cplx(INFINITY, 0));  // the term-by-term path
       return args({0.5, 4e-3, 48}, std::move(f));
     }},
    {"KVTurbScreen",
     [] {
       return args({7, 0.05, 10, 0.001}, varied_field(64));
     }},
    {"KVStructureFunction",
     [] {
       std::vector<Array> v;
       v.push_back(phase_array(64));
       v.push_back(varied_field(64));
       return v;
     }},
    {"KVPhaseUnwrap",
     [] {
       std::vector<Array> v;
       v.push_back(host::scalar(1));
       v.push_back(phase_array(64));
       return v;
     }},
    {"KVInterpol",
     [] {
       return args({3e-3, 50, 1e-5, 0, 10, 1}, varied_field(64));
     }},
    {"KVPad", [] { return args({96}, varied_field(64)); }},
};

TEST(Interrupt, EveryLongCommandStopsCleanly) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::vector<Array> in = c.make();
    std::vector<const mxArray*> ptrs;
    std::vector<std::vector<host::cplx>> before;
    for (const Array& a : in) {
      ptrs.push_back(a.get());
      before.push_back(contents(a.get()));
    }
    const long arrays = host::live_arrays();
    const long blocks = host::live_blocks();

    // Not interrupted: the call succeeds, asking the host at least once.
    host::interrupt_at(0);
    {
      const host::Result r = host::call(c.name, 1, ptrs);
      ASSERT_FALSE(r.failed) << r.error;
      EXPECT_GE(host::interrupt_queries(), 1);
    }
    // Ctrl-C pending from the start: the first stop point ends the call.
    host::interrupt_at(1);
    {
      const host::Result r = host::call(c.name, 1, ptrs);
      EXPECT_TRUE(r.failed);
      EXPECT_FALSE(r.swallowed);
      EXPECT_EQ(r.id, "Korvane:interrupted");
      EXPECT_EQ(r.error, "Interrupted.");
      EXPECT_TRUE(host::interrupt_answered());
      EXPECT_EQ(host::interrupt_queries(), 1);
      EXPECT_TRUE(r.out.empty());
    }
    host::interrupt_at(0);
    EXPECT_EQ(host::live_arrays(), arrays);
    EXPECT_EQ(host::live_blocks(), blocks);
    for (size_t i = 0; i < in.size(); ++i) EXPECT_TRUE(same_bits(contents(in[i].get()), before[i]));
  }
}

// A call cut in the middle of its work (at its second poll, one poll
// interval after the first) ends the same way. Should the machine finish
// first, the call succeeds and there is nothing to check.
TEST(Interrupt, LongCallsStopMidwayCleanly) {
  const Case mid[] = {
      {"KVForward",
       [] {
         return args({0.5, 4e-3, 768}, varied_field(768));
       }},
      {"KVTurbScreen",
       [] {
         return args({7, 0.05, 10, 0.001}, varied_field(2048));
       }},
      {"KVStructureFunction",
       [] {
         std::vector<Array> v;
         v.push_back(phase_array(1024));
         v.push_back(varied_field(1024));
         return v;
       }},
  };
  for (const Case& c : mid) {
    SCOPED_TRACE(c.name);
    std::vector<Array> in = c.make();
    std::vector<const mxArray*> ptrs;
    for (const Array& a : in) ptrs.push_back(a.get());
    const long arrays = host::live_arrays();
    const long blocks = host::live_blocks();
    host::interrupt_at(2);
    const host::Result r = host::call(c.name, 1, ptrs);
    const bool answered = host::interrupt_answered();
    host::interrupt_at(0);
    if (answered) {
      EXPECT_TRUE(r.failed);
      EXPECT_EQ(r.id, "Korvane:interrupted");
      EXPECT_EQ(host::interrupt_queries(), 2);
    } else {
      EXPECT_FALSE(r.failed) << r.error;
    }
    EXPECT_EQ(host::live_arrays(), arrays);
    EXPECT_EQ(host::live_blocks(), blocks);
  }
}

}  // namespace

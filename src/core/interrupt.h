// Ctrl-C. A call that may run long asks, between pieces of bounded work,
// whether the user has asked it to stop; the host is polled for that at most
// every kPollInterval, from the thread that runs the command, and the answer
// is kept in a flag that the call's worker threads read too.
//
//   for (int s = 0; s < steps; ++s) {
//     kv::stop_point();   // throws kv::Interrupted once Ctrl-C was pressed
//     ...one step...
//   }
//
// The gateway catches kv::Interrupted, releases the call's scratch and
// results, and hands the host adapter Err::Interrupted, which the adapter
// raises as its host's own interrupt (Octave's interrupt, Python's
// KeyboardInterrupt). Pure computations in src/<subsystem>/ call
// stop_point() only from the calling thread, outside parallel ranges, and
// only where nothing of theirs is left half-made (they own no resource that
// an exception would leak: scratch belongs to the call). Inside a parallel
// range, interrupt_requested() tells a worker to finish early; the caller
// must then call stop_point() before it uses the result.
#pragma once

#include <atomic>
#include <cstdint>

namespace kv {

// What stop_point() throws; caught by the gateway alone.
struct Interrupted {};

// How often the calling thread asks the host at most (the first request of a
// call asks it at once).
constexpr int64_t kPollIntervalNs = 20 * INT64_C(1000000);

// True once the user has asked the current call to stop. Any thread; cheap
// (a clock read in the calling thread, a flag read in the others). False
// outside a call.
bool interrupt_requested();

// In the thread that runs the command, outside parallel ranges: throws
// Interrupted when interrupt_requested(). Elsewhere it does nothing. Cheap
// enough (a clock read) to be called every few microseconds of work.
void stop_point();

// Whether the current call's scope has seen the interrupt, without asking
// the host again (the gateway's last look once the body has returned).
bool interrupt_raised();

// How a host says whether the user pressed Ctrl-C; `ctx` is the host's own.
using InterruptPoll = bool (*)(void* ctx);

// The interrupt state of one call, installed by the gateway for the length of
// the call in the thread that runs it. A null poll never interrupts.
class InterruptScope {
 public:
  InterruptScope(InterruptPoll poll, void* ctx);
  ~InterruptScope();
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

  // For the threads of parallel ranges: the scope of the thread that started
  // them, read-only there (they never poll the host).
  static InterruptScope* current();
  static void adopt(InterruptScope* scope);

  bool requested();
  bool raised() const { return flag_.load(std::memory_order_relaxed); }

 private:
  InterruptPoll poll_;
  void* ctx_;
  int64_t last_ns_ = 0;
  std::atomic<bool> flag_{false};
  InterruptScope* outer_;
  bool outer_owner_;
};

}  // namespace kv

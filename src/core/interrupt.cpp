#include "core/interrupt.h"

#include <chrono>

namespace kv {
namespace {

// The scope of the call this thread runs, and whether this thread is the one
// that polls it (the calling thread) or a worker reading its flag.
thread_local InterruptScope* t_scope = nullptr;
thread_local bool t_owner = false;

int64_t now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

InterruptScope::InterruptScope(InterruptPoll poll, void* ctx)
    // The first request asks the host at once: a call that reaches a stop
    // point with Ctrl-C already pending stops there.
    : poll_(poll),
      ctx_(ctx),
      last_ns_(now_ns() - kPollIntervalNs),
      outer_(t_scope),
      outer_owner_(t_owner) {
  t_scope = this;
  t_owner = true;
}

InterruptScope::~InterruptScope() {
  t_scope = outer_;
  t_owner = outer_owner_;
}

InterruptScope* InterruptScope::current() { return t_scope; }

void InterruptScope::adopt(InterruptScope* scope) {
  t_scope = scope;
  t_owner = false;
}

bool InterruptScope::requested() {
  if (flag_.load(std::memory_order_relaxed)) return true;
  if (poll_ == nullptr) return false;
  const int64_t t = now_ns();
  if (t - last_ns_ < kPollIntervalNs) return false;
  last_ns_ = t;
  if (poll_(ctx_)) flag_.store(true, std::memory_order_relaxed);
  return flag_.load(std::memory_order_relaxed);
}

bool interrupt_requested() {
  InterruptScope* s = t_scope;
  if (s == nullptr) return false;
  return t_owner ? s->requested() : s->raised();
}

bool interrupt_raised() { return t_scope != nullptr && t_scope->raised(); }

void stop_point() {
  if (t_owner && t_scope != nullptr && t_scope->requested()) throw Interrupted{};
}

}  // namespace kv

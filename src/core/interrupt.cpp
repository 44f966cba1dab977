#include "core/interrupt.h"

#include <chrono>
#include <cstdint>

#include "core/thread_slot.h"

namespace kv {
namespace {

// The scope of the call this thread runs, and whether this thread is the one
// that polls it (the calling thread) or a worker reading its flag: one slot,
// the owner flag in the pointer's low bit (a scope is aligned to 8).
using ScopeSlot = ThreadSlot<0>;
static_assert(alignof(InterruptScope) >= 2, "the owner bit needs a free low bit");

struct ThreadScope {
  InterruptScope* scope;
  bool owner;
};

ThreadScope here() {
  const auto v = reinterpret_cast<std::uintptr_t>(ScopeSlot::get());
  return {reinterpret_cast<InterruptScope*>(v & ~std::uintptr_t{1}), (v & 1) != 0};
}

void set_here(InterruptScope* scope, bool owner) {
  ScopeSlot::set(
      reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(scope) | (owner ? 1 : 0)));
}

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
      outer_(here().scope),
      outer_owner_(here().owner) {
  set_here(this, true);
}

InterruptScope::~InterruptScope() { set_here(outer_, outer_owner_); }

InterruptScope* InterruptScope::current() { return here().scope; }

void InterruptScope::adopt(InterruptScope* scope) { set_here(scope, false); }

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
  const ThreadScope t = here();
  if (t.scope == nullptr) return false;
  return t.owner ? t.scope->requested() : t.scope->raised();
}

bool interrupt_raised() {
  const ThreadScope t = here();
  return t.scope != nullptr && t.scope->raised();
}

void stop_point() {
  const ThreadScope t = here();
  if (t.owner && t.scope != nullptr && t.scope->requested()) throw Interrupted{};
}

}  // namespace kv

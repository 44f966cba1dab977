#include "core/notice.h"

#include <cstdio>

#include "core/thread_slot.h"

namespace kv {
namespace {

// The innermost scope of this thread (a thread key, as the interrupt scope).
using NoticeSlot = ThreadSlot<1>;
NoticeScope* current() { return static_cast<NoticeScope*>(NoticeSlot::get()); }

}  // namespace

NoticeScope::NoticeScope(const char* command, NoticePrint print, void* ctx)
    : command_(command), print_(print), ctx_(ctx), outer_(current()) {
  NoticeSlot::set(this);
}

NoticeScope::~NoticeScope() { NoticeSlot::set(outer_); }

bool notice(const char* text) {
  NoticeScope* s = current();
  if (s == nullptr || s->print_ == nullptr) return false;
  char line[512];
  std::snprintf(line, sizeof line, "%s: %s\n", s->command_ != nullptr ? s->command_ : "Korvane",
                text);
  s->print_(s->ctx_, line);
  return true;
}

}  // namespace kv

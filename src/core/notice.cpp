#include "core/notice.h"

#include <cstdio>

namespace kv {
namespace {

thread_local NoticeScope* t_notices = nullptr;

}  // namespace

NoticeScope::NoticeScope(const char* command, NoticePrint print, void* ctx)
    : command_(command), print_(print), ctx_(ctx), outer_(t_notices) {
  t_notices = this;
}

NoticeScope::~NoticeScope() { t_notices = outer_; }

bool notice(const char* text) {
  NoticeScope* s = t_notices;
  if (s == nullptr || s->print_ == nullptr) return false;
  char line[512];
  std::snprintf(line, sizeof line, "%s: %s\n", s->command_ != nullptr ? s->command_ : "Korvane",
                text);
  s->print_(s->ctx_, line);
  return true;
}

}  // namespace kv

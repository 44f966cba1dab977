// Notices: a line a long call prints while it works, so that the user knows
// why it takes long ("KVFresnelFFT: FFTW plans ..."). The gateway installs a
// scope for each call in the thread that runs it; notice() prints through
// the host, prefixed with the command's name, from that thread only (a host
// may not be called from others), and does nothing anywhere else.
#pragma once

namespace kv {

using NoticePrint = void (*)(void* ctx, const char* text);

class NoticeScope {
 public:
  NoticeScope(const char* command, NoticePrint print, void* ctx);
  ~NoticeScope();
  NoticeScope(const NoticeScope&) = delete;
  NoticeScope& operator=(const NoticeScope&) = delete;

 private:
  friend bool notice(const char* text);
  const char* command_;
  NoticePrint print_;
  void* ctx_;
  NoticeScope* outer_;
};

// Prints "<command>: <text>" and a new line through the host of the call
// this thread runs. False (nothing printed) outside a call's own thread.
bool notice(const char* text);

}  // namespace kv

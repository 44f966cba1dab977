#include "core/env.h"

#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace kv {

bool env_get(const char* name, char* buf, size_t size) {
  if (size == 0) return false;
  buf[0] = '\0';
#if defined(_WIN32)
  // The process's own block: a module's C runtime keeps a copy of its own,
  // which the host's setenv may not reach.
  const DWORD n = GetEnvironmentVariableA(name, buf, static_cast<DWORD>(size));
  if (n == 0 || n >= size) {
    buf[0] = '\0';
    return false;
  }
  return true;
#else
  const char* v = std::getenv(name);
  if (v == nullptr) return false;
  const size_t len = std::strlen(v);
  if (len >= size) return false;
  std::memcpy(buf, v, len + 1);
  return true;
#endif
}

bool env_set(const char* name, const char* value) {
#if defined(_WIN32)
  // Both the process block and this module's C runtime copy.
  const bool ok = SetEnvironmentVariableA(name, value) != 0;
  return _putenv_s(name, value) == 0 && ok;
#else
  return setenv(name, value, 1) == 0;
#endif
}

}  // namespace kv

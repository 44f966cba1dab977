// The process environment, read and written so that every module of the
// process sees the same values: each command is its own shared library with
// its own statics, but the environment is the process's.
#pragma once

#include <cstddef>

namespace kv {

// Copies the value of variable `name` into buf (at most size - 1 characters
// and a terminating 0). Returns false, with buf empty, when the variable is
// not set or its value does not fit.
bool env_get(const char* name, char* buf, size_t size);

// Sets variable `name` to `value` for the whole process. Returns false when
// the environment refuses it.
bool env_set(const char* name, const char* value);

}  // namespace kv

#include "propagation/fft_planner.h"

#if defined(KV_FFTW_OWN_DECLARATIONS)
#include "propagation/fftw_decl.h"
#else
#include <fftw3.h>
#endif
#if defined(KV_FFTW_NO_THREADS)
// A copy of FFTW without its threads library: every plan runs on one thread.
#define fftw_init_threads() 0
#endif

#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/env.h"

#if (defined(__linux__) || defined(__APPLE__)) && !defined(KV_FFTW_NO_THREADS)
#include <dlfcn.h>
#endif

namespace kv {
namespace {

constexpr const char* kVariable = "KORVANE_FFTW_PLANNER";
constexpr const char* kLimitVariable = "KORVANE_FFTW_TIMELIMIT";
constexpr const char* kNames[] = {"estimate", "measure", "patient"};

bool same_word(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (std::tolower(static_cast<unsigned char>(*a)) != *b) return false;
  }
  return *a == '\0' && *b == '\0';
}

// FFTW's worker threads stay alive between transforms, waiting inside the
// threads library. Should this module be the library's only user and be
// unloaded, the library would go with it under those threads; it is therefore
// kept loaded for the rest of the process (the host's own FFTW use, if any,
// already does that).
void pin_threads_library() {
#if (defined(__linux__) || defined(__APPLE__)) && !defined(KV_FFTW_NO_THREADS)
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&fftw_plan_with_nthreads), &info) != 0 &&
      info.dli_fname != nullptr) {
    // Takes one more reference that is never given back.
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
#endif
}

}  // namespace

bool fft_threads_ready() {
  static bool tried = false;
  static bool ready = false;
  if (!tried) {
    tried = true;
    ready = fftw_init_threads() != 0;
    if (ready) pin_threads_library();
  }
  return ready;
}

const char* fft_planner_name(FftPlanner level) {
  const int k = static_cast<int>(level);
  return k >= 0 && k < 3 ? kNames[k] : kNames[1];
}

bool fft_planner_from_name(const char* name, FftPlanner* level) {
  if (name == nullptr) return false;
  for (int k = 0; k < 3; ++k) {
    if (same_word(name, kNames[k])) {
      *level = static_cast<FftPlanner>(k);
      return true;
    }
  }
  return false;
}

FftPlanner fft_planner() {
  char buf[16];
  FftPlanner level = FftPlanner::Estimate;
  if (env_get(kVariable, buf, sizeof buf)) fft_planner_from_name(buf, &level);
  return level;
}

bool fft_set_planner(FftPlanner level) { return env_set(kVariable, fft_planner_name(level)); }

unsigned fft_planner_flags(FftPlanner level) {
  switch (level) {
    case FftPlanner::Estimate:
      return FFTW_ESTIMATE;
    case FftPlanner::Patient:
      return FFTW_PATIENT;
    case FftPlanner::Measure:
      break;
  }
  return FFTW_MEASURE;
}

void fft_import_system_wisdom_once() {
  static bool done = false;
  if (done) return;
  done = true;
  fftw_import_system_wisdom();  // 0 when there is none: nothing to add
}

double fft_timelimit() {
  char buf[64];
  if (!env_get(kLimitVariable, buf, sizeof buf)) return kFftDefaultTimelimit;
  char* end = nullptr;
  const double v = std::strtod(buf, &end);
  if (end == buf || *end != '\0' || !(v > 0)) return kFftDefaultTimelimit;
  return v;
}

bool fft_set_timelimit(double seconds) {
  if (!(seconds > 0)) return false;  // NaN too
  char buf[64];
  if (std::isinf(seconds)) {
    std::snprintf(buf, sizeof buf, "inf");
  } else {
    std::snprintf(buf, sizeof buf, "%.17g", seconds);
  }
  return env_set(kLimitVariable, buf);
}

WisdomResult fft_wisdom_save(const char* path) {
  WisdomResult r;
  char* text = fftw_export_wisdom_to_string();
  if (text == nullptr) {
    r.error = WisdomError::OutOfMemory;
    return r;
  }
  r.file = replace_file(path, text, std::strlen(text));
  std::free(text);  // FFTW's string is the caller's to free
  if (r.file != FileError::None) r.error = WisdomError::File;
  return r;
}

WisdomResult fft_wisdom_load(const char* path) {
  WisdomResult r;
  std::string text;
  r.file = read_small_file(path, kWisdomFileLimit, &text);
  if (r.file != FileError::None) {
    r.error = WisdomError::File;
    return r;
  }
  // Wisdom is text; a 0 byte would end FFTW's reading early.
  if (text.empty() || std::memchr(text.data(), '\0', text.size()) != nullptr) {
    r.error = WisdomError::NotWisdom;
    return r;
  }
  fft_threads_ready();
  // FFTW keeps its wisdom as it was when the text is not wisdom.
  if (fftw_import_wisdom_from_string(text.c_str()) == 0) r.error = WisdomError::NotWisdom;
  return r;
}

}  // namespace kv

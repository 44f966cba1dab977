#include "propagation/fft_planner.h"

#if defined(KV_FFTW_OWN_DECLARATIONS)
#include "propagation/fftw_decl.h"
#else
#include <fftw3.h>
#endif

#include <cctype>
#include <cstddef>

#include "core/env.h"

namespace kv {
namespace {

constexpr const char* kVariable = "KORVANE_FFTW_PLANNER";
constexpr const char* kNames[] = {"estimate", "measure", "patient"};

bool same_word(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (std::tolower(static_cast<unsigned char>(*a)) != *b) return false;
  }
  return *a == '\0' && *b == '\0';
}

}  // namespace

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
  FftPlanner level = FftPlanner::Measure;
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

bool fft_wisdom_save(const char* path) {
  return path != nullptr && *path != '\0' && fftw_export_wisdom_to_filename(path) != 0;
}

bool fft_wisdom_load(const char* path) {
  return path != nullptr && *path != '\0' && fftw_import_wisdom_from_filename(path) != 0;
}

}  // namespace kv

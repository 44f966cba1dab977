// How FFTW plans the FFT propagators' transforms, and what it remembers of
// its plans (its wisdom). Both are settings of the whole process: every
// command is a shared library of its own, with its own plans, but the level
// lives in the environment (KORVANE_FFTW_PLANNER) and the wisdom in the one
// FFTW library of the process, which the host shares (Octave's fft2 uses the
// same wisdom). Plain functions, for every host: KVFftw calls them from
// Octave and MATLAB, and a binding for another language can call them too.
#pragma once

#include <cstddef>

#include "core/files.h"

namespace kv {

// How hard FFTW looks for a fast plan, the first time a size is transformed:
// Estimate guesses from a model (microseconds, the same plan in every
// process: the default, so that a script gives the same bits in every
// process); Measure times a few candidates; Patient times many more.
// Measure and Patient choose by timing, so two processes may choose
// differently; wisdom saved by one and loaded by the other makes them agree.
enum class FftPlanner : int { Estimate = 0, Measure = 1, Patient = 2 };

// The level new plans are made with: the value of KORVANE_FFTW_PLANNER when
// it names a level (fft_planner_from_name), Estimate otherwise.
FftPlanner fft_planner();

// Sets the level for every module of the process (through
// KORVANE_FFTW_PLANNER). Plans already made stay as they are and are used
// again whenever their level is asked for. False if the environment refused.
bool fft_set_planner(FftPlanner level);

// "estimate", "measure", "patient".
const char* fft_planner_name(FftPlanner level);

// The level a name gives, in any case: "estimate", "measure", "patient".
// False, leaving *level as it is, for any other text.
bool fft_planner_from_name(const char* name, FftPlanner* level);

// The most seconds FFTW may spend on one plan at Measure or Patient (it then
// takes the best plan found so far): KORVANE_FFTW_TIMELIMIT when it holds a
// positive number ("inf": no limit), kFftDefaultTimelimit otherwise.
constexpr double kFftDefaultTimelimit = 10.0;
double fft_timelimit();
// Sets it for every module of the process; false for a value that is not a
// positive number (infinity allowed), or if the environment refused.
bool fft_set_timelimit(double seconds);

// The largest file fft_wisdom_load reads: wisdom is a few kilobytes.
constexpr size_t kWisdomFileLimit = size_t{1} << 20;

enum class WisdomError : int {
  None = 0,
  File,       // the file could not be read or written (see the FileError)
  NotWisdom,  // read, but FFTW did not accept it as wisdom
  OutOfMemory,
};
struct WisdomResult {
  WisdomError error = WisdomError::None;
  FileError file = FileError::None;
};

// Writes FFTW's wisdom (every plan measured in this process, and whatever
// was loaded) to the file at `path`, replacing it whole (core/files.h); or
// adds the wisdom in that file, a regular file of at most kWisdomFileLimit
// bytes, to FFTW's. Loading sets up FFTW's threads first: the wisdom of
// threaded plans names their solvers, which exist only from then on.
WisdomResult fft_wisdom_save(const char* path);
WisdomResult fft_wisdom_load(const char* path);

// Sets up FFTW's threads once per module (true when they are available).
bool fft_threads_ready();

// FFTW's planner flags for a level (used by the plan maker).
unsigned fft_planner_flags(FftPlanner level);

// Adds the system's wisdom (/etc/fftw/wisdom on Unix) to FFTW's, once per
// module; the plan maker calls it before it plans.
void fft_import_system_wisdom_once();

}  // namespace kv

// How FFTW plans the FFT propagators' transforms, and what it remembers of
// its plans (its wisdom). Both are settings of the whole process: every
// command is a shared library of its own, with its own plans, but the level
// lives in the environment (KORVANE_FFTW_PLANNER) and the wisdom in the one
// FFTW library of the process, which the host shares (Octave's fft2 uses the
// same wisdom). Plain functions, for every host: KVFftw calls them from
// Octave and MATLAB, and a binding for another language can call them too.
#pragma once

namespace kv {

// How hard FFTW looks for a fast plan, the first time a size is transformed:
// Estimate guesses from a model (microseconds, the same plan every time);
// Measure times a few candidates (the default); Patient times many more.
// Measure and Patient choose by timing, so two sessions may choose
// differently; wisdom saved by one and loaded by the other makes them agree.
enum class FftPlanner : int { Estimate = 0, Measure = 1, Patient = 2 };

// The level new plans are made with: the value of KORVANE_FFTW_PLANNER when
// it names a level (fft_planner_from_name), Measure otherwise.
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

// Writes FFTW's wisdom (every plan measured in this process, and whatever
// was loaded) to the file at `path`, or adds the wisdom in that file to it.
// False when the file cannot be written, or cannot be read as wisdom.
bool fft_wisdom_save(const char* path);
bool fft_wisdom_load(const char* path);

// FFTW's planner flags for a level (used by the plan maker).
unsigned fft_planner_flags(FftPlanner level);

// Adds the system's wisdom (/etc/fftw/wisdom on Unix) to FFTW's, once per
// module; the plan maker calls it before it plans.
void fft_import_system_wisdom_once();

}  // namespace kv

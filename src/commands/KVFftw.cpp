// KVFftw(action[,value]): how FFTW plans the FFT propagators' transforms, and
// the session's FFTW wisdom, in the style of Octave's fftw('planner', ...).
#include <cctype>

#include "core/command.h"
#include "propagation/fft_planner.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVFftw sets how FFTW plans the FFT propagators, and saves or loads FFTW wisdom.\n"
    "\n\tUSAGE:\n"
    "\tmethod = KVFftw('planner');\n"
    "\tKVFftw('planner',method);\n"
    "\tKVFftw('save',file);\n"
    "\tKVFftw('load',file);\n"
    "\n\twith:\n"
    "\tmethod = 'estimate', 'measure' (default) or 'patient'\n"
    "\tfile   = a wisdom file\n"
    "\n*****************************************************\n"
    "\n";

// One or two inputs; no output, or the planner level.
static const kv::Command kFftw{"KVFftw",
                               1,
                               0,
                               {kv::Text, kv::Text},
                               kBanner,
                               "expects one or two input arguments",
                               "expects at most one output argument",
                               {nullptr, nullptr},
                               nullptr,
                               2,
                               1};

// Case-insensitive comparison with a lower-case word.
static bool is(const char* text, const char* word) {
  for (; *text != '\0' && *word != '\0'; ++text, ++word) {
    if (std::tolower(static_cast<unsigned char>(*text)) != *word) return false;
  }
  return *text == '\0' && *word == '\0';
}

KV_COMMAND(KVFftw, kFftw) {
  const char* action = c.text(0);
  if (is(action, "planner")) {
    if (c.inputs() == 2) {
      kv::FftPlanner level = kv::FftPlanner::Measure;
      if (!kv::fft_planner_from_name(c.text(1), &level))
        c.fail(kv::Err::BadValue, "method must be 'estimate', 'measure' or 'patient'");
      if (!kv::fft_set_planner(level))
        c.fail(kv::Err::Internal, "the environment refused KORVANE_FFTW_PLANNER");
    }
    c.out_text(kv::fft_planner_name(kv::fft_planner()));
    return;
  }
  const bool save = is(action, "save");
  if (!save && !is(action, "load"))
    c.fail(kv::Err::BadValue, "the first argument must be 'planner', 'save' or 'load'");
  if (c.inputs() != 2) c.fail(kv::Err::ArgCount, "'save' and 'load' expect a file name");
  if (c.outputs() != 0) c.fail(kv::Err::ArgCount, "'save' and 'load' give no output");
  if (save && !kv::fft_wisdom_save(c.text(1)))
    c.fail(kv::Err::BadValue, "cannot write the wisdom file");
  if (!save && !kv::fft_wisdom_load(c.text(1)))
    c.fail(kv::Err::BadValue, "cannot read the file as FFTW wisdom");
}

// KVFftw(action[,value]): how FFTW plans the FFT propagators' transforms, how
// long it may plan, and the session's FFTW wisdom, in the style of Octave's
// fftw('planner', ...).
#include <cctype>
#include <cmath>

#include "core/command.h"
#include "propagation/fft_planner.h"

static const char kBanner[] =
    "*****************************************************\n"
    "\n\tKorvane for Matlab Optical Toolbox\n"
    "\n\tKVFftw sets how FFTW plans the FFT propagators, and saves or loads FFTW wisdom.\n"
    "\n\tUSAGE:\n"
    "\tmethod = KVFftw('planner');\n"
    "\tKVFftw('planner',method);\n"
    "\tseconds = KVFftw('timelimit');\n"
    "\tKVFftw('timelimit',seconds);\n"
    "\tKVFftw('save',file);\n"
    "\tKVFftw('load',file);\n"
    "\n\twith:\n"
    "\tmethod  = 'estimate' (default), 'measure' or 'patient'\n"
    "\tseconds = the most time FFTW plans one transform (default 10, Inf: no limit)\n"
    "\tfile    = a wisdom file\n"
    "\n*****************************************************\n"
    "\n";

// One or two inputs; no output, or the planner level or time limit.
static const kv::Command kFftw{"KVFftw",
                               1,
                               0,
                               {kv::Text, kv::Word},
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

// What went wrong with a wisdom file: the whole message, a constant, for it
// outlives the call that raises it.
#define KV_WISDOM_PROBLEM(what) \
  (save) ? "cannot write the wisdom file: " what : "cannot read the wisdom file: " what
static const char* file_problem(kv::FileError e, bool save) {
  switch (e) {
    case kv::FileError::Missing:
      return save ? "cannot write the wisdom file: its folder does not exist"
                  : "cannot read the wisdom file: no such file";
    case kv::FileError::Folder:
      return KV_WISDOM_PROBLEM("it is a folder");
    case kv::FileError::NotRegular:
      return KV_WISDOM_PROBLEM("it is not a regular file (a device, FIFO or socket)");
    case kv::FileError::TooLarge:
      return KV_WISDOM_PROBLEM("it is larger than 1 MiB, too large for FFTW wisdom");
    case kv::FileError::Unreadable:
      return KV_WISDOM_PROBLEM("it cannot be read (permission denied or a read error)");
    case kv::FileError::OutOfMemory:
      return KV_WISDOM_PROBLEM("out of memory");
    default:
      return KV_WISDOM_PROBLEM("the folder cannot take a new file, or the disk is full");
  }
}
#undef KV_WISDOM_PROBLEM

KV_COMMAND(KVFftw, kFftw) {
  const char* action = c.text(0);
  if (is(action, "planner")) {
    if (c.inputs() == 2) {
      kv::FftPlanner level = kv::FftPlanner::Estimate;
      if (!c.is_text(1) || !kv::fft_planner_from_name(c.text(1), &level))
        c.fail(kv::Err::BadValue, "method must be 'estimate', 'measure' or 'patient'");
      if (!kv::fft_set_planner(level))
        c.fail(kv::Err::Internal, "the environment refused KORVANE_FFTW_PLANNER");
    }
    c.out_text(kv::fft_planner_name(kv::fft_planner()));
    return;
  }
  if (is(action, "timelimit")) {
    if (c.inputs() == 2) {
      if (c.is_text(1) || !(c.scalar(1) > 0))
        c.fail(kv::Err::BadValue, "the time limit must be a positive number of seconds, or Inf");
      if (!kv::fft_set_timelimit(c.scalar(1)))
        c.fail(kv::Err::Internal, "the environment refused KORVANE_FFTW_TIMELIMIT");
    }
    *c.out_real(1, 1) = kv::fft_timelimit();
    return;
  }
  const bool save = is(action, "save");
  if (!save && !is(action, "load"))
    c.fail(kv::Err::BadValue,
           "the first argument must be 'planner', 'timelimit', 'save' or 'load'");
  if (c.inputs() != 2) c.fail(kv::Err::ArgCount, "'save' and 'load' expect a file name");
  if (!c.is_text(1)) c.fail(kv::Err::BadValue, "the file name must be text");
  if (c.outputs() != 0) c.fail(kv::Err::ArgCount, "'save' and 'load' give no output");
  const kv::WisdomResult r = save ? kv::fft_wisdom_save(c.text(1)) : kv::fft_wisdom_load(c.text(1));
  switch (r.error) {
    case kv::WisdomError::None:
      return;
    case kv::WisdomError::OutOfMemory:
      c.fail(kv::Err::OutOfMemory, "Out of memory.");
    case kv::WisdomError::NotWisdom:
      c.fail(kv::Err::BadValue,
             "cannot read the file as FFTW wisdom (truncated, or not written by KVFftw "
             "('save') with this FFTW)");
    case kv::WisdomError::File:
      break;
  }
  c.fail(r.file == kv::FileError::OutOfMemory ? kv::Err::OutOfMemory : kv::Err::BadValue,
         file_problem(r.file, save));
}

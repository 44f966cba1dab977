// What a command file includes: the gateway and the entry point of the host
// the module is built for. A command reads
//
//   static const kv::Command kCirc{"KVCircAperture", 4, 1, {...}, kBanner};
//   KV_COMMAND(KVCircAperture, kCirc) { ...body over kv::Call& c... }
//
// and KV_COMMAND makes it an Octave oct-file function (KV_OCT), an entry in
// the command table of the Python extension (KV_PY), or a MEX module (every
// other build), all running the same gateway.
#pragma once

#include "core/gateway.h"

// The help text, generated from the command's .m file and force-included by
// the Octave and Python builds.
#ifndef KV_HELP
#define KV_HELP ""
#endif

#if defined(KV_OCT)

#include <octave/oct.h>

namespace kv {
octave_value_list run_oct(const Command& cmd, const octave_value_list& args, int nargout,
                          void (*body)(Call&));
}  // namespace kv

// Octave finds a function through its installer, G<NAME>: the one symbol an
// oct-file exports while everything else is built hidden.
#define KV_COMMAND(NAME, TABLE)                                                     \
  static void kv_body(kv::Call& c);                                                 \
  _Pragma("GCC visibility push(default)") DEFUN_DLD(NAME, args, nargout, KV_HELP) { \
    return kv::run_oct(TABLE, args, nargout, kv_body);                              \
  }                                                                                 \
  _Pragma("GCC visibility pop") static void kv_body(kv::Call& c)

#elif defined(KV_PY)

namespace kv {
// A command as the Python extension holds it (core/host_py.cpp). Every command
// file of the extension registers itself while the module loads, so one module
// holds them all; its build compiles each command file into the module itself
// (not through an archive, which would drop the unreferenced registrations).
struct PyCommand {
  const char* name;
  const Command* table;
  void (*body)(Call&);
  const char* help;       // the .m file's help text, as in Octave
  const char* signature;  // "(z, NewSize, NewNumber, Fin, /)", from the help's call form
  const char* results;    // one word per output: "field", "array" or "float"
};
bool register_py(const PyCommand& c);
}  // namespace kv

// The call form and the kinds of the results, written by the Python build
// (scripts/python_build.py) beside KV_HELP.
#ifndef KV_SIGNATURE
#define KV_SIGNATURE ""
#endif
#ifndef KV_RESULTS
#define KV_RESULTS ""
#endif

#define KV_COMMAND(NAME, TABLE)                                                     \
  static void kv_body(kv::Call& c);                                                 \
  [[maybe_unused]] static const bool kv_registered =                                \
      kv::register_py({#NAME, &TABLE, kv_body, KV_HELP, KV_SIGNATURE, KV_RESULTS}); \
  static void kv_body(kv::Call& c)

#else

#include "mex.h"

// The one symbol a MEX module exports (everything else is built hidden).
#if defined(_WIN32)
#define KV_EXPORT __declspec(dllexport)
#elif defined(__GNUC__)
#define KV_EXPORT __attribute__((visibility("default")))
#else
#define KV_EXPORT
#endif
extern "C" KV_EXPORT void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

namespace kv {
void run_mex(const Command& cmd, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[],
             void (*body)(Call&));
}  // namespace kv

#define KV_COMMAND(NAME, TABLE)                                                  \
  static void kv_body(kv::Call& c);                                              \
  void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) { \
    kv::run_mex(TABLE, nlhs, plhs, nrhs, prhs, kv_body);                         \
  }                                                                              \
  static void kv_body(kv::Call& c)

#endif

// What a command file includes: the gateway and the entry point of the host
// the module is built for. A command reads
//
//   static const kv::Command kCirc{"KVCircAperture", 4, 1, {...}, kBanner};
//   KV_COMMAND(KVCircAperture, kCirc) { ...body over kv::Call& c... }
//
// and KV_COMMAND makes it an Octave oct-file function (KV_OCT) or a MEX
// module (every other build), both running the same gateway.
#pragma once

#include "core/gateway.h"

#if defined(KV_OCT)

#include <octave/oct.h>

namespace kv {
octave_value_list run_oct(const Command& cmd, const octave_value_list& args, int nargout,
                          void (*body)(Call&));
}  // namespace kv

// The help text, generated from the command's .m file and force-included by
// the build.
#ifndef KV_HELP
#define KV_HELP ""
#endif

// Octave finds a function through its installer, G<NAME>: the one symbol an
// oct-file exports while everything else is built hidden.
#define KV_COMMAND(NAME, TABLE)                                                     \
  static void kv_body(kv::Call& c);                                                 \
  _Pragma("GCC visibility push(default)") DEFUN_DLD(NAME, args, nargout, KV_HELP) { \
    return kv::run_oct(TABLE, args, nargout, kv_body);                              \
  }                                                                                 \
  _Pragma("GCC visibility pop") static void kv_body(kv::Call& c)

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

// The test host: loads a command module by name and calls its mexFunction
// the way MATLAB does (no narrowing of complex arrays), and builds arrays of
// every class the tests need.
#pragma once

#include <complex>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "mex.h"

namespace host {

// What mexErrMsgTxt throws; like Octave's error, it is a std::exception, so a
// module that calls mexErrMsgTxt inside a catch-all would swallow it (and the
// host reports that).
struct MexError : std::runtime_error {
  MexError(const std::string& msg, const std::string& identifier)
      : std::runtime_error(msg), id(identifier) {}
  std::string id;
};

struct ArrayDeleter {
  void operator()(mxArray* a) const { mxDestroyArray(a); }
};
using Array = std::unique_ptr<mxArray, ArrayDeleter>;

struct Result {
  std::vector<Array> out;  // one per requested output; null where the module set none
  bool failed = false;
  std::string error;       // the message of mexErrMsgTxt or mexErrMsgIdAndTxt
  std::string id;          // the identifier of mexErrMsgIdAndTxt ("" from mexErrMsgTxt)
  std::string printed;     // everything mexPrintf printed
  bool swallowed = false;  // mexErrMsgTxt was called, yet the module returned
  const mxArray* operator[](size_t i) const { return out.at(i).get(); }
};

// Calls command `name` (module `name` in the module directory) with `nlhs`
// outputs. On error every array the call created is freed.
Result call(const std::string& name, int nlhs, const std::vector<const mxArray*>& inputs);
inline Result call(const std::string& name, int nlhs, std::initializer_list<const mxArray*> in) {
  return call(name, nlhs, std::vector<const mxArray*>(in));
}

// The file a command's module is loaded from.
std::string module_path(const std::string& name);

// Arrays still alive that the host created (for leak checks).
long live_arrays();

// Allocation-failure injection. The host counts the allocations a module
// makes through it: every mxCreate*, mxMalloc and mxCalloc, and, in a program
// linked with host/alloc_hook.cpp, every operator new the module's own code
// makes during host::call (std::vector and the like). fail_allocation_at(k)
// restarts the count and makes the k-th allocation from then on fail as the
// real host fails it: the mx* call raises "Out of memory." (it never returns
// NULL), operator new throws std::bad_alloc. k = 0 turns injection off.
void fail_allocation_at(long k);
// Allocations counted since the last fail_allocation_at.
long allocations();
// Whether the injected failure has happened since the last fail_allocation_at.
bool allocation_failed();
// Makes every counted allocation larger than `bytes` fail the same way, as a
// machine with that much memory would (0: no limit). The fuzzer uses it so
// that a grid dimension of a few thousand is an error, not a minute's work.
void limit_allocation(size_t bytes);
// Blocks still alive from mxMalloc/mxCalloc, and from operator new inside a
// module call (for leak checks).
long live_blocks();

// What host/alloc_hook.cpp's operator new asks the host: whether this
// allocation is the module's own (counted) and whether it must fail.
namespace hook {
enum Verdict { kUncounted = 0, kCounted = 1, kFail = 2 };
Verdict on_new(size_t bytes);
void on_delete_counted();
}  // namespace hook

// Simulated Ctrl-C. The host answers MATLAB's interrupt query
// (utIsInterruptPending, which the MEX adapter looks up at run time) during
// host::call: true from its k-th query in the call on (interrupt_at(k)), or
// from `ms` milliseconds after the call began (interrupt_after(ms)); false
// always after interrupt_at(0), the default. Each call restarts the count.
void interrupt_at(long k);
void interrupt_after(double ms);
// The queries of the last call, and whether one of them answered true.
long interrupt_queries();
bool interrupt_answered();

// Builders. Arrays come back zeroed.
Array scalar(double v);
Array real(size_t m, size_t n, const std::vector<double>& values = {});
Array complex(size_t m, size_t n);
Array numeric(mxClassID cls, size_t m, size_t n, mxComplexity c = mxREAL);
Array logical(size_t m, size_t n);
Array string(const char* s);
Array sparse(size_t m, size_t n, bool complex = false);
Array cell(size_t m, size_t n);
// A field of dimension n: every sample 1 + 0i, header size, lambda, n,
// curvature, aux_int.
Array field(int n, double size = 1e-3, double lambda = 1e-6, double curvature = 0, double aux = 0);

// Element k of a double array, real or complex, whichever layout the host
// keeps (interleaved, or separate planes in the separate-complex build).
using cplx = std::complex<double>;
cplx at(const mxArray* a, size_t k);
inline double re(const mxArray* a, size_t k) { return at(a, k).real(); }
inline double im(const mxArray* a, size_t k) { return at(a, k).imag(); }
// Sets element k; the imaginary part of a real array must stay 0.
void set(mxArray* a, size_t k, cplx v);
void set_re(mxArray* a, size_t k, double v);
void set_im(mxArray* a, size_t k, double v);
// The values of a real double array.
double* real_data(const mxArray* a);

}  // namespace host

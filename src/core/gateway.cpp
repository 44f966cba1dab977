#include "core/gateway.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

namespace kv {

const char* const kNotAField = "Input field is not a Korvane field.";
const char* const kNotScalar = "Input must be real scalar.";
const char* const kSpherical = "No spherical coordinates allowed. Use KVConvert first";
const char* const kOutOfMemory = "Out of memory.";
const char* const kTooLarge = "Grid dimension too large: the result would not fit in memory.";

namespace {

// Thrown by Call::fail and caught in run, which raises the message once it
// has left its try block.
struct Failure {
  const char* msg;
};

const char* const kCountWords[] = {"zero", "one", "two", "three", "four", "five", "six", "seven"};

// The five tests of a real scalar, in this order.
bool real_scalar(const mxArray* a) {
  return mxIsNumeric(a) && !mxIsComplex(a) && !mxIsSparse(a) && mxIsDouble(a) &&
         mxGetM(a) * mxGetN(a) == 1;
}

// An argument read without the real-scalar test still needs a value to read.
bool readable_number(const mxArray* a) { return mxIsNumeric(a) && !mxIsEmpty(a); }

// The complex flag marks a field. Octave hands a complex array whose
// imaginary parts are all zero over as a real one, so its build also takes a
// real, full, double array here.
bool complex_flag(const mxArray* a) {
#ifdef KV_OCTAVE
  if (!mxIsComplex(a) && mxIsDouble(a) && !mxIsSparse(a)) return true;
#endif
  return mxIsComplex(a);
}

// Shape and header test. Reading the planes as doubles needs a full double
// array; the header is read only once the array is known to hold it.
bool field_shape(const mxArray* a, int32_t* n) {
  if (!mxIsDouble(a) || mxIsSparse(a)) return false;
  const size_t m = mxGetM(a);
  const size_t q = mxGetN(a);
  if (m < 5 || m > static_cast<size_t>(INT32_MAX) || q != m + 1) return false;
  const double* re = mxGetPr(a);
  if (re == nullptr) return false;
  const int32_t h = truncate_int(re[m * m + kN]);
  if (static_cast<size_t>(h) != m || h < 5) return false;
  *n = h;
  return true;
}

// Element counts whose byte size overflows, or that no address space could
// hold, are refused before anything is allocated.
bool fits(int64_t rows, int64_t cols, int planes) {
  if (rows < 0 || cols < 0) return false;
  if (rows == 0 || cols == 0) return true;
  const int64_t limit = (INT64_C(1) << 56) / (8 * planes);  // 64 PiB
  return rows <= limit / cols;
}

}  // namespace

const FieldIn& Call::in(int arg) const { return fields_[arg]; }

void Call::fail(const char* msg) const { throw Failure{msg}; }

double* Call::scratch(int64_t count) {
  if (nscratch_ == kMaxScratch) fail(kOutOfMemory);
  if (count < 1) count = 1;
  if (!fits(count, 1, 1)) fail(kTooLarge);
  void* p = mxCalloc(static_cast<mwSize>(count), sizeof(double));
  if (p == nullptr) fail(kOutOfMemory);
  scratch_[nscratch_++] = p;
  return static_cast<double*>(p);
}

void Call::release_scratch() {
  for (int i = 0; i < nscratch_; ++i) mxFree(scratch_[i]);
  nscratch_ = 0;
}

FieldOut Call::out(int32_t n, const Header& h, int slot) {
  if (n < 5) fail("A field needs a grid dimension of at least 5.");  // room for the header
  if (!fits(n, static_cast<int64_t>(n) + 1, 2)) fail(kTooLarge);
  mxArray* a = mxCreateDoubleMatrix(static_cast<mwSize>(n), static_cast<mwSize>(n) + 1, mxCOMPLEX);
  if (a == nullptr) fail(kOutOfMemory);
  plhs_[slot] = a;
  FieldOut out{mxGetPr(a), mxGetPi(a), n};
  write_header(out, h);
  return out;
}

FieldOut Call::out() {
  const FieldIn& in = fields_[first_field_];
  return out(in.n, in.h, 0);
}

double* Call::out_real(int64_t rows, int64_t cols, int slot) {
  if (!fits(rows, cols, 1)) fail(kTooLarge);
  mxArray* a = mxCreateDoubleMatrix(static_cast<mwSize>(rows), static_cast<mwSize>(cols), mxREAL);
  if (a == nullptr) fail(kOutOfMemory);
  plhs_[slot] = a;
  return mxGetPr(a);
}

void run(const Command& cmd, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[],
         void (*body)(Call&)) {
  if (nrhs == 0) {
    mexPrintf("%s", cmd.banner);
    return;
  }
  char count_msg[64];
  if (nrhs != cmd.inputs) {
    mexPrintf("%s", cmd.banner);
    const char* msg = cmd.input_count_msg;
    if (msg == nullptr) {
      std::snprintf(count_msg, sizeof count_msg, "expects %s input argument%s",
                    kCountWords[cmd.inputs], cmd.inputs == 1 ? "" : "s");
      msg = count_msg;
    }
    mexErrMsgTxt(msg);
    return;
  }
  if (nlhs != cmd.outputs) {
    mexPrintf("%s", cmd.banner);
    mexErrMsgTxt(cmd.output_count_msg ? cmd.output_count_msg : "expects one output argument");
    return;
  }

  Call c(cmd, plhs, prhs);
  const char* msg = nullptr;
  char what[256];
  try {
    // Scalars first, in argument order; then the complex flag of each field.
    for (int i = 0; i < cmd.inputs; ++i) {
      if (cmd.args[i] == Scalar && !real_scalar(prhs[i])) c.fail(kNotScalar);
      if (cmd.args[i] == Loose && !readable_number(prhs[i])) c.fail(kNotScalar);
    }
    int nfield = 0;
    for (int i = 0; i < cmd.inputs; ++i) {
      if (cmd.args[i] != Field) continue;
      const char* field_msg = cmd.field_msgs[nfield] ? cmd.field_msgs[nfield] : kNotAField;
      if (!complex_flag(prhs[i])) c.fail(field_msg);
      if (c.first_field_ < 0) c.first_field_ = i;
      ++nfield;
    }
    for (int i = 0; i < cmd.inputs; ++i) {
      if (cmd.args[i] == Scalar || cmd.args[i] == Loose) c.values_[i] = mxGetScalar(prhs[i]);
    }
    if (cmd.early != nullptr) {
      if (const char* early = cmd.early(c)) c.fail(early);
    }
    nfield = 0;
    for (int i = 0; i < cmd.inputs; ++i) {
      if (cmd.args[i] != Field) continue;
      const char* field_msg = cmd.field_msgs[nfield] ? cmd.field_msgs[nfield] : kNotAField;
      ++nfield;
      int32_t n = 0;
      if (!field_shape(prhs[i], &n)) c.fail(field_msg);
      FieldIn& f = c.fields_[i];
      f.re = mxGetPr(prhs[i]);
      f.im = mxGetPi(prhs[i]);
      f.n = n;
      f.h = read_header(f.re, n);
      if (f.im == nullptr) f.im = c.scratch(samples(n));  // a real array: zero imaginary parts
    }
    body(c);
  } catch (const Failure& f) {
    msg = f.msg;
  } catch (const std::bad_alloc&) {
    msg = kOutOfMemory;
  } catch (const std::exception& e) {
    // A host error from inside one of its calls (Octave's allocation
    // failure); its text already names the command.
    const char* text = e.what();
    const size_t len = std::strlen(cmd.name);
    if (std::strncmp(text, cmd.name, len) == 0 && std::strncmp(text + len, ": ", 2) == 0) {
      text += len + 2;
    }
    std::snprintf(what, sizeof what, "%s", text);
    msg = what;
  } catch (...) {
    msg = kOutOfMemory;
  }
  c.release_scratch();
  if (msg != nullptr) mexErrMsgTxt(msg);
}

}  // namespace kv

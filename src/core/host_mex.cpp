// The MEX adapter: MATLAB's interleaved complex API (built with -R2018a, where
// mex.h defines MX_HAS_INTERLEAVED_COMPLEX) reads and writes fields in place;
// the separate-complex API (older MATLAB, Octave's MEX interface) gathers a
// complex input into interleaved scratch and scatters each complex result
// into its two planes once the body has succeeded.
#include <cstring>

#include "core/command.h"
#include "core/parallel.h"

#if defined(KV_OCTAVE)
#include <octave/quit.h>
#elif defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace kv {

namespace {

// Ctrl-C. Octave's MEX interface: Octave's own interrupt state, as the oct
// adapter reads it. MATLAB: its interrupt query utIsInterruptPending, which
// the documented API does not declare; it is looked up once, at run time, in
// the process (libut on Windows), and a MATLAB without it never interrupts a
// call.
#if defined(KV_OCTAVE)
bool host_interrupt_pending() { return octave_interrupt_state > 0; }
#else
using InterruptQuery = bool (*)();

InterruptQuery find_interrupt_query() {
#if defined(_WIN32)
  HMODULE ut = GetModuleHandleA("libut.dll");
  if (ut == nullptr) return nullptr;
  // Through void (*)(), the one function type any other converts to quietly.
  using Plain = void (*)();
  return reinterpret_cast<InterruptQuery>(
      reinterpret_cast<Plain>(GetProcAddress(ut, "utIsInterruptPending")));
#else
  return reinterpret_cast<InterruptQuery>(dlsym(RTLD_DEFAULT, "utIsInterruptPending"));
#endif
}

bool host_interrupt_pending() {
  static const InterruptQuery query = find_interrupt_query();
  return query != nullptr && query();
}
#endif

static_assert(sizeof(mwIndex) == sizeof(uint64_t), "sparse indices are read as 64-bit values");

Class class_of(const mxArray* a) {
  switch (mxGetClassID(a)) {
    case mxDOUBLE_CLASS:
      return Class::Double;
    case mxSINGLE_CLASS:
      return Class::Single;
    case mxLOGICAL_CLASS:
      return Class::Logical;
    case mxCHAR_CLASS:
      return Class::Char;
    case mxINT8_CLASS:
      return Class::Int8;
    case mxUINT8_CLASS:
      return Class::UInt8;
    case mxINT16_CLASS:
      return Class::Int16;
    case mxUINT16_CLASS:
      return Class::UInt16;
    case mxINT32_CLASS:
      return Class::Int32;
    case mxUINT32_CLASS:
      return Class::UInt32;
    case mxINT64_CLASS:
      return Class::Int64;
    case mxUINT64_CLASS:
      return Class::UInt64;
    default:
      return Class::Other;
  }
}

class MexHost final : public Host {
 public:
  MexHost(mxArray** plhs, const mxArray** prhs) : plhs_(plhs), prhs_(prhs) {}
#if !MX_HAS_INTERLEAVED_COMPLEX
  ~MexHost() {
    for (Pending& p : pending_) mxFree(p.z);
  }
#endif

  ArrayView arg(int i) const override {
    const mxArray* a = prhs_[i];
    ArrayView v;
    v.cls = class_of(a);
    v.complex = mxIsComplex(a);
    v.sparse = mxIsSparse(a);
    v.m = static_cast<int64_t>(mxGetM(a));
    v.n = static_cast<int64_t>(mxGetN(a));
    return v;
  }

  void read(int i, ArrayView* view) const override {
    const mxArray* a = prhs_[i];
    ArrayView& v = *view;
    if (v.cls == Class::Other || v.cls == Class::Char) return;
#if MX_HAS_INTERLEAVED_COMPLEX
    if (v.cls == Class::Double) {
      v.re = v.complex ? static_cast<const void*>(mxGetComplexDoubles(a))
                       : static_cast<const void*>(mxGetDoubles(a));
    } else {
      v.re = mxGetData(a);
    }
    v.stride = v.complex ? 2 : 1;
#else
    v.re = mxGetData(a);
    v.im = v.complex ? mxGetImagData(a) : nullptr;
#endif
    if (v.sparse) {
      v.ir = reinterpret_cast<const uint64_t*>(mxGetIr(a));
      v.jc = reinterpret_cast<const uint64_t*>(mxGetJc(a));
    }
  }

  double scalar(int i) const override { return mxGetScalar(prhs_[i]); }

  bool text(int i, char* buf, size_t size) const override {
    const mxArray* a = prhs_[i];
    if (!mxIsChar(a) || size == 0) return false;
    if (mxIsEmpty(a)) {
      buf[0] = '\0';
      return true;
    }
    return mxGetString(a, buf, static_cast<mwSize>(size)) == 0;
  }

  bool new_text(const char* text, int slot) override {
    mxArray* a = mxCreateString(text);
    if (a == nullptr) return false;
    plhs_[slot] = a;
    return true;
  }

  cplx* new_field(int32_t n, int slot) override {
    const mwSize m = static_cast<mwSize>(n);
    mxArray* a = mxCreateDoubleMatrix(m, m + 1, mxCOMPLEX);
    if (a == nullptr) return nullptr;
    plhs_[slot] = a;
#if MX_HAS_INTERLEAVED_COMPLEX
    return reinterpret_cast<cplx*>(mxGetComplexDoubles(a));
#else
    if (npending_ == kMaxResults) return nullptr;
    const size_t count = static_cast<size_t>(m) * (m + 1);
    void* z = mxCalloc(count, sizeof(cplx));
    if (z == nullptr) return nullptr;
    pending_[npending_++] = Pending{a, static_cast<cplx*>(z), count};
    return static_cast<cplx*>(z);
#endif
  }

  double* new_real(int64_t rows, int64_t cols, int slot) override {
    mxArray* a = mxCreateDoubleMatrix(static_cast<mwSize>(rows), static_cast<mwSize>(cols), mxREAL);
    if (a == nullptr) return nullptr;
    plhs_[slot] = a;
#if MX_HAS_INTERLEAVED_COMPLEX
    return mxGetDoubles(a);
#else
    return mxGetPr(a);
#endif
  }

  void* allocate(size_t bytes) override { return mxCalloc(bytes, 1); }
  void release(void* p) override { mxFree(p); }
  void print(const char* text) override { mexPrintf("%s", text); }
  bool interrupt_pending() override { return host_interrupt_pending(); }

  void finish() override {
#if !MX_HAS_INTERLEAVED_COMPLEX
    for (int k = 0; k < npending_; ++k) {
      Pending& p = pending_[k];
      double* re = mxGetPr(p.a);
      double* im = mxGetPi(p.a);
      const cplx* z = p.z;
      parallel_for(static_cast<int64_t>(p.count), kGrainMemory, [=](int64_t k0, int64_t k1) {
        for (int64_t k = k0; k < k1; ++k) {
          re[k] = z[k].real();
          im[k] = z[k].imag();
        }
      });
    }
#endif
  }

 private:
#if !MX_HAS_INTERLEAVED_COMPLEX
  // A complex result written into interleaved scratch, to be scattered into
  // the planes of `a`.
  struct Pending {
    mxArray* a = nullptr;
    cplx* z = nullptr;
    size_t count = 0;
  };
  Pending pending_[kMaxResults];
  int npending_ = 0;
#endif
  mxArray** plhs_;
  const mxArray** prhs_;
};

}  // namespace

void run_mex(const Command& cmd, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[],
             void (*body)(Call&)) {
  char buf[256];
  Error err;
  {
    MexHost host(plhs, prhs);
    err = run(cmd, host, nlhs, nrhs, body, buf);
  }
  // Raised here, outside every try block: the host's error unwinds (or
  // longjmps) straight out of the module. The message is the format of the
  // error call, so a '%' in it is doubled.
  char format[512];
#if defined(KV_OCTAVE)
  // Octave takes its pending interrupt as its own functions do.
  if (err && err.kind == Err::Interrupted) octave_quit();
#endif
  // In MATLAB an interrupted call raises Korvane:interrupted; the interrupt
  // stays pending for MATLAB to take as well.
  if (err) mexErrMsgIdAndTxt(err.id(), as_format(err.text, format));
}

}  // namespace kv

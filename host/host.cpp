#include "host.h"

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

struct mxArray_tag {
  mxClassID cls = mxDOUBLE_CLASS;
  size_t m = 0, n = 0;
  bool is_complex = false;
  bool is_sparse = false;
  void* re = nullptr;
  void* im = nullptr;
  mwIndex* ir = nullptr;
  mwIndex* jc = nullptr;
  size_t nzmax = 0;
  std::vector<mxArray*> cells;
};

namespace host {
namespace {

long g_live = 0;

// Allocation counting and failure injection (see fail_allocation_at).
long g_fail_at = 0;     // the allocation to fail, 1-based; 0: none
long g_count = 0;       // allocations counted since fail_allocation_at
bool g_failed = false;  // the injected failure has happened
size_t g_limit = 0;     // counted allocations beyond this many bytes fail; 0: none
long g_blocks = 0;      // live mxMalloc/mxCalloc blocks
// Live operator new blocks made inside module calls. A module that starts
// threads has the C++ library free a thread's state in that thread, so the
// count is changed from several threads.
std::atomic<long> g_new_blocks{0};
int g_host_depth = 0;  // inside a host function: its own allocations are not the module's

// Marks a stretch of host code, whose own bookkeeping (std::set, std::string,
// new mxArray_tag) is not counted as the module's.
struct HostScope {
  HostScope() { ++g_host_depth; }
  ~HostScope() { --g_host_depth; }
  HostScope(const HostScope&) = delete;
  HostScope& operator=(const HostScope&) = delete;
};

// Simulated Ctrl-C (interrupt_at, interrupt_after).
long g_interrupt_at = 0;          // the query that first answers true; 0: none by count
double g_interrupt_after = -1.0;  // ms into the call; < 0: none by time
std::atomic<long> g_queries{0};
std::atomic<bool> g_answered{false};
std::chrono::steady_clock::time_point g_call_start;

// What the current call has created, so an error can free it all.
struct Context {
  std::set<mxArray*> arrays;
  std::set<void*> memory;
  std::string printed;
  std::string raised;
};
Context* g_ctx = nullptr;

size_t element_size(mxClassID c) {
  switch (c) {
    case mxDOUBLE_CLASS:
    case mxINT64_CLASS:
    case mxUINT64_CLASS:
      return 8;
    case mxSINGLE_CLASS:
    case mxINT32_CLASS:
    case mxUINT32_CLASS:
      return 4;
    case mxINT16_CLASS:
    case mxUINT16_CLASS:
    case mxCHAR_CLASS:
      return 2;
    case mxINT8_CLASS:
    case mxUINT8_CLASS:
    case mxLOGICAL_CLASS:
      return 1;
    default:
      return sizeof(void*);
  }
}

// m*n, or SIZE_MAX when that does not fit.
size_t product(size_t m, size_t n) { return n != 0 && m > SIZE_MAX / n ? SIZE_MAX : m * n; }

[[noreturn]] void raise(const char* msg, const char* id = "") {
  HostScope scope;
  if (g_ctx != nullptr) g_ctx->raised = msg;
  throw MexError(msg, id);
}

// One allocation a module asks of the host: counted during a call, and the
// chosen one fails as MATLAB fails it, with an error rather than NULL.
void count_allocation(size_t count, size_t size) {
  if (g_ctx == nullptr) return;
  ++g_count;
  const bool too_large = g_limit != 0 && size != 0 && count > g_limit / size;
  if (g_count == g_fail_at || too_large) {
    g_failed = true;
    raise("Out of memory.");
  }
}

void* zeroed(size_t count, size_t size) {
  if (count != 0 && size > SIZE_MAX / count) raise("Maximum variable size allowed is exceeded.");
  if (count == 0) count = 1;
  void* p = std::calloc(count, size);
  if (p == nullptr) raise("Out of memory.");
  return p;
}

mxArray* make(mxClassID cls, size_t m, size_t n, bool is_complex) {
  if (n != 0 && m > SIZE_MAX / n) raise("Maximum variable size allowed is exceeded.");
  auto* a = new mxArray_tag;
  a->cls = cls;
  a->m = m;
  a->n = n;
  a->is_complex = is_complex;
  try {
#if MX_HAS_INTERLEAVED_COMPLEX
    if (is_complex && m * n > SIZE_MAX / 2) raise("Maximum variable size allowed is exceeded.");
    a->re = zeroed(is_complex ? 2 * m * n : m * n, element_size(cls));
#else
    a->re = zeroed(m * n, element_size(cls));
    if (is_complex) a->im = zeroed(m * n, element_size(cls));
#endif
  } catch (...) {
    std::free(a->re);
    delete a;
    throw;
  }
  ++g_live;
  if (g_ctx != nullptr) g_ctx->arrays.insert(a);
  return a;
}

template <class T>
double first(const void* p) {
  return static_cast<double>(*static_cast<const T*>(p));
}

typedef void (*MexFunction)(int, mxArray*[], int, const mxArray*[]);

MexFunction load(const std::string& name) {
  static std::map<std::string, MexFunction> loaded;
  auto it = loaded.find(name);
  if (it != loaded.end()) return it->second;
  void* lib = dlopen(module_path(name).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (lib == nullptr) throw std::runtime_error(std::string("cannot load module: ") + dlerror());
  auto fn = reinterpret_cast<MexFunction>(dlsym(lib, "mexFunction"));
  if (fn == nullptr) throw std::runtime_error("module exports no mexFunction: " + name);
  loaded[name] = fn;
  return fn;
}

}  // namespace

std::string module_path(const std::string& name) {
  return std::string(KV_MODULE_DIR) + "/" + name + ".mexa64";
}

long live_arrays() { return g_live; }

void fail_allocation_at(long k) {
  g_fail_at = k < 0 ? 0 : k;
  g_count = 0;
  g_failed = false;
}

long allocations() { return g_count; }
void limit_allocation(size_t bytes) { g_limit = bytes; }
bool allocation_failed() { return g_failed; }
long live_blocks() { return g_blocks + g_new_blocks; }

void interrupt_at(long k) {
  g_interrupt_at = k < 0 ? 0 : k;
  g_interrupt_after = -1.0;
}

void interrupt_after(double ms) {
  g_interrupt_at = 0;
  g_interrupt_after = ms;
}

long interrupt_queries() { return g_queries; }
bool interrupt_answered() { return g_answered; }

namespace hook {

Verdict on_new(size_t bytes) {
  if (g_ctx == nullptr || g_host_depth > 0) return kUncounted;
  ++g_count;
  if (g_count == g_fail_at || (g_limit != 0 && bytes > g_limit)) {
    g_failed = true;
    return kFail;
  }
  ++g_new_blocks;
  return kCounted;
}

void on_delete_counted() { --g_new_blocks; }

}  // namespace hook

Result call(const std::string& name, int nlhs, const std::vector<const mxArray*>& inputs) {
  MexFunction fn = load(name);
  Result r;
  Context ctx;
  std::vector<mxArray*> plhs(static_cast<size_t>(nlhs > 0 ? nlhs : 1), nullptr);
  // Only the module's own allocations are counted: from here on until the
  // call ends, not the host's bookkeeping (the error text copied below).
  std::string error;
  std::string id;
  bool failed = false;
  g_queries = 0;
  g_answered = false;
  g_call_start = std::chrono::steady_clock::now();
  g_ctx = &ctx;
  try {
    fn(nlhs, plhs.data(), static_cast<int>(inputs.size()),
       const_cast<const mxArray**>(inputs.data()));
  } catch (const MexError& e) {
    g_ctx = nullptr;
    failed = true;
    error = e.what();
    id = e.id;
  }
  g_ctx = nullptr;
  r.failed = failed;
  r.error = error;
  r.id = id;
  if (!r.failed && !ctx.raised.empty()) {
    r.failed = true;
    r.swallowed = true;
    r.error = ctx.raised;
  }
  r.printed = ctx.printed;
  if (!r.failed) {
    for (int i = 0; i < nlhs; ++i) {
      ctx.arrays.erase(plhs[static_cast<size_t>(i)]);
      r.out.emplace_back(plhs[static_cast<size_t>(i)]);
    }
  }
  // Whatever the call created and did not hand back is freed, as the host's
  // allocator does at the end of every call.
  for (mxArray* a : ctx.arrays) mxDestroyArray(a);
  for (void* p : ctx.memory) std::free(p);
  g_blocks -= static_cast<long>(ctx.memory.size());
  return r;
}

Array scalar(double v) {
  Array a(mxCreateDoubleMatrix(1, 1, mxREAL));
  real_data(a.get())[0] = v;
  return a;
}

Array real(size_t m, size_t n, const std::vector<double>& values) {
  Array a(mxCreateDoubleMatrix(m, n, mxREAL));
  for (size_t k = 0; k < values.size() && k < m * n; ++k) real_data(a.get())[k] = values[k];
  return a;
}

Array complex(size_t m, size_t n) { return Array(mxCreateDoubleMatrix(m, n, mxCOMPLEX)); }

Array numeric(mxClassID cls, size_t m, size_t n, mxComplexity c) {
  return Array(mxCreateNumericMatrix(m, n, cls, c));
}

Array logical(size_t m, size_t n) { return Array(mxCreateLogicalMatrix(m, n)); }
Array string(const char* s) { return Array(mxCreateString(s)); }
Array sparse(size_t m, size_t n, bool c) {
  return Array(mxCreateSparse(m, n, 1, c ? mxCOMPLEX : mxREAL));
}
Array cell(size_t m, size_t n) { return Array(mxCreateCellMatrix(m, n)); }

Array field(int n, double size, double lambda, double curvature, double aux) {
  const size_t un = static_cast<size_t>(n);
  Array a(mxCreateDoubleMatrix(un, un + 1, mxCOMPLEX));
  for (size_t k = 0; k < un * un; ++k) set_re(a.get(), k, 1.0);
  const double head[5] = {size, lambda, static_cast<double>(n), curvature, aux};
  for (size_t s = 0; s < 5; ++s) set_re(a.get(), un * un + s, head[s]);
  return a;
}

cplx at(const mxArray* a, size_t k) {
  const double* re = static_cast<const double*>(a->re);
  if (!a->is_complex) return cplx(re[k], 0.0);
#if MX_HAS_INTERLEAVED_COMPLEX
  return cplx(re[2 * k], re[2 * k + 1]);
#else
  return cplx(re[k], static_cast<const double*>(a->im)[k]);
#endif
}

void set(mxArray* a, size_t k, cplx v) {
  set_re(a, k, v.real());
  if (a->is_complex) {
    set_im(a, k, v.imag());
  } else if (v.imag() != 0.0) {
    throw std::logic_error("an imaginary part set on a real array");
  }
}

void set_re(mxArray* a, size_t k, double v) {
  double* re = static_cast<double*>(a->re);
#if MX_HAS_INTERLEAVED_COMPLEX
  if (a->is_complex) k *= 2;
#endif
  re[k] = v;
}

void set_im(mxArray* a, size_t k, double v) {
  if (!a->is_complex) throw std::logic_error("an imaginary part set on a real array");
#if MX_HAS_INTERLEAVED_COMPLEX
  static_cast<double*>(a->re)[2 * k + 1] = v;
#else
  static_cast<double*>(a->im)[k] = v;
#endif
}

double* real_data(const mxArray* a) {
  if (a->is_complex || a->cls != mxDOUBLE_CLASS) throw std::logic_error("not a real double array");
  return static_cast<double*>(a->re);
}

}  // namespace host

using host::HostScope;
using host::make;

extern "C" {

mxArray* mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity flag) {
  HostScope scope;
  host::count_allocation(host::product(m, n), flag == mxCOMPLEX ? 16 : 8);
  return make(mxDOUBLE_CLASS, m, n, flag == mxCOMPLEX);
}

mxArray* mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity flag) {
  HostScope scope;
  host::count_allocation(host::product(m, n),
                         host::element_size(cls) * (flag == mxCOMPLEX ? 2 : 1));
  return make(cls, m, n, flag == mxCOMPLEX);
}

mxArray* mxCreateLogicalMatrix(mwSize m, mwSize n) {
  HostScope scope;
  host::count_allocation(host::product(m, n), 1);
  return make(mxLOGICAL_CLASS, m, n, false);
}

mxArray* mxCreateString(const char* s) {
  HostScope scope;
  host::count_allocation(std::strlen(s), 2);
  const size_t len = std::strlen(s);
  mxArray* a = make(mxCHAR_CLASS, len ? 1 : 0, len, false);
  for (size_t i = 0; i < len; ++i) static_cast<uint16_t*>(a->re)[i] = static_cast<uint8_t>(s[i]);
  return a;
}

int mxGetString(const mxArray* a, char* buf, mwSize buflen) {
  HostScope scope;
  if (a->cls != mxCHAR_CLASS || buflen == 0) return 1;
  const size_t len = a->m * a->n;
  const uint16_t* units = static_cast<const uint16_t*>(a->re);
  size_t k = 0;
  for (; k < len && k + 1 < buflen; ++k)
    buf[k] = units[k] < 0x100 ? static_cast<char>(units[k]) : '?';
  buf[k] = '\0';
  return k < len ? 1 : 0;
}

mxArray* mxCreateSparse(mwSize m, mwSize n, mwSize nzmax, mxComplexity flag) {
  HostScope scope;
  host::count_allocation(nzmax > n ? nzmax : n, 32);
  if (nzmax == 0) nzmax = 1;
  mxArray* a = make(mxDOUBLE_CLASS, 0, 0, false);
  std::free(a->re);
  a->m = m;
  a->n = n;
  a->is_sparse = true;
  a->is_complex = flag == mxCOMPLEX;
  a->nzmax = nzmax;
#if MX_HAS_INTERLEAVED_COMPLEX
  a->re = host::zeroed(a->is_complex ? 2 * nzmax : nzmax, sizeof(double));
#else
  a->re = host::zeroed(nzmax, sizeof(double));
  if (a->is_complex) a->im = host::zeroed(nzmax, sizeof(double));
#endif
  a->ir = static_cast<mwIndex*>(host::zeroed(nzmax, sizeof(mwIndex)));
  a->jc = static_cast<mwIndex*>(host::zeroed(n + 1, sizeof(mwIndex)));
  return a;
}

mxArray* mxCreateCellMatrix(mwSize m, mwSize n) {
  HostScope scope;
  host::count_allocation(host::product(m, n), sizeof(void*));
  mxArray* a = make(mxCELL_CLASS, 0, 0, false);
  a->m = m;
  a->n = n;
  a->cells.assign(m * n, nullptr);
  return a;
}

void mxDestroyArray(mxArray* a) {
  if (a == nullptr) return;
  if (host::g_ctx != nullptr) host::g_ctx->arrays.erase(a);
  for (mxArray* c : a->cells) mxDestroyArray(c);
  std::free(a->re);
  std::free(a->im);
  std::free(a->ir);
  std::free(a->jc);
  delete a;
  --host::g_live;
}

#if MX_HAS_INTERLEAVED_COMPLEX
mxDouble* mxGetDoubles(const mxArray* a) {
  return a->cls == mxDOUBLE_CLASS && !a->is_complex ? static_cast<double*>(a->re) : nullptr;
}
mxComplexDouble* mxGetComplexDoubles(const mxArray* a) {
  return a->cls == mxDOUBLE_CLASS && a->is_complex ? static_cast<mxComplexDouble*>(a->re) : nullptr;
}
double* mxGetPr(const mxArray* a) {
  if (a->is_complex) host::raise("mxGetPr cannot be called on a complex array.");
  return static_cast<double*>(a->re);
}
#else
double* mxGetPr(const mxArray* a) { return static_cast<double*>(a->re); }
double* mxGetPi(const mxArray* a) { return static_cast<double*>(a->im); }
void* mxGetImagData(const mxArray* a) { return a->im; }
#endif
void* mxGetData(const mxArray* a) { return a->re; }
mwIndex* mxGetIr(const mxArray* a) { return a->ir; }
mwIndex* mxGetJc(const mxArray* a) { return a->jc; }
size_t mxGetM(const mxArray* a) { return a->m; }
size_t mxGetN(const mxArray* a) { return a->n; }
size_t mxGetNumberOfElements(const mxArray* a) { return a->m * a->n; }
mxClassID mxGetClassID(const mxArray* a) { return a->cls; }

double mxGetScalar(const mxArray* a) {
  if (a->is_sparse) return a->jc[a->n] > 0 ? static_cast<double*>(a->re)[0] : 0.0;
  if (a->m * a->n == 0 || a->re == nullptr) return 0.0;
  switch (a->cls) {
    case mxDOUBLE_CLASS:
      return host::first<double>(a->re);
    case mxSINGLE_CLASS:
      return host::first<float>(a->re);
    case mxINT8_CLASS:
      return host::first<int8_t>(a->re);
    case mxUINT8_CLASS:
    case mxLOGICAL_CLASS:
      return host::first<uint8_t>(a->re);
    case mxINT16_CLASS:
      return host::first<int16_t>(a->re);
    case mxUINT16_CLASS:
    case mxCHAR_CLASS:
      return host::first<uint16_t>(a->re);
    case mxINT32_CLASS:
      return host::first<int32_t>(a->re);
    case mxUINT32_CLASS:
      return host::first<uint32_t>(a->re);
    case mxINT64_CLASS:
      return host::first<int64_t>(a->re);
    case mxUINT64_CLASS:
      return host::first<uint64_t>(a->re);
    default:
      return 0.0;
  }
}

bool mxIsNumeric(const mxArray* a) { return a->cls >= mxDOUBLE_CLASS && a->cls <= mxUINT64_CLASS; }
bool mxIsComplex(const mxArray* a) { return a->is_complex; }
bool mxIsSparse(const mxArray* a) { return a->is_sparse; }
bool mxIsDouble(const mxArray* a) { return a->cls == mxDOUBLE_CLASS; }
bool mxIsSingle(const mxArray* a) { return a->cls == mxSINGLE_CLASS; }
bool mxIsLogical(const mxArray* a) { return a->cls == mxLOGICAL_CLASS; }
bool mxIsChar(const mxArray* a) { return a->cls == mxCHAR_CLASS; }
bool mxIsCell(const mxArray* a) { return a->cls == mxCELL_CLASS; }
bool mxIsEmpty(const mxArray* a) { return a->m * a->n == 0; }

void* mxMalloc(mwSize n) { return mxCalloc(n, 1); }

void* mxCalloc(mwSize n, mwSize size) {
  HostScope scope;
  host::count_allocation(n, size);
  void* p = host::zeroed(n, size);
  if (host::g_ctx != nullptr) {
    try {
      host::g_ctx->memory.insert(p);
    } catch (...) {
      std::free(p);
      host::raise("Out of memory.");
    }
  }
  ++host::g_blocks;
  return p;
}

void mxFree(void* p) {
  if (p == nullptr) return;
  if (host::g_ctx != nullptr) host::g_ctx->memory.erase(p);
  std::free(p);
  --host::g_blocks;
}

int mexPrintf(const char* fmt, ...) {
  HostScope scope;
  char buf[4096];
  va_list ap;
  va_start(ap, fmt);
  const int len = std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (host::g_ctx != nullptr) host::g_ctx->printed += buf;
  return len;
}

bool utIsInterruptPending() {
  if (host::g_ctx == nullptr) return false;
  const long k = ++host::g_queries;
  bool pending = host::g_interrupt_at > 0 && k >= host::g_interrupt_at;
  if (host::g_interrupt_after >= 0.0) {
    const std::chrono::duration<double, std::milli> t =
        std::chrono::steady_clock::now() - host::g_call_start;
    pending = pending || t.count() >= host::g_interrupt_after;
  }
  if (pending) host::g_answered = true;
  return pending;
}

void mexErrMsgTxt(const char* msg) { host::raise(msg); }

void mexErrMsgIdAndTxt(const char* id, const char* fmt, ...) {
  char buf[4096];
  {
    HostScope scope;
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
  }
  // MATLAB refuses an identifier that is not component:mnemonic.
  const char* colon = id != nullptr ? std::strchr(id, ':') : nullptr;
  if (colon == nullptr || colon == id || colon[1] == '\0')
    host::raise("mexErrMsgIdAndTxt: bad identifier");
  host::raise(buf, id);
}

}  // extern "C"

// libFuzzer harness over the test host: the input picks a command, the
// number of inputs and outputs, each argument's class, shape and values, and
// maybe an allocation to fail; the call must then either give well-formed
// results of the right class and shape, or fail with a message, and in both
// cases leave its inputs as they were and free everything it made.
//
// Input layout (bytes past the end read as zero):
//   command  flags  [nlhs] [nargs]  argument...
// flags: bit 0, an explicit output count (byte % 8) follows; bit 1, an explicit input
// count follows; bits 2-4, the allocation to fail (0: none).
// An argument starts with its kind (byte % 6): 0 scalar double, 1 field,
// 2 full array, 3 sparse array, 4 cell, 5 string. A double is one byte: below
// 0x80 an entry of kInteresting, otherwise the 8 bytes that follow, raw. A
// string is up to 15 lower-case letters, so a file name the fuzzer gives
// KVFftw ('save', 'load') names a file in the current folder, which the
// harness makes a fresh temporary folder before it starts.
#include <dirent.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host.h"

namespace {

enum Out : unsigned char {
  kField,       // a field of the input's (or a new) dimension
  kPlane,       // a real square array
  kScalar,      // a real 1 x 1
  kFieldPower,  // a field, then a real 1 x 1
  kColumns,     // one or two real columns of the same length
  kSetting,     // none, a character row or a real 1 x 1 (KVFftw)
  kFieldSide,   // a field, and optionally a real array with its N rows
  kFieldIndex,  // a field, and optionally a real 1 x 1
  kFields,      // fields of one dimension
  kPlanes,      // real square arrays of one size
  kScalars      // real 1 x 1 values
};

struct Cmd {
  const char* name;
  int inputs;
  Out out;
  int max_inputs = 0;  // above `inputs` when some may be left out
  int outputs = 1;
  int max_outputs = 0;  // above `outputs` when the last ones may be left out
};

const Cmd kCommands[] = {
    {"KVBegin", 3, kField},
    {"KVForward", 4, kField},
    {"KVInterpol", 7, kField},
    {"KVConvert", 1, kField},
    {"KVCircAperture", 4, kField},
    {"KVCircScreen", 4, kField},
    {"KVRectAperture", 6, kField},
    {"KVRectScreen", 6, kField},
    {"KVGaussAperture", 5, kField},
    {"KVGaussScreen", 5, kField},
    {"KVSuperGaussAperture", 6, kField},
    {"KVSuperGaussScreen", 6, kField},
    {"KVLens", 4, kField},
    {"KVTilt", 3, kField},
    {"KVAxicon", 5, kField},
    {"KVZernike", 5, kField},
    {"KVRandomPhase", 3, kField},
    {"KVSubIntensity", 2, kField},
    {"KVSubPhase", 2, kField},
    {"KVMultIntensity", 2, kField},
    {"KVMultPhase", 2, kField},
    {"KVRandomIntensity", 2, kField},
    {"KVGaussHermite", 5, kField},
    {"KVIntensity", 2, kPlane},
    {"KVPhase", 1, kPlane},
    {"KVPhaseUnwrap", 2, kPlane},
    {"KVStrehl", 1, kScalar},
    {"KVNormal", 1, kFieldPower, 0, 2},
    {"KVBeamMix", 2, kField},
    {"KVPolarizer", 3, kField},
    {"KVGain", 4, kField},
    {"KVIntAttenuator", 2, kField},
    {"KVFresnelFFT", 2, kField},
    {"KVAngularSpectrum", 2, kField},
    {"KVPad", 2, kField},
    {"KVTurbScreen", 5, kPlane},
    {"KVStructureFunction", 2, kColumns, 3, 1, 2},
    {"KVFftw", 1, kSetting, 2, 0, 1},
    {"KVMedium", 4, kFieldSide, 5, 1, 2},
    {"KVMode", 3, kFieldIndex, 0, 1, 2},
    {"KVFraunhofer", 4, kField, 6},
    {"KVFocus", 3, kField},
    {"KVJones", 3, kFields, 0, 2},
    {"KVWavePlate", 4, kFields, 0, 2},
    {"KVLinearPolarizer", 3, kFields, 0, 2},
    {"KVRotator", 3, kFields, 0, 2},
    {"KVStokes", 2, kPlanes, 0, 1, 4},
    {"KVBeamWidth", 1, kScalars, 2, 1, 5},  // (Fin) or (I, Fin)
    {"KVBeamQuality", 1, kScalars, 0, 1, 6},
};
constexpr int kNumCommands = sizeof kCommands / sizeof kCommands[0];

// Keep the list in step with tests/fuzz/make_corpus.py and kv.dict.
const double kInteresting[] = {
    0.0,
    -0.0,
    1.0,
    -1.0,
    0.5,
    2.0,
    5.0,
    8.0,
    16.0,
    NAN,
    INFINITY,
    -INFINITY,
    2147483647.0,
    2147483648.0,
    -2147483648.0,
    4294967296.0,
    9007199254740992.0,
    1e308,
    -1e308,
    4.9406564584124654e-324,
    2.2250738585072014e-308,
    1e-3,
    1e-6,
    0.1,
    3.141592653589793,
    1e-300,
    64.0,
    127.0,
    128.0,
    4096.0,
    65536.0,
    3.0,
    4.0,
    7.0,
    1e6,
    12.0,
    -8.0,
    0.01,
    1.5,
    6.0,
};
constexpr int kNumInteresting = sizeof kInteresting / sizeof kInteresting[0];

class Reader {
 public:
  Reader(const uint8_t* d, size_t n) : d_(d), n_(n) {}
  uint8_t byte() { return pos_ < n_ ? d_[pos_++] : 0; }
  double number() {
    const uint8_t sel = byte();
    if (sel < 0x80) return kInteresting[sel % kNumInteresting];
    uint8_t raw[8];
    for (uint8_t& b : raw) b = byte();
    double v;
    std::memcpy(&v, raw, sizeof v);
    return v;
  }

 private:
  const uint8_t* d_;
  size_t n_;
  size_t pos_ = 0;
};

const mxClassID kClasses[] = {mxDOUBLE_CLASS, mxSINGLE_CLASS, mxLOGICAL_CLASS, mxCHAR_CLASS,
                              mxINT8_CLASS,   mxUINT8_CLASS,  mxINT16_CLASS,   mxUINT16_CLASS,
                              mxINT32_CLASS,  mxUINT32_CLASS, mxINT64_CLASS,   mxUINT64_CLASS};

// v converted to the class, as a MATLAB assignment would (saturating, NaN to 0).
template <class T>
void put_int(void* data, size_t k, double v, double lo, double hi) {
  double c = std::isnan(v) ? 0.0 : v < lo ? lo : v > hi ? hi : std::trunc(v);
  static_cast<T*>(data)[k] = static_cast<T>(c);
}

void put(mxArray* a, size_t k, double re, double im) {
  void* data = mxGetData(a);
  const bool cx = mxIsComplex(a);
  switch (mxGetClassID(a)) {
    case mxDOUBLE_CLASS:
      host::set(a, k, host::cplx(re, cx ? im : 0.0));
      return;
    case mxSINGLE_CLASS: {
      float* f = static_cast<float*>(data);
      // Interleaved in the interleaved build, planes otherwise.
#if MX_HAS_INTERLEAVED_COMPLEX
      if (cx) {
        f[2 * k] = static_cast<float>(re);
        f[2 * k + 1] = static_cast<float>(im);
      } else {
        f[k] = static_cast<float>(re);
      }
#else
      f[k] = static_cast<float>(re);
#endif
      return;
    }
    default:
      break;
  }
#if MX_HAS_INTERLEAVED_COMPLEX
  if (cx) k *= 2;  // real parts only; the imaginary ones stay zero
#endif
  switch (mxGetClassID(a)) {
    case mxLOGICAL_CLASS:
      static_cast<uint8_t*>(data)[k] = re != 0.0;
      return;
    case mxCHAR_CLASS:
      put_int<uint16_t>(data, k, re, 0, 65535);
      return;
    case mxINT8_CLASS:
      put_int<int8_t>(data, k, re, -128, 127);
      return;
    case mxUINT8_CLASS:
      put_int<uint8_t>(data, k, re, 0, 255);
      return;
    case mxINT16_CLASS:
      put_int<int16_t>(data, k, re, -32768, 32767);
      return;
    case mxUINT16_CLASS:
      put_int<uint16_t>(data, k, re, 0, 65535);
      return;
    case mxINT32_CLASS:
      put_int<int32_t>(data, k, re, -2147483648.0, 2147483647.0);
      return;
    case mxUINT32_CLASS:
      put_int<uint32_t>(data, k, re, 0, 4294967295.0);
      return;
    case mxINT64_CLASS:
      put_int<int64_t>(data, k, re, -9223372036854775808.0, 9223372036854774784.0);
      return;
    case mxUINT64_CLASS:
      put_int<uint64_t>(data, k, re, 0, 18446744073709549568.0);
      return;
    default:
      return;
  }
}

// Up to 16 values read once, then repeated over the array.
std::vector<double> pattern(Reader& r) {
  const int count = 1 + r.byte() % 16;
  std::vector<double> v;
  for (int i = 0; i < count; ++i) v.push_back(r.number());
  return v;
}

host::Array make_field(Reader& r) {
  const uint8_t dim = r.byte();
  const uint8_t flags = r.byte();
  const size_t n = 5 + dim % 20;
  const bool narrowed = (flags & 1) != 0;  // a real array shaped as a field
  host::Array a(mxCreateDoubleMatrix(n, n + 1, narrowed ? mxREAL : mxCOMPLEX));
  double head[5];
  for (double& h : head) h = r.number();
  if ((flags & 2) == 0) head[2] = static_cast<double>(n);  // mostly the true N
  if ((flags & 4) == 0) {
    for (size_t k = 0; k < n * n; ++k) host::set_re(a.get(), k, 1.0);
  } else {
    const std::vector<double> re = pattern(r);
    const std::vector<double> im = pattern(r);
    for (size_t k = 0; k < n * n; ++k)
      put(a.get(), k, re[k % re.size()], narrowed ? 0.0 : im[k % im.size()]);
  }
  for (size_t s = 0; s < 5; ++s) host::set_re(a.get(), n * n + s, head[s]);
  // Something in the padding after the header.
  if ((flags & 8) != 0 && n > 5) host::set_re(a.get(), n * n + 5, r.number());
  return a;
}

host::Array make_array(Reader& r) {
  const uint8_t cls = r.byte();
  const uint8_t m = r.byte() % 26;
  const uint8_t n = r.byte() % 27;
  const mxClassID id = kClasses[(cls & 0x7f) % 12];
  const bool cx = (cls & 0x80) != 0 && id != mxLOGICAL_CLASS && id != mxCHAR_CLASS;
  host::Array a(mxCreateNumericMatrix(m, n, id, cx ? mxCOMPLEX : mxREAL));
  const std::vector<double> re = pattern(r);
  const std::vector<double> im = pattern(r);
  for (size_t k = 0; k < static_cast<size_t>(m) * n; ++k)
    put(a.get(), k, re[k % re.size()], im[k % im.size()]);
  return a;
}

// A well-formed sparse array with at most one stored value.
host::Array make_sparse(Reader& r) {
  const uint8_t flags = r.byte();
  const size_t m = r.byte() % 26, n = r.byte() % 27;
  const bool cx = (flags & 1) != 0;
  host::Array a(mxCreateSparse(m, n, 1, cx ? mxCOMPLEX : mxREAL));
  const size_t i = r.byte(), j = r.byte();
  const double v = r.number();
  if ((flags & 2) != 0 && m > 0 && n > 0) {
    const size_t row = i % m, col = j % n;
    mxGetIr(a.get())[0] = row;
    for (size_t c = col + 1; c <= n; ++c) mxGetJc(a.get())[c] = 1;
    static_cast<double*>(mxGetData(a.get()))[0] = v;
  }
  return a;
}

host::Array make_argument(Reader& r) {
  switch (r.byte() % 6) {
    case 0: {
      host::Array a(mxCreateDoubleMatrix(1, 1, mxREAL));
      host::set_re(a.get(), 0, r.number());
      return a;
    }
    case 1:
      return make_field(r);
    case 2:
      return make_array(r);
    case 3:
      return make_sparse(r);
    case 4:
      return host::Array(mxCreateCellMatrix(r.byte() % 4, r.byte() % 4));
    default: {
      char s[16] = {};
      const int len = r.byte() % 16;
      for (int i = 0; i < len; ++i) s[i] = static_cast<char>('a' + r.byte() % 26);
      return host::Array(mxCreateString(s));
    }
  }
}

// Every byte of an argument, for the check that the call left it alone.
std::string snapshot(const mxArray* a) {
  std::string s;
  const size_t count = mxGetNumberOfElements(a);
  if (mxIsCell(a)) return std::to_string(count);
  const void* data = mxGetData(a);
  size_t bytes = 0;
  switch (mxGetClassID(a)) {
    case mxDOUBLE_CLASS:
    case mxINT64_CLASS:
    case mxUINT64_CLASS:
      bytes = 8;
      break;
    case mxSINGLE_CLASS:
    case mxINT32_CLASS:
    case mxUINT32_CLASS:
      bytes = 4;
      break;
    case mxINT16_CLASS:
    case mxUINT16_CLASS:
    case mxCHAR_CLASS:
      bytes = 2;
      break;
    default:
      bytes = 1;
      break;
  }
  if (mxIsSparse(a)) {
    s.append(reinterpret_cast<const char*>(mxGetIr(a)), sizeof(mwIndex));
    s.append(reinterpret_cast<const char*>(mxGetJc(a)), (mxGetN(a) + 1) * sizeof(mwIndex));
    s.append(static_cast<const char*>(data), 8);
    return s;
  }
  if (mxIsDouble(a)) {
    for (size_t k = 0; k < count; ++k) {
      const host::cplx v = host::at(a, k);
      s.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    return s;
  }
  s.append(static_cast<const char*>(data), count * bytes * (mxIsComplex(a) ? 2 : 1));
  return s;
}

[[noreturn]] void finding(const char* cmd, const char* what) {
  std::fprintf(stderr, "FINDING in %s: %s\n", cmd, what);
  std::abort();
}

void check_field(const char* cmd, const mxArray* a) {
  if (a == nullptr) finding(cmd, "no field returned");
  if (!mxIsDouble(a) || !mxIsComplex(a) || mxIsSparse(a))
    finding(cmd, "result is not complex double");
  const size_t m = mxGetM(a);
  if (m < 5 || mxGetN(a) != m + 1) finding(cmd, "result field has the wrong shape");
  if (host::re(a, m * m + 2) != static_cast<double>(m)) finding(cmd, "result header N is wrong");
}

void check_column(const char* cmd, const mxArray* a, size_t rows) {
  if (a == nullptr) finding(cmd, "no array returned");
  if (!mxIsDouble(a) || mxIsComplex(a) || mxIsSparse(a)) finding(cmd, "result is not real double");
  if (mxGetN(a) != 1 || (rows != 0 && mxGetM(a) != rows))
    finding(cmd, "result has the wrong shape");
}

void check_rows(const char* cmd, const mxArray* a, size_t rows) {
  if (a == nullptr) finding(cmd, "no array returned");
  if (!mxIsDouble(a) || mxIsComplex(a) || mxIsSparse(a)) finding(cmd, "result is not real double");
  if (mxGetM(a) != rows || mxGetN(a) < 2) finding(cmd, "result has the wrong shape");
}
void check_real(const char* cmd, const mxArray* a, bool square) {
  if (a == nullptr) finding(cmd, "no array returned");
  if (!mxIsDouble(a) || mxIsComplex(a) || mxIsSparse(a)) finding(cmd, "result is not real double");
  if (square ? mxGetM(a) != mxGetN(a) : (mxGetM(a) != 1 || mxGetN(a) != 1))
    finding(cmd, "result has the wrong shape");
}

void check_setting(const char* cmd, const mxArray* a) {
  if (a == nullptr) return;  // called for no result
  if (mxIsChar(a) ? mxGetM(a) != 1
                  : !mxIsDouble(a) || mxIsComplex(a) || mxGetNumberOfElements(a) != 1)
    finding(cmd, "result is neither a text nor a real 1 x 1");
}

constexpr double kCallBudgetMs = 1000.0;

char g_dir[] = "/tmp/kv_fuzz_XXXXXX";

// Removes the temporary folder and the files KVFftw wrote into it (it holds
// no folders: a name is letters only).
void remove_folder() {
  if (DIR* d = opendir(g_dir)) {
    while (const dirent* e = readdir(d)) {
      if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
      unlink((std::string(g_dir) + "/" + e->d_name).c_str());
    }
    closedir(d);
  }
  rmdir(g_dir);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Every file KVFftw saves or loads is in a folder of its own, removed at
  // exit.
  if (mkdtemp(g_dir) == nullptr || chdir(g_dir) != 0) {
    std::perror("kv_fuzz: no temporary folder");
    std::abort();
  }
  std::atexit(remove_folder);
  // Loads every module before fuzzing starts, so that their coverage is seen
  // from the first input.
  for (const Cmd& c : kCommands) host::call(c.name, 0, {});
  // A grid of a few hundred is enough to find faults; larger ones take the
  // host's "Out of memory." path.
  host::limit_allocation(size_t{1} << 20);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader r(data, size);
  const Cmd& cmd = kCommands[r.byte() % kNumCommands];
  const uint8_t flags = r.byte();
  const int default_nlhs = cmd.outputs;
  const int max_nlhs = cmd.max_outputs > cmd.outputs ? cmd.max_outputs : cmd.outputs;
  const int max_inputs = cmd.max_inputs > cmd.inputs ? cmd.max_inputs : cmd.inputs;
  const int nlhs = (flags & 1) != 0 ? r.byte() % 8 : default_nlhs;
  const int nargs = (flags & 2) != 0 ? r.byte() % 9 : cmd.inputs;
  const long fail_at = (flags >> 2) & 7;

  std::vector<host::Array> args;
  for (int i = 0; i < nargs; ++i) args.push_back(make_argument(r));
  std::vector<const mxArray*> in;
  std::vector<std::string> before;
  for (const host::Array& a : args) {
    in.push_back(a.get());
    before.push_back(snapshot(a.get()));
  }

  const long arrays = host::live_arrays();
  const long blocks = host::live_blocks();
  host::fail_allocation_at(fail_at);
  // Work the input asks for at length (a million steps of KVMedium) ends at
  // a simulated Ctrl-C after a second, which the call must take cleanly too.
  host::interrupt_after(kCallBudgetMs);
  {
    host::Result res = host::call(cmd.name, nlhs, in);
    host::fail_allocation_at(0);
    host::interrupt_at(0);
    if (res.swallowed) finding(cmd.name, "an error was swallowed");
    if (res.failed) {
      if (res.error.empty()) finding(cmd.name, "an error without a message");
      if (!res.out.empty()) finding(cmd.name, "results returned with an error");
    } else if (nargs == 0) {
      if (res.printed.empty()) finding(cmd.name, "no banner");
    } else if (nargs < cmd.inputs || nargs > max_inputs || nlhs < default_nlhs || nlhs > max_nlhs) {
      finding(cmd.name, "a wrong argument count succeeded");
    } else {
      if (res.out.size() != static_cast<size_t>(nlhs)) finding(cmd.name, "missing results");
      switch (cmd.out) {
        case kField:
          check_field(cmd.name, res[0]);
          break;
        case kPlane:
          check_real(cmd.name, res[0], true);
          break;
        case kScalar:
          check_real(cmd.name, res[0], false);
          break;
        case kFieldPower:
          check_field(cmd.name, res[0]);
          check_real(cmd.name, res[1], false);
          break;
        case kColumns:
          check_column(cmd.name, res[0], 0);
          if (nlhs == 2) check_column(cmd.name, res[1], mxGetM(res[0]));
          break;
        case kSetting:
          if (nlhs == 1) check_setting(cmd.name, res[0]);
          break;
        case kFieldSide:
          check_field(cmd.name, res[0]);
          if (nlhs == 2) check_rows(cmd.name, res[1], mxGetM(res[0]));
          break;
        case kFieldIndex:
          check_field(cmd.name, res[0]);
          if (nlhs == 2) check_real(cmd.name, res[1], false);
          break;
        case kFields:
          for (int s = 0; s < nlhs; ++s) {
            check_field(cmd.name, res[s]);
            if (mxGetM(res[s]) != mxGetM(res[0])) finding(cmd.name, "results of unequal grids");
          }
          break;
        case kPlanes:
          for (int s = 0; s < nlhs; ++s) {
            check_real(cmd.name, res[s], true);
            if (mxGetM(res[s]) != mxGetM(res[0])) finding(cmd.name, "results of unequal sizes");
          }
          break;
        case kScalars:
          for (int s = 0; s < nlhs; ++s) check_real(cmd.name, res[s], false);
          break;
      }
    }
  }
  for (size_t i = 0; i < args.size(); ++i)
    if (snapshot(args[i].get()) != before[i]) finding(cmd.name, "an input was changed");
  if (host::live_arrays() != arrays) finding(cmd.name, "arrays leaked");
  if (host::live_blocks() != blocks) finding(cmd.name, "memory blocks leaked");
  return 0;
}

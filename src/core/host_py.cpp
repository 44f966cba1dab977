// The Python adapter: every command as a function of one extension module,
// korvane._korvane, over NumPy arrays. The command files register themselves
// (KV_COMMAND under KV_PY, core/command.h); each call converts its arguments
// while it holds the GIL, runs the gateway without it, and turns the results
// into NumPy arrays once it holds it again.
//
//   fields     complex128 (N, N+1) arrays in Fortran order are read in place;
//              float64 ones are fields with zero imaginary parts (as Octave
//              narrows them); any other order or stride is copied once
//   scalars    Python int, float and bool, NumPy real scalars and real arrays
//              of one element are doubles; complex numbers, strings, None and
//              longer arrays are not
//   arrays     any real numeric or boolean dtype, as Octave takes any numeric
//              or logical class; float16 and long double are read as doubles
//   results    fresh Fortran-ordered arrays (complex128 fields, float64
//              arrays) that own memory allocated here, or Python floats
//   errors     korvane.KorvaneError (a ValueError), or KorvaneMemoryError (a
//              MemoryError) when an allocation failed, raised once the gateway
//              has returned: "<name>: <text>", with the identifier
//              "Korvane:<kind>" as the attribute `identifier`
//   Ctrl-C     a long call run from the main thread raises what the SIGINT
//              handler raises (KeyboardInterrupt), within a few tens of
//              milliseconds of work, and returns nothing
//
// Compiled only into the Python extension: every other build sees an empty
// file here.
#if defined(KV_PY)

#define PY_SSIZE_T_CLEAN
#include <Python.h>
#define NPY_NO_DEPRECATED_API NPY_1_7_API_VERSION
#include <numpy/arrayobject.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "core/command.h"

namespace kv {

namespace {

constexpr int kMaxCommands = 256;
PyCommand g_commands[kMaxCommands];
int g_count = 0;
bool g_overflow = false;

// The memory of results and scratch: counted, so that the tests can see
// that a failed call gives back all it took, and open to failure injection.
std::atomic<long> g_live{0};        // blocks alive
std::atomic<long> g_copies{0};      // arguments copied to be read
std::atomic<long> g_allocs{0};      // blocks asked for since the last injection setting
std::atomic<long> g_fail_at{0};     // the block that fails (1-based; 0: none)
std::atomic<bool> g_failed{false};  // whether it has failed
std::atomic<size_t> g_limit{0};     // blocks larger than this fail (0: no limit)

void* block_alloc(size_t bytes) {
  const long k = g_allocs.fetch_add(1, std::memory_order_relaxed) + 1;
  const long at = g_fail_at.load(std::memory_order_relaxed);
  if (at > 0 && k == at) {
    g_failed.store(true, std::memory_order_relaxed);
    return nullptr;
  }
  const size_t limit = g_limit.load(std::memory_order_relaxed);
  if (limit > 0 && bytes > limit) return nullptr;
  void* p = std::calloc(bytes > 0 ? bytes : 1, 1);
  if (p != nullptr) g_live.fetch_add(1, std::memory_order_relaxed);
  return p;
}

void block_free(void* p) {
  if (p == nullptr) return;
  std::free(p);
  g_live.fetch_sub(1, std::memory_order_relaxed);
}

const char kBlockName[] = "korvane.block";

void free_block_capsule(PyObject* capsule) {
  block_free(PyCapsule_GetPointer(capsule, kBlockName));
}

PyObject* g_error = nullptr;         // korvane.KorvaneError
PyObject* g_memory_error = nullptr;  // korvane.KorvaneMemoryError

// What an argument's dtype holds.
enum class Kind { Real, Bool, Complex, WideReal, WideComplex, Text, Object };

Kind kind_of(PyArrayObject* a, Class* cls) {
  const PyArray_Descr* d = PyArray_DESCR(a);
  const int size = d->elsize;
  *cls = Class::Other;
  switch (d->kind) {
    case 'b':
      *cls = Class::Logical;
      return Kind::Bool;
    case 'i':
    case 'u': {
      const bool u = d->kind == 'u';
      switch (size) {
        case 1:
          *cls = u ? Class::UInt8 : Class::Int8;
          return Kind::Real;
        case 2:
          *cls = u ? Class::UInt16 : Class::Int16;
          return Kind::Real;
        case 4:
          *cls = u ? Class::UInt32 : Class::Int32;
          return Kind::Real;
        case 8:
          *cls = u ? Class::UInt64 : Class::Int64;
          return Kind::Real;
        default:
          return Kind::Object;
      }
    }
    case 'f':
      if (size == 8) {
        *cls = Class::Double;
        return Kind::Real;
      }
      if (size == 4) {
        *cls = Class::Single;
        return Kind::Real;
      }
      return Kind::WideReal;  // float16, long double
    case 'c':
      if (size == 16) {
        *cls = Class::Double;
        return Kind::Complex;
      }
      if (size == 8) {
        *cls = Class::Single;
        return Kind::Complex;
      }
      return Kind::WideComplex;  // complex long double
    case 'U':
    case 'S':
      *cls = Class::Char;
      return Kind::Text;
    default:
      return Kind::Object;
  }
}

// mxGetM and mxGetN of an array: a 0-d array is 1 x 1, a 1-d array of k
// elements a row of k (as NumPy prints it), and a longer shape is its first
// dimension by the product of the others (saturated, for shapes with a zero).
void shape_of(PyArrayObject* a, ArrayView* v) {
  const int nd = PyArray_NDIM(a);
  const npy_intp* dims = PyArray_DIMS(a);
  if (nd == 0) {
    v->m = v->n = 1;
    return;
  }
  if (nd == 1) {
    v->m = 1;
    v->n = dims[0];
    return;
  }
  v->m = dims[0];
  int64_t p = 1;
  for (int k = 1; k < nd; ++k) {
    const int64_t d = dims[k];
    if (d != 0 && p > INT64_MAX / d) {
      p = INT64_MAX;
    } else {
      p *= d;
    }
  }
  v->n = p;
}

// Any object as an array (a new reference), or nullptr for one NumPy cannot
// read as an array (a ragged list, say: its ValueError or TypeError), which
// the gateway then sees as an object of some other class. Returns false,
// with the Python error set, for any other error (memory ran out, an
// interrupt, an object's own __array__ failing).
bool as_array(PyObject* o, PyArrayObject** out) {
  *out = nullptr;
  PyObject* a = nullptr;
  if (PyArray_Check(o)) {
    Py_INCREF(o);
    a = o;
  } else if (PyArray_IsScalar(o, Generic)) {
    a = PyArray_FromScalar(o, nullptr);
  } else {
    a = PyArray_FromAny(o, nullptr, 0, 0, 0, nullptr);
  }
  if (a == nullptr) {
    if (!PyErr_ExceptionMatches(PyExc_ValueError) && !PyErr_ExceptionMatches(PyExc_TypeError)) {
      return false;
    }
    PyErr_Clear();
    return true;
  }
  *out = reinterpret_cast<PyArrayObject*>(a);
  return true;
}

// The real part of the first element (the one at index 0 in any order), as
// a double; what a host reads as a scalar.
double first_value(PyArrayObject* a, bool complex) {
  PyObject* item = PyArray_GETITEM(a, static_cast<const char*>(PyArray_DATA(a)));
  if (item == nullptr) {
    PyErr_Clear();
    return NAN;
  }
  const double v = complex ? PyComplex_RealAsDouble(item) : PyFloat_AsDouble(item);
  Py_DECREF(item);
  if (PyErr_Occurred()) {
    PyErr_Clear();
    return NAN;
  }
  return v;
}

// A Python int as a double; one beyond the range of doubles is infinite, as
// Octave reads a literal too large for a double.
double long_value(PyObject* o) {
  const double v = PyLong_AsDouble(o);
  if (v == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    PyObject* zero = PyLong_FromLong(0);
    const int negative = zero != nullptr ? PyObject_RichCompareBool(o, zero, Py_LT) : 0;
    Py_XDECREF(zero);
    if (negative < 0) PyErr_Clear();
    return negative > 0 ? -INFINITY : INFINITY;
  }
  return v;
}

// One argument converted for the gateway: its view, its value as a scalar,
// and the array its data lies in (held for the call).
struct PyArg {
  ArrayView v;
  double value = 0.0;
  PyObject* hold = nullptr;
  // A str: its UTF-8 bytes, kept by the str in `hold`.
  const char* text = nullptr;
  Py_ssize_t text_len = 0;
};

// An argument at a scalar position (Scalar or Loose). Any real number of one
// element is a real double scalar here: Python's own 256, True, a NumPy
// integer, a 0-d array. Everything else keeps its class and shape, so that
// the gateway refuses it as it refuses it in Octave; a Loose position reads
// the first element of a longer numeric array.
bool convert_scalar(PyObject* o, PyArg* a) {
  ArrayView& v = a->v;
  v.m = v.n = 1;
  v.cls = Class::Double;
  if (PyFloat_Check(o)) {
    a->value = PyFloat_AS_DOUBLE(o);
    return true;
  }
  if (PyBool_Check(o)) {
    a->value = o == Py_True ? 1.0 : 0.0;
    return true;
  }
  if (PyLong_Check(o)) {
    a->value = long_value(o);
    return true;
  }
  if (PyComplex_Check(o)) {
    v.complex = true;
    a->value = PyComplex_RealAsDouble(o);
    return true;
  }
  if (PyUnicode_Check(o)) {
    v.cls = Class::Char;
    v.n = PyUnicode_GET_LENGTH(o);
    return true;
  }
  PyArrayObject* arr = nullptr;
  if (!as_array(o, &arr)) return false;
  if (arr == nullptr) {
    v.cls = Class::Other;
    return true;
  }
  const Kind k = kind_of(arr, &v.cls);
  shape_of(arr, &v);
  const bool real = k == Kind::Real || k == Kind::Bool || k == Kind::WideReal;
  const bool complex = k == Kind::Complex || k == Kind::WideComplex;
  if (k == Kind::WideReal) v.cls = Class::Double;
  if (k == Kind::WideComplex) v.cls = Class::Double;
  v.complex = complex;
  if ((real || complex) && PyArray_SIZE(arr) > 0) {
    a->value = first_value(arr, complex);
    if (real && PyArray_SIZE(arr) == 1) v.cls = Class::Double;
  }
  Py_DECREF(arr);
  return true;
}

// An argument at a field or array position, with its data in place when its
// layout allows (Fortran order, aligned, native byte order), or in a copy.
bool convert_array(PyObject* o, Arg pos, PyArg* a) {
  ArrayView& v = a->v;
  v.m = v.n = 1;
  // A str is text, 1 x its length; its UTF-8 bytes are taken here, while
  // the GIL is held, for a command that reads text (KVFftw).
  if (PyUnicode_Check(o)) {
    v.cls = Class::Char;
    v.n = PyUnicode_GET_LENGTH(o);
    a->text = PyUnicode_AsUTF8AndSize(o, &a->text_len);
    if (a->text == nullptr) return false;
    Py_INCREF(o);
    a->hold = o;
    return true;
  }
  PyArrayObject* arr = nullptr;
  if (!as_array(o, &arr)) return false;
  if (arr == nullptr) return true;  // Class::Other, 1 x 1
  const Kind k = kind_of(arr, &v.cls);
  shape_of(arr, &v);
  int type = PyArray_TYPE(arr);
  switch (k) {
    case Kind::Text:
    case Kind::Object:
      Py_DECREF(arr);
      return true;
    case Kind::WideReal:
    case Kind::WideComplex:
      // Read as doubles at an array position; not a field.
      if (pos == Field) {
        v.cls = Class::Other;
        Py_DECREF(arr);
        return true;
      }
      v.cls = Class::Double;
      type = k == Kind::WideReal ? NPY_DOUBLE : NPY_CDOUBLE;
      break;
    default:
      // A field is read only when it is a double array.
      if (pos == Field && v.cls != Class::Double) {
        v.complex = k == Kind::Complex;
        Py_DECREF(arr);
        return true;
      }
      break;
  }
  v.complex = k == Kind::Complex || k == Kind::WideComplex;
  const int wide = k == Kind::WideReal || k == Kind::WideComplex ? NPY_ARRAY_FORCECAST : 0;
  PyObject* data = PyArray_FromArray(arr, PyArray_DescrFromType(type),
                                     NPY_ARRAY_F_CONTIGUOUS | NPY_ARRAY_ALIGNED | wide);
  if (data == nullptr) {
    Py_DECREF(arr);
    return false;
  }
  if (data != reinterpret_cast<PyObject*>(arr)) g_copies.fetch_add(1, std::memory_order_relaxed);
  Py_DECREF(arr);
  a->hold = data;
  v.re = PyArray_DATA(reinterpret_cast<PyArrayObject*>(data));
  v.stride = v.complex ? 2 : 1;
  return true;
}

enum class Result : unsigned char { Array, Field, Float, Text };

class PyHost final : public Host {
 public:
  explicit PyHost(const PyArg* args) : args_(args) {}
  PyHost(const PyHost&) = delete;
  PyHost& operator=(const PyHost&) = delete;
  ~PyHost() {
    for (Out& o : out_) block_free(o.p);
  }

  ArrayView arg(int i) const override {
    ArrayView a = args_[i].v;
    a.re = nullptr;
    a.im = nullptr;
    return a;
  }
  void read(int i, ArrayView* v) const override { *v = args_[i].v; }
  double scalar(int i) const override { return args_[i].value; }
  bool text(int i, char* buf, size_t size) const override {
    const PyArg& a = args_[i];
    if (a.text == nullptr || size == 0 || static_cast<size_t>(a.text_len) >= size) return false;
    std::memcpy(buf, a.text, static_cast<size_t>(a.text_len));
    buf[a.text_len] = '\0';
    return true;
  }
  bool new_text(const char* text, int slot) override {
    if (slot < 0 || slot >= kMaxResults) return false;
    try {
      text_[slot] = text;
    } catch (...) {
      return false;
    }
    is_text_[slot] = true;
    return true;
  }

  cplx* new_field(int32_t n, int slot) override {
    const int64_t cols = static_cast<int64_t>(n) + 1;
    return static_cast<cplx*>(take(slot, n, cols, sizeof(cplx), true));
  }
  double* new_real(int64_t rows, int64_t cols, int slot) override {
    return static_cast<double*>(take(slot, rows, cols, sizeof(double), false));
  }
  void* allocate(size_t bytes) override { return block_alloc(bytes); }
  void release(void* p) override { block_free(p); }
  // Printed at once, with the GIL taken back for it: the calling thread
  // released it for the call.
  // Called from the calling thread, like interrupt_pending: the GIL is taken
  // back through the call's own thread state.
  void notice(const char* text) override {
    PyThreadState* saved = saved_;
    if (saved != nullptr) PyEval_RestoreThread(saved);
    PySys_FormatStdout("%s", text);
    PyObject* out = PySys_GetObject("stdout");  // borrowed
    if (out != nullptr && out != Py_None) {
      PyObject* r = PyObject_CallMethod(out, "flush", nullptr);
      Py_XDECREF(r);
    }
    PyErr_Clear();  // a failed flush is not the command's error
    if (saved != nullptr) saved_ = PyEval_SaveThread();
  }
  // Kept until the call has succeeded: no banner comes before an exception.
  void print(const char* text) override {
    try {
      printed_.append(text);
    } catch (...) {
    }
  }

  // The gateway runs without the GIL (release_gil .. take_gil).
  void release_gil() { saved_ = PyEval_SaveThread(); }
  void take_gil() {
    PyEval_RestoreThread(saved_);
    saved_ = nullptr;
  }

  // Called without the GIL, from the thread that runs the call: takes the
  // GIL back for a moment and runs Python's pending signal handlers. When
  // one raises (SIGINT's raises KeyboardInterrupt), its exception stays set
  // and the call ends with it. Only the main thread runs the handlers: a
  // call from any other thread is never interrupted.
  bool interrupt_pending() override {
    if (saved_ == nullptr) return false;
    PyEval_RestoreThread(saved_);
    const bool raised = PyErr_CheckSignals() != 0;
    saved_ = PyEval_SaveThread();
    return raised;
  }

  const std::string& printed() const { return printed_; }

  // The results as Python objects, with the GIL held: None for a command
  // without results, one object, or a tuple of them (kMaxResults at most);
  // nullptr with the Python error set when memory ran out.
  PyObject* results(int outputs, const Result* kinds) {
    if (outputs <= 0) {
      // A command called for no result may still give one (KVFftw's level).
      if (made(0)) return wrap(0, kinds[0]);
      Py_INCREF(Py_None);
      return Py_None;
    }
    if (outputs > kMaxResults) outputs = kMaxResults;
    PyObject* r[kMaxResults] = {};
    const auto drop = [&]() {
      for (PyObject* o : r) Py_XDECREF(o);
    };
    for (int s = 0; s < outputs; ++s) {
      r[s] = wrap(s, kinds[s]);
      if (r[s] == nullptr) {
        drop();
        return nullptr;
      }
    }
    if (outputs == 1) return r[0];
    PyObject* t = PyTuple_New(outputs);
    if (t == nullptr) {
      drop();
      return nullptr;
    }
    for (int s = 0; s < outputs; ++s) PyTuple_SET_ITEM(t, s, r[s]);
    return t;
  }

 private:
  struct Out {
    void* p = nullptr;
    int64_t rows = 0;
    int64_t cols = 0;
    bool field = false;
  };

  void* take(int slot, int64_t rows, int64_t cols, size_t size, bool field) {
    if (slot < 0 || slot >= kMaxResults || rows < 0 || cols < 0) return nullptr;
    Out& o = out_[slot];
    block_free(o.p);
    o = Out{};
    // The gateway has checked rows x cols x size against the address space.
    void* p = block_alloc(static_cast<size_t>(rows) * static_cast<size_t>(cols) * size);
    if (p == nullptr) return nullptr;
    o = Out{p, rows, cols, field};
    return p;
  }

  bool made(int slot) const { return is_text_[slot] || out_[slot].p != nullptr; }

  PyObject* wrap(int slot, Result kind) {
    if (is_text_[slot]) {
      return PyUnicode_DecodeUTF8(text_[slot].data(), static_cast<Py_ssize_t>(text_[slot].size()),
                                  "replace");
    }
    Out& o = out_[slot];
    if (o.p == nullptr) {
      PyErr_SetString(PyExc_SystemError, "korvane: a command returned no result");
      return nullptr;
    }
    // A command whose result is text in some calls gives a number in others
    // (KVFftw('timelimit')): a float then.
    if ((kind == Result::Float || kind == Result::Text) && !o.field && o.rows == 1 && o.cols == 1) {
      PyObject* f = PyFloat_FromDouble(*static_cast<const double*>(o.p));
      if (f != nullptr) {
        block_free(o.p);
        o.p = nullptr;
      }
      return f;
    }
    npy_intp dims[2] = {static_cast<npy_intp>(o.rows), static_cast<npy_intp>(o.cols)};
    PyObject* a = PyArray_New(&PyArray_Type, 2, dims, o.field ? NPY_CDOUBLE : NPY_DOUBLE, nullptr,
                              o.p, 0, NPY_ARRAY_FARRAY, nullptr);
    if (a == nullptr) return nullptr;
    PyObject* owner = PyCapsule_New(o.p, kBlockName, free_block_capsule);
    if (owner == nullptr) {
      Py_DECREF(a);
      return nullptr;
    }
    o.p = nullptr;  // the capsule frees it from now on
    if (PyArray_SetBaseObject(reinterpret_cast<PyArrayObject*>(a), owner) < 0) {
      Py_DECREF(a);  // the capsule was taken and released
      return nullptr;
    }
    return a;
  }

  const PyArg* args_;
  Out out_[kMaxResults];
  std::string text_[kMaxResults];  // text results (new_text)
  bool is_text_[kMaxResults] = {};
  std::string printed_;
  PyThreadState* saved_ = nullptr;  // while the gateway runs
};

// Sets attribute `name` of `o` to the string `value`; false on failure.
bool set_text(PyObject* o, const char* name, const char* value) {
  PyObject* v = PyUnicode_FromString(value);
  if (v == nullptr) return false;
  const int r = PyObject_SetAttrString(o, name, v);
  Py_DECREF(v);
  return r == 0;
}

// Raises `e` of command `name` as Octave shows the error of a module that
// raises it: the name, a colon and the text, without one trailing newline;
// the identifier and the command go into attributes.
void raise(const char* name, const Error& e) {
  std::string msg;
  try {
    msg = std::string(name) + ": " + e.text;
  } catch (...) {
    PyErr_NoMemory();
    return;
  }
  if (msg.back() == '\n') msg.pop_back();
  PyObject* cls = e.kind == Err::OutOfMemory ? g_memory_error : g_error;
  PyObject* text = PyUnicode_DecodeUTF8(msg.data(), static_cast<Py_ssize_t>(msg.size()), "replace");
  if (text == nullptr) return;
  PyObject* exc = PyObject_CallFunctionObjArgs(cls, text, nullptr);
  Py_DECREF(text);
  if (exc == nullptr) return;
  if (set_text(exc, "identifier", e.id()) && set_text(exc, "command", name)) {
    PyErr_SetObject(cls, exc);
  }
  Py_DECREF(exc);
}

// A registered command with what the module makes of it: its function's
// definition and docstring, and the kinds of its results.
struct Entry {
  const PyCommand* cmd = nullptr;
  Result results[kMaxResults] = {};  // Result::Array unless the help says otherwise
  std::string doc;
  PyMethodDef def{};
};
Entry g_entries[kMaxCommands];
const char kEntryName[] = "korvane.command";

// The most arguments and results a command takes (some may leave the last
// ones out).
int most_inputs(const Command& cmd) {
  return cmd.max_inputs > cmd.inputs ? cmd.max_inputs : cmd.inputs;
}
int most_outputs(const Command& cmd) {
  return cmd.max_outputs > cmd.outputs ? cmd.max_outputs : cmd.outputs;
}

PyObject* call_command(PyObject* self, PyObject* const* args, Py_ssize_t nargs) {
  const Entry* entry = static_cast<const Entry*>(PyCapsule_GetPointer(self, kEntryName));
  if (entry == nullptr) return nullptr;
  const PyCommand& pc = *entry->cmd;
  const Command& cmd = *pc.table;
  const int nrhs = nargs <= kMaxArgs ? static_cast<int>(nargs) : kMaxArgs + 1;
  // Python asks for no count of results: a command gives all it can; one
  // whose result is optional (KVFftw) is called for none and returns what
  // it gives.
  const int nlhs = cmd.outputs == 0 ? 0 : most_outputs(cmd);
  PyArg conv[kMaxArgs];
  // The gateway reads no argument of a call with the wrong count.
  bool ok = true;
  if (nrhs >= cmd.inputs && nrhs <= most_inputs(cmd)) {
    for (int i = 0; i < nrhs && ok; ++i) {
      const Arg pos = arg_kind(cmd, nrhs, i);
      // A Word is text when it is a str, and a scalar otherwise.
      const bool number =
          pos == Scalar || pos == Loose || (pos == Word && !PyUnicode_Check(args[i]));
      ok = number ? convert_scalar(args[i], &conv[i]) : convert_array(args[i], pos, &conv[i]);
    }
  }
  PyObject* result = nullptr;
  if (ok) {
    char buf[256];
    Error err;
    PyHost host(conv);
    host.release_gil();
    err = run(cmd, host, nlhs, nrhs, pc.body, buf);
    host.take_gil();
    // The gateway has returned: no try block is open here.
    if (err && err.kind == Err::Interrupted) {
      // The signal handler's exception is set; nothing else raises here.
      if (!PyErr_Occurred()) PyErr_SetNone(PyExc_KeyboardInterrupt);
    } else if (err) {
      raise(cmd.name, err);
    } else if (nrhs == 0) {
      if (!host.printed().empty()) PySys_FormatStdout("%s", host.printed().c_str());
      if (!PyErr_Occurred()) {
        Py_INCREF(Py_None);
        result = Py_None;
      }
    } else {
      result = host.results(nlhs, entry->results);
    }
  }
  for (PyArg& a : conv) Py_XDECREF(a.hold);
  return result;
}

char arg_letter(Arg a) {
  switch (a) {
    case Scalar:
      return 'S';
    case Loose:
      return 'L';
    case Field:
      return 'F';
    case Array:
      return 'A';
    case Text:
      return 'T';
    case Word:
      return 'W';
    default:
      return '-';
  }
}

// _commands(): (name, argument kinds, outputs, signature, results, fewest
// outputs) of every
// command, in the order of their names; kinds: S scalar, L a scalar read
// without the real-scalar test, F field, A array, for the most arguments it
// takes; outputs, the most results it gives.
PyObject* list_commands(PyObject*, PyObject*) {
  PyObject* t = PyTuple_New(g_count);
  if (t == nullptr) return nullptr;
  for (int k = 0; k < g_count; ++k) {
    const PyCommand& c = *g_entries[k].cmd;
    char kinds[kMaxArgs + 1] = {};
    for (int i = 0; i < most_inputs(*c.table) && i < kMaxArgs; ++i)
      kinds[i] = arg_letter(c.table->args[i]);
    PyObject* row = Py_BuildValue("(ssissi)", c.name, kinds, most_outputs(*c.table), c.signature,
                                  c.results, c.table->outputs);
    if (row == nullptr) {
      Py_DECREF(t);
      return nullptr;
    }
    PyTuple_SET_ITEM(t, k, row);
  }
  return t;
}

// The hooks of the allocation tests, as the test host offers them:
// _fail_allocation_at(k) restarts the count of blocks (results and scratch)
// and makes the k-th from then on fail (0: none); _limit_allocation(bytes)
// makes every block larger than bytes fail (0: no limit).
PyObject* fail_allocation_at(PyObject*, PyObject* arg) {
  const long k = PyLong_AsLong(arg);
  if (k == -1 && PyErr_Occurred()) return nullptr;
  g_allocs.store(0);
  g_failed.store(false);
  g_fail_at.store(k > 0 ? k : 0);
  Py_RETURN_NONE;
}

PyObject* limit_allocation(PyObject*, PyObject* arg) {
  const unsigned long long b = PyLong_AsUnsignedLongLong(arg);
  if (b == static_cast<unsigned long long>(-1) && PyErr_Occurred()) return nullptr;
  g_limit.store(static_cast<size_t>(b));
  Py_RETURN_NONE;
}

PyObject* allocation_stats(PyObject*, PyObject*) {
  return Py_BuildValue("{s:l,s:l,s:l,s:O}", "live_blocks", g_live.load(), "copies", g_copies.load(),
                       "allocations", g_allocs.load(), "failed",
                       g_failed.load() ? Py_True : Py_False);
}

PyMethodDef g_methods[] = {
    {"_commands", list_commands, METH_NOARGS, "The command table of the module."},
    {"_fail_allocation_at", fail_allocation_at, METH_O,
     "Makes the k-th block of results or scratch from now on fail (0: none); for tests."},
    {"_limit_allocation", limit_allocation, METH_O,
     "Makes every block larger than the given bytes fail (0: no limit); for tests."},
    {"_allocation_stats", allocation_stats, METH_NOARGS,
     "Blocks alive, arguments copied, blocks asked for, and whether the injected failure "
     "happened; for tests."},
    {nullptr, nullptr, 0, nullptr}};

PyModuleDef g_module = {PyModuleDef_HEAD_INIT,
                        "_korvane",
                        "The compiled commands of Korvane; import korvane to use them.",
                        -1,
                        g_methods,
                        nullptr,
                        nullptr,
                        nullptr,
                        nullptr};

Result result_kind(const char* w, size_t len) {
  if (len == 5 && std::strncmp(w, "field", 5) == 0) return Result::Field;
  if (len == 5 && std::strncmp(w, "float", 5) == 0) return Result::Float;
  if (len == 4 && std::strncmp(w, "text", 4) == 0) return Result::Text;
  return Result::Array;
}

// Fills g_entries from the registrations once, sorted by name.
void prepare_entries() {
  static bool done = false;
  if (done) return;
  done = true;
  for (int k = 0; k < g_count; ++k) g_entries[k].cmd = &g_commands[k];
  for (int i = 1; i < g_count; ++i) {
    for (int j = i; j > 0 && std::strcmp(g_entries[j - 1].cmd->name, g_entries[j].cmd->name) > 0;
         --j) {
      std::swap(g_entries[j - 1].cmd, g_entries[j].cmd);
    }
  }
  for (int k = 0; k < g_count; ++k) {
    Entry& e = g_entries[k];
    const PyCommand& c = *e.cmd;
    // "name(args, /)\n--\n\n" first: Python takes it for the signature and
    // shows the help text as the docstring.
    if (c.signature[0] != '\0') e.doc = std::string(c.name) + c.signature + "\n--\n\n";
    e.doc += c.help;
    const char* p = c.results;
    for (int s = 0; s < kMaxResults && *p != '\0'; ++s) {
      while (*p == ' ') ++p;
      const char* w = p;
      while (*p != '\0' && *p != ' ') ++p;
      e.results[s] = result_kind(w, static_cast<size_t>(p - w));
    }
    e.def.ml_name = c.name;
    e.def.ml_meth = reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)(void)>(call_command));
    e.def.ml_flags = METH_FASTCALL;
    e.def.ml_doc = e.doc.c_str();
  }
}

// An exception class korvane.<name> derived from `base`, with the attributes
// identifier and command ("" until a command raises it).
PyObject* new_error(const char* name, const char* doc, PyObject* base) {
  PyObject* dict = Py_BuildValue("{s:s,s:s}", "identifier", "", "command", "");
  if (dict == nullptr) return nullptr;
  PyObject* cls = PyErr_NewExceptionWithDoc(name, doc, base, dict);
  Py_DECREF(dict);
  return cls;
}

}  // namespace

bool register_py(const PyCommand& c) {
  if (g_count == kMaxCommands) {
    g_overflow = true;
    return false;
  }
  g_commands[g_count++] = c;
  return true;
}

}  // namespace kv

PyMODINIT_FUNC PyInit__korvane(void) {
  using namespace kv;
  if (_import_array() < 0) return nullptr;
  if (g_overflow) {
    PyErr_SetString(PyExc_ImportError, "korvane: more commands than kMaxCommands in host_py.cpp");
    return nullptr;
  }
  prepare_entries();
  PyObject* m = PyModule_Create(&g_module);
  if (m == nullptr) return nullptr;
  if (g_error == nullptr) {
    g_error = new_error("korvane.KorvaneError",
                        "A command refused its call. The message is Octave's (\"KVCircAperture: "
                        "expects four input arguments\"); `identifier` names the kind of refusal "
                        "(\"Korvane:argCount\"), `command` the command.",
                        PyExc_ValueError);
    g_memory_error = new_error("korvane.KorvaneMemoryError",
                               "A command ran out of memory (\"KVBegin: Out of memory.\", "
                               "identifier \"Korvane:outOfMemory\"); nothing it took is kept.",
                               PyExc_MemoryError);
    if (g_error == nullptr || g_memory_error == nullptr) {
      Py_DECREF(m);
      return nullptr;
    }
  }
  Py_INCREF(g_error);
  Py_INCREF(g_memory_error);
  if (PyModule_AddObject(m, "KorvaneError", g_error) < 0 ||
      PyModule_AddObject(m, "KorvaneMemoryError", g_memory_error) < 0) {
    Py_DECREF(m);
    return nullptr;
  }
  PyObject* modname = PyModule_GetNameObject(m);
  if (modname == nullptr) {
    Py_DECREF(m);
    return nullptr;
  }
  for (int k = 0; k < g_count; ++k) {
    Entry& e = g_entries[k];
    PyObject* self = PyCapsule_New(&e, kEntryName, nullptr);
    PyObject* f = self != nullptr ? PyCFunction_NewEx(&e.def, self, modname) : nullptr;
    Py_XDECREF(self);
    if (f == nullptr || PyModule_AddObject(m, e.cmd->name, f) < 0) {
      Py_XDECREF(f);
      Py_DECREF(modname);
      Py_DECREF(m);
      return nullptr;
    }
  }
  Py_DECREF(modname);
  return m;
}

#endif  // KV_PY

// The Octave adapter: commands as oct-file functions over octave_value. Input
// arrays are read in place (their storage is shared, never copied: no
// fortran_vec() on an input), each result is allocated once, and a message is
// raised as Octave raises a MEX module's error, so the oct build prints and
// raises what the MEX build does.
#include <octave/oct.h>
#include <octave/pager.h>
#include <octave/quit.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "core/command.h"

namespace kv {

namespace {

// mxGetM and mxGetN: the rows, and the product of every later dimension.
void rows_cols(const octave_value& v, ArrayView* a) {
  const dim_vector d = v.dims();
  a->m = d(0);
  int64_t p = 1;
  for (int k = 1; k < d.ndims(); ++k) p *= d(k);
  a->n = p;
}

Class class_of(const octave_value& v) {
  if (v.is_double_type()) return Class::Double;
  if (v.is_single_type()) return Class::Single;
  if (v.islogical()) return Class::Logical;
  if (v.is_char_matrix()) return Class::Char;
  if (v.is_int8_type()) return Class::Int8;
  if (v.is_uint8_type()) return Class::UInt8;
  if (v.is_int16_type()) return Class::Int16;
  if (v.is_uint16_type()) return Class::UInt16;
  if (v.is_int32_type()) return Class::Int32;
  if (v.is_uint32_type()) return Class::UInt32;
  if (v.is_int64_type()) return Class::Int64;
  if (v.is_uint64_type()) return Class::UInt64;
  return Class::Other;
}

class OctHost final : public Host {
 public:
  explicit OctHost(const octave_value_list& args) : args_(args) {}

  ArrayView arg(int i) const override {
    const octave_value& v = args_(i);
    ArrayView a;
    a.cls = class_of(v);
    a.complex = v.iscomplex();
    a.sparse = v.issparse();
    rows_cols(v, &a);
    return a;
  }

  void read(int i, ArrayView* a) const override {
    if (!seen_[i]) {
      views_[i] = describe(i);
      seen_[i] = true;
    }
    *a = views_[i];
  }

  double scalar(int i) const override {
    const octave_value& v = args_(i);
    if (v.issparse()) {
      // The first stored value, as a MEX module reads a sparse scalar.
      ArrayView a = arg(i);
      read(i, &a);
      if (a.jc == nullptr || a.jc[a.n] == 0 || a.re == nullptr) return 0.0;
      return a.cls == Class::Logical ? static_cast<const bool*>(a.re)[0]
                                     : static_cast<const double*>(a.re)[0];
    }
    return v.scalar_value(true);
  }

  bool text(int i, char* buf, size_t size) const override {
    const octave_value& v = args_(i);
    if (!v.is_char_matrix() || size == 0) return false;
    if (v.isempty()) {
      buf[0] = '\0';
      return true;
    }
    const std::string s = v.string_value();
    if (s.size() >= size) return false;
    std::memcpy(buf, s.c_str(), s.size() + 1);
    return true;
  }

  bool new_text(const char* text, int slot) override {
    text_[slot] = text;
    kind_[slot] = kText;
    return true;
  }

  cplx* new_field(int32_t n, int slot) override {
    // Octave's arrays value-initialise their elements: zeroed in one pass.
    ComplexNDArray a(dim_vector(n, static_cast<octave_idx_type>(n) + 1));
    cplx* z = a.fortran_vec();  // a fresh array: no copy
    field_[slot] = a;
    kind_[slot] = kField;
    return z;
  }

  double* new_real(int64_t rows, int64_t cols, int slot) override {
    NDArray a(dim_vector(rows, cols));
    double* p = a.fortran_vec();
    real_[slot] = a;
    kind_[slot] = kReal;
    return p;
  }

  void* allocate(size_t bytes) override { return std::calloc(bytes, 1); }
  void release(void* p) override { std::free(p); }
  void print(const char* text) override { octave_stdout << text; }
  // Octave's SIGINT handler counts the interrupt here (and sets the flag
  // that its own loops poll, left for raise_interrupt to take).
  bool interrupt_pending() override { return octave_interrupt_state > 0; }

  // Shown at once, while the call still works.
  void notice(const char* text) override {
    octave_stdout << text;
    octave_stdout.flush();
  }

  // As Octave returns a MEX module's results: one value per requested
  // output, undefined where the module set none; with no output requested,
  // the first result if it was set (it becomes ans).
  octave_value_list results(int nargout) const {
    octave_value_list r;
    const int count = nargout > 0 ? nargout : (kind_[0] != kNone ? 1 : 0);
    r.resize(count);
    for (int s = 0; s < count && s < kMaxResults; ++s) {
      // octave_value narrows a complex result whose imaginary parts are all
      // zero, as the MEX interface does.
      if (kind_[s] == kField) r(s) = octave_value(field_[s]);
      if (kind_[s] == kReal) r(s) = octave_value(real_[s]);
      if (kind_[s] == kText) r(s) = octave_value(text_[s]);
    }
    return r;
  }

 private:
  enum Kind { kNone, kField, kReal, kText };

  // Holds an array that shares the argument's storage (or, for a scalar,
  // holds the value itself), so the pointer stays good for the call.
  struct Held {
    virtual ~Held() = default;
  };
  template <class A>
  struct HeldArray final : Held {
    explicit HeldArray(const A& array) : a(array) {}
    A a;
  };
  template <class A>
  const void* keep(const A& a, int i) const {
    auto* h = new HeldArray<A>(a);
    held_[i].reset(h);
    return h->a.data();
  }

  ArrayView describe(int i) const {
    const octave_value& v = args_(i);
    ArrayView a = arg(i);
    if (a.sparse) {
      describe_sparse(v, i, &a);
      return a;
    }
    a.stride = a.complex ? 2 : 1;
    switch (a.cls) {
      case Class::Double:
        a.re = a.complex ? keep(v.complex_array_value(), i) : keep(v.array_value(), i);
        break;
      case Class::Single:
        a.re = a.complex ? keep(v.float_complex_array_value(), i) : keep(v.float_array_value(), i);
        break;
      case Class::Logical:
        a.re = keep(v.bool_array_value(), i);
        break;
      case Class::Int8:
        a.re = keep(v.int8_array_value(), i);
        break;
      case Class::UInt8:
        a.re = keep(v.uint8_array_value(), i);
        break;
      case Class::Int16:
        a.re = keep(v.int16_array_value(), i);
        break;
      case Class::UInt16:
        a.re = keep(v.uint16_array_value(), i);
        break;
      case Class::Int32:
        a.re = keep(v.int32_array_value(), i);
        break;
      case Class::UInt32:
        a.re = keep(v.uint32_array_value(), i);
        break;
      case Class::Int64:
        a.re = keep(v.int64_array_value(), i);
        break;
      case Class::UInt64:
        a.re = keep(v.uint64_array_value(), i);
        break;
      default:  // char, cell, struct, handles: no numbers to read
        break;
    }
    return a;
  }

  // A sparse double or logical array: its stored values and index vectors.
  template <class S>
  void point_at_sparse(const S& s, int i, ArrayView* a) const {
    static_assert(sizeof(octave_idx_type) == sizeof(uint64_t),
                  "sparse indices are read as 64-bit values");
    auto* h = new HeldArray<S>(s);
    held_[i].reset(h);
    a->re = h->a.data();
    a->ir = reinterpret_cast<const uint64_t*>(h->a.ridx());
    a->jc = reinterpret_cast<const uint64_t*>(h->a.cidx());
  }

  void describe_sparse(const octave_value& v, int i, ArrayView* a) const {
    a->stride = a->complex ? 2 : 1;
    if (a->cls == Class::Logical) {
      point_at_sparse(v.sparse_bool_matrix_value(), i, a);
    } else if (a->cls == Class::Double) {
      if (a->complex) {
        point_at_sparse(v.sparse_complex_matrix_value(), i, a);
      } else {
        point_at_sparse(v.sparse_matrix_value(), i, a);
      }
    }
  }

  const octave_value_list& args_;
  mutable ArrayView views_[kMaxArgs];
  mutable bool seen_[kMaxArgs] = {};
  mutable std::unique_ptr<Held> held_[kMaxArgs];
  ComplexNDArray field_[kMaxResults];
  NDArray real_[kMaxResults];
  std::string text_[kMaxResults];
  Kind kind_[kMaxResults] = {};
};

// Raises `e` as Octave raises the error of a MEX module named `name` that
// calls mexErrMsgIdAndTxt: the identifier, and the name, a colon and the
// message; a trailing newline is kept out of the message and suppresses the
// traceback location.
[[noreturn]] void raise(const char* name, const Error& e) {
  const char* msg = e.text;
  const size_t len = std::strlen(msg);
  if (len == 0) error(" ");
  if (msg[len - 1] == '\n') {
    const std::string text(msg, len - 1);
    error_with_id(e.id(), "%s: %s\n", name, text.c_str());
  }
  error_with_id(e.id(), "%s: %s", name, msg);
}

// Stops as Octave's own functions stop on Ctrl-C: Octave takes its pending
// interrupt (octave_quit throws its interrupt exception), and the prompt
// comes back with nothing assigned.
[[noreturn]] void raise_interrupt() {
  octave_quit();
  throw octave::interrupt_exception();
}

}  // namespace

octave_value_list run_oct(const Command& cmd, const octave_value_list& args, int nargout,
                          void (*body)(Call&)) {
  char buf[256];
  Error err;
  octave_value_list results;
  {
    OctHost host(args);
    const int nrhs = args.length() <= kMaxArgs ? args.length() : kMaxArgs + 1;
    err = run(cmd, host, nargout, nrhs, body, buf);
    if (!err) results = host.results(nargout);
  }
  // Raised here, outside every try block.
  if (err && err.kind == Err::Interrupted) raise_interrupt();
  if (err) raise(cmd.name, err);
  return results;
}

}  // namespace kv

// The command gateway: the one shell every command runs, whatever the host.
// A command is a row of `Command`; `run` checks the call against it in a fixed
// order and hands the checked arguments to the command's body through `Call`.
// The host is reached only through a `Host` adapter (core/host_mex.*,
// core/host_oct.*), so this file knows nothing of MEX or Octave.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/field.h"

namespace kv {

enum Arg : unsigned char {
  None = 0,
  Scalar,  // real-scalar test, then read as a double
  Loose,   // read as a double without the real-scalar test; only an empty or
           // non-numeric value is refused
  Field,   // complex-flag test, then the shape and header test
  Array,   // handed over as it stands (phase and profile arrays)
  Text,    // a character row vector (or ''), read as text
  Word,    // a character row vector read as text, or a real scalar read as a
           // double (Call::is_text tells which)
};

// What kind of refusal an error is. The hosts raise it with the identifier
// "Korvane:<kind>" (error_id), so that a script's catch can tell a refused
// argument from a machine out of memory without matching the text.
enum class Err : unsigned char {
  ArgCount,     // wrong number of inputs or outputs
  NotScalar,    // a scalar argument that is not a real double scalar
  NotField,     // a field argument that is not a Korvane field
  BadArray,     // an array argument of the wrong shape or class
  Spherical,    // a field in spherical coordinates where none is allowed
  Mismatch,     // two fields that do not share a grid
  BadValue,     // a parameter outside its range
  TooLarge,     // a result no address space could hold
  OutOfMemory,  // an allocation that failed
  Internal,     // a check that no input should reach
  Interrupted,  // the user pressed Ctrl-C (core/interrupt.h); the host raises
                // its own interrupt rather than an error where it has one
};

// "Korvane:argCount", "Korvane:notScalar", ...
const char* error_id(Err kind);

// An error: its kind and its text. A null text means no error.
struct Error {
  Err kind = Err::BadValue;
  const char* text = nullptr;
  explicit operator bool() const { return text != nullptr; }
  const char* id() const { return error_id(kind); }
};

class Call;
// A check that runs once the scalars are read, before any field's shape is
// tested. Returns the error to raise, or an empty Error.
using EarlyCheck = Error (*)(const Call&);

constexpr int kMaxArgs = 8;
// The most results a command gives; every host holds this many slots.
constexpr int kMaxResults = 8;

// A command takes `inputs` arguments and gives `outputs` results; one whose
// last arguments or results may be left out sets `max_inputs` or
// `max_outputs` above them (0: exactly `inputs`, `outputs`; at most
// kMaxArgs and kMaxResults). The body asks Call::inputs() and
// Call::outputs() how many the call has. A command whose shortest call
// leaves out a leading argument instead (KVBeamWidth(Fin) beside
// KVBeamWidth(I, Fin)) gives the kinds of that call in `short_args`.
struct Command {
  const char* name;
  int inputs;
  int outputs;
  Arg args[kMaxArgs];
  const char* banner;
  const char* input_count_msg = nullptr;           // default: "expects <count> input arguments", or
                                                   // "expects <min> or <max> input arguments"
  const char* output_count_msg = nullptr;          // default: "expects one output argument"
  const char* field_msgs[2] = {nullptr, nullptr};  // per field argument, in order
  EarlyCheck early = nullptr;
  int max_inputs = 0;
  int max_outputs = 0;
  const Arg* short_args = nullptr;  // the kinds of a call of `inputs` arguments
};

// The kind of argument i of a call of `nrhs` arguments.
inline Arg arg_kind(const Command& cmd, int nrhs, int i) {
  if (i < 0 || i >= kMaxArgs) return None;
  if (nrhs == cmd.inputs && cmd.short_args != nullptr) return cmd.short_args[i];
  return cmd.args[i];
}

extern const Error kNotAField;     // "Input field is not a Korvane field."
extern const Error kNotScalar;     // "Input must be real scalar."
extern const Error kSpherical;     // "No spherical coordinates allowed. Use KVConvert first"
extern const Error kOutOfMemory;   // "Out of memory."
extern const Error kTooLarge;      // an output that no machine could address
extern const Error kGridTooSmall;  // a new grid dimension below 8
extern const Error kNotText;       // "Input must be a string."
extern const Error kNotWord;       // "Input must be a string or a real scalar."
extern const Error kInterrupted;   // "Interrupted."

// The class of an argument, as the host reports it.
enum class Class : unsigned char {
  Double,
  Single,
  Logical,
  Char,
  Int8,
  UInt8,
  Int16,
  UInt16,
  Int32,
  UInt32,
  Int64,
  UInt64,
  Other,  // cell, struct, function handle, object
};

// One argument as the host holds it, read in place.
struct ArrayView {
  Class cls = Class::Other;
  bool complex = false;
  bool sparse = false;
  int64_t m = 0;  // rows
  int64_t n = 0;  // the product of every later dimension
  // Real parts: element k is at re + k*stride elements of the class. With
  // stride 2 the imaginary part of element k follows its real part; with
  // stride 1 a complex array keeps its imaginary parts apart, in `im`.
  const void* re = nullptr;
  const void* im = nullptr;
  int stride = 1;
  // A sparse array: the row of each stored value and the n + 1 column starts.
  const uint64_t* ir = nullptr;
  const uint64_t* jc = nullptr;

  bool numeric() const {
    return cls != Class::Logical && cls != Class::Char && cls != Class::Other;
  }
  bool empty() const { return m == 0 || n == 0; }
};

// What a host adapter gives the gateway. Calls that allocate return nullptr
// (or throw a std::exception carrying the host's message) on failure.
class Host {
 public:
  // Argument i's class, flags and shape, without its data pointers (a host
  // may convert an array when its data is asked for).
  virtual ArrayView arg(int i) const = 0;
  // Sets the data pointers of `v`, the view of argument i.
  virtual void read(int i, ArrayView* v) const = 0;
  // Argument i read as one double, as the host reads a scalar.
  virtual double scalar(int i) const = 0;
  // Argument i, a character array, as text in buf (at most size - 1 bytes
  // and a terminating 0). False when it cannot be read so or does not fit.
  virtual bool text(int i, char* buf, size_t size) const {
    static_cast<void>(i);
    static_cast<void>(buf);
    static_cast<void>(size);
    return false;
  }
  // A zeroed n x (n+1) complex result in output `slot`.
  virtual cplx* new_field(int32_t n, int slot) = 0;
  // A zeroed rows x cols real result in output `slot`.
  virtual double* new_real(int64_t rows, int64_t cols, int slot) = 0;
  // A character row result holding `text` in output `slot`; false on failure.
  virtual bool new_text(const char* text, int slot) {
    static_cast<void>(text);
    static_cast<void>(slot);
    return false;
  }
  // Zeroed memory that the gateway releases before the call ends.
  virtual void* allocate(size_t bytes) = 0;
  virtual void release(void* p) = 0;
  virtual void print(const char* text) = 0;
  // A line printed while the call works (core/notice.h), from the calling
  // thread; shown at once where the host allows it.
  virtual void notice(const char* text) { print(text); }
  // Whether the user has pressed Ctrl-C since the call began; asked from the
  // calling thread only, at most every few tens of milliseconds.
  virtual bool interrupt_pending() { return false; }
  // Runs once the body has succeeded; must not fail.
  virtual void finish() {}

 protected:
  ~Host() = default;
};

class Call {
 public:
  // The number of arguments and of requested results of this call.
  int inputs() const { return nrhs_; }
  int outputs() const { return nlhs_; }
  // The value of scalar argument `arg` (0-based), as the host reads a scalar.
  double scalar(int arg) const { return values_[arg]; }
  // The same value truncated toward zero to a 32-bit integer.
  int32_t integer(int arg) const { return truncate_int(values_[arg]); }
  // The checked field at argument `arg`.
  const FieldIn& in(int arg) const { return fields_[arg]; }
  // Text argument `arg`, 0-terminated; valid for the call.
  const char* text(int arg) const { return texts_[arg] != nullptr ? texts_[arg] : ""; }
  // Whether argument `arg` (a Word) was given as text.
  bool is_text(int arg) const { return texts_[arg] != nullptr; }
  // Argument `arg` as the host holds it (array arguments).
  ArrayView array(int arg) const {
    ArrayView v = host_.arg(arg);
    host_.read(arg, &v);
    return v;
  }

  // Creates the result field in slot 0 with the shape of the first field
  // argument, and writes its header by the output rule.
  FieldOut out();
  // Creates a result field of dimension n in `slot` (below kMaxResults) with
  // header `h`.
  FieldOut out(int32_t n, const Header& h, int slot = 0);
  // Creates a real rows x cols result in `slot`.
  double* out_real(int64_t rows, int64_t cols, int slot = 0);
  // Creates a character row result holding `text` in `slot`.
  void out_text(const char* text, int slot = 0);
  // Zeroed scratch memory of `count` doubles, freed when the call ends.
  double* scratch(int64_t count);
  // Zeroed scratch memory of `count` complex values, freed when the call ends.
  cplx* scratch_complex(int64_t count);

  // Ends the call with the error `e`, or with `text` of kind `kind`.
  [[noreturn]] void fail(const Error& e) const;
  [[noreturn]] void fail(Err kind, const char* text) const { fail(Error{kind, text}); }

 private:
  friend Error run(const Command&, Host&, int, int, void (*)(Call&), char (&)[256]);
  Call(Host& host, int nlhs, int nrhs) : host_(host), nlhs_(nlhs), nrhs_(nrhs) {}
  void* allocate(int64_t count, size_t size);
  void bind_field(int arg, const char* not_field);
  void bind_text(int arg);
  void release_scratch();

  Host& host_;
  int nlhs_ = 0;
  int nrhs_ = 0;
  void check_slot(int slot) const;

  double values_[kMaxArgs] = {};
  FieldIn fields_[kMaxArgs] = {};
  const char* texts_[kMaxArgs] = {};
  int first_field_ = -1;
  static constexpr int kMaxScratch = 16;
  void* scratch_[kMaxScratch] = {};
  int nscratch_ = 0;
};

// Runs the gateway for `cmd` with `nrhs` arguments and `nlhs` requested
// results, then `body` with the checked call. Returns the error the host must
// raise, or an empty Error; its text may live in `buf`. No exception leaves
// it.
Error run(const Command& cmd, Host& host, int nlhs, int nrhs, void (*body)(Call&),
          char (&buf)[256]);

// Writes `text` into `buf` with every '%' doubled, for a host error call that
// reads its message as a printf format; returns buf.
const char* as_format(const char* text, char (&buf)[512]);

// Elements of `rows` x `cols` values of `bytes` bytes each that any address
// space could hold (refused before anything is allocated otherwise).
bool fits(int64_t rows, int64_t cols, int bytes);

}  // namespace kv

// The command gateway: the one shell every mexFunction runs. A command is a
// row of `Command`; `run` checks the call against it in a fixed order and
// hands the checked arguments to the command's body through `Call`.
#pragma once

#include <cstdint>

#include "core/field.h"
#include "mex.h"

// The one symbol a module exports (everything else is built hidden).
#if defined(__GNUC__)
#define KV_EXPORT __attribute__((visibility("default")))
#else
#define KV_EXPORT
#endif
extern "C" KV_EXPORT void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

namespace kv {

enum Arg : unsigned char {
  None = 0,
  Scalar,  // real-scalar test, then read as a double
  Loose,   // read as a double without the real-scalar test; only an empty or
           // non-numeric value is refused
  Field,   // complex-flag test, then the shape and header test
  Array,   // handed over as it stands (phase and profile arrays)
};

class Call;
// A check that runs once the scalars are read, before any field's shape is
// tested. Returns the message to raise, or nullptr.
using EarlyCheck = const char* (*)(const Call&);

inline constexpr int kMaxArgs = 8;

struct Command {
  const char* name;
  int inputs;
  int outputs;
  Arg args[kMaxArgs];
  const char* banner;
  const char* input_count_msg = nullptr;           // default: "expects <count> input arguments"
  const char* output_count_msg = nullptr;          // default: "expects one output argument"
  const char* field_msgs[2] = {nullptr, nullptr};  // per field argument, in order
  EarlyCheck early = nullptr;
};

extern const char* const kNotAField;    // "Input field is not a Korvane field."
extern const char* const kNotScalar;    // "Input must be real scalar."
extern const char* const kSpherical;    // "No spherical coordinates allowed. Use KVConvert first"
extern const char* const kOutOfMemory;  // "Out of memory."
extern const char* const kTooLarge;     // an output that no machine could address

class Call {
 public:
  // The value of scalar argument `arg` (0-based), as read with mxGetScalar.
  double scalar(int arg) const { return values_[arg]; }
  // The same value truncated toward zero to a 32-bit integer.
  int32_t integer(int arg) const { return truncate_int(values_[arg]); }
  // The checked field at argument `arg`.
  const FieldIn& in(int arg) const;
  // The raw argument `arg` (for array arguments).
  const mxArray* array(int arg) const { return prhs_[arg]; }

  // Creates the result field in slot 0 with the shape of the first field
  // argument, and writes its header by the output rule.
  FieldOut out();
  // Creates a result field of dimension n in `slot` with header `h`.
  FieldOut out(int32_t n, const Header& h, int slot = 0);
  // Creates a real rows x cols result in `slot`.
  double* out_real(int64_t rows, int64_t cols, int slot = 0);
  // Zeroed scratch memory of `count` doubles, freed when the call ends.
  double* scratch(int64_t count);

  // Ends the call with `msg`.
  [[noreturn]] void fail(const char* msg) const;

 private:
  friend void run(const Command&, int, mxArray*[], int, const mxArray*[], void (*)(Call&));
  Call(const Command& cmd, mxArray** plhs, const mxArray** prhs)
      : cmd_(cmd), plhs_(plhs), prhs_(prhs) {}
  void release_scratch();

  const Command& cmd_;
  mxArray** plhs_;
  const mxArray** prhs_;
  double values_[kMaxArgs] = {};
  FieldIn fields_[kMaxArgs] = {};
  int first_field_ = -1;
  static constexpr int kMaxScratch = 16;
  void* scratch_[kMaxScratch] = {};
  int nscratch_ = 0;
};

// Runs the gateway for `cmd`, then `body` with the checked call.
void run(const Command& cmd, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[],
         void (*body)(Call&));

}  // namespace kv

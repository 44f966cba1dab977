#include "core/gateway.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "core/interrupt.h"
#include "core/notice.h"
#include "core/parallel.h"

namespace kv {

const Error kNotAField{Err::NotField, "Input field is not a Korvane field."};
const Error kNotScalar{Err::NotScalar, "Input must be real scalar."};
const Error kSpherical{Err::Spherical, "No spherical coordinates allowed. Use KVConvert first"};
const Error kOutOfMemory{Err::OutOfMemory, "Out of memory."};
const Error kTooLarge{Err::TooLarge,
                      "Grid dimension too large: the result would not fit in memory."};
const Error kGridTooSmall{Err::BadValue, "The minimum grid-dimension of a Korvane field is 8"};
const Error kNotText{Err::BadArray, "Input must be a string."};
const Error kNotWord{Err::BadArray, "Input must be a string or a real scalar."};
const Error kInterrupted{Err::Interrupted, "Interrupted."};

const char* error_id(Err kind) {
  switch (kind) {
    case Err::ArgCount:
      return "Korvane:argCount";
    case Err::NotScalar:
      return "Korvane:notScalar";
    case Err::NotField:
      return "Korvane:notField";
    case Err::BadArray:
      return "Korvane:badArray";
    case Err::Spherical:
      return "Korvane:spherical";
    case Err::Mismatch:
      return "Korvane:mismatch";
    case Err::BadValue:
      return "Korvane:badValue";
    case Err::TooLarge:
      return "Korvane:tooLarge";
    case Err::OutOfMemory:
      return "Korvane:outOfMemory";
    case Err::Interrupted:
      return "Korvane:interrupted";
    case Err::Internal:
      break;
  }
  return "Korvane:internal";
}

const char* as_format(const char* text, char (&buf)[512]) {
  size_t o = 0;
  for (const char* p = text; *p != '\0' && o + 2 < sizeof buf; ++p) {
    if (*p == '%') buf[o++] = '%';
    buf[o++] = *p;
  }
  buf[o] = '\0';
  return buf;
}

namespace {

// Thrown by Call::fail and caught in run, which hands the error back to the
// host adapter; the adapter raises it once it has left every try block.
struct Failure {
  Error e;
};

const char* const kCountWords[kMaxArgs + 1] = {"zero", "one", "two",   "three", "four",
                                               "five", "six", "seven", "eight"};

// The five tests of a real scalar, in this order.
bool real_scalar(const ArrayView& a) {
  return a.numeric() && !a.complex && !a.sparse && a.cls == Class::Double && a.m * a.n == 1;
}

// An argument read without the real-scalar test still needs a value to read.
bool readable_number(const ArrayView& a) { return a.numeric() && !a.empty(); }

// A character row vector, or an empty character array.
bool text_row(const ArrayView& a) {
  return a.cls == Class::Char && !a.sparse && (a.m == 1 || a.empty());
}

// The complex flag marks a field. Octave hands a complex array whose
// imaginary parts are all zero over as a real one, so its builds also take a
// real, full, double array here; so does the Python build, where such fields
// arrive as float64 arrays (saved from Octave, or made with NumPy).
bool complex_flag(const ArrayView& a) {
#if defined(KV_OCTAVE) || defined(KV_PY)
  if (!a.complex && a.cls == Class::Double && !a.sparse) return true;
#endif
  return a.complex;
}

// Real part of element k of a double array.
double real_at(const ArrayView& a, int64_t k) {
  return static_cast<const double*>(a.re)[k * a.stride];
}

// Shape and header test. Reading the samples as doubles needs a full double
// array; the header is read only once the array is known to hold it.
bool field_shape(const ArrayView& a, int32_t* n) {
  if (a.cls != Class::Double || a.sparse) return false;
  if (a.m < 5 || a.m > INT32_MAX || a.n != a.m + 1) return false;
  if (a.re == nullptr) return false;
  const int32_t h = truncate_int(real_at(a, a.m * a.m + kN));
  if (h != a.m) return false;
  *n = h;
  return true;
}

}  // namespace

bool fits(int64_t rows, int64_t cols, int bytes) {
  if (rows < 0 || cols < 0) return false;
  if (rows == 0 || cols == 0) return true;
  const int64_t limit = (INT64_C(1) << 56) / bytes;  // 64 PiB
  return rows <= limit / cols;
}

void Call::fail(const Error& e) const { throw Failure{e}; }

void* Call::allocate(int64_t count, size_t size) {
  if (nscratch_ == kMaxScratch) fail(kOutOfMemory);
  if (count < 1) count = 1;
  if (!fits(count, 1, static_cast<int>(size))) fail(kTooLarge);
  void* p = host_.allocate(static_cast<size_t>(count) * size);
  if (p == nullptr) fail(kOutOfMemory);
  scratch_[nscratch_++] = p;
  return p;
}

double* Call::scratch(int64_t count) {
  return static_cast<double*>(allocate(count, sizeof(double)));
}

cplx* Call::scratch_complex(int64_t count) {
  return static_cast<cplx*>(allocate(count, sizeof(cplx)));
}

void Call::release_scratch() {
  for (int i = 0; i < nscratch_; ++i) host_.release(scratch_[i]);
  nscratch_ = 0;
}

// A result slot no host holds is the command's own fault.
void Call::check_slot(int slot) const {
  if (slot < 0 || slot >= kMaxResults) fail(Err::Internal, "No such result slot.");
}

FieldOut Call::out(int32_t n, const Header& h, int slot) {
  check_slot(slot);
  if (n < 5) fail(Err::BadValue, "A field needs a grid dimension of at least 5.");  // header room
  if (!fits(n, static_cast<int64_t>(n) + 1, sizeof(cplx))) fail(kTooLarge);
  cplx* z = host_.new_field(n, slot);
  if (z == nullptr) fail(kOutOfMemory);
  FieldOut out{z, n};
  write_header(out, h);
  return out;
}

FieldOut Call::out() {
  const FieldIn& in = fields_[first_field_];
  return out(in.n, in.h, 0);
}

void Call::out_text(const char* text, int slot) {
  check_slot(slot);
  if (!host_.new_text(text, slot)) fail(kOutOfMemory);
}

// Room for every character in the host's multibyte form (up to three bytes
// for each UTF-16 unit of MATLAB's) and the terminating 0.
void Call::bind_text(int arg) {
  const ArrayView a = host_.arg(arg);
  const int64_t count = a.m * a.n;
  if (!fits(count, 4, 1)) fail(kTooLarge);
  const int64_t size = 4 * count + 1;
  char* buf = static_cast<char*>(allocate(size, 1));
  if (!host_.text(arg, buf, static_cast<size_t>(size))) fail(kNotText);
  texts_[arg] = buf;
}

double* Call::out_real(int64_t rows, int64_t cols, int slot) {
  check_slot(slot);
  if (!fits(rows, cols, sizeof(double))) fail(kTooLarge);
  double* p = host_.new_real(rows, cols, slot);
  if (p == nullptr) fail(kOutOfMemory);
  return p;
}

// Binds a field that passed the shape test. Interleaved samples and a
// narrowed (real) field are read in place; samples whose imaginary parts the
// host keeps apart are gathered into interleaved scratch once.
void Call::bind_field(int arg, const char* not_field) {
  const ArrayView a = array(arg);
  int32_t n = 0;
  if (!field_shape(a, &n)) fail(Err::NotField, not_field);
  FieldIn& f = fields_[arg];
  const int64_t nn = samples(n);
  double head[5];
  for (int s = 0; s < 5; ++s) head[s] = real_at(a, nn + s);
  f.n = n;
  f.h = read_header(head);
  if (!a.complex) {
    f.re = static_cast<const double*>(a.re);
  } else if (a.stride == 2) {
    f.z = static_cast<const cplx*>(a.re);
  } else {
    const double* re = static_cast<const double*>(a.re);
    const double* im = static_cast<const double*>(a.im);
    cplx* z = scratch_complex(nn);
    parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) z[k] = cplx(re[k], im != nullptr ? im[k] : 0.0);
    });
    f.z = z;
  }
}

Error run(const Command& cmd, Host& host, int nlhs, int nrhs, void (*body)(Call&),
          char (&buf)[256]) {
  if (nrhs == 0) {
    host.print(cmd.banner);
    return Error{};
  }
  const int max_in = cmd.max_inputs > cmd.inputs ? cmd.max_inputs : cmd.inputs;
  const int max_out = cmd.max_outputs > cmd.outputs ? cmd.max_outputs : cmd.outputs;
  if (max_in > kMaxArgs || max_out > kMaxResults) {
    return Error{Err::Internal,
                 "The command table asks for more arguments or results than a host holds."};
  }
  if (nrhs < cmd.inputs || nrhs > max_in) {
    host.print(cmd.banner);
    if (cmd.input_count_msg != nullptr) return Error{Err::ArgCount, cmd.input_count_msg};
    if (max_in > cmd.inputs) {
      std::snprintf(buf, sizeof buf, "expects %s or %s input arguments", kCountWords[cmd.inputs],
                    kCountWords[max_in]);
    } else {
      std::snprintf(buf, sizeof buf, "expects %s input argument%s", kCountWords[cmd.inputs],
                    cmd.inputs == 1 ? "" : "s");
    }
    return Error{Err::ArgCount, buf};
  }
  if (nlhs < cmd.outputs || nlhs > max_out) {
    host.print(cmd.banner);
    return Error{Err::ArgCount,
                 cmd.output_count_msg ? cmd.output_count_msg : "expects one output argument"};
  }

  Call c(host, nlhs, nrhs);
  Error err;
  InterruptScope interrupt([](void* h) { return static_cast<Host*>(h)->interrupt_pending(); },
                           &host);
  NoticeScope notices(
      cmd.name, [](void* h, const char* text) { static_cast<Host*>(h)->notice(text); }, &host);
  try {
    // Scalars and texts first, in argument order; then the complex flag of
    // each field.
    const auto kind = [&](int i) { return arg_kind(cmd, nrhs, i); };
    for (int i = 0; i < nrhs; ++i) {
      if (kind(i) == Scalar && !real_scalar(host.arg(i))) c.fail(kNotScalar);
      if (kind(i) == Loose && !readable_number(host.arg(i))) c.fail(kNotScalar);
      if (kind(i) == Text && !text_row(host.arg(i))) c.fail(kNotText);
      if (kind(i) == Word && !text_row(host.arg(i)) && !real_scalar(host.arg(i))) c.fail(kNotWord);
    }
    int nfield = 0;
    for (int i = 0; i < nrhs; ++i) {
      if (kind(i) != Field) continue;
      const char* field_msg = cmd.field_msgs[nfield] ? cmd.field_msgs[nfield] : kNotAField.text;
      if (!complex_flag(host.arg(i))) c.fail(Err::NotField, field_msg);
      if (c.first_field_ < 0) c.first_field_ = i;
      ++nfield;
    }
    for (int i = 0; i < nrhs; ++i) {
      if (kind(i) == Scalar || kind(i) == Loose) c.values_[i] = host.scalar(i);
      if (kind(i) == Word && !text_row(host.arg(i))) c.values_[i] = host.scalar(i);
    }
    if (cmd.early != nullptr) {
      if (const Error early = cmd.early(c)) c.fail(early);
    }
    nfield = 0;
    for (int i = 0; i < nrhs; ++i) {
      if (kind(i) == Text || (kind(i) == Word && text_row(host.arg(i)))) c.bind_text(i);
      if (kind(i) != Field) continue;
      c.bind_field(i, cmd.field_msgs[nfield] ? cmd.field_msgs[nfield] : kNotAField.text);
      ++nfield;
    }
    body(c);
    // A body that saw the interrupt (interrupt_requested) and finished
    // anyway: the host has taken the interrupt (Python's handler has run and
    // left its exception), so the call must end as interrupted all the same.
    if (interrupt_raised()) throw Interrupted{};
    host.finish();
  } catch (const Failure& f) {
    err = f.e;
  } catch (const Interrupted&) {
    err = kInterrupted;
  } catch (const std::bad_alloc&) {
    err = kOutOfMemory;
  } catch (const std::exception& e) {
    // A host error from inside one of its calls (an allocation that failed);
    // its text may already name the command.
    const char* text = e.what();
    const size_t len = std::strlen(cmd.name);
    if (std::strncmp(text, cmd.name, len) == 0 && std::strncmp(text + len, ": ", 2) == 0) {
      text += len + 2;
    }
    std::snprintf(buf, sizeof buf, "%s", text);
    err = Error{Err::OutOfMemory, buf};
  } catch (...) {
    err = kOutOfMemory;
  }
  c.release_scratch();
  return err;
}

}  // namespace kv

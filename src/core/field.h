// The field record: an N x (N+1) complex array, N x N samples followed by one
// header column, stored interleaved (real, imaginary, real, ...) as
// std::complex<double>. Sample (i, j) is element i*N + j: i is the column and
// goes with x, j is the row and goes with y. The header lives in the real
// parts of the last column.
#pragma once

#include <complex>
#include <cstdint>

namespace kv {

using cplx = std::complex<double>;

// Header slots in the real parts of the last column.
enum HeaderSlot : int { kSize = 0, kLambda = 1, kN = 2, kCurvature = 3, kAux = 4 };

// Truncation toward zero to a 32-bit integer; NaN and values outside the
// 32-bit range give INT32_MIN.
int32_t truncate_int(double v);

// Samples of a grid of n points per side: n*n, in 64 bits.
inline int64_t samples(int32_t n) { return static_cast<int64_t>(n) * n; }

// Grid coordinate of index i: (i - n/2) * d, with n/2 truncated.
inline double grid_x(int64_t i, int32_t n, double d) { return static_cast<double>(i - n / 2) * d; }

struct Header {
  double size = 0;
  double lambda = 0;
  double curvature = 0;
  int32_t aux_int = 0;
};

// A validated input field, read in place. Its samples are either complex
// (`z`) or, for a field that Octave has narrowed to a real array because
// every imaginary part was zero, real (`re`, with `z` null). Kernels read both
// through `with_samples` and `sample`.
struct FieldIn {
  const cplx* z = nullptr;
  const double* re = nullptr;
  int32_t n = 0;
  Header h;
  double dx() const { return h.size / static_cast<double>(n); }
};

// An output field of dimension n: n*(n+1) zeroed complex values.
struct FieldOut {
  cplx* z;
  int32_t n;
};

// Sample k of complex or real samples, as a complex number.
inline cplx sample(const cplx* z, int64_t k) { return z[k]; }
inline cplx sample(const double* re, int64_t k) { return cplx(re[k], 0.0); }

// Calls f(p) with the field's samples: p is `const cplx*` for a complex field
// and `const double*` for a narrowed one, so each kernel is compiled for both.
template <class F>
void with_samples(const FieldIn& in, F f) {
  if (in.z != nullptr) {
    f(in.z);
  } else {
    f(in.re);
  }
}

// Writes the five header slots of `out`: size, lambda, n, curvature, aux_int.
void write_header(const FieldOut& out, const Header& h);

// Reads a header from its five values (size, lambda, n, curvature, aux_int);
// n is not part of the header record.
Header read_header(const double head[5]);

// A plane wave of amplitude 1 and phase 0: every sample 1 + 0i.
void fill_uniform(const FieldOut& out);

// Copies every sample of `in` to `out` unchanged.
void copy_samples(const FieldIn& in, const FieldOut& out);

}  // namespace kv

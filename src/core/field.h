// The field record: an N x (N+1) double array, N x N samples followed by one
// header column. Sample (i, j) is element i*N + j of each plane: i is the
// column and goes with x, j is the row and goes with y.
#pragma once

#include <cstdint>

namespace kv {

// Header slots in the real plane of the last column.
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

// A validated input field. `im` always points at n*n readable values (a zero
// plane when the host handed over a real array).
struct FieldIn {
  const double* re;
  const double* im;
  int32_t n;
  Header h;
  double dx() const { return h.size / static_cast<double>(n); }
};

// An output field of dimension n: planes of n*(n+1) zeroed doubles.
struct FieldOut {
  double* re;
  double* im;
  int32_t n;
};

// Writes the five header slots of `out`: size, lambda, n, curvature, aux_int.
void write_header(const FieldOut& out, const Header& h);

// Reads the header of a field array with n rows, whose real plane is `re`.
Header read_header(const double* re, int32_t n);

}  // namespace kv

namespace kv {

// A plane wave of amplitude 1 and phase 0: every sample 1 + 0i.
void fill_uniform(const FieldOut& out);

}  // namespace kv

// Resampling of a field onto a new square grid, shifted, rotated and
// magnified in the same pass, by bilinear interpolation of the real and the
// imaginary part. Both grids here are spaced side/(n - 1), so the first and
// the last sample of a side lie at -(n/2)*d and (n - 1 - n/2)*d.
#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

enum InterpolResult : int {
  kInterpolOk = 0,
  kInterpolOutOfRange = 1,  // a point fell outside its interpolation cell
};

// Interpolates within the cell whose lower corner (x0, y0) carries f00 and
// whose other corners, d further along x and/or y, carry f10, f01 and f11.
// Writes the value at (X, Y) to *value, or returns kInterpolOutOfRange when
// the point lies outside the cell by more than d*1e-6.
InterpolResult interpolate_cell(double x0, double y0, double d, double f00, double f10, double f01,
                                double f11, double X, double Y, double* value);

// Fills the m*m samples of `out` (m >= 2) with `in` seen through a shift,
// a rotation by `angle` degrees and a magnification: out(p) =
// in(R*(p - shift)/magnification)/magnification, R rotating by -angle. Points
// outside the input grid, or on its first or last sample line, are 0.
// The header of `out` is left to the caller.
InterpolResult interpolate(double new_size, int32_t m, double x_shift, double y_shift, double angle,
                           double magnification, const FieldIn& in, const FieldOut& out);

}  // namespace kv

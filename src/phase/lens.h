// The thin lens: a quadratic phase factor over the field. KVLens calls it
// with the user's focal length and lens position; KVConvert calls it with the
// lens on the axis and f = -1/curvature to take a field out of spherical
// coordinates.
#pragma once

#include "core/field.h"

namespace kv {

enum LensResult : int {
  kLensOk = 0,
  kLensSpherical = 1,  // the input's curvature is not 0; nothing was written
};

// Multiplies every sample of `in` by exp(i*phi), phi = -(s*k/(2*f)) with
// k = 6.2831852/lambda and s = (y - y_shift)^2 + (x - x_shift)^2 on the grid
// size/N, and writes the N*N samples of `out`. The header of `out` is left to
// the caller. Refuses (kLensSpherical) a field whose curvature is not 0, NaN
// included.
LensResult thin_lens(double f, double x_shift, double y_shift, const FieldIn& in,
                     const FieldOut& out);

}  // namespace kv

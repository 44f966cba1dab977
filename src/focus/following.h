// Fresnel propagation in coordinates that follow a converging or diverging
// beam. A field in spherical coordinates of curvature c stands for the
// samples times exp(i*pi*c*(x^2 + y^2)/lambda), the phase front that
// KVConvert multiplies in (its thin lens of focal length -1/c). Over a
// distance z such a front shrinks or grows by m = 1 + c*z, and the Fresnel
// integral factors exactly:
//
//   U_z(x) = (1/m) * V(x/m) * exp(i*pi*(c/m)*x^2/lambda),
//
// V being the samples propagated over z/m on their own grid. So the
// samples are propagated over z/m by the FFT propagator, the grid's side
// becomes |m|*size and the curvature c/m. Past a focus (m < 0) the image is
// inverted, and 1/m carries the focal phase jump of pi.
#pragma once

#include <cstdint>

#include "core/field.h"
#include "propagation/fft_propagation.h"

namespace kv {

// The scaled grid after a distance z, for a field of curvature c on a grid
// of side `size`.
struct Following {
  double m;          // 1 + c*z: the factor on the grid's side
  double distance;   // z/m: what the samples are propagated over
  double size;       // |m|*size
  double curvature;  // c/m
};

// False when m is 0 (z reaches the focus of the curvature: the grid has no
// side there) or not a number.
bool following_grid(double c, double z, double size, Following* g);

// Propagates `in`'s samples as a field of curvature c (in.h.curvature is
// not read) over z in the coordinates of following_grid, and writes the
// n*n samples of `out` (its header is the caller's: size g.size, curvature
// g.curvature); `line` holds n values of scratch. kFftNoPlan if FFTW made
// no plan.
//
// The samples go over z/m by the Fresnel transfer function at every
// distance: it is exact for the periodic copies of a band-limited field, so
// the result is right as long as the beam stays inside its grid in these
// coordinates, which is the condition for the coordinates to hold at all
// (near a focus z/m grows without bound). A sampled impulse response, cut
// at the grid's edge, would add its own ripple there.
FftResult fresnel_following(const Following& g, const FieldIn& in, const FieldOut& out, cplx* line);

}  // namespace kv

// Second moments of a beam: the centroid and the ISO 11146 second-moment
// (D4sigma) widths of its intensity along the principal axes, and the
// intrinsic moments of the complex field (intensity, angular spectrum and
// their mixed moment) from which M^2, the waist and its position follow
// without propagating the field.
//
// Coordinates are those of the grid rule: sample (i, j), i the column (x),
// at x = (i - n/2)*d, y = (j - n/2)*d, d = size/n. Every sum runs over fixed
// blocks (for_blocks), so the results are the same bits at any thread count.
#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

// First and central second moments of a distribution over the grid.
struct Moments {
  double power = 0;       // sum of the intensity (times no area)
  double xc = 0, yc = 0;  // centroid
  double xx = 0, yy = 0;  // <(x - xc)^2>, <(y - yc)^2>
  double xy = 0;          // <(x - xc)(y - yc)>
};

enum BeamResult : int {
  kBeamOk = 0,
  kBeamNoPower = 1,    // the intensity sums to 0
  kBeamNotFinite = 2,  // a sample, or the sum, is not finite
  kBeamNegative = 3,   // an intensity array holds a negative value
  kBeamNoPlan = 4,     // FFTW made no plan
};

// The moments of |samples|^2 of a field.
BeamResult field_moments(const FieldIn& in, Moments* m);

// The moments of an n x n intensity array on a grid of spacing d.
BeamResult intensity_moments(const double* intensity, int32_t n, double d, Moments* m);

// The diameters along the principal axes of second moments xx, yy, xy and
// the azimuth of the x-like axis, phi in (-pi/4, pi/4]: dx = 4*sqrt of the
// moment along phi, dy the one across. A round beam (dx and dy equal within
// 1e-12 of the larger) gets phi = 0.
struct Widths {
  double dx = 0, dy = 0, phi = 0;
};
Widths principal_widths(double xx, double yy, double xy);

// M^2, the waist radius (half the D4sigma diameter at the waist) and the
// waist position, relative to the field's plane, along the two principal
// axes of the intensity.
struct Quality {
  double m2x = 0, m2y = 0;
  double w0x = 0, w0y = 0;
  double z0x = 0, z0y = 0;
};

// Complex scratch that beam_quality needs: two n x n planes.
int64_t beam_quality_scratch(int32_t n);

// The intrinsic moments of the field: the intensity's, those of its angular
// spectrum (angles lambda*f, from the FFT of the samples) and the mixed
// moments sum x*Im(conj(E)*dE/dx)/(k*P) with the derivatives formed
// spectrally. `scratch` holds beam_quality_scratch(n) complex values.
BeamResult beam_quality(const FieldIn& in, cplx* scratch, Quality* q);

}  // namespace kv

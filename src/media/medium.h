// Propagation through a refractive-index distribution by a symmetric split
// step: half a step of exact (non-paraxial) diffraction in a homogeneous
// medium of a reference index, the refraction phase of the difference from
// it over the whole step, and the other half step of diffraction. The half
// steps of consecutive steps are merged, so that a step costs one FFT pair.
//
// The reference index of a slice is the largest Re(n) over it. That makes
// the step exact in a homogeneous medium, and accurate where light is guided:
// the diffraction term is right where the index is high, and the light is
// there. (The midpoint of the range would halve the largest |n - n_ref| but
// puts the error where the light is: in a parabolic profile that reaches far
// below its peak, neff comes out 1e-4 off.) The guided modes (media/mode.h)
// are eigenfunctions of the same operator with the same reference index.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/field.h"
#include "core/gateway.h"

namespace kv {

enum MediumResult : int {
  kMediumOk = 0,
  kMediumSpherical = 1,  // the input's curvature is not 0; nothing written
  kMediumNoPlan = 2,     // FFTW made no plan; the output is incomplete
};

// What KVMedium is asked to do.
struct MediumRequest {
  double z = 0;         // length of the medium, >= 0
  int32_t steps = 1;    // number of steps, >= 1, a multiple of slices
  double absorber = 0;  // width of the absorbing edge per side, fraction of size
};

// The index as the host holds it: 1 x 1, n x n, or n rows of n*slices values
// (an n x n x K array), of any numeric class, real or complex, full (a
// sparse index is widened by the caller). Element (i, j) of slice s is
// element s*n*n + i*n + j.
struct IndexArray {
  ArrayView a;
  int64_t slices = 1;
  bool scalar = false;
};

// The symbol of the diffraction step relative to the reference wavenumber
// kr: sqrt(kr^2 - kt2) - kr where the wave propagates, written without the
// cancellation at small kt2, and -sqrt(kt2 - kr^2) - kr where it is
// evanescent (the real, decreasing continuation KVMode uses).
inline double medium_kinetic(double kr, double kt2) {
  const double w = kr * kr - kt2;
  if (w >= 0.0) return -kt2 / (std::sqrt(w) + kr);
  return -std::sqrt(-w) - kr;
}

// The reference index of a slice whose real parts lie in [lo, hi].
inline double medium_reference(double lo, double hi) {
  static_cast<void>(lo);
  return hi;
}

// The absorption coefficient (per unit length) of the absorbing edge at the
// sample index i of a grid of n samples, spacing d, absorber width `width`
// (in length units): zero inside, rising as the square of the depth into the
// edge to its largest value at the seam of the periodic grid.
double medium_absorption(int64_t i, int32_t n, double d, double width, double lambda);

// Complex scratch values medium_propagate needs: one n x n table, three
// quarter tables of (n/2 + 1)^2 and a few lines.
int64_t medium_scratch_count(int32_t n);

// The smallest and largest real part of the finite values of slice s (NaN
// when it has none).
void medium_index_range(const IndexArray& index, int32_t n, int64_t slice, double* lo, double* hi);

// Propagates `in` through the medium into `out` (its samples; the header is
// the caller's). `ixz`, when not null, receives n x (steps + 1) values: the
// intensity along x on the row j = n/2 before the first step and after each
// step (column s at ixz + s*n). Calls stop_point() between steps.
MediumResult medium_propagate(const MediumRequest& request, const IndexArray& index,
                              const FieldIn& in, const FieldOut& out, double* ixz, cplx* scratch);

}  // namespace kv

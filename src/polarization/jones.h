// Polarization over a pair of fields on one grid: Fx and Fy, the x and y
// components of one beam. A Jones matrix acts on every sample; the Stokes
// parameters are read out sample by sample.
//
// The toolbox's fields carry the time dependence exp(-i*omega*t) (a wave
// travelling along +z is exp(i*(k*z - omega*t)); KVLens, KVTilt and the
// propagators follow from it), so a delay is a positive phase.
#pragma once

#include "core/field.h"
#include "core/gateway.h"

namespace kv {

// A 2 x 2 complex matrix acting on (Fx, Fy): x' = a*x + b*y, y' = c*x + d*y.
struct Jones {
  cplx a, b, c, d;
};

// The same checks as the polarizer's, in its order: the grid dimensions, the
// sizes, the wavelengths (exact comparisons; NaN is unequal), then each
// curvature against 0. An empty Error when the pair is one beam.
Error check_pair(const FieldIn& fx, const FieldIn& fy);

// A linear retarder: the component along the fast axis, at `angle` from x
// towards y, passes unchanged; the one along the slow axis is delayed by
// `retardance` (multiplied by exp(i*retardance)).
Jones wave_plate(double retardance, double angle);

// A linear polarizer passing the component along `angle`.
Jones linear_polarizer(double angle);

// A rotation of the polarization by `angle` from x towards y.
Jones rotator(double angle);

// (out_x, out_y) = J (fx, fy) for every sample; out_x and out_y have fx's
// dimension.
void apply_jones(const Jones& j, const FieldIn& fx, const FieldIn& fy, const FieldOut& out_x,
                 const FieldOut& out_y);

// The Stokes parameters of every sample, in the fields' storage order:
//   S0 = |x|^2 + |y|^2, S1 = |x|^2 - |y|^2,
//   S2 = 2*Re(conj(x)*y), S3 = 2*Im(conj(x)*y).
// A null pointer skips that parameter.
void stokes(const FieldIn& fx, const FieldIn& fy, double* s0, double* s1, double* s2, double* s3);

}  // namespace kv

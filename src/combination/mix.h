#pragma once

#include "core/field.h"

namespace kv {

// Result codes of the two-field computations; the command turns each
// non-zero code into its message. On a non-zero code no sample is written.
enum MixResult : int {
  kMixDone = 0,
  kMixSpherical = 1,      // beam mixing: a curvature is not 0
  kMixUnequalSizes = 3,   // beam mixing: the sizes differ
  kPolSpherical = 6,      // polarizer: a curvature is not 0
  kPolUnequalLambda = 9,  // polarizer: the wavelengths differ
  kPolUnequalSizes = 10,  // polarizer: the sizes differ
};

// out = a + b, sample by sample. Both fields have out.n samples per side.
// The sizes are compared exactly (NaN is unequal), then each curvature
// against 0.
int beam_mix(const FieldIn& a, const FieldIn& b, const FieldOut& out);

// out = cos(phi) * fx + sin(phi) * fy. Compares the sizes, then the
// wavelengths, exactly (NaN is unequal), then each curvature against 0.
int polarize(double phi, const FieldIn& fx, const FieldIn& fy, const FieldOut& out);

}  // namespace kv

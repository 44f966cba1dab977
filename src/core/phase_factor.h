// Multiplication of one sample by exp(i*phi): the phase factor of every
// element that changes only the phase.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/field.h"

namespace kv {

// v * exp(i*phi), written out in real arithmetic (no complex operators, so
// NaN and infinite parts follow the plain formulas).
inline cplx turn(cplx v, double phi) {
  const double cp = std::cos(phi);
  const double sp = std::sin(phi);
  const double re = v.real();
  const double im = v.imag();
  return cplx(cp * re - sp * im, sp * re + cp * im);
}

// Sample k of `z` (complex or narrowed samples) turned by phi into out.z[k].
template <class Z>
inline void phase_sample(const Z* z, const FieldOut& out, int64_t k, double phi) {
  out.z[k] = turn(sample(z, k), phi);
}

}  // namespace kv

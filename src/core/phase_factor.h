// Multiplication of one sample by exp(i*phi): the phase factor of every
// element that changes only the phase.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/field.h"

namespace kv {

inline void phase_sample(const FieldIn& in, const FieldOut& out, int64_t k, double phi) {
  const double cp = std::cos(phi);
  const double sp = std::sin(phi);
  const double re = in.re[k];
  const double im = in.im[k];
  out.re[k] = cp * re - sp * im;
  out.im[k] = sp * re + cp * im;
}

}  // namespace kv

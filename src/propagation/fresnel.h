// Fresnel integrals S(x) and C(x) by rational approximations.
#pragma once

namespace kv {

struct Fresnel {
  double s;  // integral from 0 to x of sin(pi t^2 / 2) dt
  double c;  // integral from 0 to x of cos(pi t^2 / 2) dt
};

// Three ranges of |x|: a rational series below t^2 = 2.5625, the
// asymptotic auxiliary functions f and g up to 36974, and 1/2 beyond.
// Odd in x. A NaN argument gives NaN for both; +-inf gives +-1/2.
Fresnel fresnel_integrals(double x);

}  // namespace kv

// Zernike aberration: one term exp(i*A*Z_n^m(rho, theta)) over the field,
// rho the distance from the grid centre in units of R.
#pragma once

#include <array>
#include <cstdint>

#include "core/field.h"

namespace kv {

enum ZernikeResult : int {
  kZernikeOk = 0,
  kZernikeNegativeN = 1,  // n < 0; nothing was written
  kZernikeBadM = 2,       // m is not one of n, n-2, ..., -n; nothing was written
};

// q! as a double, the product q*(q-1)*...*1 taken in that order; 0! = 1.
// Exact up to 22!, infinite above 170!. A negative q gives NaN.
double factorial(int64_t q);

// The radial polynomial R_n^|m| for one pair of valid orders (0 <= |m| <= n,
// n - m even), without normalisation. Its factorials are taken once, when it
// is built, so evaluating it costs one pow, one multiplication and one
// division per term.
class ZernikeRadial {
 public:
  // Above this order n! overflows and no value of the polynomial is finite.
  static constexpr int32_t kMaxFiniteOrder = 170;

  ZernikeRadial(int32_t n, int32_t m);

  // Sum over s = 0 .. (n-|m|)/2 of
  // (sign * (n-s)! * rho^(n-2s)) / (((n-|m|)/2-s)! * (((n+|m|)/2-s)! * s!)),
  // the sign alternating from +1 and rho^0 taken as 1 (no terms, so 0, when
  // |m| > n). Above kMaxFiniteOrder the sum is never finite; NaN is returned
  // in its place.
  double operator()(double rho) const;

  // True above kMaxFiniteOrder.
  bool overflows() const { return n_ > kMaxFiniteOrder; }

 private:
  static constexpr int kMaxTerms = kMaxFiniteOrder / 2 + 1;
  int32_t n_;
  int terms_ = 0;
  std::array<double, kMaxTerms> num_{};  // sign * (n-s)!
  std::array<double, kMaxTerms> den_{};  // ((n-|m|)/2-s)! * (((n+|m|)/2-s)! * s!)
};

// Checks the orders: kZernikeNegativeN, kZernikeBadM or kZernikeOk.
ZernikeResult zernike_orders(int32_t n, int32_t m);

// Z_n^m(rho, theta): sin(m*theta)*R for m > 0, cos(m*theta)*R for m <= 0.
double zernike(const ZernikeRadial& radial, int32_t m, double rho, double theta);

// sin(m*theta) for m > 0, cos(m*theta) for m <= 0, theta the angle of
// (x, y), without the angle: from cos(theta) = x/r and sin(theta) = y/r,
// r = sqrt(x^2 + y^2), by the Chebyshev recurrence t_(j+1) = 2*cos(theta)*t_j
// - t_(j-1), |m| - 1 steps (near theta = 0 and pi in Reinsch's form, whose
// error grows as |m| rather than m^2). Where x^2 + y^2 is not a normal double
// (0, subnormal, infinite or NaN) it is taken from atan2(y, x) as `zernike`
// does. Within 4e-14 of the exact value for |m| <= 170, closer than
// sin(m*atan2(y, x)) itself at large |m|.
double zernike_angular(int32_t m, double x, double y);

// Multiplies every sample of `in` by exp(i*phi), phi = A*Z_n^m(rho, theta),
// rho = sqrt((y^2 + x^2)/(R*R)); the angular factor is zernike_angular(m, x,
// y) off the line x = 0, and that of theta = 1.570796327 (y >= 0) or
// 4.712388981 (y < 0) on it. Checks the orders first and writes nothing when
// they are refused. The header of `out` is left to the caller.
ZernikeResult zernike_phase(int32_t n, int32_t m, double r, double a, const FieldIn& in,
                            const FieldOut& out);

}  // namespace kv

#include "phase/zernike.h"

#include <cmath>
#include <limits>

#include "core/phase_factor.h"

namespace kv {

double factorial(int64_t q) {
  if (q < 0) return std::numeric_limits<double>::quiet_NaN();
  double f = 1.0;
  for (int64_t v = q; v > 0; --v) f *= static_cast<double>(v);
  return f;
}

ZernikeRadial::ZernikeRadial(int32_t n, int32_t m) : n_(n) {
  if (n > kMaxFiniteOrder) return;
  const int64_t k = m < 0 ? -static_cast<int64_t>(m) : m;
  const int64_t low = (n - k) / 2;
  const int64_t high = (n + k) / 2;
  double sign = 1.0;
  for (int64_t s = 0; s <= low && terms_ < kMaxTerms; ++s) {
    num_[terms_] = sign * factorial(n - s);
    den_[terms_] = factorial(low - s) * (factorial(high - s) * factorial(s));
    ++terms_;
    sign = -sign;
  }
}

double ZernikeRadial::operator()(double rho) const {
  if (overflows()) return std::numeric_limits<double>::quiet_NaN();
  double sum = 0.0;
  for (int s = 0; s < terms_; ++s) {
    const int32_t e = n_ - 2 * s;
    const double p = e == 0 ? 1.0 : std::pow(rho, static_cast<double>(e));
    sum += (num_[s] * p) / den_[s];
  }
  return sum;
}

ZernikeResult zernike_orders(int32_t n, int32_t m) {
  if (n < 0) return kZernikeNegativeN;
  const int64_t k = m < 0 ? -static_cast<int64_t>(m) : m;
  if (k > n || (static_cast<int64_t>(n) - m) % 2 != 0) return kZernikeBadM;
  return kZernikeOk;
}

double zernike(const ZernikeRadial& radial, int32_t m, double rho, double theta) {
  const double mt = static_cast<double>(m) * theta;
  return (m > 0 ? std::sin(mt) : std::cos(mt)) * radial(rho);
}

ZernikeResult zernike_phase(int32_t n, int32_t m, double r, double a, const FieldIn& in,
                            const FieldOut& out) {
  const ZernikeResult orders = zernike_orders(n, m);
  if (orders != kZernikeOk) return orders;

  const int32_t size = in.n;
  const ZernikeRadial radial(n, m);
  if (radial.overflows()) {
    // The first term is n! (infinite) times a power, over a finite or
    // infinite product: infinite or NaN. No finite term can bring the sum
    // back, so A*Z is never finite and neither are cos and sin of it: every
    // sample is NaN, whatever rho, theta, A or the input.
    const double inf = std::numeric_limits<double>::infinity();
    const int64_t nn = samples(size);
    with_samples(in, [&](auto* z) {
      for (int64_t k = 0; k < nn; ++k) phase_sample(z, out, k, inf);
    });
    return kZernikeOk;
  }

  const double d = in.dx();
  const double r2 = r * r;
  with_samples(in, [&](auto* z) {
    for (int64_t i = 0; i < size; ++i) {
      const double x = grid_x(i, size, d);
      const double xx = x * x;
      const int64_t row = i * size;
      for (int64_t j = 0; j < size; ++j) {
        const double y = grid_x(j, size, d);
        const double rho = std::sqrt((y * y + xx) / r2);
        double theta;
        if (x != 0.0) {  // NaN counts as not 0
          theta = std::atan2(y, x);
        } else {
          theta = y >= 0.0 ? 1.570796327 : 4.712388981;
        }
        phase_sample(z, out, row + j, zernike(radial, m, rho, theta) * a);
      }
    }
  });
  return kZernikeOk;
}

}  // namespace kv

#include "phase/zernike.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "core/parallel.h"
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

double zernike_angular(int32_t m, double x, double y) {
  const double rr = y * y + x * x;
  if (!(rr >= DBL_MIN && rr <= DBL_MAX)) {
    // Too small or too large to square, or not finite: from the angle.
    const double mt = static_cast<double>(m) * std::atan2(y, x);
    return m > 0 ? std::sin(mt) : std::cos(mt);
  }
  const double r = std::sqrt(rr);
  const double c = x / r;
  const double s = y / r;
  const bool sine = m > 0;
  const int64_t k = m < 0 ? -static_cast<int64_t>(m) : m;
  if (k == 0) return 1.0;
  // t_j = cos(j*theta) or sin(j*theta), t_(j+1) = 2*c*t_j - t_(j-1), from
  // t_1 = c or s. Near theta = 0 and pi, where 2*c is near +-2 and the plain
  // recurrence loses digits as m^2, it is taken in the differences
  // t_j -+ t_(j-1) (Reinsch), with 2*(c -+ 1) formed without cancellation.
  double t = sine ? s : c;
  if (c > 0.5) {
    const double lam = -2.0 * (y * y) / (r * (r + x));  // 2*(c - 1)
    double diff = sine ? s : 0.5 * lam;                 // t_1 - t_0
    for (int64_t j = 1; j < k; ++j) {
      diff += lam * t;
      t += diff;
    }
  } else if (c < -0.5) {
    const double mu = 2.0 * (y * y) / (r * (r - x));  // 2*(c + 1)
    double sum = sine ? s : 0.5 * mu;                 // t_1 + t_0
    for (int64_t j = 1; j < k; ++j) {
      sum = mu * t - sum;
      t = sum - t;
    }
  } else {
    const double two_c = c + c;
    double prev = sine ? 0.0 : 1.0;
    for (int64_t j = 1; j < k; ++j) {
      const double next = two_c * t - prev;
      prev = t;
      t = next;
    }
  }
  return t;
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
      parallel_for(nn, kGrainMath, [=](int64_t k0, int64_t k1) {
        for (int64_t k = k0; k < k1; ++k) phase_sample(z, out, k, inf);
      });
    });
    return kZernikeOk;
  }

  const double d = in.dx();
  const double r2 = r * r;
  // On the line x = 0 the angle is taken as 1.570796327 (y >= 0) or
  // 4.712388981 (y < 0): two values for the whole line.
  const double mt_up = static_cast<double>(m) * 1.570796327;
  const double mt_down = static_cast<double>(m) * 4.712388981;
  const double axis_up = m > 0 ? std::sin(mt_up) : std::cos(mt_up);
  const double axis_down = m > 0 ? std::sin(mt_down) : std::cos(mt_down);
  with_samples(in, [&](auto* z) {
    parallel_for(size, column_grain(size, kGrainMath), [=](int64_t i0, int64_t i1) {
      for (int64_t i = i0; i < i1; ++i) {
        const double x = grid_x(i, size, d);
        const double xx = x * x;
        const int64_t row = i * size;
        for (int64_t j = 0; j < size; ++j) {
          const double y = grid_x(j, size, d);
          const double rho = std::sqrt((y * y + xx) / r2);
          double angular;
          if (x != 0.0) {  // NaN counts as not 0
            angular = zernike_angular(m, x, y);
          } else {
            angular = y >= 0.0 ? axis_up : axis_down;
          }
          phase_sample(z, out, row + j, (angular * radial(rho)) * a);
        }
      }
    });
  });
  return kZernikeOk;
}

}  // namespace kv

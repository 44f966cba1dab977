#include "turbulence/psd.h"

#include <cmath>
#include <limits>

namespace kv {

namespace {

// 8-point Gauss-Legendre nodes and weights on [-1, 1].
constexpr double kGlNode[8] = {-0.96028985649753618, -0.79666647741362673, -0.52553240991632899,
                               -0.18343464249564978, 0.18343464249564978,  0.52553240991632899,
                               0.79666647741362673,  0.96028985649753618};
constexpr double kGlWeight[8] = {0.10122853629037669, 0.22238103445337434, 0.31370664587788705,
                                 0.36268378337836177, 0.36268378337836177, 0.31370664587788705,
                                 0.22238103445337434, 0.10122853629037669};

// The integral of f over [a, b] in `panels` equal panels.
template <class F>
double gauss_panels(F f, double a, double b, int panels) {
  const double h = (b - a) / panels;
  double sum = 0.0;
  for (int p = 0; p < panels; ++p) {
    const double mid = a + (p + 0.5) * h;
    double s = 0.0;
    for (int k = 0; k < 8; ++k) s += kGlWeight[k] * f(mid + 0.5 * h * kGlNode[k]);
    sum += 0.5 * h * s;
  }
  return sum;
}

}  // namespace

double TurbSpectrum::psd(double f2) const {
  const double base = f2 + f0sq;
  if (!(base > 0.0)) return std::numeric_limits<double>::infinity();
  return kTurbPsdConstant * std::exp(-(11.0 / 6.0) * std::log(base) - f2 * inv_fm2);
}

TurbSpectrum turb_spectrum(double L0, double l0) {
  TurbSpectrum s;
  s.f0sq = std::isinf(L0) ? 0.0 : 1.0 / (L0 * L0);
  const double a = 2.0 * kTurbPi * l0 / 5.92;
  s.inv_fm2 = a * a;
  return s;
}

double one_minus_j0(double u) {
  u = std::fabs(u);
  if (u <= 12.0) {
    // 1 - J0(u) = sum_{k>=1} (-1)^(k+1) (u^2/4)^k / (k!)^2
    const double q = 0.25 * u * u;
    double term = q;
    double sum = 0.0;
    for (int k = 1; k < 80; ++k) {
      sum += term;
      term *= -q / (static_cast<double>(k + 1) * static_cast<double>(k + 1));
      if (std::fabs(term) < 1e-17 * std::fabs(sum)) break;
    }
    return sum;
  }
  // J0(u) = sqrt(2/(pi u)) (P cos(u - pi/4) - Q sin(u - pi/4)), with
  // a_k = prod_{j<=k} (-(2j-1)^2) / (k! 8^k), P = sum (-1)^k a_2k/u^2k,
  // Q = sum (-1)^k a_(2k+1)/u^(2k+1); summed while the terms shrink.
  double p = 1.0;
  double q = 0.0;
  double t = 1.0;  // a_k / u^k
  double last = 1.0;
  for (int k = 1; k < 60; ++k) {
    const double odd = 2.0 * k - 1.0;
    t *= -odd * odd / (8.0 * k * u);
    const double mag = std::fabs(t);
    if (mag >= last || mag < 1e-17) break;
    last = mag;
    // k even: (-1)^(k/2) a_k into P; k odd: (-1)^((k-1)/2) a_k into Q.
    const double sign = ((k / 2) % 2 == 0) ? 1.0 : -1.0;
    if (k % 2 == 0) {
      p += sign * t;
    } else {
      q += sign * t;
    }
  }
  const double chi = u - 0.25 * kTurbPi;
  const double j0 = std::sqrt(2.0 / (kTurbPi * u)) * (p * std::cos(chi) - q * std::sin(chi));
  return 1.0 - j0;
}

double turb_structure_theory(const TurbSpectrum& s, double r) {
  if (!(r > 0.0)) return 0.0;
  // u = 2 pi f r: D = 4 pi/(2 pi r)^2 * integral PSD(u/(2 pi r)) (1 - J0(u)) u du.
  const double k = 2.0 * kTurbPi * r;
  const double inv_k2 = 1.0 / (k * k);
  auto g = [&](double u) { return s.psd(u * u * inv_k2); };
  // Below u = 1 in ln u, from u = 1e-20 (what lies below is below 1e-6 of
  // D even without an outer scale).
  const double low = gauss_panels(
      [&](double t) {
        const double u = std::exp(t);
        return g(u) * one_minus_j0(u) * u * u;
      },
      std::log(1e-20), 0.0, 24);
  // Up to U in panels of a quarter period of J0's oscillation; beyond U
  // the oscillating part has died out below 1e-7 of D, and 1 - J0 is 1.
  // Below the outer scale's knee at u = 2 pi r f0 the spectrum is flat and
  // J0's oscillation does not die out: U lies well beyond the knee.
  const double knee = k * std::sqrt(s.f0sq);
  const double upper = 60.0 * knee > 200.0 ? 60.0 * knee : 200.0;
  const int panels = static_cast<int>(std::ceil((upper - 1.0) / (0.5 * kTurbPi)));
  const double mid =
      gauss_panels([&](double u) { return g(u) * one_minus_j0(u) * u; }, 1.0, upper, panels);
  const double high = gauss_panels(
      [&](double t) {
        const double u = std::exp(t);
        return g(u) * u * u;
      },
      std::log(upper), std::log(upper) + 60.0, 30);
  return 4.0 * kTurbPi * inv_k2 * (low + mid + high);
}

double turb_cell_moment(const TurbSpectrum& s, double cx, double cy, double h) {
  double sum = 0.0;
  for (int i = 0; i < 8; ++i) {
    const double fx = cx + 0.5 * h * kGlNode[i];
    for (int j = 0; j < 8; ++j) {
      const double fy = cy + 0.5 * h * kGlNode[j];
      const double f2 = fx * fx + fy * fy;
      sum += kGlWeight[i] * kGlWeight[j] * s.psd(f2) * f2;
    }
  }
  return 0.25 * h * h * sum;
}

}  // namespace kv

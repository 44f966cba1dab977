// The phase statistics of atmospheric turbulence: the modified von Karman
// phase spectrum and the structure function it stands for.
//
// Frequencies are in cycles per metre. For a Fried parameter r0,
//   PSD(f) = 0.022896 r0^(-5/3) exp(-(f/fm)^2) / (f^2 + f0^2)^(11/6),
//   fm = 5.92/(2 pi l0), f0 = 1/L0,
// with L0 = Inf (f0 = 0) for no outer scale and l0 = 0 (fm = Inf) for no
// inner scale. Everything here is for r0 = 1; a spectrum scales as
// r0^(-5/3), a phase as r0^(-5/6).
#pragma once

namespace kv {

constexpr double kTurbPsdConstant = 0.022896;
constexpr double kTurbPi = 3.141592653589793;

struct TurbSpectrum {
  double f0sq = 0.0;     // 1/L0^2; 0: no outer scale
  double inv_fm2 = 0.0;  // 1/fm^2 = (2 pi l0/5.92)^2; 0: no inner scale

  // PSD at the squared frequency f2 (r0 = 1). At f2 = 0 without an outer
  // scale it is +Inf.
  double psd(double f2) const;
};

// The spectrum of outer scale L0 (> 0, Inf allowed) and inner scale l0
// (>= 0, finite).
TurbSpectrum turb_spectrum(double L0, double l0);

// 1 - J0(u), accurate to about 1e-12 for every u >= 0 (no cancellation at
// small u): the power series up to u = 12, Hankel's asymptotic expansion
// beyond.
double one_minus_j0(double u);

// The phase structure function of the spectrum at separation r >= 0
// (r0 = 1):
//   D(r) = 4 pi * integral_0^Inf PSD(f) (1 - J0(2 pi f r)) f df,
// by Gauss-Legendre panels (about 1e-7 relative). Kolmogorov turbulence
// gives 6.8839 r^(5/3).
double turb_structure_theory(const TurbSpectrum& s, double r);

// The integral of PSD(f)*|f|^2 over the square cell of side h centred on
// (cx, cy), by 8 x 8-point Gauss-Legendre (r0 = 1); the cell must not hold
// the origin.
double turb_cell_moment(const TurbSpectrum& s, double cx, double cy, double h);

}  // namespace kv

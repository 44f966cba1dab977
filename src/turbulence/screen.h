// Random phase screens of atmospheric turbulence on a field's grid.
//
// A screen is a sum of independent Gaussian modes exp(2 pi i f.x), each pair
// (f, -f) with real sum, whose weights W(f) (mean squared amplitude) make up
// the spectrum of psd.h. Its expected structure function along x (and,
// the weights being symmetric, along y) is exactly
//   E[D(r)] = sum over modes of W(f) (2 - 2 cos(2 pi fx r)) + tilt*r^2,
// which turb_expected_structure evaluates. The modes are
// - the FFT cells f = (p, q)/size, |p|, |q| <= n/2, weighted by the spectrum
//   at the cell centre summed over the cell's nine nearest aliases f +
//   (a, b) n/size, |a|, |b| <= 1, so that the sampled screen carries the
//   power above the grid's Nyquist frequency as a continuous screen sampled
//   on the grid does; the origin cell is left out;
// - the eight cells next to the origin, and every subharmonic cell, weighted
//   by the integral of PSD*|f|^2 over the cell divided by |fc|^2 at its
//   centre fc, the weight that gives the cell its true share of D(r) at small
//   r (the spectrum varies by orders of magnitude across such a cell);
// - eight levels of subharmonics: at level k = 1..8, the eight cells of side
//   1/(3^k size) around the origin (the centre cell is the next level's);
// - a random tilt of variance `tilt` per axis (rad/m squared). An FFT screen
//   is periodic over the grid, so its mean gradient over the grid is 0; the
//   missing tilt makes its structure function fall short by an amount close
//   to c*r^2 (5 % at r = size/4 for Kolmogorov turbulence). The tilt variance
//   c is set so that E[D] equals the theory at r = (n/4) samples.
#pragma once

#include <cstdint>

#include "core/field.h"
#include "turbulence/psd.h"

namespace kv {

constexpr int kTurbLevels = 8;

struct TurbParams {
  int32_t seed = 0;
  double r0 = 1.0;  // > 0; Inf gives zeros
  double L0 = 0.0;  // > 0; Inf: no outer scale
  double l0 = 0.0;  // >= 0, finite
};

enum TurbResult : int {
  kTurbOk = 0,
  kTurbNoPlan = 1,  // FFTW made no plan; the output is incomplete
};

// Scratch that turb_screen needs beside its n x n output: complex values
// (the half spectrum) and doubles (the low-frequency basis).
int64_t turb_half_count(int32_t n);
int64_t turb_basis_count(int32_t n);

// A screen in radians on the grid of n samples over `size` (spacing size/n,
// sample (i, j) at ((i - n/2) d, (j - n/2) d), element i*n + j). `out` holds
// n*n doubles, `half` turb_half_count(n) complex values and `basis`
// turb_basis_count(n) doubles. The draws are Philox4x32-10 under the key
// (seed, 0x4B565453): each FFT cell, subharmonic pair and the tilt its own
// counter, so the screen does not depend on the order of the work. r0 is a
// factor r0^(-5/6) on every mode. A size that is not a positive finite
// number gives NaN everywhere.
TurbResult turb_screen(const TurbParams& p, int32_t n, double size, double* out, cplx* half,
                       double* basis);

// The expected structure function E[D(k*size/n)], k = 0 .. count - 1, of
// the screens turb_screen draws for these parameters (seed unused), along x
// or y, in rad^2. Allocates its own working memory (about n^2/4 doubles).
void turb_expected_structure(const TurbParams& p, int32_t n, double size, double* d, int64_t count);

// The tilt variance per axis, rad^2/m^2, of these screens (r0 included).
double turb_tilt_variance(const TurbParams& p, int32_t n, double size);

}  // namespace kv

// Guided modes of a real index distribution: eigenfunctions of the generator
// of KVMedium's step, H = (sqrt(kr^2 + laplacian) - kr) + k0*(n - n_ref),
// kr = k0*n_ref, with n_ref the same reference index (media/medium.h). The
// first term is diagonal in the spectrum (its real continuation where the
// wave is evanescent, medium_kinetic), the second on the samples; H maps
// real samples to real samples, and a mode with eigenvalue h has
// neff = n_ref + h/k0. The largest eigenvalues are found by a block
// preconditioned conjugate-gradient iteration (LOBPCG) with the inverse of
// (c - kinetic term) as preconditioner.
#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

enum ModeResult : int {
  kModeOk = 0,
  kModeNotGuided = 1,  // fewer than m + 1 modes are guided; *guided says how many
  kModeNoPlan = 2,     // FFTW made no plan
};

// The largest mode number asked for.
constexpr int32_t kMaxModeNumber = 60;

// Doubles of scratch guided_mode needs for mode m on an n x n grid.
int64_t mode_scratch_count(int32_t n, int32_t m);

// Mode m (0: the highest neff) of the real n x n index `index` (element
// i*n + j) on a grid of side `size` at vacuum wavelength `lambda`. On
// success writes the n*n samples of `out` (real, power sum |.|^2*(size/n)^2
// of 1, largest sample positive; a degenerate set is turned so that its
// first member carries the most power on the row j = n/2, the next the most
// of what is left, ...) and *neff. *guided receives the number of guided
// modes found among the m + 1 highest (a mode is guided when its neff
// exceeds the largest index on the grid's edge).
ModeResult guided_mode(const double* index, int32_t m, int32_t n, double size, double lambda,
                       double* scratch, cplx* out, double* neff, int32_t* guided);

}  // namespace kv

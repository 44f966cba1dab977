// In-place complex FFTs through FFTW, with the plans kept for later calls of
// the same size. The first transform of a size is planned at the level
// fft_planner() names (fft_planner.h) and later ones at that level reuse the
// plan; the caller's data is the same afterwards whatever the level. The
// plans belong to the module that made them and are destroyed when it is
// unloaded; FFTW's own state (its planner, wisdom and threads) is shared with
// the host, which may use FFTW itself, and is never cleaned up here.
#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

enum FftSign : int { kFftForward = -1, kFftBackward = +1 };

// Transforms the n*n values at z (row i at z + i*n) in place, unnormalised:
// forward sums with exp(-2*pi*i*(p*i + q*j)/n), backward with exp(+...). Large
// grids use as many threads as the process may run on. Returns false if FFTW
// made no plan (nothing is changed then).
bool fft2_in_place(cplx* z, int32_t n, FftSign sign);

// The same for the n values of one line.
bool fft1_in_place(cplx* z, int32_t n, FftSign sign);

// Plans held by this module, and their release (for tests; unloading the
// module releases them too).
int fft_plans_held();
void fft_release_plans();

}  // namespace kv

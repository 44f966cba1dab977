// Complex FFTs in place, and the complex-to-real transform of a Hermitian
// half spectrum, through FFTW, with the plans kept for later calls of the
// same size. The first transform of a size is planned at the level
// fft_planner() names (fft_planner.h) and later ones at that level reuse the
// plan; the caller's input is the same afterwards whatever the level (the
// complex-to-real transform consumes its half spectrum in any case). The
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

// The real n*n array whose spectrum is Hermitian and given by its half
// `half` (n rows of n/2 + 1 values, row p at half + p*(n/2 + 1), bin q of
// row p being frequency (p, q)): out[i*n + j] = sum over every (p, q) of
// H(p, q)*exp(+2*pi*i*(p*i + q*j)/n), unnormalised, the missing bins being
// conj(H(-p, -q)). `half` is overwritten. Bins of rows 0 and n/2 (n even),
// columns q = 0 and q = n/2, must themselves be Hermitian. Returns false if
// FFTW made no plan.
bool fft2_c2r(cplx* half, double* out, int32_t n);

// Plans held by this module, and their release (for tests; unloading the
// module releases them too).
int fft_plans_held();
void fft_release_plans();

}  // namespace kv

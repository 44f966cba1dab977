// The phase structure function of a sampled array: the mean squared phase
// difference of every pair of samples a given number of samples apart along
// x, averaged equally with the same mean along y.
#pragma once

#include <cstdint>

#include "core/field.h"
#include "turbulence/screen.h"

namespace kv {

// Complex scratch values structure_function needs.
int64_t structure_scratch_count(int32_t n);

// D(k), k = 0 .. n/2, of the n x n array `phase` (element i*n + j, i along
// x): the mean of (phase(p + s) - phase(p))^2 over the pairs s = k samples
// apart along x, and likewise along y, averaged with equal weight. Only
// samples where `mask` (n*n values, or null for every sample) is nonzero and
// not NaN, and whose phase is finite, take part; a direction without a pair
// at some k leaves D(k) to the other, and D(k) is NaN when neither has one.
// The sums over pairs are correlations along each line, formed by FFTs of
// lines padded to 2n: a few FFTs of the padded array in all.
TurbResult structure_function(const double* phase, const double* mask, int32_t n, double* d,
                              cplx* scratch);

}  // namespace kv

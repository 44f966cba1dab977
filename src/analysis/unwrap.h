#pragma once

#include <cstdint>

namespace kv {

// Folds `v` toward `ref` by whole steps of 6.283185308 until it lies within
// 3.141592654 of it, rounding each step as a one-step-at-a-time loop would,
// but at a cost that does not grow with the number of steps. A difference
// v - ref that is NaN or infinite leaves `v` as it is; so does a value so
// large that a step no longer changes it (the fold stops where the steps
// stop moving it).
double fold_phase(double v, double ref);

// Unwraps the n x n phase array `in` outward from its centre element
// (column n/2, row n/2) in square rings and writes k times the unwrapped
// values to `out`. Every element of `out` is written, for every n >= 0.
void unwrap_phase(const double* in, int64_t n, double k, double* out);

}  // namespace kv

#pragma once

#include "core/field.h"

namespace kv {

// Scales the samples of `in` into `out` so that the power, the sum of
// |sample|^2 * dx^2 with dx = size/N, becomes 1, and stores the former power
// in `power`. Returns false, with `out`'s samples unwritten, when that power
// is exactly 0 (an all-zero field, or size 0).
bool normalize(const FieldIn& in, const FieldOut& out, double* power);

}  // namespace kv

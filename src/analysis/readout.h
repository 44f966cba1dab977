#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

enum class Normalize { None = 0, ToOne = 1, To255 = 2 };

// |sample|^2 of every sample into `out` (n*n values, the field's
// orientation), scaled so that the peak is 1 or 255 when asked.
// Returns false when a scaling was asked for and the peak is 0.
bool intensity(const FieldIn& in, Normalize scale, double* out);

// The phase of every sample, in radians.
void phase(const FieldIn& in, double* out);

}  // namespace kv

#pragma once

#include "core/field.h"

namespace kv {

// |sum of samples|^2 / (sum of |sample|)^2, in storage order. Returns false,
// leaving `sr` alone, when the sum of magnitudes is exactly 0.
bool strehl_ratio(const FieldIn& in, double* sr);

}  // namespace kv

// Embedding a field in a larger grid of the same spacing, or cropping it to a
// smaller one: the room a periodic (FFT) propagation needs around a beam.
#pragma once

#include "core/field.h"

namespace kv {

// Copies `in` into `out`, a grid of out.n samples per side with the same
// spacing: the sample at the origin stays at the origin, so sample (i, j) of
// `in` goes to (i - n/2 + m/2, j - n/2 + m/2) with n/2 and m/2 truncated;
// samples that fall outside are dropped and the rest of `out` stays as it is
// (zero in a new output). Values are copied bit for bit. Returns false, and
// writes nothing, for a field whose curvature is not 0 (NaN included).
bool pad_field(const FieldIn& in, const FieldOut& out);

}  // namespace kv

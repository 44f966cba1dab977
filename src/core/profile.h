// Profile arguments: the n x n arrays that the profile commands lay on a
// field. The computations read a profile as a plane of n*n doubles; this is
// where an argument becomes such a plane.
#pragma once

#include <cstdint>

#include "core/gateway.h"

namespace kv {

// The real values of profile argument `arg` as n*n doubles, checked against
// the field dimension n; a complex array gives its real parts. A full real
// double array, or the real parts of a complex one kept apart from the
// imaginary parts, is used in place; the real parts of an interleaved complex
// array are gathered into scratch memory of the call. Any other numeric or
// logical array (an 8-bit image, a mask, single, integer or sparse) is
// converted to doubles in scratch memory too. An array that
// is not n x n ends the call with `shape_msg`; one that is neither numeric nor
// logical (char, cell, struct) with `class_msg`.
const double* profile_plane(Call& c, int arg, int32_t n, const char* shape_msg,
                            const char* class_msg);

// The profile a command lays on a field; it words the messages.
enum class ProfileKind { Intensity, Phase };

// The same, with the messages of an intensity or a phase profile of the
// field's size.
const double* profile_plane(Call& c, int arg, int32_t n, ProfileKind kind);

}  // namespace kv

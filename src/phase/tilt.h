#pragma once

#include "core/field.h"

namespace kv {

// Linear phase: every sample is multiplied by exp(i*phi) with
// phi = -((y*ty + x*tx) * 6.283185308/lambda). The angles are used as slopes.
void tilt(double tx, double ty, const FieldIn& in, const FieldOut& out);

}  // namespace kv

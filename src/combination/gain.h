#pragma once

#include "core/field.h"

namespace kv {

// Saturable gain sheet: each sample's intensity I is multiplied by
// exp(gain*L / (1 + I/isat)); the phase is kept. isat = 0 switches the gain
// off; a zero sample stays 0.
void gain_sheet(double isat, double gain, double length, const FieldIn& in, const FieldOut& out);

// Multiplies the intensity by r: every sample by sqrt(r).
void attenuate(double r, const FieldIn& in, const FieldOut& out);

}  // namespace kv

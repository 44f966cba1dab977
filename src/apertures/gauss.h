#pragma once

#include "apertures/circle.h"
#include "core/field.h"

namespace kv {

// Smooth Gaussian mask centred on (x_shift, y_shift), w the 1/e intensity
// width. Keep::Inside is the aperture, amplitude factor
// sqrt(c)*exp(-r^2/(2 w^2)) with c the centre reflection; Keep::Outside is
// the screen, amplitude factor sqrt(1 - (1 - c)*exp(-r^2/w^2)) with c the
// centre transmission. Real and imaginary parts are multiplied by the same
// real factor.
void gauss_mask(double w, double x_shift, double y_shift, double c, const FieldIn& in,
                const FieldOut& out, Keep keep);

}  // namespace kv

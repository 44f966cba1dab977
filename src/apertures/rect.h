#pragma once

#include "apertures/circle.h"
#include "core/field.h"

namespace kv {

// Hard rectangular mask of full width w (along its own u axis) and height h
// (along v), centred on (x_shift, y_shift) and turned by phi degrees. The
// offset from the centre is taken first and then rotated. A sample on an
// edge passes both the aperture (Keep::Inside) and the screen
// (Keep::Outside); blocked samples become exactly 0, passed samples are
// copied bit for bit.
void rect_mask(double w, double h, double x_shift, double y_shift, double phi, const FieldIn& in,
               const FieldOut& out, Keep keep);

}  // namespace kv

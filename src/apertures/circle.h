#pragma once

#include "core/field.h"

namespace kv {

// Which side of a mask passes the field.
enum class Keep { Inside, Outside };

// Hard circular mask of radius r centred on (x_shift, y_shift). A sample on
// the circle counts as inside; blocked samples become exactly 0, passed
// samples are copied bit for bit.
void circ_mask(double r, double x_shift, double y_shift, const FieldIn& in, const FieldOut& out,
               Keep keep);

}  // namespace kv

#pragma once

#include "apertures/circle.h"
#include "core/field.h"

namespace kv {

// Super-Gaussian mask of power p (any real number) centred on
// (x_shift, y_shift), w the 1/e intensity width. Keep::Inside is the
// aperture, amplitude factor sqrt(c)*exp(-(r/w)^(2p)/2) with c the centre
// reflection; Keep::Outside is the screen, amplitude factor
// sqrt(1 - (1 - c)*exp(-(r/w)^(2p))) with c the centre transmission.
// (r/w)^(2p) is formed as exp(p*ln(r^2) - 2p*ln(w)). A sample at the centre
// gets sqrt(c) with no logarithm taken. w = 0 takes no logarithm of w: the
// aperture then has the profile of w = 1, the screen passes the field.
void supergauss_mask(double w, double p, double x_shift, double y_shift, double c,
                     const FieldIn& in, const FieldOut& out, Keep keep);

}  // namespace kv

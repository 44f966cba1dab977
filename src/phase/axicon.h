#pragma once

#include "core/field.h"

namespace kv {

enum AxiconResult : int {
  kAxiconOk = 0,
  kAxiconSpherical = 1,  // the input's curvature is not 0; nothing was written
};

// Conical phase of an axicon of top angle phi (radians) and index n1 with its
// tip at (x_shift, y_shift): phi_k = -(r * g), r the distance from the tip,
// g = asin(cos(phi/2)*n1 + phi/2 - 1.5707963) * 6.2831852/lambda. An
// arcsine argument outside [-1, 1] gives NaN samples, not an error. Refuses
// (kAxiconSpherical) a field whose curvature is not 0, NaN included.
AxiconResult axicon(double phi, double n1, double x_shift, double y_shift, const FieldIn& in,
                    const FieldOut& out);

}  // namespace kv

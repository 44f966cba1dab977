#include "apertures/gauss.h"

#include <cmath>

#include "apertures/radial.h"

namespace kv {

void gauss_mask(double w, double x_shift, double y_shift, double c, const FieldIn& in,
                const FieldOut& out, Keep keep) {
  if (keep == Keep::Inside) {
    const double a = std::sqrt(c);
    const double d = w * w * 2;
    scale_radial(x_shift, y_shift, in, out, [a, d](double r2) { return std::exp(-(r2 / d)) * a; });
  } else {
    const double q = 1.0 - c;
    const double d = w * w;
    scale_radial(x_shift, y_shift, in, out,
                 [q, d](double r2) { return std::sqrt(1.0 - std::exp(-(r2 / d)) * q); });
  }
}

}  // namespace kv

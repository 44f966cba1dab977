#include "apertures/supergauss.h"

#include <cmath>

#include "apertures/radial.h"

namespace kv {

void supergauss_mask(double w, double p, double x_shift, double y_shift, double c,
                     const FieldIn& in, const FieldOut& out, Keep keep) {
  const double lw = w == 0.0 ? 0.0 : std::log(w) * (p * 2);
  const double s0 = std::sqrt(c);
  if (keep == Keep::Inside) {
    scale_radial(x_shift, y_shift, in, out, [p, lw, s0](double r2) {
      if (r2 == 0.0) return s0;
      const double e = std::exp(p * std::log(r2) - lw);
      return std::exp(e * (-0.5)) * s0;
    });
  } else if (w == 0.0) {
    scale_radial(x_shift, y_shift, in, out, [](double) { return 1.0; });
  } else {
    const double q = 1.0 - c;
    scale_radial(x_shift, y_shift, in, out, [p, lw, s0, q](double r2) {
      if (r2 == 0.0) return s0;
      const double e = std::exp(p * std::log(r2) - lw);
      return std::sqrt(1.0 - std::exp(-e) * q);
    });
  }
}

}  // namespace kv

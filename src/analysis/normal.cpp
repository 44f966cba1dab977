#include "analysis/normal.h"

#include <cmath>

namespace kv {

bool normalize(const FieldIn& in, const FieldOut& out, double* power) {
  const double dx = in.dx();
  const double d = dx * dx;
  const int64_t nn = samples(in.n);
  bool done = false;
  with_samples(in, [&](auto* z) {
    double p = 0.0;
    for (int64_t k = 0; k < nn; ++k) {
      const cplx v = sample(z, k);
      p = (v.imag() * v.imag() + v.real() * v.real()) * d + p;
    }
    *power = p;
    if (p == 0.0) return;
    const double s = std::sqrt(1.0 / p);
    for (int64_t k = 0; k < nn; ++k) {
      const cplx v = sample(z, k);
      out.z[k] = cplx(v.real() * s, v.imag() * s);
    }
    done = true;
  });
  return done;
}

}  // namespace kv

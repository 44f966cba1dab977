#include "analysis/normal.h"

#include <cmath>

namespace kv {

bool normalize(const FieldIn& in, const FieldOut& out, double* power) {
  const double dx = in.dx();
  const double d = dx * dx;
  const int64_t nn = samples(in.n);
  double p = 0.0;
  for (int64_t k = 0; k < nn; ++k) p = (in.im[k] * in.im[k] + in.re[k] * in.re[k]) * d + p;
  *power = p;
  if (p == 0.0) return false;
  const double s = std::sqrt(1.0 / p);
  for (int64_t k = 0; k < nn; ++k) {
    out.re[k] = in.re[k] * s;
    out.im[k] = in.im[k] * s;
  }
  return true;
}

}  // namespace kv

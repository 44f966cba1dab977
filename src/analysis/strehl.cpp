#include "analysis/strehl.h"

#include <cmath>

namespace kv {

bool strehl_ratio(const FieldIn& in, double* sr) {
  const int64_t nn = samples(in.n);
  double sum_re = 0.0;
  double sum_im = 0.0;
  double sum_abs = 0.0;
  with_samples(in, [&](auto* z) {
    // Local sums, so that the loop keeps them in registers.
    double a = 0.0;
    double b = 0.0;
    double m = 0.0;
    for (int64_t k = 0; k < nn; ++k) {
      const cplx v = sample(z, k);
      const double re = v.real();
      const double im = v.imag();
      a += re;
      b += im;
      m += std::sqrt(re * re + im * im);
    }
    sum_re = a;
    sum_im = b;
    sum_abs = m;
  });
  if (sum_abs == 0.0) return false;  // a NaN sum goes on and gives NaN
  *sr = (sum_re * sum_re + sum_im * sum_im) / sum_abs / sum_abs;
  return true;
}

}  // namespace kv

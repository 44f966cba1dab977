#include "analysis/strehl.h"

#include <cmath>

namespace kv {

bool strehl_ratio(const FieldIn& in, double* sr) {
  const int64_t nn = samples(in.n);
  double sum_re = 0.0;
  double sum_im = 0.0;
  double sum_abs = 0.0;
  for (int64_t k = 0; k < nn; ++k) {
    const double re = in.re[k];
    const double im = in.im[k];
    sum_re += re;
    sum_im += im;
    sum_abs += std::sqrt(re * re + im * im);
  }
  if (sum_abs == 0.0) return false;  // a NaN sum goes on and gives NaN
  *sr = (sum_re * sum_re + sum_im * sum_im) / sum_abs / sum_abs;
  return true;
}

}  // namespace kv

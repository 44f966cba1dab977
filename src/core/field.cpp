#include "core/field.h"

#include <cmath>

namespace kv {

int32_t truncate_int(double v) {
  // Written as a range test that NaN fails.
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(v);
}

void write_header(const FieldOut& out, const Header& h) {
  double* head = out.re + samples(out.n);
  head[kSize] = h.size;
  head[kLambda] = h.lambda;
  head[kN] = static_cast<double>(out.n);
  head[kCurvature] = h.curvature;
  head[kAux] = static_cast<double>(h.aux_int);
}

Header read_header(const double* re, int32_t n) {
  const double* head = re + samples(n);
  Header h;
  h.size = head[kSize];
  h.lambda = head[kLambda];
  h.curvature = head[kCurvature];
  h.aux_int = truncate_int(head[kAux]);
  return h;
}

}  // namespace kv

namespace kv {

void fill_uniform(const FieldOut& out) {
  const int64_t nn = samples(out.n);
  for (int64_t k = 0; k < nn; ++k) {
    out.re[k] = 1.0;
    out.im[k] = 0.0;
  }
}

}  // namespace kv

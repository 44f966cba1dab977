#include "core/field.h"

#include "core/parallel.h"

namespace kv {

int32_t truncate_int(double v) {
  // Written as a range test that NaN fails.
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(v);
}

void write_header(const FieldOut& out, const Header& h) {
  cplx* head = out.z + samples(out.n);
  head[kSize] = cplx(h.size, 0.0);
  head[kLambda] = cplx(h.lambda, 0.0);
  head[kN] = cplx(static_cast<double>(out.n), 0.0);
  head[kCurvature] = cplx(h.curvature, 0.0);
  head[kAux] = cplx(static_cast<double>(h.aux_int), 0.0);
}

Header read_header(const double head[5]) {
  Header h;
  h.size = head[kSize];
  h.lambda = head[kLambda];
  h.curvature = head[kCurvature];
  h.aux_int = truncate_int(head[kAux]);
  return h;
}

void fill_uniform(const FieldOut& out) {
  parallel_for(samples(out.n), kGrainMemory, [=](int64_t k0, int64_t k1) {
    for (int64_t k = k0; k < k1; ++k) out.z[k] = cplx(1.0, 0.0);
  });
}

void copy_samples(const FieldIn& in, const FieldOut& out) {
  with_samples(in, [&](auto* z) {
    parallel_for(samples(in.n), kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) out.z[k] = sample(z, k);
    });
  });
}

}  // namespace kv

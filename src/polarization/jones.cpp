#include "polarization/jones.h"

#include <cmath>

#include "core/parallel.h"

namespace kv {

Error check_pair(const FieldIn& fx, const FieldIn& fy) {
  if (fx.n != fy.n) return Error{Err::Mismatch, "Input fields must have equal grid dimensions."};
  if (!(fx.h.size == fy.h.size))
    return Error{Err::Mismatch, "Input fields must have equal grid sizes."};
  if (!(fx.h.lambda == fy.h.lambda)) {
    return Error{Err::Mismatch, "Input fields must have equal wave lengths."};
  }
  if (fx.h.curvature != 0.0 || fy.h.curvature != 0.0) {
    return Error{Err::Spherical, "One of the input fields has spherical coordinates."};
  }
  return Error{};
}

Jones wave_plate(double retardance, double angle) {
  // Fast axis f = (c, s), slow axis u = (-s, c): J = f f^T + exp(i*retardance) u u^T.
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const cplx e = std::polar(1.0, retardance);
  return Jones{c * c + e * (s * s), (1.0 - e) * (c * s), (1.0 - e) * (c * s), s * s + e * (c * c)};
}

Jones linear_polarizer(double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return Jones{c * c, c * s, c * s, s * s};
}

Jones rotator(double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return Jones{c, -s, s, c};
}

void apply_jones(const Jones& j, const FieldIn& fx, const FieldIn& fy, const FieldOut& out_x,
                 const FieldOut& out_y) {
  const int64_t nn = samples(out_x.n);
  const Jones m = j;
  with_samples(fx, [&](auto* zx) {
    with_samples(fy, [&](auto* zy) {
      parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
        for (int64_t k = k0; k < k1; ++k) {
          const cplx x = sample(zx, k);
          const cplx y = sample(zy, k);
          out_x.z[k] = m.a * x + m.b * y;
          out_y.z[k] = m.c * x + m.d * y;
        }
      });
    });
  });
}

void stokes(const FieldIn& fx, const FieldIn& fy, double* s0, double* s1, double* s2, double* s3) {
  const int64_t nn = samples(fx.n);
  with_samples(fx, [&](auto* zx) {
    with_samples(fy, [&](auto* zy) {
      parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
        for (int64_t k = k0; k < k1; ++k) {
          const cplx x = sample(zx, k);
          const cplx y = sample(zy, k);
          const double ix = x.real() * x.real() + x.imag() * x.imag();
          const double iy = y.real() * y.real() + y.imag() * y.imag();
          // conj(x)*y
          const double re = x.real() * y.real() + x.imag() * y.imag();
          const double im = x.real() * y.imag() - x.imag() * y.real();
          if (s0 != nullptr) s0[k] = ix + iy;
          if (s1 != nullptr) s1[k] = ix - iy;
          if (s2 != nullptr) s2[k] = 2.0 * re;
          if (s3 != nullptr) s3[k] = 2.0 * im;
        }
      });
    });
  });
}

}  // namespace kv

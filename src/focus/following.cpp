#include "focus/following.h"

#include <cmath>

#include "core/interrupt.h"
#include "core/parallel.h"
#include "propagation/fft_plan.h"

namespace kv {
namespace {

constexpr double kPi = 3.141592653589793;

inline cplx mul(cplx a, cplx b) {
  return cplx(a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real());
}

}  // namespace

bool following_grid(double c, double z, double size, Following* g) {
  const double m = 1.0 + c * z;
  if (!(m != 0.0) || std::isnan(m)) return false;
  g->m = m;
  g->distance = z / m;
  g->size = std::fabs(m) * size;
  g->curvature = c / m;
  return true;
}

FftResult fresnel_following(const Following& g, const FieldIn& in, const FieldOut& out,
                            cplx* line) {
  const int64_t n = out.n;
  // The transfer function exp(-i*pi*lambda*z*f^2) at every distance, with
  // 1/n per direction for the backward transform and 1/m on each row.
  const double a = -kPi * in.h.lambda * g.distance;
  const double norm = 1.0 / static_cast<double>(n);
  for (int64_t p = 0; p < n; ++p) {
    const double f = static_cast<double>(p <= n / 2 ? p : p - n) / in.h.size;
    const double phase = a * f * f;
    line[p] = cplx(std::cos(phase) * norm, std::sin(phase) * norm);
  }
  stop_point();
  copy_samples(in, out);
  if (!fft2_in_place(out.z, out.n, kFftForward)) return kFftNoPlan;
  stop_point();
  const double inv_m = 1.0 / g.m;
  cplx* z = out.z;
  parallel_for(n, column_grain(n, kGrainMemory), [=](int64_t p0, int64_t p1) {
    for (int64_t p = p0; p < p1; ++p) {
      const cplx gp = line[p] * inv_m;
      cplx* row = z + p * n;
      for (int64_t q = 0; q < n; ++q) row[q] = mul(row[q], mul(gp, line[q]));
    }
  });
  stop_point();
  if (!fft2_in_place(out.z, out.n, kFftBackward)) return kFftNoPlan;
  if (g.m > 0) return kFftOk;
  stop_point();
  // V(x/m) for m < 0: sample i takes the one mirrored about the centre,
  // index 2*(n/2) - i (modulo n: on an even grid the first line is its own
  // mirror through the periodic wrap). Rows i <= n/2 and their mirrors are
  // all different, so each range exchanges its own pairs.
  const int64_t c2 = 2 * (n / 2);
  parallel_for(n / 2 + 1, column_grain(2 * n, kGrainMemory), [=](int64_t i0, int64_t i1) {
    for (int64_t i = i0; i < i1; ++i) {
      const int64_t im = (c2 - i + n) % n;
      cplx* a = z + i * n;
      cplx* b = z + im * n;
      for (int64_t j = 0; j < n; ++j) {
        const int64_t jm = (c2 - j + n) % n;
        if (im == i && jm < j) continue;  // a row that is its own mirror: once per pair
        const cplx t = a[j];
        a[j] = b[jm];
        b[jm] = t;
      }
    }
  });
  return kFftOk;
}

}  // namespace kv

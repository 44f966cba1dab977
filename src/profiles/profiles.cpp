#include "profiles/profiles.h"

#include <cmath>

#include "core/parallel.h"
#include "core/phase_factor.h"
#include "core/random.h"

namespace kv {

void sub_intensity(const double* p, const FieldIn& in, const FieldOut& out) {
  const int64_t count = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(count, kGrainMath, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const cplx s = sample(z, k);
        const double u = s.real();
        const double v = s.imag();
        // A zero real part (either sign) takes a fixed phase; NaN is not zero.
        double phi;
        if (u != 0.0) {
          phi = std::atan2(v, u);
        } else {
          phi = v >= 0.0 ? kQuarterTurn : kThreeQuarterTurn;
        }
        const double a = std::sqrt(p[k]);
        out.z[k] = cplx(std::cos(phi) * a, std::sin(phi) * a);
      }
    });
  });
}

void sub_phase(const double* p, const FieldIn& in, const FieldOut& out) {
  const int64_t count = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(count, kGrainMath, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const cplx s = sample(z, k);
        const double u = s.real();
        const double v = s.imag();
        const double a = std::sqrt(v * v + u * u);
        out.z[k] = cplx(std::cos(p[k]) * a, std::sin(p[k]) * a);
      }
    });
  });
}

void mult_intensity(const double* p, const FieldIn& in, const FieldOut& out) {
  const int64_t count = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const double t = std::sqrt(p[k]);
        const cplx s = sample(z, k);
        out.z[k] = cplx(t * s.real(), t * s.imag());
      }
    });
  });
}

void mult_phase(const double* p, const FieldIn& in, const FieldOut& out) {
  const int64_t count = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(count, kGrainMath, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) phase_sample(z, out, k, p[k]);
    });
  });
}

void random_intensity(int32_t seed, const FieldIn& in, const FieldOut& out) {
  const int64_t count = samples(in.n);
  with_samples(in, [&](auto* z) {
    parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
      // Sample k takes draw k of the sequence, whichever range it is in.
      Rand15 gen(seed);
      gen.skip(static_cast<uint64_t>(k0));
      for (int64_t k = k0; k < k1; ++k) {
        const double t = gen.unit();
        const cplx s = sample(z, k);
        out.z[k] = cplx(t * s.real(), t * s.imag());
      }
    });
  });
}

double hermite_polynomial(int32_t k, double t) {
  if (k <= 0) return 1.0;
  const double two_t = 2.0 * t;
  double prev = 1.0;   // H_(q-1)
  double cur = two_t;  // H_q
  for (int32_t q = 1; q < k; ++q) {
    const double next = two_t * cur - 2.0 * static_cast<double>(q) * prev;
    prev = cur;
    cur = next;
    // Every later term has 2t * H_q in it, so once a term is NaN all the
    // rest are. An overflow to infinity leads there within two steps (inf
    // meets inf of the opposite sign, or 0 * inf), so a huge order ends
    // early with the value the full recurrence would give.
    if (std::isnan(cur)) return cur;
  }
  return cur;
}

void gauss_hermite(int32_t n, int32_t m, double a, double w0, const FieldIn& in,
                   const FieldOut& out) {
  const int32_t dim = in.n;
  const double s = std::sqrt(2.0) / w0;
  const double d = in.h.size / static_cast<double>(dim);
  const double w2 = w0 * w0;
  parallel_for(dim, column_grain(dim, kGrainMath), [=](int64_t i0, int64_t i1) {
    for (int64_t i = i0; i < i1; ++i) {
      const double x = grid_x(i, dim, d);
      const double hx = hermite_polynomial(m, x * s);
      cplx* col = out.z + i * dim;
      for (int64_t j = 0; j < dim; ++j) {
        const double y = grid_x(j, dim, d);
        const double hy = hermite_polynomial(n, y * s);
        const double g = std::exp(-(y * y + x * x) / w2);
        col[j] = cplx(hy * (g * a * hx), 0.0);
      }
    }
  });
}

}  // namespace kv

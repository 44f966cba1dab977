#include "beam/moments.h"

#include <algorithm>
#include <cmath>

#include "core/interrupt.h"
#include "core/parallel.h"
#include "propagation/fft_plan.h"

namespace kv {

namespace {

constexpr double kPi = 3.141592653589793;

// Frequency of DFT bin p of n over a grid of side `size`: p/size for the
// lower half, (p - n)/size for the upper (the Nyquist bin of an even n is
// negative, as the grid's first sample is).
inline double bin_frequency(int64_t p, int32_t n, double size) {
  const int64_t q = p < (static_cast<int64_t>(n) + 1) / 2 ? p : p - n;
  return static_cast<double>(q) / size;
}

// Sums of up to four terms over fixed blocks of the n*n samples, added in
// block order. term(k, i, j, out) adds sample k's (column i, row j) terms
// to out[0..3].
template <int Terms, class Term>
void block_sums(int32_t n, const Term& term, double (&sum)[Terms]) {
  const int64_t nn = samples(n);
  double part[kMaxBlocks][Terms];
  for_blocks(nn, kGrainMemory, [&](int b, int64_t k0, int64_t k1) {
    double acc[Terms] = {};
    int64_t i = k0 / n;
    int64_t j = k0 % n;
    for (int64_t k = k0; k < k1; ++k) {
      term(k, i, j, acc);
      if (++j == n) {
        j = 0;
        ++i;
      }
    }
    for (int t = 0; t < Terms; ++t) part[b][t] = acc[t];
  });
  for (int t = 0; t < Terms; ++t) sum[t] = 0.0;
  for (int b = 0; b < reduce_blocks(nn); ++b) {
    for (int t = 0; t < Terms; ++t) sum[t] += part[b][t];
  }
}

// The moments of the weights w(k) >= 0 over coordinates cx(i), cy(j), in
// two passes (the centroid, then the central moments).
template <class W, class CX, class CY>
BeamResult moments_of(int32_t n, const W& w, const CX& cx, const CY& cy, Moments* m) {
  double first[3];
  block_sums<3>(
      n,
      [&](int64_t k, int64_t i, int64_t j, double* acc) {
        const double v = w(k);
        acc[0] += v;
        acc[1] += cx(i) * v;
        acc[2] += cy(j) * v;
      },
      first);
  const double p = first[0];
  if (!std::isfinite(p) || !std::isfinite(first[1]) || !std::isfinite(first[2])) {
    return kBeamNotFinite;
  }
  if (p == 0.0) return kBeamNoPower;
  const double xc = first[1] / p;
  const double yc = first[2] / p;
  stop_point();
  double second[3];
  block_sums<3>(
      n,
      [&](int64_t k, int64_t i, int64_t j, double* acc) {
        const double v = w(k);
        const double ex = cx(i) - xc;
        const double ey = cy(j) - yc;
        acc[0] += ex * ex * v;
        acc[1] += ey * ey * v;
        acc[2] += ex * ey * v;
      },
      second);
  m->power = p;
  m->xc = xc;
  m->yc = yc;
  m->xx = second[0] / p;
  m->yy = second[1] / p;
  m->xy = second[2] / p;
  if (!std::isfinite(m->xx) || !std::isfinite(m->yy) || !std::isfinite(m->xy)) {
    return kBeamNotFinite;
  }
  return kBeamOk;
}

// The moment of a 2 x 2 symmetric matrix (aa, ab, bb) along (c, s).
inline double along(double aa, double ab, double bb, double c, double s) {
  return c * c * aa + 2.0 * c * s * ab + s * s * bb;
}

}  // namespace

BeamResult field_moments(const FieldIn& in, Moments* m) {
  const int32_t n = in.n;
  const double d = in.dx();
  BeamResult r = kBeamOk;
  with_samples(in, [&](auto* z) {
    r = moments_of(
        n, [z](int64_t k) { return std::norm(sample(z, k)); },
        [=](int64_t i) { return grid_x(i, n, d); }, [=](int64_t j) { return grid_x(j, n, d); }, m);
  });
  return r;
}

BeamResult intensity_moments(const double* intensity, int32_t n, double d, Moments* m) {
  // Negative values first: a measured image with a subtracted background
  // that went below 0 is refused rather than given a meaningless width.
  double neg[1];
  block_sums<1>(
      n,
      [&](int64_t k, int64_t, int64_t, double* acc) {
        if (intensity[k] < 0.0) acc[0] += 1.0;
      },
      neg);
  if (neg[0] > 0.0) return kBeamNegative;
  return moments_of(
      n, [intensity](int64_t k) { return intensity[k]; },
      [=](int64_t i) { return grid_x(i, n, d); }, [=](int64_t j) { return grid_x(j, n, d); }, m);
}

Widths principal_widths(double xx, double yy, double xy) {
  const double mean = 0.5 * (xx + yy);
  const double half = 0.5 * (xx - yy);
  const double r = std::sqrt(half * half + xy * xy);
  const double major = mean + r;
  const double minor = std::max(mean - r, 0.0);
  Widths w;
  double a = 0.5 * std::atan2(2.0 * xy, xx - yy);  // the major axis, in (-pi/2, pi/2]
  double along_x = major;
  double across = minor;
  if (std::fabs(xx - yy) <= 1e-12 * (xx + yy)) {
    // The axes lie on the diagonals (or the beam is round): the one at
    // +pi/4 is the x-like axis, the major one when xy > 0.
    a = kPi / 4;
    if (xy < 0.0) std::swap(along_x, across);
  } else if (a > kPi / 4) {
    a -= kPi / 2;
    std::swap(along_x, across);
  } else if (a <= -kPi / 4) {
    a += kPi / 2;
    std::swap(along_x, across);
  }
  w.dx = 4.0 * std::sqrt(along_x);
  w.dy = 4.0 * std::sqrt(across);
  w.phi = a;
  if (std::fabs(w.dx - w.dy) <= 1e-12 * std::max(w.dx, w.dy)) w.phi = 0.0;
  return w;
}

int64_t beam_quality_scratch(int32_t n) { return 2 * samples(n); }

BeamResult beam_quality(const FieldIn& in, cplx* scratch, Quality* q) {
  const int32_t n = in.n;
  const int64_t nn = samples(n);
  const double size = in.h.size;
  const double lambda = in.h.lambda;
  const double d = in.dx();

  // The intensity: centroid, second moments, principal axes.
  Moments s;
  if (const BeamResult r = field_moments(in, &s)) return r;
  const Widths axes = principal_widths(s.xx, s.yy, s.xy);
  stop_point();

  // The angular spectrum, in spatial frequencies (angles are lambda*f).
  cplx* spectrum = scratch;
  cplx* deriv = scratch + nn;
  with_samples(in, [&](auto* z) {
    parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) spectrum[k] = sample(z, k);
    });
  });
  if (!fft2_in_place(spectrum, n, kFftForward)) return kBeamNoPlan;
  stop_point();
  const auto freq = [=](int64_t p) { return bin_frequency(p, n, size); };
  Moments f;
  if (const BeamResult r = moments_of(
          n, [spectrum](int64_t k) { return std::norm(spectrum[k]); }, freq, freq, &f)) {
    return r;
  }
  stop_point();

  // Mixed moments: sum of x*Im(conj(E)*dE/dx) and the like, the derivatives
  // formed spectrally (i*2*pi*f times the spectrum, the Nyquist bin of an
  // even n left out), transformed back unnormalised (hence the 1/nn).
  const int64_t nyquist = n % 2 == 0 ? n / 2 : -1;
  double mixed[4];  // x*dx, y*dx, x*dy, y*dy
  for (int axis = 0; axis < 2; ++axis) {
    parallel_for(nn, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        const int64_t p = axis == 0 ? k / n : k % n;
        const double w = p == nyquist ? 0.0 : 2.0 * kPi * bin_frequency(p, n, size);
        deriv[k] = cplx(-w * spectrum[k].imag(), w * spectrum[k].real());
      }
    });
    if (!fft2_in_place(deriv, n, kFftBackward)) return kBeamNoPlan;
    stop_point();
    double sums[2];
    with_samples(in, [&](auto* z) {
      block_sums<2>(
          n,
          [&](int64_t k, int64_t i, int64_t j, double* acc) {
            const cplx e = sample(z, k);
            const cplx g = deriv[k];
            const double im = e.real() * g.imag() - e.imag() * g.real();
            acc[0] += grid_x(i, n, d) * im;
            acc[1] += grid_x(j, n, d) * im;
          },
          sums);
    });
    mixed[2 * axis] = sums[0];
    mixed[2 * axis + 1] = sums[1];
    stop_point();
  }
  // <x * fx> over the intensity: sum x*Im(conj(E) dE/dx) / (2*pi*P), the
  // derivative being nn times too large; central moments follow.
  const double norm = 1.0 / (2.0 * kPi * s.power * static_cast<double>(nn));
  const double xu = mixed[0] * norm - s.xc * f.xc;
  const double yu = mixed[1] * norm - s.yc * f.xc;
  const double xv = mixed[2] * norm - s.xc * f.yc;
  const double yv = mixed[3] * norm - s.yc * f.yc;

  // Along the principal axes of the intensity: the axis at phi and the one
  // across it. In frequencies, M^2 = 4*pi*sqrt(<x^2><f^2> - <x f>^2), the
  // waist lies at z0 = -<x f>/(lambda*<f^2>) and has the variance
  // <x^2> - <x f>^2/<f^2>.
  const double c = std::cos(axes.phi);
  const double sn = std::sin(axes.phi);
  const double dirs[2][2] = {{c, sn}, {-sn, c}};
  double m2[2], w0[2], z0[2];
  for (int a = 0; a < 2; ++a) {
    const double u = dirs[a][0], v = dirs[a][1];
    const double xx = along(s.xx, s.xy, s.yy, u, v);
    const double ff = along(f.xx, f.xy, f.yy, u, v);
    const double xf = u * u * xu + u * v * (xv + yu) + v * v * yv;
    m2[a] = 4.0 * kPi * std::sqrt(std::max(xx * ff - xf * xf, 0.0));
    if (ff > 0.0) {
      w0[a] = 2.0 * std::sqrt(std::max(xx - xf * xf / ff, 0.0));
      z0[a] = -xf / (lambda * ff);
    } else {  // no spread of angles (a plane wave filling the grid)
      w0[a] = 2.0 * std::sqrt(xx);
      z0[a] = 0.0;
    }
  }
  q->m2x = m2[0];
  q->m2y = m2[1];
  q->w0x = w0[0];
  q->w0y = w0[1];
  q->z0x = z0[0];
  q->z0y = z0[1];
  return kBeamOk;
}

}  // namespace kv

#include "propagation/fft_propagation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/interrupt.h"
#include "core/parallel.h"
#include "propagation/fft_plan.h"

namespace kv {
namespace {

constexpr double kPi = 3.141592653589793;

// a*b written out: std::complex's operator follows the Annex G rules for
// infinities, slower and not needed here.
inline cplx mul(cplx a, cplx b) {
  return cplx(a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real());
}

// The signed frequency index of FFT bin p: p up to n/2, then p - n.
inline int64_t signed_bin(int64_t p, int64_t n) { return p <= n / 2 ? p : p - n; }

// The samples of `in` copied to `out`, and their spectrum formed there.
// Ctrl-C is taken between the passes over the grid and the transforms (one
// transform cannot be cut).
bool spectrum_in_place(const FieldIn& in, const FieldOut& out) {
  stop_point();
  copy_samples(in, out);
  stop_point();
  return fft2_in_place(out.z, out.n, kFftForward);
}

// Multiplies the spectrum in `out` by the separable transfer function
// g[p]*g[q] (in threads), then transforms back (in FFTW's threads).
bool apply_separable(const std::vector<cplx>& g, const FieldOut& out) {
  const int64_t n = out.n;
  const cplx* line = g.data();
  const auto multiply = [=](int64_t p0, int64_t p1) {
    for (int64_t p = p0; p < p1; ++p) {
      const cplx gp = line[p];
      cplx* row = out.z + p * n;
      for (int64_t q = 0; q < n; ++q) row[q] = mul(row[q], mul(gp, line[q]));
    }
  };
  parallel_for_slices(n, column_grain(n, kGrainMemory), column_slice(n, kSliceMemory), multiply);
  stop_point();
  return fft2_in_place(out.z, out.n, kFftBackward);
}

// One line of the Fresnel transfer function, exp(-i*pi*lambda*z*f^2)/n with
// f = (signed bin)/size; the 1/n of each direction makes the backward
// transform's 1/n^2.
std::vector<cplx> fresnel_transfer_line(double z, int32_t n, double size, double lambda) {
  std::vector<cplx> g(static_cast<size_t>(n));
  const double a = -kPi * lambda * z;
  const double norm = 1.0 / static_cast<double>(n);
  for (int64_t p = 0; p < n; ++p) {
    const double f = static_cast<double>(signed_bin(p, n)) / size;
    const double phase = a * f * f;
    g[static_cast<size_t>(p)] = cplx(std::cos(phase) * norm, std::sin(phase) * norm);
  }
  return g;
}

// One line of the sampled impulse response: h(x) = D*exp(i*pi*x^2/(lambda*z))
// /sqrt(i*lambda*z) at the wrapped offsets x = (signed bin)*D, so that
// h(x)*h(y) is the 2-D response times the pixel area; its FFT, over n, is the
// line of the transfer function.
bool fresnel_response_line(double z, int32_t n, double size, double lambda, std::vector<cplx>* g) {
  g->assign(static_cast<size_t>(n), cplx(0.0, 0.0));
  const double d = size / static_cast<double>(n);
  const double a = kPi / (lambda * z);
  const cplx c = d / std::sqrt(cplx(0.0, lambda * z)) / static_cast<double>(n);
  for (int64_t k = 0; k < n; ++k) {
    const double x = static_cast<double>(signed_bin(k, n)) * d;
    const double phase = a * x * x;
    (*g)[static_cast<size_t>(k)] = mul(c, cplx(std::cos(phase), std::sin(phase)));
  }
  return fft1_in_place(g->data(), n, kFftForward);
}

// What both propagators answer without a transform: a field in spherical
// coordinates is refused, and z = 0 copies the field. True when settled.
bool settled(double z, const FieldIn& in, const FieldOut& out, FftResult* result) {
  if (!(in.h.curvature == 0.0)) {
    *result = kFftSpherical;
    return true;
  }
  if (z != 0.0) return false;
  copy_samples(in, out);
  *result = kFftOk;
  return true;
}

}  // namespace

double fresnel_switch_distance(int32_t n, double size, double lambda) {
  const double d = size / static_cast<double>(n);
  return static_cast<double>(n) * d * d / lambda;
}

FftResult fresnel_fft(double z, const FieldIn& in, const FieldOut& out) {
  FftResult done;
  if (settled(z, in, out, &done)) return done;
  const int32_t n = in.n;
  const double size = in.h.size;
  const double lambda = in.h.lambda;
  std::vector<cplx> g;
  // A NaN distance takes the second branch and gives NaN throughout.
  if (std::fabs(z) <= std::fabs(fresnel_switch_distance(n, size, lambda))) {
    g = fresnel_transfer_line(z, n, size, lambda);
  } else if (!fresnel_response_line(z, n, size, lambda, &g)) {
    return kFftNoPlan;
  }
  if (!spectrum_in_place(in, out)) return kFftNoPlan;
  return apply_separable(g, out) ? kFftOk : kFftNoPlan;
}

FftResult angular_spectrum(double z, const FieldIn& in, const FieldOut& out) {
  FftResult done;
  if (settled(z, in, out, &done)) return done;
  const int64_t n = in.n;
  const double size = in.h.size;
  const double inv_lambda = 1.0 / in.h.lambda;
  const double inv_lambda2 = inv_lambda * inv_lambda;
  const double two_pi_z = 2.0 * kPi * z;
  const double z2 = z * z;
  const double half_size2 = 0.25 * size * size;
  const double norm = 1.0 / (static_cast<double>(n) * static_cast<double>(n));

  // Squared frequencies of bins 0 .. n/2; bin n - p has that of bin p.
  const int64_t half = n / 2;
  std::vector<double> f2(static_cast<size_t>(half + 1));
  for (int64_t p = 0; p <= half; ++p) {
    const double f = static_cast<double>(p) / size;
    f2[static_cast<size_t>(p)] = f * f;
  }

  if (!spectrum_in_place(in, out)) return kFftNoPlan;

  // H depends on fx^2 and fy^2 only: formed once for bins (p, q) up to n/2
  // and applied to the up to four bins that mirror them. Bin p's rows, p and
  // n - p, are no other bin's, so the bins are shared among threads.
  const double* fsq = f2.data();
  const int64_t slice = column_slice(half + 1, kSliceMath);
  const auto transfer = [=](int64_t p0, int64_t p1) {
    for (int64_t p = p0; p < p1; ++p) {
      const int64_t pm = (n - p) % n;
      cplx* row = out.z + p * n;
      cplx* mirror_row = out.z + pm * n;
      const double fx2 = fsq[p];
      for (int64_t q = 0; q <= half; ++q) {
        const int64_t qm = (n - q) % n;
        const double fy2 = fsq[q];
        const double s = fx2 + fy2;
        const double w = inv_lambda2 - s;
        cplx h(0.0, 0.0);
        // Evanescent, or beyond the band limit. Written so that NaN passes and
        // reaches the result.
        const bool removed = w < 0.0 || z2 * std::max(fx2, fy2) > half_size2 * w;
        if (!removed) {
          // sqrt(1/lambda^2 - s) - 1/lambda without the cancellation near s = 0.
          const double phase = two_pi_z * (-s / (std::sqrt(w) + inv_lambda));
          h = cplx(std::cos(phase) * norm, std::sin(phase) * norm);
        }
        row[q] = mul(row[q], h);
        if (qm != q) row[qm] = mul(row[qm], h);
        if (pm != p) {
          mirror_row[q] = mul(mirror_row[q], h);
          if (qm != q) mirror_row[qm] = mul(mirror_row[qm], h);
        }
      }
    }
  };
  parallel_for_slices(half + 1, column_grain(half + 1, kGrainMath), slice, transfer);
  stop_point();
  return fft2_in_place(out.z, out.n, kFftBackward) ? kFftOk : kFftNoPlan;
}

}  // namespace kv

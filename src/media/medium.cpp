#include "media/medium.h"

#include <algorithm>
#include <cmath>

#include "core/interrupt.h"
#include "core/parallel.h"
#include "media/index_reader.h"
#include "propagation/fft_plan.h"

namespace kv {
namespace {

constexpr double kPi = 3.141592653589793;

// The absorber's strength: a ray at the reference angle loses this many
// nepers of amplitude crossing both edges' ramps (into the seam and out
// again), slower rays more, steeper ones less. The reference angle is the
// steepest the grid samples, but at most sin = 0.3: a stronger absorber
// reflects slow light (grazing incidence on any change of the complex
// index reflects), and these settle the trade-off (the help gives the
// figures).
constexpr double kAbsorberDepth = 20.0;
constexpr double kAbsorberSine = 0.3;

inline cplx mul(cplx a, cplx b) {
  return cplx(a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real());
}

// The index of one slice: element k of the plane is element first + k of
// the array, or the one element of a scalar index.
struct Slice {
  const IndexArray* index;
  int64_t first;
};

// f(reader, first, step): element k of the slice is reader(first + k*step).
template <class F>
bool with_slice(const Slice& s, F f) {
  const int64_t step = s.index->scalar ? 0 : 1;
  const int64_t first = s.index->scalar ? 0 : s.first;
  return with_index_reader(s.index->a, [&](const auto& r) { f(r, first, step); });
}

// The half-step factors of diffraction at reference index nref, for bins
// (p, q) with p, q in 0 .. n/2: exp(i*(kz - k0)*dz/2), kz = sqrt((k0*nref)^2
// - kt^2), evanescent components decaying as exp(-|kz|*dz/2).
void half_step_table(double nref, double k0, double dz, int32_t n, double size, cplx* q) {
  const int64_t half = n / 2;
  const int64_t w = half + 1;
  const double kr = k0 * nref;
  const double base = k0 * (nref - 1.0);  // kr - k0 without rounding kr first
  const double h = 0.5 * dz;
  const double dk = 2.0 * kPi / size;
  parallel_for(w, column_grain(w, kGrainMath), [=](int64_t p0, int64_t p1) {
    for (int64_t p = p0; p < p1; ++p) {
      const double kx = dk * static_cast<double>(p);
      for (int64_t j = 0; j < w; ++j) {
        const double ky = dk * static_cast<double>(j);
        const double kt2 = kx * kx + ky * ky;
        const double wv = kr * kr - kt2;
        cplx v;
        if (wv >= 0.0 || !(wv < 0.0)) {
          // Propagating (NaN takes this branch and stays NaN).
          const double phase = h * (base - kt2 / (std::sqrt(wv) + kr));
          v = cplx(std::cos(phase), std::sin(phase));
        } else {
          const double amp = std::exp(-h * std::sqrt(-wv));
          const double phase = -h * k0;
          v = cplx(amp * std::cos(phase), amp * std::sin(phase));
        }
        q[p * w + j] = v;
      }
    }
  });
}

// The refraction factor of one step with the absorber and the 1/n^2 of the
// FFT pair: exp(i*k0*(n - nref)*dz - (a_x + a_y)*dz)/n^2 for every sample.
bool refraction_table(const Slice& s, double nref, double k0, double dz, const double* alpha,
                      int32_t n, cplx* v) {
  const double norm = 1.0 / (static_cast<double>(n) * static_cast<double>(n));
  const int64_t nn = n;
  return with_slice(s, [&](const auto& r, int64_t first, int64_t step) {
    parallel_for(nn, column_grain(nn, kGrainMath), [=](int64_t i0, int64_t i1) {
      for (int64_t i = i0; i < i1; ++i) {
        for (int64_t j = 0; j < nn; ++j) {
          const int64_t k = i * nn + j;
          const int64_t e = first + k * step;
          const double re = r.real(e);
          const double im = r.imag(e);
          const double phase = k0 * (re - nref) * dz;
          const double amp = std::exp(-(k0 * im + alpha[i] + alpha[j]) * dz) * norm;
          v[k] = cplx(amp * std::cos(phase), amp * std::sin(phase));
        }
      }
    });
  });
}

// One pass over the spectrum between two real-space steps: each bin times
// `a` (the trailing half step of the step before, or none), the row sums of
// the y = 0 row taken there when `rows` is not null, then times `b` (the
// leading half step of the next, or none) and `scale`. Tables are quarter
// tables (see half_step_table); rows[p] = sum over q of w[q]*bin(p, q).
void spectrum_pass(cplx* u, int32_t n, const cplx* a, const cplx* b, double scale, const cplx* w,
                   cplx* rows) {
  const int64_t nn = n;
  const int64_t half = nn / 2;
  const int64_t tw = half + 1;
  parallel_for(half + 1, column_grain(nn, kGrainMemory), [=](int64_t p0, int64_t p1) {
    for (int64_t p = p0; p < p1; ++p) {
      const int64_t pm = (nn - p) % nn;
      const int64_t nrows = pm != p ? 2 : 1;
      for (int64_t r = 0; r < nrows; ++r) {
        const int64_t row_index = r == 0 ? p : pm;
        cplx* row = u + row_index * nn;
        const cplx* ta = a != nullptr ? a + p * tw : nullptr;
        const cplx* tb = b != nullptr ? b + p * tw : nullptr;
        cplx sum(0.0, 0.0);
        for (int64_t q = 0; q < nn; ++q) {
          const int64_t qf = q <= half ? q : nn - q;
          cplx v = row[q];
          if (ta != nullptr) v = mul(v, ta[qf]);
          if (rows != nullptr) sum += mul(w[q], v);
          if (tb != nullptr) v = mul(v, tb[qf]);
          row[q] = scale == 1.0 ? v : v * scale;
        }
        if (rows != nullptr) rows[row_index] = sum;
      }
    }
  });
}

// The y = 0 row (j = n/2) of the field whose spectrum rows gave `rows`:
// |IFFT(rows)|^2 * scale^2, into ixz.
bool record_row(cplx* rows, int32_t n, double scale, double* ixz) {
  if (!fft1_in_place(rows, n, kFftBackward)) return false;
  const double s2 = scale * scale;
  for (int64_t i = 0; i < n; ++i) ixz[i] = std::norm(rows[i]) * s2;
  return true;
}

void square_table(const cplx* h, cplx* sq, int64_t count) {
  for (int64_t k = 0; k < count; ++k) sq[k] = mul(h[k], h[k]);
}

void multiply(cplx* u, const cplx* v, int64_t count) {
  parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
    for (int64_t k = k0; k < k1; ++k) u[k] = mul(u[k], v[k]);
  });
}

}  // namespace

double medium_absorption(int64_t i, int32_t n, double d, double width, double lambda) {
  if (!(width > 0.0)) return 0.0;
  // Distance from the seam between sample n - 1 and sample 0.
  const double e = std::min(static_cast<double>(i) + 0.5,
                            static_cast<double>(n) - 0.5 - static_cast<double>(i)) *
                   d;
  if (e >= width) return 0.0;
  const double t = (width - e) / width;
  const double s = std::min(lambda / (2.0 * d), kAbsorberSine);
  const double tan_ref = s / std::sqrt(1.0 - s * s);
  // A ramp t^4 over the width integrates to width/5 per edge.
  const double peak = 5.0 * kAbsorberDepth * tan_ref / (2.0 * width);
  const double t2 = t * t;
  return peak * t2 * t2;
}

int64_t medium_scratch_count(int32_t n) {
  const int64_t w = static_cast<int64_t>(n) / 2 + 1;
  return samples(n) + 3 * w * w + 3 * static_cast<int64_t>(n);
}

void medium_index_range(const IndexArray& index, int32_t n, int64_t slice, double* lo, double* hi) {
  const int64_t count = index.scalar ? 1 : samples(n);
  double los[kMaxBlocks];
  double his[kMaxBlocks];
  const double nan = std::nan("");
  std::fill(los, los + kMaxBlocks, nan);
  std::fill(his, his + kMaxBlocks, nan);
  const Slice s{&index, slice * samples(n)};
  with_slice(s, [&](const auto& r, int64_t first, int64_t step) {
    for_blocks(count, kGrainMemory, [&](int b, int64_t k0, int64_t k1) {
      double l = nan, h = nan;
      for (int64_t k = k0; k < k1; ++k) {
        const double v = r.real(first + k * step);
        if (!std::isfinite(v)) continue;
        if (!(l <= v)) l = v;
        if (!(h >= v)) h = v;
      }
      los[b] = l;
      his[b] = h;
    });
  });
  double l = nan, h = nan;
  for (int b = 0; b < kMaxBlocks; ++b) {
    if (!(l <= los[b]) && std::isfinite(los[b])) l = los[b];
    if (!(h >= his[b]) && std::isfinite(his[b])) h = his[b];
  }
  *lo = l;
  *hi = h;
}

MediumResult medium_propagate(const MediumRequest& request, const IndexArray& index,
                              const FieldIn& in, const FieldOut& out, double* ixz, cplx* scratch) {
  if (!(in.h.curvature == 0.0)) return kMediumSpherical;
  const int32_t n = in.n;
  const int64_t nn = n;
  const int64_t count = samples(n);
  const int64_t tw = nn / 2 + 1;
  const double size = in.h.size;
  const double lambda = in.h.lambda;
  const double d = size / static_cast<double>(n);
  const double k0 = 2.0 * kPi / lambda;
  const double dz = request.z / static_cast<double>(request.steps);
  const int64_t per_slice = request.steps / index.slices;

  cplx* table = scratch;     // refraction factors, n*n
  cplx* qa = table + count;  // half-step factors, two quarter tables
  cplx* qb = qa + tw * tw;
  cplx* full = qb + tw * tw;  // a whole step: the square of the current half step
  cplx* w = full + tw * tw;   // exp(2*pi*i*q*(n/2)/n), the y = 0 row
  cplx* rows = w + nn;        // row sums of the spectrum
  double* alpha = reinterpret_cast<double*>(rows + nn);  // absorption per sample index

  const double width = request.absorber * size;
  for (int64_t i = 0; i < nn; ++i) alpha[i] = medium_absorption(i, n, d, width, lambda);
  const int64_t j0 = nn / 2;
  for (int64_t q = 0; q < nn; ++q) {
    const double ph = 2.0 * kPi * static_cast<double>((q * j0) % nn) / static_cast<double>(nn);
    w[q] = cplx(std::cos(ph), std::sin(ph));
  }

  copy_samples(in, out);
  cplx* u = out.z;
  if (ixz != nullptr) {
    for (int64_t i = 0; i < nn; ++i) ixz[i] = std::norm(u[i * nn + j0]);
  }
  if (request.z == 0.0) {
    // Nothing to cross: the samples as they are, in every column of Ixz.
    for (int64_t s = 1; ixz != nullptr && s <= request.steps; ++s) {
      std::copy(ixz, ixz + nn, ixz + s * nn);
    }
    return kMediumOk;
  }
  const double norm = 1.0 / (static_cast<double>(n) * static_cast<double>(n));
  if (!fft2_in_place(u, n, kFftForward)) return kMediumNoPlan;

  const cplx* trailing = nullptr;  // the half step the spectrum still owes
  int64_t done = 0;
  for (int64_t s = 0; s < index.slices; ++s) {
    stop_point();
    double lo, hi;
    medium_index_range(index, n, s, &lo, &hi);
    const double nref = medium_reference(lo, hi);
    cplx* leading = trailing == qa ? qb : qa;
    half_step_table(nref, k0, dz, n, size, leading);
    square_table(leading, full, tw * tw);
    const Slice slice{&index, s * count};
    for (int64_t t = 0; t < per_slice; ++t) {
      stop_point();
      const bool record = ixz != nullptr && done > 0;
      if (trailing == leading && !record) {
        spectrum_pass(u, n, nullptr, full, 1.0, w, nullptr);
      } else {
        spectrum_pass(u, n, trailing, leading, 1.0, w, record ? rows : nullptr);
      }
      if (record && !record_row(rows, n, norm, ixz + done * nn)) return kMediumNoPlan;
      if (t == 0 && !refraction_table(slice, nref, k0, dz, alpha, n, table)) return kMediumNoPlan;
      if (!fft2_in_place(u, n, kFftBackward)) return kMediumNoPlan;
      multiply(u, table, count);
      stop_point();
      if (!fft2_in_place(u, n, kFftForward)) return kMediumNoPlan;
      trailing = leading;
      ++done;
    }
  }
  spectrum_pass(u, n, trailing, nullptr, norm, w, ixz != nullptr ? rows : nullptr);
  if (ixz != nullptr && !record_row(rows, n, norm, ixz + done * nn)) return kMediumNoPlan;
  if (!fft2_in_place(u, n, kFftBackward)) return kMediumNoPlan;
  return kMediumOk;
}

}  // namespace kv

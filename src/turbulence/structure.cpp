#include "turbulence/structure.h"

#include <cmath>
#include <limits>

#include "core/interrupt.h"
#include "propagation/fft_plan.h"

namespace kv {

namespace {

// Sums over the pairs of one direction, per shift s = 0 .. n/2: of the
// squared differences, and the number of pairs.
struct PairSums {
  double* sum;
  double* pairs;
};

bool inside(const double* phase, const double* mask, int64_t k) {
  return std::isfinite(phase[k]) && (mask == nullptr || (mask[k] != 0.0 && !std::isnan(mask[k])));
}

// One direction: line l holds the samples l*line_step + t*sample_step,
// t = 0 .. n-1. With m the indicator of the samples taking part, b = m*(phase
// - mean) and c = m*(phase - mean)^2 (the mean of the line's samples taking
// part, which leaves every difference along the line as it is), the sum over
// pairs (t, t+s) is R_mc(s) + R_mc(-s) - 2 R_bb(s) and their number R_mm(s),
// R_xy(s) = sum_t x(t) y(t+s). The spectra conj(X) Y of all lines add up, so
// one inverse FFT per correlation serves every line; two lines share each
// forward FFT as real and imaginary parts.
bool one_direction(const double* phase, const double* mask, int32_t n, int64_t line_step,
                   int64_t sample_step, cplx* scratch, PairSums out) {
  const int64_t nn = n;
  const int64_t len = 2 * nn;
  cplx* zm = scratch;
  cplx* zb = zm + len;
  cplx* zc = zb + len;
  cplx* acc_mc = zc + len;
  cplx* acc_bb = acc_mc + len;
  cplx* acc_mm = acc_bb + len;
  for (int64_t k = 0; k < 3 * len; ++k) acc_mc[k] = cplx(0.0, 0.0);

  for (int64_t l = 0; l < nn; l += 2) {
    stop_point();
    for (int64_t k = 0; k < 3 * len; ++k) zm[k] = cplx(0.0, 0.0);
    for (int64_t part = 0; part < 2 && l + part < nn; ++part) {
      const int64_t base = (l + part) * line_step;
      double sum = 0.0;
      int64_t count = 0;
      for (int64_t t = 0; t < nn; ++t) {
        const int64_t k = base + t * sample_step;
        if (inside(phase, mask, k)) {
          sum += phase[k];
          ++count;
        }
      }
      const double mean = count > 0 ? sum / static_cast<double>(count) : 0.0;
      for (int64_t t = 0; t < nn; ++t) {
        const int64_t k = base + t * sample_step;
        if (!inside(phase, mask, k)) continue;
        const double v = phase[k] - mean;
        if (part == 0) {
          zm[t] = cplx(1.0, zm[t].imag());
          zb[t] = cplx(v, zb[t].imag());
          zc[t] = cplx(v * v, zc[t].imag());
        } else {
          zm[t] = cplx(zm[t].real(), 1.0);
          zb[t] = cplx(zb[t].real(), v);
          zc[t] = cplx(zc[t].real(), v * v);
        }
      }
    }
    if (!fft1_in_place(zm, static_cast<int32_t>(len), kFftForward) ||
        !fft1_in_place(zb, static_cast<int32_t>(len), kFftForward) ||
        !fft1_in_place(zc, static_cast<int32_t>(len), kFftForward)) {
      return false;
    }
    // The spectra of the two lines: X1 = (Z(f) + conj Z(-f))/2,
    // X2 = (Z(f) - conj Z(-f))/(2i).
    for (int64_t f = 0; f < len; ++f) {
      const int64_t g = (len - f) % len;
      const cplx m1 = 0.5 * (zm[f] + std::conj(zm[g]));
      const cplx m2 = cplx(0.0, -0.5) * (zm[f] - std::conj(zm[g]));
      const cplx b1 = 0.5 * (zb[f] + std::conj(zb[g]));
      const cplx b2 = cplx(0.0, -0.5) * (zb[f] - std::conj(zb[g]));
      const cplx c1 = 0.5 * (zc[f] + std::conj(zc[g]));
      const cplx c2 = cplx(0.0, -0.5) * (zc[f] - std::conj(zc[g]));
      acc_mc[f] += std::conj(m1) * c1 + std::conj(m2) * c2;
      acc_bb[f] += std::norm(b1) + std::norm(b2);
      acc_mm[f] += std::norm(m1) + std::norm(m2);
    }
  }
  if (!fft1_in_place(acc_mc, static_cast<int32_t>(len), kFftBackward) ||
      !fft1_in_place(acc_bb, static_cast<int32_t>(len), kFftBackward) ||
      !fft1_in_place(acc_mm, static_cast<int32_t>(len), kFftBackward)) {
    return false;
  }
  const double inv = 1.0 / static_cast<double>(len);
  for (int64_t s = 0; s <= nn / 2; ++s) {
    const int64_t neg = (len - s) % len;
    out.sum[s] = inv * (acc_mc[s].real() + acc_mc[neg].real() - 2.0 * acc_bb[s].real());
    out.pairs[s] = std::round(inv * acc_mm[s].real());
  }
  return true;
}

}  // namespace

int64_t structure_scratch_count(int32_t n) {
  // Six padded lines, and the two directions' sums and pair counts.
  return 12 * static_cast<int64_t>(n) + 2 * (static_cast<int64_t>(n) / 2 + 1);
}

TurbResult structure_function(const double* phase, const double* mask, int32_t n, double* d,
                              cplx* scratch) {
  const int64_t h = static_cast<int64_t>(n) / 2;
  // Sums and counts of each direction in the last 2*(h + 1) complex values.
  double* sums = reinterpret_cast<double*>(scratch + 12 * static_cast<int64_t>(n));
  const PairSums x{sums, sums + (h + 1)};
  const PairSums y{sums + 2 * (h + 1), sums + 3 * (h + 1)};
  // Along x a line is a row j (samples i*n + j); along y a column.
  if (!one_direction(phase, mask, n, 1, n, scratch, x)) return kTurbNoPlan;
  if (!one_direction(phase, mask, n, n, 1, scratch, y)) return kTurbNoPlan;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int64_t s = 0; s <= h; ++s) {
    const bool has_x = x.pairs[s] > 0.0;
    const bool has_y = y.pairs[s] > 0.0;
    // A mean of squares: rounding must not make it negative (NaN stays).
    const double sx = x.sum[s] < 0.0 ? 0.0 : x.sum[s];
    const double sy = y.sum[s] < 0.0 ? 0.0 : y.sum[s];
    const double dx = has_x ? sx / x.pairs[s] : 0.0;
    const double dy = has_y ? sy / y.pairs[s] : 0.0;
    if (s == 0) {
      d[s] = (has_x || has_y) ? 0.0 : nan;
    } else if (has_x && has_y) {
      d[s] = 0.5 * (dx + dy);
    } else {
      d[s] = has_x ? dx : has_y ? dy : nan;
    }
  }
  return kTurbOk;
}

}  // namespace kv

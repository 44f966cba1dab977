#include "turbulence/screen.h"

#include <cmath>
#include <limits>
#include <vector>

#include "core/interrupt.h"
#include "core/normal.h"
#include "core/parallel.h"
#include "propagation/fft_plan.h"

namespace kv {

namespace {

// The second key word of every screen's draws ("KVTS"), and the counter's
// stream word of each kind of draw.
constexpr uint32_t kScreenKey = 0x4B565453u;
enum Stream : uint32_t { kStreamCells = 0, kStreamSubharmonics = 1, kStreamTilt = 2 };

// Past this value of 2 pi r f0 at r = n/4 samples the screen's correlation
// length is a small part of the grid, periodicity costs nothing, and no tilt
// is added.
constexpr double kNoTiltBeyond = 50.0;

// Bins of one axis with |k| = a: 1 for a = 0 and for the Nyquist bin of an
// even n, 2 otherwise.
inline double multiplicity(int64_t a, int64_t n) { return (a == 0 || 2 * a == n) ? 1.0 : 2.0; }

// Everything a screen's weights consist of, for r0 = 1.
struct Weights {
  int32_t n = 0;
  double size = 0;
  TurbSpectrum spectrum;
  double axis[kTurbLevels] = {};  // a subharmonic cell (+-1, 0) or (0, +-1), level k+1
  double diag[kTurbLevels] = {};  // a subharmonic cell (+-1, +-1), level k+1
  double tilt = 0.0;
};

// Side of the subharmonic cells of level k+1.
inline double level_side(double size, int k) { return 1.0 / (size * std::pow(3.0, k + 1)); }

// The power of cell (a, b)'s eight nearest aliases (a + i n, b + j n),
// |i|, |j| <= 1, not both 0, relative to the cell's own (r0 = 1).
double alias_ratio(const Weights& g, int64_t a, int64_t b) {
  const int64_t n = g.n;
  const double df = 1.0 / g.size;
  double sum = 0.0;
  for (int64_t i = -1; i <= 1; ++i) {
    const double fx = static_cast<double>(a + i * n) * df;
    for (int64_t j = -1; j <= 1; ++j) {
      if (i == 0 && j == 0) continue;
      const double fy = static_cast<double>(b + j * n) * df;
      sum += g.spectrum.psd(fx * fx + fy * fy);
    }
  }
  const double fa = static_cast<double>(a) * df;
  const double fb = static_cast<double>(b) * df;
  const double own = g.spectrum.psd(fa * fa + fb * fb);
  return own > 0.0 && std::isfinite(own) ? sum / own : 0.0;
}

// Coarse steps of the alias ratio's lattice: the ratio is smooth across the
// grid (a power of the distances to the nearest aliases), and bilinear
// interpolation over 8 cells keeps it within about 1 % of itself where it
// matters, near the Nyquist frequency.
constexpr int64_t kAliasStep = 8;

// The FFT cell weights W(a, b), a, b = 0 .. n/2 (|p| and |q|), in
// w[a*(n/2 + 1) + b]: the spectrum at the cell centre times the cell area,
// times 1 + the alias ratio (exact on a coarse lattice, interpolated between).
void cell_weights(const Weights& g, double* w) {
  const int64_t n = g.n;
  const int64_t h = n / 2;
  const int64_t m = h + 1;
  const double df = 1.0 / g.size;
  const double df2 = df * df;
  // Coarse lattice points 0, s, 2s, ... and h.
  const int64_t steps = (h + kAliasStep - 1) / kAliasStep;
  const int64_t cm = steps + 1;
  std::vector<double> coarse(static_cast<size_t>(cm * cm));
  auto at = [&](int64_t c) { return c * kAliasStep < h ? c * kAliasStep : h; };
  for (int64_t i = 0; i < cm; ++i) {
    stop_point();
    for (int64_t j = 0; j <= i; ++j) {
      const double v = alias_ratio(g, at(i), at(j));
      coarse[static_cast<size_t>(i * cm + j)] = v;
      coarse[static_cast<size_t>(j * cm + i)] = v;
    }
  }
  const double* lattice = coarse.data();
  // Row a fills w(a, b) and w(b, a) for b <= a. Rows t and m - 1 - t go
  // together, so that every pair holds the same work; each cell is written
  // by its one row, whatever the threads.
  auto row = [=](int64_t a) {
    const int64_t ia = a / kAliasStep < steps ? a / kAliasStep : steps - 1;
    const double ta =
        steps > 0 ? static_cast<double>(a - at(ia)) / static_cast<double>(at(ia + 1) - at(ia))
                  : 0.0;
    const double fa = static_cast<double>(a) * df;
    for (int64_t b = 0; b <= a; ++b) {
      double v = 0.0;
      if (a > 0 || b > 0) {
        const int64_t ib = b / kAliasStep < steps ? b / kAliasStep : steps - 1;
        const double tb =
            static_cast<double>(b - at(ib)) / static_cast<double>(at(ib + 1) - at(ib));
        const double* c0 = lattice + ia * cm + ib;
        const double* c1 = c0 + cm;
        const double ratio =
            (1 - ta) * ((1 - tb) * c0[0] + tb * c0[1]) + ta * ((1 - tb) * c1[0] + tb * c1[1]);
        const double fb = static_cast<double>(b) * df;
        const double own = g.spectrum.psd(fa * fa + fb * fb) * df2;
        if (a <= 1) {
          // The eight cells next to the origin: their f^2-weighted integral.
          v = turb_cell_moment(g.spectrum, fa, fb, df) / (fa * fa + fb * fb) + own * ratio;
        } else {
          v = own * (1.0 + ratio);
        }
      }
      w[a * m + b] = v;
      w[b * m + a] = v;
    }
  };
  const auto pair = [=](int64_t t0, int64_t t1) {
    for (int64_t t = t0; t < t1; ++t) {
      row(t);
      if (m - 1 - t != t) row(m - 1 - t);
    }
  };
  parallel_for_slices((m + 1) / 2, column_grain(m, kGrainMath), column_slice(m, kSliceMath), pair);
}

void subharmonic_weights(Weights* g) {
  for (int k = 0; k < kTurbLevels; ++k) {
    const double h = level_side(g->size, k);
    g->axis[k] = turb_cell_moment(g->spectrum, h, 0.0, h) / (h * h);
    g->diag[k] = turb_cell_moment(g->spectrum, h, h, h) / (2.0 * h * h);
  }
}

// E[D] along x at k samples of the FFT cells and of the subharmonics (no
// tilt), r0 = 1; `marginal[a]` is sum over b of multiplicity(b) W(a, b).
double expected_without_tilt(const Weights& g, const double* marginal, int64_t k) {
  const int64_t n = g.n;
  const int64_t m = n / 2 + 1;
  double d = 0.0;
  for (int64_t a = 1; a < m; ++a) {
    const double h = std::sin(kTurbPi * static_cast<double>((a * k) % n) / static_cast<double>(n));
    d += multiplicity(a, n) * marginal[a] * 4.0 * h * h;  // 2 - 2 cos
  }
  const double r = static_cast<double>(k) * g.size / static_cast<double>(n);
  for (int j = 0; j < kTurbLevels; ++j) {
    const double h = std::sin(kTurbPi * level_side(g.size, j) * r);
    d += (2.0 * g.axis[j] + 4.0 * g.diag[j]) * 4.0 * h * h;
  }
  return d;
}

void marginals(const Weights& g, const double* w, std::vector<double>* marginal) {
  const int64_t n = g.n;
  const int64_t m = n / 2 + 1;
  marginal->assign(static_cast<size_t>(m), 0.0);
  for (int64_t a = 0; a < m; ++a) {
    if (a % 256 == 0) stop_point();
    double s = 0.0;
    for (int64_t b = 0; b < m; ++b) s += multiplicity(b, n) * w[a * m + b];
    (*marginal)[static_cast<size_t>(a)] = s;
  }
}

// The tilt variance that makes E[D] equal the theory at n/4 samples.
double tilt_for(const Weights& g, const std::vector<double>& marginal) {
  const int64_t k = g.n / 4 > 0 ? g.n / 4 : 1;
  const double r = static_cast<double>(k) * g.size / static_cast<double>(g.n);
  if (2.0 * kTurbPi * r * std::sqrt(g.spectrum.f0sq) > kNoTiltBeyond) return 0.0;
  const double missing =
      turb_structure_theory(g.spectrum, r) - expected_without_tilt(g, marginal.data(), k);
  return missing > 0.0 ? missing / (r * r) : 0.0;
}

// The weights of these parameters; `w` receives the cell table.
Weights design(const TurbParams& p, int32_t n, double size, double* w) {
  Weights g;
  g.n = n;
  g.size = size;
  g.spectrum = turb_spectrum(p.L0, p.l0);
  cell_weights(g, w);
  subharmonic_weights(&g);
  std::vector<double> marginal;
  marginals(g, w, &marginal);
  g.tilt = tilt_for(g, marginal);
  return g;
}

bool valid_size(double size) { return size > 0.0 && std::isfinite(size); }

// Fills the half spectrum: bin (p, q), p = 0 .. n-1, q = 0 .. n/2, gets a
// complex Gaussian of mean square W(|p|, q) (amplitudes sqrt(W) r0^(-5/6)
// in `amp`), drawn for counter p*(n/2 + 1) + q. The bins of columns q = 0
// and q = n/2 (n even) pair up as conjugates, (n - p, q) taking the
// conjugate of (p, q) for p < n - p, and their self-conjugate bins are
// real.
void fill_half_spectrum(int32_t n, const double* amp, uint32_t key, cplx* half) {
  const int64_t nn = n;
  const int64_t m = nn / 2 + 1;
  const double root_half = std::sqrt(0.5);
  // Every row draws from its own counters: the same bits in any thread.
  const auto draw = [=](int64_t p0, int64_t p1) {
    for (int64_t p = p0; p < p1; ++p) {
      const int64_t a = p <= nn - p ? p : nn - p;
      const double* amp_row = amp + a * m;
      cplx* row = half + p * m;
      philox_normal_pairs(key, kScreenKey, static_cast<uint64_t>(p * m), kStreamCells, m,
                          reinterpret_cast<double*>(row));
      for (int64_t q = 0; q < m; ++q) row[q] *= root_half * amp_row[q];
    }
  };
  parallel_for_slices(nn, column_grain(m, kGrainMath), column_slice(m, kSliceMath), draw);
  for (int64_t q = 0; q < m; q += (nn % 2 == 0 && m > 1) ? m - 1 : m) {
    for (int64_t p = 0; p < nn; ++p) {
      cplx& z = half[p * m + q];
      if (p == 0 || 2 * p == nn) {
        z = cplx(z.real() / root_half, 0.0);
      } else if (p > nn - p) {
        z = std::conj(half[(nn - p) * m + q]);
      }
    }
  }
}

// Adds the subharmonics and the tilt, with their mean over the grid taken
// out. Level k's four mode pairs (1, 0), (0, 1), (1, 1), (1, -1) each give
// A cos(theta) + B sin(theta), A and B of variance 2W. With
// cx = cos(2 pi h x), sx = sin(2 pi h x) (and cy, sy) the sum is separable:
// sum over u, v of X_u(x) M(u, v) Y_v(y), X and Y the constant and the
// cosines and sines of every level. The low levels' amplitudes are large
// (thousands of radians at level 8 for Kolmogorov turbulence) while their
// cosines hardly leave 1 across the grid: cos is therefore written as
// 1 + (cos - 1), (cos - 1) = -2 sin^2(theta/2) computed without
// cancellation, and the constant parts gather into a piston that is left
// out, as is the mean of the rest (every phase difference stays as it is).
// Each column x_i then takes one small product T = X(x_i) M and a few
// passes of T_v Y_v(y).
void add_low_frequencies(const Weights& g, double scale, uint32_t key, double* out, double* basis) {
  constexpr int kB = 2 * kTurbLevels + 1;  // constant, then (cos - 1, sin) per level
  const int64_t n = g.n;
  const double d = g.size / static_cast<double>(n);
  // basis[v*n + j], v = 1 .. kB-1: cos - 1 and sin at grid position j; row
  // kB: the coordinate itself. Row 0 is unused (the constant). mean[v]: the
  // row's mean over the grid.
  double mean[kB + 1] = {1.0};
  for (int k = 0; k < kTurbLevels; ++k) {
    const double w = 2.0 * kTurbPi * level_side(g.size, k);
    double* c = basis + (1 + 2 * k) * n;
    double* s = basis + (2 + 2 * k) * n;
    for (int64_t j = 0; j < n; ++j) {
      const double x = grid_x(j, n, d);
      const double h = std::sin(0.5 * w * x);
      c[j] = -2.0 * h * h;
      s[j] = std::sin(w * x);
    }
  }
  for (int64_t j = 0; j < n; ++j) basis[kB * n + j] = grid_x(j, n, d);
  for (int v = 1; v <= kB; ++v) {
    double sum = 0.0;
    for (int64_t j = 0; j < n; ++j) sum += basis[v * n + j];
    mean[v] = sum / static_cast<double>(n);
  }

  // M for the bases (1, cos, sin) first.
  double mat[kB][kB] = {};
  for (int k = 0; k < kTurbLevels; ++k) {
    const int c = 1 + 2 * k;
    const int s = 2 + 2 * k;
    NormalPair q[4];
    for (int t = 0; t < 4; ++t)
      q[t] = philox_normal_pair(key, kScreenKey, static_cast<uint64_t>(4 * k + t),
                                kStreamSubharmonics);
    const double sa = scale * std::sqrt(2.0 * g.axis[k]);
    const double sd = scale * std::sqrt(2.0 * g.diag[k]);
    // (1, 0): A cx + B sx
    mat[c][0] += sa * q[0].a;
    mat[s][0] += sa * q[0].b;
    // (0, 1): A cy + B sy
    mat[0][c] += sa * q[1].a;
    mat[0][s] += sa * q[1].b;
    // (1, 1): A (cx cy - sx sy) + B (sx cy + cx sy)
    mat[c][c] += sd * q[2].a;
    mat[s][s] -= sd * q[2].a;
    mat[s][c] += sd * q[2].b;
    mat[c][s] += sd * q[2].b;
    // (1, -1): A (cx cy + sx sy) + B (sx cy - cx sy)
    mat[c][c] += sd * q[3].a;
    mat[s][s] += sd * q[3].a;
    mat[s][c] += sd * q[3].b;
    mat[c][s] -= sd * q[3].b;
  }
  // Then for (1, cos - 1, sin): cos = (cos - 1) + 1 moves a cosine's entry
  // to the constant's row or column too.
  double mm[kB][kB] = {};
  auto is_cos = [](int u) { return u % 2 == 1; };
  for (int u = 0; u < kB; ++u)
    for (int v = 0; v < kB; ++v) {
      const double e = mat[u][v];
      if (e == 0.0) continue;
      mm[u][v] += e;
      if (is_cos(u)) mm[0][v] += e;
      if (is_cos(v)) mm[u][0] += e;
      if (is_cos(u) && is_cos(v)) mm[0][0] += e;
    }
  const NormalPair t = philox_normal_pair(key, kScreenKey, 0, kStreamTilt);
  const double tilt = scale * std::sqrt(g.tilt);
  const double tx = tilt * t.a;
  const double ty = tilt * t.b;
  // The piston mm[0][0] is left out, and the mean of the rest taken out.
  double rest = (tx + ty) * mean[kB];
  for (int u = 0; u < kB; ++u)
    for (int v = 0; v < kB; ++v)
      if (u != 0 || v != 0) rest += mm[u][v] * mean[u] * mean[v];
  mm[0][0] = -rest;

  // Column by column; a column reads the basis and writes only itself.
  const double* matrix = &mm[0][0];
  const auto column = [=](int64_t i0, int64_t i1) {
    for (int64_t i = i0; i < i1; ++i) {
      double x_basis[kB];
      x_basis[0] = 1.0;
      for (int v = 1; v < kB; ++v) x_basis[v] = basis[v * n + i];
      double coef[kB + 1];
      for (int v = 0; v < kB; ++v) {
        double s = 0.0;
        for (int u = 0; u < kB; ++u) s += x_basis[u] * matrix[u * kB + v];
        coef[v] = s;
      }
      coef[0] += tx * basis[kB * n + i];
      coef[kB] = ty;
      double* col = out + i * n;
      const double c0 = coef[0];
      for (int64_t j = 0; j < n; ++j) col[j] += c0;
      // Four basis rows per pass over the column.
      for (int v = 1; v <= kB; v += 4) {
        const int last = v + 3 <= kB ? v + 3 : kB;
        const double* b0 = basis + v * n;
        if (last - v == 3) {
          const double* b1 = b0 + n;
          const double* b2 = b1 + n;
          const double* b3 = b2 + n;
          const double k0 = coef[v], k1 = coef[v + 1], k2 = coef[v + 2], k3 = coef[v + 3];
          for (int64_t j = 0; j < n; ++j)
            col[j] += k0 * b0[j] + k1 * b1[j] + k2 * b2[j] + k3 * b3[j];
        } else {
          for (int u = v; u <= last; ++u) {
            const double* b = basis + u * n;
            const double k = coef[u];
            for (int64_t j = 0; j < n; ++j) col[j] += k * b[j];
          }
        }
      }
    }
  };
  // About five passes over each column.
  parallel_for_slices(n, column_grain(n, kGrainMemory), column_slice(5 * n, kSliceMemory), column);
}

}  // namespace

int64_t turb_half_count(int32_t n) {
  return static_cast<int64_t>(n) * (static_cast<int64_t>(n) / 2 + 1);
}

int64_t turb_basis_count(int32_t n) {
  return static_cast<int64_t>(2 * kTurbLevels + 2) * static_cast<int64_t>(n);
}

TurbResult turb_screen(const TurbParams& p, int32_t n, double size, double* out, cplx* half,
                       double* basis) {
  const int64_t count = samples(n);
  if (!valid_size(size)) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) out[k] = nan;
    });
    return kTurbOk;
  }
  if (std::isinf(p.r0)) {
    parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) out[k] = 0.0;
    });
    return kTurbOk;
  }
  const double scale = std::pow(p.r0, -5.0 / 6.0);
  const uint32_t key = static_cast<uint32_t>(p.seed);
  // The cell table lives in the output until the transform overwrites it.
  double* table = out;
  const Weights g = design(p, n, size, table);
  const int64_t m = static_cast<int64_t>(n) / 2 + 1;
  parallel_for_slices(m * m, kGrainMath, kSliceMath, [=](int64_t k0, int64_t k1) {
    for (int64_t k = k0; k < k1; ++k) table[k] = scale * std::sqrt(table[k]);
  });
  fill_half_spectrum(n, table, key, half);
  stop_point();
  if (!fft2_c2r(half, out, n)) return kTurbNoPlan;
  stop_point();
  add_low_frequencies(g, scale, key, out, basis);
  return kTurbOk;
}

void turb_expected_structure(const TurbParams& p, int32_t n, double size, double* d,
                             int64_t count) {
  if (!valid_size(size) || std::isinf(p.r0)) {
    const double v = std::isinf(p.r0) ? 0.0 : std::numeric_limits<double>::quiet_NaN();
    for (int64_t k = 0; k < count; ++k) d[k] = v;
    return;
  }
  const int64_t m = static_cast<int64_t>(n) / 2 + 1;
  std::vector<double> w(static_cast<size_t>(m * m));
  const Weights g = design(p, n, size, w.data());
  std::vector<double> marginal;
  marginals(g, w.data(), &marginal);
  const double scale = std::pow(p.r0, -5.0 / 3.0);
  for (int64_t k = 0; k < count; ++k) {
    const double r = static_cast<double>(k) * size / static_cast<double>(n);
    d[k] = scale * (expected_without_tilt(g, marginal.data(), k) + g.tilt * r * r);
  }
}

double turb_tilt_variance(const TurbParams& p, int32_t n, double size) {
  if (!valid_size(size) || std::isinf(p.r0)) return 0.0;
  const int64_t m = static_cast<int64_t>(n) / 2 + 1;
  std::vector<double> w(static_cast<size_t>(m * m));
  const Weights g = design(p, n, size, w.data());
  return std::pow(p.r0, -5.0 / 3.0) * g.tilt;
}

}  // namespace kv

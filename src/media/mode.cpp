#include "media/mode.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/interrupt.h"
#include "core/parallel.h"
#include "media/medium.h"
#include "propagation/fft_plan.h"

namespace kv {
namespace {

constexpr double kPi = 3.141592653589793;

// Iterations at most, and the residual |H x - h x| (|x| = 1) below which an
// eigenpair counts as converged, relative to k0: the eigenvalue is then
// within about residual^2/gap, the samples within residual/gap.
constexpr int kMaxIterations = 3000;
constexpr double kTolerance = 1e-9;
// Eigenvalues closer than this (relative to k0) form a degenerate set.
constexpr double kDegenerate = 1e-9;
// Samples whose magnitudes agree to this count as tied for the largest (the
// two extremes of an odd mode; the samples are accurate to about 1e-7).
constexpr double kTie = 1e-5;

// The operators on real vectors of n*n samples.
struct Operators {
  int32_t n;
  const double* index;
  double nref;
  double k0;
  double shift;       // c of the preconditioner 1/(c - kinetic)
  const double* kin;  // kinetic symbol, quarter table of (n/2 + 1)^2
  cplx* z;            // n*n complex work values
};

enum OpKind { kApplyH, kApplyPreconditioner };

// oa = op(a) and, when b is not null, ob = op(b): the two real vectors ride
// one complex transform as its real and imaginary parts (both operators map
// real vectors to real vectors).
bool apply(const Operators& o, OpKind kind, const double* a, const double* b, double* oa,
           double* ob) {
  const int64_t nn = o.n;
  const int64_t count = nn * nn;
  cplx* z = o.z;
  parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
    for (int64_t k = k0; k < k1; ++k) z[k] = cplx(a[k], b != nullptr ? b[k] : 0.0);
  });
  if (!fft2_in_place(z, o.n, kFftForward)) return false;
  const double norm = 1.0 / static_cast<double>(count);
  const int64_t tw = nn / 2 + 1;
  const double* kin = o.kin;
  const double shift = o.shift;
  parallel_for(nn, column_grain(nn, kGrainMemory), [=](int64_t p0, int64_t p1) {
    for (int64_t p = p0; p < p1; ++p) {
      const double* t = kin + std::min(p, nn - p) * tw;
      cplx* row = z + p * nn;
      for (int64_t q = 0; q < nn; ++q) {
        const double s = t[std::min(q, nn - q)];
        const double f = kind == kApplyH ? s * norm : norm / (shift - s);
        row[q] *= f;
      }
    }
  });
  if (!fft2_in_place(z, o.n, kFftBackward)) return false;
  const double* index = o.index;
  const double nref = o.nref;
  const double k0n = o.k0;
  parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
    for (int64_t k = k0; k < k1; ++k) {
      const double v = kind == kApplyH ? k0n * (index[k] - nref) : 0.0;
      oa[k] = z[k].real() + v * a[k];
      if (b != nullptr) ob[k] = z[k].imag() + v * b[k];
    }
  });
  return true;
}

// Applies op to each of `count` vectors, two at a time.
bool apply_all(const Operators& o, OpKind kind, double* const* in, double* const* out, int count) {
  for (int i = 0; i < count; i += 2) {
    stop_point();
    const bool two = i + 1 < count;
    if (!apply(o, kind, in[i], two ? in[i + 1] : nullptr, out[i], two ? out[i + 1] : nullptr)) {
      return false;
    }
  }
  return true;
}

// g[i*nv + j] = u_i . v_j over `count` samples, summed over fixed blocks
// (one row of g at a time, so that `part` holds blocks*nv values).
void gram(const double* const* u, int nu, const double* const* v, int nv, int64_t count, double* g,
          std::vector<double>& part) {
  const int blocks = reduce_blocks(count);
  part.assign(static_cast<size_t>(blocks) * static_cast<size_t>(nv), 0.0);
  double* pp = part.data();
  for (int i = 0; i < nu; ++i) {
    stop_point();
    const double* a = u[i];
    for_blocks(count, kGrainMemory / 4, [&](int blk, int64_t k0, int64_t k1) {
      double* cell = pp + static_cast<int64_t>(blk) * nv;
      for (int j = 0; j < nv; ++j) {
        const double* b = v[j];
        double s = 0.0;
        for (int64_t k = k0; k < k1; ++k) s += a[k] * b[k];
        cell[j] = s;
      }
    });
    for (int j = 0; j < nv; ++j) {
      double s = 0.0;
      for (int blk = 0; blk < blocks; ++blk) s += pp[static_cast<int64_t>(blk) * nv + j];
      g[static_cast<int64_t>(i) * nv + j] = s;
    }
  }
}

double norm2(const double* a, int64_t count, std::vector<double>& part) {
  double g;
  gram(&a, 1, &a, 1, count, &g, part);
  return g;
}

// Orthogonalises v against the r orthonormal vectors q (twice) and
// normalises it; false when too little of it is left.
bool orthonormalise(double* v, double* const* q, int r, int64_t count, std::vector<double>& part,
                    std::vector<double>& c) {
  const double before = std::sqrt(norm2(v, count, part));
  if (!(before > 0.0)) return false;
  c.assign(static_cast<size_t>(std::max(r, 1)), 0.0);
  for (int pass = 0; pass < 2 && r > 0; ++pass) {
    gram(q, r, &v, 1, count, c.data(), part);
    const double* cc = c.data();
    parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
      for (int64_t k = k0; k < k1; ++k) {
        double s = v[k];
        for (int j = 0; j < r; ++j) s -= cc[j] * q[j][k];
        v[k] = s;
      }
    });
  }
  const double after = std::sqrt(norm2(v, count, part));
  if (!(after > 1e-8 * before)) return false;
  const double inv = 1.0 / after;
  parallel_for(count, kGrainMemory, [=](int64_t k0, int64_t k1) {
    for (int64_t k = k0; k < k1; ++k) v[k] *= inv;
  });
  return true;
}

// Eigenvalues (descending) and eigenvectors (columns of v, row-major s x s)
// of the symmetric s x s matrix a, by cyclic Jacobi rotations.
// `a` is overwritten; vv and order are work space.
void symmetric_eigen(int s, std::vector<double>& a, std::vector<double>& w, std::vector<double>& v,
                     std::vector<double>& vv, std::vector<int>& order) {
  vv.assign(static_cast<size_t>(s * s), 0.0);
  for (int i = 0; i < s; ++i) vv[static_cast<size_t>(i * s + i)] = 1.0;
  auto at = [&](int i, int j) -> double& { return a[static_cast<size_t>(i * s + j)]; };
  for (int sweep = 0; sweep < 60; ++sweep) {
    double off = 0.0, diag = 0.0;
    for (int i = 0; i < s; ++i) {
      diag += at(i, i) * at(i, i);
      for (int j = i + 1; j < s; ++j) off += at(i, j) * at(i, j);
    }
    if (!(off > 1e-32 * diag)) break;
    for (int p = 0; p < s; ++p) {
      for (int q = p + 1; q < s; ++q) {
        const double apq = at(p, q);
        if (apq == 0.0) continue;
        const double theta = (at(q, q) - at(p, p)) / (2.0 * apq);
        const double t =
            (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
        const double c = 1.0 / std::sqrt(t * t + 1.0);
        const double sn = t * c;
        for (int k = 0; k < s; ++k) {
          const double akp = at(k, p), akq = at(k, q);
          at(k, p) = c * akp - sn * akq;
          at(k, q) = sn * akp + c * akq;
        }
        for (int k = 0; k < s; ++k) {
          const double apk = at(p, k), aqk = at(q, k);
          at(p, k) = c * apk - sn * aqk;
          at(q, k) = sn * apk + c * aqk;
        }
        for (int k = 0; k < s; ++k) {
          double* row = vv.data() + k * s;
          const double vkp = row[p], vkq = row[q];
          row[p] = c * vkp - sn * vkq;
          row[q] = sn * vkp + c * vkq;
        }
      }
    }
  }
  order.assign(static_cast<size_t>(s), 0);
  for (int i = 0; i < s; ++i) order[static_cast<size_t>(i)] = i;
  // Insertion sort, descending, ties in index order (std::stable_sort
  // would allocate, and fall back silently when it cannot).
  for (int i = 1; i < s; ++i) {
    const int o = order[static_cast<size_t>(i)];
    int j = i;
    while (j > 0 &&
           at(order[static_cast<size_t>(j - 1)], order[static_cast<size_t>(j - 1)]) < at(o, o)) {
      order[static_cast<size_t>(j)] = order[static_cast<size_t>(j - 1)];
      --j;
    }
    order[static_cast<size_t>(j)] = o;
  }
  w.assign(static_cast<size_t>(s), 0.0);
  v.assign(static_cast<size_t>(s * s), 0.0);
  for (int c = 0; c < s; ++c) {
    const int o = order[static_cast<size_t>(c)];
    w[static_cast<size_t>(c)] = at(o, o);
    for (int r = 0; r < s; ++r)
      v[static_cast<size_t>(r * s + c)] = vv[static_cast<size_t>(r * s + o)];
  }
}

// x_i = sum_j c[j*s + i]*q_j for i < b, in place over the samples: each
// sample's s values are read before any is written. Likewise hx from hq, and
// p_i = sum over j >= b (the part from outside the old block).
void combine(double* const* q, double* const* hq, int s, int b, const std::vector<double>& c,
             double* const* x, double* const* hx, double* const* p, int64_t count) {
  const double* cc = c.data();
  // About s*b products per sample: slices of some ten milliseconds.
  const int64_t slice = kSliceMemory / std::max<int64_t>(1, static_cast<int64_t>(s) * b);
  parallel_for_slices(count, kGrainMemory / 8, slice, [=](int64_t k0, int64_t k1) {
    double qv[3 * (kMaxModeNumber + 3)];
    double hv[3 * (kMaxModeNumber + 3)];
    for (int64_t k = k0; k < k1; ++k) {
      for (int j = 0; j < s; ++j) {
        qv[j] = q[j][k];
        hv[j] = hq[j][k];
      }
      for (int i = 0; i < b; ++i) {
        double sx = 0.0, shx = 0.0, sp = 0.0;
        for (int j = 0; j < s; ++j) {
          const double cji = cc[j * s + i];
          sx += cji * qv[j];
          shx += cji * hv[j];
          if (j >= b) sp += cji * qv[j];
        }
        x[i][k] = sx;
        hx[i][k] = shx;
        if (p != nullptr) p[i][k] = sp;
      }
    }
  });
}

// A deterministic pseudo-random value in [-1, 1) for sample k of vector t.
double jitter(int64_t k, int t) {
  uint64_t h = static_cast<uint64_t>(k) * 0x9E3779B97F4A7C15ULL +
               static_cast<uint64_t>(t) * 0xBF58476D1CE4E5B9ULL;
  h ^= h >> 31;
  h *= 0x94D049BB133111EBULL;
  h ^= h >> 29;
  return static_cast<double>(h >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

}  // namespace

int64_t mode_scratch_count(int32_t n, int32_t m) {
  const int64_t count = samples(n);
  const int64_t tw = static_cast<int64_t>(n) / 2 + 1;
  const int64_t b = static_cast<int64_t>(m) + 3;
  return 2 * count + tw * tw + 6 * b * count;
}

ModeResult guided_mode(const double* index, int32_t m, int32_t n, double size, double lambda,
                       double* scratch, cplx* out, double* neff, int32_t* guided) {
  const int64_t nn = n;
  const int64_t count = samples(n);
  const int64_t tw = nn / 2 + 1;
  const double d = size / static_cast<double>(n);
  const double k0 = 2.0 * kPi / lambda;
  const int b = m + 3;

  double lo = index[0], hi = index[0];
  for (int64_t k = 1; k < count; ++k) {
    lo = std::min(lo, index[k]);
    hi = std::max(hi, index[k]);
  }
  double edge = index[0];
  for (int64_t i = 0; i < nn; ++i) {
    edge =
        std::max({edge, index[i], index[(nn - 1) * nn + i], index[i * nn], index[i * nn + nn - 1]});
  }
  // A mode is guided when its neff exceeds the edge's index, and no neff
  // reaches the largest index: with the largest index on the edge (a uniform
  // index among others) nothing is guided, and there is nothing to iterate.
  if (!(edge < hi)) {
    *guided = 0;
    return kModeNotGuided;
  }
  const double nref = medium_reference(lo, hi);
  const double kr = k0 * nref;
  const double dk = 2.0 * kPi / size;

  Operators o;
  o.n = n;
  o.index = index;
  o.nref = nref;
  o.k0 = k0;
  o.z = reinterpret_cast<cplx*>(scratch);
  double* kin = scratch + 2 * count;
  o.kin = kin;
  double kin_most = 0.0;
  for (int64_t p = 0; p < tw; ++p) {
    for (int64_t q = 0; q < tw; ++q) {
      const double kx = dk * static_cast<double>(p), ky = dk * static_cast<double>(q);
      kin[p * tw + q] = medium_kinetic(kr, kx * kx + ky * ky);
      kin_most = std::max(kin_most, std::fabs(kin[p * tw + q]));
    }
  }
  o.shift = k0 * (hi - lo) + dk * dk / (2.0 * kr);

  double* base = kin + tw * tw;
  std::vector<double*> X(b), HX(b), W(b), HW(b), P(b), HP(b);
  for (int i = 0; i < b; ++i) {
    X[i] = base + (0 * b + i) * count;
    HX[i] = base + (1 * b + i) * count;
    W[i] = base + (2 * b + i) * count;
    HW[i] = base + (3 * b + i) * count;
    P[i] = base + (4 * b + i) * count;
    HP[i] = base + (5 * b + i) * count;
  }

  // Start: Hermite-Gauss-like shapes x^a*y^c*exp(-r^2/w^2) about the centroid
  // of the raised index, w the radius of the region above the middle, with a
  // little deterministic jitter so that no symmetry class is missed.
  double sw = 0, sx = 0, sy = 0, area = 0;
  for (int64_t i = 0; i < nn; ++i) {
    for (int64_t j = 0; j < nn; ++j) {
      const double e = index[i * nn + j] - lo;
      sw += e;
      sx += e * grid_x(i, n, d);
      sy += e * grid_x(j, n, d);
      if (index[i * nn + j] > nref) area += d * d;
    }
  }
  const double cx = sw > 0 ? sx / sw : 0.0, cy = sw > 0 ? sy / sw : 0.0;
  const double w0 = std::max(std::sqrt(area / kPi), 3.0 * d);
  // Work space, reserved once: the iteration itself allocates nothing.
  const size_t most = static_cast<size_t>(3 * b);
  std::vector<double> part, coef, vv;
  std::vector<int> order;
  std::vector<double*> Q, HQ, newq, newhq;
  std::vector<double> G, lam, C;
  part.reserve(static_cast<size_t>(kMaxBlocks) * most);
  coef.reserve(most);
  vv.reserve(most * most);
  order.reserve(most);
  Q.reserve(most);
  HQ.reserve(most);
  newq.reserve(most);
  newhq.reserve(most);
  G.reserve(most * most);
  lam.reserve(most);
  C.reserve(most * most);
  {
    int a = 0, c = 0;
    for (int t = 0; t < b; ++t) {
      stop_point();
      double* x = X[t];
      const int pa = a, pc = c;
      parallel_for(nn, column_grain(nn, kGrainMath), [=](int64_t i0, int64_t i1) {
        for (int64_t i = i0; i < i1; ++i) {
          const double u = (grid_x(i, n, d) - cx) / w0;
          for (int64_t j = 0; j < nn; ++j) {
            const double v = (grid_x(j, n, d) - cy) / w0;
            const double g = std::pow(u, pa) * std::pow(v, pc) * std::exp(-(u * u + v * v) / 2.0);
            x[i * nn + j] = g + 1e-3 * jitter(i * nn + j, t);
          }
        }
      });
      // Next (a, c): by total order, then a descending.
      if (a == 0) {
        a = c + 1;
        c = 0;
      } else {
        --a;
        ++c;
      }
    }
  }
  int s = 0;
  int active_p = 0;
  for (int i = 0; i < b; ++i) {
    if (!orthonormalise(X[i], X.data(), i, count, part, coef)) {
      // Cannot happen with the jitter; start from it alone then.
      for (int64_t k = 0; k < count; ++k) X[i][k] = jitter(k, i + 101);
      orthonormalise(X[i], X.data(), i, count, part, coef);
    }
  }
  if (!apply_all(o, kApplyH, X.data(), HX.data(), b)) return kModeNoPlan;
  // Rayleigh-Ritz on the start block.
  G.assign(static_cast<size_t>(b * b), 0.0);
  gram(X.data(), b, HX.data(), b, count, G.data(), part);
  for (int i = 0; i < b; ++i)
    for (int j = i + 1; j < b; ++j) {
      const double avg = 0.5 * (G[i * b + j] + G[j * b + i]);
      G[i * b + j] = G[j * b + i] = avg;
    }
  symmetric_eigen(b, G, lam, C, vv, order);
  combine(X.data(), HX.data(), b, b, C, X.data(), HX.data(), nullptr, count);

  const int need = std::min(m + 2, b);  // mode m and a possible partner
  // Relative to k0; on a grid far too coarse for the wavelength the operator
  // spans many k0, and its rounding alone (1e-13 of its span) would keep the
  // residuals above that.
  const double tol = std::max(kTolerance * k0, 1e-13 * (kin_most + k0 * (hi - lo)));
  int it = 0;
  for (; it < kMaxIterations; ++it) {
    stop_point();
    // Residuals into W.
    bool done = true;
    for (int i = 0; i < b; ++i) {
      const double li = lam[static_cast<size_t>(i)];
      double* wv = W[i];
      const double* x = X[i];
      const double* hx = HX[i];
      parallel_for(count, kGrainMemory, [=](int64_t k0_, int64_t k1) {
        for (int64_t k = k0_; k < k1; ++k) wv[k] = hx[k] - li * x[k];
      });
      if (i < need && !(std::sqrt(norm2(wv, count, part)) < tol)) done = false;
    }
    if (done) break;
    if (!apply_all(o, kApplyPreconditioner, W.data(), W.data(), b)) return kModeNoPlan;
    Q.assign(X.begin(), X.end());
    HQ.assign(HX.begin(), HX.end());
    newq.clear();
    newhq.clear();
    for (int i = 0; i < b; ++i) {
      if (orthonormalise(W[i], Q.data(), static_cast<int>(Q.size()), count, part, coef)) {
        Q.push_back(W[i]);
        newq.push_back(W[i]);
        newhq.push_back(HW[i]);
      }
    }
    for (int i = 0; i < active_p; ++i) {
      if (orthonormalise(P[i], Q.data(), static_cast<int>(Q.size()), count, part, coef)) {
        Q.push_back(P[i]);
        newq.push_back(P[i]);
        newhq.push_back(HP[i]);
      }
    }
    if (!apply_all(o, kApplyH, newq.data(), newhq.data(), static_cast<int>(newq.size()))) {
      return kModeNoPlan;
    }
    HQ.insert(HQ.end(), newhq.begin(), newhq.end());
    s = static_cast<int>(Q.size());
    G.assign(static_cast<size_t>(s * s), 0.0);
    gram(Q.data(), s, HQ.data(), s, count, G.data(), part);
    for (int i = 0; i < s; ++i)
      for (int j = i + 1; j < s; ++j) {
        const double avg = 0.5 * (G[i * s + j] + G[j * s + i]);
        G[i * s + j] = G[j * s + i] = avg;
      }
    symmetric_eigen(s, G, lam, C, vv, order);
    // The new search directions land in P's slots: Q's P columns are read
    // per sample before they are written, as are X's.
    combine(Q.data(), HQ.data(), s, b, C, X.data(), HX.data(), P.data(), count);
    active_p = s > b ? b : 0;
  }

  // Degenerate sets: turned so that each member in turn carries the most
  // power on the row j = n/2.
  const int64_t j0 = nn / 2;
  for (int i0 = 0; i0 < b;) {
    int i1 = i0 + 1;
    while (i1 < b &&
           lam[static_cast<size_t>(i1 - 1)] - lam[static_cast<size_t>(i1)] < kDegenerate * k0)
      ++i1;
    const int c = i1 - i0;
    if (c > 1) {
      std::vector<double> M(static_cast<size_t>(c * c), 0.0), mw, mv;
      for (int a = 0; a < c; ++a)
        for (int e = 0; e < c; ++e) {
          double sum = 0.0;
          for (int64_t i = 0; i < nn; ++i) sum += X[i0 + a][i * nn + j0] * X[i0 + e][i * nn + j0];
          M[static_cast<size_t>(a * c + e)] = sum;
        }
      symmetric_eigen(c, M, mw, mv, vv, order);
      std::vector<double*> qs(X.begin() + i0, X.begin() + i1);
      std::vector<double*> hs(HX.begin() + i0, HX.begin() + i1);
      combine(qs.data(), hs.data(), c, c, mv, qs.data(), hs.data(), nullptr, count);
    }
    i0 = i1;
  }

  int32_t g = 0;
  for (int i = 0; i <= m; ++i) {
    if (nref + lam[static_cast<size_t>(i)] / k0 > edge) ++g;
  }
  *guided = g;
  if (g <= m) return kModeNotGuided;

  const double* x = X[m];
  double mx = 0.0;
  for (int64_t k = 0; k < count; ++k) mx = std::max(mx, std::fabs(x[k]));
  int64_t at = 0;
  for (int64_t k = 0; k < count; ++k) {
    if (std::fabs(x[k]) >= mx * (1.0 - kTie)) {
      at = k;
      break;
    }
  }
  const double sign = x[at] < 0.0 ? -1.0 : 1.0;
  const double scale = sign / (std::sqrt(norm2(x, count, part)) * d);
  parallel_for(count, kGrainMemory, [=](int64_t k0_, int64_t k1) {
    for (int64_t k = k0_; k < k1; ++k) out[k] = cplx(x[k] * scale, 0.0);
  });
  *neff = nref + lam[static_cast<size_t>(m)] / k0;
  return kModeOk;
}

}  // namespace kv

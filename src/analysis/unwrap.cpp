#include "analysis/unwrap.h"

#include <cmath>

#include "core/interrupt.h"
#include "core/parallel.h"

namespace kv {

namespace {

constexpr double kHalfTurn = 3.141592654;
constexpr double kTurn = 6.283185308;

// Below this magnitude a fold takes only a few steps and they are taken one
// by one; from it on, runs of equal steps are taken at once.
constexpr double kRunFrom = 16.0;

// Same sign and same binade [2^e, 2^(e+1)): a step between two such values
// is rounded to the grid of that binade.
bool same_binade(double a, double b) {
  return std::signbit(a) == std::signbit(b) && std::ilogb(a) == std::ilogb(b);
}

// x = x + step while more(x), with every intermediate value exactly the one
// the stepwise loop produces. Inside one binade the loop adds the same
// rounded step every time once one step has been taken there (with a tie,
// round-half-even picks the same neighbour from the second step on), so a
// run of m steps is x + m*delta, exact, and the first value of the run that
// ends the loop is found by bisection. `more` is monotone along the run.
template <class More>
double repeat_step(double x, double step, More more) {
  bool settled = false;  // the step that led to x stayed inside x's binade
  while (more(x)) {
    const double next = x + step;
    if (next == x) return x;  // the loop would never end: stop where it stands
    if (settled && same_binade(x, next)) {
      const double delta = next - x;  // exact: both lie on the binade's grid
      const double lo = std::ldexp(1.0, std::ilogb(x));
      const double ax = std::fabs(x);
      const bool grows = (x > 0) == (step > 0);
      // Room for steps whose exact sum x + step stays inside [lo, 2*lo].
      const double room = grows ? (2.0 * lo - ax - std::fabs(step)) : (ax - std::fabs(step) - lo);
      const double m = std::floor(room / std::fabs(delta)) - 2.0;
      if (m >= 1.0) {
        const double last = std::fma(m, delta, x);
        if (more(last)) {
          x = last;
          continue;
        }
        double keep = 0.0;  // more() holds here
        double stop = m;    // and fails here
        while (stop - keep > 1.0) {
          const double mid = std::floor((keep + stop) * 0.5);
          if (more(std::fma(mid, delta, x))) {
            keep = mid;
          } else {
            stop = mid;
          }
        }
        return std::fma(stop, delta, x);
      }
    }
    settled = std::fabs(next) >= kRunFrom && same_binade(x, next);
    x = next;
  }
  return x;
}

}  // namespace

double fold_phase(double v, double ref) {
  const double d = v - ref;
  if (!std::isfinite(d)) return v;
  if (d >= kHalfTurn) {
    return repeat_step(v, -kTurn, [ref](double x) { return x - ref >= kHalfTurn; });
  }
  if (d <= -kHalfTurn) {
    return repeat_step(v, kTurn, [ref](double x) { return x - ref <= -kHalfTurn; });
  }
  return v;
}

namespace {

// Offsets (a, b) from the centre: column h + a, row h + b.
class Rings {
 public:
  Rings(const double* in, double* out, int64_t n) : w_(in), u_(out), n_(n), h_(n / 2) {}

  double u(int64_t a, int64_t b) const { return u_[at(a, b)]; }
  void keep(int64_t a, int64_t b) { u_[at(a, b)] = w_[at(a, b)]; }
  void toward(int64_t a, int64_t b, double ref) { u_[at(a, b)] = fold_phase(w_[at(a, b)], ref); }
  double mean2(int64_t a1, int64_t b1, int64_t a2, int64_t b2) const {
    return (u(a1, b1) + u(a2, b2)) * 0.5;
  }
  double mean3(int64_t a1, int64_t b1, int64_t a2, int64_t b2, int64_t a3, int64_t b3) const {
    return (u(a1, b1) + u(a2, b2) + u(a3, b3)) / 3.0;
  }

  void ring1() {
    toward(-1, 0, u(0, 0));
    toward(0, 1, mean2(0, 0, -1, 0));
    toward(1, 0, mean2(0, 0, 0, 1));
    toward(0, -1, mean2(0, 0, 1, 0));
    toward(-1, -1, mean3(-1, 0, 0, -1, 0, 0));
    toward(-1, 1, mean3(-1, 0, 0, 1, 0, 0));
    toward(1, 1, mean3(1, 0, 0, 1, 0, 0));
    toward(1, -1, mean3(1, 0, 0, -1, 0, 0));
  }

  // The column a = -r and the row b = -r of ring r, then their corner.
  void near_sides(int64_t r) {
    toward(-r, -r + 1, mean2(-r + 1, -r + 2, -r + 1, -r + 1));
    for (int64_t b = -r + 2; b <= r - 1; ++b) {
      toward(-r, b, mean3(-r, b - 1, -r + 1, b, -r + 1, b - 1));
    }
  }
  void low_row(int64_t r) {
    toward(r - 1, -r, mean2(r - 2, -r + 1, r - 1, -r + 1));
    for (int64_t a = r - 2; a >= -r + 1; --a) {
      toward(a, -r, mean3(a + 1, -r + 1, a + 1, -r, a, -r + 1));
    }
  }
  void low_corner(int64_t r) { toward(-r, -r, mean3(-r, -r + 1, -r + 1, -r, -r + 1, -r + 1)); }

  void full_ring(int64_t r) {
    near_sides(r);
    toward(r, r - 1, mean2(r - 1, r - 2, r - 1, r - 1));
    for (int64_t b = r - 2; b >= -r + 1; --b) {
      toward(r, b, mean3(r, b + 1, r - 1, b, r - 1, b + 1));
    }
    toward(-r + 1, r, mean2(-r + 2, r - 1, -r + 1, r - 1));
    for (int64_t a = -r + 2; a <= r - 1; ++a) {
      toward(a, r, mean3(a - 1, r - 1, a - 1, r, a, r - 1));
    }
    low_row(r);
    low_corner(r);
    toward(-r, r, mean3(-r, r - 1, -r + 1, r, -r + 1, r - 1));
    toward(r, r, mean3(r, r - 1, r - 1, r, r - 1, r - 1));
    toward(r, -r, mean3(r, -r + 1, r - 1, -r, r - 1, -r + 1));
  }

  // Even n: the offsets run from -h to h - 1, so the outermost ring is only
  // its column a = -h and its row b = -h.
  void last_ring(int64_t r) {
    near_sides(r);
    low_row(r);
    low_corner(r);
  }

  void run() {
    keep(0, 0);
    if (n_ == 1) return;
    if (n_ == 2) {
      // Offsets -1 and 0 only: ring 1 without the elements it lacks.
      toward(-1, 0, u(0, 0));
      toward(0, -1, u(0, 0));
      toward(-1, -1, mean3(-1, 0, 0, -1, 0, 0));
      return;
    }
    ring1();
    // Odd n: offsets run from -h to h, so every ring up to h is complete.
    const int64_t full = n_ % 2 == 0 ? h_ - 1 : h_;
    for (int64_t r = 2; r <= full; ++r) {
      stop_point();
      full_ring(r);
    }
    if (n_ % 2 == 0) last_ring(h_);
  }

 private:
  int64_t at(int64_t a, int64_t b) const { return (h_ + a) * n_ + (h_ + b); }

  const double* w_;
  double* u_;
  int64_t n_;
  int64_t h_;
};

}  // namespace

void unwrap_phase(const double* in, int64_t n, double k, double* out) {
  if (n <= 0) return;
  Rings(in, out, n).run();
  // The walk runs ring by ring from the centre, each sample from its inner
  // neighbours, and stays in one thread (Ctrl-C is taken between rings); the
  // scaling is per sample.
  parallel_for_slices(n * n, kGrainMemory, kSliceMemory, [=](int64_t i0, int64_t i1) {
    for (int64_t i = i0; i < i1; ++i) out[i] = k * out[i];
  });
}

}  // namespace kv

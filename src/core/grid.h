// Walks over a field's samples with their squared distance from a centre.
#pragma once

#include <cstdint>

#include "core/field.h"
#include "core/parallel.h"

namespace kv {

// Calls visit(k, r2) for every sample k = i*n + j, i (x) outer and j (y)
// inner, with r2 = (y_j - y_shift)^2 + (x_i - x_shift)^2 on the grid of
// spacing d; the x term is taken once per column. The columns are shared
// among threads, at least `grain` samples' worth each (kGrainMemory,
// kGrainMath), so visit must write sample k only; each range runs its own
// copy of it, so a visit that captures by value keeps its values in registers.
template <class Visit>
void for_each_r2(int32_t n, double d, double x_shift, double y_shift, int64_t grain, Visit visit) {
  parallel_for(n, column_grain(n, grain), [=](int64_t i0, int64_t i1) {
    // Copies in this range's own frame: the samples it writes cannot alias
    // them, so they stay in registers.
    const Visit v = visit;
    const double dd = d, xs = x_shift, ys = y_shift;
    for (int64_t i = i0; i < i1; ++i) {
      const double ex = grid_x(i, n, dd) - xs;
      const double ax = ex * ex;
      const int64_t row = i * n;
      for (int64_t j = 0; j < n; ++j) {
        const double ey = grid_x(j, n, dd) - ys;
        v(row + j, ey * ey + ax);
      }
    }
  });
}

}  // namespace kv

#include "propagation/fft_pad.h"

#include <algorithm>
#include <cstdint>

#include "core/interrupt.h"
#include "core/parallel.h"

namespace kv {

bool pad_field(const FieldIn& in, const FieldOut& out) {
  if (!(in.h.curvature == 0.0)) return false;
  const int64_t n = in.n;
  const int64_t m = out.n;
  // Input index i lands on i + shift; the overlap is the same in x and y.
  const int64_t shift = m / 2 - n / 2;
  const int64_t first = std::max<int64_t>(0, -shift);
  const int64_t last = std::min<int64_t>(n, m - shift);  // one past
  if (last <= first) return true;
  const int64_t cols = last - first;
  with_samples(in, [&](auto* z) {
    parallel_for_slices(cols, column_grain(cols, kGrainMemory), column_slice(cols, kSliceMemory),
                        [=](int64_t c0, int64_t c1) {
                          for (int64_t i = first + c0; i < first + c1; ++i) {
                            const int64_t from = i * n;
                            const int64_t to = (i + shift) * m + shift;
                            for (int64_t j = first; j < last; ++j)
                              out.z[to + j] = sample(z, from + j);
                          }
                        });
  });
  return true;
}

}  // namespace kv

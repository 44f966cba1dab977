#include "propagation/interpol.h"

#include <atomic>
#include <cmath>

#include "core/interrupt.h"
#include "core/parallel.h"

namespace kv {

namespace {

// Degrees to radians, as 3.141592654/180.
constexpr double kDegree = 0.017453292522222223;

// The lower neighbour of a point t = X/d + n/2 + 1 cells from the first
// sample, kept within 0 .. n-2 so that both neighbours are samples. A point
// just inside the range can round onto the first or the last sample line; the
// clamped cell holds it on its edge, where the edge rules give the same value.
int64_t lower_neighbour(double t, int32_t n) {
  const double k = std::floor(t) - 1.0;
  if (!(k >= 0.0)) return 0;  // NaN lands here too
  if (k > static_cast<double>(n - 2)) return n - 2;
  return static_cast<int64_t>(k);
}

}  // namespace

InterpolResult interpolate_cell(double x0, double y0, double d, double f00, double f10, double f01,
                                double f11, double X, double Y, double* value) {
  const double m = d * 1e-6;
  if (X < x0 - m || X > x0 + d + m || Y < y0 - m || Y > y0 + d + m) return kInterpolOutOfRange;

  const double o = X - x0;
  const double a = x0 + d - X;
  const double r = Y - y0;
  const double b = y0 + d - Y;
  if (o < -m || a < -m || r < -m || b < -m) return kInterpolOutOfRange;

  // On a cell edge the reciprocal weights below would be infinite.
  if (std::fabs(o) < m) {
    *value = f00 + (f01 - f00) * r / d;
  } else if (std::fabs(r) < m) {
    *value = f00 + (f10 - f00) * o / d;
  } else if (std::fabs(a) < m) {
    *value = f10 + (f11 - f10) * r / d;
  } else if (std::fabs(b) < m) {
    *value = f01 + (f11 - f01) * o / d;
  } else {
    const double w00 = 1.0 / (r * o);
    const double w10 = 1.0 / (r * a);
    const double w01 = 1.0 / (b * o);
    const double w11 = 1.0 / (b * a);
    const double sum = w10 + w00 + w01 + w11;
    *value = (w00 / sum) * f00 + (w10 / sum) * f10 + (w01 / sum) * f01 + (w11 / sum) * f11;
  }
  return kInterpolOk;
}

InterpolResult interpolate(double new_size, int32_t m, double x_shift, double y_shift, double angle,
                           double magnification, const FieldIn& in, const FieldOut& out) {
  const int32_t n = in.n;
  const int32_t hn = n / 2;
  const int32_t hm = m / 2;
  const double d_in = in.h.size / static_cast<double>(n - 1);
  const double d_out = new_size / static_cast<double>(m - 1);
  const double lo = -static_cast<double>(hn) * d_in;
  const double hi = static_cast<double>(n - 1 - hn) * d_in;

  const double theta = angle * kDegree;
  const double c = std::cos(theta);
  const double s = std::sin(theta);

  // The output columns are shared among threads. A point outside its cell
  // ends its thread's range; the call fails then, whatever else was written.
  std::atomic<bool> out_of_range{false};
  std::atomic<bool>* const failed = &out_of_range;
  with_samples(in, [&](auto* z) {
    parallel_for_slices(m, column_grain(m, kGrainMath), column_slice(m, kSliceMath),
                        [=](int64_t i0, int64_t i1) {
                          for (int64_t i = i0; i < i1; ++i) {
                            const double u = static_cast<double>(i - hm) * d_out - x_shift;
                            for (int64_t j = 0; j < m; ++j) {
                              const double v = static_cast<double>(j - hm) * d_out - y_shift;
                              const double X = (v * s + u * c) / magnification;
                              const double Y = (v * c - u * s) / magnification;
                              const int64_t at = i * m + j;
                              // NaN coordinates fail these tests and give a zero sample.
                              if (!(lo < X && X < hi && lo < Y && Y < hi)) {
                                out.z[at] = cplx(0.0, 0.0);
                                continue;
                              }
                              const int64_t k0 = lower_neighbour(X / d_in + hn + 1, n);
                              const int64_t l0 = lower_neighbour(Y / d_in + hn + 1, n);
                              const double x0 = static_cast<double>(k0 - hn) * d_in;
                              const double y0 = static_cast<double>(l0 - hn) * d_in;
                              const int64_t c00 = k0 * n + l0;
                              const int64_t c10 = c00 + n;
                              const cplx f00 = sample(z, c00), f10 = sample(z, c10);
                              const cplx f01 = sample(z, c00 + 1), f11 = sample(z, c10 + 1);
                              double re = 0.0;
                              double im = 0.0;
                              if (interpolate_cell(x0, y0, d_in, f00.real(), f10.real(), f01.real(),
                                                   f11.real(), X, Y, &re) != kInterpolOk ||
                                  interpolate_cell(x0, y0, d_in, f00.imag(), f10.imag(), f01.imag(),
                                                   f11.imag(), X, Y, &im) != kInterpolOk) {
                                failed->store(true, std::memory_order_relaxed);
                                return;
                              }
                              out.z[at] = cplx(re / magnification, im / magnification);
                            }
                          }
                        });
  });
  return out_of_range.load() ? kInterpolOutOfRange : kInterpolOk;
}

}  // namespace kv

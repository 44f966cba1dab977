// Profiles laid on a field sample by sample, the random intensity factor and
// the Gauss-Hermite laser mode. A profile is an n x n plane of doubles with
// the field's linear index: profile(r, c) goes with the sample in row r,
// column c.
#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

// The phase given to a zero-real-part sample (v >= 0, and otherwise).
constexpr double kQuarterTurn = 1.570796327;
constexpr double kThreeQuarterTurn = 4.712388981;

// New amplitude sqrt(p), phase of the input kept.
void sub_intensity(const double* p, const FieldIn& in, const FieldOut& out);
// New phase p, amplitude of the input kept.
void sub_phase(const double* p, const FieldIn& in, const FieldOut& out);
// Amplitude scaled by sqrt(p).
void mult_intensity(const double* p, const FieldIn& in, const FieldOut& out);
// Phase increased by p.
void mult_phase(const double* p, const FieldIn& in, const FieldOut& out);

// Every sample scaled by r/32767, r the k-th draw of the generator seeded
// with `seed`; the same draws as random_phase for the same seed.
void random_intensity(int32_t seed, const FieldIn& in, const FieldOut& out);

// Physicists' Hermite polynomial H_k(t) by the three-term recurrence; 1 for
// k <= 0.
double hermite_polynomial(int32_t k, double t);

// The TEM(n, m) mode A * H_m(sqrt2 x / w0) * H_n(sqrt2 y / w0) *
// exp(-(x^2 + y^2) / w0^2) on the grid of `in`; n goes with y (rows), m with
// x (columns). The samples of `in` are not read.
void gauss_hermite(int32_t n, int32_t m, double a, double w0, const FieldIn& in,
                   const FieldOut& out);

}  // namespace kv

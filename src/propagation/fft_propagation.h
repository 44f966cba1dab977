// Free-space propagation by FFT on the field's own grid (spacing size/N).
//
// Both propagators transform the samples in place in the output, multiply
// the spectrum by a transfer function formed on the fly, and transform back;
// the plane-wave factor exp(i*2*pi*z/lambda) is left out, as in the direct
// integration. The convolution they compute is periodic: light that leaves
// the grid on one side comes back on the other.
#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

enum FftResult : int {
  kFftOk = 0,
  kFftSpherical = 1,  // the input's curvature is not 0 (NaN included); nothing written
  kFftNoPlan = 2,     // FFTW made no plan; the output is incomplete
};

// Where the Fresnel propagator goes over from its transfer function to its
// sampled impulse response: N*D^2/lambda with D = size/N. Up to it the chirp
// of the transfer function is sampled without aliasing on the frequency grid,
// beyond it that of the impulse response on the spatial grid.
double fresnel_switch_distance(int32_t n, double size, double lambda);

// Paraxial (Fresnel) propagation over z; z < 0 propagates backwards and z = 0
// copies the samples. For |z| <= fresnel_switch_distance the transfer
// function exp(-i*pi*lambda*z*(fx^2 + fy^2)) is used, beyond it the FFT of
// the impulse response exp(i*pi*(x^2 + y^2)/(lambda*z))/(i*lambda*z)
// sampled on the grid (periodically wrapped). Writes the n*n samples of
// `out` (its header is the caller's).
FftResult fresnel_fft(double z, const FieldIn& in, const FieldOut& out);

// Scalar propagation over z by the angular spectrum: the transfer function
// exp(i*2*pi*z*(sqrt(1/lambda^2 - fx^2 - fy^2) - 1/lambda)); evanescent
// components are removed, and so is every component whose transfer function
// changes phase by more than pi from one frequency sample to the next in x
// or in y, |z*fx| > (size/2)*sqrt(1/lambda^2 - fx^2 - fy^2) (and likewise
// for fy): the band limit of Matsushima and Shimobaba, which keeps long
// distances free of aliasing. On the axes it reads
// |fx| <= 1/(lambda*sqrt((2*z/size)^2 + 1)). z = 0 copies the samples.
FftResult angular_spectrum(double z, const FieldIn& in, const FieldOut& out);

}  // namespace kv

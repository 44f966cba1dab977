// Free-space propagation by direct integration of the Fresnel integral onto
// a new grid. Both grids space their samples by side/(n - 1).
#pragma once

#include <cstdint>

namespace kv {

struct ForwardGrids {
  double z;         // propagation distance
  double new_size;  // side length of the output grid
  int32_t m;        // output dimension
  double size;      // side length of the input grid
  double lambda;    // wavelength
  int32_t n;        // input dimension
};

// The direct sum: every input pixel, integrated exactly with Fresnel
// integrals, added into every output sample. 4*n^2*m^2 Fresnel evaluations;
// kept as the reference for the fast path. Writes the m*m output samples
// (planes with leading dimension m).
void forward_direct(const ForwardGrids& g, const double* in_re, const double* in_im, double* out_re,
                    double* out_im);

// The same sums, factorised: the pixel kernel is (dCx + i dSx)(dCy + i dSy),
// the x factor depending only on (input column, output column) and the y
// factor on (input row, output row), and both use the same table. The output
// is K^T U K / (2i), two complex products. Non-finite input samples and
// kernel factors end up in the output as they would in the direct sum.
// Scratch: 4*n*m doubles for the kernel table and the intermediate product,
// and 2*max(n, m)*min(256, max(n, m)) for packing.
void forward_fast(const ForwardGrids& g, const double* in_re, const double* in_im, double* out_re,
                  double* out_im);

}  // namespace kv

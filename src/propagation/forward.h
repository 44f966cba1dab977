// Free-space propagation by direct integration of the Fresnel integral onto
// a new grid. Both grids space their samples by side/(n - 1).
#pragma once

#include <cstdint>

#include "core/field.h"

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
// kept as the reference for the fast path. Writes the m*m samples of `out`.
// Does nothing unless in.n == g.n and out.n == g.m.
void forward_direct(const ForwardGrids& g, const FieldIn& in, const FieldOut& out);

// Working memory of forward_fast, in complex values (doubles for `lines`).
struct ForwardScratchSize {
  int64_t kernel;   // n*m: the kernel table
  int64_t product;  // n*m: the intermediate product
  int64_t pack;     // n*min(256, n) when the input must be copied, else 0
  int64_t lines;    // m: the output lines a non-finite kernel factor spoils
};

// What forward_fast needs for `in`. The input is copied, a block of columns at
// a time, only when it is a narrowed real field or holds infinite samples;
// otherwise the products read its samples in place.
ForwardScratchSize forward_scratch_size(const ForwardGrids& g, const FieldIn& in);

// Working memory of forward_fast, at least the sizes above (contents need not
// be zeroed); `pack` may be null when its size is 0.
struct ForwardScratch {
  cplx* kernel;
  cplx* product;
  cplx* pack;
  double* lines;
};

enum ForwardResult : int {
  kForwardOk = 0,
  kForwardBadArguments = 1,  // grids that do not match the fields, or scratch missing
};

// The same sums, factorised: the pixel kernel is (dCx + i dSx)(dCy + i dSy),
// the x factor depending only on (input column, output column) and the y
// factor on (input row, output row), and both use the same table. The output
// is K^T U K / (2i), two complex products. Non-finite input samples and
// kernel factors end up in the output as they would in the direct sum.
// Writes the m*m samples of `out`; nothing when it returns an error.
ForwardResult forward_fast(const ForwardGrids& g, const FieldIn& in, const FieldOut& out,
                           const ForwardScratch& s);

}  // namespace kv

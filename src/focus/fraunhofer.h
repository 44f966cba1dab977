// The field in the back focal plane of an ideal thin lens, on a grid of any
// side and dimension: a matrix Fourier transform of the samples.
//
//   V(u, v) = d^2/(i*lambda*f) * exp(i*pi*(u^2 + v^2)/(lambda*f))
//             * sum over (x, y) of U(x, y)*exp(-2*pi*i*(x*u + y*v)/(lambda*f))
//
// with d = size/N the input spacing and (u, v) on the output grid
// u_i = (i - M/2)*new_size/M + x_shift (likewise v with y_shift).
//
// The sum runs as two matrix products, one over x and one over y. The input
// grid is symmetric about x = 0 (but for its first sample when N is even),
// so the samples at +x and -x are first combined into U(x) + U(-x) and
// -i*(U(x) - U(-x)); they then meet the real tables cos(a*x*u) and
// sin(a*x*u), and each product is a real one (BLAS dgemm over the complex
// values read as pairs of reals), half the arithmetic of a complex product.
#pragma once

#include <cstdint>

#include "core/field.h"

namespace kv {

struct FraunhoferGrid {
  double f;         // focal length; negative: a virtual focus
  double new_size;  // side of the output grid
  int32_t m;        // output dimension
  double x_shift;   // centre of the output grid
  double y_shift;
};

// Working memory, in complex values (doubles for the tables).
struct FraunhoferScratchSize {
  int64_t pairs;    // max(n, m) * 2 * (a block of pairs): combined samples
  int64_t product;  // n * m: the product over x
  int64_t table;    // 2*(n/2 + 1) * m doubles, one per direction
};
FraunhoferScratchSize fraunhofer_scratch_size(int32_t n, int32_t m);

struct FraunhoferScratch {
  cplx* pairs;
  cplx* product;
  double* table_x;
  double* table_y;  // may be table_x when y_shift == x_shift
};

enum FraunhoferResult : int {
  kFraunhoferOk = 0,
  kFraunhoferBadArguments = 1,  // sizes that do not match, scratch missing
};

// Writes the m*m samples of `out` (its header is the caller's). A sample
// that is not finite makes every output sample NaN. Stops (kv::stop_point)
// between blocks of columns of the products.
FraunhoferResult fraunhofer(const FraunhoferGrid& g, const FieldIn& in, const FieldOut& out,
                            const FraunhoferScratch& s);

// The exponential table of one direction: column i (2*h rows, h = n/2 + 1)
// holds cos(a*p*u_i) and sin(a*p*u_i) for p = 0 .. h - 1, with
// a = 2*pi*d/(lambda*f) and u_i = (i - m/2)*du + shift. The pairs p are cut
// into blocks [p0, p1) (fraunhofer_pair_block); the cos of p lies in row
// p0 + p, its sin in row p1 + p, so that each block's rows are one product's
// depth. Formed by angle addition over runs of 16 p: each value is one
// complex product of values taken from sin and cos. Exposed for the tests.
void fraunhofer_table(int32_t n, int32_t m, double a, double du, double shift, double* table);

// Block b of the pairs of a grid of n: [*p0, *p1); false past the last.
bool fraunhofer_pair_block(int32_t n, int64_t b, int64_t* p0, int64_t* p1);

}  // namespace kv

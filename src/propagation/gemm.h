// Complex matrix products for the propagation: the host's BLAS (zgemm) when
// one is linked, a cache-blocked kernel of our own otherwise. Complex values
// are stored as interleaved (real, imaginary) pairs of doubles.
#pragma once

#include <complex>
#include <cstdint>

namespace kv {

using cplx = std::complex<double>;

// C = alpha * op(A) * B + beta * C on column-major matrices, with op(A) = A
// (m x k, leading dimension lda) or its transpose, not conjugated (A stored
// k x m). B is k x n, C is m x n.
void zgemm(bool trans_a, int64_t m, int64_t n, int64_t k, cplx alpha, const cplx* a, int64_t lda,
           const cplx* b, int64_t ldb, cplx beta, cplx* c, int64_t ldc);

// The same product by our own kernel, whatever is linked.
void zgemm_own(bool trans_a, int64_t m, int64_t n, int64_t k, cplx alpha, const cplx* a,
               int64_t lda, const cplx* b, int64_t ldb, cplx beta, cplx* c, int64_t ldc);

// C = A * B + beta * C on real column-major matrices: A is m x k (leading
// dimension lda), B is k x n, C is m x n; beta 0 overwrites C. The BLAS's
// dgemm when one is linked, our own kernel otherwise.
void dgemm(int64_t m, int64_t n, int64_t k, const double* a, int64_t lda, const double* b,
           int64_t ldb, double beta, double* c, int64_t ldc);

// The same product by our own kernel, whatever is linked.
void dgemm_own(int64_t m, int64_t n, int64_t k, const double* a, int64_t lda, const double* b,
               int64_t ldb, double beta, double* c, int64_t ldc);

// True when zgemm() and dgemm() call a BLAS.
bool gemm_uses_blas();

}  // namespace kv

// Real matrix products for the propagation: the host's BLAS when one is
// linked, a cache-blocked kernel of our own otherwise.
#pragma once

#include <cstdint>

namespace kv {

// C = alpha * op(A) * B + beta * C on column-major matrices, with op(A) = A
// (m x k, leading dimension lda) or its transpose (A stored k x m). B is k x n,
// C is m x n.
void gemm(bool trans_a, int64_t m, int64_t n, int64_t k, double alpha, const double* a, int64_t lda,
          const double* b, int64_t ldb, double beta, double* c, int64_t ldc);

// The same product by our own kernel, whatever is linked.
void gemm_own(bool trans_a, int64_t m, int64_t n, int64_t k, double alpha, const double* a,
              int64_t lda, const double* b, int64_t ldb, double beta, double* c, int64_t ldc);

// True when gemm() calls a BLAS.
bool gemm_uses_blas();

}  // namespace kv

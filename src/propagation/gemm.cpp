#include "propagation/gemm.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

// The BLAS integer type and symbol name are chosen when the library is built:
// Debian's libblas and OpenBLAS take 32-bit integers (the defaults), MATLAB's
// mwblas 64-bit ones (KV_BLAS_INT=int64_t). Without KV_HAVE_BLAS our own
// kernel does all products.
#ifndef KV_BLAS_INT
#define KV_BLAS_INT int
#endif
#ifndef KV_BLAS_DGEMM
#define KV_BLAS_DGEMM dgemm_
#endif

#ifdef KV_HAVE_BLAS
extern "C" void KV_BLAS_DGEMM(const char* transa, const char* transb, const KV_BLAS_INT* m,
                              const KV_BLAS_INT* n, const KV_BLAS_INT* k, const double* alpha,
                              const double* a, const KV_BLAS_INT* lda, const double* b,
                              const KV_BLAS_INT* ldb, const double* beta, double* c,
                              const KV_BLAS_INT* ldc, std::size_t len_transa,
                              std::size_t len_transb);
#endif

namespace kv {
namespace {

constexpr int64_t kRowBlock = 128;
constexpr int64_t kDepthBlock = 256;

// C(rows, 0..cols) += A(rows, p0..p1) * (alpha * B(p0..p1, 0..cols)) for cols <= 4:
// each element of A is loaded once for up to four columns of C.
template <int Cols>
void panel(int64_t rows, int64_t p0, int64_t p1, double alpha, const double* a, int64_t lda,
           const double* b, int64_t ldb, double* c, int64_t ldc) {
  double* cc[Cols];
  for (int q = 0; q < Cols; ++q) cc[q] = c + q * ldc;
  for (int64_t p = p0; p < p1; ++p) {
    const double* ap = a + p * lda;
    double bq[Cols];
    for (int q = 0; q < Cols; ++q) bq[q] = alpha * b[p + q * ldb];
    for (int64_t r = 0; r < rows; ++r) {
      const double av = ap[r];
      for (int q = 0; q < Cols; ++q) cc[q][r] += av * bq[q];
    }
  }
}

void gemm_nn(int64_t m, int64_t n, int64_t k, double alpha, const double* a, int64_t lda,
             const double* b, int64_t ldb, double* c, int64_t ldc) {
  for (int64_t r0 = 0; r0 < m; r0 += kRowBlock) {
    const int64_t rows = std::min(kRowBlock, m - r0);
    for (int64_t p0 = 0; p0 < k; p0 += kDepthBlock) {
      const int64_t p1 = std::min(k, p0 + kDepthBlock);
      int64_t j = 0;
      for (; j + 4 <= n; j += 4)
        panel<4>(rows, p0, p1, alpha, a + r0, lda, b + j * ldb, ldb, c + r0 + j * ldc, ldc);
      for (; j < n; ++j)
        panel<1>(rows, p0, p1, alpha, a + r0, lda, b + j * ldb, ldb, c + r0 + j * ldc, ldc);
    }
  }
}

}  // namespace

void gemm_own(bool trans_a, int64_t m, int64_t n, int64_t k, double alpha, const double* a,
              int64_t lda, const double* b, int64_t ldb, double beta, double* c, int64_t ldc) {
  for (int64_t j = 0; j < n; ++j) {
    double* cj = c + j * ldc;
    if (beta == 0) {
      std::fill(cj, cj + m, 0.0);
    } else if (beta != 1) {
      for (int64_t i = 0; i < m; ++i) cj[i] *= beta;
    }
  }
  if (!trans_a) {
    gemm_nn(m, n, k, alpha, a, lda, b, ldb, c, ldc);
    return;
  }
  // A is stored k x m: transpose it once so that the kernel runs down columns.
  std::vector<double> at(static_cast<std::size_t>(m * k));
  for (int64_t i = 0; i < m; ++i)
    for (int64_t p = 0; p < k; ++p) at[static_cast<std::size_t>(i + p * m)] = a[p + i * lda];
  gemm_nn(m, n, k, alpha, at.data(), m, b, ldb, c, ldc);
}

#ifdef KV_HAVE_BLAS
namespace {
bool fits(int64_t v) {
  return v >= 0 &&
         static_cast<uint64_t>(v) <= static_cast<uint64_t>(std::numeric_limits<KV_BLAS_INT>::max());
}
}  // namespace
#endif

void gemm(bool trans_a, int64_t m, int64_t n, int64_t k, double alpha, const double* a, int64_t lda,
          const double* b, int64_t ldb, double beta, double* c, int64_t ldc) {
#ifdef KV_HAVE_BLAS
  if (fits(m) && fits(n) && fits(k) && fits(lda) && fits(ldb) && fits(ldc)) {
    const KV_BLAS_INT mm = static_cast<KV_BLAS_INT>(m), nn = static_cast<KV_BLAS_INT>(n),
                      kk = static_cast<KV_BLAS_INT>(k), la = static_cast<KV_BLAS_INT>(lda),
                      lb = static_cast<KV_BLAS_INT>(ldb), lc = static_cast<KV_BLAS_INT>(ldc);
    const char ta = trans_a ? 'T' : 'N';
    const char tb = 'N';
    KV_BLAS_DGEMM(&ta, &tb, &mm, &nn, &kk, &alpha, a, &la, b, &lb, &beta, c, &lc, 1, 1);
    return;
  }
#endif
  gemm_own(trans_a, m, n, k, alpha, a, lda, b, ldb, beta, c, ldc);
}

bool gemm_uses_blas() {
#ifdef KV_HAVE_BLAS
  return true;
#else
  return false;
#endif
}

}  // namespace kv

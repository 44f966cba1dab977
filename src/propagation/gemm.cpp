#include "propagation/gemm.h"

#include <algorithm>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/parallel.h"

// The BLAS integer type and symbol name are chosen when the library is built:
// Debian's libblas and OpenBLAS take 32-bit integers (the default), MATLAB's
// mwblas 64-bit ones (KV_BLAS_INT=int64_t). The Fortran symbol is zgemm_,
// except in MATLAB's BLAS on Windows, which exports it as zgemm; either can be
// forced with KV_FORTRAN_ZGEMM. It is declared at global scope and always
// called as ::KV_FORTRAN_ZGEMM, so that kv::zgemm cannot hide it. Without
// KV_HAVE_BLAS our own kernel does all products.
#ifndef KV_BLAS_INT
#define KV_BLAS_INT int
#endif
#ifndef KV_FORTRAN_ZGEMM
#if defined(_WIN32)
#define KV_FORTRAN_ZGEMM zgemm
#else
#define KV_FORTRAN_ZGEMM zgemm_
#endif
#endif
#ifndef KV_FORTRAN_DGEMM
#if defined(_WIN32)
#define KV_FORTRAN_DGEMM dgemm
#else
#define KV_FORTRAN_DGEMM dgemm_
#endif
#endif

#ifdef KV_HAVE_BLAS
extern "C" void KV_FORTRAN_ZGEMM(const char* transa, const char* transb, const KV_BLAS_INT* m,
                                 const KV_BLAS_INT* n, const KV_BLAS_INT* k,
                                 const std::complex<double>* alpha, const std::complex<double>* a,
                                 const KV_BLAS_INT* lda, const std::complex<double>* b,
                                 const KV_BLAS_INT* ldb, const std::complex<double>* beta,
                                 std::complex<double>* c, const KV_BLAS_INT* ldc,
                                 std::size_t len_transa, std::size_t len_transb);
extern "C" void KV_FORTRAN_DGEMM(const char* transa, const char* transb, const KV_BLAS_INT* m,
                                 const KV_BLAS_INT* n, const KV_BLAS_INT* k, const double* alpha,
                                 const double* a, const KV_BLAS_INT* lda, const double* b,
                                 const KV_BLAS_INT* ldb, const double* beta, double* c,
                                 const KV_BLAS_INT* ldc, std::size_t len_transa,
                                 std::size_t len_transb);
#endif

namespace kv {
namespace {

constexpr int64_t kRowBlock = 64;
constexpr int64_t kDepthBlock = 128;

// C(rows, 0..Cols) += A(rows, p0..p1) * B(p0..p1, 0..Cols), B already scaled,
// on interleaved pairs: each element of A is loaded once for Cols columns of
// C. The columns of C never overlap A or each other.
template <int Cols>
void panel(int64_t rows, int64_t p0, int64_t p1, const double* a, int64_t lda, const double* b,
           int64_t ldb, double* c, int64_t ldc) {
  for (int64_t p = p0; p < p1; ++p) {
    const double* __restrict ap = a + 2 * p * lda;
    double br[Cols], bi[Cols];
    for (int q = 0; q < Cols; ++q) {
      br[q] = b[2 * (p + q * ldb)];
      bi[q] = b[2 * (p + q * ldb) + 1];
    }
    for (int q = 0; q < Cols; ++q) {
      double* __restrict cq = c + 2 * q * ldc;
      const double r = br[q], i = bi[q];
      for (int64_t e = 0; e < rows; ++e) {
        const double ar = ap[2 * e], ai = ap[2 * e + 1];
        cq[2 * e] += ar * r - ai * i;
        cq[2 * e + 1] += ar * i + ai * r;
      }
    }
  }
}

void gemm_nn(int64_t m, int64_t n, int64_t k, const double* a, int64_t lda, const double* b,
             int64_t ldb, double* c, int64_t ldc) {
  for (int64_t r0 = 0; r0 < m; r0 += kRowBlock) {
    const int64_t rows = std::min(kRowBlock, m - r0);
    for (int64_t p0 = 0; p0 < k; p0 += kDepthBlock) {
      const int64_t p1 = std::min(k, p0 + kDepthBlock);
      int64_t j = 0;
      for (; j + 4 <= n; j += 4)
        panel<4>(rows, p0, p1, a + 2 * r0, lda, b + 2 * j * ldb, ldb, c + 2 * (r0 + j * ldc), ldc);
      for (; j < n; ++j)
        panel<1>(rows, p0, p1, a + 2 * r0, lda, b + 2 * j * ldb, ldb, c + 2 * (r0 + j * ldc), ldc);
    }
  }
}

}  // namespace

void zgemm_own(bool trans_a, int64_t m, int64_t n, int64_t k, cplx alpha, const cplx* a,
               int64_t lda, const cplx* b, int64_t ldb, cplx beta, cplx* c, int64_t ldc) {
  for (int64_t j = 0; j < n; ++j) {
    cplx* cj = c + j * ldc;
    if (beta == cplx(0)) {
      std::fill(cj, cj + m, cplx(0));
    } else if (beta != cplx(1)) {
      for (int64_t i = 0; i < m; ++i) {
        const double r = cj[i].real(), s = cj[i].imag();
        cj[i] = cplx(r * beta.real() - s * beta.imag(), r * beta.imag() + s * beta.real());
      }
    }
  }
  // alpha goes into a copy of B; a transposed A is turned once so that the
  // kernel runs down columns.
  std::vector<cplx> bs(static_cast<std::size_t>(k * n));
  for (int64_t j = 0; j < n; ++j)
    for (int64_t p = 0; p < k; ++p) {
      const cplx v = b[p + j * ldb];
      bs[static_cast<std::size_t>(p + j * k)] =
          cplx(v.real() * alpha.real() - v.imag() * alpha.imag(),
               v.real() * alpha.imag() + v.imag() * alpha.real());
    }
  const cplx* aa = a;
  int64_t la = lda;
  std::vector<cplx> at;
  if (trans_a) {
    at.resize(static_cast<std::size_t>(m * k));
    for (int64_t i = 0; i < m; ++i)
      for (int64_t p = 0; p < k; ++p) at[static_cast<std::size_t>(i + p * m)] = a[p + i * lda];
    aa = at.data();
    la = m;
  }
  // Each column of C is summed in the same order whichever thread has it.
  const double* ad = reinterpret_cast<const double*>(aa);
  const double* bd = reinterpret_cast<const double*>(bs.data());
  double* cd = reinterpret_cast<double*>(c);
  parallel_for(n, column_grain(m * k, kGrainMemory), [=](int64_t j0, int64_t j1) {
    gemm_nn(m, j1 - j0, k, ad, la, bd + 2 * j0 * k, k, cd + 2 * j0 * ldc, ldc);
  });
}

#ifdef KV_HAVE_BLAS
namespace {
bool fits(int64_t v) {
  return v >= 0 &&
         static_cast<uint64_t>(v) <= static_cast<uint64_t>(std::numeric_limits<KV_BLAS_INT>::max());
}
}  // namespace
#endif

void zgemm(bool trans_a, int64_t m, int64_t n, int64_t k, cplx alpha, const cplx* a, int64_t lda,
           const cplx* b, int64_t ldb, cplx beta, cplx* c, int64_t ldc) {
#ifdef KV_HAVE_BLAS
  if (fits(m) && fits(n) && fits(k) && fits(lda) && fits(ldb) && fits(ldc)) {
    const KV_BLAS_INT mm = static_cast<KV_BLAS_INT>(m), nn = static_cast<KV_BLAS_INT>(n),
                      kk = static_cast<KV_BLAS_INT>(k), la = static_cast<KV_BLAS_INT>(lda),
                      lb = static_cast<KV_BLAS_INT>(ldb), lc = static_cast<KV_BLAS_INT>(ldc);
    const char ta = trans_a ? 'T' : 'N';
    const char tb = 'N';
    ::KV_FORTRAN_ZGEMM(&ta, &tb, &mm, &nn, &kk, &alpha, a, &la, b, &lb, &beta, c, &lc, 1, 1);
    return;
  }
#endif
  zgemm_own(trans_a, m, n, k, alpha, a, lda, b, ldb, beta, c, ldc);
}

void dgemm_own(int64_t m, int64_t n, int64_t k, const double* a, int64_t lda, const double* b,
               int64_t ldb, double beta, double* c, int64_t ldc) {
  // Each column of C is one thread's, summed over p in order.
  parallel_for(n, column_grain(m * k, kGrainMemory), [=](int64_t j0, int64_t j1) {
    for (int64_t j = j0; j < j1; ++j) {
      double* __restrict cj = c + j * ldc;
      if (beta == 0.0) {
        std::fill(cj, cj + m, 0.0);
      } else {
        for (int64_t i = 0; i < m; ++i) cj[i] *= beta;
      }
      for (int64_t p = 0; p < k; ++p) {
        const double bp = b[p + j * ldb];
        const double* __restrict ap = a + p * lda;
        for (int64_t i = 0; i < m; ++i) cj[i] += ap[i] * bp;
      }
    }
  });
}

void dgemm(int64_t m, int64_t n, int64_t k, const double* a, int64_t lda, const double* b,
           int64_t ldb, double beta, double* c, int64_t ldc) {
#ifdef KV_HAVE_BLAS
  if (fits(m) && fits(n) && fits(k) && fits(lda) && fits(ldb) && fits(ldc)) {
    const KV_BLAS_INT mm = static_cast<KV_BLAS_INT>(m), nn = static_cast<KV_BLAS_INT>(n),
                      kk = static_cast<KV_BLAS_INT>(k), la = static_cast<KV_BLAS_INT>(lda),
                      lb = static_cast<KV_BLAS_INT>(ldb), lc = static_cast<KV_BLAS_INT>(ldc);
    const char t = 'N';
    const double one = 1.0;
    ::KV_FORTRAN_DGEMM(&t, &t, &mm, &nn, &kk, &one, a, &la, b, &lb, &beta, c, &lc, 1, 1);
    return;
  }
#endif
  dgemm_own(m, n, k, a, lda, b, ldb, beta, c, ldc);
}

bool gemm_uses_blas() {
#ifdef KV_HAVE_BLAS
  return true;
#else
  return false;
#endif
}

}  // namespace kv

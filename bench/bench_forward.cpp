// KVForward: the direct sum against the separable fast path, and the
// matrix products through the host's BLAS against our own blocked kernel.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "propagation/forward.h"
#include "propagation/gemm.h"

namespace {

// A random complex field of dimension n, and the scratch the command would
// allocate for it.
struct Input {
  kv::ForwardGrids g;
  std::vector<kv::cplx> z, out, kernel, product, pack;
  std::vector<double> lines;
  explicit Input(int32_t n) : g{0.5, 2e-3, n, 2e-3, 633e-9, n}, z(static_cast<size_t>(n) * n) {
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> u(-1, 1);
    for (auto& v : z) {
      const double r = u(gen);
      v = kv::cplx(r, u(gen));
    }
    out.resize(z.size());
    const kv::ForwardScratchSize size = kv::forward_scratch_size(g, in());
    kernel.resize(static_cast<size_t>(size.kernel));
    product.resize(static_cast<size_t>(size.product));
    pack.resize(static_cast<size_t>(size.pack));
    lines.resize(static_cast<size_t>(size.lines));
  }
  kv::FieldIn in() const { return kv::FieldIn{z.data(), nullptr, g.n, {g.size, g.lambda, 0, 0}}; }
  kv::FieldOut field_out() { return kv::FieldOut{out.data(), g.m}; }
  kv::ForwardScratch scratch() {
    return {kernel.data(), product.data(), pack.empty() ? nullptr : pack.data(), lines.data()};
  }
};

// 4 n^2 m^2 Fresnel evaluations; at n = m = 32 a few seconds.
void BM_Direct(benchmark::State& state) {
  Input in(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    kv::forward_direct(in.g, in.in(), in.field_out());
    benchmark::DoNotOptimize(in.out.data());
  }
}
BENCHMARK(BM_Direct)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_Fast(benchmark::State& state) {
  Input in(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    kv::forward_fast(in.g, in.in(), in.field_out(), in.scratch());
    benchmark::DoNotOptimize(in.out.data());
  }
  state.SetLabel(kv::gemm_uses_blas() ? "blas" : "own kernel");
}
BENCHMARK(BM_Fast)
    ->Arg(32)
    ->Arg(128)
    ->Arg(256)
    ->Arg(512)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The two complex products of the fast path at n = m, by either route.
template <bool Own>
void BM_Products(benchmark::State& state) {
  const int64_t n = state.range(0);
  const size_t nn = static_cast<size_t>(n * n);
  std::vector<kv::cplx> a(nn, {0.5, 0.1}), k(nn, {0.25, 0.3}), t(nn), b(nn);
  auto product = Own ? kv::zgemm_own : kv::zgemm;
  for (auto _ : state) {
    product(false, n, n, n, 1.0, a.data(), n, k.data(), n, 0.0, t.data(), n);
    product(true, n, n, n, {0, -0.5}, k.data(), n, t.data(), n, 0.0, b.data(), n);
    benchmark::DoNotOptimize(b.data());
  }
}
BENCHMARK(BM_Products<false>)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Products<true>)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

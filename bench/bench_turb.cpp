// Turbulence screens and the structure function at N = 256 .. 2048, next to
// the FFT a screen is judged against: one complex 2-D FFT of the same N in
// place (the library's own plan, as the propagators use it), and the parts
// of a screen alone (the Gaussian draws of the half spectrum).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/normal.h"
#include "propagation/fft_plan.h"
#include "turbulence/screen.h"
#include "turbulence/structure.h"

namespace {

void sizes(benchmark::internal::Benchmark* b) {
  for (int n : {256, 512, 1024, 2048}) b->Arg(n);
  b->Unit(benchmark::kMillisecond);
}

void BM_TurbScreen(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  std::vector<double> out(static_cast<size_t>(n) * n);
  std::vector<kv::cplx> half(static_cast<size_t>(kv::turb_half_count(n)));
  std::vector<double> basis(static_cast<size_t>(kv::turb_basis_count(n)));
  kv::TurbParams p;
  p.r0 = 0.1;
  p.L0 = INFINITY;
  int seed = 0;
  for (auto _ : state) {
    p.seed = ++seed;
    kv::turb_screen(p, n, 2.0, out.data(), half.data(), basis.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TurbScreen)->Apply(sizes);

// One complex FFT of the N x N array, in place.
void BM_ComplexFft2(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  std::vector<kv::cplx> z(static_cast<size_t>(n) * n, kv::cplx(1.0, 0.5));
  for (auto _ : state) {
    kv::fft2_in_place(z.data(), n, kv::kFftForward);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ComplexFft2)->Apply(sizes);

// The Gaussian draws of a screen's half spectrum alone.
void BM_HalfSpectrumDraws(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  const int64_t count = kv::turb_half_count(n);
  std::vector<double> v(static_cast<size_t>(2 * count));
  uint32_t seed = 0;
  for (auto _ : state) {
    kv::philox_normal_pairs(++seed, 7, 0, 0, count, v.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_HalfSpectrumDraws)->Apply(sizes);

void BM_StructureFunction(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  std::vector<double> phase(static_cast<size_t>(n) * n), d(static_cast<size_t>(n / 2 + 1));
  std::vector<kv::cplx> half(static_cast<size_t>(kv::turb_half_count(n)));
  std::vector<double> basis(static_cast<size_t>(kv::turb_basis_count(n)));
  std::vector<kv::cplx> scratch(static_cast<size_t>(kv::structure_scratch_count(n)));
  kv::TurbParams p;
  p.r0 = 0.1;
  p.L0 = INFINITY;
  kv::turb_screen(p, n, 2.0, phase.data(), half.data(), basis.data());
  for (auto _ : state) {
    kv::structure_function(phase.data(), nullptr, n, d.data(), scratch.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StructureFunction)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();

// Masks and phase elements at N = 2048, next to the costs they are judged
// against: one pass that copies the input samples to the output, and
// the bare transcendental calls each element makes per sample.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "apertures/gauss.h"
#include "apertures/rect.h"
#include "apertures/supergauss.h"
#include "core/field.h"
#include "phase/axicon.h"
#include "phase/tilt.h"
#include "phase/zernike.h"

namespace {

constexpr int32_t kN = 2048;
constexpr int64_t kSamples = static_cast<int64_t>(kN) * kN;

struct Planes {
  std::vector<kv::cplx> z, oz;
  kv::FieldIn in;
  kv::FieldOut out;
  Planes() : z(kSamples), oz(kSamples + kN), in(), out() {
    for (int64_t k = 0; k < kSamples; ++k) {
      z[k] = kv::cplx(1.0 + 1e-7 * static_cast<double>(k % 1000), 0.25);
    }
    in = kv::FieldIn{z.data(), nullptr, kN, {}};
    in.h.size = 10e-3;
    in.h.lambda = 633e-9;
    out = kv::FieldOut{oz.data(), kN};
  }
};

Planes& planes() {
  static Planes p;
  return p;
}

void finish(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * kSamples); }

// The floor: read the input samples, write the output samples.
void BM_CopyPlanes(benchmark::State& state) {
  Planes& p = planes();
  for (auto _ : state) {
    std::memcpy(p.oz.data(), p.z.data(), kSamples * sizeof(kv::cplx));
    benchmark::ClobberMemory();
  }
  finish(state);
}

// Bare calls, one per sample, on arguments spread like a grid's.
template <class F>
void calls(benchmark::State& state, F f) {
  for (auto _ : state) {
    double acc = 0;
    for (int64_t k = 0; k < kSamples; ++k) acc += f(1e-6 * static_cast<double>(k % 4096) + 0.1);
    benchmark::DoNotOptimize(acc);
  }
  finish(state);
}
void BM_Exp(benchmark::State& s) {
  calls(s, [](double v) { return std::exp(-v); });
}
void BM_Log(benchmark::State& s) {
  calls(s, [](double v) { return std::log(v); });
}
void BM_Sqrt(benchmark::State& s) {
  calls(s, [](double v) { return std::sqrt(v); });
}
void BM_SinCos(benchmark::State& s) {
  calls(s, [](double v) { return std::sin(v * 40) + std::cos(v * 40); });
}
void BM_Atan2(benchmark::State& s) {
  calls(s, [](double v) { return std::atan2(v - 0.1, 0.102 - v); });
}
void BM_Pow(benchmark::State& s) {
  calls(s, [](double v) { return std::pow(v, 4.0); });
}

void BM_Rect(benchmark::State& state) {
  Planes& p = planes();
  const double phi = static_cast<double>(state.range(0));
  for (auto _ : state) {
    kv::rect_mask(4e-3, 2e-3, 0, 0, phi, p.in, p.out, kv::Keep::Inside);
    benchmark::ClobberMemory();
  }
  finish(state);
}

void BM_Gauss(benchmark::State& state) {
  Planes& p = planes();
  const kv::Keep keep = state.range(0) ? kv::Keep::Outside : kv::Keep::Inside;
  for (auto _ : state) {
    kv::gauss_mask(2e-3, 0, 0, 0.5, p.in, p.out, keep);
    benchmark::ClobberMemory();
  }
  finish(state);
}

void BM_SuperGauss(benchmark::State& state) {
  Planes& p = planes();
  const kv::Keep keep = state.range(0) ? kv::Keep::Outside : kv::Keep::Inside;
  for (auto _ : state) {
    kv::supergauss_mask(2e-3, 4, 0, 0, 0.5, p.in, p.out, keep);
    benchmark::ClobberMemory();
  }
  finish(state);
}

void BM_Tilt(benchmark::State& state) {
  Planes& p = planes();
  for (auto _ : state) {
    kv::tilt(1e-4, -2e-4, p.in, p.out);
    benchmark::ClobberMemory();
  }
  finish(state);
}

void BM_Axicon(benchmark::State& state) {
  Planes& p = planes();
  for (auto _ : state) {
    kv::axicon(3.1, 1.5, 0, 0, p.in, p.out);
    benchmark::ClobberMemory();
  }
  finish(state);
}

// Orders (n, m) = (range 0, range 1); (n - |m|)/2 + 1 terms per sample.
void BM_Zernike(benchmark::State& state) {
  Planes& p = planes();
  const auto n = static_cast<int32_t>(state.range(0));
  const auto m = static_cast<int32_t>(state.range(1));
  for (auto _ : state) {
    kv::zernike_phase(n, m, 4e-3, 1.0, p.in, p.out);
    benchmark::ClobberMemory();
  }
  finish(state);
}

}  // namespace

BENCHMARK(BM_CopyPlanes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Exp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Log)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqrt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SinCos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Atan2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rect)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gauss)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SuperGauss)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Axicon)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zernike)
    ->Args({2, 0})
    ->Args({3, -1})
    ->Args({8, 0})
    ->Args({20, 2})
    ->Args({171, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

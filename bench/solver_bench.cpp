// One solve of the wall as the nonlinear iteration calls it: a wall with springs over its
// embedded part, a distributed load above, a tie-back spring and a fixed tip (CASE 3).
#include <benchmark/benchmark.h>

#include <memory>

#include "analysis/solver.h"

namespace {

std::unique_ptr<korden::StationGrid> benchWall(int n) {
  auto g = std::make_unique<korden::StationGrid>();
  const double h = 6.0;
  korden::buildGrid(*g, n, h);
  for (int i = 0; i <= n; ++i) g->EI(i) = 3.0e9;
  korden::addRange(g->Q, 0, n / 2, 0.0, 800.0);
  korden::addRange(g->S, n / 2, n, 500.0, 5000.0);
  korden::addAt(g->S, n / 10, 2.0e4);
  korden::addRange(g->P, 0, n, -100.0, -100.0);
  const korden::SpecifiedPoint tip{3, n, 0.0, 0.0};
  g->specified.push_back(tip);
  korden::setRowCodes(*g, tip);
  korden::validateSpecifiedPoints(*g);
  return g;
}

void BM_SolveBeamColumn(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto g = benchWall(n);
  for (auto _ : state) {
    const korden::SolveFigures f = korden::solveBeamColumn(*g, 1.0e-5, 100.0);
    benchmark::DoNotOptimize(f);
    benchmark::ClobberMemory();
  }
  const double stations = n + 3;  // rows -1..N+1
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(stations));
  // Seconds per station (printed with its SI prefix, e.g. "12.6ns").
  state.counters["time_per_station"] = benchmark::Counter(
      stations, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_SolveBeamColumn)->Arg(50)->Arg(100)->Arg(200)->Arg(409);

}  // namespace

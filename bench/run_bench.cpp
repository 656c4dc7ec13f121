// A whole run of the benchmark wall (deck.h: 409 increments, 200 user p-y curves of 17 points per
// stage, three construction stages), iterating to closure, written to the report, auxiliary and
// plot files in a temporary directory.
//
// BM_WholeRun times the run as the host's call makes it. The other benchmarks time the pieces of
// one iteration and of the results on the state the run leaves (the third stage, closed):
// a solve, the linearisation and distribution of the curves, the flexural-rigidity update, and
// the results with their report and plot lines. BM_WholeRun also reports the shares of the run
// spent in those pieces, from the per-piece times measured before its loop and the number of
// iterations of the run (counters solver_share, curves_share, rigidity_share, report_share and
// rest_share, the reading of the input and its echo; CPU-time shares).
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/curves.h"
#include "analysis/flexural_rigidity.h"
#include "analysis/solver.h"
#include "deck.h"
#include "engine/analysis_case.h"
#include "engine/run_driver.h"
#include "report/results_report.h"

namespace {

namespace fs = std::filesystem;

// The input and run-control files in a temporary directory, removed at the end.
struct BenchFiles {
  fs::path dir;
  fs::path names;
  BenchFiles() {
    std::string pattern = (fs::temp_directory_path() / "korden-bench-XXXXXX").string();
    dir = mkdtemp(pattern.data());
    std::ofstream(dir / "wall.dat") << korden::bench::benchDeck();
    names = dir / "NAMES.dat";
    std::ofstream(names) << korden::bench::benchNames(dir.string(), "wall");
  }
  ~BenchFiles() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

// Iterations of every case as the report gives them; empty when a case did not close.
std::vector<int> iterationsOfRun(const fs::path& report) {
  std::ifstream in(report);
  std::vector<int> iterations;
  std::string line;
  const std::string head = "     NUMBER OF ITERATIONS : ";
  while (std::getline(in, line)) {
    if (line.rfind(head, 0) == 0) iterations.push_back(std::stoi(line.substr(head.size())));
    if (line.find("NOT CLOSED") != std::string::npos || line.find("EXCEEDED") != std::string::npos)
      return {};
  }
  return iterations;
}

// The state a whole run leaves: the last stage after its closed iteration.
struct ClosedState {
  BenchFiles files;
  std::unique_ptr<korden::RunState> state = std::make_unique<korden::RunState>();
  std::unique_ptr<korden::RunFiles> sink = std::make_unique<korden::RunFiles>();
  std::vector<int> iterations;
  ClosedState() {
    std::ostringstream err;
    korden::readRunControl(files.names.string(), state->driver, err);
    korden::RunFiles run;
    run.input = korden::InputFile::fromPath(state->driver.inputName);
    run.report.open(state->driver.outputName);
    run.plot.open(state->driver.plotName);
    run.aux.open(state->driver.auxName);
    korden::runCases(*state, run);
    run.report.close();
    iterations = iterationsOfRun(state->driver.outputName);
    sink->report.open("/dev/null");
    sink->plot.open("/dev/null");
  }
};

void solve(korden::RunState& s) {
  benchmark::DoNotOptimize(
      korden::solveBeamColumn(s.grid, s.wall.closureTolerance, s.wall.maxAllowableDeflection));
}
void distribute(korden::RunState& s) { benchmark::DoNotOptimize(korden::distributeCurves(s)); }
void rigidity(korden::RunState& s) {
  korden::updateFlexuralRigidity(s, true);
  korden::applyHingeModel(s);
}
void results(korden::RunState& s, korden::RunFiles& sink) {
  korden::extrapolateFictitiousEnds(s.grid);
  korden::computeStationResults(s);
  korden::computeSupportForces(s);
  korden::writeResults(s, sink.report);
  korden::writePlotBlock(s, sink, 0);
}

// CPU seconds of this thread: the machine may be shared, so the shares are CPU-time shares.
double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1.0e-9 * static_cast<double>(t.tv_nsec);
}

// Mean CPU seconds of one call of `piece`, over enough calls to take about 50 ms.
template <typename Piece>
double secondsPerCall(Piece piece) {
  int calls = 0;
  const double start = cpuSeconds();
  double elapsed = 0.0;
  do {
    piece();
    ++calls;
    elapsed = cpuSeconds() - start;
  } while (elapsed < 0.05);
  return elapsed / calls;
}

void BM_WholeRun(benchmark::State& state) {
  ClosedState closed;
  if (closed.iterations.size() != 3) {
    state.SkipWithError("the benchmark wall did not close in every stage");
    return;
  }
  int totalIterations = 0;
  for (int i : closed.iterations) totalIterations += i;
  korden::RunState& s = *closed.state;
  const double tSolve = secondsPerCall([&] { solve(s); });
  const double tCurves = secondsPerCall([&] { distribute(s); });
  const double tRigidity = secondsPerCall([&] { rigidity(s); });
  const double tResults = secondsPerCall([&] { results(s, *closed.sink); });

  std::ostringstream err;
  double runSeconds = 0.0;
  for (auto _ : state) {
    const double start = cpuSeconds();
    const int code = korden::runEngine(closed.files.names.string(), err);
    runSeconds += cpuSeconds() - start;
    benchmark::DoNotOptimize(code);
  }
  const double perRun = runSeconds / static_cast<double>(state.iterations());
  const double solver = totalIterations * tSolve / perRun;
  const double curves = totalIterations * tCurves / perRun;
  const double rigidityShare = totalIterations * tRigidity / perRun;
  const double report = 3 * tResults / perRun;
  state.counters["iterations"] = totalIterations;
  state.counters["solver_share"] = solver;
  state.counters["curves_share"] = curves;
  state.counters["rigidity_share"] = rigidityShare;
  state.counters["report_share"] = report;
  // Reading the input, its echo and the monitoring lines.
  state.counters["rest_share"] = 1.0 - solver - curves - rigidityShare - report;
}
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond);

void BM_Solve(benchmark::State& state) {
  ClosedState closed;
  for (auto _ : state) solve(*closed.state);
}
BENCHMARK(BM_Solve)->Unit(benchmark::kMicrosecond);

void BM_LineariseAndDistributeCurves(benchmark::State& state) {
  ClosedState closed;
  for (auto _ : state) distribute(*closed.state);
}
BENCHMARK(BM_LineariseAndDistributeCurves)->Unit(benchmark::kMicrosecond);

void BM_FlexuralRigidityUpdate(benchmark::State& state) {
  ClosedState closed;
  for (auto _ : state) rigidity(*closed.state);
}
BENCHMARK(BM_FlexuralRigidityUpdate)->Unit(benchmark::kMicrosecond);

void BM_ResultsReportAndPlot(benchmark::State& state) {
  ClosedState closed;
  for (auto _ : state) results(*closed.state, *closed.sink);
}
BENCHMARK(BM_ResultsReportAndPlot)->Unit(benchmark::kMicrosecond);

}  // namespace

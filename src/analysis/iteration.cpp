#include "analysis/iteration.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/curves.h"
#include "analysis/flexural_rigidity.h"
#include "analysis/solver.h"
#include "engine/errors.h"
#include "engine/single_precision.h"
#include "report/fortran_format.h"

namespace korden {

double relaxationFactor(int counter) {
  const int c = std::min(counter, 126);
  if (c <= 0) return 0.5;
  int m = 2;
  while (c > 2 * m - 2) m *= 2;  // m = 2 for 1..2, 4 for 3..6, 8 for 7..14, ...
  const double inverse = singlePrecision(1.0 / m);
  return (c - m + 1.5) * inverse;
}

namespace {

// A solution that overflowed (EI, springs and loads of wildly different sizes, a singular system)
// must not reach the files: no NaN or Inf is ever written. Stations -1..N+1 are solved.
void requireFiniteSolution(const StationGrid& g, const SolveFigures& f, int iteration) {
  std::string where;
  for (int i = -1; i <= g.n + 1 && where.empty(); ++i) {
    if (!std::isfinite(g.y(i))) where = " AT STATION " + std::to_string(i);
  }
  if (where.empty() && std::isfinite(f.largestChange)) return;
  stopWithMessage("     ERROR STOP -- THE DEFLECTION OF ITERATION " + std::to_string(iteration) +
                  where +
                  " IS NOT A FINITE NUMBER: THE RIGIDITY, SPRINGS AND LOADS OF THE INPUT MAKE THE "
                  "WALL SYSTEM SINGULAR");
}

void writeMonitoringHeading(OutputFile& aux) {
  aux.blank(2);
  aux.line("     ITERATION MONITORING");
  aux.line("     --------------------");
  aux.blank();
  aux.line("    ITER     NODES      MAX. CHANGE     DEF.        DEF.        DEF.        DEF. ");
  aux.line("            EXC. TOL.    DEFLECTION    NODE 0      NODE 1      NODE 2      NODE 3");
  aux.line("    ----    ---------   -----------    ------      ------      ------      ------");
}

void writeMonitoringRow(OutputFile& aux, int iteration, const SolveFigures& f,
                        const StationGrid& g) {
  std::string row = fmt::X(3) + fmt::I(iteration, 4) + fmt::X(6) + fmt::I(f.overTolerance, 4) +
                    fmt::X(6) + fmt::E(f.largestChange, 12, 3);
  for (int s = 0; s <= 3; ++s) row += fmt::E(g.y(s), 12, 3);
  aux.line(row);
}

}  // namespace

void iterateWall(RunState& state, OutputFile& report, OutputFile& aux) {
  StationGrid& g = state.grid;
  AnalysisData& a = state.analysis;
  const WallRecord& w = state.wall;
  const int n = g.n;
  const double tolerance = w.closureTolerance;

  // Start of the problem: deflections from zero, the distributed loads kept as the base.
  g.y.fill(0.0);
  a.baseQ = g.Q;
  a.baseS = g.S;
  StationTable previous, twoBack, threeBack;  // deflection history at stations 0..N
  int relaxationCounter = 0;
  int iteration = 1;
  int lastCount = 0;
  int stationsOverAllowable = 0;

  writeMonitoringHeading(aux);
  if (w.maxIterations == 0) {
    aux.blank();
    aux.line(std::string(20, ' '));
  }
  for (;;) {
    if (!distributeCurves(state)) {
      a.outcome = IterationOutcome::Abandoned;
      a.iterations = iteration;
      return;
    }
    const SolveFigures f = solveBeamColumn(g, tolerance, w.maxAllowableDeflection);
    requireFiniteSolution(g, f, iteration);
    if (w.maxIterations == 0) {
      a.outcome = IterationOutcome::Closed;
      a.iterations = 0;
      break;
    }
    writeMonitoringRow(aux, iteration, f, g);
    if (f.overAllowable > 0) {
      stationsOverAllowable = f.overAllowable;
      a.outcome = IterationOutcome::DeflectionExceeded;
      a.iterations = iteration;
      break;
    }
    int count = 0;
    for (int i = 0; i <= n; ++i) {
      // A NaN deflection never counts as closed.
      if (!(std::fabs(g.y(i) - previous(i)) <= tolerance)) ++count;
    }
    lastCount = count;
    if (iteration >= 3 && count == 0) {
      a.outcome = IterationOutcome::Closed;
      a.iterations = iteration;
      break;
    }
    if (iteration >= 41 && count != 0) {
      bool oscillating = true;
      for (int i = 0; i <= n && oscillating; ++i) {
        oscillating = std::fabs(g.y(i) - twoBack(i)) <= tolerance &&
                      std::fabs(previous(i) - threeBack(i)) <= tolerance;
      }
      if (oscillating) {
        const double factor = relaxationFactor(relaxationCounter);
        for (int i = 0; i <= n; ++i) g.y(i) = factor * g.y(i) + (1.0 - factor) * previous(i);
        relaxationCounter = std::min(relaxationCounter + 1, 126);
      }
    }
    for (int i = 0; i <= n; ++i) {
      threeBack(i) = twoBack(i);
      twoBack(i) = previous(i);
      previous(i) = g.y(i);
    }
    updateFlexuralRigidity(state, true);
    applyHingeModel(state);
    ++iteration;
    if (iteration > w.maxIterations) {
      a.outcome = lastCount != 0 ? IterationOutcome::NotClosed : IterationOutcome::Closed;
      // The iterations actually made, not the counter past the limit (also for a negative
      // limit, which stops after the first iteration).
      a.iterations = iteration - 1;
      break;
    }
  }

  report.blank(2);
  report.line("     RESULTS");
  report.line("     -------");
  report.line("     NUMBER OF ITERATIONS : " + fmt::I(a.iterations, 3));
  if (a.outcome == IterationOutcome::DeflectionExceeded) {
    for (OutputFile* out : {&report, &aux}) {
      out->blank();
      out->line("     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***" +
                fmt::I(stationsOverAllowable, 4) + "  *** STATIONS *****");
    }
  } else if (a.outcome == IterationOutcome::NotClosed) {
    for (OutputFile* out : {&report, &aux}) {
      out->blank();
      out->line("     ***** MAXIMUM NUMBER OF ITERATIONS  REACHED *****");
      out->line("     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED TOLERANCE *****");
    }
  }
}

}  // namespace korden

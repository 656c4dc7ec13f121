// The wall analysis of one case and the release of its working tables.
#include "engine/analysis_case.h"

#include <cmath>

#include "analysis/curves.h"
#include "analysis/flexural_rigidity.h"
#include "analysis/iteration.h"
#include "analysis/solver.h"
#include "report/plot_file.h"
#include "report/results_report.h"

namespace korden {

void analyseCase(RunState& state, RunFiles& files) {
  AnalysisData& a = state.analysis;
  a.hasResults = false;
  validateSpecifiedPoints(state.grid);
  generateSoilResistanceCurves(state, files);
  fillCurveTable(state);
  if (!state.curves.userCurves.empty() && state.curves.generated.empty()) {
    writeUserCurvePlotSection(state, files.plot);
  }
  // The rigidity of the first iteration comes from the sections at zero deflection.
  checkRigiditySources(state);
  updateFlexuralRigidity(state, false);
  requirePositiveRigidity(state);
  iterateWall(state, files.report, files.aux);
  if (a.outcome == IterationOutcome::Closed) {
    extrapolateFictitiousEnds(state.grid);
    computeStationResults(state);
    computeSupportForces(state);
    requireFiniteResults(state);
    writeResults(state, files.report);
    a.hasResults = true;
    state.driver.failedCase = 0;
  } else {
    state.driver.failedCase = 1;
  }
  recordCaseResults(state, state.results);
}

void checkAnalysisInput(RunState& state) {
  validateSpecifiedPoints(state.grid);
  checkCurveGenerationInput(state);
  checkRigiditySources(state);
  updateFlexuralRigidity(state, false);
  requirePositiveRigidity(state);
}

void releaseCaseTables(RunState& state) {
  state.soil.activePressure.clear();
  state.soil.activePressure.shrink_to_fit();
}

}  // namespace korden

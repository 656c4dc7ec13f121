#include "engine/case_sequence.h"

#include "engine/analysis_case.h"
#include "engine/errors.h"
#include "input/readers.h"
#include "report/report_text.h"

namespace korden {

void readOneCase(RunState& state, InputFile& in, CaseSteps& steps) {
  DriverState& d = state.driver;
  state.analysis.hasResults = false;
  readTitle(state, in);
  if (d.caseCounter == 0) d.firstTitle = state.title;
  readControl(state, in);
  const ControlRecord& c = state.control;
  d.unitsSign = c.unitsFlag == 1 ? 1 : (c.unitsFlag == 2 ? -1 : 0);
  state.labels = unitLabelsFor(c.unitsFlag);
  if (c.pressureOption >= 2) d.generateEarthPressure = 1;
  if (c.curveOption == 2) d.generateCurves = 1;
  steps.controlRead(state);

  readWallRecord(state, in);
  steps.wallRead(state);

  checkCapacity(c.nSpecified, kMaxSpecifiedPoints, "SPECIFIED DEFLECTION AND SLOPE POINTS");
  steps.specifiedPointsStart(state);
  readSpecifiedPoints(state, in,
                      [&](const SpecifiedPoint& p) { steps.specifiedPointRead(state, p); });

  readWallSections(state, in);
  steps.wallSectionsRead(state);
  readCrossSections(state, in);
  steps.crossSectionsRead(state);
  readNonlinearEI(state, in);
  steps.nonlinearEIRead(state);

  readLoads(state, in);
  readSupports(state, in);
  distributeStiffnessAndSupports(state);
  steps.supportsRead(state);
  checkLoadsWithinWall(state);

  if (readsWales(c)) readWales(state, in);
  if (readsModificationFactors(c)) {
    readModificationFactors(state, in);
  } else {
    // The count of the case is 0: no factor row of an earlier case applies.
    state.loads.modificationFactors.clear();
  }
  if (readsActivePressure(c)) {
    readActivePressureTable(state, in);
    steps.activePressureRead(state);
  }
  if (readsSoilData(c)) {
    readSoilData(state, in);
    steps.soilDataRead(state);
  }
  if (readsUserCurves(c)) {
    readUserCurves(state, in);
    steps.userCurvesRead(state);
  } else {
    // The count of the case is 0: the curves of an earlier case do not act on this one.
    state.curves.userCurves.clear();
  }
  steps.caseRead(state);
}

void readAllCases(RunState& state, InputFile& in, CaseSteps& steps) {
  DriverState& d = state.driver;
  d.caseCounter = 0;
  d.failedCase = 0;
  d.continuationCode = 0;
  d.generateEarthPressure = 0;
  d.generateCurves = 0;
  for (;;) {
    int code = 0;
    try {
      readOneCase(state, in, steps);
      // A file that ends before the continuation code ends the run as code 0 does: the case
      // just analysed still gets its plot data block.
      d.continuationCode = 0;
      code = readContinuationCode(in);
    } catch (InputError& error) {
      if (error.countHint().empty()) error.setCountHint(countHintOf(state));
      throw;
    }
    d.continuationCode = code;
    if (code == state.control.nStages || code == 0) {
      d.continuationCode = 0;
      break;
    }
    steps.caseEnded(state, code);
    ++d.caseCounter;
  }
}

}  // namespace korden

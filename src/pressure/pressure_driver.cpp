// The earth-pressure driver of a case: the soil profile, its echo and stops, the overburden, the
// coefficients, the layer forces, the generated depth profile through the pressure file, and the
// hand-off of the lateral load to the station loads.
#include <iostream>
#include <new>
#include <string>

#include "engine/analysis_case.h"
#include "engine/capacities.h"
#include "engine/errors.h"
#include "input/input_checks.h"
#include "pressure/earth_pressure.h"
#include "pressure/soil_layers.h"

namespace korden {

namespace {

[[noreturn]] void generatorStop(RunFiles& files, int code, const std::string& message) {
  files.report.blank(2);
  files.report.line("     " + message);
  std::cerr << "STOP " << code << "\n";
  throw GeneratorStop(code, message);
}

// The user's table of active pressure plus the surcharge pressure at its depths (times WA).
void takeSpecifiedPressure(RunState& state) {
  EarthPressureData& ep = state.pressure;
  const SoilData& soil = state.soil;
  const bool surcharged = !soil.surcharges.empty();
  if (surcharged) checkSurcharges(soil);
  const double wallLength = state.wall.nIncrements * state.wall.incrementLength;
  for (const ActivePressureRow& r : soil.activePressure) {
    double value = r.pressure;
    if (surcharged) {
      value += surchargeAtDepth(soil.surcharges, soil.wall.freeHeight, wallLength, r.depth) *
               soil.wall.widthActive;
    }
    ep.loadDepth.push_back(r.depth);
    ep.loadValue.push_back(value);
  }
}

// The FHWA diagram spreads the active force over the supports: without a tie-back or strut there
// is no diagram, and the retained soil above the excavation level loads the wall with nothing.
void writeNoSupportWarning(OutputFile& out) {
  out.blank(2);
  out.line("**** WARNING ****");
  out.line("THE APPARENT EARTH PRESSURE (ANCHORED WALLS, FHWA) IS SPREAD OVER THE");
  out.line("TIE-BACKS AND STRUTS, AND THIS CASE HAS NO SUPPORT: NO APPARENT EARTH");
  out.line("PRESSURE IS APPLIED ABOVE THE EXCAVATION LEVEL.");
}

}  // namespace

void checkEarthPressureInput(const RunState& state) {
  const int option = state.control.pressureOption;
  if (option < 2) return;
  if (option > 6) {
    stopWithMessage("     ERROR STOP -- PRESSURE DISTRIBUTION OPTION " + std::to_string(option) +
                    " IS NOT 0 TO 6");
  }
  if (!(state.soil.wall.freeHeight > 0.0)) {
    stopWithMessage("     ERROR STOP -- FREE HEIGHT OF WALL MUST BE GREATER THAN ZERO");
  }
  if (!(state.soil.wall.widthActive > 0.0)) {
    const int line = state.soil.wallInformationLine;
    stopWithMessage(
        "     ERROR STOP -- WIDTH FOR EARTH PRESSURE, WA, MUST BE GREATER THAN ZERO FOR A "
        "GENERATED PRESSURE DISTRIBUTION" +
        (line > 0 ? " (" + recordAtLine("THE WALL INFORMATION RECORD", line) + ")" : ""));
  }
  checkSurcharges(state.soil);
}

void generateEarthPressure(RunState& state, RunFiles& files) {
  EarthPressureData& ep = state.pressure;
  ep.profile.clear();
  ep.loadDepth.clear();
  ep.loadValue.clear();
  if (state.control.pressureOption < 2) return;
  checkEarthPressureInput(state);

  const ProfileSplit split = splitSoilProfile(state);
  writeEarthPressureEcho(files.report, state);
  writeSoilLayerWarnings(files.report, stackSoilLayers(state.soil), state.english());
  if (!split.excavationFound) {
    generatorStop(files, 1, "STOP 1 -- THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL PROFILE");
  }
  if (split.tooManyLayers) {
    generatorStop(files, 2, "STOP 2 -- MORE THAN 21 COMPUTATIONAL SOIL LAYERS");
  }

  computeOverburden(ep);
  writeOverburden(files.report, state);
  computeCoefficients(state, files.report, files.aux);
  computeLayerForces(state, files.report);

  std::vector<PressureRow> rows;
  try {
    rows = generateDepthProfile(state);
  } catch (const std::bad_alloc&) {
    // A case without its earth pressure would be analysed as if no soil were retained.
    stopWithMessage("     ERROR STOP -- THE DEPTH PROFILE OF THE EARTH PRESSURE (" +
                    std::to_string(pressureRowCount(state)) + " ROWS) CANNOT BE HELD");
  }
  if (state.control.pressureOption == 3 && supportDepths(state).count == 0) {
    writeNoSupportWarning(files.report);
    writeNoSupportWarning(files.aux);
  }
  const int count = std::min(pressureRowCount(state), static_cast<int>(rows.size()));
  writePressureFile(state.driver.pressureFileName, count, rows);
  rows.clear();
  rows.shrink_to_fit();

  ep.profile = readPressureFile(state.driver.pressureFileName);
  scaleByWidths(ep.profile, ep.freeHeight, state.soil.wall.widthActive,
                state.soil.wall.widthResistance);
  writeGeneratedPressure(files.report, state);
  for (const PressureRow& row : ep.profile) {
    ep.loadDepth.push_back(row[0]);
    ep.loadValue.push_back(row[1]);
  }
}

void applyPressureLoads(RunState& state, RunFiles&) {
  EarthPressureData& ep = state.pressure;
  state.curves.soilMovementCurves.clear();
  const int option = state.control.pressureOption;
  if (option == 1) {
    ep.profile.clear();
    ep.loadDepth.clear();
    ep.loadValue.clear();
    takeSpecifiedPressure(state);
  } else if (option < 2 || option > 6) {
    ep.profile.clear();
    ep.loadDepth.clear();
    ep.loadValue.clear();
    return;
  }
  addLateralLoads(state);
}

}  // namespace korden

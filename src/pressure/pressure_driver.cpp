// The earth-pressure driver of a case: the soil profile, its echo and stops, the overburden, the
// coefficients, the layer forces, the generated depth profile through the pressure file, and the
// hand-off of the lateral load to the station loads.
#include <iostream>
#include <new>
#include <string>

#include "engine/analysis_case.h"
#include "engine/errors.h"
#include "pressure/earth_pressure.h"

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
    // The depth profile cannot be held: no pressure is generated for this case.
    files.report.blank(2);
    files.report.line("**** WARNING ****");
    files.report.line("THE DEPTH PROFILE OF THE EARTH PRESSURE IS TOO LARGE TO BE HELD:");
    files.report.line("NO EARTH PRESSURE IS GENERATED FOR THIS CASE.");
    return;
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

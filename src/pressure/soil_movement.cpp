// The lateral load of the retained side on the stations, and the soil-movement option: retained
// soil above the excavation level acting through six-point curves of pressure against wall
// deflection (passive when the wall moves into the backfill, at rest without movement, active when
// it moves away), so that the earth pressure follows the wall's own movement.
#include <algorithm>
#include <cmath>

#include "analysis/station_grid.h"
#include "engine/errors.h"
#include "pressure/earth_pressure.h"
#include "pressure/soil_layers.h"

namespace korden {

namespace {

// Deflections of the curve points as fractions of the wall width: the passive pressure is reached
// at 3 w / 80 toward the backfill, the active pressure at w / 357 away from it, and the first
// stiffness of the at-rest state spans w / 10667.
constexpr double kPassiveDeflection = 3.0 / 80.0;
constexpr double kInitialDeflection = 1.0 / 10667.0;
constexpr double kActiveDeflection = 1.0 / 357.0;

// Depth to station, rounded half away from zero; depths far off the wall are held at +-1e9.
int nearestStation(double depth, double h) {
  const double station = std::round(depth / h);
  if (!(station > -1.0e9)) return -1000000000;
  return static_cast<int>(std::min(station, 1.0e9));
}

// The first profile row whose depth is not less than z (the last row below the profile). A row
// within the file's rounding of z counts as lying at z.
const PressureRow& rowAtOrBelow(const std::vector<PressureRow>& profile, double z) {
  const double tolerance = kDepthTolerance * std::max(1.0, std::fabs(z));
  const auto row = std::lower_bound(profile.begin(), profile.end(), z - tolerance,
                                    [](const PressureRow& r, double d) { return r[0] < d; });
  return row == profile.end() ? profile.back() : *row;
}

// Modulus of subgrade reaction at the top of the input layer that contains depth z, truncated to a
// whole number.
double subgradeModulusAt(const SoilData& soil, double z) {
  const SoilLayerStack stack = stackSoilLayers(soil);
  const int layer = stack.layerAt(z);
  return std::trunc(layer < 0 ? soil.layers[0].top.kpy : stack.layers[layer].input(soil).top.kpy);
}

// The load at z; with depths in ascending order the bracketing pair is found by bisection.
double loadAt(const std::vector<double>& depth, const std::vector<double>& value, double z,
              bool sorted) {
  if (depth.empty() || z < depth.front()) return 0.0;
  size_t first = 0;
  if (sorted) {
    // The first pair that brackets z ends at the first depth not above z.
    const auto end = std::lower_bound(depth.begin(), depth.end(), z);
    const size_t index = static_cast<size_t>(end - depth.begin());
    first = index > 0 ? index - 1 : 0;
  }
  for (size_t r = first; r + 1 < depth.size(); ++r) {
    if (z >= depth[r] && z <= depth[r + 1]) {
      const double span = depth[r + 1] - depth[r];
      if (!(span > 0.0)) return value[r + 1];
      return value[r] + (value[r + 1] - value[r]) * (z - depth[r]) / span;
    }
  }
  return value.back();
}

}  // namespace

double lateralLoadAt(const std::vector<double>& depth, const std::vector<double>& value, double z) {
  return loadAt(depth, value, z, std::is_sorted(depth.begin(), depth.end()));
}

TableCurve soilMovementCurve(const RunState& state, int station) {
  const EarthPressureData& ep = state.pressure;
  if (ep.profile.empty()) return {};
  const double h = state.wall.incrementLength;
  const double z = station * h;
  const PressureRow& row = rowAtOrBelow(ep.profile, z);
  const double active = row[2] + row[3];
  const double passive = row[4];
  const double atRest = row[5];
  const double b = state.wall.wallWidth;
  const bool continuousStatic = ep.widthRatio < 1.1 && state.soil.loadingKind == 1;
  const double w = continuousStatic ? state.soil.referenceWidth : b;

  // Intermediate pressure on the initial stiffness KPY z of the soil over the first deflection
  // step; the same rule serves every case so that the curve never depends on another station.
  double intermediate = atRest + subgradeModulusAt(state.soil, z) * z * b / 10667.0;
  if (intermediate > passive || intermediate <= atRest) intermediate = 1.5 * atRest;
  if (passive >= atRest) intermediate = std::clamp(intermediate, atRest, passive);

  const double end = state.english() ? 40.0 : 1.0;
  TableCurve c;
  c.fromStation = c.toStation = station;
  c.contd = 1;
  c.nPoints = 6;
  const double y[6] = {-end, -kPassiveDeflection * w, -kInitialDeflection * w,
                       0.0,  kActiveDeflection * w,   end};
  const double p[6] = {passive, passive, intermediate, atRest, active, active};
  for (int j = 0; j < 6; ++j) {
    c.y[j] = y[j];
    c.p[j] = p[j] * h;  // force per station
  }
  return c;
}

void addLateralLoads(RunState& state) {
  EarthPressureData& ep = state.pressure;
  const int option = state.control.pressureOption;
  if (ep.loadDepth.empty()) return;
  const WallInformation& wall = state.soil.wall;
  if (wall.widthResistance > 0.0) {
    ep.widthRatio = std::max(1.0, wall.widthActive / wall.widthResistance);
  }
  const double h = state.wall.incrementLength;
  const int lastStation = state.grid.n;
  const int profileCount = nearestStation(ep.loadDepth.back(), h) + 1;
  const bool soilMovement = option == 4 && !ep.profile.empty();
  const int excavationCount = soilMovement ? nearestStation(ep.freeHeight, h) + 1 : profileCount;
  if (soilMovement) {
    const bool continuousStatic = ep.widthRatio < 1.1 && state.soil.loadingKind == 1;
    const double w = continuousStatic ? state.soil.referenceWidth : state.wall.wallWidth;
    if (!(w > 0.0)) {
      stopWithMessage(
          "     ERROR STOP -- THE WALL WIDTH MUST BE GREATER THAN ZERO FOR CURVES BASED ON SOIL "
          "MOVEMENT");
    }
  }
  const bool sorted = std::is_sorted(ep.loadDepth.begin(), ep.loadDepth.end());
  for (int k = 1; k <= profileCount && k <= lastStation; ++k) {
    double load = loadAt(ep.loadDepth, ep.loadValue, k * h, sorted);
    if (soilMovement && k < excavationCount) {
      state.curves.soilMovementCurves.push_back(soilMovementCurve(state, k));
    }
    if (soilMovement && k <= excavationCount) load = 0.0;
    if (k < profileCount) addAt(state.grid.Q, k, load * h);
  }
}

}  // namespace korden

// The generated depth profile of lateral pressure on the retained side: Rankine active pressure
// with water and surcharge (triangular distribution and the soil-movement columns), and the
// apparent-pressure trapezoids for anchored walls (FHWA, uniform clay, Terzaghi and Peck).
#include <algorithm>
#include <cmath>

#include "engine/capacities.h"
#include "engine/errors.h"
#include "pressure/earth_pressure.h"

namespace korden {

namespace {

// Column indices of a profile row: column n of the pressure file (1 = depth) is index n - 1.
enum Column {
  kDepth = 0,
  kActiveWaterSurcharge = 1,  // 2
  kActiveWater = 2,           // 3: without the part due to the surface pressure
  kSurchargeAndSurface = 3,   // 4
  kPassive = 4,               // 5
  kAtRest = 5,                // 6
  kActive = 6,                // 7: without the part due to the surface pressure
  kWater = 7,                 // 8
  kSurface = 8,               // 9
  kSurcharge = 9,             // 10
  kApparent = 10,             // 11
  kTotal = 11,                // 12
};

constexpr double kNoTension = 1.0e-5;
constexpr double kTinyPressure = 1.0e-12;

// Value at the top of a layer and its rate of change with depth.
struct Linear {
  double top = 0.0;
  double rate = 0.0;
  double at(double t) const { return top + rate * t; }
};

struct LayerLines {
  Linear activeWater, active, water, passive, atRest;
  double surfacePart = 0.0;
};

LayerLines layerLines(const EarthPressureData& ep, size_t i) {
  const EarthPressureLayer& l = ep.layers[i];
  const double gw = ep.waterUnitWeight;
  const double m = l.modification;
  const bool waterActs = ep.waterSwitch == 1;
  const double gd = (l.drained && l.belowWater && waterActs) ? gw : 0.0;
  const double gu = (l.belowWater && !l.drained) ? gw : 0.0;
  const double effectiveWeight = (l.drained && l.belowWater) ? l.unitWeight - gw : l.unitWeight;
  const double cohesionActive = 2.0 * l.strength * l.rootKa;
  const double cohesionPassive = 2.0 * l.strength * l.rootKp;
  const double dw = l.ztop - ep.waterTable;
  LayerLines s;
  s.water = {(gd + gu) * dw * m, (gd + gu) * m};
  if (static_cast<int>(i) < ep.excavationLayer) {
    const double sv = l.overburden;
    // An undrained layer below the water table grows at its total unit weight from its total
    // stress at the top.
    const double svActive = activeVerticalStress(ep, l, sv, l.ztop);
    s.activeWater = {(l.ka * svActive - cohesionActive + gd * dw) * m,
                     (l.ka * effectiveWeight + gd) * m};
    s.active = {(l.ka * svActive - cohesionActive - gu * dw) * m,
                (l.ka * effectiveWeight - gu) * m};
    s.passive = {(l.kp * sv + cohesionPassive + gd * dw) * m, (l.kp * effectiveWeight + gd) * m};
    s.atRest = {(l.k0 * (sv + 2.0 * l.strength) + gd * dw) * m, (l.k0 * effectiveWeight + gd) * m};
  } else {
    // At and below the excavation level the earth pressure stays at its value for the effective
    // overburden there (water taken at the excavation level, never above the water table); the
    // water keeps growing.
    const double sv = ep.layers[ep.excavationLayer].overburden;
    const double svActive = activeVerticalStress(ep, l, sv, ep.freeHeight);
    const double dwExcavation = std::max(0.0, ep.freeHeight - ep.waterTable);
    s.activeWater = {(l.ka * svActive - cohesionActive + gd * dwExcavation) * m, 0.0};
    s.active = {(l.ka * svActive - cohesionActive - gu * dwExcavation) * m, 0.0};
    s.passive = {(l.kp * sv + cohesionPassive + gd * dw) * m, gd * m};
    s.atRest = {(l.k0 * (sv + 2.0 * l.strength) + gd * dw) * m, gd * m};
  }
  s.surfacePart = std::max(0.0, (ep.surfacePressure * l.ka - cohesionActive) * m);
  return s;
}

double pointsPerLength(const RunState& state) { return state.english() ? 1.0 : 20.0; }

int pointCount(double length, double perLength) {
  const double points = std::round(length * perLength);
  return points > 0.0 ? static_cast<int>(std::min(points, 2.0e9)) : 0;
}

// Trapezoidal rule with the nominal step over the rows from the top down to the excavation level.
double integrateAboveExcavation(const std::vector<PressureRow>& rows,
                                const std::vector<double>& values, double freeHeight, double step) {
  double sum = 0.0;
  for (size_t r = 0; r + 1 < rows.size(); ++r) {
    if (rows[r + 1][kDepth] > freeHeight + kDepthTolerance) break;
    sum += 0.5 * (values[r] + values[r + 1]) * step;
  }
  return sum;
}

}  // namespace

double Trapezoid::at(double z) const {
  if (z < rise) return rise > 0.0 ? peak * z / rise : peak;
  if (z <= plateauEnd) return peak;
  if (!(fall > 0.0)) return 0.0;
  return std::max(0.0, peak - (z - plateauEnd) * peak / fall);
}

SupportDepths supportDepths(const RunState& state) {
  SupportDepths s;
  const double h = state.wall.incrementLength;
  bool first = true;
  for (const auto* list : {&state.loads.tieBacks, &state.loads.struts}) {
    for (const Support& support : *list) {
      const double depth = support.station * h;
      if (first) {
        s.uppermost = s.lowest = depth;
        first = false;
      } else {
        s.uppermost = std::min(s.uppermost, depth);
        s.lowest = std::max(s.lowest, depth);
      }
      ++s.count;
    }
  }
  return s;
}

double supportRulePeak(double force, double freeHeight, const SupportDepths& supports) {
  if (supports.count == 0) return 0.0;
  if (supports.count == 1) return 3.9 * force / (2.0 * freeHeight);
  const double belowLowest = freeHeight - supports.lowest;
  return 1.3 * force / (freeHeight - (supports.uppermost + belowLowest) / 3.0);
}

namespace {

// The FHWA diagram of an anchored wall: rise 2 H1 / 3, fall 2 Hn+1 / 3 (2 (H - H1) / 3 with one
// support), plateau between.
Trapezoid fhwaShape(double freeHeight, const SupportDepths& supports) {
  Trapezoid t;
  t.rise = 2.0 * supports.uppermost / 3.0;
  t.fall = supports.count == 1 ? 2.0 * (freeHeight - supports.uppermost) / 3.0
                               : 2.0 * (freeHeight - supports.lowest) / 3.0;
  t.plateauEnd = freeHeight - t.fall;
  return t;
}

}  // namespace

Trapezoid terzaghiPeckTrapezoid(const EarthPressureData& ep) {
  const double height = ep.freeHeight;
  const int above = std::max(0, ep.excavationLayer);
  double weight = 0.0;       // sum of unit weight x thickness
  double sandLength = 0.0;   // thickness of frictional layers
  double phiSum = 0.0;       // sum of phi x thickness, radians
  double strengthSum = 0.0;  // sum of strength x thickness
  double stress = 0.0;       // total vertical stress at the bottom of the layer
  for (int i = 0; i < above; ++i) {
    const EarthPressureLayer& l = ep.layers[i];
    const double t = l.thickness;
    weight += l.unitWeight * t;
    stress += l.unitWeight * t;
    if (l.phi > 1.0e-10) {
      sandLength += t;
      phiSum += l.phi / kDegreesPerRadian * t;
      strengthSum += stress * std::tan(l.phi / kDegreesPerRadian) * t;
    } else {
      // A cohesive layer counts in the sand mean with its equivalent friction angle, the angle
      // whose tangent is c over the vertical stress at its bottom.
      phiSum += (stress > 0.0 ? std::atan(l.strength / stress) : 0.0) * t;
      strengthSum += l.strength * t;
    }
  }
  const double meanWeight = weight / height;
  const double m = ep.layers.empty() ? 0.0 : ep.layers[0].modification;
  Trapezoid shape;
  if (sandLength / height >= 0.5) {
    // Sand: rectangle of 0.65 Ka gamma H.
    const double meanPhi = phiSum / height;
    const double rootKa = std::tan(45.0 / kDegreesPerRadian - meanPhi / 2.0);
    shape.peak = 0.65 * meanWeight * height * rootKa * rootKa * m;
    shape.rise = 0.0;
    shape.plateauEnd = height;
    shape.fall = 0.0;
    return shape;
  }
  // Clay: gamma H - 4 c, soft when the stability number gamma H / c is 6 or more.
  const double meanStrength = strengthSum / height;
  const double soft = !(meanStrength > 0.0) || meanWeight * height / meanStrength >= 6.0;
  shape.peak = (meanWeight * height - 4.0 * meanStrength) * m;
  shape.rise = 0.25 * height;
  if (soft) {
    shape.plateauEnd = height;
    shape.fall = 0.0;
  } else {
    // Stiff clay: never below the lower bound 0.2 gamma H of the stiff-clay diagram (the soft-clay
    // expression falls below it, and becomes tension, for gamma H / c under 5).
    shape.peak = std::max(shape.peak, 0.2 * meanWeight * height * m);
    shape.plateauEnd = 0.75 * height;
    shape.fall = 0.25 * height;
  }
  return shape;
}

int pressureRowCount(const RunState& state) {
  const EarthPressureData& ep = state.pressure;
  const double perLength = pointsPerLength(state);
  if (ep.layers.empty()) return 1;
  double count = 1.0;
  for (size_t i = 0; i + 1 < ep.layers.size(); ++i) {
    count += std::round(ep.layers[i].thickness * perLength);
  }
  const double wallLength = state.wall.nIncrements * state.wall.incrementLength;
  count += std::round((wallLength - ep.layers.back().ztop) * perLength);
  // A count no table could hold is returned as such and refused by the generator.
  if (!(count > 1.0)) return 1;
  return static_cast<int>(std::min(count, 2.0e9));
}

std::vector<PressureRow> generateDepthProfile(RunState& state) {
  EarthPressureData& ep = state.pressure;
  const int option = state.control.pressureOption;
  const double perLength = pointsPerLength(state);
  const double step = 1.0 / perLength;
  const double height = ep.freeHeight;
  const double gw = ep.waterUnitWeight;
  const double excavationWater = state.soil.wall.waterExcavation;
  const double wallLength = state.wall.nIncrements * state.wall.incrementLength;

  // Rows below the tip of the wall are never read back: the profile stops at the counted row.
  const int rowCount = pressureRowCount(state);
  checkCapacity(rowCount, kMaxPressureRows, "ROWS OF THE EARTH-PRESSURE DEPTH PROFILE");
  const size_t rowsNeeded = static_cast<size_t>(rowCount);
  std::vector<PressureRow> rows;
  rows.reserve(std::max(rowsNeeded + 10, size_t{2000}));
  std::vector<double> activeWithSurface;  // column 7 before the surface part is removed (F2)

  const EarthPressureLayer& first = ep.layers.front();
  PressureRow top{};
  top[kDepth] = first.ztop;
  top[kActiveWaterSurcharge] = first.ka * first.modification * ep.surfacePressure;
  top[kPassive] = first.kp * first.modification * ep.surfacePressure;
  rows.push_back(top);
  activeWithSurface.push_back(0.0);

  for (size_t i = 0; i < ep.layers.size(); ++i) {
    const EarthPressureLayer& l = ep.layers[i];
    const LayerLines lines = layerLines(ep, i);
    const int points = pointCount(l.thickness, perLength);
    for (int k = 1; k <= points && rows.size() < rowsNeeded; ++k) {
      const double z = l.ztop + k * l.thickness / points;
      const double t = z - l.ztop;
      const double small = static_cast<double>(rows.size() + 1) * kTinyPressure;
      double activeWater = lines.activeWater.at(t);
      double active = lines.active.at(t);
      double water = lines.water.at(t);
      // Water on the excavation side, below its water table; only where water pressure acts.
      if (ep.waterSwitch == 1 && z > excavationWater) {
        water -= l.modification * (z - excavationWater) * gw;
        if (l.belowWater) {
          activeWater -= l.modification * std::max(0.0, std::min(z, height) - excavationWater) * gw;
        }
      }
      double activeWaterOnly = activeWater - lines.surfacePart;
      // No tension: the retained soil does not pull on the wall.
      if (activeWater < kNoTension) activeWater = small;
      if (activeWaterOnly < kNoTension) activeWaterOnly = small;
      if (active < kNoTension) {
        const double negative = active;
        active = small;
        if (water > 0.0) {
          water += negative;
          if (water < kNoTension) water = small;
        }
      }
      const double surcharge = surchargeAtDepth(state.soil.surcharges, height, wallLength, z);
      PressureRow row{};
      row[kDepth] = z;
      row[kActiveWaterSurcharge] = activeWater + (option == 3 ? 0.0 : surcharge);
      row[kActiveWater] = activeWaterOnly;
      row[kSurchargeAndSurface] = surcharge + lines.surfacePart;
      row[kPassive] = lines.passive.at(t) + surcharge;
      row[kAtRest] = lines.atRest.at(t) + surcharge;
      row[kActive] = active - lines.surfacePart;
      row[kWater] = water;
      row[kSurface] = lines.surfacePart;
      row[kSurcharge] = surcharge;
      row[kTotal] = row[kActive] + row[kWater] + row[kSurface] + row[kSurcharge];
      rows.push_back(row);
      activeWithSurface.push_back(active);
    }
  }

  std::vector<double> column2(rows.size());
  for (size_t r = 0; r < rows.size(); ++r) column2[r] = rows[r][kActiveWaterSurcharge];
  ep.integralActiveWater = integrateAboveExcavation(rows, column2, height, step);
  ep.integralActive = integrateAboveExcavation(rows, activeWithSurface, height, step);
  ep.apparentPeak = 0.0;
  if (option != 3 && option != 5 && option != 6) return rows;

  // Apparent-pressure trapezoid above the excavation level.
  const SupportDepths supports = supportDepths(state);
  Trapezoid apparent;
  Trapezoid loadShape;
  if (option == 3) {
    apparent = fhwaShape(height, supports);
    apparent.peak = supportRulePeak(ep.integralActive, height, supports);
    loadShape = apparent;
    loadShape.peak = supportRulePeak(ep.integralActiveWater, height, supports);
  } else if (option == 5) {
    apparent = fhwaShape(height, supports);
    if (state.soil.layers[0].type == 1) {
      apparent.rise = 0.25 * height;
      apparent.plateauEnd = height;
      apparent.fall = 0.0;
    }
    const EarthPressureLayer& atExcavation = ep.layers[ep.excavationLayer];
    apparent.peak = atExcavation.ka * atExcavation.overburden * atExcavation.modification;
    loadShape = apparent;
    loadShape.peak = supportRulePeak(ep.integralActiveWater, height, supports);
  } else {
    apparent = terzaghiPeckTrapezoid(ep);
    loadShape = apparent;
    loadShape.peak = 3.9 * ep.integralActiveWater / (2.0 * height);
  }
  ep.apparentPeak = apparent.peak;
  const double surfaceShare = ep.surfacePressure * first.ka * first.modification;
  for (PressureRow& row : rows) {
    const double z = row[kDepth];
    if (z >= height - kDepthTolerance) break;
    row[kApparent] = apparent.at(z);
    row[kActiveWaterSurcharge] = loadShape.at(z);
    if (option == 3) {
      row[kTotal] = row[kApparent] + row[kSurcharge] + row[kWater];
    } else {
      row[kSurface] = apparent.peak != 0.0 ? surfaceShare * row[kApparent] / apparent.peak : 0.0;
      row[kActive] = row[kApparent] - row[kSurface];
      row[kWater] = 0.0;
      row[kTotal] = row[kApparent] + row[kSurcharge];
    }
  }
  return rows;
}

}  // namespace korden

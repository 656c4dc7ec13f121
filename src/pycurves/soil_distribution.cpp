// The depth distributions that the soil criteria read: counted layers below the excavation level,
// effective unit weight, strength parameters and the five curve depths of every layer; and the
// lookups in them.
#include <algorithm>
#include <cmath>

#include "engine/single_precision.h"
#include "pressure/soil_layers.h"
#include "pycurves/curve_generation.h"

namespace korden {

namespace {

// A layer bottom within this of the excavation level counts as at the excavation level.
constexpr double kExcavationTolerance = 1.0e-5;
// Boundary values below this count as absent.
constexpr double kAbsent = 1.0e-20;

StrengthPoint strengthOf(const SoilParameters& p, double z) {
  return {z, p.cohesion, p.friction, p.e50, p.kpy, p.sixth};
}

double linear(double a, double b, double fraction) { return a + (b - a) * fraction; }

StrengthPoint interpolated(const SoilParameters& top, const SoilParameters& bottom, double fraction,
                           double z) {
  return {z,
          linear(top.cohesion, bottom.cohesion, fraction),
          linear(top.friction, bottom.friction, fraction),
          linear(top.e50, bottom.e50, fraction),
          linear(top.kpy, bottom.kpy, fraction),
          linear(top.sixth, bottom.sixth, fraction)};
}

double columnOf(const StrengthPoint& p, StrengthColumn column) {
  switch (column) {
    case StrengthColumn::Cohesion:
      return p.c;
    case StrengthColumn::Friction:
      return p.phi;
    case StrengthColumn::E50:
      return p.e50;
    case StrengthColumn::Kpy:
      return p.kpy;
    case StrengthColumn::Sixth:
      return p.sixth;
  }
  return 0.0;
}

// Value at a layer boundary: `upper` is the bottom of the layer above, `lower` the top of the
// layer below. Cohesion takes the lower layer's value where it has one; the other columns the
// mean of the two where both have one.
double boundaryValue(double upper, double lower, StrengthColumn column) {
  if (column == StrengthColumn::Cohesion) return lower >= kAbsent ? lower : upper;
  if (upper >= kAbsent && lower >= kAbsent) return 0.5 * (upper + lower);
  return lower >= kAbsent ? lower : upper;
}

}  // namespace

CurveSettings curveSettingsFor(const RunState& state) {
  CurveSettings s;
  const SoilData& soil = state.soil;
  s.unitsFlag = state.control.unitsFlag;
  s.freeHeight = soil.wall.freeHeight;
  s.surfaceX = stackSoilLayers(soil).top();
  s.width = soil.wall.widthResistance;
  s.widthRatio = s.width > 0.0 ? std::max(1.0, soil.wall.widthActive / s.width) : 1.0;
  s.referenceWidth =
      soil.referenceWidth > 0.0 ? soil.referenceWidth : (s.si() ? kReferenceWidthSI : 12.0);
  s.increment = state.wall.incrementLength;
  s.wallLength = state.wall.nIncrements * state.wall.incrementLength;
  s.slopeDegrees = soil.wall.slopeExcavation;
  s.waterUnitWeight = s.si() ? 9.81 : 0.036;
  s.edgeOffset = s.si() ? 0.01 : 0.1;
  s.cyclic = soil.loadingKind == 0;
  s.cycles = soil.cycles;
  return s;
}

SoilDistributions buildSoilDistributions(const RunState& state, const CurveSettings& s) {
  SoilDistributions d;
  const SoilData& soil = state.soil;
  const double freeHeight = s.freeHeight;
  d.stack = stackSoilLayers(soil);
  d.bottomX = d.stack.bottom();
  // Curves reach two increments below the tip of the wall.
  const double zEnd = s.wallLength + 2.0 * s.increment - freeHeight;
  if (d.stack.empty() || !(zEnd > 0.0)) return d;
  const double waterX = soil.wall.waterBackfill;
  const double gammaWater = s.waterUnitWeight;

  // One counted layer from z top to z bottom with its strength points, unit weight points and
  // five curve depths. `gammaTop` and `gammaBottom` are the total unit weights at its ends.
  const auto count = [&](CountedLayer counted, double gammaTop, double gammaBottom) {
    const double span = counted.zBottom - counted.zTop;
    const auto fractionAt = [&](double z) { return span > 0.0 ? (z - counted.zTop) / span : 0.0; };
    // Effective unit weight: total above the backfill water table, less the unit weight of water
    // at and below it. A water table inside the layer splits it into its dry and submerged parts.
    const double topX = counted.zTop + freeHeight;
    const double bottomX = counted.zBottom + freeHeight;
    if (waterX <= topX) {
      d.unitWeight.push_back({counted.zTop, gammaTop - gammaWater});
      d.unitWeight.push_back({counted.zBottom, gammaBottom - gammaWater});
    } else if (waterX < bottomX) {
      const double zWater = waterX - freeHeight;
      const double gammaAtWater = linear(gammaTop, gammaBottom, fractionAt(zWater));
      d.unitWeight.push_back({counted.zTop, gammaTop});
      d.unitWeight.push_back({zWater, gammaAtWater});
      d.unitWeight.push_back({zWater, gammaAtWater - gammaWater});
      d.unitWeight.push_back({counted.zBottom, gammaBottom - gammaWater});
    } else {
      d.unitWeight.push_back({counted.zTop, gammaTop});
      d.unitWeight.push_back({counted.zBottom, gammaBottom});
    }

    d.strength.push_back(counted.top);
    d.strength.push_back(counted.bottom);

    const double t = counted.zBottom - counted.zTop;
    const double e = s.edgeOffset;
    for (double depth : {counted.zTop + e, counted.zTop + 0.25 * t, counted.zTop + 0.5 * t,
                         counted.zTop + 0.75 * t, counted.zBottom - e}) {
      d.curveDepths.push_back(depth);
    }
    d.layers.push_back(counted);
  };

  for (const StackedSoilLayer& stacked : d.stack.layers) {
    const SoilLayer& layer = stacked.input(soil);
    if (stacked.xBottom <= freeHeight + kExcavationTolerance) continue;

    CountedLayer counted;
    counted.type = layer.type;
    counted.inputIndex = stacked.index;
    counted.zTop = std::max(stacked.xTop - freeHeight, 0.0);
    counted.zBottom = stacked.xBottom - freeHeight;
    const bool reachesEnd = counted.zBottom >= zEnd - kSameDepth;
    // The counted layer holds the input top values at its top, also where it is cut at the
    // excavation level, and the input bottom values at its bottom; a value inside it lies on the
    // line between these two points.
    counted.top = strengthOf(layer.top, counted.zTop);
    const double span = counted.zBottom - counted.zTop;
    double gammaBottom = layer.bottom.unitWeight;
    if (reachesEnd) {
      const double fraction = span > 0.0 ? (zEnd - counted.zTop) / span : 0.0;
      counted.zBottom = zEnd;
      counted.bottom = interpolated(layer.top, layer.bottom, fraction, zEnd);
      gammaBottom = linear(layer.top.unitWeight, layer.bottom.unitWeight, fraction);
    } else {
      counted.bottom = strengthOf(layer.bottom, counted.zBottom);
    }
    count(counted, layer.top.unitWeight, gammaBottom);
    if (reachesEnd) break;
  }

  // Soil that ends exactly at the excavation level leaves no layer below it: its last layer is
  // carried on from the excavation level to the end of the curve range with the values of its
  // bottom, as the earth-pressure profile carries it to the tip of the wall.
  if (d.layers.empty() && std::fabs(d.stack.bottom() - freeHeight) <= kExcavationTolerance) {
    const StackedSoilLayer& last = d.stack.layers.back();
    const SoilLayer& layer = last.input(soil);
    CountedLayer counted;
    counted.type = layer.type;
    counted.inputIndex = last.index;
    counted.zTop = 0.0;
    counted.zBottom = zEnd;
    counted.top = strengthOf(layer.bottom, 0.0);
    counted.bottom = strengthOf(layer.bottom, zEnd);
    count(counted, layer.bottom.unitWeight, layer.bottom.unitWeight);
    d.carriedDown = true;
    d.bottomX = zEnd + freeHeight;
  }

  // Friction angles in radians, with pi as the method holds it.
  const double toRadians = kPiSingle / 180.0;
  for (StrengthPoint& p : d.strength) p.phi *= toRadians;
  for (CountedLayer& l : d.layers) {
    l.top.phi *= toRadians;
    l.bottom.phi *= toRadians;
  }
  return d;
}

bool lookupStrength(const std::vector<StrengthPoint>& points, double z, StrengthColumn column,
                    double& value) {
  const size_t n = points.size();
  if (n == 0 || z > points[n - 1].z + kSameDepth) return false;
  if (n == 1) {
    value = columnOf(points[0], column);
    return true;
  }
  size_t i = 1;
  while (i < n - 1 && z > points[i].z + kSameDepth) ++i;
  const StrengthPoint& below = points[i];
  if (std::fabs(z - below.z) <= kSameDepth) {
    if (i + 1 < n && std::fabs(points[i + 1].z - below.z) <= kSameDepth) {
      value = boundaryValue(columnOf(below, column), columnOf(points[i + 1], column), column);
    } else {
      value = columnOf(below, column);
    }
    return true;
  }
  const StrengthPoint& above = points[i - 1];
  const double span = below.z - above.z;
  if (!(span > kSameDepth)) {
    value = columnOf(below, column);
    return true;
  }
  value = linear(columnOf(above, column), columnOf(below, column), (z - above.z) / span);
  return true;
}

bool lookupAverageUnitWeight(const std::vector<UnitWeightPoint>& points, double z, double& value) {
  if (points.empty()) return false;
  const double z0 = points.front().z;
  if (z < z0) {
    value = 0.0;
    return true;
  }
  if (z > points.back().z + kSameDepth) return false;
  if (z - z0 < 1.0e-6) {
    value = 0.0;
    for (const UnitWeightPoint& p : points) {
      if (p.gamma > 0.0) {
        value = p.gamma;
        break;
      }
    }
    return true;
  }
  // Trapezoidal integral of the distribution from z0 down to z.
  double integral = 0.0;
  for (size_t i = 1; i < points.size(); ++i) {
    const UnitWeightPoint& a = points[i - 1];
    const UnitWeightPoint& b = points[i];
    const double interval = b.z - a.z;
    if (b.z <= z) {
      integral += 0.5 * (a.gamma + b.gamma) * interval;
      continue;
    }
    if (interval >= 1.0e-6 && z > a.z) {
      const double gammaZ = linear(a.gamma, b.gamma, (z - a.z) / interval);
      integral += 0.5 * (a.gamma + gammaZ) * (z - a.z);
    }
    break;
  }
  value = integral / (z - z0);
  return true;
}

}  // namespace korden

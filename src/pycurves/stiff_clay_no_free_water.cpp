// Stiff clay without free water (layer type 3): the criterion of Welch and Reese (1972),
// p = 0.5 pu (y / y50)^0.25 up to 16 y50, with the cyclic stretching of the deflection by
// 1 + 0.6 log10 N.
#include <algorithm>
#include <cmath>

#include "pycurves/criteria.h"

namespace korden {

namespace {

// Multiples of 16 y50 of the first fifteen points.
constexpr std::array<double, 15> kPointFactors = {0.0,    1.0e-5, 5.0e-5, 1.0e-4, 5.0e-4,
                                                  1.0e-3, 5.0e-3, 0.01,   0.025,  0.05,
                                                  0.075,  0.1,    0.25,   0.5,    1.0};

}  // namespace

double stiffClayDefaultE50(double c, int unitsFlag) {
  if (unitsFlag != 1 && unitsFlag != 2) return 0.004;
  const bool si = unitsFlag == 2;
  if (c < (si ? 47.8803 : 6.9444)) return 0.011;
  if (c < (si ? 95.7605 : 13.8889)) return 0.007;
  if (c < (si ? 191.521 : 27.7778)) return 0.005;
  return 0.004;
}

double stiffClayNoFreeWaterUltimate(const ClayInput& in) {
  if (in.continuous) return continuousClayUltimate(in);
  double pu = (3.0 * in.b + 0.5 * in.depth) * in.ca + in.gamma * in.b * in.depth;
  if (in.excavation) pu *= in.slopeFactor;
  return std::min(pu, 9.0 * in.c * in.b);
}

SideCurve stiffClayNoFreeWaterCurve(const ClayInput& in) {
  SideCurve curve;
  const double pu = stiffClayNoFreeWaterUltimate(in);
  const double y50 = 2.5 * in.eps50 * (in.continuous ? in.referenceWidth : in.b);
  const double cycles = in.cyclic ? in.cycles : 1.0;
  const double logN = cycles > 0.0 ? std::log10(cycles) : 0.0;
  const double y16 = 16.0 * y50;
  const double yEnd = 1.25 * y50 * (16.0 + 9.6 * logN);
  for (size_t j = 0; j < kPointFactors.size(); ++j) curve.y[j] = y16 * kPointFactors[j];
  curve.y[15] = 0.5 * (y16 + yEnd);
  curve.y[16] = yEnd;
  for (int j = 0; j < kCurvePointsPerSide; ++j) {
    const double y = curve.y[j];
    double p = 0.0;
    if (y >= kDeflectionFloor && y50 > 0.0) {
      if (!in.cyclic) {
        p = y <= y16 ? 0.5 * pu * std::pow(y / y50, 0.25) : pu;
      } else {
        p = std::min(pu, 0.5 * pu * std::pow(y / ((1.0 + 0.6 * logN) * y50), 0.25));
      }
    }
    curve.p[j] = p;
  }
  curve.ultimate = pu;
  return curve;
}

double stiffClayNoFreeWaterEquivalentDepth(double resistance, double c, double gamma, double b) {
  const double a1 = 3.0 * c * b;
  const double a2 = 0.5 * gamma * b + 0.25 * c;
  const double denominator = gamma * b + 0.5 * c;
  const double zt = denominator > 0.0 ? 6.0 * c * b / denominator : 0.0;
  const double atZt = (a2 * zt + a1) * zt;
  if (resistance <= atZt) {
    if (!(a2 > 0.0)) return a1 > 0.0 ? resistance / a1 : 0.0;
    return (std::sqrt(a1 * a1 + 4.0 * a2 * resistance) - a1) / (2.0 * a2);
  }
  const double pmax = 9.0 * c * b;
  return pmax > 0.0 ? zt + (resistance - atZt) / pmax : zt;
}

// Average strength from the layer top to the curve, c taken linearly inside the layer.
double layerTopMeanStrength(const CountedLayer& layer, double z, double cAtCurve) {
  if (z - layer.zTop < 1.0e-5) return cAtCurve;
  const double span = layer.bottom.z - layer.top.z;
  const double cz = span > 0.0
                        ? layer.top.c + (layer.bottom.c - layer.top.c) * (z - layer.top.z) / span
                        : layer.top.c;
  return 0.5 * (layer.top.c + cz);
}

void stiffClayNoFreeWaterLayer(CurveGeneration& g, int n) {
  CountedLayer& layer = g.soil.layers[static_cast<size_t>(n)];
  const CurveSettings& s = g.settings;
  // A static analysis takes one cycle, and keeps it for the rest of the run.
  if (!s.cyclic) {
    g.state.soil.cycles = 1.0;
    g.settings.cycles = 1.0;
  }
  TrapezoidalResistance resistance;
  for (int i = layer.firstCurve; i <= layer.lastCurve; ++i) {
    const double z = g.soil.curveDepths[static_cast<size_t>(i)];
    g.beginCurve(z);
    const double c = g.strengthAt(z, StrengthColumn::Cohesion);
    const double ca = layerTopMeanStrength(layer, z, c);
    const double gamma = g.averageUnitWeight(z);
    double eps50 = g.strengthAt(z, StrengthColumn::E50);
    if (eps50 <= 0.0) eps50 = stiffClayDefaultE50(c, s.unitsFlag);
    for (const bool excavation : {true, false}) {
      const CurveSide side = g.side(z, excavation);
      if (g.setsEquivalentDepth(n, i, excavation)) {
        layer.equivalentDepth =
            stiffClayNoFreeWaterEquivalentDepth(g.resistanceAbove(n), c, gamma, s.width);
      }
      ClayInput in;
      setSideInput(g, n, side, in);
      in.c = c;
      in.ca = ca;
      in.gamma = gamma;
      in.eps50 = eps50;
      in.slopeFactor =
          excavation && std::fabs(s.slopeDegrees) > 1.0e-20 ? slopeFactor(s.slopeDegrees) : 1.0;
      in.cycles = g.settings.cycles;
      const SideCurve curve = stiffClayNoFreeWaterCurve(in);
      g.writeHeading(excavation, {{"DEPTH BELOW GS", g.depthUnit(), s.reportDepth(side.depth)},
                                  {"DIAM", g.lengthUnit(), s.width},
                                  {"C", g.stressUnit(), c},
                                  {"CAVG", g.stressUnit(), ca},
                                  {"GAMMA AVG", g.weightUnit(), gamma},
                                  {"E50", "", eps50}});
      g.emitSide(side, curve, PointHeads::WithCommas);
      if (excavation) resistance.add(layer, i, z, curve.ultimate);
    }
  }
}

}  // namespace korden

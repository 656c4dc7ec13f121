// Rock (layer type 6): a stiff straight line Ei = 2000 su up to 0.0004 b, a second branch of slope
// 100 su up to the deflection where it reaches su b, and a small residual resistance beyond.
#include "pycurves/criteria.h"

namespace korden {

SideCurve rockCurve(double su, double gamma, double b, double residualDepth, double pMultiplier) {
  SideCurve curve;
  curve.pMultiplied = true;
  const double ei = 2000.0 * su;
  const double y1 = 0.0004 * b;
  const double p1 = ei * y1;
  // Deflection at which the second branch reaches su b (0.0024 b for any su).
  const double y2 = su > 0.0 ? y1 + (b * su - p1) / (100.0 * su) : y1 + 0.002 * b;
  // Points 1 to 15 lie below y2 and point 16 at y2 = 15 (y2 / 15): the branch goes by the point
  // number, since j y2 / 15 may round below y2 at point 16.
  constexpr int kFirstResidualPoint = 15;
  for (int j = 0; j < kCurvePointsPerSide; ++j) {
    const double y = j * y2 / 15.0;
    curve.y[j] = y;
    double p = 0.0;
    if (j >= kFirstResidualPoint) {
      p = 0.5 * gamma * b * residualDepth;
    } else if (y < y1) {
      p = pMultiplier * ei * y;
    } else {
      p = pMultiplier * (p1 + 100.0 * su * (y - y1));
    }
    curve.p[j] = p;
  }
  return curve;
}

void rockLayer(CurveGeneration& g, int n) {
  CountedLayer& layer = g.soil.layers[static_cast<size_t>(n)];
  const CurveSettings& s = g.settings;
  for (int i = layer.firstCurve; i <= layer.lastCurve; ++i) {
    const double z = g.soil.curveDepths[static_cast<size_t>(i)];
    g.beginCurve(z);
    const double su = g.strengthAt(z, StrengthColumn::Cohesion) / 2.0;
    const double gamma = g.averageUnitWeight(z);
    for (const bool excavation : {true, false}) {
      const CurveSide side = g.side(z, excavation);
      // The residual acts at the curve's depth below the ground surface of its side.
      const SideCurve curve = rockCurve(su, gamma, s.width, side.depth, side.pMultiplier);
      g.writeHeading(excavation,
                     {{excavation ? "DEPTH-EXCAVATION SIDE" : "DEPTH-BACKFILL SIDE  ",
                       g.depthUnit(), s.reportDepth(side.depth)},
                      {"DIAM", g.lengthUnit(), s.width},
                      {"C", g.stressUnit(), su}},
                     false);
      g.emitSide(side, curve, PointHeads::Plain);
    }
  }
  // Rock takes no part in the equivalent depth of the layers below.
  layer.accumulated = 0.0;
}

}  // namespace korden

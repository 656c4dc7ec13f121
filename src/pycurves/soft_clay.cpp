// Soft clay below the water table (layer type 1): the criterion of Matlock (1970), with
// Np = 3 + gamma z / c + 0.5 z / b up to 9, p = 0.5 pu (y / y50)^(1/3) and, for cyclic loading,
// the degradation to 0.72 pu that depends on the transition depth zr.
#include <cmath>

#include "pycurves/criteria.h"

namespace korden {

namespace {

// Multiples of 8 y50 at which the curve is given.
constexpr SidePoints kPointFactors = {0.0,   0.00025, 0.0025, 0.0075, 0.02, 0.04, 0.06, 0.1, 0.15,
                                      0.225, 0.3,     0.4,    0.5,    0.65, 0.8,  1.0,  1.2};

// Depth below which cyclic loading keeps 0.72 pu: where Np reaches 9.
double transitionDepth(double c, double gamma, double b) {
  const double denominator = gamma * b + 0.5 * c;
  const double zr = denominator > 0.0 ? 6.0 * c * b / denominator : 0.0;
  return zr < 1.0e-6 ? b : zr;
}

}  // namespace

double softClayDefaultE50(double c, int unitsFlag) {
  if (unitsFlag != 1 && unitsFlag != 2) return 0.004;
  const bool si = unitsFlag == 2;
  if (c < (si ? 23.9401 : 3.4722)) return 0.02;
  if (c < (si ? 47.8803 : 6.9444)) return 0.01;
  if (c < (si ? 191.521 : 27.7778)) return 0.005;
  return 0.004;
}

double softClayUltimate(const ClayInput& in) {
  if (in.continuous) return continuousClayUltimate(in);
  if (!(in.c > 0.0)) return 0.0;
  double np = 3.0 + in.gamma * in.depth / in.c + 0.5 * in.depth / in.b;
  if (in.excavation) np *= in.slopeFactor;
  return np <= 9.0 ? np * in.c * in.b : 9.0 * in.c * in.b;
}

SideCurve softClayCurve(const ClayInput& in) {
  SideCurve curve;
  const double pu = softClayUltimate(in);
  const double y50 = 2.5 * in.eps50 * (in.continuous ? in.referenceWidth : in.b);
  const double zr = transitionDepth(in.c, in.gamma, in.b);
  const double residual = in.depth >= zr ? 0.72 * pu : 0.72 * pu * in.depth / zr;
  for (int j = 0; j < kCurvePointsPerSide; ++j) {
    const double y = 8.0 * y50 * kPointFactors[j];
    curve.y[j] = y;
    double p = 0.0;
    if (y >= kDeflectionFloor && y50 > 0.0) {
      const double rising = 0.5 * pu * std::cbrt(y / y50);
      if (!in.cyclic) {
        p = y <= 8.0 * y50 ? rising : pu;
      } else if (y <= 3.0 * y50) {
        p = rising;
      } else if (in.depth >= zr) {
        p = 0.72 * pu;
      } else if (y <= 15.0 * y50) {
        p = 0.72 * pu + (residual - 0.72 * pu) * (y - 3.0 * y50) / (12.0 * y50);
      } else {
        p = residual;
      }
    }
    curve.p[j] = p;
  }
  // Secant of the curve at the deflection floor.
  curve.floorModulus =
      y50 > 0.0 ? 0.5 * pu * std::pow(y50 / kDeflectionFloor, 2.0 / 3.0) / y50 : 0.0;
  curve.ultimate = in.cyclic ? residual : pu;
  return curve;
}

double softClayEquivalentDepth(double resistance, double c, double gamma, double b, bool cyclic) {
  // Integral of pu = (3 c + gamma z) b + 0.5 c z from the surface: (a2 z + a1) z down to zr.
  const double zr = transitionDepth(c, gamma, b);
  const double a1 = 3.0 * c * b;
  const double a2 = 0.5 * gamma * b + 0.25 * c;
  const double atZr =
      cyclic ? 0.72 * (b * zr * zr * gamma / 3.0 + 1.5 * zr * b * c + zr * zr * c / 6.0)
             : (a2 * zr + a1) * zr;
  if (resistance <= atZr) {
    if (!(a2 > 0.0)) return a1 > 0.0 ? resistance / a1 : 0.0;
    return (std::sqrt(a1 * a1 + 4.0 * a2 * resistance) - a1) / (2.0 * a2);
  }
  const double pmax = (cyclic ? 0.72 : 1.0) * 9.0 * c * b;
  return pmax > 0.0 ? zr + (resistance - atZr) / pmax : zr;
}

void softClayLayer(CurveGeneration& g, int n) {
  CountedLayer& layer = g.soil.layers[static_cast<size_t>(n)];
  const CurveSettings& s = g.settings;
  double previousZ = 0.0;
  for (int i = layer.firstCurve; i <= layer.lastCurve; ++i) {
    const double z = g.soil.curveDepths[static_cast<size_t>(i)];
    g.beginCurve(z);
    const double c = g.strengthAt(z, StrengthColumn::Cohesion);
    const double gamma = g.averageUnitWeight(z);
    double eps50 = g.strengthAt(z, StrengthColumn::E50);
    if (eps50 <= 0.0) eps50 = softClayDefaultE50(c, s.unitsFlag);
    for (const bool excavation : {true, false}) {
      const CurveSide side = g.side(z, excavation);
      if (g.setsEquivalentDepth(n, i, excavation)) {
        layer.equivalentDepth =
            softClayEquivalentDepth(g.resistanceAbove(n), c, gamma, s.width, s.cyclic);
      }
      ClayInput in;
      setSideInput(g, n, side, in);
      in.c = c;
      in.gamma = gamma;
      in.eps50 = eps50;
      in.slopeFactor = excavation && s.slopeDegrees > 0.0 ? slopeFactor(s.slopeDegrees) : 1.0;
      const SideCurve curve = softClayCurve(in);
      g.writeHeading(excavation, {{"DEPTH BELOW GS", g.depthUnit(), s.reportDepth(side.depth)},
                                  {"DIAM", g.lengthUnit(), s.width},
                                  {"C", g.stressUnit(), c},
                                  {"GAMMA AVG", g.weightUnit(), gamma},
                                  {"E50", "", eps50}});
      g.emitSide(side, curve, PointHeads::WithCommas);
      if (excavation) {
        layer.accumulated =
            i == layer.firstCurve ? 0.0 : layer.accumulated + curve.ultimate * (z - previousZ);
      }
    }
    previousZ = z;
  }
}

}  // namespace korden

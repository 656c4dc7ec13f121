// Stiff clay with free water (layer type 2): the criterion of Reese, Cox and Koop (1975) with the
// empirical factors As and Ac, the wedge 2 ca b + gamma b z + 2.83 ca z against the flow 11 c b,
// and the initial straight line k z y that bounds the curve.
#include <algorithm>
#include <cmath>

#include "pycurves/criteria.h"

namespace korden {

namespace {

// Linear interpolation in a table at x = 0, 1, 2, ..., the last segment extended. The row is
// chosen in doubles, so that no x (huge, infinite) reaches an integer conversion out of range;
// a NaN x gives NaN, which the curve output rejects.
template <size_t N>
double tableAt(const std::array<double, N>& values, double x) {
  if (std::isnan(x)) return x;
  if (x <= 0.0) return values[0];
  const double row = std::min(std::floor(x), static_cast<double>(N - 2));
  const size_t i = static_cast<size_t>(row);
  return values[i] + (values[i + 1] - values[i]) * (x - row);
}

constexpr std::array<double, 6> kAs = {0.223, 0.46, 0.55, 0.59, 0.60, 0.60};
constexpr std::array<double, 4> kAc = {0.20, 0.29, 0.30, 0.30};

}  // namespace

double freeWaterFactorAs(double x) { return tableAt(kAs, x); }
double freeWaterFactorAc(double x) { return tableAt(kAc, x); }

double freeWaterResidualRatio(double x, bool cyclic) {
  const double as = freeWaterFactorAs(x);
  if (cyclic) return 0.936 * freeWaterFactorAc(x) - 0.418 * as;
  return 1.225 * std::sqrt(as) - 0.411 - 0.75 * as;
}

double stiffClayDefaultK(double c, int unitsFlag, double inputK) {
  if (unitsFlag == 1) {
    if (c < 6.9444) return 250.0;
    if (c < 13.8889) return 500.0;
    if (c < 27.7778) return 1000.0;
    return 2000.0;
  }
  if (unitsFlag == 2) {
    if (c < 47.8803) return 67861.78125;
    if (c < 95.7605) return 135723.5625;
    if (c < 191.521) return 271447.125;
    return 542894.25;
  }
  return inputK;
}

double stiffClayFreeWaterUltimate(const ClayInput& in) {
  if (in.continuous) return continuousClayUltimate(in);
  double wedge = 2.0 * in.ca * in.b + in.gamma * in.b * in.depth + 2.83 * in.ca * in.depth;
  if (in.excavation) wedge *= in.slopeFactor;
  return std::min(wedge, 11.0 * in.c * in.b);
}

SideCurve stiffClayFreeWaterCurve(const ClayInput& in) {
  SideCurve curve;
  const double pc = stiffClayFreeWaterUltimate(in);
  const double y50 = in.eps50 * (in.continuous ? in.referenceWidth : in.b);
  const double x = in.b > 0.0 ? in.plainDepth / in.b : 0.0;
  const double as = freeWaterFactorAs(x);
  const double ac = freeWaterFactorAc(x);
  const double initialSlope = in.k * in.depth;
  if (!in.cyclic) {
    const double a = as;
    curve.y[0] = 0.0;
    for (int j = 1; j <= 12; ++j) curve.y[j] = 0.5 * j * a * y50;
    curve.y[13] = 10.0 * a * y50;
    curve.y[14] = 14.0 * a * y50;
    curve.y[15] = 18.0 * a * y50;
    curve.y[16] = 150.0 * a * y50;
    for (int j = 0; j < kCurvePointsPerSide; ++j) {
      const double y = curve.y[j];
      double p = 0.0;
      if (y >= kDeflectionFloor && y50 > 0.0 && a > 0.0) {
        const double ay50 = a * y50;
        if (y <= ay50) {
          p = 0.5 * pc * std::sqrt(y / y50);
        } else if (y <= 6.0 * ay50) {
          p = 0.5 * pc * std::sqrt(y / y50) - 0.055 * pc * std::pow((y - ay50) / ay50, 1.25);
        } else if (y <= 18.0 * ay50) {
          p = 0.5 * pc * std::sqrt(6.0 * a) - 0.411 * pc - (0.0625 / y50) * pc * (y - 6.0 * ay50);
        } else {
          p = 0.5 * pc * std::sqrt(6.0 * a) - 0.75 * a * pc - 0.411 * pc;
        }
        p = std::min(p, initialSlope * y);
      }
      curve.p[j] = p;
    }
  } else {
    const double yp = 4.1 * as * y50;
    curve.y[0] = 0.0;
    for (int j = 1; j <= 12; ++j) curve.y[j] = 0.05 * j * yp;
    curve.y[13] = 1.0 * yp;
    curve.y[14] = 1.4 * yp;
    curve.y[15] = 1.8 * yp;
    curve.y[16] = 20.0 * yp;
    for (int j = 0; j < kCurvePointsPerSide; ++j) {
      const double y = curve.y[j];
      double p = 0.0;
      if (y >= kDeflectionFloor && yp > 0.0) {
        if (y <= 0.6 * yp) {
          p = ac * pc * (1.0 - std::pow(std::fabs((y - 0.45 * yp) / (0.45 * yp)), 2.5));
        } else if (y <= 1.8 * yp) {
          p = 0.936 * ac * pc - (0.085 / y50) * pc * (y - 0.6 * yp);
        } else {
          p = 0.936 * ac * pc - (0.102 / y50) * pc * yp;
        }
        p = std::min(p, initialSlope * y);
      }
      curve.p[j] = p;
    }
  }
  curve.ultimate = pc;
  return curve;
}

double stiffClayFreeWaterEquivalentDepth(double resistance, double c, double gamma, double b,
                                         bool cyclic) {
  // Depth where the wedge reaches the flow resistance 11 c b.
  const double denominator = gamma * b + 2.83 * c;
  if (!(denominator > 0.0) || !(b > 0.0)) return 0.0;
  const double zt = 9.0 * c * b / denominator;
  const double step = zt / 40.0;
  double sum = 0.0;
  for (int i = 1; i <= 40; ++i) {
    const double zi = i * step;
    const double previous = sum;
    sum += (2.0 * c * b + denominator * zi) * step * freeWaterResidualRatio(zi / b, cyclic);
    if (sum > resistance) return zi - step * (sum - resistance) / (sum - previous);
  }
  const double flow = 11.0 * b * c * freeWaterResidualRatio(40.0 * step / b, cyclic);
  return flow > 0.0 ? zt + (resistance - sum) / flow : zt;
}

void stiffClayFreeWaterLayer(CurveGeneration& g, int n) {
  CountedLayer& layer = g.soil.layers[static_cast<size_t>(n)];
  const CurveSettings& s = g.settings;
  TrapezoidalResistance resistance;
  double previousZ = 0.0;
  // Trapezoidal average of c over the layer's curve depths (layers below the first).
  double previousC = 0.0, cIntegral = 0.0;
  for (int i = layer.firstCurve; i <= layer.lastCurve; ++i) {
    const double z = g.soil.curveDepths[static_cast<size_t>(i)];
    g.beginCurve(z);
    const double c = g.strengthAt(z, StrengthColumn::Cohesion);
    double ca = c;
    if (n == 0) {
      ca = layerTopMeanStrength(layer, z, c);
    } else if (i > layer.firstCurve) {
      const double firstZ = g.soil.curveDepths[static_cast<size_t>(layer.firstCurve)];
      cIntegral += 0.5 * (previousC + c) * (z - previousZ);
      ca = z - firstZ > 0.0 ? cIntegral / (z - firstZ) : c;
    }
    previousC = c;
    const double gamma = g.averageUnitWeight(z);
    double eps50 = g.strengthAt(z, StrengthColumn::E50);
    if (eps50 <= 0.0) eps50 = stiffClayDefaultE50(c, s.unitsFlag);
    double k = g.strengthAt(z, StrengthColumn::Kpy);
    if (k <= 0.0) k = stiffClayDefaultK(c, s.unitsFlag, k);
    for (const bool excavation : {true, false}) {
      const CurveSide side = g.side(z, excavation);
      if (g.setsEquivalentDepth(n, i, excavation)) {
        layer.equivalentDepth =
            stiffClayFreeWaterEquivalentDepth(g.resistanceAbove(n), c, gamma, s.width, s.cyclic);
      }
      ClayInput in;
      setSideInput(g, n, side, in);
      in.c = c;
      in.ca = ca;
      in.gamma = gamma;
      in.eps50 = eps50;
      in.k = k;
      in.slopeFactor =
          excavation && std::fabs(s.slopeDegrees) > 1.0e-20 ? slopeFactor(s.slopeDegrees) : 1.0;
      const SideCurve curve = stiffClayFreeWaterCurve(in);
      g.writeHeading(excavation, {{"DEPTH BELOW GS", g.depthUnit(), s.reportDepth(side.depth)},
                                  {"DIAM", g.lengthUnit(), s.width},
                                  {"C", g.stressUnit(), c},
                                  {"CAVG", g.stressUnit(), ca},
                                  {"GAMMA AVG", g.weightUnit(), gamma},
                                  {"E50", "", eps50},
                                  {"KPY", g.weightUnit(), k}});
      g.emitSide(side, curve, PointHeads::None, true);
      if (excavation) {
        // Each strip weighted by the ratio of the residual resistance to pc at the curve.
        resistance.add(
            layer, i, z, curve.ultimate,
            freeWaterResidualRatio(s.width > 0.0 ? side.depth / s.width : 0.0, s.cyclic));
      }
    }
    previousZ = z;
  }
}

}  // namespace korden

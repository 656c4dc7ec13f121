// Silt, a soil with cohesion and friction (layer type 5): the frictional part of the sand
// criterion plus a cohesive part built like the soft clay resistance, with three curve shapes
// chosen by where the initial straight line k z y meets the curve.
#include <algorithm>
#include <cmath>

#include "engine/single_precision.h"
#include "pycurves/criteria.h"

namespace korden {

namespace {

// Wall friction of the continuous wall: 10 degrees.
constexpr double kWallFriction = 0.1745333;
constexpr double kCosWallFriction = 0.98480768;

double square(double v) { return v * v; }

// Passive coefficient with the wall friction of 10 degrees, with the constants of the method.
double siltPassive(double phi, double theta) {
  const double r = std::max(0.0, std::sin(phi + kWallFriction) * std::sin(phi - theta) /
                                     (kCosWallFriction * std::cos(theta)));
  return (square(std::cos(phi)) / kCosWallFriction) / square(1.0 - std::sqrt(r));
}

}  // namespace

double siltDefaultK(double c, double phiDegrees, double gamma, int unitsFlag, double inputK) {
  if (unitsFlag != 1 && unitsFlag != 2) return inputK;
  const bool si = unitsFlag == 2;
  const double cohesive = stiffClayDefaultK(c, unitsFlag, inputK);
  const bool submerged = si ? gamma <= 12.225 : gamma <= 0.0450711;
  const int column = phiDegrees <= 30.0 ? 0 : (phiDegrees <= 36.0 ? 1 : 2);
  static constexpr double kEnglish[2][3] = {{25.0, 90.0, 225.0}, {20.0, 60.0, 125.0}};
  static constexpr double kSI[2][3] = {{6786.18, 24430.24, 61075.60},
                                       {5428.94, 16286.83, 33930.90}};
  const double frictional = (si ? kSI : kEnglish)[submerged ? 1 : 0][column];
  return cohesive + frictional;
}

double siltActiveCoefficient(double phi, double theta) {
  const double horizontal = square(std::tan(kPiSingle / 4.0 - phi / 2.0));
  if (!(theta > 1.0e-10)) return horizontal;
  const double cosTheta = std::cos(theta);
  const double under = cosTheta * cosTheta - square(std::cos(phi));
  // A slope as steep as the friction angle keeps the horizontal coefficient.
  if (under < 0.0) return horizontal;
  const double root = std::sqrt(under);
  return cosTheta * (cosTheta - root) / (cosTheta + root);
}

SideCurve siltCurve(const FrictionalInput& in, FrictionalResistance* out) {
  SideCurve curve;
  FrictionalResistance r;
  const WedgeAngles w = wedgeAngles(in.phi);
  const double z = in.depth;
  const double b = in.b;
  const double width = in.continuous ? in.referenceWidth : b;
  const double thetaSide = in.excavation ? in.theta : 0.0;
  const double slopeFactor =
      in.excavation && in.theta > 1.0e-20 ? 1.0 / (1.0 + std::tan(in.theta)) : 1.0;

  // Frictional part: the sand wedge (sloping form on the excavation side for a positive slope)
  // with the silt's active coefficient, and the sand flow.
  const double ka = siltActiveCoefficient(in.phi, in.theta);
  const double wedgeSlope = in.excavation && in.signedSlope > 1.0e-14 ? in.theta : 0.0;
  r.pst = sandWedge(w, in.gamma, z, b, wedgeSlope, ka);
  r.psd = sandFlow(w, in.gamma, z, b);
  r.ps = std::min(r.pst, r.psd);

  // Cohesive part.
  if (in.continuous) {
    const double kpc = siltPassive(in.phi, thetaSide);
    r.ps = in.excavation ? b * in.plainDepth * in.gamma * kpc : b * kpc * in.backfillStress;
    r.pc = 2.0 * in.c * std::sqrt(kpc) * b * slopeFactor;
  } else if (in.c > 0.0) {
    const double np = (3.0 + in.gamma * z / in.c + 0.5 * z / b) * slopeFactor;
    r.pc = np >= 9.0 ? 9.0 * in.c * b : np * in.c * b;
  }

  const double x = b > 0.0 ? z / b : 0.0;
  r.a = sandFactorA(x, in.cyclic);
  r.b = sandFactorB(x, in.cyclic);
  ParabolicCurve shape;
  shape.pu = r.a * r.ps;
  // The resistance at ym: B ps, as in the sand criterion, plus the cohesive part.
  shape.pm = r.b * r.ps + r.pc;
  shape.yu = 3.0 * width / 80.0;
  shape.ym = width / 60.0;
  shape.kz = in.k * z;
  r.pu = shape.pu;
  r.pm = shape.pm;
  r.yu = shape.yu;
  r.ym = shape.ym;
  r.kz = shape.kz;
  curve.ultimate = r.pu;

  if (!(z > 0.0) || !shapeParabolicCurve(shape, true)) {
    r.shape = 1;
    placeZeroCurve(shape.ym, shape.yu, curve);
    if (out != nullptr) *out = r;
    return curve;
  }
  r.yk = shape.yk;
  const double kz = shape.kz;
  const double m = shape.m;
  const double yi = (shape.pm - shape.ym * m) / (kz - m);
  const double yc = shape.pu / kz;
  if (std::isfinite(shape.yk) && shape.yk >= 0.0 && shape.yk < shape.ym) {
    r.shape = 1;
  } else if (std::isfinite(yi) && yi >= shape.ym && yi < shape.yu) {
    r.shape = 2;
  } else if (yc >= shape.yu) {
    r.shape = 3;
  } else {
    r.shape = 1;
  }

  if (r.shape == 1) {
    placeParabolicCurve(shape, curve);
  } else if (r.shape == 2) {
    // The straight line k z y meets the straight branch at yi.
    static constexpr double kFractions[8] = {0.125, 0.25, 0.375, 0.5, 0.625, 0.875, 1.0, 1.0};
    curve.y[0] = 0.0;
    for (int j = 0; j < 8; ++j) curve.y[1 + j] = yi * kFractions[j];
    for (int j = 1; j <= 5; ++j) curve.y[8 + j] = yi + j * (shape.yu - yi) / 6.0;
    curve.y[14] = shape.yu;
    curve.y[15] = 1.1 * shape.yu;
    curve.y[16] = 1.2 * shape.yu;
    for (int j = 0; j < kCurvePointsPerSide; ++j) {
      const double y = curve.y[j];
      double p = y <= yi ? kz * y : (y <= shape.yu ? kz * yi + m * (y - yi) : shape.pu);
      curve.p[j] = y < kDeflectionFloor ? 0.0 : std::min(p, kz * y);
    }
  } else {
    // Bilinear: k z y up to pu.
    for (int j = 0; j <= 12; ++j) curve.y[j] = yc * j / 12.0;
    for (int j = 1; j <= 4; ++j) curve.y[12 + j] = yc * (1.0 + 0.05 * j);
    for (int j = 0; j < kCurvePointsPerSide; ++j) {
      const double y = curve.y[j];
      curve.p[j] = y < kDeflectionFloor ? 0.0 : std::min(y <= yc ? kz * y : shape.pu, kz * y);
    }
  }
  if (out != nullptr) *out = r;
  return curve;
}

double siltEquivalentDepth(double resistance, double c, double phi, double gamma, double b,
                           double depth, bool cyclic) {
  const auto [c1, c2, cf] = wedgeIntegralTerms(phi);
  if (!(c2 > 0.0) || !(b > 0.0)) return 0.0;
  const double zs = b * (cf - c1) / c2;
  if (!(zs > 0.0)) return 0.0;
  const double step = zs / 50.0;
  double sum = 0.0;
  for (int i = 1; i <= 50; ++i) {
    const double zi = i * step;
    const double previous = sum;
    sum += ((gamma * b + 0.5 * c) * zi +
            (c1 * zi / b + c2 * square(zi / b)) * gamma * b * b * sandFactorA(zi / b, cyclic) +
            3.0 * c * b) *
           step;
    if (sum > resistance) return zi - step * (sum - resistance) / (sum - previous);
  }
  const double flow = 0.88 * cf * gamma * b * depth + 9.0 * c * b;
  return flow > 0.0 ? zs + (resistance - sum) / flow : zs;
}

void siltLayer(CurveGeneration& g, int n) {
  CountedLayer& layer = g.soil.layers[static_cast<size_t>(n)];
  const CurveSettings& s = g.settings;
  const double signedSlope = slopeRadians(s.slopeDegrees);
  const double degreesPerRadian = 180.0 / kPiSingle;
  TrapezoidalResistance resistance;
  for (int i = layer.firstCurve; i <= layer.lastCurve; ++i) {
    const double z = g.soil.curveDepths[static_cast<size_t>(i)];
    g.beginCurve(z);
    const double c = g.strengthAt(z, StrengthColumn::Cohesion);
    const double phi = g.strengthAt(z, StrengthColumn::Friction);
    const double gamma = g.averageUnitWeight(z);
    double k = g.strengthAt(z, StrengthColumn::Kpy);
    if (k <= 0.0) k = siltDefaultK(c, phi * degreesPerRadian, gamma, s.unitsFlag, k);
    for (const bool excavation : {true, false}) {
      const CurveSide side = g.side(z, excavation);
      if (g.setsEquivalentDepth(n, i, excavation)) {
        layer.equivalentDepth =
            siltEquivalentDepth(g.resistanceAbove(n), c, phi, gamma, s.width, z, s.cyclic);
      }
      FrictionalInput in;
      setSideInput(g, n, side, in);
      in.phi = phi;
      in.c = c;
      in.gamma = gamma;
      in.k = k;
      in.theta = std::fabs(signedSlope);
      in.signedSlope = signedSlope;
      FrictionalResistance r;
      const SideCurve curve = siltCurve(in, &r);
      g.writeHeading(excavation, {{"DEPTH", g.depthUnit(), s.reportDepth(side.depth)},
                                  {"DIAM", g.lengthUnit(), s.width},
                                  {"PHI", "DEGREE", phi * degreesPerRadian},
                                  {"GAMMA AVG", g.weightUnit(), gamma},
                                  {"KPY", g.weightUnit(), k},
                                  {"A", "", r.a},
                                  {"B", "", r.b},
                                  {"Puc", g.lineLoadUnit(), r.pc},
                                  {"Pus", g.lineLoadUnit(), r.ps}});
      g.emitSide(side, curve, PointHeads::Plain);
      if (excavation) {
        resistance.add(layer, i, z, curve.ultimate);
        TrapezoidalResistance::extendToBottom(layer, i, z, curve.ultimate);
      }
    }
  }
}

}  // namespace korden

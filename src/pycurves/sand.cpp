// Sand (layer type 4): the criterion of Reese, Cox and Koop (1974). The ultimate resistance is the
// smaller of the wedge and the flow resistance, scaled by the empirical factors A and B; the curve
// is the straight line k z y, a parabola, a straight branch and the horizontal pu.
#include <algorithm>
#include <cmath>

#include "engine/single_precision.h"
#include "pycurves/criteria.h"

namespace korden {

namespace {

constexpr std::array<double, 10> kFactorX = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
constexpr std::array<double, 10> kStaticA = {2.83, 2.48, 2.11, 1.76, 1.48,
                                             1.23, 1.06, 0.90, 0.88, 0.88};
constexpr std::array<double, 10> kStaticB = {2.14, 1.83, 1.54, 1.27, 1.05,
                                             0.86, 0.71, 0.53, 0.50, 0.50};
constexpr std::array<double, 10> kCyclicA = {0.75, 0.93, 1.07, 1.11, 1.03,
                                             0.98, 0.94, 0.90, 0.88, 0.88};
constexpr std::array<double, 10> kCyclicB = {0.53, 0.72, 0.83, 0.86, 0.82,
                                             0.77, 0.70, 0.55, 0.55, 0.55};

// Linear interpolation in z / b, the last segment extended beyond x = 6.
double factorAt(const std::array<double, 10>& values, double x) {
  if (x <= kFactorX[0]) return values[0];
  size_t i = 1;
  while (i < kFactorX.size() - 1 && x > kFactorX[i]) ++i;
  return values[i - 1] +
         (values[i] - values[i - 1]) * (x - kFactorX[i - 1]) / (kFactorX[i] - kFactorX[i - 1]);
}

double square(double v) { return v * v; }

}  // namespace

WedgeAngles wedgeAngles(double phi) {
  WedgeAngles w;
  w.phi = phi;
  w.alpha = phi / 2.0;
  w.beta = kPiSingle / 4.0 + phi / 2.0;
  w.ka = square(std::tan(kPiSingle / 4.0 - phi / 2.0));
  w.kp = square(std::tan(w.beta));
  w.k0 = 0.4;
  return w;
}

double sandWedge(const WedgeAngles& w, double gamma, double z, double b, double theta, double ka) {
  const double tanBeta = std::tan(w.beta);
  const double tanBetaPhi = std::tan(w.beta - w.phi);
  const double tanAlpha = std::tan(w.alpha);
  const double tanPhi = std::tan(w.phi);
  const double sinBeta = std::sin(w.beta);
  const double cosAlpha = std::cos(w.alpha);
  const double k0 = w.k0;
  if (theta > 1.0e-15) {
    const double t = std::tan(theta);
    const double q = 1.0 + t * tanBeta;
    const double d = t * tanBeta / q;
    const double f = (4.0 * d - 3.0) * d * d + 1.0;
    return gamma * z *
           ((tanBeta / tanBetaPhi) * (z * tanBeta * tanAlpha / q + b) / q - ka * b +
            f * k0 * z * tanPhi * sinBeta / (tanBetaPhi * cosAlpha) +
            f * k0 * z * tanBeta * (tanPhi * sinBeta - tanAlpha));
  }
  return gamma * z *
         (k0 * z * tanPhi * sinBeta / (tanBetaPhi * cosAlpha) +
          (tanBeta / tanBetaPhi) * (b + z * tanBeta * tanAlpha) +
          k0 * z * tanBeta * (tanPhi * sinBeta - tanAlpha) - ka * b);
}

double sandFlow(const WedgeAngles& w, double gamma, double z, double b) {
  const double tanBeta = std::tan(w.beta);
  return (w.ka * (std::pow(tanBeta, 8.0) - 1.0) + w.k0 * std::tan(w.phi) * std::pow(tanBeta, 4.0)) *
         b * gamma * z;
}

double passiveWithWallFriction(double phi, double delta, double theta) {
  // A slope steeper than the friction angle leaves no wedge term under the root.
  const double r = std::max(
      0.0, std::sin(delta + phi) * std::sin(phi - theta) / (std::cos(delta) * std::cos(theta)));
  const double denominator = square(1.0 - std::sqrt(r));
  return (square(std::cos(phi)) / std::cos(delta)) / denominator;
}

double sandFactorA(double x, bool cyclic) { return factorAt(cyclic ? kCyclicA : kStaticA, x); }
double sandFactorB(double x, bool cyclic) { return factorAt(cyclic ? kCyclicB : kStaticB, x); }

double sandDefaultK(double phiDegrees, double gamma, int unitsFlag, double inputK) {
  if (unitsFlag != 1 && unitsFlag != 2) return inputK;
  const bool si = unitsFlag == 2;
  const bool submerged = si ? gamma <= 12.225 : gamma <= 0.045;
  const double phi = phiDegrees;
  if (phi > 45.0) {
    if (si) return submerged ? 62097.7578 : 107143.7109;
    return submerged ? 228.7656 : 394.7130;
  }
  double k = 0.0;
  if (phi < 27.6423) {
    k = (submerged ? 10.20673 : 10.20679) * phi / 27.6423;
  } else if (submerged) {
    k = ((0.0166 * phi - 1.55262) * phi + 58.42955) * phi - 769.1835;
  } else {
    k = (0.4168 * phi - 8.1254) * phi - 83.664;
  }
  return si ? k * 271.4471 : k;
}

bool shapeParabolicCurve(ParabolicCurve& s, bool absoluteSlope) {
  if (!(s.pm > 0.0) || !(s.kz > 0.0) || !(s.ym > 0.0) || !(s.yu > s.ym)) return false;
  s.m = (s.pu - s.pm) / (s.yu - s.ym);
  const double slope = absoluteSlope ? std::fabs(s.m) : s.m;
  s.invN = slope * s.ym / s.pm;
  s.c = s.pm / std::pow(s.ym, s.invN);
  // n / (n - 1) = 1 / (1 - 1/n).
  s.yk = std::pow(s.c / s.kz, 1.0 / (1.0 - s.invN));
  return true;
}

namespace {

double parabolicValue(const ParabolicCurve& s, double y) {
  double p = 0.0;
  if (y <= s.yk && y < s.ym) {
    p = s.kz * y;
  } else if (y < s.ym) {
    p = s.c * std::pow(y, s.invN);
  } else if (y < s.yu) {
    p = s.pm + s.m * (y - s.ym);
  } else {
    p = s.pu;
  }
  return std::min(p, s.kz * y);
}

void placeParabolicDeflections(double yb, double ym, double yu, SideCurve& curve) {
  curve.y[0] = 0.0;
  curve.y[1] = yb / 2.0;
  curve.y[2] = yb;
  for (int j = 1; j <= 9; ++j) curve.y[2 + j] = yb + j * (ym - yb) / 10.0;
  curve.y[12] = ym;
  curve.y[13] = (yu + 2.0 * ym) / 3.0;
  curve.y[14] = (2.0 * yu + ym) / 3.0;
  curve.y[15] = yu;
  curve.y[16] = 1.2 * yu;
}

}  // namespace

void placeParabolicCurve(ParabolicCurve s, SideCurve& curve) {
  if (!std::isfinite(s.yk) || s.yk < 0.0) s.yk = s.ym;
  if (s.yu < s.yk && s.pu > 0.0) {
    s.ym = (s.ym / s.yu) * (s.pu / s.kz);
    s.yk = s.ym / 10.0;
    s.yu = s.pu / s.kz;
  }
  const double yb = (s.yk > s.ym / 5.0 || s.yk > s.ym) ? s.ym / 10.0 : s.yk;
  placeParabolicDeflections(yb, s.ym, s.yu, curve);
  for (int j = 0; j < kCurvePointsPerSide; ++j) {
    curve.p[j] = curve.y[j] < kDeflectionFloor ? 0.0 : parabolicValue(s, curve.y[j]);
  }
}

void placeZeroCurve(double ym, double yu, SideCurve& curve) {
  placeParabolicDeflections(ym / 10.0, ym, yu, curve);
  curve.p.fill(0.0);
}

SideCurve sandCurve(const FrictionalInput& in, FrictionalResistance* out) {
  SideCurve curve;
  FrictionalResistance r;
  const WedgeAngles w = wedgeAngles(in.phi);
  const double z = in.depth;
  const double width = in.continuous ? in.referenceWidth : in.b;
  const double theta = in.excavation ? in.theta : 0.0;
  r.pst = sandWedge(w, in.gamma, z, in.b, theta, w.ka);
  r.psd = sandFlow(w, in.gamma, z, in.b);
  r.ps = std::min(r.pst, r.psd);
  if (in.continuous) {
    // Passive resistance with wall friction phi / 2.
    const double kpc = passiveWithWallFriction(in.phi, in.phi / 2.0, theta);
    r.ps = in.excavation ? in.plainDepth * in.gamma * in.b * kpc : in.b * kpc * in.backfillStress;
  }
  const double x = width > 0.0 ? z / width : 0.0;
  r.a = sandFactorA(x, in.cyclic);
  r.b = sandFactorB(x, in.cyclic);
  ParabolicCurve shape;
  shape.pu = r.a * r.ps;
  shape.pm = r.b * r.ps;
  shape.yu = 3.0 * width / 80.0;
  shape.ym = width / 60.0;
  shape.kz = in.k * z;
  r.pu = shape.pu;
  r.pm = shape.pm;
  r.yu = shape.yu;
  r.ym = shape.ym;
  r.kz = shape.kz;
  if (z > 0.0 && shapeParabolicCurve(shape, false)) {
    r.yk = shape.yk;
    placeParabolicCurve(shape, curve);
  } else {
    placeZeroCurve(shape.ym, shape.yu, curve);
  }
  curve.ultimate = r.pu;
  if (out != nullptr) *out = r;
  return curve;
}

WedgeIntegralTerms wedgeIntegralTerms(double phi) {
  const WedgeAngles w = wedgeAngles(phi);
  const double tanBeta = std::tan(w.beta);
  const double tanAlpha = std::tan(w.alpha);
  const double tanPhi = std::tan(phi);
  WedgeIntegralTerms t;
  t.c1 = w.kp - w.ka;
  t.c2 =
      tanBeta * (w.kp * tanAlpha +
                 w.k0 * (tanPhi * std::sin(w.beta) * (1.0 + 1.0 / std::cos(w.alpha)) - tanAlpha));
  t.cf = w.kp * w.kp * w.kp + w.k0 * tanPhi * w.kp * w.kp - w.ka;
  return t;
}

double sandEquivalentDepth(double resistance, double phi, double gamma, double b, double depth,
                           bool cyclic, double factorWidth) {
  const auto [c1, c2, cf] = wedgeIntegralTerms(phi);
  if (!(c2 > 0.0) || !(b > 0.0) || !(factorWidth > 0.0)) return 0.0;
  // Depth where the wedge and the flow expressions meet.
  const double zs = b * (cf - c1) / c2;
  if (!(zs > 0.0)) return 0.0;
  const double step = zs / 100.0;
  double sum = 0.0;
  for (int i = 1; i <= 100; ++i) {
    const double zi = i * step;
    const double previous = sum;
    sum += (c1 * zi / b + c2 * square(zi / b)) * gamma * b * b * step *
           sandFactorA(zi / factorWidth, cyclic);
    if (sum > resistance) return zi - step * (sum - resistance) / (sum - previous);
  }
  const double flow = 0.88 * cf * gamma * b * depth;
  return flow > 0.0 ? zs + (resistance - sum) / flow : zs;
}

void sandLayer(CurveGeneration& g, int n) {
  CountedLayer& layer = g.soil.layers[static_cast<size_t>(n)];
  const CurveSettings& s = g.settings;
  const double slope = std::fabs(slopeRadians(s.slopeDegrees));
  const double degreesPerRadian = 180.0 / kPiSingle;
  TrapezoidalResistance resistance;
  for (int i = layer.firstCurve; i <= layer.lastCurve; ++i) {
    const double z = g.soil.curveDepths[static_cast<size_t>(i)];
    g.beginCurve(z);
    const double phi = g.strengthAt(z, StrengthColumn::Friction);
    const double gamma = g.averageUnitWeight(z);
    double k = g.strengthAt(z, StrengthColumn::Kpy);
    if (k < 1.0e-14) k = sandDefaultK(phi * degreesPerRadian, gamma, s.unitsFlag, k);
    for (const bool excavation : {true, false}) {
      const CurveSide side = g.side(z, excavation);
      if (g.setsEquivalentDepth(n, i, excavation)) {
        layer.equivalentDepth =
            sandEquivalentDepth(g.resistanceAbove(n), phi, gamma, s.width, z, s.cyclic,
                                s.continuousWall() ? s.referenceWidth : s.width);
      }
      FrictionalInput in;
      setSideInput(g, n, side, in);
      in.phi = phi;
      in.gamma = gamma;
      in.k = k;
      in.theta = excavation && slope > 1.0e-15 ? slope : 0.0;
      FrictionalResistance r;
      const SideCurve curve = sandCurve(in, &r);
      std::vector<HeadingField> fields = {
          {"DEPTH BELOW GS", g.depthUnit(), s.reportDepth(side.depth)},
          {"DIAM", g.lengthUnit(), s.width},
          {"PHI", "DEGREE", phi * degreesPerRadian},
          {"GAMMA AVG", g.weightUnit(), gamma},
          {"KPY", g.weightUnit(), k},
          {"A", "", r.a},
          {"B", "", r.b}};
      if (in.continuous) {
        fields.push_back({"PC ", g.lineLoadUnit(), r.ps});
      } else {
        fields.push_back({"PCT", g.lineLoadUnit(), r.pst});
        fields.push_back({"PCD", g.lineLoadUnit(), r.psd});
      }
      g.writeHeading(excavation, fields);
      g.emitSide(side, curve, PointHeads::Plain);
      if (excavation) {
        resistance.add(layer, i, z, curve.ultimate);
        TrapezoidalResistance::extendToBottom(layer, i, z, curve.ultimate);
      }
    }
  }
}

}  // namespace korden

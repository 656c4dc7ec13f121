// The soil criteria: for each layer type the curve of one side of the wall as a pure function of
// the soil values at the curve, the equivalent depth used when the layer lies below another one,
// and the layer routine that walks the layer's curves, prints them and writes their records.
//
// Units: lengths in inches (English) or metres (SI), stresses in psi or kPa, unit weights in
// lb/in^3 or kN/m^3, p in lb/in or kN/m. Angles in radians unless the name says degrees.
#pragma once

#include "pycurves/curve_generation.h"

namespace korden {

// Layer routines, called by the dispatch on the layer type code.
void softClayLayer(CurveGeneration& g, int layer);
void stiffClayFreeWaterLayer(CurveGeneration& g, int layer);
void stiffClayNoFreeWaterLayer(CurveGeneration& g, int layer);
void sandLayer(CurveGeneration& g, int layer);
void siltLayer(CurveGeneration& g, int layer);
void rockLayer(CurveGeneration& g, int layer);
void weakRockLayer(CurveGeneration& g, int layer);

// The fields of a criterion's input (ClayInput, FrictionalInput) that come from the curve side and
// the case: the depths, the widths, the side, the loading and, on the backfill side of a
// continuous wall, the overburden. Call it after the layer's equivalent depth is set.
template <class Input>
void setSideInput(CurveGeneration& g, int layer, const CurveSide& side, Input& in) {
  const CurveSettings& s = g.settings;
  in.depth = g.resistanceDepth(layer, side.depth);
  in.plainDepth = side.depth;
  in.b = s.width;
  in.referenceWidth = s.referenceWidth;
  in.continuous = s.continuousWall();
  in.excavation = side.excavation;
  if (in.continuous && !side.excavation) in.backfillStress = g.backfillOverburden(side.depth);
  in.cyclic = s.cyclic;
}

// ---- Shared by the clays (clay_common.cpp) ----

// Slope angles of the excavation ground are turned into radians with 57.2958 degrees per radian.
double slopeRadians(double degrees);
// 1 / (1 + tan|beta|), the reduction of the resistance for a sloping excavation ground.
double slopeFactor(double degrees);

// Soil values of a clay curve on one side.
struct ClayInput {
  double c = 0.0;      // cohesion at the curve
  double ca = 0.0;     // average strength (stiff clays)
  double gamma = 0.0;  // average effective unit weight
  double eps50 = 0.0;
  double k = 0.0;           // initial modulus of subgrade reaction (stiff clay with free water)
  double depth = 0.0;       // depth in the criterion's own resistance expressions
  double plainDepth = 0.0;  // the side's own depth (continuous wall, depth factors)
  double b = 0.0;
  double referenceWidth = 0.0;
  bool continuous = false;
  bool excavation = true;
  double slopeFactor = 1.0;     // applied on the excavation side (1 where it does not apply)
  double backfillStress = 0.0;  // overburden at the plain depth, backfill side of a continuous wall
  bool cyclic = false;
  double cycles = 1.0;
};

// Continuous wall: (gamma d + 2c) b times the slope factor on the excavation side,
// (sigma_b(d) + 2c) b on the backfill side.
double continuousClayUltimate(const ClayInput& in);

// ---- Soft clay (soft_clay.cpp) ----

double softClayDefaultE50(double c, int unitsFlag);
double softClayUltimate(const ClayInput& in);
SideCurve softClayCurve(const ClayInput& in);
double softClayEquivalentDepth(double resistance, double c, double gamma, double b, bool cyclic);

// ---- Stiff clays (stiff_clay_no_free_water.cpp, stiff_clay_free_water.cpp) ----

double stiffClayDefaultE50(double c, int unitsFlag);
// Average strength from the layer top to the curve at z, c taken linearly inside the layer (c at
// the curve when it lies less than 1e-5 below the top).
double layerTopMeanStrength(const CountedLayer& layer, double z, double cAtCurve);
double stiffClayNoFreeWaterUltimate(const ClayInput& in);
SideCurve stiffClayNoFreeWaterCurve(const ClayInput& in);
double stiffClayNoFreeWaterEquivalentDepth(double resistance, double c, double gamma, double b);

// Default modulus of subgrade reaction of stiff clay (and the cohesive part of silt) by c.
double stiffClayDefaultK(double c, int unitsFlag, double inputK);
// Empirical factors As and Ac at the depth ratio x = d / b.
double freeWaterFactorAs(double x);
double freeWaterFactorAc(double x);
// Ratio of the residual resistance to pc at x.
double freeWaterResidualRatio(double x, bool cyclic);
double stiffClayFreeWaterUltimate(const ClayInput& in);
SideCurve stiffClayFreeWaterCurve(const ClayInput& in);
double stiffClayFreeWaterEquivalentDepth(double resistance, double c, double gamma, double b,
                                         bool cyclic);

// ---- Sand (sand.cpp); silt shares the frictional part ----

// Angles of the wedge of a soil with friction angle phi (pi held as 3.1416).
struct WedgeAngles {
  double phi = 0.0, alpha = 0.0, beta = 0.0;
  double ka = 0.0, kp = 0.0, k0 = 0.4;
};
WedgeAngles wedgeAngles(double phi);

// Wedge resistance pst at depth z; theta above 1e-15 gives the sloping-ground form; `ka` is the
// active coefficient in the term - Ka b.
double sandWedge(const WedgeAngles& w, double gamma, double z, double b, double theta, double ka);
// Flow resistance psd with the horizontal Ka.
double sandFlow(const WedgeAngles& w, double gamma, double z, double b);
// Passive coefficient with wall friction delta and ground slope theta (continuous wall).
double passiveWithWallFriction(double phi, double delta, double theta);
double sandFactorA(double x, bool cyclic);
double sandFactorB(double x, bool cyclic);
double sandDefaultK(double phiDegrees, double gamma, int unitsFlag, double inputK);

struct FrictionalInput {
  double phi = 0.0;
  double c = 0.0;  // silt only
  double gamma = 0.0;
  double k = 0.0;
  double depth = 0.0;       // depth in the resistance expressions
  double plainDepth = 0.0;  // the side's own depth (continuous wall)
  double b = 0.0;
  double referenceWidth = 0.0;
  bool continuous = false;
  bool excavation = true;
  double theta = 0.0;        // slope of the excavation ground, radians (absolute value)
  double signedSlope = 0.0;  // the same with its sign (silt)
  double backfillStress = 0.0;
  bool cyclic = false;
};

// The resistances of a sand or silt curve, as the heading prints them.
struct FrictionalResistance {
  double pst = 0.0, psd = 0.0, ps = 0.0, pc = 0.0;
  double a = 0.0, b = 0.0;
  double pu = 0.0, pm = 0.0;
  double yu = 0.0, ym = 0.0, yk = 0.0, kz = 0.0;
  int shape = 1;  // silt: 1 parabolic, 2 line meets the straight branch, 3 bilinear
};

// The curve of straight line k z y, parabola C y^(1/n), straight branch from (ym, pm) to (yu, pu)
// and the horizontal pu, limited to k z y. When yu lies below yk the straight line reaches pu
// first: ym, yk and yu are redefined to pu / (k z) and the points placed on that bilinear curve.
struct ParabolicCurve {
  double pu = 0.0, pm = 0.0, yu = 0.0, ym = 0.0, kz = 0.0;
  double m = 0.0;     // slope of the straight branch
  double invN = 0.0;  // 1 / n, the exponent of the parabola
  double c = 0.0;     // coefficient C of the parabola
  double yk = 0.0;    // where the parabola meets k z y
};
// Sets m, 1/n (with |m| when `absoluteSlope`), C and yk from pu, pm, yu, ym and kz. False when
// the curve is degenerate (no resistance at ym or no initial slope).
bool shapeParabolicCurve(ParabolicCurve& shape, bool absoluteSlope);
// Places the 17 points of the curve (yk is taken as ym where it is not a finite positive value).
void placeParabolicCurve(ParabolicCurve shape, SideCurve& curve);
// A curve without resistance: the points of the parabolic list at p = 0.
void placeZeroCurve(double ym, double yu, SideCurve& curve);

SideCurve sandCurve(const FrictionalInput& in, FrictionalResistance* out = nullptr);
// Coefficients of the frictional resistance per unit depth in the equivalent depth of sand and
// silt: the wedge (c1 z / b + c2 (z / b)^2) gamma b^2 and the flow cf gamma b z.
struct WedgeIntegralTerms {
  double c1 = 0.0, c2 = 0.0, cf = 0.0;
};
WedgeIntegralTerms wedgeIntegralTerms(double phi);
double sandEquivalentDepth(double resistance, double phi, double gamma, double b, double depth,
                           bool cyclic, double factorWidth);

// ---- Silt (silt.cpp) ----

double siltDefaultK(double c, double phiDegrees, double gamma, int unitsFlag, double inputK);
// Active coefficient of the silt wedge: horizontal, or with the slope theta above 1e-10.
double siltActiveCoefficient(double phi, double theta);
SideCurve siltCurve(const FrictionalInput& in, FrictionalResistance* out = nullptr);
double siltEquivalentDepth(double resistance, double c, double phi, double gamma, double b,
                           double depth, bool cyclic);

// ---- Rock (rock.cpp, weak_rock.cpp) ----

// su = C / 2; p-multiplier applied on the rising branches; residual 0.5 gamma b dr.
SideCurve rockCurve(double su, double gamma, double b, double residualDepth, double pMultiplier);

struct WeakRockInput {
  double qa = 0.0;   // mean compressive strength from the layer top to the curve
  double rqd = 0.0;  // percent
  double xr = 0.0;   // depth into rock
  double b = 0.0;
  double krm = 0.0;  // strain factor
  double eir = 0.0;  // initial rock modulus
};
struct WeakRockResistance {
  double pur = 0.0, mir = 0.0, yrm = 0.0, ya = 0.0;
};
SideCurve weakRockCurve(const WeakRockInput& in, WeakRockResistance* out = nullptr);

}  // namespace korden

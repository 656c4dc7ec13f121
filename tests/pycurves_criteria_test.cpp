// The soil criteria against hand calculations of the published expressions (English units:
// inches, pounds, psi, lb/in^3). The expected values were worked out by hand and with a calculator
// from the formulas, not from this code.
#include <gtest/gtest.h>

#include <cmath>

#include "pycurves/criteria.h"

namespace korden {
namespace {

constexpr double kRel = 1.0e-6;

void expectNear(double actual, double expected, double rel = kRel) {
  EXPECT_NEAR(actual, expected, std::fabs(expected) * rel + 1.0e-9);
}

// Soft clay, c = 5 psi, gamma' = 0.04 pci, b = 24 in, 60 in deep.
ClayInput softClayAt60() {
  ClayInput in;
  in.c = 5.0;
  in.gamma = 0.04;
  in.eps50 = softClayDefaultE50(5.0, 1);
  in.depth = 60.0;
  in.plainDepth = 60.0;
  in.b = 24.0;
  in.referenceWidth = 12.0;
  return in;
}

TEST(PyCurvesSoftClay, UltimateResistanceAndStaticShape) {
  ClayInput in = softClayAt60();
  // E50 = 0 with c = 5 psi takes 0.01 from the default table.
  EXPECT_DOUBLE_EQ(in.eps50, 0.01);
  // Np = 3 + 0.04 * 60 / 5 + 0.5 * 60 / 24 = 4.73; pu = 4.73 * 5 * 24.
  expectNear(softClayUltimate(in), 567.6);
  const SideCurve curve = softClayCurve(in);
  // y50 = 2.5 * 0.01 * 24 = 0.6 in; the points are multiples of 8 y50 = 4.8 in.
  expectNear(curve.y[7], 0.48);
  expectNear(curve.p[7], 263.4565822);  // 0.5 pu (0.8)^(1/3)
  expectNear(curve.y[15], 4.8);
  expectNear(curve.p[15], 567.6);  // 8 y50 reaches pu
  expectNear(curve.p[16], 567.6);
  EXPECT_EQ(curve.p[0], 0.0);
  expectNear(curve.ultimate, 567.6);
  // Deep: Np reaches 9, pu = 9 c b.
  in.depth = 600.0;
  expectNear(softClayUltimate(in), 1080.0);
  // No strength, no resistance.
  in.c = 0.0;
  EXPECT_EQ(softClayUltimate(in), 0.0);
}

TEST(PyCurvesSoftClay, CyclicDegradesBelowTheTransitionDepth) {
  ClayInput in = softClayAt60();
  in.cyclic = true;
  const SideCurve curve = softClayCurve(in);
  // Up to 3 y50 the static expression: y = 0.72 in = 1.2 y50.
  expectNear(curve.p[8], 301.5825019);
  // zr = 6 c b / (gamma b + 0.5 c) = 208.09 in; 60 in lies above: from 0.72 pu at 3 y50 down to
  // 0.72 pu z / zr = 117.834 at 15 y50. y = 1.92 in = 3.2 y50 and 5.76 in = 9.6 y50.
  expectNear(curve.p[11], 403.824696);
  expectNear(curve.p[16], 248.710968);
  expectNear(curve.ultimate, 117.83376);
  // Below zr the curve stays at 0.72 pu.
  in.depth = 300.0;
  const double pu = softClayUltimate(in);
  EXPECT_DOUBLE_EQ(softClayCurve(in).p[16], 0.72 * pu);
}

TEST(PyCurvesSoftClay, ContinuousWallAndSlopingGround) {
  ClayInput in = softClayAt60();
  in.continuous = true;
  // (gamma d + 2 c) b = (2.4 + 10) * 24; y50 on the 12 in reference width.
  expectNear(softClayUltimate(in), 297.6);
  const SideCurve curve = softClayCurve(in);
  expectNear(curve.y[15], 8.0 * 2.5 * 0.01 * 12.0);
  // Backfill side: the overburden from the input layers replaces gamma d.
  in.excavation = false;
  in.backfillStress = 10.0;
  expectNear(softClayUltimate(in), (10.0 + 10.0) * 24.0);
  // A 20 degree excavation slope divides Np by 1 + tan(20 deg).
  ClayInput sloped = softClayAt60();
  sloped.slopeFactor = slopeFactor(20.0);
  expectNear(softClayUltimate(sloped), 416.1381565);
}

TEST(PyCurvesSoftClay, EquivalentDepthInvertsTheResistanceIntegral) {
  // Integral of pu from the surface: (a2 z + a1) z, a1 = 3 c b = 360, a2 = 0.5 gamma b + 0.25 c
  // = 1.73.
  expectNear(softClayEquivalentDepth(22325.0, 5.0, 0.04, 24.0, false), 50.0);
  // Beyond zr = 208.09 in the resistance grows by 9 c b per inch.
  expectNear(softClayEquivalentDepth(149826.5896 + 1080.0 * 100.0, 5.0, 0.04, 24.0, false),
             308.0924855, 1.0e-6);
  EXPECT_NEAR(softClayEquivalentDepth(0.0, 5.0, 0.04, 24.0, false), 0.0, 1e-12);
}

TEST(PyCurvesDefaults, StrainAndModulusTables) {
  EXPECT_DOUBLE_EQ(softClayDefaultE50(3.0, 1), 0.02);
  EXPECT_DOUBLE_EQ(softClayDefaultE50(20.0, 1), 0.005);
  EXPECT_DOUBLE_EQ(softClayDefaultE50(30.0, 2), 0.01);
  EXPECT_DOUBLE_EQ(softClayDefaultE50(1.0, 3), 0.004);
  // The stiff clays have no threshold at 3.4722 psi.
  EXPECT_DOUBLE_EQ(stiffClayDefaultE50(3.0, 1), 0.011);
  EXPECT_DOUBLE_EQ(stiffClayDefaultE50(5.0, 1), 0.011);
  EXPECT_DOUBLE_EQ(stiffClayDefaultE50(10.0, 1), 0.007);
  EXPECT_DOUBLE_EQ(stiffClayDefaultE50(200.0, 2), 0.004);
  EXPECT_DOUBLE_EQ(stiffClayDefaultK(10.0, 1, 0.0), 500.0);
  EXPECT_DOUBLE_EQ(stiffClayDefaultK(100.0, 2, 0.0), 271447.125);
  // Sand, phi 35 degrees, not submerged: (0.4168 * 35 - 8.1254) * 35 - 83.664.
  expectNear(sandDefaultK(35.0, 0.05, 1, 0.0), 142.527);
  expectNear(sandDefaultK(35.0, 14.0, 2, 0.0), 142.527 * 271.4471);
  expectNear(sandDefaultK(20.0, 0.04, 1, 0.0), 10.20673 * 20.0 / 27.6423);
  EXPECT_DOUBLE_EQ(sandDefaultK(50.0, 0.04, 1, 0.0), 228.7656);
  EXPECT_DOUBLE_EQ(sandDefaultK(35.0, 0.05, 3, 77.0), 77.0);
  // Silt: cohesive part by c plus frictional part by phi and submergence.
  EXPECT_DOUBLE_EQ(siltDefaultK(10.0, 33.0, 0.06, 1, 0.0), 500.0 + 90.0);
  EXPECT_DOUBLE_EQ(siltDefaultK(1.0, 40.0, 0.04, 1, 0.0), 250.0 + 125.0);
}

ClayInput stiffClayAt60() {
  ClayInput in;
  in.c = 10.0;
  in.ca = 10.0;
  in.gamma = 0.04;
  in.eps50 = stiffClayDefaultE50(10.0, 1);
  in.depth = 60.0;
  in.plainDepth = 60.0;
  in.b = 24.0;
  in.referenceWidth = 12.0;
  return in;
}

TEST(PyCurvesStiffClayNoFreeWater, UltimateAndPoints) {
  ClayInput in = stiffClayAt60();
  // (3 b + 0.5 z) ca + gamma b z = 102 * 10 + 57.6, below 9 c b = 2160.
  expectNear(stiffClayNoFreeWaterUltimate(in), 1077.6);
  const SideCurve curve = stiffClayNoFreeWaterCurve(in);
  const double y50 = 2.5 * 0.007 * 24.0;  // 0.42 in
  expectNear(curve.y[13], 8.0 * y50);
  expectNear(curve.p[13], 906.1499771);  // 0.5 pu 8^0.25
  expectNear(curve.p[14], 1077.6);       // 16 y50 reaches pu
  expectNear(curve.y[15], 18.0 * y50);   // static: 18 and 20 y50
  expectNear(curve.y[16], 20.0 * y50);
  in.depth = 3000.0;
  expectNear(stiffClayNoFreeWaterUltimate(in), 2160.0);
}

TEST(PyCurvesStiffClayNoFreeWater, CyclicStretchesTheDeflection) {
  ClayInput in = stiffClayAt60();
  in.cyclic = true;
  in.cycles = 100.0;
  const SideCurve curve = stiffClayNoFreeWaterCurve(in);
  // 0.5 pu (8 / (1 + 0.6 log10 100))^0.25 at 8 y50; Yend = 1.25 y50 (16 + 9.6 * 2).
  expectNear(curve.p[13], 744.0367955);
  expectNear(curve.y[16], 18.48);
  // Stiff clay, equivalent depth: the same quadratic as the soft clay below zt.
  expectNear(stiffClayNoFreeWaterEquivalentDepth(
                 (0.5 * 0.04 * 24.0 + 2.5) * 10.0 * 10.0 + 720.0 * 10.0, 10.0, 0.04, 24.0),
             10.0);
}

TEST(PyCurvesStiffClayFreeWater, StaticCurveAgainstHandValues) {
  ClayInput in = stiffClayAt60();
  in.depth = in.plainDepth = 48.0;  // x = d / b = 2: As = 0.55, Ac = 0.30
  in.k = 500.0;
  EXPECT_DOUBLE_EQ(freeWaterFactorAs(2.0), 0.55);
  EXPECT_DOUBLE_EQ(freeWaterFactorAc(2.0), 0.30);
  expectNear(freeWaterFactorAs(0.5), 0.3415);
  EXPECT_DOUBLE_EQ(freeWaterFactorAs(9.0), 0.60);
  // Wedge 2 ca b + gamma b z + 2.83 ca z = 1884.48 below the flow 11 c b = 2640.
  expectNear(stiffClayFreeWaterUltimate(in), 1884.48);
  const SideCurve curve = stiffClayFreeWaterCurve(in);
  const double y50 = 0.007 * 24.0;  // no factor 2.5
  expectNear(curve.y[2], 0.55 * y50);
  expectNear(curve.p[2], 698.7838862);  // 0.5 pc (A)^0.5 at y = A y50
  expectNear(curve.y[16], 150.0 * 0.55 * y50);
  expectNear(curve.p[16], 159.7946818);  // residual 0.5 pc (6 As)^0.5 - 0.75 As pc - 0.411 pc
  // The residual ratio of the accumulated resistance rounds 0.5 sqrt(6) to 1.225.
  expectNear(freeWaterResidualRatio(2.0, false), 1.225 * std::sqrt(0.55) - 0.411 - 0.75 * 0.55);
  // A small k: every point lies on k z y or below it.
  in.k = 10.0;
  const SideCurve soft = stiffClayFreeWaterCurve(in);
  expectNear(soft.p[1], 10.0 * 48.0 * 0.5 * 0.55 * y50);
  for (int j = 0; j < kCurvePointsPerSide; ++j)
    EXPECT_LE(soft.p[j], 10.0 * 48.0 * soft.y[j] + 1e-9);
}

TEST(PyCurvesStiffClayFreeWater, CyclicCurve) {
  ClayInput in = stiffClayAt60();
  in.depth = in.plainDepth = 48.0;
  in.k = 1.0e6;
  in.cyclic = true;
  const SideCurve curve = stiffClayFreeWaterCurve(in);
  const double yp = 4.1 * 0.55 * 0.007 * 24.0;  // 0.37884 in
  expectNear(curve.y[9], 0.45 * yp);
  expectNear(curve.p[9], 0.30 * 1884.48);  // the peak Ac pc at 0.45 yp
  expectNear(curve.y[16], 20.0 * yp);
  expectNear(curve.p[16], 95.7127392);  // 0.936 Ac pc - (0.102 / y50) pc yp
}

// Sand, phi 35 degrees, gamma' 0.04 pci, b 24 in, 60 in deep (x = 2.5: A = 1.23, B = 0.86).
FrictionalInput sandAt60() {
  FrictionalInput in;
  in.phi = 35.0 * 3.1415998935699463 / 180.0;
  in.gamma = 0.04;
  in.k = 142.527;
  in.depth = 60.0;
  in.plainDepth = 60.0;
  in.b = 24.0;
  in.referenceWidth = 12.0;
  return in;
}

TEST(PyCurvesSand, WedgeAndFlowResistance) {
  const FrictionalInput in = sandAt60();
  const WedgeAngles w = wedgeAngles(in.phi);
  expectNear(w.ka, 0.2709915178);
  expectNear(w.kp, 3.690217631);
  expectNear(sandWedge(w, 0.04, 60.0, 24.0, 0.0, w.ka), 624.6944092);
  expectNear(sandFlow(w, 0.04, 60.0, 24.0), 3098.666639);
  // At 600 in the flow governs.
  expectNear(sandWedge(w, 0.04, 600.0, 24.0, 0.0, w.ka), 44744.34183);
  expectNear(sandFlow(w, 0.04, 600.0, 24.0), 30986.66639);
  // Sloping excavation ground of 10 degrees.
  expectNear(sandWedge(w, 0.04, 60.0, 24.0, 10.0 / 57.2958, w.ka), 415.1711204);
  FrictionalResistance r;
  sandCurve(in, &r);
  expectNear(r.ps, 624.6944092);
  EXPECT_DOUBLE_EQ(r.a, 1.23);
  EXPECT_DOUBLE_EQ(r.b, 0.86);
  expectNear(r.pu, 1.23 * 624.6944092);
}

TEST(PyCurvesSand, CurvePointsOnTheFourBranches) {
  const SideCurve curve = sandCurve(sandAt60());
  // ym = b / 60 = 0.4, yu = 3 b / 80 = 0.9; the parabola meets k z y at yk = 0.023779 in, below
  // ym / 5, so the base deflection is yk.
  expectNear(curve.y[2], 0.02377883118);
  expectNear(curve.p[1], 101.6737642);  // k z y at yk / 2
  expectNear(curve.y[7], 0.2118894156);
  expectNear(curve.p[7], 431.705598);  // C y^(1/n) on the parabola
  expectNear(curve.y[12], 0.4);
  expectNear(curve.p[12], 0.86 * 624.6944092);  // pm at ym
  expectNear(curve.p[13], 614.2828357);         // straight branch
  expectNear(curve.y[15], 0.9);
  expectNear(curve.p[15], 1.23 * 624.6944092);  // pu at yu
  expectNear(curve.y[16], 1.08);
  for (int j = 1; j < kCurvePointsPerSide; ++j) EXPECT_GE(curve.y[j], curve.y[j - 1]);
}

TEST(PyCurvesSand, SoftInitialSlopeMovesTheBaseAndRedefinesTheDeflections) {
  FrictionalInput in = sandAt60();
  // k = 35 pci: the parabola meets k z y beyond ym / 5; the base deflection becomes ym / 10.
  in.k = 35.0;
  FrictionalResistance r;
  const SideCurve soft = sandCurve(in, &r);
  EXPECT_GT(r.yk, 0.4 / 5.0);
  EXPECT_LT(r.yk, 0.9);
  expectNear(soft.y[2], 0.04);
  // k = 0.5 pci: yk lies beyond yu; yu becomes pu / (k z), ym scales with it, and the points lie
  // on k z y up to pu.
  in.k = 0.5;
  const SideCurve line = sandCurve(in, &r);
  const double kz = 0.5 * 60.0;
  EXPECT_GT(r.yk, 0.9);
  expectNear(line.y[15], r.pu / kz);
  expectNear(line.y[12], 0.4 * (r.pu / kz) / 0.9);
  expectNear(line.p[15], r.pu);
  expectNear(line.p[16], r.pu);
  for (int j = 1; j < 15; ++j) expectNear(line.p[j], kz * line.y[j]);
}

TEST(PyCurvesSand, FactorsAndContinuousWall) {
  EXPECT_DOUBLE_EQ(sandFactorA(8.0, false), 0.88);
  EXPECT_DOUBLE_EQ(sandFactorB(8.0, false), 0.50);
  EXPECT_DOUBLE_EQ(sandFactorB(8.0, true), 0.55);
  expectNear(sandFactorA(0.25, true), 0.84);
  expectNear(sandFactorA(3.5, false), 0.98);
  FrictionalInput in = sandAt60();
  in.continuous = true;
  FrictionalResistance r;
  sandCurve(in, &r);
  // Passive coefficient with wall friction phi / 2: ps = d gamma b Kpc.
  expectNear(passiveWithWallFriction(in.phi, in.phi / 2.0, 0.0), 7.356744175);
  expectNear(r.ps, 423.7484645);
  // A and B at z over the 12 in reference width: x = 5.
  EXPECT_DOUBLE_EQ(r.a, 0.88);
  expectNear(r.yu, 3.0 * 12.0 / 80.0);
}

TEST(PyCurvesSand, EquivalentDepthMatchesTheResistanceOfTheLayerAbove) {
  const double phi = 35.0 * 3.1415998935699463 / 180.0;
  EXPECT_NEAR(sandEquivalentDepth(0.0, phi, 0.04, 24.0, 10.0, false, 24.0), 0.0, 1e-9);
  // The resistance of the same sand down to 30 in: the equivalent depth comes back to 30 in within
  // one of the 100 marching steps (the wedge meets the flow at zs = 408 in, a step of 4.08 in).
  const WedgeAngles w = wedgeAngles(phi);
  double integral = 0.0;
  const int steps = 4000;
  for (int i = 0; i < steps; ++i) {
    const double z = (i + 0.5) * 30.0 / steps;
    integral +=
        sandFactorA(z / 24.0, false) * sandWedge(w, 0.04, z, 24.0, 0.0, w.ka) * 30.0 / steps;
  }
  EXPECT_NEAR(sandEquivalentDepth(integral, phi, 0.04, 24.0, 10.0, false, 24.0), 30.0, 4.1);
}

TEST(PyCurvesSilt, WithoutCohesionItIsTheSandCurve) {
  FrictionalInput in = sandAt60();
  in.c = 0.0;
  const SideCurve sand = sandCurve(in);
  FrictionalResistance r;
  const SideCurve silt = siltCurve(in, &r);
  EXPECT_EQ(r.shape, 1);
  EXPECT_EQ(r.pc, 0.0);
  for (int j = 0; j < kCurvePointsPerSide; ++j) {
    expectNear(silt.y[j], sand.y[j]);
    expectNear(silt.p[j], sand.p[j]);
  }
}

TEST(PyCurvesSilt, CohesivePartAndShapes) {
  FrictionalInput in = sandAt60();
  in.c = 2.0;
  FrictionalResistance r;
  siltCurve(in, &r);
  // Np = 3 + 0.04 * 60 / 2 + 0.5 * 60 / 24 = 5.45; pc = Np c b.
  expectNear(r.pc, 5.45 * 2.0 * 24.0);
  expectNear(r.pm, 0.86 * r.ps + r.pc);
  expectNear(r.pu, 1.23 * r.ps);
  // A soft initial slope reaching pu beyond yu: bilinear, points at twelfths of pu / (k z).
  in.c = 0.0;
  in.k = 0.01;
  const SideCurve bilinear = siltCurve(in, &r);
  EXPECT_EQ(r.shape, 3);
  const double yc = r.pu / (0.01 * 60.0);
  expectNear(bilinear.y[6], yc / 2.0);
  expectNear(bilinear.p[6], r.pu / 2.0);
  expectNear(bilinear.y[16], 1.2 * yc);
  expectNear(bilinear.p[16], r.pu);
  // Large cohesion and little friction: pm above pu, the line meets the falling branch.
  in.phi = 10.0 * 3.1415998935699463 / 180.0;
  in.c = 10.0;
  in.k = 20.0;
  in.depth = in.plainDepth = 6.0;
  const SideCurve falling = siltCurve(in, &r);
  EXPECT_GT(r.pm, r.pu);
  EXPECT_EQ(r.shape, 2);
  EXPECT_DOUBLE_EQ(falling.y[7], falling.y[8]);  // yi occurs twice
  const double yi = falling.y[8];
  expectNear(falling.p[8], 20.0 * 6.0 * yi);
  expectNear(falling.p[14], r.pu);
}

TEST(PyCurvesStiffClay, DepthFactorsOfAnyDepthRatio) {
  // As: 0.55 at 2 and 0.59 at 3; beyond x = 5 the last segment (0.60 to 0.60) goes on flat, as
  // does Ac beyond 3 (0.30). A huge ratio is no index.
  EXPECT_NEAR(freeWaterFactorAs(2.5), 0.57, 1e-15);
  EXPECT_DOUBLE_EQ(freeWaterFactorAs(7.5), 0.60);
  EXPECT_DOUBLE_EQ(freeWaterFactorAs(1.0e300), 0.60);
  EXPECT_DOUBLE_EQ(freeWaterFactorAc(1.0e300), 0.30);
  EXPECT_DOUBLE_EQ(freeWaterFactorAs(-1.0), 0.223);
  EXPECT_TRUE(std::isnan(freeWaterFactorAs(std::nan(""))));
}

TEST(PyCurvesRock, BranchesAndResidual) {
  // su = 1000 psi, b = 24 in: y1 = 0.0096 in, y2 = 0.0024 b = 0.0576 in.
  const SideCurve curve = rockCurve(1000.0, 0.08, 24.0, 100.0, 0.5);
  expectNear(curve.y[16], 16.0 * 0.0576 / 15.0);
  expectNear(curve.p[2], 0.5 * 2.0e6 * 2.0 * 0.0576 / 15.0);
  expectNear(curve.p[10],
             0.5 * (2.0e6 * 0.0096 + 100.0 * 1000.0 * (10.0 * 0.0576 / 15.0 - 0.0096)));
  // Point 16 lies at y2: the residual 0.5 gamma b dr, not multiplied.
  expectNear(curve.y[15], 0.0576);
  expectNear(curve.p[15], 0.5 * 0.08 * 24.0 * 100.0);
  EXPECT_TRUE(curve.pMultiplied);
}

TEST(PyCurvesRock, PointSixteenIsResidualAtEveryWidth) {
  // y2 = 0.0024 b; at these widths 15 (y2 / 15) rounds below y2, yet point 16 is the residual
  // 0.5 gamma b dr, and point 15 still lies on the second branch p1 + 100 su (y - y1).
  for (const double b : {1.47, 1.83, 31.5, 24.0, 0.6}) {
    const double su = 2500.0, gamma = 0.05, depth = 7.0;
    const SideCurve curve = rockCurve(su, gamma, b, depth, 1.0);
    const double y1 = 0.0004 * b;
    const double y2 = 0.0024 * b;
    expectNear(curve.y[15], y2);
    EXPECT_DOUBLE_EQ(curve.p[15], 0.5 * gamma * b * depth) << "b = " << b;
    EXPECT_DOUBLE_EQ(curve.p[16], 0.5 * gamma * b * depth) << "b = " << b;
    expectNear(curve.p[14], 2000.0 * su * y1 + 100.0 * su * (14.0 * y2 / 15.0 - y1));
  }
}

TEST(PyCurvesWeakRock, CurveAgainstHandValues) {
  WeakRockInput in;
  in.qa = 500.0;
  in.rqd = 0.0;
  in.xr = 24.0;
  in.b = 24.0;
  in.krm = 0.0005;
  in.eir = 50000.0;
  WeakRockResistance r;
  const SideCurve curve = weakRockCurve(in, &r);
  expectNear(r.pur, 28800.0);      // alpha_r qa (b + 1.4 xr), alpha_r = 1
  expectNear(r.mir, 11666666.67);  // (100 + 400 xr / 3b) Eir
  expectNear(r.ya, 0.0005784175575, 1e-5);
  expectNear(curve.p[6], 5600.0);       // below yA: Mir y
  expectNear(curve.p[7], 7126.894086);  // (pur / 2) (y / yrm)^0.25
  expectNear(curve.p[13], 14400.0);     // pur / 2 at yrm
  // xr = 3 b: both branches agree, 5.2 alpha_r qa b and 500 Eir.
  in.xr = 72.0;
  weakRockCurve(in, &r);
  expectNear(r.pur, 62400.0);
  expectNear(r.mir, 500.0 * 50000.0);
  in.xr = 100.0;
  weakRockCurve(in, &r);
  expectNear(r.pur, 62400.0);
  // RQD 100 reduces the strength to one third.
  in.rqd = 100.0;
  weakRockCurve(in, &r);
  expectNear(r.pur, 62400.0 / 3.0);
}

}  // namespace
}  // namespace korden

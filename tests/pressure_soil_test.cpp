// Soil profile, coefficients, overburden, surcharges and layer forces of the earth-pressure
// generation, checked against hand calculations of soil mechanics.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "pressure/earth_pressure.h"
#include "pressure_test_support.h"
#include "report/report_text.h"
#include "test_support.h"

namespace korden {
namespace {

using testing::englishState;
using testing::kSandWeight;
using testing::setLayer;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// A report file the test can read back.
struct Capture {
  std::filesystem::path dir = testing::makeTempDir("pressure-soil");
  OutputFile report, aux;
  Capture() {
    report.open((dir / "report.txt").string());
    aux.open((dir / "aux.txt").string());
  }
  ~Capture() { std::filesystem::remove_all(dir); }
  std::vector<std::string> reportLines() {
    report.flush();
    return testing::splitLines(testing::readFile(dir / "report.txt"));
  }
  std::vector<std::string> auxLines() {
    aux.flush();
    return testing::splitLines(testing::readFile(dir / "aux.txt"));
  }
};

// ---- Split of the soil profile ----

std::vector<double> tops(const EarthPressureData& ep) {
  std::vector<double> t;
  for (const auto& l : ep.layers) t.push_back(l.ztop);
  return t;
}

TEST(PressureSoilProfile, ExcavationAndWaterTableAtOneDepthMakeOneSplit) {
  auto s = englishState();
  s->soil.wall.waterBackfill = 240.0 + 0.5e-5;
  const ProfileSplit split = splitSoilProfile(*s);
  const EarthPressureData& ep = s->pressure;
  ASSERT_TRUE(split.excavationFound);
  EXPECT_EQ(tops(ep), (std::vector<double>{0.0, 240.0}));
  EXPECT_EQ(ep.excavationLayer, 1);
  EXPECT_EQ(ep.waterTableLayer, 1);
  EXPECT_FALSE(ep.layers[0].belowWater);
  EXPECT_TRUE(ep.layers[1].belowWater);
  EXPECT_DOUBLE_EQ(ep.layers[0].thickness + ep.layers[1].thickness, 360.0);
}

TEST(PressureSoilProfile, LayerBoundaryAtTheExcavationAddsNoLayer) {
  auto s = englishState();
  s->soil.layers[0].xBottom = 240.0;
  setLayer(*s, 1, 3, 240.0, 360.0, kSandWeight, 10.0, 0.0);
  splitSoilProfile(*s);
  EXPECT_EQ(tops(s->pressure), (std::vector<double>{0.0, 240.0}));
  EXPECT_EQ(s->pressure.excavationLayer, 1);
  EXPECT_EQ(s->pressure.layers[1].soilType, 3);
  EXPECT_FALSE(s->pressure.layers[1].drained);  // clay without an optional coefficient
  EXPECT_TRUE(s->pressure.layers[0].drained);
}

TEST(PressureSoilProfile, LayerCutTwiceGivesThreeEqualLayers) {
  auto s = englishState();
  s->soil.wall.waterBackfill = 120.0;  // water table above the excavation level
  splitSoilProfile(*s);
  const EarthPressureData& ep = s->pressure;
  ASSERT_EQ(ep.layers.size(), 3u);
  EXPECT_EQ(tops(ep), (std::vector<double>{0.0, 120.0, 240.0}));
  EXPECT_DOUBLE_EQ(ep.layers[2].thickness, 120.0);
  for (const auto& l : ep.layers) {
    EXPECT_EQ(l.soilType, 4);
    EXPECT_DOUBLE_EQ(l.phi, 30.0);
    EXPECT_DOUBLE_EQ(l.unitWeight, kSandWeight);
    EXPECT_DOUBLE_EQ(l.modification, 1.0);
  }
  EXPECT_EQ(ep.waterTableLayer, 1);
  EXPECT_EQ(ep.excavationLayer, 2);
  EXPECT_FALSE(ep.layers[0].belowWater);
  EXPECT_TRUE(ep.layers[1].belowWater);
}

TEST(PressureSoilProfile, WaterTableAtOrAboveTheGroundPutsEveryLayerUnderWater) {
  for (double water : {0.0, -24.0}) {
    auto s = englishState();
    s->soil.wall.waterBackfill = water;
    splitSoilProfile(*s);
    const EarthPressureData& ep = s->pressure;
    ASSERT_EQ(ep.layers.size(), 2u) << water;
    for (const auto& l : ep.layers) {
      EXPECT_GT(l.thickness, 0.0) << water;
      EXPECT_TRUE(l.belowWater) << water;
    }
    EXPECT_EQ(ep.waterTableLayer, 0) << water;
    // Only the split is taken at the ground; the water pressures keep the real water table.
    EXPECT_DOUBLE_EQ(ep.waterTable, water) << water;
  }
}

TEST(PressureSoilProfile, SoilEndingAboveTheTipIsCarriedToTheTip) {
  auto s = englishState();
  s->soil.layers[0].xBottom = 300.0;  // the wall is 360 in long
  ASSERT_TRUE(splitSoilProfile(*s).excavationFound);
  const EarthPressureData& ep = s->pressure;
  EXPECT_DOUBLE_EQ(ep.layers.back().ztop + ep.layers.back().thickness, 360.0);
  // Count: top row + 240 points + 120 points to the tip.
  EXPECT_EQ(pressureRowCount(*s), 361);
  // Excavation at the bottom of the described soil: the last layer goes on below it to the tip.
  s->soil.wall.freeHeight = 300.0;
  ASSERT_TRUE(splitSoilProfile(*s).excavationFound);
  EXPECT_EQ(tops(ep), (std::vector<double>{0.0, 300.0}));
  EXPECT_DOUBLE_EQ(ep.layers[1].thickness, 60.0);
  EXPECT_EQ(ep.excavationLayer, 1);
  // Below the described soil the excavation level has no soil under it.
  s->soil.wall.freeHeight = 300.0 + 2.0e-5;
  EXPECT_FALSE(splitSoilProfile(*s).excavationFound);
}

TEST(PressureSoilProfile, ExcavationBelowTheSoilIsNotFound) {
  auto s = englishState();
  s->soil.wall.freeHeight = 400.0;
  EXPECT_FALSE(splitSoilProfile(*s).excavationFound);
}

TEST(PressureSoilProfile, TenLayersCutTwiceStayWithinTheCapacity) {
  auto s = englishState();
  for (int i = 0; i < 10; ++i) setLayer(*s, i, 4, 36.0 * i, 36.0 * (i + 1), kSandWeight, 0, 30);
  s->soil.wall.waterBackfill = 100.0;
  const ProfileSplit split = splitSoilProfile(*s);
  EXPECT_FALSE(split.tooManyLayers);
  EXPECT_TRUE(split.excavationFound);
  EXPECT_EQ(s->pressure.layers.size(), 12u);
}

TEST(PressureSoilProfile, RockTakesNoOptionalCoefficient) {
  auto s = englishState();
  s->soil.layers[0].xBottom = 240.0;
  setLayer(*s, 1, 6, 240.0, 360.0, 0.09, 500.0, 0.0, 0.7);
  splitSoilProfile(*s);
  EXPECT_DOUBLE_EQ(s->pressure.layers[1].optionalCoefficient, 0.0);
  EXPECT_TRUE(s->pressure.layers[1].drained);  // type 6 counts as drained by its type code
}

// ---- Overburden ----

TEST(PressureOverburden, TotalWeightLessWaterBelowTheWaterTable) {
  auto s = englishState();
  s->soil.surface.uniformPressure = 1.0;  // psi
  s->soil.wall.waterBackfill = 60.0;
  splitSoilProfile(*s);
  computeOverburden(s->pressure);
  const EarthPressureData& ep = s->pressure;
  ASSERT_EQ(ep.layers.size(), 3u);
  EXPECT_DOUBLE_EQ(ep.layers[0].overburden, 1.0);
  EXPECT_NEAR(ep.layers[1].overburden, 1.0 + 60.0 * kSandWeight, 1e-12);
  // At 20 ft: q + gamma 240 - gamma_w 180.
  EXPECT_NEAR(ep.layers[2].overburden, 1.0 + 240.0 * kSandWeight - 180.0 * 0.036, 1e-12);

  Capture c;
  s->labels = unitLabelsFor(1);
  writeOverburden(c.report, *s);
  const auto lines = c.reportLines();
  EXPECT_TRUE(testing::hasLine(lines, "      *            EFFECTIVE OVERBURDEN STRESS         *"));
  EXPECT_TRUE(testing::hasLine(
      lines, std::string(12, ' ') + " 2.000E+01" + std::string(17, ' ') + " 1.119E+01"));
}

// ---- Coefficients ----

TEST(PressureCoefficients, RankineSlopingOptionalAndWarning) {
  auto s = englishState();
  // Layers: sand phi 30, sand phi 15 (above the excavation), clay with an optional coefficient.
  s->soil.layers[0].xBottom = 120.0;
  setLayer(*s, 1, 4, 120.0, 240.0, kSandWeight, 0.0, 15.0);
  setLayer(*s, 2, 3, 240.0, 360.0, kSandWeight, 8.0, 0.0, 0.4);
  splitSoilProfile(*s);

  Capture level;
  computeCoefficients(*s, level.report, level.aux);
  const auto& l = s->pressure.layers;
  EXPECT_NEAR(l[0].ka, 1.0 / 3.0, 2e-6);  // tan^2(30)
  EXPECT_NEAR(l[0].kp, 3.0, 2e-5);        // tan^2(60)
  EXPECT_NEAR(l[0].k0, 0.5, 1e-6);        // 1 - sin 30
  EXPECT_NEAR(l[0].rootKa, std::sqrt(1.0 / 3.0), 2e-6);
  EXPECT_DOUBLE_EQ(l[2].ka, 0.4);      // the optional coefficient replaces Ka ...
  EXPECT_DOUBLE_EQ(l[2].rootKa, 0.0);  // ... and removes the cohesion term
  const auto lines = level.reportLines();
  // The printed row keeps the computed Ka (phi 0: Ka = Kp = 1).
  EXPECT_TRUE(testing::hasLine(lines, std::string(10, ' ') + " 3" + std::string(9, ' ') +
                                          " 1.000E+00" + std::string(8, ' ') + " 1.000E+00" +
                                          std::string(8, ' ') + " 4.000E-01"));
  EXPECT_TRUE(testing::hasLine(
      lines, "      (*)  PASSIVE EARTH COEFFICIENT IS PRINTED ONLY FOR REFERENCE, "));
  EXPECT_TRUE(level.auxLines().empty());

  // Backfill slope 20 degrees.
  s->soil.wall.slopeBackfill = 20.0;
  Capture sloped;
  computeCoefficients(*s, sloped.report, sloped.aux);
  const double cb = std::cos(20 * kDeg);
  const double root = std::sqrt(cb * cb - std::pow(std::cos(30 * kDeg), 2));
  EXPECT_NEAR(l[0].ka, cb * (cb - root) / (cb + root), 1e-6);
  EXPECT_NEAR(l[0].ka, 0.4142, 1e-4);
  EXPECT_NEAR(l[0].kp, 3.0, 2e-5);  // no slope term in Kp
  // phi 15 <= 20: the level-ground value tan^2(37.5) and one warning in each file.
  EXPECT_NEAR(l[1].ka, std::pow(std::tan(37.5 * kDeg), 2), 1e-6);
  const std::string warning =
      "THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.";
  EXPECT_EQ(testing::countLines(sloped.reportLines(), warning), 1);
  EXPECT_EQ(testing::countLines(sloped.auxLines(), warning), 1);
}

TEST(PressureCoefficients, UniformClayOptionZeroesKaWithoutAnOptionalCoefficient) {
  auto s = englishState(5);
  s->soil.layers[0].xBottom = 240.0;
  setLayer(*s, 1, 1, 240.0, 360.0, kSandWeight, 5.0, 0.0, 0.3);
  splitSoilProfile(*s);
  OutputFile none;
  computeCoefficients(*s, none, none);
  EXPECT_DOUBLE_EQ(s->pressure.layers[0].ka, 0.0);
  EXPECT_NEAR(s->pressure.layers[0].rootKa, std::tan(30 * kDeg), 1e-6);
  EXPECT_DOUBLE_EQ(s->pressure.layers[1].ka, 0.3);
}

// ---- Surcharges ----

TEST(PressureSurcharge, StripLoadCentredAtTheWall) {
  // Strip 10 ft wide, 500 psf... as 3.4722 psi, centred on the wall: the elastic strip solution
  // sigma = 2q/pi (beta - sin beta) with beta = 2 atan(b / 2z).
  const double q = 500.0 / 144.0;
  const std::vector<Surcharge> loads = {{3, q, 0.0, 120.0, 0.0, 1.0}};
  const double wallLength = 360.0;  // grid step 1.8 in
  const double z = 60.5;            // the grid depth below it is 33 x 1.8 = 59.4
  const double beta = 2.0 * std::atan(60.0 / 59.4);
  const double expected = 2.0 * q / 3.14159265358979 * (beta - std::sin(beta));
  // (pi is held as 3.1416 in single precision: agreement to a few parts in a million.)
  EXPECT_NEAR(surchargeAtDepth(loads, 240.0, wallLength, z), expected, 1e-5 * expected);
  // A factor of 2 doubles the pressure, 0 removes the load, two loads add.
  auto doubled = loads;
  doubled[0].factor = 2.0;
  EXPECT_NEAR(surchargeAtDepth(doubled, 240.0, wallLength, z), 2.0 * expected, 2e-5 * expected);
  doubled[0].factor = 0.0;
  EXPECT_EQ(surchargeAtDepth(doubled, 240.0, wallLength, z), 0.0);
  const std::vector<Surcharge> two = {loads[0], loads[0]};
  EXPECT_NEAR(surchargeAtDepth(two, 240.0, wallLength, z), 2.0 * expected, 2e-5 * expected);
  // Within the first grid step below the load, and above it, nothing.
  EXPECT_EQ(surchargeAtDepth(loads, 240.0, wallLength, 1.8), 0.0);
  EXPECT_EQ(surchargeAtDepth({{3, q, 0.0, 120.0, -100.0, 1.0}}, 240.0, wallLength, 60.0), 0.0);
  EXPECT_EQ(surchargeAtDepth({}, 240.0, wallLength, 60.0), 0.0);
}

TEST(PressureSurcharge, PointAndLineLoadFormsSwitchAtPointFourH) {
  const double h = 240.0;
  const double zl = 120.0;  // n = 0.5
  const SurchargeLoad near{1, 1000.0, 0.4 * h, 0.0};
  const SurchargeLoad far{1, 1000.0, 0.4 * h + 1e-9, 0.0};
  EXPECT_NEAR(surchargeLoadPressure(near, h, zl, SurchargeConstants::kDepthPoint),
              0.28 * 1000.0 / (h * h) * 0.25 / std::pow(0.41, 3), 1e-12);
  EXPECT_NEAR(surchargeLoadPressure(far, h, zl, SurchargeConstants::kDepthPoint),
              1.77 * 1000.0 / (h * h) * 0.16 * 0.25 / std::pow(0.41, 3), 1e-12);
  // Line load beyond 0.4 H: 4 Q / (pi H) m^2 n / (m^2 + n^2)^2 with pi 3.1416 in the depth
  // evaluation and 1.273 in the layer integration.
  const SurchargeLoad line{2, 100.0, 0.8 * h, 0.0};
  const double shape = 0.64 * 0.5 / std::pow(0.89, 2);
  EXPECT_NEAR(surchargeLoadPressure(line, h, zl, SurchargeConstants::kDepthPoint),
              4.0 * 100.0 / (static_cast<float>(3.1416) * h) * shape, 1e-12);
  EXPECT_NEAR(surchargeLoadPressure(line, h, zl, SurchargeConstants::kLayerIntegration),
              1.273 * 100.0 / h * shape, 1e-12);
}

TEST(PressureSurcharge, LayerForceSumsEveryLoadWithItsFactorAndLevel) {
  auto s = englishState();
  const Surcharge first{2, 100.0, 48.0, 0.0, 0.0, 1.0};
  const Surcharge second{1, 5000.0, 120.0, 0.0, 24.0, 2.0};
  auto forceWith = [&](std::vector<Surcharge> loads) {
    s->soil.surcharges = std::move(loads);
    return surchargeForceOnLayer(s->soil, 240.0, 0.0, 120.0);
  };
  const double a = forceWith({first});
  const double b = forceWith({second});
  EXPECT_GT(a, 0.0);
  EXPECT_GT(b, 0.0);
  EXPECT_NEAR(forceWith({first, second}), a + b, 1e-12 * (a + b));
  // The second load as a hand sum over ten sub-points: Q' = 2 x 5000, zl = z + 24.
  double hand = 0.0;
  for (int k = 1; k <= 10; ++k) {
    const double n = (12.0 * k + 24.0) / 240.0;
    const double m = 0.5;
    hand += 12.0 * 1.77 * 10000.0 / (240.0 * 240.0) * m * m * n * n / std::pow(m * m + n * n, 3);
  }
  EXPECT_NEAR(b, hand, 1e-9 * hand);
  // An empty table takes the loads of the surface record.
  s->soil.surface = {0.0, 48.0, 0.0, 100.0, 0.0, 0.0};
  EXPECT_NEAR(forceWith({}), a, 1e-12 * a);
}

TEST(PressureSurcharge, ZeroFreeHeightAndUnknownTypesAreRejected) {
  auto s = englishState();
  s->soil.surcharges = {{2, 100.0, 48.0, 0.0, 0.0, 1.0}};
  s->soil.wall.freeHeight = 0.0;
  EXPECT_THROW(checkSurcharges(s->soil), ErrorStop);
  s->soil.wall.freeHeight = 240.0;
  EXPECT_NO_THROW(checkSurcharges(s->soil));
  s->soil.surcharges[0].type = 4;
  EXPECT_THROW(checkSurcharges(s->soil), ErrorStop);
}

// ---- Layer forces ----

void prepareForces(RunState& s) {
  splitSoilProfile(s);
  computeOverburden(s.pressure);
  OutputFile none;
  computeCoefficients(s, none, none);
}

TEST(PressureLayerForces, DrySandGivesHalfKaGammaHSquared) {
  auto s = englishState();
  prepareForces(*s);
  Capture c;
  computeLayerForces(*s, c.report);
  const EarthPressureLayer& l = s->pressure.layers[0];
  const double ka = l.ka;
  EXPECT_DOUBLE_EQ(l.pa1, 0.0);
  EXPECT_NEAR(l.pa2, 0.5 * ka * kSandWeight * 240.0 * 240.0, 1e-9);
  EXPECT_NEAR(s->pressure.netActiveForce, 666.67, 0.01);  // 0.5 x 1/3 x 0.06944 x 240^2
  EXPECT_DOUBLE_EQ(l.z2, 160.0);
  const auto lines = c.reportLines();
  EXPECT_TRUE(testing::hasLine(lines, "      *      ACTIVE EARTH PRESSURE OF EACH LAYER       *"));
  EXPECT_TRUE(testing::hasLine(
      lines, "         1       0.00  10.00     666.67  13.33      -0.00  -0.00       0.00"));
  EXPECT_FALSE(testing::hasLine(lines, "Net active pressure is negative."));
}

TEST(PressureLayerForces, ClayTensionZoneKeepsOnlyTheLowerPart) {
  // Clay c = 2 psi, gamma 120 pcf, 20 ft above the excavation: the tension crack reaches
  // z0 = 2c / gamma = 57.6 in; the force is 0.5 (gamma H - 2c)(H - z0) at H - (H - z0)/3.
  auto s = englishState();
  s->soil.wall.freeHeight = 120.0;
  setLayer(*s, 0, 3, 0.0, 360.0, kSandWeight, 2.0, 0.0);
  prepareForces(*s);
  OutputFile none;
  computeLayerForces(*s, none);
  const EarthPressureLayer& l = s->pressure.layers[0];
  const double z0 = 2.0 * 2.0 / kSandWeight;
  const double pBottom = kSandWeight * 120.0 - 4.0;
  EXPECT_DOUBLE_EQ(l.pa1 + l.pa2 + l.pa3, 0.0);
  // (Ka of phi 0 is 1 to within 2e-6 with 57.2958 degrees per radian.)
  EXPECT_NEAR(l.positiveLength, 120.0 - z0, 1e-3);
  EXPECT_NEAR(l.pa4, 0.5 * pBottom * (120.0 - z0), 1e-3);
  EXPECT_NEAR(l.z3, 120.0 - (120.0 - z0) / 3.0, 1e-3);
  EXPECT_NEAR(s->pressure.netActiveForce, l.pa4, 1e-12);
}

TEST(PressureLayerForces, WaterForcesAndTheWaterSwitch) {
  auto s = englishState();
  s->soil.wall.waterBackfill = 120.0;
  prepareForces(*s);
  Capture c;
  computeLayerForces(*s, c.report);
  const EarthPressureData& ep = s->pressure;
  EXPECT_EQ(ep.waterSwitch, 1);
  // Layer 2 (10 to 20 ft) lies below the water table: PW2 = gamma_w T^2 / 2, PW1 = 0 at its top.
  EXPECT_DOUBLE_EQ(ep.layers[1].pw1, 0.0);
  EXPECT_NEAR(-ep.layers[1].pw2, 0.036 * 120.0 * 120.0 / 2.0, 1e-9);
  // Buoyant weight in the triangle of layer 2, overburden at its top in the rectangle.
  const double ka = ep.layers[1].ka;
  EXPECT_NEAR(ep.layers[1].pa2, 0.5 * ka * 120.0 * 120.0 * (kSandWeight - 0.036), 1e-9);
  EXPECT_NEAR(ep.layers[1].pa1, 120.0 * ka * 120.0 * kSandWeight, 1e-9);
  const auto lines = c.reportLines();
  EXPECT_TRUE(testing::hasLine(lines, "      *      ACTIVE WATER PRESSURE OF EACH LAYER       *"));
  EXPECT_TRUE(testing::hasLine(lines, "       2       0.00  15.00     259.20  16.67"));

  // Water table below the excavation level: no water section, the switch stays as read.
  auto dry = englishState();
  dry->soil.wall.waterBackfill = 300.0;
  prepareForces(*dry);
  Capture d;
  computeLayerForces(*dry, d.report);
  EXPECT_EQ(dry->pressure.waterSwitch, 0);
  EXPECT_FALSE(testing::hasLine(d.reportLines(),
                                "      *      ACTIVE WATER PRESSURE OF EACH LAYER       *"));
}

TEST(PressureLayerForces, NegativeNetForceIsReported) {
  auto s = englishState();
  s->soil.wall.freeHeight = 48.0;
  setLayer(*s, 0, 3, 0.0, 360.0, kSandWeight, 20.0, 0.0);  // stiff clay stands 4 ft unsupported
  prepareForces(*s);
  Capture c;
  computeLayerForces(*s, c.report);
  EXPECT_LT(s->pressure.netActiveForce, 1e-5);
  const auto lines = c.reportLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 2], "Net active pressure is negative.");
  EXPECT_EQ(lines[lines.size() - 3], "");
  EXPECT_EQ(lines[lines.size() - 4], "");
}

}  // namespace
}  // namespace korden

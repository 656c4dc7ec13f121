// The generated depth profile, the apparent-pressure diagrams, the pressure file and the hand-off
// of the lateral load and the soil-movement curves to the stations, against hand calculations.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/analysis_case.h"
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

constexpr double kWater = 0.036;

void addTieBack(RunState& s, int station) {
  Support t;
  t.station = station;
  t.depth = station * s.wall.incrementLength / 12.0;
  s.loads.tieBacks.push_back(t);
}

std::vector<PressureRow> profileOf(RunState& s) {
  splitSoilProfile(s);
  computeOverburden(s.pressure);
  OutputFile none;
  computeCoefficients(s, none, none);
  computeLayerForces(s, none);
  return generateDepthProfile(s);
}

// The generated row at depth z (rows lie one inch apart in English units).
const PressureRow& rowAt(const std::vector<PressureRow>& rows, double z) {
  for (const PressureRow& r : rows) {
    if (std::fabs(r[0] - z) < 1e-6) return r;
  }
  ADD_FAILURE() << "no row at " << z;
  return rows.front();
}

// Column n (2..12) of a row of the pressure file.
double col(const PressureRow& r, int n) { return r[n - 1]; }

TEST(PressureDistribution, TriangularSandProfileAndIntegrals) {
  auto s = englishState(2);
  s->soil.surface.uniformPressure = 2.0;
  const auto rows = profileOf(*s);
  ASSERT_EQ(rows.size(), 361u);  // top row + one point per inch
  const double ka = s->pressure.layers[0].ka;
  const PressureRow& r = rowAt(rows, 100.0);
  EXPECT_NEAR(col(r, 2), ka * (2.0 + 100.0 * kSandWeight), 1e-12);
  EXPECT_NEAR(col(r, 3), ka * 100.0 * kSandWeight, 1e-12);  // without the surface pressure
  EXPECT_NEAR(col(r, 9), ka * 2.0, 1e-12);
  EXPECT_NEAR(col(r, 12), col(r, 2), 1e-12);
  EXPECT_NEAR(col(r, 5), s->pressure.layers[0].kp * (2.0 + 100.0 * kSandWeight), 1e-9);
  EXPECT_NEAR(col(r, 6), 0.5 * (2.0 + 100.0 * kSandWeight), 1e-5);  // K0 = 1 - sin 30
  // Below the excavation level the earth pressure stays at its value there.
  EXPECT_NEAR(col(rowAt(rows, 300.0), 12), ka * (2.0 + 240.0 * kSandWeight), 1e-12);
  // F1 = Ka (q H + gamma H^2 / 2), F2 = Ka gamma H^2 / 2 + Ka q H (exact for linear columns).
  EXPECT_NEAR(s->pressure.integralActiveWater, ka * (2.0 * 240.0 + kSandWeight * 240 * 120), 1e-6);
  // The top row holds Ka q in column 2 and Kp q in column 5 only.
  EXPECT_NEAR(col(rows[0], 2), ka * 2.0, 1e-12);
  EXPECT_DOUBLE_EQ(col(rows[0], 12), 0.0);
}

TEST(PressureDistribution, FhwaTrapezoidWithOneSupportAtAQuarterOfH) {
  auto s = englishState(3);
  addTieBack(*s, 10);  // 5 ft = 0.25 H
  const auto rows = profileOf(*s);
  const double ka = s->pressure.layers[0].ka;
  const double force = 0.5 * ka * kSandWeight * 240.0 * 240.0;
  EXPECT_NEAR(s->pressure.integralActive, force, 1e-6);
  // FHWA: 1.3 x the Rankine force over 2H/3; a = H/6 = 40, plateau to 0.5 H, d = 0.5 H.
  const double p = 1.3 * force / (2.0 * 240.0 / 3.0);
  EXPECT_NEAR(p, 5.4167, 1e-4);
  EXPECT_NEAR(s->pressure.apparentPeak, p, 1e-9);
  EXPECT_NEAR(col(rowAt(rows, 20.0), 11), p / 2.0, 1e-9);
  EXPECT_NEAR(col(rowAt(rows, 40.0), 11), p, 1e-9);
  EXPECT_NEAR(col(rowAt(rows, 120.0), 11), p, 1e-9);
  EXPECT_NEAR(col(rowAt(rows, 180.0), 11), p / 2.0, 1e-9);
  EXPECT_NEAR(col(rowAt(rows, 20.0), 12), p / 2.0, 1e-9);  // no water, no surcharge
  // From the excavation level down the rows are the computed distribution.
  EXPECT_NEAR(col(rowAt(rows, 240.0), 12), ka * 240.0 * kSandWeight, 1e-12);
  EXPECT_DOUBLE_EQ(col(rowAt(rows, 240.0), 11), 0.0);
}

TEST(PressureDistribution, SupportRuleOfTwoOrMoreSupports) {
  SupportDepths two{2, 48.0, 168.0};
  // 1.3 F / (H - (H1 + Hn+1) / 3) with Hn+1 = 240 - 168 = 72.
  EXPECT_NEAR(supportRulePeak(1000.0, 240.0, two), 1300.0 / (240.0 - 40.0), 1e-12);
  EXPECT_DOUBLE_EQ(supportRulePeak(1000.0, 240.0, {}), 0.0);
  const Trapezoid t{4.0, 32.0, 192.0, 48.0};
  EXPECT_DOUBLE_EQ(t.at(8.0), 1.0);
  EXPECT_DOUBLE_EQ(t.at(100.0), 4.0);
  EXPECT_DOUBLE_EQ(t.at(216.0), 2.0);
}

TEST(PressureDistribution, TerzaghiPeckSandIsARectangleOfPoint65KaGammaH) {
  auto s = englishState(6);
  const auto rows = profileOf(*s);
  // 0.65 Ka gamma H with Ka = tan^2(45 - 30/2) = 1/3.
  const double p = 0.65 * kSandWeight * 240.0 / 3.0;
  EXPECT_NEAR(s->pressure.apparentPeak, p, 1e-5);
  for (double z : {1.0, 100.0, 239.0}) {
    EXPECT_NEAR(col(rowAt(rows, z), 11), p, 1e-5) << z;
    EXPECT_NEAR(col(rowAt(rows, z), 12), p, 1e-5) << z;
    EXPECT_DOUBLE_EQ(col(rowAt(rows, z), 8), 0.0) << z;
  }
}

TEST(PressureDistribution, TerzaghiPeckClay) {
  const double gammaH = kSandWeight * 240.0;
  struct Case {
    double stability;  // gamma H / c
    double peak;       // expected, psi
    double plateauEnd, at210;
  };
  // N = 6: soft clay, gamma H - 4c = gamma H / 3 over 0.25 H .. H.
  // N = 5.5: stiff clay, gamma H (1 - 4/5.5) on 0.25 H .. 0.75 H, falling to 0 at H.
  // N = 4.5: stiff clay, the formula gives 0.11 gamma H; the diagram keeps 0.2 gamma H.
  for (const Case& c : {Case{6.0, gammaH / 3.0, 240.0, gammaH / 3.0},
                        Case{5.5, gammaH * (1.0 - 4.0 / 5.5), 180.0, gammaH * (1.5 / 5.5) / 2.0},
                        Case{4.5, 0.2 * gammaH, 180.0, 0.1 * gammaH}}) {
    auto s = englishState(6);
    setLayer(*s, 0, 3, 0.0, 360.0, kSandWeight, gammaH / c.stability, 0.0);
    const auto rows = profileOf(*s);
    EXPECT_NEAR(s->pressure.apparentPeak, c.peak, 1e-9) << c.stability;
    EXPECT_NEAR(col(rowAt(rows, 30.0), 11), c.peak / 2.0, 1e-9) << c.stability;
    EXPECT_NEAR(col(rowAt(rows, 150.0), 11), c.peak, 1e-9) << c.stability;
    EXPECT_NEAR(col(rowAt(rows, 210.0), 11), c.at210, 1e-9) << c.stability;
  }
}

TEST(PressureDistribution, UniformClay) {
  // Without an optional coefficient the apparent pressure is 0.
  auto s = englishState(5);
  addTieBack(*s, 10);
  setLayer(*s, 0, 1, 0.0, 360.0, kSandWeight, 3.0, 0.0);
  auto rows = profileOf(*s);
  EXPECT_DOUBLE_EQ(s->pressure.apparentPeak, 0.0);
  EXPECT_DOUBLE_EQ(col(rowAt(rows, 100.0), 11), 0.0);
  EXPECT_DOUBLE_EQ(col(rowAt(rows, 100.0), 12), 0.0);
  // Soft clay with K = 0.3: p = 0.3 x sigma'v at the excavation level, rising over 0.25 H and
  // constant down to H.
  auto k = englishState(5);
  addTieBack(*k, 10);
  setLayer(*k, 0, 1, 0.0, 360.0, kSandWeight, 3.0, 0.0, 0.3);
  k->soil.surface.uniformPressure = 1.0;
  rows = profileOf(*k);
  const double p = 0.3 * (1.0 + 240.0 * kSandWeight);
  EXPECT_NEAR(k->pressure.apparentPeak, p, 1e-12);
  EXPECT_NEAR(col(rowAt(rows, 30.0), 11), p / 2.0, 1e-12);
  EXPECT_NEAR(col(rowAt(rows, 230.0), 11), p, 1e-12);
  // The share of the surface pressure, q Ka m, is column 9; column 7 the rest.
  EXPECT_NEAR(col(rowAt(rows, 230.0), 9), 0.3, 1e-12);
  EXPECT_NEAR(col(rowAt(rows, 230.0), 7), p - 0.3, 1e-12);
}

TEST(PressureDistribution, ClayTensionZoneNeverPullsOnTheWall) {
  auto s = englishState(2);
  setLayer(*s, 0, 3, 0.0, 360.0, kSandWeight, 2.0, 0.0);
  const auto rows = profileOf(*s);
  // Row r (1-based) at depth r - 1: tension down to z0 = 2c / gamma = 57.6 in.
  for (int r = 2; r <= 57; ++r) {
    const PressureRow& row = rows[r - 1];
    EXPECT_DOUBLE_EQ(col(row, 2), r * 1e-12) << r;
    EXPECT_DOUBLE_EQ(col(row, 3), r * 1e-12) << r;
    EXPECT_DOUBLE_EQ(col(row, 7), r * 1e-12) << r;
  }
  EXPECT_NEAR(col(rows[99], 2), 99.0 * kSandWeight - 4.0, 1e-4);
  for (const PressureRow& row : rows) EXPECT_GE(col(row, 12), 0.0) << row[0];
}

TEST(PressureDistribution, WaterColumns) {
  // Water table below the excavation level, switch 0: no water anywhere.
  auto dry = englishState(2);
  dry->soil.wall.waterBackfill = 300.0;
  auto rows = profileOf(*dry);
  EXPECT_EQ(dry->pressure.waterSwitch, 0);
  for (const PressureRow& row : rows) EXPECT_DOUBLE_EQ(col(row, 8), 0.0) << row[0];

  // Water table at 10 ft behind the wall, at the excavation level in front of it.
  auto wet = englishState(2);
  wet->soil.wall.waterBackfill = 120.0;
  wet->soil.wall.waterExcavation = 240.0;
  rows = profileOf(*wet);
  EXPECT_EQ(wet->pressure.waterSwitch, 1);
  EXPECT_NEAR(col(rowAt(rows, 180.0), 8), kWater * 60.0, 1e-12);
  // Below both water tables the net water pressure is gamma_w (240 - 120).
  EXPECT_NEAR(col(rowAt(rows, 300.0), 8), kWater * 120.0, 1e-12);
  const double ka = wet->pressure.layers[0].ka;
  const double svExcavation = 240.0 * kSandWeight - 120.0 * kWater;
  EXPECT_NEAR(col(rowAt(rows, 300.0), 12), ka * svExcavation + kWater * 120.0, 1e-12);
  EXPECT_NEAR(col(rowAt(rows, 300.0), 2), ka * svExcavation + kWater * 120.0, 1e-12);
}

TEST(PressureDistribution, WaterTableAboveTheSoilKeepsItsFullWaterColumn) {
  // Soil from 2 ft down (drained sand, phi 30), free water standing from the top of the wall.
  auto s = englishState(2);
  s->soil.layers[0].xTop = 24.0;
  s->soil.wall.waterBackfill = 0.0;
  s->soil.wall.waterSwitch = 1;
  const auto rows = profileOf(*s);
  const EarthPressureData& ep = s->pressure;
  ASSERT_EQ(ep.layers.size(), 2u);  // split only at the excavation level
  EXPECT_EQ(ep.waterTableLayer, 0);
  // Water column at 14 ft: 0.036 x 168 in from the water table, not from the soil top.
  const PressureRow& r = rowAt(rows, 168.0);
  EXPECT_NEAR(col(r, 8), 6.048, 1e-12);
  // The effective stress starts at the soil surface: (gamma - gamma_w) x 144 in; Ka = 1/3.
  EXPECT_DOUBLE_EQ(ep.layers[0].overburden, 0.0);
  const double effective = (kSandWeight - kWater) * 144.0;
  const double ka = ep.layers[0].ka;
  EXPECT_NEAR(ka, 1.0 / 3.0, 1e-5);
  EXPECT_NEAR(col(r, 7), ka * effective, 1e-12);
  EXPECT_NEAR(col(r, 2), ka * effective + 6.048, 1e-12);
  EXPECT_NEAR(col(r, 12), ka * effective + 6.048, 1e-12);
  // Rectangular water force of the layer from 2 ft to the excavation: 0.036 x 24 x 216.
  EXPECT_NEAR(ep.layers[0].pw1, -0.036 * 24.0 * 216.0, 1e-9);
  EXPECT_NEAR(ep.layers[0].pw2, -0.036 / 2.0 * 216.0 * 216.0, 1e-9);
}

// Ka of phi = 0 with 57.2958 degrees per radian is 1 - 2.6e-6: pressures of some 100 kPa agree
// with the exact hand figures to 1e-3.
constexpr double kClayTolerance = 1e-3;

// SI clay profile: gamma 19, c 10 kPa from 0 to 2 m over gamma 20, c 25 kPa; backfill water table
// at 1 m, excavation at 6 m, 12 m wall.
std::unique_ptr<RunState> layeredClayBelowWater() {
  auto s = std::make_unique<RunState>();
  s->control.unitsFlag = 2;
  s->control.pressureOption = 2;
  s->labels = unitLabelsFor(2);
  s->wall.nIncrements = 48;
  s->wall.incrementLength = 0.25;
  s->soil.wall = {6.0, 1.0, 1.0, 1.0, 100.0, 1.0, 0, 0.0, 0.0};
  setLayer(*s, 0, 1, 0.0, 2.0, 19.0, 10.0, 0.0);
  setLayer(*s, 1, 1, 2.0, 12.0, 20.0, 25.0, 0.0);
  return s;
}

TEST(PressureDistribution, UndrainedClayBelowWaterTakesTotalStress) {
  auto s = layeredClayBelowWater();
  const auto rows = profileOf(*s);
  const EarthPressureData& ep = s->pressure;
  ASSERT_EQ(ep.layers.size(), 4u);  // 0, 1 (water table), 2, 6 m (excavation)
  // At 6 m: sigma_v = 19 x 2 + 20 x 4 = 118 kPa; sigma_v - 2c = 68 kPa, of which the pore water
  // 9.81 x 5 is column 8 and the rest column 7.
  const PressureRow& r = rows[120];
  ASSERT_NEAR(r[0], 6.0, 1e-12);
  EXPECT_NEAR(col(r, 12), 68.0, kClayTolerance);
  EXPECT_NEAR(col(r, 2), 68.0, kClayTolerance);
  EXPECT_NEAR(col(r, 3), 68.0, kClayTolerance);
  EXPECT_NEAR(col(r, 8), 9.81 * 5.0, kClayTolerance);
  EXPECT_NEAR(col(r, 7), 68.0 - 9.81 * 5.0, kClayTolerance);
  // At 4 m: 38 + 20 x 2 - 50 = 28 kPa.
  EXPECT_NEAR(col(rows[80], 12), 28.0, kClayTolerance);
  // Below the excavation level the active part stays at its value there; the water grows.
  EXPECT_NEAR(col(rows[160], 2), 68.0, kClayTolerance);
  EXPECT_NEAR(col(rows[160], 12), 68.0 + 9.81 * 2.0, kClayTolerance);
  // The overburden of the layer tops stays effective: 118 - 9.81 x 5 at 6 m.
  EXPECT_NEAR(ep.layers[3].overburden, 118.0 - 9.81 * 5.0, kClayTolerance);
  EXPECT_NEAR(ep.layers[2].overburden, 38.0 - 9.81, kClayTolerance);
}

TEST(PressureLayerForcesTotalStress, UndrainedClayBelowWaterTakesTotalStress) {
  auto s = layeredClayBelowWater();
  profileOf(*s);
  const EarthPressureData& ep = s->pressure;
  // Layer 2 to 6 m: net total pressure 38 + 20 (z - 2) - 50 is zero at 2.6 m, so only the lower
  // 3.4 m carry it: PA4 = 68 x 3.4 / 2 at 6 - 3.4 / 3.
  const EarthPressureLayer& deep = ep.layers[2];
  EXPECT_DOUBLE_EQ(deep.pa1, 0.0);
  EXPECT_NEAR(deep.positiveLength, 3.4, kClayTolerance);
  EXPECT_NEAR(deep.pa4, 115.6, kClayTolerance);
  EXPECT_NEAR(deep.z3, 6.0 - 3.4 / 3.0, kClayTolerance);
  // Layer 1 to 2 m: 19 + 19 (z - 1) - 20 is zero at 1 + 1/19 m; PA4 = 18 x (18/19) / 2.
  const EarthPressureLayer& upper = ep.layers[1];
  EXPECT_NEAR(upper.positiveLength, 18.0 / 19.0, kClayTolerance);
  EXPECT_NEAR(upper.pa4, 0.5 * 18.0 * 18.0 / 19.0, kClayTolerance);
  // Undrained layers carry no separate water force.
  EXPECT_DOUBLE_EQ(upper.pw1, 0.0);
  EXPECT_DOUBLE_EQ(deep.pw2, 0.0);
  EXPECT_NEAR(ep.netActiveForce, 115.6 + 0.5 * 18.0 * 18.0 / 19.0, kClayTolerance);

  // Without tension zones: c = 2 kPa in the deep clay gives PA1 = 38 x 4, PA2 = 20 x 16 / 2,
  // PA3 = -4 x 4.
  auto firm = layeredClayBelowWater();
  firm->soil.layers[1].top.cohesion = 2.0;
  profileOf(*firm);
  const EarthPressureLayer& l = firm->pressure.layers[2];
  EXPECT_NEAR(l.pa1, 152.0, kClayTolerance);
  EXPECT_NEAR(l.pa2, 160.0, kClayTolerance);
  EXPECT_NEAR(l.pa3, -16.0, kClayTolerance);
}

TEST(PressureDistribution, DepthProfileBeyondItsCapacityStops) {
  // 60 increments of 500 ft: 360,000 rows at one row per inch.
  auto s = englishState(2);
  s->wall.incrementLength = 6000.0;
  s->soil.layers[0].xBottom = 360000.0;
  try {
    profileOf(*s);
    ADD_FAILURE() << "no stop";
  } catch (const ErrorStop& stop) {
    ASSERT_GE(stop.lines().size(), 4u);
    EXPECT_EQ(stop.lines()[2], "     TOO MUCH DATA FOR AVAILABLE STORAGE");
    EXPECT_EQ(
        stop.lines()[3],
        "     ROWS OF THE EARTH-PRESSURE DEPTH PROFILE: 360001 GIVEN, THE TABLE HOLDS 200000");
  }
  // 200,000 rows exactly are held: 199,999 in plus the top row.
  s->wall.incrementLength = 199999.0 / 60.0;
  s->soil.layers[0].xBottom = 199999.0;
  EXPECT_EQ(pressureRowCount(*s), 200000);
  EXPECT_EQ(profileOf(*s).size(), 200000u);
}

TEST(PressureDistribution, RowCountRuleInSiUnits) {
  auto s = std::make_unique<RunState>();
  s->control.unitsFlag = 2;
  s->wall.nIncrements = 40;
  s->wall.incrementLength = 0.25;  // wall 10 m
  s->soil.wall.freeHeight = 4.0;
  s->soil.wall.waterBackfill = 2.52;
  setLayer(*s, 0, 4, 0.0, 3.02, 19.0, 0.0, 32.0);
  setLayer(*s, 1, 3, 3.02, 14.0, 20.0, 40.0, 0.0);
  splitSoilProfile(*s);
  ASSERT_EQ(s->pressure.layers.size(), 4u);  // 0, 2.52, 3.02, 4.0
  // 1 + 20 x (2.52 + 0.5 + 0.98) + 20 x (10 - 4): the rows down to the tip of the wall.
  EXPECT_EQ(pressureRowCount(*s), 201);
}

TEST(PressureFile, WrittenWithSixDigitsAndReadBackByTheCount) {
  const auto dir = testing::makeTempDir("pressure-file");
  const std::string name = (dir / "case.prs").string();
  std::vector<PressureRow> rows(3);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 12; ++c) rows[r][c] = (r + 1) * 1.234567891 * std::pow(-10.0, c - 3);
  }
  writePressureFile(name, 2, rows);
  const auto lines = testing::splitLines(testing::readFile(name));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "           2");
  EXPECT_EQ(lines[1].substr(0, 26), " -1.23457E-03  1.23457E-02");
  EXPECT_EQ(lines[1].size(), 12u * 13u);
  const auto back = readPressureFile(name);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_DOUBLE_EQ(back[1][5], 2.46914e2);
  EXPECT_DOUBLE_EQ(back[0][0], -1.23457e-3);
  std::filesystem::remove_all(dir);
  EXPECT_THROW(readPressureFile(name), ErrorStop);
}

TEST(PressureFile, WidthSwitchesToWpBelowTheExcavationLevel) {
  std::vector<PressureRow> rows(3);
  const double depths[3] = {239.0, 240.0, 241.0};
  for (int r = 0; r < 3; ++r) {
    rows[r].fill(1.0);
    rows[r][0] = depths[r];
    rows[r][11] = 2.0;
  }
  scaleByWidths(rows, 240.0, 12.0, 30.0);
  EXPECT_DOUBLE_EQ(rows[1][1], 24.0);  // column 2 = column 12 x WA at the excavation level
  EXPECT_DOUBLE_EQ(rows[1][6], 12.0);
  EXPECT_DOUBLE_EQ(rows[2][1], 60.0);  // WP below it
  EXPECT_DOUBLE_EQ(rows[2][10], 30.0);
  EXPECT_DOUBLE_EQ(rows[2][0], 241.0);
}

// ---- The hand-off to the stations ----

struct HandOffRun {
  std::filesystem::path dir = testing::makeTempDir("pressure-handoff");
  RunFiles files;
  explicit HandOffRun(RunState& s) {
    files.report.open((dir / "report.txt").string());
    files.aux.open((dir / "aux.txt").string());
    s.driver.pressureFileName = (dir / "case.prs").string();
  }
  ~HandOffRun() { std::filesystem::remove_all(dir); }
  std::vector<std::string> reportLines() {
    files.report.flush();
    return testing::splitLines(testing::readFile(dir / "report.txt"));
  }
};

TEST(PressureHandOff, TriangularLoadReachesTheStationsThroughTheFile) {
  auto s = englishState(2);
  HandOffRun run(*s);
  generateEarthPressure(*s, run.files);
  applyPressureLoads(*s, run.files);
  const double ka = s->pressure.layers[0].ka;
  EXPECT_DOUBLE_EQ(s->grid.Q(0), 0.0);
  // Station 20 at 120 in: Ka gamma z x WA x h, rounded to six digits by the file.
  const double expected = ka * kSandWeight * 120.0 * 12.0 * 6.0;
  EXPECT_NEAR(s->grid.Q(20), expected, 1e-5 * expected);
  EXPECT_NEAR(s->grid.Q(60), ka * kSandWeight * 240.0 * 12.0 * 6.0, 1e-3);
  EXPECT_DOUBLE_EQ(s->grid.Q(61), 0.0);
  EXPECT_TRUE(s->curves.soilMovementCurves.empty());
  const auto lines = run.reportLines();
  EXPECT_TRUE(testing::hasLine(lines, "     * GENERATED TRIANGULAR-DISTRIBUTION EARTH PRESSURE"));
  EXPECT_TRUE(testing::hasLine(lines, "         DEPTH         ACTIVE EARTH PRESSURE"));
  // The row at 10 ft: 1/3 x 0.0694 x 120 = 2.77778 psi in the file, times WA = 12 in: the load
  // carries the file's rounding (33.3334, not 33.3333).
  EXPECT_TRUE(testing::hasLine(lines, "      1.00000E+01         3.33334E+01"));
}

TEST(PressureHandOff, SoilMovementCurvesDownToTheExcavationLevel) {
  auto s = englishState(4);
  s->soil.wall.freeHeight = 60.0;  // H = 10 h
  s->soil.wall.widthActive = 48.0;
  s->soil.wall.widthResistance = 12.0;  // r = 4: not a continuous wall
  s->wall.wallWidth = 24.0;
  s->soil.layers[0].top.kpy = 90.0;
  HandOffRun run(*s);
  generateEarthPressure(*s, run.files);
  applyPressureLoads(*s, run.files);
  const auto& curves = s->curves.soilMovementCurves;
  ASSERT_EQ(curves.size(), 10u);
  for (int k = 1; k <= 11; ++k) EXPECT_DOUBLE_EQ(s->grid.Q(k), 0.0) << k;
  EXPECT_GT(s->grid.Q(12), 0.0);
  const TableCurve& c = curves[4];  // station 5, 30 in
  EXPECT_EQ(c.fromStation, 5);
  EXPECT_EQ(c.toStation, 5);
  EXPECT_EQ(c.contd, 1);
  ASSERT_EQ(c.nPoints, 6);
  const double y[6] = {-40.0, -0.9, -24.0 / 10667.0, 0.0, 24.0 / 357.0, 40.0};
  for (int j = 0; j < 6; ++j) EXPECT_DOUBLE_EQ(c.y[j], y[j]) << j;
  EXPECT_NEAR(c.y[2], -0.00225, 1e-5);
  EXPECT_NEAR(c.y[4], 0.06723, 1e-5);
  // Pressures times WA and h: passive Kp sigma, at rest K0 sigma, active Ka sigma at 30 in.
  const double sigma = 30.0 * kSandWeight;
  const EarthPressureLayer& l = s->pressure.layers[0];
  // (The file keeps six significant digits.)
  EXPECT_NEAR(c.p[0], l.kp * sigma * 48.0 * 6.0, 1e-5 * c.p[0]);
  EXPECT_DOUBLE_EQ(c.p[1], c.p[0]);
  EXPECT_NEAR(c.p[3], l.k0 * sigma * 48.0 * 6.0, 1e-5 * c.p[3]);
  EXPECT_NEAR(c.p[4], l.ka * sigma * 48.0 * 6.0, 1e-5 * c.p[4]);
  // Intermediate: at rest + KPY z b / 10667 (per unit width), within at rest .. passive.
  EXPECT_NEAR(c.p[2], c.p[3] + 90.0 * 30.0 * 24.0 / 10667.0 * 6.0, 1e-4);
  for (const TableCurve& curve : curves) {
    for (int j = 0; j + 1 < 6; ++j) {
      EXPECT_LT(curve.y[j], curve.y[j + 1]);
      EXPECT_GE(curve.p[j], curve.p[j + 1]);  // a resisting curve falls as y rises
    }
  }
}

TEST(PressureHandOff, ContinuousStaticWallUsesTheReferenceWidth) {
  auto s = englishState(4);
  s->soil.wall.freeHeight = 60.0;
  s->wall.wallWidth = 24.0;
  HandOffRun run(*s);
  generateEarthPressure(*s, run.files);
  applyPressureLoads(*s, run.files);
  const TableCurve& c = s->curves.soilMovementCurves.at(4);
  EXPECT_DOUBLE_EQ(c.y[1], -3.0 * 12.0 / 80.0);
  EXPECT_DOUBLE_EQ(c.y[4], 12.0 / 357.0);
  // KPY 0: the intermediate point falls back to 1.5 x at rest.
  EXPECT_NEAR(c.p[2], 1.5 * c.p[3], 1e-12);
}

TEST(PressureHandOff, SpecifiedTablePlusSurcharge) {
  auto s = englishState(1);
  s->soil.activePressure = {{0.0, 0.0}, {120.0, 10.0}, {360.0, 30.0}};
  HandOffRun run(*s);
  applyPressureLoads(*s, run.files);
  EXPECT_NEAR(s->grid.Q(10), 5.0 * 6.0, 1e-12);  // 60 in: halfway to 10 lb/in
  EXPECT_NEAR(s->grid.Q(40), (10.0 + 20.0 * 120.0 / 240.0) * 6.0, 1e-12);
  EXPECT_DOUBLE_EQ(s->grid.Q(0), 0.0);
  // Above the first depth there is no load; below the last the last value holds; at a repeated
  // depth the first pair that brackets it gives the value.
  EXPECT_DOUBLE_EQ(lateralLoadAt({12.0, 24.0}, {1.0, 3.0}, 6.0), 0.0);
  EXPECT_DOUBLE_EQ(lateralLoadAt({12.0, 24.0}, {1.0, 3.0}, 18.0), 2.0);
  EXPECT_DOUBLE_EQ(lateralLoadAt({12.0, 24.0}, {1.0, 3.0}, 30.0), 3.0);
  EXPECT_DOUBLE_EQ(lateralLoadAt({0.0, 10.0, 10.0, 20.0}, {0.0, 1.0, 5.0, 5.0}, 10.0), 1.0);
  EXPECT_DOUBLE_EQ(lateralLoadAt({0.0, 20.0, 10.0}, {0.0, 2.0, 7.0}, 15.0), 1.5);  // as given

  // A line load adds its pressure at each depth of the table, times WA.
  auto t = englishState(1);
  t->soil.activePressure = s->soil.activePressure;
  t->soil.surcharges = {{2, 100.0, 48.0, 0.0, 0.0, 1.0}};
  HandOffRun again(*t);
  applyPressureLoads(*t, again.files);
  const double extra = surchargeAtDepth(t->soil.surcharges, 240.0, 360.0, 120.0) * 12.0;
  EXPECT_GT(extra, 0.0);
  EXPECT_NEAR(t->pressure.loadValue[1], 10.0 + extra, 1e-12);
}

}  // namespace
}  // namespace korden

// The curve generation framework: the distributions built from the soil layers, their lookups,
// the multipliers for closely spaced elements, and the curve exchange file with its 33-point
// curves.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "analysis/curves.h"
#include "engine/errors.h"
#include "pycurves/criteria.h"
#include "pycurves/curve_exchange.h"
#include "pycurves/curve_generation.h"
#include "test_support.h"

namespace korden {
namespace {

SoilLayer layer(int type, double top, double bottom, double gamma, double c, double phi,
                double e50 = 0.0, double kpy = 0.0) {
  SoilLayer l;
  l.type = type;
  l.xTop = top;
  l.xBottom = bottom;
  l.top = l.bottom = {gamma, c, phi, e50, kpy, 0.0};
  return l;
}

// English units: 30 ft wall of 60 increments of 6 in, cut at 120 in, backfill water at 150 in.
RunState profileState() {
  RunState state;
  state.control.unitsFlag = 1;
  state.wall.nIncrements = 60;
  state.wall.incrementLength = 6.0;
  state.soil.wall.freeHeight = 120.0;
  state.soil.wall.widthActive = 48.0;
  state.soil.wall.widthResistance = 24.0;
  state.soil.wall.waterBackfill = 150.0;
  state.soil.referenceWidth = 12.0;
  state.soil.nLayers = 4;
  state.soil.layers[0] = layer(1, 0.0, 120.0, 0.06, 3.0, 0.0);  // ends at the cut
  state.soil.layers[1] = layer(4, 120.0, 200.0, 0.066, 0.0, 32.0);
  state.soil.layers[2] = layer(3, 200.0, 400.0, 0.07, 10.0, 0.0, 0.005);
  state.soil.layers[2].bottom.cohesion = 20.0;
  state.soil.layers[3] = layer(1, 400.0, 480.0, 0.06, 4.0, 0.0);  // below the curve range
  return state;
}

TEST(PyCurvesDistributions, CountedLayersCurveDepthsAndWaterSplit) {
  const RunState state = profileState();
  const CurveSettings s = curveSettingsFor(state);
  EXPECT_DOUBLE_EQ(s.widthRatio, 2.0);
  const SoilDistributions d = buildSoilDistributions(state, s);
  // The layer that ends at the cut is not counted; the curve range ends 2 h below the tip
  // (372 in, z = 252) inside the third layer; the fourth gets nothing.
  ASSERT_EQ(d.layers.size(), 2u);
  EXPECT_EQ(d.layers[0].type, 4);
  EXPECT_DOUBLE_EQ(d.layers[0].zTop, 0.0);
  EXPECT_DOUBLE_EQ(d.layers[0].zBottom, 80.0);
  EXPECT_DOUBLE_EQ(d.layers[1].zBottom, 252.0);
  ASSERT_EQ(d.curveDepths.size(), 10u);
  const double expected[] = {0.1, 20.0, 40.0, 60.0, 79.9, 80.1, 123.0, 166.0, 209.0, 251.9};
  for (size_t i = 0; i < 10; ++i) EXPECT_NEAR(d.curveDepths[i], expected[i], 1e-9) << i;
  // Strength: the bottom point at the end of the range is interpolated (c 10 -> 20 over 200 in).
  ASSERT_EQ(d.strength.size(), 4u);
  EXPECT_NEAR(d.strength[3].z, 252.0, 1e-12);
  EXPECT_NEAR(d.strength[3].c, 10.0 + 10.0 * 172.0 / 200.0, 1e-12);
  EXPECT_NEAR(d.strength[0].phi, 32.0 * 3.1415998935699463 / 180.0, 1e-15);
  // Unit weight: the sand is split at the water table (z = 30) into its dry and submerged parts.
  ASSERT_EQ(d.unitWeight.size(), 6u);
  EXPECT_DOUBLE_EQ(d.unitWeight[1].z, 30.0);
  EXPECT_DOUBLE_EQ(d.unitWeight[1].gamma, 0.066);
  EXPECT_DOUBLE_EQ(d.unitWeight[2].z, 30.0);
  EXPECT_NEAR(d.unitWeight[2].gamma, 0.030, 1e-15);
  EXPECT_NEAR(d.unitWeight[4].gamma, 0.034, 1e-15);
}

TEST(PyCurvesDistributions, LayerAcrossTheCutStartsItsCurvesAtTheEdgeOffset) {
  RunState state = profileState();
  state.soil.layers[0].xBottom = 150.0;  // the first layer now straddles the cut
  state.soil.layers[1].xTop = 150.0;
  state.control.unitsFlag = 2;
  const SoilDistributions d = buildSoilDistributions(state, curveSettingsFor(state));
  ASSERT_GE(d.layers.size(), 1u);
  EXPECT_EQ(d.layers[0].type, 1);
  EXPECT_DOUBLE_EQ(d.layers[0].zBottom, 30.0);
  EXPECT_DOUBLE_EQ(d.curveDepths[0], 0.01);  // SI edge offset
  EXPECT_DOUBLE_EQ(d.curveDepths[4], 29.99);
}

TEST(PyCurvesDistributions, RangeEndInALayerCutAtTheExcavationInterpolatesInTheCountedLayer) {
  // Soft clay 0 to 40 ft, c 2 -> 8 psi; cut at 10 ft; 40 increments of 6 in put the end of the
  // curve range at 21 ft (z = 132 in). The counted layer runs from z = 0 (top values) to z = 360
  // (bottom values): fraction 132 / 360 = 11 / 30, c = 2 + 6 x 11 / 30 = 4.20 psi.
  RunState state;
  state.control.unitsFlag = 1;
  state.wall.nIncrements = 40;
  state.wall.incrementLength = 6.0;
  state.soil.wall.freeHeight = 120.0;
  state.soil.wall.widthActive = 12.0;
  state.soil.wall.widthResistance = 12.0;
  state.soil.wall.waterBackfill = 180.0;  // 15 ft: z = 60, fraction 1 / 6
  state.soil.nLayers = 1;
  state.soil.layers[0] = layer(1, 0.0, 480.0, 0.06, 2.0, 0.0, 0.02, 100.0);
  state.soil.layers[0].bottom = {0.09, 8.0, 0.0, 0.005, 700.0, 30.0};
  const SoilDistributions d = buildSoilDistributions(state, curveSettingsFor(state));
  ASSERT_EQ(d.strength.size(), 2u);
  EXPECT_DOUBLE_EQ(d.strength[0].z, 0.0);
  EXPECT_DOUBLE_EQ(d.strength[0].c, 2.0);
  EXPECT_DOUBLE_EQ(d.strength[1].z, 132.0);
  EXPECT_NEAR(d.strength[1].c, 4.20, 1e-12);
  EXPECT_NEAR(d.strength[1].e50, 0.02 - 0.015 * 11.0 / 30.0, 1e-15);
  EXPECT_NEAR(d.strength[1].kpy, 100.0 + 600.0 * 11.0 / 30.0, 1e-12);
  EXPECT_NEAR(d.strength[1].sixth, 11.0, 1e-12);
  // Unit weight on the same line: 0.06 -> 0.09 over z 0 to 360; water at z = 60.
  ASSERT_EQ(d.unitWeight.size(), 4u);
  EXPECT_DOUBLE_EQ(d.unitWeight[1].z, 60.0);
  EXPECT_NEAR(d.unitWeight[1].gamma, 0.065, 1e-15);
  EXPECT_NEAR(d.unitWeight[2].gamma, 0.065 - 0.036, 1e-15);
  EXPECT_NEAR(d.unitWeight[3].gamma, 0.071 - 0.036, 1e-15);
}

TEST(PyCurvesLookups, StrengthAtLayerBoundaries) {
  std::vector<StrengthPoint> points = {{0.0, 2.0, 0.0, 0.01, 0.0, 0.0},
                                       {10.0, 4.0, 0.2, 0.01, 100.0, 0.0},
                                       {10.0, 0.0, 0.6, 0.02, 300.0, 0.0},
                                       {20.0, 0.0, 0.6, 0.02, 300.0, 0.0}};
  double v = 0.0;
  ASSERT_TRUE(lookupStrength(points, 5.0, StrengthColumn::Cohesion, v));
  EXPECT_DOUBLE_EQ(v, 3.0);
  // At the boundary: cohesion of the lower layer unless it has none; the other columns the mean
  // where both layers have a value.
  ASSERT_TRUE(lookupStrength(points, 10.0, StrengthColumn::Cohesion, v));
  EXPECT_DOUBLE_EQ(v, 4.0);
  ASSERT_TRUE(lookupStrength(points, 10.0, StrengthColumn::Friction, v));
  EXPECT_DOUBLE_EQ(v, 0.4);
  ASSERT_TRUE(lookupStrength(points, 10.0, StrengthColumn::Kpy, v));
  EXPECT_DOUBLE_EQ(v, 200.0);
  points[2].c = 6.0;
  points[1].phi = 0.0;
  ASSERT_TRUE(lookupStrength(points, 10.0, StrengthColumn::Cohesion, v));
  EXPECT_DOUBLE_EQ(v, 6.0);
  ASSERT_TRUE(lookupStrength(points, 10.0, StrengthColumn::Friction, v));
  EXPECT_DOUBLE_EQ(v, 0.6);
  ASSERT_TRUE(lookupStrength(points, 20.0, StrengthColumn::E50, v));
  EXPECT_DOUBLE_EQ(v, 0.02);
  EXPECT_FALSE(lookupStrength(points, 20.5, StrengthColumn::Cohesion, v));
}

TEST(PyCurvesLookups, AverageEffectiveUnitWeight) {
  const std::vector<UnitWeightPoint> points = {
      {0.0, 0.06}, {30.0, 0.06}, {30.0, 0.024}, {80.0, 0.024}};
  double v = 0.0;
  // (0.06 * 30 + 0.024 * 20) / 50.
  ASSERT_TRUE(lookupAverageUnitWeight(points, 50.0, v));
  EXPECT_NEAR(v, 0.0456, 1e-15);
  ASSERT_TRUE(lookupAverageUnitWeight(points, 0.0, v));
  EXPECT_DOUBLE_EQ(v, 0.06);
  ASSERT_TRUE(lookupAverageUnitWeight(points, 80.0, v));
  EXPECT_NEAR(v, (1.8 + 1.2) / 80.0, 1e-15);
  EXPECT_FALSE(lookupAverageUnitWeight(points, 81.0, v));
}

TEST(PyCurvesGeneration, BackfillOverburden) {
  RunState state;
  state.control.unitsFlag = 2;
  state.control.pressureOption = 2;
  state.soil.wall.freeHeight = 6.0;
  state.soil.wall.widthActive = 2.0;
  state.soil.wall.widthResistance = 1.0;
  state.soil.wall.waterBackfill = 8.0;
  state.soil.surface.uniformPressure = 10.0;
  state.soil.nLayers = 2;
  state.soil.layers[0] = layer(4, 0.0, 7.0, 18.0, 0.0, 32.0);
  state.soil.layers[1] = layer(4, 7.0, 15.0, 20.0, 0.0, 36.0);
  OutputFile unopened;
  CurveGeneration g(state, unopened);
  g.settings = curveSettingsFor(state);
  // 10 + 18 x 7 + 20 x 3 - 9.81 x 2: water is deducted in sand below the water table.
  EXPECT_NEAR(g.backfillOverburden(10.0), 176.38, 1e-12);
  // A clay layer carries its total weight below the water table.
  state.soil.layers[1].type = 1;
  EXPECT_NEAR(g.backfillOverburden(10.0), 196.0, 1e-12);
  try {
    g.backfillOverburden(16.0);
    ADD_FAILURE() << "no stop below the last layer";
  } catch (const GeneratorStop& stop) {
    EXPECT_EQ(stop.code(), 4);
  }
}

TEST(PyCurvesGeneration, ValueThatIsNotANumberStopsBeforeItIsWritten) {
  RunState state;
  state.control.unitsFlag = 2;
  state.soil.wall.freeHeight = 6.0;
  OutputFile unopened;
  CurveGeneration g(state, unopened);
  g.settings = curveSettingsFor(state);
  g.inputLayer = 1;
  const std::string expected =
      "     ERROR STOP -- THE P-Y CURVE AT X =  7.5000E+00 M OF SOIL LAYER 2 GETS A VALUE THAT IS "
      "NOT A NUMBER; CHECK THE DATA OF THAT LAYER";
  const auto stopText = [&](auto&& write) {
    try {
      write();
    } catch (const ErrorStop& stop) {
      return stop.lines().back();
    }
    return std::string("no stop");
  };
  g.beginCurve(1.5);
  SideCurve curve;
  for (int j = 0; j < kCurvePointsPerSide; ++j) curve.y[j] = curve.p[j] = j;
  curve.p[5] = std::nan("");
  const CurveSide side = g.side(1.5, true);
  EXPECT_EQ(stopText([&] { g.emitSide(side, curve, PointHeads::Plain); }), expected);
  curve.p[5] = 5.0;
  curve.y[16] = std::numeric_limits<double>::infinity();
  EXPECT_EQ(stopText([&] { g.emitSide(side, curve, PointHeads::Plain); }), expected);
  EXPECT_EQ(stopText([&] { g.writeHeading(true, {{"DIAM", "M", std::nan("")}}); }), expected);
  // Each stop comes before its point's record: 5 points of the first pass, 16 of the second.
  EXPECT_EQ(g.records.size(), 1u + 5u + 16u);
}

TEST(PyCurvesMultipliers, GroupFactorAndReductionTable) {
  const std::vector<ModificationFactor> none;
  // 0.64 (WA/WP)^0.34 between the ratios 1.1 and 3.75, below the excavation level only.
  EXPECT_NEAR(pMultiplierAt(150.0, 2.0, 120.0, none, 0), 0.8100842201, 1e-10);
  EXPECT_DOUBLE_EQ(pMultiplierAt(150.0, 1.05, 120.0, none, 0), 1.0);
  EXPECT_DOUBLE_EQ(pMultiplierAt(150.0, 3.75, 120.0, none, 0), 1.0);
  EXPECT_DOUBLE_EQ(pMultiplierAt(100.0, 2.0, 120.0, none, 0), 1.0);
  EXPECT_DOUBLE_EQ(yMultiplierAt(150.0, none), 1.0);

  const std::vector<ModificationFactor> rows = {{100.0, 1.0, 1.0},
                                                {200.0, 0.5, 2.0},
                                                {200.0, 0.6, 3.0},
                                                {300.0, 0.8, 1.0},
                                                {300.0, 0.9, 1.0}};
  EXPECT_DOUBLE_EQ(reductionTableFactor(rows, 50.0, true), 1.0);  // above the first DEPTH
  EXPECT_DOUBLE_EQ(reductionTableFactor(rows, 150.0, true), 0.75);
  EXPECT_DOUBLE_EQ(reductionTableFactor(rows, 200.0, true), 0.6);  // second of the pair
  EXPECT_NEAR(reductionTableFactor(rows, 250.0, true), 0.7, 1e-15);
  EXPECT_DOUBLE_EQ(reductionTableFactor(rows, 300.0, true), 0.8);  // first row of the last DEPTH
  EXPECT_DOUBLE_EQ(reductionTableFactor(rows, 350.0, true), 1.0);  // below the last DEPTH
  EXPECT_DOUBLE_EQ(reductionTableFactor(rows, 150.0, false), 1.5);
  EXPECT_DOUBLE_EQ(reductionTableFactor({{100.0, 0.5, 0.5}}, 100.0, true), 1.0);
  // The group factor joins the table only with the switch.
  EXPECT_DOUBLE_EQ(pMultiplierAt(150.0, 2.0, 120.0, rows, 0), 0.75);
  EXPECT_NEAR(pMultiplierAt(150.0, 2.0, 120.0, rows, 1), 0.75 * 0.8100842201, 1e-10);
}

TEST(PyCurvesExchange, PointRecordHasFourSignificantDigits) {
  EXPECT_EQ(exchangePointRecord(3, 123.456, -0.00123456), "    3  1.235E+02 -1.235E-03");
  EXPECT_EQ(exchangePointRecord(34, 0.0, 1.0e-120), "   34  0.000E+00  1.000-120");
}

ExchangeCurve numberedCurve() {
  ExchangeCurve c;
  c.depth = 243.0;
  c.count = 34;
  for (int i = 0; i < kExchangePairs; ++i) {
    c.p[i] = i + 1;  // pair number
    c.y[i] = 0.1 * (i + 1);
  }
  return c;
}

TEST(PyCurvesExchange, ThirtyThreePointMapping) {
  const TableCurve t = tableCurveFromExchange(numberedCurve(), 6.0);
  EXPECT_EQ(t.fromStation, 41);  // 243 / 6 = 40.5, rounded half away from zero
  EXPECT_EQ(t.toStation, 41);
  EXPECT_EQ(t.contd, 1);
  EXPECT_EQ(t.nPoints, 33);
  // Pairs 34 down to 18 at negative deflections, then pairs 2 to 17 with the reaction reversed.
  EXPECT_DOUBLE_EQ(t.y[0], -3.4);
  EXPECT_DOUBLE_EQ(t.p[0], 34.0);
  EXPECT_DOUBLE_EQ(t.y[16], -1.8);
  EXPECT_DOUBLE_EQ(t.p[16], 18.0);
  EXPECT_DOUBLE_EQ(t.y[17], 0.2);
  EXPECT_DOUBLE_EQ(t.p[17], -2.0);
  EXPECT_DOUBLE_EQ(t.y[32], 0.1 * 17);
  EXPECT_DOUBLE_EQ(t.p[32], -17.0);
}

TEST(PyCurvesExchange, GeneratedCurveKeepsItsEndValuesBeyondItsEndPoints) {
  // Weak rock, qa 500 psi, b 24 in, xr 24 in, krm 0.0005, Eir 50000 psi: pur = 28800 lb/in,
  // yrm = 0.012 in. The last point, 12 yrm, has (pur / 2) 12^0.25 = 26801.42 lb/in; the curve
  // would reach pur only at 16 yrm, and the extended segment from 8 yrm would give 31969 lb/in
  // at 20 yrm.
  WeakRockInput in;
  in.qa = 500.0;
  in.xr = 24.0;
  in.b = 24.0;
  in.krm = 0.0005;
  in.eir = 50000.0;
  const SideCurve side = weakRockCurve(in);
  ExchangeCurve c;
  c.depth = 300.0;
  c.count = kExchangePairs;
  for (int j = 0; j < kCurvePointsPerSide; ++j) {
    c.p[j] = c.p[j + kCurvePointsPerSide] = side.p[j];
    c.y[j] = c.y[j + kCurvePointsPerSide] = side.y[j];
  }
  const TableCurve t = tableCurveFromExchange(c, 6.0);
  const double last = 14400.0 * std::pow(12.0, 0.25);
  EXPECT_NEAR(last, 26801.42, 0.01);
  for (const double y : {0.24, 1.0e3}) {
    // Excavation side (p reversed) and backfill side (y mirrored).
    const LinearisedCurve ahead = lineariseCurve(t, y);
    EXPECT_DOUBLE_EQ(ahead.slope, 0.0);
    EXPECT_NEAR(ahead.reaction, -last, 1e-6 * last);
    EXPECT_NEAR(ahead.intercept, -last, 1e-6 * last);
    const LinearisedCurve behind = lineariseCurve(t, -y);
    EXPECT_DOUBLE_EQ(behind.slope, 0.0);
    EXPECT_NEAR(behind.reaction, last, 1e-6 * last);
  }
  // On the last point the segment below it holds: its reaction is the point's value.
  EXPECT_NEAR(lineariseCurve(t, 0.144).reaction, -last, 1e-6 * last);
  EXPECT_GT(lineariseCurve(t, 0.144).slope, 0.0);
}

TEST(PyCurvesExchange, RoundTripThroughTheFile) {
  const auto dir = testing::makeTempDir("pycurves");
  const std::string name = (dir / "curves.pyc").string();
  UserCurve user;
  user.station = 30;
  user.nPoints = 2;
  user.pScaled = {};
  user.pScaled[0] = 1.0 / 3.0;
  user.pScaled[1] = -2.5;
  user.yScaled[1] = 0.125;
  std::vector<std::string> records = {exchangeCurveRecord(240.1)};
  for (int j = 1; j <= kExchangePairs; ++j) {
    records.push_back(exchangePointRecord(j, 1234.5678 * j, 0.000123456 * j));
  }
  writeCurveExchangeFile(name, {user}, records, 1);
  const CurveFileContents back = readCurveExchangeFile(name, 1);
  EXPECT_EQ(back.count, 2);
  ASSERT_EQ(back.generated.size(), 1u);
  const ExchangeCurve& c = back.generated[0];
  EXPECT_DOUBLE_EQ(c.depth, 240.1);
  EXPECT_EQ(c.count, 34);
  EXPECT_DOUBLE_EQ(c.p[0], 1235.0);  // four significant digits
  EXPECT_DOUBLE_EQ(c.y[0], 1.235e-4);
  EXPECT_DOUBLE_EQ(c.p[33], 4.198e4);
  EXPECT_DOUBLE_EQ(c.y[33], 4.198e-3);
  std::filesystem::remove_all(dir);
}

TEST(PyCurvesExchange, CurveOutsideTheWallStopsBeforeAnyTableOrPlotLine) {
  // 60 increments of 6 in: generated curves may lie at stations 0 to 62 (X 0 to 372 in).
  const auto dir = testing::makeTempDir("pycurves");
  RunState state;
  state.control.unitsFlag = 1;
  state.wall.nIncrements = 60;
  state.wall.incrementLength = 6.0;
  state.driver.curveFileName = (dir / "curves.pyc").string();
  const auto fileWithCurveAt = [&](const std::string& depth) {
    std::ofstream f(state.driver.curveFileName);
    f << "           2\n";
    for (const std::string& x : {std::string("372.0"), depth}) {
      f << " " << x << " 34\n";
      for (int j = 1; j <= kExchangePairs; ++j) f << exchangePointRecord(j, 1.0, 0.01 * j) << "\n";
    }
  };
  const auto stopText = [&](const std::string& depth) {
    fileWithCurveAt(depth);
    OutputFile report, plot;
    const std::string plotName = (dir / "curves.plt").string();
    EXPECT_TRUE(plot.open(plotName));
    std::string text;
    try {
      takeOverGeneratedCurves(state, report, plot);
    } catch (const ErrorStop& stop) {
      text = stop.lines().back();
    }
    plot.close();
    EXPECT_TRUE(state.curves.generated.empty()) << depth;
    EXPECT_EQ(testing::readFile(plotName), "") << depth;
    return text;
  };
  EXPECT_EQ(stopText("-30.0"),
            "     ERROR STOP -- GENERATED P-Y CURVE 2 OF THE CURVE FILE, AT X = -2.5000E+00 FT, "
            "LIES ABOVE THE TOP OF THE WALL");
  EXPECT_EQ(stopText("375.0"),  // station 63 (62.5 rounded away from zero)
            "     ERROR STOP -- GENERATED P-Y CURVE 2 OF THE CURVE FILE, AT X =  3.1250E+01 FT, "
            "LIES BELOW STATION 62 (TWO INCREMENTS BELOW THE TIP)");
  // A depth beyond any plausible wall is refused (by the reader's magnitude check or by the
  // station check) before any curve reaches the table or the plot file.
  EXPECT_FALSE(stopText("1.0E+300").empty());
  // At the ends of the range the curves enter the table at stations 62 and 0.
  fileWithCurveAt("-2.9");
  OutputFile report, plot;
  takeOverGeneratedCurves(state, report, plot);
  ASSERT_EQ(state.curves.generated.size(), 2u);
  EXPECT_EQ(state.curves.generated[0].fromStation, 62);
  EXPECT_EQ(state.curves.generated[1].fromStation, 0);
  std::filesystem::remove_all(dir);
}

TEST(PyCurvesExchange, MoreThanFourHundredCurvesStopTheRun) {
  const auto dir = testing::makeTempDir("pycurves");
  const std::string name = (dir / "curves.pyc").string();
  { std::ofstream(name) << "         401\n"; }
  EXPECT_THROW(readCurveExchangeFile(name, 0), ErrorStop);
  { std::ofstream(name) << "           2\n 12.5 34\n    1 bad\n"; }
  EXPECT_THROW(readCurveExchangeFile(name, 0), ErrorStop);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korden

// The wall analysis against soil resistance curves: linearisation of a curve, distribution of the
// curves over the stations, the iteration with its closure, deflection and oscillation rules,
// the nonlinear flexural rigidity and the hinge model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "analysis/curves.h"
#include "analysis/flexural_rigidity.h"
#include "analysis/iteration.h"
#include "engine/errors.h"
#include "engine/single_precision.h"
#include "report/fortran_format.h"
#include "test_support.h"

namespace korden {
namespace {

using testing::countLines;
using testing::hasLine;
using testing::runInputText;

TableCurve curveOf(std::vector<std::pair<double, double>> points, int station = 0, int contd = 0) {
  TableCurve c;
  c.fromStation = c.toStation = station;
  c.contd = contd;
  c.nPoints = static_cast<int>(points.size());
  for (int j = 0; j < c.nPoints; ++j) {
    c.y[j] = points[j].first;
    c.p[j] = points[j].second;
  }
  return c;
}

// ------------------------------------------------------------------ linearisation of one curve

TEST(Linearisation, SegmentOfTheDeflectionWithTheBelowSegmentOnAPoint) {
  // p falls as y rises: slopes 10 (0..1), 4 (1..3), 1 (3..5).
  const TableCurve c = curveOf({{0.0, 0.0}, {1.0, -10.0}, {3.0, -18.0}, {5.0, -20.0}});
  // Below y(1): first segment.
  auto l = lineariseCurve(c, 0.5);
  EXPECT_DOUBLE_EQ(l.slope, 10.0);
  EXPECT_DOUBLE_EQ(l.intercept, 0.0);
  EXPECT_DOUBLE_EQ(l.reaction, -5.0);
  // Exactly on y(1) and on y(2): the segment below the point.
  EXPECT_DOUBLE_EQ(lineariseCurve(c, 1.0).slope, 10.0);
  EXPECT_DOUBLE_EQ(lineariseCurve(c, 3.0).slope, 4.0);
  // Just above a point: the segment above it; the intercept is the segment's value at y = 0.
  l = lineariseCurve(c, 1.5);
  EXPECT_DOUBLE_EQ(l.slope, 4.0);
  EXPECT_DOUBLE_EQ(l.intercept, -6.0);
  EXPECT_DOUBLE_EQ(l.reaction, -12.0);
  EXPECT_DOUBLE_EQ(lineariseCurve(c, 3.5).slope, 1.0);
}

TEST(Linearisation, DeflectionsOutsideTheCurveExtendTheEndSegments) {
  const TableCurve c = curveOf({{-2.0, 20.0}, {0.0, 0.0}, {1.0, -10.0}, {3.0, -12.0}});
  // Past the last point: the last segment (slope 1) goes on, without capping.
  auto l = lineariseCurve(c, 13.0);
  EXPECT_DOUBLE_EQ(l.slope, 1.0);
  EXPECT_DOUBLE_EQ(l.intercept, -9.0);
  EXPECT_DOUBLE_EQ(l.reaction, -22.0);
  // Below the first point: the first segment (slope 10).
  l = lineariseCurve(c, -4.0);
  EXPECT_DOUBLE_EQ(l.slope, 10.0);
  EXPECT_DOUBLE_EQ(l.reaction, 40.0);
  // A two-point curve always uses its only segment.
  const TableCurve two = curveOf({{-1.0, 50.0}, {1.0, -50.0}});
  EXPECT_DOUBLE_EQ(lineariseCurve(two, 7.0).reaction, -350.0);
}

TEST(Linearisation, DegenerateCurvesGiveNothing) {
  const auto zero = [](const LinearisedCurve& l) {
    return l.slope == 0.0 && l.intercept == 0.0 && l.reaction == 0.0;
  };
  EXPECT_TRUE(zero(lineariseCurve(curveOf({{1.0, 5.0}, {1.0, 9.0}}), 1.0)));
  EXPECT_TRUE(zero(lineariseCurve(curveOf({{1.0, 5.0}}), 1.0)));
}

// ------------------------------------------------------------------ distribution over stations

// A grid of 10 increments of 1.0 with every curve linear through the origin: the spring of a
// curve "k" is k, so the interpolated springs are easy to state.
struct DistributionFixture : ::testing::Test {
  RunState state;
  void SetUp() override { buildGrid(state.grid, 10, 1.0); }
  void add(int station, double k, int contd) {
    state.curves.table.push_back(curveOf({{-1.0, k}, {1.0, -k}}, station, contd));
  }
  double S(int station) const { return state.grid.S(station); }
};

TEST_F(DistributionFixture, AloneEntryAddsItsSpringOnceAtItsStation) {
  add(4, 7.0, 0);
  ASSERT_TRUE(distributeCurves(state));
  EXPECT_DOUBLE_EQ(S(4), 7.0);
  EXPECT_DOUBLE_EQ(S(3) + S(5), 0.0);
}

TEST_F(DistributionFixture, ContinuedPairInterpolatesWithHalfSharesAtTheEnds) {
  add(2, 2.0, 1);
  add(6, 6.0, 0);
  add(8, 8.0, 0);  // the paired entry (6) is consumed; this one stands alone
  ASSERT_TRUE(distributeCurves(state));
  EXPECT_DOUBLE_EQ(S(2), 1.0);
  for (int j = 3; j <= 5; ++j) EXPECT_DOUBLE_EQ(S(j), j) << j;
  EXPECT_DOUBLE_EQ(S(6), 3.0);
  EXPECT_DOUBLE_EQ(S(7), 0.0);
  EXPECT_DOUBLE_EQ(S(8), 8.0);
}

TEST_F(DistributionFixture, ChainedSpansShareAFullStationAndTheLastContinuedEntryStartsNothing) {
  add(2, 2.0, 1);
  add(6, 6.0, 1);
  add(8, 8.0, 1);  // continued, but the last entry of the table
  ASSERT_TRUE(distributeCurves(state));
  EXPECT_DOUBLE_EQ(S(2), 1.0);
  EXPECT_DOUBLE_EQ(S(6), 6.0);
  EXPECT_DOUBLE_EQ(S(7), 7.0);
  EXPECT_DOUBLE_EQ(S(8), 4.0);
  EXPECT_DOUBLE_EQ(S(9), 0.0);
}

TEST_F(DistributionFixture, SpanPastTheTipIsCutAtNWithTheHalfShareThere) {
  add(8, 8.0, 1);
  add(14, 14.0, 0);
  ASSERT_TRUE(distributeCurves(state));
  EXPECT_DOUBLE_EQ(S(8), 4.0);
  EXPECT_DOUBLE_EQ(S(9), 9.0);   // interpolated over the full span of 6 increments
  EXPECT_DOUBLE_EQ(S(10), 5.0);  // the clipped end takes half of its interpolated value
  EXPECT_DOUBLE_EQ(S(11), 0.0);
}

TEST_F(DistributionFixture, SpansStartingAtOrBelowTheTipAndEmptyPairsAddNothing) {
  add(10, 5.0, 1);
  add(12, 5.0, 0);  // a span of non-zero length from station N
  add(4, 3.0, 1);
  add(4, 3.0, 0);   // a continued pair of zero length
  add(11, 9.0, 0);  // a single station below N
  ASSERT_TRUE(distributeCurves(state));
  for (int j = -1; j <= 11; ++j) EXPECT_DOUBLE_EQ(S(j), 0.0) << j;
  state.curves.table.clear();
  add(10, 5.0, 0);  // a single station at N counts in full
  ASSERT_TRUE(distributeCurves(state));
  EXPECT_DOUBLE_EQ(S(10), 5.0);
}

TEST_F(DistributionFixture, UpwardSpanStopsAndNegativeContdAbandons) {
  add(6, 6.0, 1);
  add(4, 4.0, 0);
  try {
    distributeCurves(state);
    FAIL() << "an upward span must stop the run";
  } catch (const ErrorStop& stop) {
    EXPECT_EQ(stop.lines().back(), "     ERROR STOP -- STATIONS NOT IN ORDER");
  }
  state.curves.table.clear();
  add(4, 4.0, -1);
  EXPECT_FALSE(distributeCurves(state));
}

TEST_F(DistributionFixture, SpanAboveStationMinusOneStopsAndFarEndsAreInterpolated) {
  add(-2, 2.0, 0);
  try {
    distributeCurves(state);
    FAIL() << "a span above the top of the wall must stop the run";
  } catch (const ErrorStop& stop) {
    EXPECT_EQ(stop.lines().back(),
              "     ERROR STOP -- P-Y CURVE 1 OF THE CURVE TABLE STARTS A SPAN AT STATION -2 (TO "
              "STATION -2), ABOVE THE TOP OF THE WALL");
  }
  // A span from station -1 to a station far below the tip: the fraction (j + 1) / (to + 1) is
  // formed without overflow, so every station keeps the start curve's spring 4 (to 1e-8).
  state.curves.table.clear();
  add(-1, 4.0, 1);
  add(std::numeric_limits<int>::max(), 6.0, 0);
  ASSERT_TRUE(distributeCurves(state));
  EXPECT_NEAR(S(-1), 2.0, 1e-8);
  for (int j = 0; j <= 9; ++j) EXPECT_NEAR(S(j), 4.0, 1e-8) << j;
  EXPECT_NEAR(S(10), 2.0, 1e-8);
}

TEST_F(DistributionFixture, EveryCallStartsFromTheBaseValuesAndReactionIsPerUnitLength) {
  buildGrid(state.grid, 10, 2.0);
  state.analysis.baseQ(5) = 100.0;
  state.analysis.baseS(5) = 1.0;
  add(5, 6.0, 0);
  state.grid.y(5) = 0.5;
  ASSERT_TRUE(distributeCurves(state));
  ASSERT_TRUE(distributeCurves(state));
  EXPECT_DOUBLE_EQ(state.grid.S(5), 7.0);
  EXPECT_DOUBLE_EQ(state.grid.Q(5), 100.0);
  // Reaction -3 per station at y = 0.5, divided by h = 2.
  EXPECT_DOUBLE_EQ(state.analysis.soilReaction(5), -1.5);
}

TEST(CurveTable, UserCurvesArePlacedAtTheirStationWithPointsScaled) {
  RunState state;
  state.wall.incrementLength = 6.0;
  UserCurve above, below;
  above.station = 10;
  above.belowExcavation = 0;
  below.station = 30;
  below.belowExcavation = 1;
  for (UserCurve* u : {&above, &below}) {
    u->nPoints = 2;
    u->yScaled = {0.0, 2.0};
    u->pScaled = {0.0, -5.0};
  }
  state.curves.userCurves = {above, below};
  fillCurveTable(state);
  ASSERT_EQ(state.curves.table.size(), 2u);
  const TableCurve& t = state.curves.table[1];
  EXPECT_EQ(t.fromStation, 30);
  EXPECT_EQ(t.toStation, 30);
  EXPECT_EQ(t.contd, 1);
  EXPECT_EQ(state.curves.table[0].contd, 0);
  EXPECT_DOUBLE_EQ(t.y[1], 2.0);
  EXPECT_DOUBLE_EQ(t.p[1], -30.0);  // p times h
  state.curves.userCurves.assign(kMaxTableCurves + 1, below);
  EXPECT_THROW(fillCurveTable(state), ErrorStop);
}

// ------------------------------------------------------------------ relaxation factors

TEST(RelaxationFactor, RunsThroughTheBandsAndNeverExceedsOne) {
  EXPECT_DOUBLE_EQ(relaxationFactor(0), 0.5);
  EXPECT_DOUBLE_EQ(relaxationFactor(1), 0.25);
  EXPECT_DOUBLE_EQ(relaxationFactor(2), 0.75);
  const double eighths[] = {1.0 / 8, 3.0 / 8, 5.0 / 8, 7.0 / 8};
  for (int c = 3; c <= 6; ++c) EXPECT_DOUBLE_EQ(relaxationFactor(c), eighths[c - 3]) << c;
  EXPECT_DOUBLE_EQ(relaxationFactor(7), 1.0 / 16);
  EXPECT_DOUBLE_EQ(relaxationFactor(14), 15.0 / 16);
  EXPECT_DOUBLE_EQ(relaxationFactor(15), 1.0 / 32);
  EXPECT_DOUBLE_EQ(relaxationFactor(63), 1.0 / 128);
  EXPECT_DOUBLE_EQ(relaxationFactor(126), 127.0 / 128);
  for (int c = 0; c <= 1000; ++c) {
    EXPECT_GT(relaxationFactor(c), 0.0) << c;
    EXPECT_LE(relaxationFactor(c), 1.0) << c;
  }
}

// ------------------------------------------------------------------ nonlinear flexural rigidity

MomentCurvatureSet tableOf(std::vector<std::pair<double, double>> curvatureMoment) {
  MomentCurvatureSet t;
  t.nPoints = static_cast<int>(curvatureMoment.size());
  for (int k = 0; k < t.nPoints; ++k) {
    t.curvature[k] = curvatureMoment[k].first;
    t.moment[k] = curvatureMoment[k].second;
  }
  return t;
}

TEST(SecantRigidity, InitialSlopeThresholdInterpolationAndBeyondTheLastPoint) {
  // A first point off the origin makes the initial slope M2/phi2 differ from the interpolation.
  const MomentCurvatureSet t = tableOf({{0.0, 1000.0}, {1.0e-5, 2000.0}, {3.0e-5, 2400.0}});
  double ei = 0.0;
  ASSERT_TRUE(secantRigidity(t, 0.0, ei));
  EXPECT_DOUBLE_EQ(ei, 2.0e8);
  // The threshold is 1.0E-8 held in single precision, a little below 1.0e-8.
  ASSERT_TRUE(secantRigidity(t, kOneEMinus8Single, ei));
  EXPECT_DOUBLE_EQ(ei, 2.0e8);
  ASSERT_TRUE(secantRigidity(t, 1.0e-8, ei));
  EXPECT_NEAR(ei, (1000.0 + 1.0e-8 * 1.0e8) / 1.0e-8, 1.0);
  // Between points and on a point.
  ASSERT_TRUE(secantRigidity(t, 2.0e-5, ei));
  EXPECT_DOUBLE_EQ(ei, 2200.0 / 2.0e-5);
  ASSERT_TRUE(secantRigidity(t, 1.0e-5, ei));
  EXPECT_DOUBLE_EQ(ei, 2000.0 / 1.0e-5);
  // Beyond the last point the moment stays at its last value: Mn/phi, falling with phi.
  ASSERT_TRUE(secantRigidity(t, 6.0e-5, ei));
  EXPECT_DOUBLE_EQ(ei, 2400.0 / 6.0e-5);
  double further = 0.0;
  ASSERT_TRUE(secantRigidity(t, 1.2e-4, further));
  EXPECT_DOUBLE_EQ(further, ei / 2.0);
  EXPECT_FALSE(secantRigidity(tableOf({{1.0, 1.0}}), 0.5, ei));
}

// An English wall of 40 increments of h with the given wall sections.
struct RigidityFixture : ::testing::Test {
  RunState state;
  void grid(double h, int n = 40) { buildGrid(state.grid, n, h); }
  void elastic(double top, double bottom) {
    CrossSection x;
    x.eiTop = top;
    x.eiBottom = bottom;
    x.aTop[0] = 24.0;  // equivalent diameter
    state.sections.crossSections.push_back(x);
  }
  void section(double top, double bottom, int number) {
    state.sections.wallSections.push_back({top, bottom, number});
  }
};

TEST_F(RigidityFixture, BoundaryStationsTakeTheUpperSectionAndTaperedSectionsInterpolate) {
  // h = 4.2 in: station 20 lies at 7 ft exactly when formed as 20 * 4.2 / 12.
  grid(4.2);
  elastic(100.0, 100.0);
  elastic(200.0, 300.0);
  section(0.0, 7.0, 1);
  section(7.0, 14.0, 2);
  updateFlexuralRigidity(state, false);
  EXPECT_DOUBLE_EQ(state.grid.EI(0), 100.0);
  EXPECT_DOUBLE_EQ(state.grid.EI(20), 100.0);
  EXPECT_DOUBLE_EQ(state.grid.EI(30), 250.0);
  EXPECT_DOUBLE_EQ(state.grid.EI(40), 300.0);
}

TEST_F(RigidityFixture, StationsAboveTheFirstSectionTakeItsTopValueAndFictitiousStationsNone) {
  grid(6.0);
  elastic(100.0, 500.0);
  section(5.0, 30.0, 1);  // starts below the top and reaches past the tip (20 ft)
  addRange(state.grid.EI, 0, 60, 100.0, 100.0);
  updateFlexuralRigidity(state, false);
  EXPECT_DOUBLE_EQ(state.grid.EI(0), 100.0);
  EXPECT_DOUBLE_EQ(state.grid.EI(10), 100.0);
  EXPECT_DOUBLE_EQ(state.grid.EI(40), 100.0 + 15.0 * 400.0 / 25.0);
  for (int i : {-3, -1, 41, 42, 60}) EXPECT_DOUBLE_EQ(state.grid.EI(i), 0.0) << i;
}

TEST_F(RigidityFixture, NonlinearSectionUsesTheCurvatureOfTheCurrentDeflections) {
  grid(10.0, 20);
  CrossSection x;
  x.header[3] = 1;
  x.sectionType = 10;
  state.sections.crossSections.push_back(x);
  state.sections.userSets.push_back(tableOf({{0.0, 0.0}, {1.0e-4, 1.0e6}, {1.0e-3, 2.0e6}}));
  section(0.0, 50.0, 1);
  updateFlexuralRigidity(state, false);
  EXPECT_DOUBLE_EQ(state.grid.EI(5), 1.0e10);  // zero deflection: the initial slope
  // A kink at station 10 with curvature 2 * 0.025 / 100 = 5.0e-4, between the second and third
  // points; its neighbours see 2.5e-4.
  state.grid.y(10) = 0.025;
  updateFlexuralRigidity(state, false);
  EXPECT_DOUBLE_EQ(state.grid.EI(10), (1.0e6 + 4.0e-4 * 1.0e6 / 9.0e-4) / 5.0e-4);
  EXPECT_DOUBLE_EQ(state.grid.EI(9), (1.0e6 + 1.5e-4 * 1.0e6 / 9.0e-4) / 2.5e-4);
  // Ten times the kink: 5.0e-3, beyond the last point.
  state.grid.y(10) = 0.25;
  updateFlexuralRigidity(state, false);
  EXPECT_DOUBLE_EQ(state.grid.EI(10), 2.0e6 / 5.0e-3);
}

TEST_F(RigidityFixture, WidthScalingOnlyAfterAnIterationAndTimesAThousandInSI) {
  grid(6.0);
  elastic(100.0, 100.0);
  section(0.0, 20.0, 1);
  state.wall.sectionAdjustFlag = 1;
  state.soil.wall.widthActive = 36.0;
  updateFlexuralRigidity(state, false);
  EXPECT_DOUBLE_EQ(state.grid.EI(7), 100.0);
  updateFlexuralRigidity(state, true);
  EXPECT_DOUBLE_EQ(state.grid.EI(7), 150.0);  // times WA / diameter = 36 / 24
  updateFlexuralRigidity(state, true);
  EXPECT_DOUBLE_EQ(state.grid.EI(7), 150.0);  // recomputed, not compounded
  state.control.unitsFlag = 2;
  buildGrid(state.grid, 40, 0.5);
  updateFlexuralRigidity(state, true);
  EXPECT_DOUBLE_EQ(state.grid.EI(7), 150000.0);
  state.wall.sectionAdjustFlag = 0;
  updateFlexuralRigidity(state, true);
  EXPECT_DOUBLE_EQ(state.grid.EI(7), 100.0);
}

TEST_F(RigidityFixture, WidthScalingNeedsWidthAndDiameter) {
  grid(6.0);
  elastic(100.0, 100.0);
  section(0.0, 20.0, 1);
  state.wall.sectionAdjustFlag = 1;
  EXPECT_THROW(updateFlexuralRigidity(state, true), ErrorStop);  // WA never given
  state.soil.wall.widthActive = 36.0;
  state.sections.crossSections[0].aTop[0] = 0.0;
  EXPECT_THROW(updateFlexuralRigidity(state, true), ErrorStop);
}

TEST_F(RigidityFixture, NonlinearSectionWithoutATableIsNotScaledAgainAndAgain) {
  grid(6.0);
  CrossSection x;
  x.header[3] = 1;
  x.sectionType = 3;  // no generated set
  x.aTop[0] = 24.0;
  state.sections.crossSections.push_back(x);
  section(0.0, 20.0, 1);
  state.wall.sectionAdjustFlag = 1;
  state.soil.wall.widthActive = 48.0;
  state.grid.EI(7) = 100.0;
  updateFlexuralRigidity(state, true);
  updateFlexuralRigidity(state, true);
  EXPECT_DOUBLE_EQ(state.grid.EI(7), 100.0);
}

TEST(HingeModel, ZeroesEverySupportButTheFirstOfEachKind) {
  RunState state;
  buildGrid(state.grid, 40, 6.0);
  state.grid.EI.fill(5.0);
  Support s;
  for (int station : {5, 12}) {
    s.station = station;
    state.loads.tieBacks.push_back(s);
  }
  for (int station : {20, 30}) {
    s.station = station;
    state.loads.struts.push_back(s);
  }
  applyHingeModel(state);
  EXPECT_DOUBLE_EQ(state.grid.EI(12), 5.0);  // hinge flag not set
  state.control.hingeFlag = 1;
  applyHingeModel(state);
  EXPECT_DOUBLE_EQ(state.grid.EI(5), 5.0);
  EXPECT_DOUBLE_EQ(state.grid.EI(12), 0.0);
  EXPECT_DOUBLE_EQ(state.grid.EI(20), 5.0);
  EXPECT_DOUBLE_EQ(state.grid.EI(30), 0.0);
}

// ------------------------------------------------------------------ whole runs of the iteration

// An English wall: 40 increments of 6 in (20 ft), EI = 2.9e9 lb-in^2, a 12-in strip, cut at
// 10 ft (station 20). Records are given as text lines.
struct Wall {
  int n = 40;
  double tolerance = 1.0e-4;
  double allowable = 10.0;
  int maxIterations = 100;
  int stages = 1;
  int code = 0;
  std::vector<std::string> specified, loads, restraints, curves;
  int nCurves = 0;

  std::string text() const {
    std::string t = "TEST WALL\n";
    t += "1 " + std::to_string(specified.size()) + " 1 1 0 0 0 " + std::to_string(nCurves) + " " +
         std::to_string(stages) + " 0 0 0 0 0 0\n";
    t += std::to_string(n) + " 6.0 " + std::to_string(allowable) + " " + std::to_string(tolerance) +
         " 120.0 12.0 240.0 " + std::to_string(maxIterations) + " 0 0 0\n";
    for (const auto& s : specified) t += s + "\n";
    t += "0.0 " + std::to_string(n / 2.0) +
         " 1\n1 1 0 0\nSECTION\n0 0 0 0 0 0 0 0\n"
         "0 0 0 100.0 0 0 0 0 29000000.0 0 0 0\n0 0 0.0 0 0 0 0 0 0\nSECTION\n0 0\n";
    t += std::to_string(loads.size()) + "\n";
    for (const auto& l : loads) t += l + "\n";
    t += std::to_string(restraints.size()) + "\n";
    for (const auto& r : restraints) t += r + "\n";
    for (const auto& c : curves) t += c + "\n";
    return t + std::to_string(code) + "\n";
  }
  // A linear curve through the origin: p = -k y (per unit length) at the station.
  void linearCurve(int station, double k) {
    curves.push_back(std::to_string(station) + " 2 1.0 1.0\n-1.0 " + std::to_string(k) + "\n1.0 " +
                     std::to_string(-k));
    ++nCurves;
  }
  // A resisting curve with a plateau at pu beyond y = 0.1 in.
  void plateauCurve(int station, double k, double pu) {
    curves.push_back(std::to_string(station) + " 5 1.0 1.0\n-10.0 " + std::to_string(pu) +
                     "\n-0.1 " + std::to_string(pu) + "\n0.0 0.0\n" + "0.1 " +
                     std::to_string(-std::min(pu, 0.1 * k)) + "\n10.0 " + std::to_string(-pu));
    ++nCurves;
  }
};

bool hasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
  for (const auto& l : lines) {
    if (l.rfind(start, 0) == 0) return true;
  }
  return false;
}

const char* const kExceeded = "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***";

// The rows of the results table as text, keyed by station.
std::vector<std::string> resultRows(const std::vector<std::string>& lines) {
  std::vector<std::string> rows;
  bool inside = false;
  for (const auto& l : lines) {
    if (l.rfind("   ------    ----", 0) == 0) {
      inside = true;
      continue;
    }
    if (inside && l.empty()) break;
    if (inside) rows.push_back(l);
  }
  return rows;
}

// The rows of the iteration monitoring table.
std::vector<std::string> monitoringRows(const std::vector<std::string>& aux) {
  std::vector<std::string> rows;
  bool inside = false;
  for (const auto& l : aux) {
    if (l.rfind("    ----    ---------", 0) == 0) {
      inside = true;
      continue;
    }
    if (inside && l.empty()) break;
    if (inside) rows.push_back(l);
  }
  return rows;
}

TEST(Iteration, LinearCurvesGiveTheLinearSolutionWithEquivalentSpringsInThreeIterations) {
  Wall curves;
  curves.loads = {"1 0 0 500.0 0.0 0.0"};
  for (int s = 20; s <= 40; s += 4) curves.linearCurve(s, 200.0);
  Wall springs = curves;
  springs.curves.clear();
  springs.nCurves = 0;
  springs.restraints = {"20 40 1 1200.0 0.0"};  // k times h, half shares at the range's ends
  const auto withCurves = runInputText(curves.text());
  const auto withSprings = runInputText(springs.text());
  EXPECT_TRUE(hasLine(withCurves.reportLines, "     NUMBER OF ITERATIONS :   3"));
  const auto monitor = monitoringRows(withCurves.auxLines);
  ASSERT_EQ(monitor.size(), 3u);
  EXPECT_EQ(monitor[1].substr(13, 4), "   0");  // nothing changed, yet the loop went on
  const auto a = resultRows(withCurves.reportLines);
  const auto b = resultRows(withSprings.reportLines);
  ASSERT_EQ(a.size(), 41u);
  ASSERT_EQ(b.size(), 41u);
  for (size_t i = 0; i < a.size(); ++i) {
    // Station, X, deflection, slope, moment, shear identical; net force and EI too.
    EXPECT_EQ(a[i].substr(0, 66), b[i].substr(0, 66)) << i;
    EXPECT_EQ(a[i].substr(78), b[i].substr(78)) << i;
    // The soil reaction is the spring force per unit length: -k y, half at the chain's ends.
    const double y = std::stod(a[i].substr(18, 12));
    const double soil = std::stod(a[i].substr(66, 12));
    const double weight = (i == 20 || i == 40) ? 0.5 : (i > 20 ? 1.0 : 0.0);
    EXPECT_NEAR(soil, -200.0 * y * weight, 1.0e-3 * std::fabs(200.0 * y) + 1.0e-12) << i;
  }
}

// All stations 0..10 of a short wall held at a deflection d by specified deflections, one
// iteration allowed: the change from zero is exactly d.
Wall heldWall(const std::string& d) {
  Wall w;
  w.n = 10;
  w.maxIterations = 1;
  for (int s = 0; s <= 10; ++s) w.specified.push_back("1 " + std::to_string(s) + " " + d + " 0.0");
  return w;
}

TEST(Iteration, ChangeEqualToTheToleranceDoesNotCount) {
  Wall w = heldWall("0.001");
  w.tolerance = 0.001;
  auto r = runInputText(w.text());
  EXPECT_TRUE(hasLine(r.reportLines, "     NUMBER OF ITERATIONS :   1"));
  EXPECT_EQ(resultRows(r.reportLines).size(), 11u);
  w.tolerance = 0.000999;
  r = runInputText(w.text());
  EXPECT_TRUE(
      hasLine(r.reportLines, "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED TOLERANCE *****"));
  EXPECT_TRUE(resultRows(r.reportLines).empty());
}

TEST(Iteration, DeflectionEqualToTheAllowableDoesNotCount) {
  Wall w = heldWall("0.5");
  w.tolerance = 1.0;
  w.allowable = 0.5;
  auto r = runInputText(w.text());
  EXPECT_EQ(resultRows(r.reportLines).size(), 11u);
  w.allowable = 0.4999;
  r = runInputText(w.text());
  const std::string message =
      "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  11  *** STATIONS *****";
  EXPECT_TRUE(hasLine(r.reportLines, message));
  EXPECT_TRUE(hasLine(r.auxLines, message));
  EXPECT_TRUE(hasLine(r.reportLines, "     NUMBER OF ITERATIONS :   1"));
  EXPECT_TRUE(resultRows(r.reportLines).empty());
}

// The cantilever of four plateau curves whose iterates swap between two states until the
// relaxation from the 41st iteration on settles them.
std::string oscillatingCantilever(int maxIterations) {
  std::string t =
      "CANTILEVER SHEET-PILE WALL ON USER P-Y CURVES\n"
      "1 0 1 1 0 0 1 4 0 0 0 0 0 0 0\n"
      "60 6.0 10.0 0.0001 144.0 12.0 360.0 " +
      std::to_string(maxIterations) +
      " 0 0 0\n"
      "0.0 30.0 1\n1 1 0 0\nPZ27\n0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
      "0.0 0.0 0.0 184.2 0.0 0.0 0.0 0.0 29000000.0 0.0 0.0 0\n0 0 0.0 0 0 0 0 0 0\nPZ27\n0 0\n"
      "2\n2 0 24 0.0 0.0 0.0\n1 0 24 240.0 0.0 0.0\n0\n";
  const int stations[] = {24, 36, 48, 60};
  const double back[] = {0.0, 100.0, 200.0, 300.0}, early[] = {20.0, 200.0, 400.0, 600.0},
               ultimate[] = {40.0, 500.0, 1000.0, 1500.0};
  for (int k = 0; k < 4; ++k) {
    t += std::to_string(stations[k]) + " 5 1.0 1.0\n-1.0 " + std::to_string(back[k]) +
         "\n0.0 0.0\n0.1 " + std::to_string(-early[k]) + "\n1.0 " + std::to_string(-ultimate[k]) +
         "\n10.0 " + std::to_string(-ultimate[k]) + "\n";
  }
  return t + "0\n";
}

TEST(Iteration, TwoCycleOscillationIsRelaxedFromTheFortyFirstIterationAndCloses) {
  const auto r = runInputText(oscillatingCantilever(100));
  const auto rows = monitoringRows(r.auxLines);
  ASSERT_GT(rows.size(), 42u);
  // Up to the 41st iteration the deflections swap between two states.
  EXPECT_EQ(rows[40].substr(17), rows[38].substr(17));
  EXPECT_EQ(rows[39].substr(17), rows[37].substr(17));
  // The relaxed iteration leaves the cycle and the loop closes.
  EXPECT_NE(rows[41].substr(35), rows[39].substr(35));
  EXPECT_EQ(rows.back().substr(13, 4), "   0");
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     NUMBER OF ITERATIONS : " + fmt::I(static_cast<int>(rows.size()), 3)));
  EXPECT_EQ(resultRows(r.reportLines).size(), 61u);
  // Without the iterations after the 41st the same wall does not close.
  const auto limited = runInputText(oscillatingCantilever(41));
  EXPECT_TRUE(
      hasLine(limited.reportLines, "     ***** MAXIMUM NUMBER OF ITERATIONS  REACHED *****"));
  EXPECT_TRUE(hasLine(limited.reportLines, "     NUMBER OF ITERATIONS :  41"));
}

TEST(Iteration, ZeroIterationsMeansOneLinearSolveWithoutChecks) {
  Wall w;
  w.maxIterations = 0;
  w.allowable = 1.0e-6;  // exceeded, but not checked
  w.loads = {"1 0 0 500.0 0.0 0.0"};
  for (int s = 20; s <= 40; s += 4) w.plateauCurve(s, 500.0, 30.0);
  const auto r = runInputText(w.text());
  EXPECT_TRUE(hasLine(r.reportLines, "     NUMBER OF ITERATIONS :   0"));
  EXPECT_EQ(resultRows(r.reportLines).size(), 41u);
  EXPECT_TRUE(monitoringRows(r.auxLines).empty());
  EXPECT_TRUE(hasLine(r.auxLines, std::string(20, ' ')));
  EXPECT_FALSE(hasLineStarting(r.reportLines, kExceeded));
}

TEST(Iteration, FailedCasesWriteTheirMessagesToBothFilesAndNoResults) {
  Wall w;
  w.loads = {"1 0 0 500.0 0.0 0.0"};
  for (int s = 20; s <= 40; s += 4) w.plateauCurve(s, 500.0, 30.0);
  w.maxIterations = 2;
  auto r = runInputText(w.text());
  for (const auto* lines : {&r.reportLines, &r.auxLines}) {
    EXPECT_TRUE(hasLine(*lines, "     ***** MAXIMUM NUMBER OF ITERATIONS  REACHED *****"));
    EXPECT_TRUE(hasLine(*lines, "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED TOLERANCE *****"));
  }
  EXPECT_TRUE(hasLine(r.reportLines, "     NUMBER OF ITERATIONS :   2"));
  EXPECT_EQ(countLines(r.reportLines, "     RESULTS"), 1);
  EXPECT_TRUE(resultRows(r.reportLines).empty());
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");

  w.maxIterations = 100;
  w.allowable = 0.01;
  r = runInputText(w.text());
  const auto rows = monitoringRows(r.auxLines);
  ASSERT_EQ(rows.size(), 1u);  // the first solve is already over the limit
  EXPECT_TRUE(hasLineStarting(r.reportLines, kExceeded));
  EXPECT_TRUE(hasLineStarting(r.auxLines, kExceeded));
  EXPECT_TRUE(resultRows(r.reportLines).empty());
}

TEST(Iteration, IterationLimitOutsideZeroToTenThousandAndToleranceNotPositiveStopTheRun) {
  Wall w;
  w.loads = {"1 0 0 500.0 0.0 0.0"};
  for (int s = 20; s <= 40; s += 4) w.plateauCurve(s, 500.0, 30.0);
  const std::string record = "     ERROR STOP -- THE WALL RECORD AT LINE 3";
  for (int limit : {-1, 10001, 2000000000}) {
    w.maxIterations = limit;
    const auto r = runInputText(w.text());
    EXPECT_TRUE(hasLine(r.reportLines, record +
                                           ", FIELD 8: THE MAXIMUM NUMBER OF ITERATIONS MUST BE 0 "
                                           "TO 10000, NOT " +
                                           std::to_string(limit)))
        << limit;
    EXPECT_TRUE(monitoringRows(r.auxLines).empty());
    EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
  }
  w.maxIterations = 10000;  // the bound itself is accepted
  EXPECT_EQ(countLines(runInputText(w.text()).reportLines, "     RESULTS"), 1);
  for (double tolerance : {0.0, -0.001}) {
    w.tolerance = tolerance;
    const auto r = runInputText(w.text());
    EXPECT_TRUE(hasLineStarting(
        r.reportLines,
        record + ", FIELD 4: THE DEFLECTION CLOSURE TOLERANCE MUST BE GREATER THAN 0"))
        << tolerance;
    EXPECT_EQ(countLines(r.reportLines, "     RESULTS"), 0);
  }
}

}  // namespace
}  // namespace korden

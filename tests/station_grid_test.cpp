#include "analysis/station_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "engine/errors.h"

namespace korden {
namespace {

// The text line of an input error stop (the last line, after the blank lines).
template <typename F>
std::string stopText(F&& action) {
  try {
    action();
  } catch (const ErrorStop& stop) {
    for (auto it = stop.lines().rbegin(); it != stop.lines().rend(); ++it) {
      if (!it->empty()) return *it;
    }
    return "(blank stop)";
  }
  return "(no stop)";
}

const char* kNotInOrder = "     ERROR STOP -- STATIONS NOT IN ORDER";

TEST(RangeDistribution, RangesMeetingAtAStationGiveTheMeanThere) {
  StationTable q;
  addRange(q, 0, 10, 100.0, 100.0);
  addRange(q, 10, 20, 200.0, 200.0);
  EXPECT_DOUBLE_EQ(q(0), 50.0);
  EXPECT_DOUBLE_EQ(q(9), 100.0);
  EXPECT_DOUBLE_EQ(q(10), 150.0);
  EXPECT_DOUBLE_EQ(q(11), 200.0);
  EXPECT_DOUBLE_EQ(q(20), 100.0);
  EXPECT_DOUBLE_EQ(q(21), 0.0);
  EXPECT_DOUBLE_EQ(q(-1), 0.0);
}

TEST(RangeDistribution, OneStationRangeAddsOnceAndLinearRangeInterpolates) {
  StationTable t;
  addRange(t, 5, 5, 7.0, 99.0);  // the end value of a one-station range plays no part
  EXPECT_DOUBLE_EQ(t(5), 7.0);
  EXPECT_DOUBLE_EQ(t(4), 0.0);
  EXPECT_DOUBLE_EQ(t(6), 0.0);

  StationTable u;
  addRange(u, -2, 2, 10.0, 50.0);
  const double expected[] = {5.0, 20.0, 30.0, 40.0, 25.0};
  for (int j = -2; j <= 2; ++j) EXPECT_DOUBLE_EQ(u(j), expected[j + 2]) << "station " << j;
  // The trapezoid rule: total = h-sum of the linear function over the range (mean 30 x 4).
  double total = 0.0;
  for (int j = -3; j <= 3; ++j) total += u(j);
  EXPECT_DOUBLE_EQ(total, 120.0);

  addAt(u, 0, 2.5);  // weight 1, no halving
  EXPECT_DOUBLE_EQ(u(0), 32.5);
}

TEST(RangeDistribution, RejectsReversedRangesAndStationsOutsideTheTable) {
  StationTable t;
  EXPECT_EQ(stopText([&] { addRange(t, 8, 7, 1.0, 1.0); }), kNotInOrder);
  const int last = StationTable::kFirstStation + kStationPlaces - 1;  // station 412
  const auto outside = [](long long station) {
    return "     ERROR STOP -- STATION " + std::to_string(station) +
           " LIES OUTSIDE THE STATION TABLES (STATIONS -3 TO 412)";
  };
  EXPECT_EQ(stopText([&] { addRange(t, -4, 2, 1.0, 1.0); }), outside(-4));
  EXPECT_EQ(stopText([&] { addRange(t, 400, last + 1, 1.0, 1.0); }), outside(413));
  EXPECT_EQ(stopText([&] { addRange(t, kNoStation, kNoStation, 1.0, 1.0); }), outside(kNoStation));
  EXPECT_EQ(stopText([&] { addAt(t, last + 1, 1.0); }), outside(413));
  EXPECT_EQ(stopText([&] { addAt(t, -4, 1.0); }), outside(-4));
  for (int j = -3; j <= last; ++j) ASSERT_EQ(t(j), 0.0) << "written at station " << j;
  // The outermost places themselves are usable.
  addRange(t, -3, last, 2.0, 2.0);
  EXPECT_DOUBLE_EQ(t(-3), 1.0);
  EXPECT_DOUBLE_EQ(t(last), 1.0);
}

TEST(StationOfDepth, RoundsHalfAwayFromZeroWithTheUnitConversion) {
  EXPECT_EQ(stationOfDepth(2.5, 1.0, false), 3);
  EXPECT_EQ(stationOfDepth(-2.5, 1.0, false), -3);
  EXPECT_EQ(stationOfDepth(2.49, 1.0, false), 2);
  EXPECT_EQ(stationOfDepth(10.0, 6.0, true), 20);   // 10 ft with h = 6 in
  EXPECT_EQ(stationOfDepth(1.25, 6.0, true), 3);    // 15 in / 6 in = 2.5
  EXPECT_EQ(stationOfDepth(3.0, 0.25, false), 12);  // SI: metres, no conversion
  // Depths with no station give a value every range check rejects, with room for +-1.
  EXPECT_EQ(stationOfDepth(std::nan(""), 1.0, false), kNoStation);
  EXPECT_EQ(stationOfDepth(1.0e300, 1.0, false), kNoStation);
  EXPECT_EQ(stationOfDepth(-1.0e300, 1.0, true), -kNoStation);
  EXPECT_EQ(stationOfDepth(1.0, 0.0, false), kNoStation);
}

TEST(StationGrid, BuildClearsEverythingAndSetsDerivedConstants) {
  auto g = std::make_unique<StationGrid>();
  buildGrid(*g, 30, 2.0);
  for (StationTable* t : {&g->EI, &g->Q, &g->S, &g->T, &g->R, &g->P, &g->y}) addAt(*t, 7, 3.0);
  g->rowCode(7) = 5;
  g->specified.push_back(SpecifiedPoint{});
  g->couples.push_back(AppliedCouple{});

  buildGrid(*g, 40, 3.0);
  EXPECT_EQ(g->n, 40);
  EXPECT_DOUBLE_EQ(g->twoH, 6.0);
  EXPECT_DOUBLE_EQ(g->hSquared, 9.0);
  EXPECT_DOUBLE_EQ(g->hCubed, 27.0);
  EXPECT_DOUBLE_EQ(g->hQuarter, 0.75);
  EXPECT_DOUBLE_EQ(g->hSquaredHalf, 4.5);
  for (StationTable* t : {&g->EI, &g->Q, &g->S, &g->T, &g->R, &g->P, &g->y})
    EXPECT_EQ((*t)(7), 0.0);
  EXPECT_EQ(g->rowCode(7), 1);
  EXPECT_TRUE(g->specified.empty());
  EXPECT_TRUE(g->couples.empty());
}

TEST(StationGrid, RowCodesOfTheThreeCases) {
  auto g = std::make_unique<StationGrid>();
  buildGrid(*g, 40, 1.0);
  setRowCodes(*g, SpecifiedPoint{1, 3, 0.0, 0.0});
  setRowCodes(*g, SpecifiedPoint{2, 10, 0.0, 0.0});
  setRowCodes(*g, SpecifiedPoint{3, 20, 0.0, 0.0});
  setRowCodes(*g, SpecifiedPoint{7, 30, 0.0, 0.0});  // any other value acts as CASE 1
  const int expected[][2] = {{2, 1},  {3, 2},  {9, 3},  {10, 1}, {11, 5}, {19, 3},
                             {20, 4}, {21, 5}, {29, 1}, {30, 2}, {31, 1}};
  for (const auto& [station, code] : expected) EXPECT_EQ(g->rowCode(station), code) << station;

  // Rows outside the table's places are not written (the entry is rejected before analysis).
  setRowCodes(*g, SpecifiedPoint{3, -3, 0.0, 0.0});
  EXPECT_EQ(g->rowCode(-3), 4);
  EXPECT_EQ(g->rowCode(-2), 5);
  const int last = StationTable::kFirstStation + kStationPlaces - 1;
  setRowCodes(*g, SpecifiedPoint{3, last + 1, 0.0, 0.0});
  EXPECT_EQ(g->rowCode(last), 3);  // s-1 is the last place; s and s+1 lie beyond it
  const StationArray<int> before = g->rowCode;
  setRowCodes(*g, SpecifiedPoint{2, kNoStation, 0.0, 0.0});
  setRowCodes(*g, SpecifiedPoint{1, -kNoStation, 0.0, 0.0});
  setRowCodes(*g, SpecifiedPoint{3, last + 2, 0.0, 0.0});
  for (int j = -3; j <= last; ++j) EXPECT_EQ(g->rowCode(j), before(j)) << j;
}

TEST(StationGrid, EveryAccessOutsideTheTablesStopsInEveryBuild) {
  auto t = std::make_unique<StationTable>();
  const int last = StationTable::kFirstStation + kStationPlaces - 1;
  EXPECT_EQ(stopText([&] { (*t)(last + 1) = 1.0; }),
            "     ERROR STOP -- STATION 413 LIES OUTSIDE THE STATION TABLES (STATIONS -3 TO 412)");
  EXPECT_EQ(stopText([&] { (*t)(-4) = 1.0; }),
            "     ERROR STOP -- STATION -4 LIES OUTSIDE THE STATION TABLES (STATIONS -3 TO 412)");
  const StationTable& constant = *t;
  EXPECT_EQ(stopText([&] { return constant(kNoStation); }),
            "     ERROR STOP -- STATION 1000000000 LIES OUTSIDE THE STATION TABLES (STATIONS -3 "
            "TO 412)");
  (*t)(last) = 2.0;
  (*t)(-3) = 3.0;
  EXPECT_EQ(constant(last) + constant(-3), 5.0);
  // Depths without a station never reach an integer conversion: NaN, infinities, huge values.
  EXPECT_EQ(stationOfDepth(std::nan(""), 6.0, true), kNoStation);
  EXPECT_EQ(stationOfDepth(HUGE_VAL, 6.0, false), kNoStation);
  EXPECT_EQ(stationOfDepth(-HUGE_VAL, 6.0, false), -kNoStation);
  EXPECT_EQ(stationOfDepth(1.0e15, 1.0e-15, false), kNoStation);
}

}  // namespace
}  // namespace korden

// Whole runs with generated soil resistance curves: the examples, the curve section of the plot
// data file, the curve table with user curves, the storage check and a generator stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "engine/run_driver.h"
#include "test_support.h"

namespace korden {
namespace {

using testing::hasLine;
using testing::readFile;
using testing::runInputText;
using testing::splitLines;

std::string example(const std::string& name) {
  return readFile(std::string(KORDEN_SOURCE_DIR) + "/examples/" + name);
}

// Replaces the first occurrence of `from` (which must exist).
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Text up to (not including) the final continuation code line of a single-case example.
std::string withoutContinuation(const std::string& text) {
  const size_t at = text.rfind("\n0     single problem");
  EXPECT_NE(at, std::string::npos);
  return text.substr(0, at + 1);
}

struct ExampleCase {
  const char* file;
  const char* plotHeader;      // units flag and number of curves
  const char* firstCurveLine;  // depth (internal length unit) and 33
};

class PyCurvesExamples : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(PyCurvesExamples, RunClosesWithGeneratedCurves) {
  const ExampleCase& c = GetParam();
  const auto r = runInputText(example(c.file), "pycurves");
  EXPECT_EQ(r.returnCode, 0);
  ASSERT_FALSE(r.reportLines.empty());
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
  // The banner: 50 asterisks, "*" + the caption centred in 48 + "*", 50 asterisks, at column 7.
  const std::string stars = "      " + std::string(50, '*');
  const auto banner = std::find(r.reportLines.begin(), r.reportLines.end(),
                                "      *          SOIL LAYERS AND STRENGTH DATA         *");
  ASSERT_NE(banner, r.reportLines.end());
  EXPECT_EQ(banner->size(), 56u);
  EXPECT_EQ(*(banner - 1), stars);
  EXPECT_EQ(*(banner + 1), stars);
  EXPECT_NE(r.report.find("     NUMBER OF ITERATIONS :"), std::string::npos);
  EXPECT_EQ(r.report.find("NOT CLOSED"), std::string::npos);
  EXPECT_EQ(r.report.find("EXCEEDED"), std::string::npos);
  EXPECT_EQ(r.report.find("NaN"), std::string::npos);
  // Plot file: the curve section comes first; every curve has 33 points in ascending y.
  const auto plot = splitLines(r.plot);
  ASSERT_GT(plot.size(), 36u);
  EXPECT_EQ(plot[0], c.plotHeader);
  EXPECT_EQ(plot[1], c.firstCurveLine);
  int curves = 0;
  std::istringstream(plot[0].substr(3)) >> curves;
  for (int k = 0; k < curves; ++k) {
    const size_t head = 1 + static_cast<size_t>(k) * 34;
    ASSERT_LT(head + 33, plot.size());
    EXPECT_EQ(plot[head].substr(11), "    33");
    double previous = -1.0e300;
    for (size_t j = head + 1; j <= head + 33; ++j) {
      double y = 0.0, p = 0.0;
      std::istringstream(plot[j]) >> y >> p;
      EXPECT_GE(y, previous) << "curve " << k + 1 << " line " << j;
      previous = y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PyCurvesExamples,
    ::testing::Values(ExampleCase{"curves_clay_english.dat", " 1 10", "     120.10    33"},
                      ExampleCase{"curves_sand_si.dat", " 2 10", "       6.01    33"},
                      ExampleCase{"curves_silt_rock_english.dat", " 1 15", "     144.10    33"}));

TEST(PyCurvesRun, PlotPointsCarryTheFileRounding) {
  const auto r = runInputText(example("curves_clay_english.dat"), "pycurves");
  // First soft clay curve, backfill side, last point: the report prints 6.7200E+00 3.5042E+02; the
  // analysis (and the plot) receives it through the file with four digits and y mirrored.
  EXPECT_TRUE(hasLine(r.reportLines, "         6.7200E+00    3.5042E+02"));
  const auto plot = splitLines(r.plot);
  ASSERT_GT(plot.size(), 3u);
  EXPECT_EQ(plot[2], " -6.72 350.4");
}

// Runs one input through the case loop and hands back the run state it leaves and the lines of
// its plot data file.
struct StateRun {
  std::unique_ptr<RunState> state = std::make_unique<RunState>();
  std::vector<std::string> plot;
  RunState* operator->() const { return state.get(); }
};

StateRun runToState(const std::string& input) {
  const auto dir = testing::makeTempDir("pycurves");
  StateRun run;
  RunState& state = *run.state;
  state.driver.curveFileName = (dir / "case.pyc").string();
  state.driver.pressureFileName = (dir / "case.prs").string();
  RunFiles files;
  files.input = InputFile(input);
  EXPECT_TRUE(files.report.open((dir / "case.out").string()));
  EXPECT_TRUE(files.plot.open((dir / "case.plt").string()));
  EXPECT_TRUE(files.aux.open((dir / "case.aux").string()));
  EXPECT_EQ(runCases(state, files), 0);
  files.report.close();
  files.plot.close();
  files.aux.close();
  run.plot = splitLines(readFile(dir / "case.plt"));
  std::filesystem::remove_all(dir);
  return run;
}

TEST(PyCurvesRun, UserCurvesComeFirstAndEveryCurveIsChained) {
  std::string input =
      replaced(example("curves_clay_english.dat"), "1 0 1 1 0 2 2 0 0", "1 0 1 1 0 2 2 2 0");
  input = withoutContinuation(input) +
          "18 3 1.0 1.0\n-1.0 50.0\n0.0 0.0\n1.0 -50.0\n"
          "19 3 0.5 2.0\n-1.0 50.0\n0.0 0.0\n1.0 -50.0\n0\n";
  const StateRun run = runToState(input);
  const CurveData& curves = run->curves;
  EXPECT_EQ(curves.generatedCount, 10);
  ASSERT_EQ(curves.generated.size(), 10u);
  ASSERT_EQ(curves.table.size(), 12u);
  EXPECT_EQ(curves.table[0].fromStation, 18);
  EXPECT_EQ(curves.table[1].fromStation, 19);
  for (const TableCurve& t : curves.table) EXPECT_EQ(t.contd, 1);
  // Generated curves at the stations of their depths, X / h rounded: 120.1 in -> 20, 300.1 -> 50.
  EXPECT_EQ(curves.table[2].fromStation, 20);
  EXPECT_EQ(curves.table[2].toStation, 20);
  EXPECT_EQ(curves.table[7].fromStation, 30);
  EXPECT_EQ(curves.table[11].fromStation, 62);
  EXPECT_EQ(curves.table[2].nPoints, 33);
  // p per station = p per unit length (the plot value) times h = 6 in.
  EXPECT_DOUBLE_EQ(curves.table[2].p[0], 350.4 * 6.0);
  EXPECT_DOUBLE_EQ(curves.table[2].y[0], -6.72);
  // Plot file: all twelve curves, the user curves first with their scaled points.
  const auto& plot = run.plot;
  ASSERT_GT(plot.size(), 10u);
  EXPECT_EQ(plot[0], " 1 12");
  EXPECT_EQ(plot[1], "      18.00     3");
  EXPECT_EQ(plot[5], "      19.00     3");
  EXPECT_EQ(plot[6], " -2 25");
  EXPECT_EQ(plot[9], "     120.10    33");
}

// SI, 10 m wall of 20 increments of 0.5 m, cut at 4 m, held by lateral springs of 1e9 kN/m at
// every station, in one dry soil layer (18 kN/m3) with generated curves. The pressure is either
// generated (triangular, option 2) or the same pressure given as a table (option 1).
struct HeldWall {
  const char* name;
  const char* soil;   // layer record, top and bottom records
  const char* table;  // the generated pressure as a table, kN/m against depth
  double load;        // sum of the station loads q(kh) h, k = 1..20 (kN/m)
};

std::string heldWallInput(const HeldWall& w, int pressureOption) {
  std::string text = "WALL HELD BY STIFF SPRINGS\n2 0 1 1 0 " + std::to_string(pressureOption) +
                     " 2 0 0 0 0 0 0 0 0\n"
                     "20 0.5 1.0 0.00001 4.0 1.0 10.0 100 0 0 0\n"
                     "0.0 10.0 1\n1 1 0 0\nSTEEL SHEET PILE\n0 0 0 0 0 0 0 0\n"
                     "0 0 0 34200.0E4 0 0 0 0 2.1E8 0 0 0\n0 0 0 0 0 0 0 0 0\nSTEEL\n0 0\n"
                     "0\n1\n0 20 1 1.0E9 0.0\n";
  if (pressureOption == 1) text += w.table;
  text += "4.0 1.0 1.0 20.0 20.0 1.0 0 0.0 0.0\n0.0 0.0 0.0 0.0 0.0 0.0\n0\n1 1 0.0\n";
  return text + w.soil + "0\n";
}

double totalRestraintForce(const StateRun& run) {
  const RunState& state = *run.state;
  double total = 0.0;
  for (int j = 0; j <= state.grid.n; ++j) total += state.analysis.baseS(j) * state.grid.y(j);
  return total;
}

void PrintTo(const HeldWall& w, std::ostream* os) { *os << w.name; }

class PyCurvesHeldWall : public ::testing::TestWithParam<HeldWall> {};

TEST_P(PyCurvesHeldWall, CarriesTheRetainedPressureOnceWithGeneratedPressureAndCurves) {
  // The springs carry every station load when the curves pass through the origin, whichever way
  // the pressure is given.
  const HeldWall& w = GetParam();
  const auto table = runToState(heldWallInput(w, 1));
  const auto generated = runToState(heldWallInput(w, 2));
  ASSERT_TRUE(table->analysis.hasResults);
  ASSERT_TRUE(generated->analysis.hasResults);
  const double withTable = std::fabs(totalRestraintForce(table));
  const double withGenerated = std::fabs(totalRestraintForce(generated));
  EXPECT_NEAR(withTable, w.load, 0.01 * w.load);
  EXPECT_NEAR(withGenerated, withTable, 0.01 * withTable);
}

INSTANTIATE_TEST_SUITE_P(
    Soils, PyCurvesHeldWall,
    ::testing::Values(
        // Sand, phi 30: Ka gamma H = 24 kPa at the cut, constant below.
        // 0.5 x 24 x (1 + ... + 8) / 8 + 12 x 0.5 x 24 = 54 + 144.
        HeldWall{"Sand",
                 "4 0.0 15.0\n18.0 0.0 30.0 0.0 20000.0 0.0\n18.0 0.0 30.0 0.0 20000.0 0.0\n",
                 "3\n0.0 0.0\n4.0 24.0\n10.0 24.0\n", 198.0},
        // Soft clay, c 9: gamma z - 2c, no tension above 1 m, 54 kPa at the cut.
        // 0.5 x 9 x (1 + ... + 6) + 12 x 0.5 x 54 = 94.5 + 324.
        HeldWall{"SoftClay", "1 0.0 15.0\n18.0 9.0 0.0 0.01 0.0 0.0\n18.0 9.0 0.0 0.01 0.0 0.0\n",
                 "4\n0.0 0.0\n1.0 0.0\n4.0 54.0\n10.0 54.0\n", 418.5},
        // Stiff clay without free water, the same pressure as the soft clay.
        HeldWall{"StiffClay",
                 "3 0.0 15.0\n18.0 9.0 0.0 0.005 0.0 0.0\n18.0 9.0 0.0 0.005 0.0 0.0\n",
                 "4\n0.0 0.0\n1.0 0.0\n4.0 54.0\n10.0 54.0\n", 418.5},
        // Silt, c 6, phi 30: 6 z - 2 x 6 / sqrt(3) = 6 z - 6.9282, zero down to 1.1547 m,
        // 17.0718 kPa at the cut. 0.5 x (2.0718 + ... + 17.0718) + 12 x 0.5 x 17.0718.
        HeldWall{"Silt",
                 "5 0.0 15.0\n18.0 6.0 30.0 0.0 20000.0 0.0\n18.0 6.0 30.0 0.0 20000.0 0.0\n",
                 "4\n0.0 0.0\n1.1547 0.0\n4.0 17.0718\n10.0 17.0718\n", 131.1462}),
    [](const ::testing::TestParamInfo<HeldWall>& info) { return std::string(info.param.name); });

TEST(PyCurvesRun, SoilMovementTakesThePlaceOfUserCurvesAtOrAboveTheExcavation) {
  // Cut at 120 in with h = 6 in: the retained-side curves lie at stations 1 to 20. User curves at
  // stations 10 (above the cut) and 20 (at it) give way to them; those from station 22 down stay.
  const std::string original = example("pressure_soil_movement_english.dat");
  std::string input = replaced(original, "1 0 1 1 0 4 1 7 0", "1 0 1 1 0 4 1 9 0");
  input = replaced(input, "22 5 1.0 1.0",
                   "10 2 1.0 1.0\n-1.0 50.0\n1.0 -50.0\n20 2 1.0 1.0\n-1.0 50.0\n1.0 -50.0\n"
                   "22 5 1.0 1.0");
  const auto state = runToState(input);
  ASSERT_TRUE(state->analysis.hasResults);
  ASSERT_EQ(state->curves.userCurves.size(), 7u);
  EXPECT_EQ(state->curves.userCurves[0].station, 22);
  const auto& table = state->curves.table;
  ASSERT_EQ(table.size(), 27u);
  for (int k = 0; k < 20; ++k) EXPECT_EQ(table[k].fromStation, k + 1);
  EXPECT_EQ(table[20].fromStation, 22);
  EXPECT_EQ(table[26].fromStation, 50);
  // The same case as entered (no curve above the cut) gives the same wall.
  const auto plain = runToState(original);
  ASSERT_TRUE(plain->analysis.hasResults);
  for (int j = 0; j <= state->grid.n; ++j) EXPECT_DOUBLE_EQ(state->grid.y(j), plain->grid.y(j));
  // The report says which curves gave way.
  const auto r = runInputText(input, "pycurves");
  EXPECT_EQ(r.report.find("NOT IN ORDER"), std::string::npos);
  EXPECT_EQ(testing::countLines(r.reportLines,
                                "     THE CURVES BASED ON SOIL MOVEMENT TAKE ITS "
                                "PLACE IN THIS CASE."),
            2);
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     THE USER P-Y CURVE AT STATION   10 LIES AT OR ABOVE "
                      "THE EXCAVATION LEVEL:"));
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     THE USER P-Y CURVE AT STATION   20 LIES AT OR ABOVE "
                      "THE EXCAVATION LEVEL:"));
  // The plot file lists the seven curves that act.
  EXPECT_EQ(splitLines(r.plot).at(0), " 1 7");
}

TEST(PyCurvesRun, CurvesAboveTheTopOfTheWallStopTheRun) {
  // A free height of -5 m with the soil from X = -10 m: the first curves lie above the top of the
  // wall. The run stops with an error instead of reaching outside the station tables.
  std::string input =
      replaced(example("curves_sand_si.dat"), "2 0 1 1 0 2 2 0 0", "2 0 1 1 0 0 2 0 0");
  input = replaced(input, "6.0 1.0 1.0 8.0 8.0 1.0 1", "-5.0 1.0 1.0 8.0 8.0 1.0 1");
  input = replaced(input, "4 0.0 7.0", "4 -10.0 7.0");
  const auto r = runInputText(input, "pycurves");
  EXPECT_EQ(r.returnCode, 0);
  EXPECT_NE(r.report.find("ERROR STOP"), std::string::npos);
  EXPECT_EQ(r.report.find("     NUMBER OF ITERATIONS :"), std::string::npos);
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
}

TEST(PyCurvesRun, MoreThanFourHundredCurvesInTheFileStopTheRun) {
  std::string input =
      replaced(example("curves_clay_english.dat"), "1 0 1 1 0 2 2 0 0", "1 0 1 1 0 2 2 400 0");
  input = withoutContinuation(input);
  for (int i = 0; i < 400; ++i) input += "60 2 1.0 1.0\n-1.0 1.0\n1.0 -1.0\n";
  input += "0\n";
  const auto r = runInputText(input, "pycurves");
  EXPECT_EQ(r.returnCode, 0);
  EXPECT_TRUE(hasLine(r.reportLines, "     TOO MUCH DATA FOR AVAILABLE STORAGE"));
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
}

TEST(PyCurvesRun, WeakRockWithoutStrengthStopsTheRun) {
  std::string input = example("curves_silt_rock_english.dat");
  input =
      replaced(input, "0.0810 500.0 0.0 0.0005 50000.0 50.0", "0.0810 0.0 0.0 0.0005 50000.0 50.0");
  input =
      replaced(input, "0.0810 600.0 0.0 0.0005 50000.0 60.0", "0.0810 0.0 0.0 0.0005 50000.0 60.0");
  const auto r = runInputText(input, "pycurves");
  EXPECT_EQ(r.returnCode, 3);
  EXPECT_TRUE(
      hasLine(r.reportLines, "     THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT"));
  EXPECT_EQ(r.report.find("END OF ANALYSIS"), std::string::npos);
}

TEST(PyCurvesRun, WeakRockWithoutInitialModulusOrStrainFactorStopsTheRun) {
  // KPY at the top of the weak rock (the second input layer) of 0 or below, then E50 of 0.
  const std::string original = example("curves_silt_rock_english.dat");
  const std::string top = "0.0810 500.0 0.0 0.0005 50000.0 50.0";
  for (const char* kpy :
       {"0.0810 500.0 0.0 0.0005 0.0 50.0", "0.0810 500.0 0.0 0.0005 -1.0 50.0"}) {
    const auto r = runInputText(replaced(original, top, kpy), "pycurves");
    EXPECT_EQ(r.returnCode, 3) << kpy;
    EXPECT_TRUE(hasLine(r.reportLines,
                        "     THE INITIAL ROCK MODULUS KPY AT THE TOP OF SOIL LAYER 2 "
                        "(WEAK ROCK) IS 0 OR NEGATIVE."))
        << kpy;
    EXPECT_EQ(r.report.find("     NUMBER OF ITERATIONS :"), std::string::npos);
  }
  std::string noStrain = replaced(original, top, "0.0810 500.0 0.0 0.0 50000.0 50.0");
  noStrain = replaced(noStrain, "0.0810 600.0 0.0 0.0005 50000.0 60.0",
                      "0.0810 600.0 0.0 0.0 50000.0 60.0");
  const auto r = runInputText(noStrain, "pycurves");
  EXPECT_EQ(r.returnCode, 3);
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     THE STRAIN FACTOR E50 OF SOIL LAYER 2 (WEAK ROCK) IS 0 OR NEGATIVE."));
}

TEST(PyCurvesRun, GenerationSwitchStaysOnForTheLongTermCase) {
  const std::string first = withoutContinuation(example("curves_clay_english.dat")) + "1\n";
  // The long-term case reads no soil records (curve option 1, no pressure) and keeps the layers.
  std::string second =
      replaced(example("curves_clay_english.dat"), "1 0 1 1 0 2 2 0 0", "1 0 1 1 0 0 1 0 0");
  const size_t soil = second.find("120.0 72.0 14.0");
  ASSERT_NE(soil, std::string::npos);
  second = second.substr(0, soil) + "0\n";
  const auto r = runInputText(first + second, "pycurves");
  EXPECT_EQ(r.returnCode, 0);
  EXPECT_EQ(testing::countLines(r.reportLines,
                                "      *          SOIL LAYERS AND STRENGTH DATA         *"),
            2);
  EXPECT_EQ(std::count_if(r.reportLines.begin(), r.reportLines.end(),
                          [](const std::string& l) {
                            return l.rfind("     NUMBER OF ITERATIONS :", 0) == 0;
                          }),
            2);
}

}  // namespace
}  // namespace korden

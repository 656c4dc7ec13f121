// Whole runs with generated soil resistance curves: the examples, the curve section of the plot
// data file, the curve table with user curves, the storage check and a generator stop.
#include <gtest/gtest.h>

#include <algorithm>
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
  EXPECT_TRUE(hasLine(r.reportLines, "      *          SOIL LAYERS AND STRENGTH DATA           *"));
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

TEST(PyCurvesRun, UserCurvesComeFirstAndEveryCurveIsChained) {
  std::string input =
      replaced(example("curves_clay_english.dat"), "1 0 1 1 0 2 2 0 0", "1 0 1 1 0 2 2 2 0");
  input = withoutContinuation(input) +
          "18 3 1.0 1.0\n-1.0 50.0\n0.0 0.0\n1.0 -50.0\n"
          "19 3 0.5 2.0\n-1.0 50.0\n0.0 0.0\n1.0 -50.0\n0\n";
  const auto dir = testing::makeTempDir("pycurves");
  RunState state;
  state.driver.curveFileName = (dir / "case.pyc").string();
  state.driver.pressureFileName = (dir / "case.prs").string();
  RunFiles files;
  files.input = InputFile(input);
  ASSERT_TRUE(files.report.open((dir / "case.out").string()));
  ASSERT_TRUE(files.plot.open((dir / "case.plt").string()));
  ASSERT_TRUE(files.aux.open((dir / "case.aux").string()));
  EXPECT_EQ(runCases(state, files), 0);
  files.plot.close();
  files.report.close();
  const CurveData& curves = state.curves;
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
  const auto plot = splitLines(readFile(dir / "case.plt"));
  ASSERT_GT(plot.size(), 10u);
  EXPECT_EQ(plot[0], " 1 12");
  EXPECT_EQ(plot[1], "      18.00     3");
  EXPECT_EQ(plot[5], "      19.00     3");
  EXPECT_EQ(plot[6], " -2 25");
  EXPECT_EQ(plot[9], "     120.10    33");
  std::filesystem::remove_all(dir);
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
                                "      *          SOIL LAYERS AND STRENGTH DATA           *"),
            2);
  EXPECT_EQ(std::count_if(r.reportLines.begin(), r.reportLines.end(),
                          [](const std::string& l) {
                            return l.rfind("     NUMBER OF ITERATIONS :", 0) == 0;
                          }),
            2);
}

}  // namespace
}  // namespace korden

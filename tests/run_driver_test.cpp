// The case loop and the end-of-run path, run on whole input texts.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace korden {
namespace {

using testing::countLines;
using testing::hasLine;
using testing::runInputText;

// One English case: a 20 ft wall of 40 increments, one elastic section, no loads.
std::string caseText(const std::string& title, int nStages, int code,
                     const std::string& extraControl = "0 0 0 0 0 0") {
  return title + "\n" + "1 0 1 1 0 0 1 0 " + std::to_string(nStages) + " " + extraControl + "\n" +
         "40 6.0 10.0 0.001 120.0 12.0 240.0 100 0 0 0\n"
         "0.0 20.0 1\n"
         "1 1 0 0\n"
         "SHEET PILE\n"
         "10 0 0 0 0 0 0 0\n"
         "0 0 0 100 0 0 0 0 29000000 0 0 0\n"
         "0 0 0 0 0 0 0 0 0\n"
         "SECOND NAME\n"
         "0 0\n"
         "0\n"
         "0\n" +
         std::to_string(code) + "\n";
}

std::string padded70(const std::string& title) {
  return title + std::string(70 - title.size(), ' ');
}

TEST(RunDriver, SingleCaseWithCodeZero) {
  auto r = runInputText(caseText("MY WALL", 0, 0));
  EXPECT_EQ(r.returnCode, 0);
  EXPECT_EQ(countLines(r.reportLines, std::string(23, ' ') + "A Program for the Analysis of "), 1);
  EXPECT_TRUE(hasLine(r.reportLines, padded70("MY WALL")));
  EXPECT_TRUE(hasLine(r.auxLines, padded70("MY WALL")));
  ASSERT_GE(r.reportLines.size(), 3u);
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
  EXPECT_EQ(r.reportLines[r.reportLines.size() - 2], "");
  EXPECT_EQ(r.reportLines[r.reportLines.size() - 3], "");
  EXPECT_EQ(r.auxLines.back(), "     END OF ANALYSIS");
}

TEST(RunDriver, ThreeStagesUseTheFirstTitleAndEndAfterTheThird) {
  const std::string input = caseText("STAGED WALL", 3, 1) + caseText("SECOND TITLE", 3, 2) +
                            caseText("THIRD TITLE", 3, 3) + caseText("NEVER READ", 3, 0);
  auto r = runInputText(input);
  EXPECT_EQ(r.returnCode, 0);
  for (const char* n : {" 1", " 2", " 3"}) {
    const std::string heading = std::string("Stage No :") + n + " " + padded70("STAGED WALL");
    EXPECT_EQ(countLines(r.reportLines, heading), 1) << heading;
    EXPECT_EQ(countLines(r.auxLines, heading), 1) << heading;
  }
  EXPECT_EQ(countLines(r.reportLines, std::string(26, ' ') + "Time and Date of Analysis"), 3);
  EXPECT_EQ(countLines(r.reportLines, "     END OF ANALYSIS"), 1);
}

TEST(RunDriver, LongTermCaseAfterCodeOneWithoutStages) {
  auto r = runInputText(caseText("FIRST PROBLEM", 0, 1) + caseText("LATER TITLE", 0, 0));
  EXPECT_TRUE(hasLine(r.reportLines, padded70("FIRST PROBLEM")));
  EXPECT_TRUE(hasLine(r.reportLines, "Long Term : " + padded70("FIRST PROBLEM")));
  EXPECT_FALSE(hasLine(r.reportLines, padded70("LATER TITLE")));
}

TEST(RunDriver, SingleStageCodeOneEndsTheRun) {
  auto r = runInputText(caseText("ONE STAGE", 1, 1) + caseText("NOT READ", 1, 0));
  EXPECT_EQ(countLines(r.reportLines, std::string(26, ' ') + "Time and Date of Analysis"), 1);
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
}

TEST(RunDriver, TwentyOneSpecifiedPointsStopTheRun) {
  std::string input = caseText("TOO MANY", 0, 0);
  input.replace(input.find("1 0 1 1"), 7, "1 21 1 1");
  auto r = runInputText(input);
  EXPECT_EQ(r.returnCode, 0);
  const auto& l = r.reportLines;
  ASSERT_GE(l.size(), 5u);
  EXPECT_EQ(l.back(), "     END OF ANALYSIS");
  // Two empty lines, the message and the line naming the table, two empty lines, then the two
  // empty lines of the end.
  const size_t n = l.size();
  EXPECT_EQ(l[n - 6], "     SPECIFIED DEFLECTION AND SLOPE POINTS: 21 GIVEN, THE TABLE HOLDS 20");
  EXPECT_EQ(l[n - 7], "     TOO MUCH DATA FOR AVAILABLE STORAGE");
  EXPECT_EQ(l[n - 8], "");
  EXPECT_EQ(l[n - 9], "");
  EXPECT_EQ(r.auxLines.back(), "     END OF ANALYSIS");
}

TEST(RunDriver, ReadErrorsNameTheLineAndEndTheRunCleanly) {
  std::string input = caseText("BAD", 0, 0);
  input.replace(input.find("40 6.0"), 6, "40 six");
  auto r = runInputText(input);
  EXPECT_EQ(r.returnCode, 0);
  bool found = false;
  for (const auto& line : r.reportLines) {
    if (line.find("INPUT ERROR AT LINE 3 OF THE INPUT DATA FILE: THE WALL RECORD, VALUE 2") !=
        std::string::npos) {
      found = true;
    }
  }
  EXPECT_TRUE(found) << r.report;
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");

  auto early = runInputText("TITLE ONLY\n1 0 0\n");
  bool named = false;
  for (const auto& line : early.reportLines) {
    if (line.find("LINE 3") != std::string::npos &&
        line.find("END OF THE FILE") != std::string::npos) {
      named = true;
    }
  }
  EXPECT_TRUE(named) << early.report;
  EXPECT_EQ(early.reportLines.back(), "     END OF ANALYSIS");
}

TEST(RunDriver, LoadsPastTheEndOfTheWallStopTheRun) {
  std::string input = caseText("BEYOND", 0, 0);
  // Replace the load count 0 by one row reaching station 41 of a 40-increment wall.
  const std::string tail = "0 0\n0\n0\n0\n";
  input.replace(input.rfind(tail), tail.size(), "0 0\n1\n1 30 41 5 0 0\n0\n0\n");
  auto r = runInputText(input);
  EXPECT_TRUE(hasLine(r.reportLines, "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END")) << r.report;
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
}

TEST(RunDriver, MissingFilesAreReportedAndNothingRuns) {
  std::ostringstream err;
  EXPECT_EQ(runEngine("/nonexistent/NAMES.dat", err), kRunFilesFailed);
  EXPECT_NE(err.str().find("run-control file"), std::string::npos);

  const auto dir = testing::makeTempDir("missing");
  {
    std::ofstream n(dir / "NAMES.dat");
    n << "V\n\n\n0\n" << (dir / "absent.dat").string() << "\n" << (dir / "o.out").string() << "\n";
  }
  std::ostringstream err2;
  EXPECT_EQ(runEngine((dir / "NAMES.dat").string(), err2), kRunFilesFailed);
  EXPECT_NE(err2.str().find("input data file"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "o.out"));
  std::filesystem::remove_all(dir);
}

TEST(RunDriver, RunControlFileEndingEarlyLeavesNamesBlank) {
  const auto dir = testing::makeTempDir("names");
  {
    std::ofstream n(dir / "NAMES.dat");
    n << "VERSION 9.99XYZ\nhost\nhost\n7\nin.dat\nout.txt\n";
  }
  DriverState d;
  std::ostringstream err;
  ASSERT_TRUE(readRunControl((dir / "NAMES.dat").string(), d, err));
  EXPECT_EQ(d.versionText, "VERSION 9.99");
  EXPECT_EQ(d.inputName, "in.dat");
  EXPECT_EQ(d.outputName, "out.txt");
  EXPECT_EQ(d.plotName, "");
  EXPECT_EQ(d.pressureFileName, "");
  EXPECT_TRUE(err.str().empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korden

namespace korden {
namespace {

TEST(RunDriver, AClosedSingleProblemWithoutStagesIsNotCodedAsFailedInThePlotFile) {
  // The case of caseText has no curves and no iterations limit problem: one linear solve.
  std::string input = caseText("PLOT CODE", 0, 0);
  input.replace(input.find("100 0 0 0"), 9, "0 0 0 0");
  auto r = runInputText(input);
  const auto plot = testing::splitLines(r.plot);
  ASSERT_FALSE(plot.empty());
  EXPECT_EQ(plot[0], " 1 41 1");
  EXPECT_EQ(plot.size(), 1u + 41u + 2u);  // header, station lines, no tie-backs, no struts
}

}  // namespace
}  // namespace korden

namespace korden {
namespace {

TEST(RunDriver, ALaterCaseWithoutUserCurvesDoesNotUseThoseOfTheCaseBefore) {
  // Case 1: one linear user curve at the tip; case 2 (long term) has none, and the wall is then
  // held by nothing: it has no closed-form answer and must not reuse case 1's curve.
  std::string first = caseText("CURVES ONCE", 0, 1);
  first.replace(first.find("1 0 1 1 0 0 1 0 0"), 17, "1 0 1 1 0 0 1 1 0");
  first.replace(first.rfind("0\n0\n1\n"), 6, "0\n0\n40 2 1.0 1.0\n0 0\n1 -1000\n1\n");
  const std::string second = caseText("NO CURVES", 0, 0);
  auto r = runInputText(first + second);
  int echoed = 0;
  for (const auto& line : r.reportLines) {
    if (line.find("P-MULTIPLIER") != std::string::npos) ++echoed;
  }
  EXPECT_EQ(echoed, 1) << r.report;
  // The plot file carries the curve section of the first case only.
  EXPECT_EQ(testing::countLines(testing::splitLines(r.plot), " 1 1"), 1) << r.plot;
}

}  // namespace
}  // namespace korden

// Whole runs on input that an earlier case leaves tables to, or that the checks where the input
// enters must stop with a message naming the record, its line and the field.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "test_support.h"

namespace korden {
namespace {

using testing::countLines;
using testing::hasLine;
using testing::runInputText;

// An elastic general section with I = 100 in^4 and E = 29e6 psi: EI = 2.9e9 lb-in^2.
const char* const kElasticSection =
    "1 1 0 0\n"
    "SHEET PILE\n"
    "10 0 0 0 0 0 0 0\n"
    "0 0 0 100 0 0 0 0 29000000 0 0 0\n"
    "0 0 0 0 0 0 0 0 0\n"
    "SECOND NAME\n";

// One English case on a 20 ft wall of 40 increments of 6 in, held by a lateral restraint of
// 1000 lb/in per station over the whole wall and loaded by 1000 lb at the top. Line 1 is the
// title, line 2 the control record, line 3 the wall record; the specified points, the wall
// sections and the cross sections follow in that order.
struct Case {
  std::string title = "CHECKED WALL";
  int stages = 0;
  int pressureOption = 0;
  int code = 0;
  std::string wallRecord = "40 6.0 10.0 0.0001 120.0 12.0 240.0 100 0 0 0";
  std::vector<std::string> specified;
  std::vector<std::string> wallSections = {"0.0 20.0 1"};
  int nCross = 1;
  std::string crossSections = kElasticSection;
  int nSets = 0;
  std::string sets;       // the C7 records after the count, header integer included
  std::string generated;  // the C8 blocks; "0 0" per cross section when empty
  std::vector<std::string> loads = {"1 0 0 1000.0 0.0 0.0"};
  std::vector<std::string> restraints = {"0 40 1 1000.0 0.0"};
  std::vector<std::string> tieBacks, struts;
  int nCurves = 0;
  std::string curves;
  bool withCode = true;

  std::string text() const {
    std::string t = title + "\n";
    t += "1 " + std::to_string(specified.size()) + " " + std::to_string(wallSections.size()) + " " +
         std::to_string(nCross) + " 0 " + std::to_string(pressureOption) + " 0 " +
         std::to_string(nCurves) + " " + std::to_string(stages) + " " + std::to_string(nSets) +
         " " + std::to_string(tieBacks.size()) + " 0 0 0 " + std::to_string(struts.size()) + "\n";
    t += wallRecord + "\n";
    for (const auto& s : specified) t += s + "\n";
    for (const auto& w : wallSections) t += w + "\n";
    t += crossSections;
    t += sets;
    if (generated.empty()) {
      for (int i = 0; i < nCross; ++i) t += "0 0\n";
    } else {
      t += generated;
    }
    t += std::to_string(loads.size()) + "\n";
    for (const auto& l : loads) t += l + "\n";
    t += std::to_string(restraints.size()) + "\n";
    for (const auto& r : restraints) t += r + "\n";
    for (const auto& s : tieBacks) t += s + "\n";
    for (const auto& s : struts) t += s + "\n";
    t += curves;
    if (withCode) t += std::to_string(code) + "\n";
    return t;
  }
};

// The rows of the results table of each case, in case order.
std::vector<std::vector<std::string>> resultTables(const std::vector<std::string>& lines) {
  std::vector<std::vector<std::string>> tables;
  bool inside = false;
  for (const auto& l : lines) {
    if (l.rfind("   ------    ----", 0) == 0) {
      tables.emplace_back();
      inside = true;
      continue;
    }
    if (inside && l.empty()) inside = false;
    if (inside) tables.back().push_back(l);
  }
  return tables;
}

// The EI column (the last 12 columns) of a results row.
std::string rigidityOf(const std::string& row) { return row.substr(row.size() - 12); }

bool anyNonFinite(const std::string& text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

bool hasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
  for (const auto& l : lines) {
    if (l.rfind(start, 0) == 0) return true;
  }
  return false;
}

const char* const kNotInOrder = "     ERROR STOP -- STATIONS NOT IN ORDER";
const char* const kTooMuchData = "     TOO MUCH DATA FOR AVAILABLE STORAGE";

// --- tables that persist from one case to the next ----------------------------------------------

TEST(CaseTables, ALaterCaseWithoutSectionRecordsKeepsTheSectionsOfTheCaseBefore) {
  Case first;
  first.stages = 3;
  first.code = 1;
  Case second = first;  // new wall sections over the cross section of the first case
  second.code = 2;
  second.nCross = 0;
  second.crossSections.clear();
  second.wallSections = {"0.0 10.0 1", "10.0 20.0 1"};
  Case third = second;  // neither wall sections nor cross sections
  third.code = 3;
  third.wallSections.clear();
  const auto r = runInputText(first.text() + second.text() + third.text());
  const auto tables = resultTables(r.reportLines);
  ASSERT_EQ(tables.size(), 3u) << r.report;
  for (const auto& table : tables) {
    ASSERT_EQ(table.size(), 41u);
    // EI = I E = 100 x 29e6 at every station: the section of the first case.
    for (const auto& row : table) EXPECT_EQ(rigidityOf(row), "   2.900E+09") << row;
  }
  // Same wall, same loads: the same deflections in every case.
  EXPECT_EQ(tables[2], tables[0]);
  EXPECT_FALSE(hasLineStarting(r.reportLines, "     ERROR"));
}

TEST(CaseTables, AFirstCaseWithoutWallSectionsStops) {
  Case c;
  c.wallSections.clear();
  const auto r = runInputText(c.text());
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- NO WALL SECTIONS: THE PROGRAM CONTROL RECORD (FIELD 3) "
                      "COUNTS 0 WALL SECTIONS AND NO EARLIER CASE GAVE ANY"));
  EXPECT_TRUE(resultTables(r.reportLines).empty());
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
}

TEST(CaseTables, AClosedStageWhoseFileEndsBeforeItsCodeGetsItsPlotBlock) {
  Case first;
  first.stages = 2;
  first.code = 1;
  Case second = first;
  second.withCode = false;
  const auto r = runInputText(first.text() + second.text());
  EXPECT_EQ(resultTables(r.reportLines).size(), 2u);
  EXPECT_TRUE(hasLineStarting(r.reportLines, "     INPUT ERROR AT LINE"));
  // Header of each block: case code (the number of stages), N + 1 station lines, units flag.
  EXPECT_EQ(countLines(testing::splitLines(r.plot), " 2 41 1"), 2) << r.plot;
}

// --- checks of the input where it enters --------------------------------------------------------

TEST(InputChecks, ASpecifiedPointWithACaseOtherThanOneTwoOrThreeStopsNamingItsLine) {
  Case c;
  c.specified = {"1 40 0.0 0.0", "4 20 0.0 0.0"};
  const auto r = runInputText(c.text());
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- SPECIFIED DEFLECTION/SLOPE RECORD 2 AT LINE 5, FIELD 1: "
                      "CASE MUST BE 1, 2 OR 3, NOT 4"));
  EXPECT_TRUE(resultTables(r.reportLines).empty());
}

TEST(InputChecks, StationsBeyondTheRowsOfTheSolverStopNamingTheRecord) {
  struct Trial {
    Case c;
    std::string message;
  };
  std::vector<Trial> trials;
  {
    Case c;  // N = 40: rows -1..41
    c.loads = {"1 0 0 1000.0 0.0 0.0", "1 30 42 5.0 0.0 0.0"};
    trials.push_back({c,
                      "     ERROR STOP -- STIFFNESS AND LOAD RECORD 2 AT LINE 14, TO: STATION 42 "
                      "LIES OUTSIDE STATIONS -1 TO 41"});
  }
  {
    Case c;
    c.restraints = {"-2 40 1 1000.0 0.0"};
    trials.push_back({c,
                      "     ERROR STOP -- RESTRAINT RECORD 1 AT LINE 15, FROM: STATION -2 LIES "
                      "OUTSIDE STATIONS -1 TO 41"});
  }
  {
    Case c;
    c.nCurves = 1;
    c.curves = "42 2 1.0 1.0\n-1.0 10.0\n1.0 -10.0\n";
    trials.push_back({c,
                      "     ERROR STOP -- THE CURVE RECORD OF USER P-Y CURVE 1 AT LINE 16, FIELD "
                      "1: STATION 42 LIES OUTSIDE STATIONS -1 TO 41"});
  }
  {
    Case c;  // a slope entry sets rows s-1..s+1: s = 41 would set row 42
    c.specified = {"2 41 0.0 0.0"};
    trials.push_back({c,
                      "     ERROR STOP -- SPECIFIED DEFLECTION/SLOPE RECORD 1 AT LINE 4, FIELD 2: "
                      "STATION 41 LIES OUTSIDE STATIONS 0 TO 40"});
  }
  for (const Trial& t : trials) {
    const auto r = runInputText(t.c.text());
    EXPECT_TRUE(hasLine(r.reportLines, t.message)) << t.message << "\n" << r.report;
    EXPECT_TRUE(resultTables(r.reportLines).empty()) << t.message;
  }
}

TEST(InputChecks, ATieBackOrStrutOffTheWallStops) {
  Case below;  // 20 ft wall: a strut at 21 ft lies at station 42
  below.struts = {"21.0 10.0 29000000.0 20.0 0.0 10.0"};
  auto r = runInputText(below.text());
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- STRUT/RAKER RECORD 1 AT LINE 16, FIELD 1: DEPTH "
                      " 2.100E+01 LIES BELOW THE TIP OF THE WALL (STATION 40)"))
      << r.report;
  Case above;
  above.tieBacks = {"-1.0 1.5 29000000.0 20.0 15.0 8.0 60000.0"};
  r = runInputText(above.text());
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- TIE BACK RECORD 1 AT LINE 16, FIELD 1: DEPTH -1.000E+00 "
                      "LIES ABOVE THE TOP OF THE WALL (STATION 0)"))
      << r.report;
  // At the tip itself (20 ft, station 40) the strut acts.
  Case tip;
  tip.struts = {"20.0 10.0 29000000.0 20.0 0.0 10.0"};
  EXPECT_EQ(resultTables(runInputText(tip.text()).reportLines).size(), 1u);
}

// The text with its line `number` (1-based) replaced.
std::string withLine(const std::string& text, int number, const std::string& line) {
  auto lines = testing::splitLines(text);
  lines[static_cast<size_t>(number - 1)] = line;
  std::string joined;
  for (const auto& l : lines) joined += l + "\n";
  return joined;
}

TEST(InputChecks, NegativeCountsStopNamingTheRecordAndSumsOfCountsDoNotOverflow) {
  Case c;
  // -2 tie-backs with 22 struts must not pass the 20-support capacity as 20.
  auto r = runInputText(withLine(c.text(), 2, "1 0 1 1 0 0 0 0 0 0 -2 0 0 0 22"));
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- THE PROGRAM CONTROL RECORD AT LINE 2, FIELD 11 (NO OF "
                      "TIE BACKS): A COUNT MAY NOT BE NEGATIVE, NOT -2"))
      << r.report;

  r = runInputText(withLine(c.text(), 2, "1 0 1 1 0 0 0 0 0 0 2000000000 0 0 0 2000000000"));
  EXPECT_TRUE(hasLine(r.reportLines, kTooMuchData)) << r.report;
  EXPECT_TRUE(
      hasLine(r.reportLines, "     TIE BACKS AND STRUTS: 4000000000 GIVEN, THE TABLE HOLDS 20"));

  r = runInputText(withLine(c.text(), 12, "-1"));
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- THE COUNT OF STIFFNESS AND LOAD RECORDS AT LINE 12: A "
                      "COUNT MAY NOT BE NEGATIVE, NOT -1"))
      << r.report;
}

TEST(InputChecks, TheWallWidthMustBePositiveWhereSupportsOrSoilMovementCurvesUseIt) {
  Case c;
  c.wallRecord = "40 6.0 10.0 0.0001 120.0 0.0 240.0 100 0 0 0";
  // Without supports the width is not used: the case runs.
  EXPECT_EQ(resultTables(runInputText(c.text()).reportLines).size(), 1u);
  c.tieBacks = {"10.0 1.5 29000000.0 20.0 15.0 8.0 60000.0"};
  const auto r = runInputText(c.text());
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- THE WALL RECORD, FIELD 6: THE WALL WIDTH MUST BE GREATER "
                      "THAN 0 FOR TIE BACKS, STRUTS AND WALES, NOT  0.000E+00"))
      << r.report;
  for (const std::string* file : {&r.report, &r.aux, &r.plot}) EXPECT_FALSE(anyNonFinite(*file));
}

TEST(InputChecks, ARigidityOfZeroAtAWallStationStops) {
  Case c;
  c.wallSections = {"0.0 10.0 1", "10.0 20.0 2"};
  c.nCross = 2;
  std::string zero = kElasticSection;
  zero.replace(zero.find("0 0 0 100 "), 10, "0 0 0 0.0 ");
  c.crossSections = std::string(kElasticSection) + zero;
  const auto r = runInputText(c.text());
  // Station 21 (10.5 ft) is the first below the boundary station 20, which takes section 1.
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- THE FLEXURAL RIGIDITY AT STATION 21 (WALL SECTION 2, "
                      "CROSS SECTION 2) IS  0.000E+00: IT MUST BE GREATER THAN 0"))
      << r.report;
  EXPECT_TRUE(resultTables(r.reportLines).empty());
}

TEST(InputChecks, AUserDefinedEISectionNeedsItsSetAndAnAscendingTable) {
  // Cross section 2 is nonlinear of type 10 and uses user set 2.
  const std::string nonlinear =
      "2 2 0 1\nSHAFT\n"
      "30 0 0 0 39760 0 0 0 3600000\n"
      "10 0 0 0 0 0 0 0 0 0 0\n"
      "0 0 0 0 0 0 0 0 0 0\nNONE\n"
      "0 0 0 0 0 0 0 0 0 0 0\n"
      "0 0 0 0 0 0 0 0 0 0\n"
      "0 0 0 0 0 0 0 0 0 0 0 0\n"
      "0 0 0 0 0\n"
      "0 0 0 0 0 0 0 0 0 0 0\n"
      "0 0 0 0 0 0\n";
  Case c;
  c.wallSections = {"0.0 10.0 1", "10.0 20.0 2"};
  c.nCross = 2;
  c.crossSections = std::string(kElasticSection) + nonlinear;
  c.nSets = 1;
  c.sets = "0\n0.0\n0 3\n0 0\n2.0E6 1.0E-5\n3.0E6 5.0E-5\n";
  auto r = runInputText(c.text());
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- CROSS SECTION 2 (USER DEFINED EI) HAS NO USER NONLINEAR "
                      "EI SET 2"))
      << r.report;
  // The set is shown although no section of type 10 has its number.
  EXPECT_TRUE(hasLine(r.reportLines, "     * USER DEFINED NONLINEAR EI *"));
  EXPECT_TRUE(hasLine(r.reportLines, "   SET          =      1"));

  c.nSets = 2;  // set 2 with a curvature that falls
  c.sets += "0.0\n0 3\n0 0\n2.0E6 1.0E-5\n3.0E6 0.5E-5\n";
  r = runInputText(c.text());
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     ERROR STOP -- USER NONLINEAR EI SET 2, POINT 3: THE CURVATURES MUST "
                      "ASCEND FROM POINT TO POINT"))
      << r.report;

  c.sets =
      "0\n0.0\n0 3\n0 0\n2.0E6 1.0E-5\n3.0E6 5.0E-5\n0.0\n0 3\n0 0\n2.0E6 1.0E-5\n3.0E6 5.0E-5\n";
  r = runInputText(c.text());
  const auto tables = resultTables(r.reportLines);
  ASSERT_EQ(tables.size(), 1u) << r.report;
  // Below 10 ft the shaft's initial secant M2/phi2 = 2.0E6 / 1.0E-5 (the curvatures stay small).
  EXPECT_EQ(rigidityOf(tables[0][30]), "   2.000E+11");
  EXPECT_EQ(rigidityOf(tables[0][10]), "   2.900E+09");
}

TEST(InputChecks, AWallSectionReachingPastTheTipOrAboveTheTopIsCutToTheWall) {
  Case c;
  c.wallSections = {"-5.0 10.0 1", "10.0 40.0 1"};
  const auto r = runInputText(c.text());
  EXPECT_FALSE(hasLine(r.reportLines, kTooMuchData));
  const auto tables = resultTables(r.reportLines);
  ASSERT_EQ(tables.size(), 1u) << r.report;
  for (const auto& row : tables[0]) EXPECT_EQ(rigidityOf(row), "   2.900E+09");
}

TEST(InputChecks, StationsNotInOrderSayWhichRecord) {
  Case c;
  c.wallSections = {"0.0 10.0 1", "20.0 10.0 1"};
  auto r = runInputText(c.text());
  ASSERT_TRUE(hasLine(r.reportLines, kNotInOrder)) << r.report;
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     WALL SECTION RECORD 2 AT LINE 5: BOTTOM  1.000E+01 LIES ABOVE TOP "
                      " 2.000E+01"));

  Case curves;  // free height 120 in = station 20: the curve at station 30 is chained
  curves.nCurves = 2;
  curves.curves = "30 2 1.0 1.0\n-1.0 10.0\n1.0 -10.0\n25 2 1.0 1.0\n-1.0 10.0\n1.0 -10.0\n";
  r = runInputText(curves.text());
  ASSERT_TRUE(hasLine(r.reportLines, kNotInOrder)) << r.report;
  EXPECT_TRUE(hasLine(r.reportLines,
                      "     THE CURVE RECORD OF USER P-Y CURVE 2 AT LINE 19: STATION 25 LIES ABOVE "
                      "STATION 30 OF THE CURVE BEFORE IT"));
}

TEST(InputChecks, ANonFiniteSolutionStopsBeforeAnyFileShowsIt) {
  Case c;
  // EI = 1e-150 x 1e-150: positive, but the deflection of a 1000 lb load overflows.
  c.crossSections = kElasticSection;
  c.crossSections.replace(c.crossSections.find("0 0 0 100 0 0 0 0 29000000"), 26,
                          "0 0 0 1e-150 0 0 0 0 1e-150");
  c.restraints.clear();
  c.specified = {"3 40 0.0 0.0"};
  const auto r = runInputText(c.text());
  EXPECT_TRUE(
      hasLineStarting(r.reportLines, "     ERROR STOP -- THE DEFLECTION OF ITERATION 1 AT STATION"))
      << r.report;
  for (const std::string* file : {&r.report, &r.aux, &r.plot}) EXPECT_FALSE(anyNonFinite(*file));
}

TEST(InputChecks, ControlBytesOfTheTitleAndNamesAreShownEscaped) {
  Case c;
  c.title = std::string("BAD\x01TITLE") + '\0' + "END";
  c.crossSections.replace(c.crossSections.find("SHEET PILE"), 10, "SHEET\x1bPILE");
  const auto r = runInputText(c.text());
  EXPECT_EQ(r.report.find('\x01'), std::string::npos);
  EXPECT_EQ(r.report.find('\0'), std::string::npos);
  EXPECT_EQ(r.report.find('\x1b'), std::string::npos);
  EXPECT_EQ(r.aux.find('\x01'), std::string::npos);
  std::string heading = "BAD\\x01TITLE\\x00END";
  heading.resize(70, ' ');
  EXPECT_TRUE(hasLine(r.reportLines, heading));
  EXPECT_TRUE(hasLineStarting(r.reportLines, "      SECTION NAME        : SHEET\\x1BPILE"));
}

}  // namespace
}  // namespace korden

// korden explain and korden check run as a user runs them: on input files, through the command.
// Each warning class of check is tried on a small case with a value that triggers it and one
// that does not; the expected texts follow from the unit factors (1728 in3 per ft3, 144 in2 per
// ft2, 1000 between kPa and MPa) and the case's own N x h.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "input/list_reader.h"
#include "test_support.h"

namespace korden {
namespace {

namespace fs = std::filesystem;

struct CommandResult {
  int status = -1;
  std::string output;
};

CommandResult runKorden(const std::string& command, const fs::path& input) {
  CommandResult r;
  const std::string line = std::string(KORDEN_CLI) + " " + command + " '" + input.string() + "' 2>&1";
  FILE* pipe = popen(line.c_str(), "r");
  if (pipe == nullptr) return r;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, n);
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// The reader reports each record with the lines it spans, every value (nulls, repeats and values
// after a slash keep the field's earlier value), and the unread rest of its last line.
TEST(ReadObserver, ReportsEachRecordWithItsValuesAndItsNote) {
  struct Recorder : ReadObserver {
    std::vector<TracedRecord> records;
    void recordRead(const TracedRecord& r) override { records.push_back(r); }
  } recorder;
  InputFile in("TITLE LINE\n1 2*7\n 3,,  wall note\n4 / 9\n5 x\n");
  in.setObserver(&recorder);
  EXPECT_EQ(in.readText(80, "THE TITLE").substr(0, 10), "TITLE LINE");
  int a = 0, b = 0, c = 0, d = 0, e = -1;
  in.statement("FIRST").integer(a).integer(b).integer(c).integer(d).integer(e);
  double x = 2.5, y = 0.0;
  in.statement("SECOND").real(y).real(x);
  int f = 0, g = 0;
  EXPECT_THROW(in.statement("THIRD").integer(f).integer(g), InputError);

  ASSERT_EQ(recorder.records.size(), 3u);  // the failed third record is not reported
  const TracedRecord& title = recorder.records[0];
  EXPECT_TRUE(title.isText);
  EXPECT_EQ(title.firstLine, 1);
  const TracedRecord& first = recorder.records[1];
  EXPECT_EQ(first.name, "FIRST");
  EXPECT_EQ(first.firstLine, 2);
  EXPECT_EQ(first.lastLine, 3);
  ASSERT_EQ(first.values.size(), 5u);
  EXPECT_EQ(first.values[1].number, 7.0);  // 2*7
  EXPECT_EQ(first.values[2].number, 7.0);
  EXPECT_EQ(first.values[3].line, 3);
  EXPECT_EQ(first.values[3].column, 1);
  EXPECT_EQ(first.values[3].text, "3");
  EXPECT_EQ(first.values[4].kind, TracedValue::Kind::Null);
  EXPECT_EQ(first.values[4].number, -1.0);  // kept
  EXPECT_EQ(first.rest, "  wall note");
  const TracedRecord& second = recorder.records[2];
  EXPECT_EQ(second.values[1].kind, TracedValue::Kind::Slash);
  EXPECT_EQ(second.values[1].number, 2.5);
  EXPECT_EQ(second.rest, "/ 9");
  EXPECT_EQ(in.nextLineNumber(), 6);
}

// An English case with generated pressure and curves: N x h = 40 x 6 in = 240 in = the wall
// height; free height 120 in in C3 and G1; one sand layer from 0 to 400 in (below 240 + 2 x 6).
const std::vector<std::string> kEnglish = {
    "CHECK BASE ENGLISH",                              // 1
    "1 0 1 1 0 2 2 0 0 0 0 0 0 0 0",                   // 2 C2
    "40 6.0 10.0 0.0001 120.0 12.0 240.0 100 0 0 0",   // 3 C3
    "0.0 20.0 1",                                      // 4 C5
    "1 1 0 0",                                         // 5 C6.1
    "SECTION",                                         // 6
    "0 0 0 0 0 0 0 0",                                 // 7 E1
    "0 0 0 100 0 0 0 0 29000000 0 0 0",                // 8 E2
    "0 0 0 0 0 0 0 0 0",                               // 9 E5
    "SECTION",                                         // 10 E6
    "0 0",                                             // 11 C8
    "0",                                               // 12 L
    "0",                                               // 13 S
    "120.0 12.0 12.0 400.0 400.0 1.0 0 0.0 0.0",       // 14 G1
    "0.0 0.0 0.0 0.0 0.0 0.0",                         // 15 G2
    "0",                                               // 16 G3
    "1 1 0.0",                                         // 17 G4 count
    "4 0.0 400.0",                                     // 18 layer
    "0.0694 0.0 32.0 0.0 0.0 0.0",                     // 19 top
    "0.0694 0.0 32.0 0.0 0.0 0.0",                     // 20 bottom
    "0"};                                              // 21 K

// The same in SI units: 40 x 0.25 m = 10 m; I = 34200 cm4 = 34200E4 mm4, E = 2.1E8 kPa; a line
// load 2000 mm from the wall.
const std::vector<std::string> kSI = {
    "CHECK BASE SI",                                   // 1
    "2 0 1 1 0 2 2 0 0 0 0 0 0 0 0",                   // 2
    "40 0.25 0.25 0.00001 4.0 1.0 10.0 100 0 0 0",     // 3
    "0.0 10.0 1",                                      // 4
    "1 1 0 0",                                         // 5
    "SECTION",                                         // 6
    "0 0 0 0 0 0 0 0",                                 // 7
    "0 0 0 34200.0E4 0 0 0 0 2.1E8 0 0 0",             // 8
    "0 0 0 0 0 0 0 0 0",                               // 9
    "SECTION",                                         // 10
    "0 0",                                             // 11
    "0",                                               // 12
    "0",                                               // 13
    "4.0 1.0 1.0 6.0 6.0 1.0 0 0.0 0.0",               // 14 G1
    "10.0 0.0 0.0 0.0 0.0 0.0",                        // 15 G2
    "1",                                               // 16 G3
    "2 10.0 2000.0 0.0 0.0 1.0",                       // 17 surcharge
    "1 1 0.0",                                         // 18
    "4 0.0 14.0",                                      // 19
    "18.0 0.0 30.0 0.0 0.0 0.0",                       // 20
    "18.0 0.0 30.0 0.0 0.0 0.0",                       // 21
    "0"};                                              // 22

struct Edit {
  int line;  // 1-based line replaced
  std::string text;
};

class ExplainCheck : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = testing::makeTempDir("check"); }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& text, const std::string& name = "case.dat") {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }
  fs::path write(std::vector<std::string> lines, const std::vector<Edit>& edits) {
    for (const Edit& e : edits) lines.at(static_cast<size_t>(e.line - 1)) = e.text;
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return write(text);
  }
  CommandResult check(const std::vector<std::string>& base, const std::vector<Edit>& edits) {
    return runKorden("check", write(base, edits));
  }

  fs::path dir_;
};

TEST_F(ExplainCheck, TheBaseCasesHaveNoProblem) {
  for (const auto* base : {&kEnglish, &kSI}) {
    const CommandResult r = check(*base, {});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(": 0 errors, 0 warnings"), std::string::npos) << r.output;
  }
}

// One warning class: the edits that trigger it, the text and line expected, and edits of the same
// field that stay within the usual range.
struct WarningClass {
  const char* name;
  const std::vector<std::string>* base;
  std::vector<Edit> triggering;
  int line;
  std::string expected;
  std::vector<Edit> quiet;
};

std::vector<WarningClass> warningClasses() {
  const auto* en = &kEnglish;
  const auto* si = &kSI;
  const std::string clay = "3 0.0 400.0";
  return {
      {"unit weight in pcf", en, {{19, "120.0 0.0 32.0 0.0 0.0 0.0"}}, 19,
       "THE TOP RECORD OF SOIL LAYER 1, FIELD 1 (total unit weight): unit weight 120 pci lies "
       "outside the usual 0.03 to 0.1: did you mean pcf? 120 pcf = 0.06944 pci",
       {{19, "0.09 0.0 32.0 0.0 0.0 0.0"}}},
      {"unit weight in kg/m3", si, {{21, "1800.0 0.0 30.0 0.0 0.0 0.0"}}, 21,
       "did you mean kg/m3? 1800 kg/m3 = 17.66 kN/m3", {{21, "22.0 0.0 30.0 0.0 0.0 0.0"}}},
      {"cohesion in psf", en, {{18, clay}, {19, "0.0694 1000.0 0.0 0.0 0.0 0.0"}}, 19,
       "cohesion 1000 psi lies outside the usual 0.3 to 50: did you mean psf? 1000 psf = 6.944 psi",
       {{18, clay}, {19, "0.0694 6.94 0.0 0.0 0.0 0.0"}}},
      {"friction angle in radians", en, {{20, "0.0694 0.0 0.55 0.0 0.0 0.0"}}, 20,
       "did you give radians? 0.55 rad = 31.51 deg", {{20, "0.0694 0.0 45.0 0.0 0.0 0.0"}}},
      {"k in pcf", en, {{19, "0.0694 0.0 32.0 0.0 172800.0 0.0"}}, 19,
       "did you mean pcf? 1.728e+05 pcf = 100 pci", {{19, "0.0694 0.0 32.0 0.0 100.0 0.0"}}},
      {"E50 as a percentage", en, {{18, clay}, {19, "0.0694 6.94 0.0 1.0 0.0 0.0"}}, 19,
       "did you give a percentage? 1 % = 0.01", {{18, clay}, {19, "0.0694 6.94 0.0 0.01 0.0 0.0"}}},
      {"Young's modulus in ksi", en, {{8, "0 0 0 100 0 0 0 0 29000 0 0 0"}}, 8,
       "did you mean ksi? 2.9e+04 ksi = 2.9e+07 psi", {{8, "0 0 0 100 0 0 0 0 3000000 0 0 0"}}},
      {"Young's modulus in MPa", si, {{8, "0 0 0 34200.0E4 0 0 0 0 210000 0 0 0"}}, 8,
       "did you mean MPa? 2.1e+05 MPa = 2.1e+08 kPa", {{8, "0 0 0 34200.0E4 0 0 0 0 3.0E7 0 0 0"}}},
      {"moment of inertia in cm4", si, {{8, "0 0 0 34200.0 0 0 0 0 2.1E8 0 0 0"}}, 8,
       "did you give cm4? 3.42e+04 cm4 = 3.42e+08 mm4", {{8, "0 0 0 1.0E6 0 0 0 0 2.1E8 0 0 0"}}},
      {"wall width in feet", en, {{3, "40 6.0 10.0 0.0001 120.0 1.0 240.0 100 0 0 0"}}, 3,
       "THE WALL RECORD, FIELD 6 (wall width b): wall width b 1 in lies outside the usual 4 to "
       "240: did you give feet? 1 ft = 12 in",
       {{3, "40 6.0 10.0 0.0001 120.0 24.0 240.0 100 0 0 0"}}},
      {"width in mm", si, {{14, "4.0 1000.0 1.0 6.0 6.0 1.0 0 0.0 0.0"}}, 14,
       "did you give mm? 1000 mm = 1 m", {{14, "4.0 2.5 1.0 6.0 6.0 1.0 0 0.0 0.0"}}},
      {"surcharge distance in metres", si, {{17, "2 10.0 2.0 0.0 0.0 1.0"}}, 17,
       "lengths of surcharges are in mm with SI units: 2 m = 2000 mm",
       {{17, "2 10.0 0.0 0.0 0.0 1.0"}}},
      {"N x h differs from the wall height", en,
       {{3, "40 6.0 10.0 0.0001 120.0 12.0 200.0 100 0 0 0"}}, 3,
       "THE WALL RECORD, FIELD 7 (height of wall): N x h = 240 in differs from the height of wall "
       "200 in",
       {{3, "40 6.0 10.0 0.0001 120.0 12.0 240.5 100 0 0 0"}}},
      {"free heights differ", en, {{14, "100.0 12.0 12.0 400.0 400.0 1.0 0 0.0 0.0"}}, 14,
       "THE WALL INFORMATION RECORD, FIELD 1 (free height of wall (excavation level)): free "
       "height 100 in differs from the free height of the wall record 120 in",
       {{14, "120.0 24.0 12.0 400.0 400.0 1.0 0 0.0 0.0"}}},
      {"soil profile ends above the tip", en, {{18, "4 0.0 33.0"}}, 18,
       "the soil profile ends at 33 in, above the tip (N x h = 240); did you give feet?",
       {{18, "4 0.0 252.0"}}},
      {"soil short of the tip plus two increments", en, {{18, "4 0.0 245.0"}}, 18,
       "above the tip plus two increments (252)", {{18, "4 0.0 252.0"}}},
      {"free height below the tip", en,
       {{3, "40 6.0 10.0 0.0001 300.0 12.0 240.0 100 0 0 0"},
        {14, "300.0 12.0 12.0 400.0 400.0 1.0 0 0.0 0.0"}},
       3, "the free height 300 in lies below the tip (N x h = 240)",
       {{3, "40 6.0 10.0 0.0001 240.0 12.0 240.0 100 0 0 0"},
        {14, "240.0 12.0 12.0 400.0 400.0 1.0 0 0.0 0.0"}}},
      {"wall section depths in inches", en, {{4, "0.0 240.0 1"}}, 4,
       "the section reaches station 480, below the tip at station 40: did you give inches?",
       {{4, "0.0 21.0 1"}}},
      {"load row below the tip", en, {{12, "1\n1 40 41 0.0 0.0 0.0"}}, 13,
       "STIFFNESS AND LOAD RECORD 1, FIELD 3 (TO station): station 41 lies below the tip",
       {{12, "1\n1 40 40 0.0 0.0 0.0"}}},
      {"value taken from the note", en,
       {{3, "40 6.0 10.0 0.0001 120.0 12.0 240.0 100 0 0     10 ft piles"}}, 3,
       "value 11 ('10') stands apart from the values before it",
       {{3, "40 6.0 10.0 0.0001 120.0 12.0 240.0 100 0 0 0     C3 wall of 20 ft"}}},
      {"note that starts with a number", en,
       {{3, "40 6.0 10.0 0.0001 120.0 12.0 240.0 100 0 0 0     20 ft wall"}}, 3,
       "the note after the values starts with a number ('20 ft wall')",
       {{3, "40 6.0 10.0 0.0001 120.0 12.0 240.0 100 0 0 0     wall of 20 ft"}}},
  };
}

TEST_F(ExplainCheck, EachWarningClassIsReportedOnlyWhenTheValueIsUnusual) {
  for (const WarningClass& w : warningClasses()) {
    const CommandResult hit = check(*w.base, w.triggering);
    EXPECT_EQ(hit.status, 0) << w.name << "\n" << hit.output;
    const std::string where = ":" + std::to_string(w.line) + ": warning: ";
    const size_t at = hit.output.find(w.expected);
    ASSERT_NE(at, std::string::npos) << w.name << "\n" << hit.output;
    const size_t lineStart = hit.output.rfind('\n', at);
    const std::string line = hit.output.substr(lineStart == std::string::npos ? 0 : lineStart + 1,
                                               at - (lineStart == std::string::npos ? 0 : lineStart + 1));
    EXPECT_NE(line.find(where), std::string::npos) << w.name << "\n" << hit.output;
    EXPECT_NE(hit.output.find(": 0 errors, 1 warning\n"), std::string::npos)
        << w.name << "\n" << hit.output;

    const CommandResult quiet = check(*w.base, w.quiet);
    EXPECT_EQ(quiet.status, 0) << w.name << "\n" << quiet.output;
    EXPECT_NE(quiet.output.find(": 0 errors, 0 warnings"), std::string::npos)
        << w.name << " (quiet)\n" << quiet.output;
  }
}

TEST_F(ExplainCheck, PointsAndCurvesOutsideTheWallAreWarnedOf) {
  // One specified point at station -1 (the engine takes a deflection there), and one user curve
  // at station 41: both outside the stations 0..40 of the wall.
  auto lines = kEnglish;
  lines[1] = "1 1 1 1 0 2 2 1 0 0 0 0 0 0 0";
  lines[2] += "\n1 -1 0.0 0.0";
  lines[20] = "41 2 1.0 1.0\n-1.0 100.0\n1.0 -100.0\n0";
  CommandResult r = check(lines, {});
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(":4: warning: SPECIFIED DEFLECTION/SLOPE RECORD 1, FIELD 2 (station): "
                          "station -1 lies outside the wall (stations 0 to 40)"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find(":22: warning: THE CURVE RECORD OF USER P-Y CURVE 1, FIELD 1 (station): "
                          "station 41 lies outside the wall"),
            std::string::npos)
      << r.output;
  lines[2] = kEnglish[2] + "\n1 0 0.0 0.0";
  lines[20] = "40 2 1.0 1.0\n-1.0 100.0\n1.0 -100.0\n0";
  r = check(lines, {});
  EXPECT_NE(r.output.find(": 0 errors, 0 warnings"), std::string::npos) << r.output;
}

TEST_F(ExplainCheck, TieBackLengthsInInchesAreWarnedOf) {
  auto lines = kEnglish;
  lines[1] = "1 0 1 1 0 2 2 0 0 0 1 0 0 0 0";
  lines[12] = "0\n5.0 1.0 28500000 20.0 15.0 96.0 50000.0";
  CommandResult r = check(lines, {});
  EXPECT_NE(r.output.find(":14: warning: TIE BACK RECORD 1, FIELD 6 (anchor spacing): anchor "
                          "spacing 96 ft lies outside the usual 1 to 50: did you give inches?"),
            std::string::npos)
      << r.output;
  lines[12] = "0\n5.0 1.0 28500000 20.0 15.0 8.0 50000.0";
  r = check(lines, {});
  EXPECT_NE(r.output.find(": 0 errors, 0 warnings"), std::string::npos) << r.output;
}

TEST_F(ExplainCheck, ErrorsNameTheLineRecordAndFieldAndExitWithOne) {
  // A unit written into a number, with the warnings found before it reported as well.
  CommandResult r = check(kEnglish, {{3, "40 6.0 10.0 0.0001 120.0 1.0 240.0 100 0 0 0"},
                                     {19, "0.0694 0.0 32ft 0.0 0.0 0.0"}});
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find(":3: warning: THE WALL RECORD, FIELD 6"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find(":19: error: THE TOP RECORD OF SOIL LAYER 1, FIELD 3 (friction angle "
                          "phi): INPUT ERROR AT LINE 19"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find(": 1 error, 1 warning\n"), std::string::npos) << r.output;

  // A check of the engine after the values: the tie-back lies below the tip (40 x 6 in = 20 ft).
  auto lines = kEnglish;
  lines[1] = "1 0 1 1 0 2 2 0 0 0 1 0 0 0 0";
  lines[12] = "0\n25.0 1.0 28500000 20.0 15.0 8.0 50000.0";
  r = check(lines, {});
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find(":14: error: TIE BACK RECORD 1, FIELD 1 (depth): ERROR STOP -- TIE BACK "
                          "RECORD 1 AT LINE 14, FIELD 1: DEPTH"),
            std::string::npos)
      << r.output;
}

TEST_F(ExplainCheck, AStopAboutAnotherRecordDoesNotLabelAFieldOfTheLastRecord) {
  // No wall section counted: the stop speaks of the control record's field 3, not of field 3 of
  // the wall record read last.
  const CommandResult r = check(kEnglish, {{2, "1 0 0 1 0 2 2 0 0 0 0 0 0 0 0"}});
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("THE PROGRAM CONTROL RECORD (FIELD 3)"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("(maximum allowable deflection)"), std::string::npos) << r.output;
}

// The stops that the engine raises before it generates or analyses anything are found by check
// too, with the engine's own message.
TEST_F(ExplainCheck, TheStopsOfTheAnalysisThatFollowFromTheInputAreErrors) {
  const struct {
    std::vector<Edit> edits;
    const char* message;
  } stops[] = {
      {{{4, "0.0 20.0 2"}}, "ERROR STOP -- WALL SECTION 1 USES CROSS SECTION 2, WHICH IS NOT GIVEN"},
      {{{14, "120.0 12.0 0.0 400.0 400.0 1.0 0 0.0 0.0"}},
       "ERROR STOP -- WIDTH FOR SOIL RESISTANCE, WP, MUST BE GREATER THAN ZERO"},
      {{{2, "1 0 1 1 0 7 2 0 0 0 0 0 0 0 0"}},
       "ERROR STOP -- PRESSURE DISTRIBUTION OPTION 7 IS NOT 0 TO 6"},
      {{{8, "0 0 0 0 0 0 0 0 29000000 0 0 0"}}, "ERROR STOP -- THE FLEXURAL RIGIDITY AT STATION 0"},
  };
  for (const auto& stop : stops) {
    const CommandResult r = check(kEnglish, stop.edits);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find(std::string(": error: ") ), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(stop.message), std::string::npos) << r.output;
    const auto run = testing::runInputText(testing::readFile(dir_ / "case.dat"), "stop");
    EXPECT_NE(run.report.find(stop.message), std::string::npos) << stop.message;
  }
}

TEST_F(ExplainCheck, AReadErrorNamesTheCountThatWouldExplainIt) {
  // The control record counts no tie-back, yet a tie-back row follows the restraint count: it is
  // read as the soil data's wall information record.
  auto lines = kEnglish;
  lines[12] = "0\n5.0 1.0 28500000 20.0 15.0 8.0 50000.0";
  const CommandResult r = check(lines, {});
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("THE PROGRAM CONTROL RECORD (LINE 2) SAYS 0 TIE BACKS (FIELD 11)"),
            std::string::npos)
      << r.output;

  // The engine's report keeps the read error as its first line and names the count after it.
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  const auto run = testing::runInputText(text, "count-hint");
  size_t i = 0;
  while (i < run.reportLines.size() &&
         run.reportLines[i].find("INPUT ERROR AT LINE") == std::string::npos) {
    ++i;
  }
  ASSERT_LT(i + 1, run.reportLines.size()) << run.report;
  EXPECT_EQ(run.reportLines[i].rfind("     INPUT ERROR AT LINE 14 OF THE INPUT DATA FILE: THE "
                                     "WALL INFORMATION RECORD",
                                     0),
            0u)
      << run.reportLines[i];
  EXPECT_NE(run.reportLines[i + 1].find("SAYS 0 TIE BACKS (FIELD 11)"), std::string::npos)
      << run.reportLines[i + 1];
}

TEST_F(ExplainCheck, ExplainPrintsEveryRecordWithItsLineFieldsUnitsAndStations) {
  const fs::path example = fs::path(KORDEN_SOURCE_DIR) / "examples/tied_back_wall_two_anchors_si.dat";
  const CommandResult r = runKorden("explain", example);
  EXPECT_EQ(r.status, 0) << r.output;
  const auto lines = testing::splitLines(r.output);
  // 60 x 0.25 m; free height 9 m is station 9 / 0.25 = 36.
  for (const char* wanted :
       {"=== case 1 ===", "line 2: C2 THE PROGRAM CONTROL RECORD", "  units flag (1 English, 2 SI) = 2",
        "  number of tie-backs = 2", "line 3: C3 THE WALL RECORD", "  N, number of increments = 60",
        "  h, increment length = 0.25 m", "  free height of wall (excavation level) = 9 m (station 36)",
        "  height of wall = 15 m (station 60)", "line 4: C5 WALL SECTION RECORD 1",
        "  bottom of the section = 15 m (station 60)",
        "  moment of inertia I = 555100000 mm4", "  Young's modulus E = 210000000 kPa"}) {
    EXPECT_TRUE(testing::hasLine(lines, wanted)) << wanted << "\n" << r.output;
  }
  EXPECT_NE(r.output.find("TIE BACK RECORD 1\n  depth = "), std::string::npos) << r.output;
}

TEST_F(ExplainCheck, ExplainFollowsTheCasesAndShowsNullsAndTheLineOfEachValue) {
  const fs::path staged =
      fs::path(KORDEN_SOURCE_DIR) / "examples/staged_excavation_three_stages_english.dat";
  CommandResult r = runKorden("explain", staged);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("=== case 3 ==="), std::string::npos);
  EXPECT_EQ(r.output.find("=== case 4 ==="), std::string::npos);
  EXPECT_NE(r.output.find("end of the run after case 3"), std::string::npos);

  // English feet of a wall section: 10 ft x 12 / 6 in = station 20. A control record spread over
  // two lines and a null value that keeps the earlier 0.
  auto lines = kEnglish;
  lines[1] = "1 0 1 1 0 2 2 0\n0 0 0 0 0 0 0";
  lines[3] = "0.0 10.0 1";
  lines[14] = "0.0,,0.0 0.0 0.0 0.0";
  r = runKorden("explain", write(lines, {}));
  EXPECT_EQ(r.status, 0) << r.output;
  const auto out = testing::splitLines(r.output);
  EXPECT_TRUE(testing::hasLine(out, "lines 2-3: C2 THE PROGRAM CONTROL RECORD")) << r.output;
  EXPECT_TRUE(testing::hasLine(out, "  number of stages = 0  [line 3]")) << r.output;
  EXPECT_TRUE(testing::hasLine(out, "  bottom of the section = 10 ft (station 20)")) << r.output;
  EXPECT_TRUE(testing::hasLine(out, "  horizontal distance = 0 in  (null value: the field keeps its value)"))
      << r.output;
}

TEST_F(ExplainCheck, ExplainStopsWhereTheEngineStops) {
  const CommandResult r = check(kEnglish, {{12, "x"}});
  EXPECT_EQ(r.status, 1);
  const CommandResult e = runKorden("explain", dir_ / "case.dat");
  EXPECT_EQ(e.status, 1);
  EXPECT_NE(e.output.find("case.dat:12: error: INPUT ERROR AT LINE 12 OF THE INPUT DATA FILE: THE "
                          "COUNT OF STIFFNESS AND LOAD RECORDS, VALUE 1: EXPECTED AN INTEGER, "
                          "FOUND 'x'"),
            std::string::npos)
      << e.output;
  EXPECT_EQ(e.output.find("THE SURFACE RECORD"), std::string::npos);
}

// Every example reads without an error or a warning: its notes start with a letter and its values
// lie in the usual ranges.
TEST_F(ExplainCheck, EveryExampleChecksClean) {
  int examples = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(KORDEN_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".dat") continue;
    const CommandResult r = runKorden("check", entry.path());
    EXPECT_EQ(r.status, 0) << entry.path() << "\n" << r.output;
    EXPECT_NE(r.output.find(": 0 errors, 0 warnings"), std::string::npos)
        << entry.path() << "\n" << r.output;
    ++examples;
  }
  EXPECT_GE(examples, 15);
}

// Every truncation of the examples that hold every record group stops the reading with an error,
// the one that leaves out only the final continuation code too (the engine reports the early end
// and still writes the case's plot data block).
TEST_F(ExplainCheck, EveryTruncatedExampleIsAnError) {
  for (const char* name : {"all_records_english.dat", "all_records_si.dat"}) {
    const auto lines =
        testing::splitLines(testing::readFile(fs::path(KORDEN_SOURCE_DIR) / "examples" / name));
    std::string prefix;
    for (size_t i = 0; i < lines.size(); ++i) {
      const CommandResult r = runKorden("check", write(prefix));
      EXPECT_EQ(r.status, 1) << name << " cut at line " << i + 1 << "\n" << r.output;
      EXPECT_NE(r.output.find(": error: "), std::string::npos) << r.output;
      prefix += lines[i] + "\n";
    }
    EXPECT_EQ(runKorden("check", write(prefix)).status, 0) << name;
  }
}

TEST_F(ExplainCheck, TheMalformedFilesOfTheFuzzCorpusAreErrors) {
  for (const char* name : {"contd-open-chain-load-dropped.dat", "cov-repeat-counts-generated-ei-error.dat",
                           "cov-repeat-counts-user-ei-error.dat"}) {
    const CommandResult r = runKorden("check", fs::path(KORDEN_SOURCE_DIR) / "tests/fuzz/corpus" / name);
    EXPECT_EQ(r.status, 1) << name << "\n" << r.output;
  }
}

}  // namespace
}  // namespace korden

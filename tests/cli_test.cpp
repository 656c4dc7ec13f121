// The korden command as a user meets it: exit statuses, messages, scratch files, the summary and
// the CSV tables, run through the built binary; the summary's units and envelope on hand-made
// results.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/summary.h"
#include "test_support.h"

namespace korden {
namespace {

namespace fs = std::filesystem;
using testing::kSmallCase;
using testing::makeTempDir;
using testing::readFile;
using testing::runCommand;

const std::string kExamples = std::string(KORDEN_SOURCE_DIR) + "/examples/";

struct Outcome {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs korden with `args` in `dir`, standard error kept apart; TMPDIR is `dir`/tmp.
Outcome korden(const fs::path& dir, const std::string& args) {
  fs::create_directories(dir / "tmp");
  Outcome o;
  int status = 0;
  o.out = runCommand("cd " + dir.string() + " && TMPDIR=" + (dir / "tmp").string() + " " +
                         KORDEN_CLI + " " + args + " 2>stderr.txt",
                     status);
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  o.err = readFile(dir / "stderr.txt");
  fs::remove(dir / "stderr.txt");
  return o;
}

// One change of an example: on line `line` (1-based), `from` replaced by `to`.
struct Edit {
  int line;
  std::string from, to;
};

// An example with the changes made.
void writeEdited(const fs::path& to, const std::string& example, const std::vector<Edit>& edits) {
  std::ifstream in(kExamples + example);
  std::ofstream out(to);
  std::string text;
  for (int n = 1; std::getline(in, text); ++n) {
    for (const Edit& e : edits) {
      if (e.line != n) continue;
      const size_t at = text.find(e.from);
      EXPECT_NE(at, std::string::npos) << example << " line " << n;
      if (at != std::string::npos) text.replace(at, e.from.size(), e.to);
    }
    out << text << "\n";
  }
}

TEST(Cli, ExitStatusAndMessageForEachOutcome) {
  const fs::path dir = makeTempDir("cli-exit");
  fs::copy_file(kExamples + "staged_excavation_three_stages_english.dat", dir / "staged.dat");
  // Increment length 0.5 in: the 26 ft wall becomes 26 in long and swings past 12 in at once.
  writeEdited(dir / "swing.dat", "cantilever_sheet_pile_english.dat",
              {{3, "52 6.0 12.0", "52 6.0 0.5"}});
  writeEdited(dir / "letter.dat", "cantilever_sheet_pile_english.dat", {{3, "52 6.0", "x52 6.0"}});
  { std::ofstream(dir / "empty.dat"); }
  {
    const std::string text = readFile(kExamples + "cantilever_sheet_pile_english.dat");
    std::ofstream(dir / "short.dat") << text.substr(0, text.find("PZ27 STEEL"));
  }
  // The excavation level (E1, 600 in) below the 30 ft soil profile: generator stop 1.
  writeEdited(dir / "deep.dat", "pressure_triangular_english.dat",
              {{14, "144.0 12.0", "600.0 12.0"}});

  const Outcome staged = korden(dir, "run staged.dat");
  EXPECT_EQ(staged.status, 0) << staged.err;
  EXPECT_NE(staged.out.find("\n3 cases, all closed\n"), std::string::npos) << staged.out;

  const Outcome swing = korden(dir, "run swing.dat");
  EXPECT_EQ(swing.status, 4);
  EXPECT_NE(swing.out.find("1 case, 1 without results (case 1: maximum allowable deflection "
                           "exceeded)"),
            std::string::npos)
      << swing.out;

  const Outcome letter = korden(dir, "run letter.dat");
  EXPECT_EQ(letter.status, 1);
  EXPECT_NE(letter.err.find("letter.dat:3: error: THE WALL RECORD, VALUE 1: EXPECTED AN INTEGER, "
                            "FOUND 'x52'\n"),
            std::string::npos)
      << letter.err;
  // The report keeps its own line.
  EXPECT_NE(readFile(dir / "letter.out").find("INPUT ERROR AT LINE 3"), std::string::npos);
  EXPECT_NE(letter.out.find("the run stopped at an input error"), std::string::npos);

  const Outcome shortInput = korden(dir, "run short.dat");
  EXPECT_EQ(shortInput.status, 1);
  EXPECT_NE(shortInput.err.find("short.dat:6: error: THE NAME RECORD OF CROSS SECTION 1: expected "
                                "more values, found the end of the file"),
            std::string::npos)
      << shortInput.err;

  const Outcome empty = korden(dir, "run empty.dat");
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("empty.dat:1: error: the input data file is empty"), std::string::npos)
      << empty.err;

  const Outcome missing = korden(dir, "run none.dat");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot open the input data file 'none.dat'"), std::string::npos);

  // An input error in stage 2: stage 1 keeps its results, stage 2 has none.
  writeEdited(dir / "stage2.dat", "staged_excavation_three_stages_english.dat",
              {{104, "64 6.0 12.0", "64 6.0 twelve"}});
  const Outcome stage2 = korden(dir, "run stage2.dat");
  EXPECT_EQ(stage2.status, 1);
  EXPECT_NE(stage2.err.find("stage2.dat:104: error: THE WALL RECORD, VALUE 3: "), std::string::npos)
      << stage2.err;
  EXPECT_NE(stage2.out.find("\n2 cases, 1 without results (stage 2: input error at line 104); "
                            "the run stopped at an input error\n"),
            std::string::npos)
      << stage2.out;
  EXPECT_NE(stage2.out.find("  no results: input error at line 104\n"), std::string::npos);
  // Stage 1 still has its figures, stage 2 a dash in the table of the stages.
  EXPECT_NE(stage2.out.find("Stage 1     Stage 2     envelope"), std::string::npos);
  EXPECT_NE(stage2.out.find("-           "), std::string::npos);

  // 401 user curves: the storage stop.
  writeEdited(dir / "many.dat", "cantilever_sheet_pile_english.dat",
              {{2, "1 0 1 1 0 0 0 4 ", "1 0 1 1 0 0 0 401 "}});
  const Outcome many = korden(dir, "run many.dat");
  EXPECT_EQ(many.status, 1);
  EXPECT_NE(many.err.find("many.dat: error: TOO MUCH DATA FOR AVAILABLE STORAGE"),
            std::string::npos)
      << many.err;

  const Outcome deep = korden(dir, "run deep.dat");
  EXPECT_EQ(deep.status, 3);
  EXPECT_NE(deep.err.find("deep.dat: error: STOP 1 -- THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL "
                          "PROFILE"),
            std::string::npos)
      << deep.err;

  for (const std::string args : {"run", "run staged.dat --colour", "run a.dat b.dat",
                                 "run staged.dat --out", "frobnicate"}) {
    const Outcome usage = korden(dir, args);
    EXPECT_EQ(usage.status, 2) << args;
    EXPECT_FALSE(usage.err.empty()) << args;
  }
  fs::remove_all(dir);
}

TEST(Cli, HelpAndVersionOnStandardOutputAndBareKordenWithoutNamesFile) {
  const fs::path dir = makeTempDir("cli-help");
  for (const std::string args : {"--help", "help"}) {
    const Outcome help = korden(dir, args);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.err.empty());
    for (const char* text : {"korden run INPUT", "--plots", "--csv", "--keep-scratch", "  0  ",
                             "  1  ", "  2  ", "  3  ", "  4  ", "KORDEN_PLPLOT_LIBRARY"}) {
      EXPECT_NE(help.out.find(text), std::string::npos) << args << ": " << text;
    }
  }
  const Outcome version = korden(dir, "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "korden 1.0.0\n");
  const Outcome bare = korden(dir, "");
  EXPECT_EQ(bare.status, 2);
  EXPECT_NE(bare.err.find("korden run INPUT"), std::string::npos) << bare.err;
  fs::remove_all(dir);
}

std::vector<std::string> filesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Cli, ScratchFilesAreRemovedAndAnExistingNamesFileIsNeverWrittenOver) {
  const fs::path dir = makeTempDir("cli-scratch");
  fs::create_directories(dir / "job");
  // Generated pressure: the run writes a pressure file.
  fs::copy_file(kExamples + "pressure_triangular_english.dat", dir / "job" / "wall.dat");
  const Outcome plain = korden(dir, "run job/wall.dat");
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(filesIn(dir / "job"),
            (std::vector<std::string>{"wall.aux", "wall.dat", "wall.out", "wall.plt"}));
  EXPECT_TRUE(filesIn(dir / "tmp").empty());

  const std::string hosts = "HOST 2.0\n\n\n0\nother.dat\nother.out\n";
  { std::ofstream(dir / "job" / "NAMES.dat") << hosts; }
  EXPECT_EQ(korden(dir, "run job/wall.dat").status, 0);
  EXPECT_EQ(readFile(dir / "job" / "NAMES.dat"), hosts);
  const Outcome kept = korden(dir, "run job/wall.dat --keep-scratch");
  EXPECT_EQ(kept.status, 0) << kept.err;
  EXPECT_EQ(readFile(dir / "job" / "NAMES.dat"), hosts);
  const std::string names = readFile(dir / "job" / "wall-NAMES.dat");
  EXPECT_NE(names.find((dir / "job" / "wall.out").string()), std::string::npos) << names;
  EXPECT_TRUE(fs::exists(dir / "job" / "wall.prs"));
  EXPECT_NE(kept.out.find("wall-NAMES.dat"), std::string::npos);
  fs::remove_all(dir);
}

// The numbers of the results table rows (station, X, seven values) of every case in the report.
std::vector<std::vector<std::vector<double>>> reportTables(const std::string& report) {
  std::vector<std::vector<std::vector<double>>> cases;
  std::istringstream in(report);
  std::string line;
  bool inTable = false;
  while (std::getline(in, line)) {
    if (line.rfind("   STA I      X         DEFL.", 0) == 0) {
      cases.emplace_back();
      std::getline(in, line);  // units
      std::getline(in, line);  // underline
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    std::istringstream row(line);
    std::vector<double> values;
    double v;
    while (row >> v) values.push_back(v);
    if (values.size() != 9) {
      inTable = false;
      continue;
    }
    cases.back().push_back(values);
  }
  return cases;
}

// The report prints 4 significant digits.
void expectAsPrinted(double csv, double report, const std::string& where) {
  EXPECT_NEAR(csv, report, 5.01e-4 * std::fabs(report) + 1e-300) << where;
}

TEST(Cli, CsvRowsEqualTheReportsTableAndSupportForces) {
  const fs::path dir = makeTempDir("cli-csv");
  fs::copy_file(kExamples + "staged_excavation_three_stages_english.dat", dir / "st.dat");
  const Outcome run = korden(dir, "run st.dat --csv");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto tables = reportTables(readFile(dir / "st.out"));
  ASSERT_EQ(tables.size(), 3u);
  for (size_t k = 0; k < tables.size(); ++k) {
    const fs::path csv = dir / ("st-" + std::to_string(k + 1) + ".csv");
    EXPECT_NE(run.out.find(csv.string()), std::string::npos);
    std::ifstream in(csv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line,
              "depth (ft),deflection (in),slope (rad),moment (lb-in),shear (lb),"
              "soil reaction (lb/in),net force per station (lb),EI (lb-in2)");
    size_t row = 0;
    for (; std::getline(in, line); ++row) {
      ASSERT_LT(row, tables[k].size());
      std::vector<double> values;
      std::istringstream fields(line);
      std::string field;
      while (std::getline(fields, field, ',')) values.push_back(std::stod(field));
      ASSERT_EQ(values.size(), 8u) << line;
      for (size_t c = 0; c < 8; ++c) {
        expectAsPrinted(values[c], tables[k][row][c + 1],
                        csv.filename().string() + " row " + std::to_string(row));
      }
    }
    EXPECT_EQ(row, 65u);  // stations 0..64
  }
  // Stage 1 has no tie-back yet; stages 2 and 3 have one (report: FORCE/TIE BACK).
  const std::string supports = readFile(dir / "st-supports.csv");
  const auto lines = testing::splitLines(supports);
  ASSERT_EQ(lines.size(), 3u) << supports;
  EXPECT_EQ(lines[1].rfind("2,\"Stage 2\",tie-back,1,10,5.000000E+00,", 0), 0u) << lines[1];
  fs::remove_all(dir);
}

// The text of an SVG file's text elements, one per line, read by an XML parser (which fails on a
// file that is not well-formed XML).
std::string svgTexts(const fs::path& svg, int& status) {
  return runCommand(
      "xmllint --xpath \"//*[local-name()='tspan']/text()\" " + svg.string() + " 2>&1", status);
}

TEST(Cli, PlotsAreSvgWithTheirPanelsAndNoPlotForACaseWithoutResults) {
  if (!KORDEN_CLI_PLOTS) GTEST_SKIP() << "korden is built without plots";
  int status = 0;
  runCommand("xmllint --version 2>&1", status);
  if (status != 0) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
  const fs::path dir = makeTempDir("cli-plots");
  fs::copy_file(kExamples + "staged_excavation_three_stages_english.dat", dir / "st.dat");
  fs::copy_file(kExamples + "curves_sand_si.dat", dir / "sand.dat");
  const Outcome staged = korden(dir, "run st.dat --plots");
  ASSERT_EQ(staged.status, 0) << staged.err;
  for (const char* name : {"st-1.svg", "st-2.svg", "st-3.svg", "st-stages.svg"}) {
    EXPECT_NE(staged.out.find("Plot:                  " + (dir / name).string()), std::string::npos)
        << name;
    const std::string texts = svgTexts(dir / name, status);
    EXPECT_EQ(status, 0) << name << ": " << texts;
    for (const char* panel : {"Deflection (in)", "Moment (kip-ft)", "Shear (kip)",
                              "Soil reaction (kip/ft)", "Depth (ft)", "excavation"}) {
      EXPECT_NE(texts.find(panel), std::string::npos) << name << ": " << panel;
    }
    // No pressure is generated in this example.
    EXPECT_EQ(texts.find("Earth pressure"), std::string::npos) << name;
  }
  EXPECT_NE(svgTexts(dir / "st-2.svg", status).find("Stage 2: STAGED CUT"), std::string::npos);
  EXPECT_NE(svgTexts(dir / "st-2.svg", status).find("tie-back 1"), std::string::npos);
  const std::string legend = svgTexts(dir / "st-stages.svg", status);
  for (const char* label : {"Stage 1", "Stage 2", "Stage 3"}) {
    EXPECT_NE(legend.find(label), std::string::npos) << label;
  }

  // Generated pressure: its panel, in SI units.
  const Outcome sand = korden(dir, "run sand.dat --plots");
  ASSERT_EQ(sand.status, 0) << sand.err;
  const std::string texts = svgTexts(dir / "sand-1.svg", status);
  EXPECT_EQ(status, 0);
  for (const char* panel : {"Deflection (mm)", "Moment (kN-m)", "Earth pressure (kN/m)"}) {
    EXPECT_NE(texts.find(panel), std::string::npos) << panel;
  }
  EXPECT_FALSE(fs::exists(dir / "sand-stages.svg"));

  // A case without results: no plot, and a line saying so.
  writeEdited(dir / "swing.dat", "cantilever_sheet_pile_english.dat",
              {{3, "52 6.0 12.0", "52 6.0 0.5"}});
  const Outcome swing = korden(dir, "run swing.dat --plots");
  EXPECT_EQ(swing.status, 4);
  EXPECT_NE(swing.out.find("No plot for Case 1: it has no results"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "swing-1.svg"));
  fs::remove_all(dir);
}

// The number of times `text` occurs in `in`.
size_t occurrences(const std::string& in, const std::string& text) {
  size_t count = 0;
  for (size_t at = in.find(text); at != std::string::npos; at = in.find(text, at + 1)) ++count;
  return count;
}

// The plotting library is loaded only when a picture is drawn: the command's dynamic section
// names none of its files, and where plots are built the C library stays shared (dlopen).
TEST(Cli, StartsWithoutThePlottingLibrary) {
  int status = 0;
  runCommand("readelf --version >/dev/null 2>&1", status);
  if (status != 0) GTEST_SKIP() << "readelf (binutils) is not installed";
  const std::string dynamic = runCommand(std::string("readelf -d ") + KORDEN_CLI + " 2>&1", status);
  ASSERT_EQ(status, 0) << dynamic;
  std::vector<std::string> needed;
  for (const std::string& line : testing::splitLines(dynamic)) {
    if (line.find("(NEEDED)") == std::string::npos) continue;
    const size_t open = line.find('['), close = line.rfind(']');
    ASSERT_TRUE(open != std::string::npos && close > open) << line;
    needed.push_back(line.substr(open + 1, close - open - 1));
  }
  for (const std::string& name : needed) {
    EXPECT_EQ(name.find("plplot"), std::string::npos) << name;
  }
  if (KORDEN_CLI_PLOTS) {
    EXPECT_TRUE(std::find(needed.begin(), needed.end(), "libc.so.6") != needed.end()) << dynamic;
  }
}

// A plotting library that cannot be loaded (KORDEN_PLPLOT_LIBRARY names the file): the report is
// written, the reason is given once, no picture is named or left behind, and the run is not
// reported as a success.
TEST(Cli, PlotsThatCannotBeLoadedAreNamedAndTheRunFails) {
  if (!KORDEN_CLI_PLOTS) GTEST_SKIP() << "korden is built without plots";
  const fs::path dir = makeTempDir("cli-plots-missing");
  fs::copy_file(kExamples + "staged_excavation_three_stages_english.dat", dir / "st.dat");
  const std::string missing = (dir / "no-such-libplplot.so.17").string();
  {
    testing::ScopedEnvironment library("KORDEN_PLPLOT_LIBRARY", missing.c_str());
    const Outcome staged = korden(dir, "run st.dat --plots");
    EXPECT_EQ(staged.status, 1);
    const std::string reason =
        "korden: plots are not available: cannot load " + missing + " (" + missing + ": ";
    EXPECT_EQ(occurrences(staged.err, reason), 1u) << staged.err;
    EXPECT_EQ(staged.out.find("Plot:  "), std::string::npos) << staged.out;
    EXPECT_NE(staged.out.find("\n3 cases, all closed\n"), std::string::npos) << staged.out;
    EXPECT_NE(readFile(dir / "st.out").find("END OF ANALYSIS"), std::string::npos);
    for (const std::string& name : filesIn(dir)) {
      EXPECT_NE(fs::path(name).extension(), ".svg") << name;
    }

    // No closed case, no picture to draw: the library is not needed.
    writeEdited(dir / "swing.dat", "cantilever_sheet_pile_english.dat",
                {{3, "52 6.0 12.0", "52 6.0 0.5"}});
    const Outcome swing = korden(dir, "run swing.dat --plots");
    EXPECT_EQ(swing.status, 4);
    EXPECT_EQ(swing.err.find("plots are not available"), std::string::npos) << swing.err;
    EXPECT_NE(swing.out.find("No plot for Case 1: it has no results"), std::string::npos);
  }
  {
    // A library that loads but has none of the plotting functions.
    testing::ScopedEnvironment library("KORDEN_PLPLOT_LIBRARY", "libm.so.6");
    const Outcome staged = korden(dir, "run st.dat --plots");
    EXPECT_EQ(staged.status, 1);
    EXPECT_NE(staged.err.find("korden: plots are not available: libm.so.6 has no function c_pl"),
              std::string::npos)
        << staged.err;
    EXPECT_EQ(staged.out.find("Plot:  "), std::string::npos) << staged.out;
  }
  fs::remove_all(dir);
}

// Curve depths (Part of the curve generation): five per counted layer, at z_t + 0.01 m, quarter
// points and z_b - 0.01 m below the excavation level (6 m), the last layer ending two increments
// below the tip (12.5 m); stations of 0.25 m, rounded half away from zero.
TEST(Cli, WarnsWhenGeneratedCurvesLieFarApart) {
  const fs::path dir = makeTempDir("cli-spacing");
  fs::copy_file(kExamples + "curves_sand_si.dat", dir / "two.dat");
  // Layers 6-7 m and 7-12.5 m: stations 24..28, then 28, 34 (8.375 m), 39, 45 (11.125 m), 50:
  // at most 6 increments, 1.5 m apart, which is not more than 1.5 m.
  const Outcome two = korden(dir, "run two.dat");
  EXPECT_EQ(two.status, 0) << two.err;
  EXPECT_EQ(two.out.find("warning"), std::string::npos) << two.out;
  // Layers 0-2 m (above the excavation level, not counted) and 2-15 m, so one counted layer
  // from the excavation level to 12.5 m: X 6.01, 7.625, 9.25, 10.875, 12.49 m, stations
  // 24, 31, 37, 44, 50: 7 increments, 1.75 m apart.
  writeEdited(dir / "one.dat", "curves_sand_si.dat",
              {{19, "4 0.0 7.0", "4 0.0 2.0"}, {22, "4 7.0 15.0", "4 2.0 15.0"}});
  const Outcome one = korden(dir, "run one.dat");
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_NE(one.out.find("warning: Case 1: generated p-y curves lie up to 1.75 m apart"),
            std::string::npos)
      << one.out;
  fs::remove_all(dir);
}

// Results of one closed case, made by hand: a linear moment from 0 to `bottomMoment`.
CaseResults handCase(int number, const std::string& heading, double bottomMoment, int units = 1) {
  CaseResults c;
  c.number = number;
  c.heading = heading;
  c.unitsFlag = units;
  c.closed = true;
  for (int i = 0; i <= 4; ++i) {
    c.depth.push_back(i * 2.0);
    c.deflection.push_back(0.5 - 0.25 * i);  // 0.5 at the top to -0.5 at the toe
    c.slope.push_back(0.0);
    c.moment.push_back(bottomMoment * i / 4.0);
    c.shear.push_back(i == 2 ? -3000.0 : 1000.0);
    c.soilReaction.push_back(i == 3 ? -50.0 : 0.0);
    c.netForce.push_back(0.0);
    c.ei.push_back(1e10);
  }
  return c;
}

TEST(CliSummary, EngineeringUnitsSupportSignsAndEnvelope) {
  RunResults run;
  run.end = RunEnd::Normal;
  run.cases.push_back(handCase(1, "Stage No : 1 CUT", -120000.0));  // -10 kip-ft at 8 ft
  run.cases.push_back(handCase(2, "Stage No : 2 CUT", 240000.0));   // +20 kip-ft at 8 ft
  SupportResult tie;
  tie.number = 1;
  tie.depth = 5.0;
  tie.forcePerSupport = -23560.0;  // holds the wall back: tension
  run.cases[1].supports.push_back(tie);
  SupportResult strut = tie;
  strut.tieBack = false;
  strut.forcePerSupport = -4000.0;  // holds the wall back: compression
  run.cases[1].supports.push_back(strut);
  std::ostringstream out;
  printRunSummary(out, run);
  const std::string text = out.str();
  for (const char* wanted :
       {"Stage 1: CUT\n", "deflection: top 0.5 in, toe -0.5 in, largest 0.5 in at 0.00 ft",
        "largest negative -10 kip-ft at 8.00 ft", "largest positive 20 kip-ft at 8.00 ft",
        "shear:      largest -3 kip at 4.00 ft",
        // -50 lb/in is -0.6 kip/ft.
        "soil reaction: largest -0.6 kip/ft at 6.00 ft",
        "tie-back 1 at 5.00 ft: 23.56 kip tension per tie-back",
        "strut 1 at 5.00 ft: 4 kip compression per strut",
        // Envelope: the most negative moment is stage 1's, the most positive stage 2's.
        "-10         none        -10         Stage 1, 8.00 ft",
        "none        20          20          Stage 2, 8.00 ft"}) {
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  }
  // Stage 1 has no positive moment.
  EXPECT_NE(text.find("largest positive none"), std::string::npos) << text;

  // SI: metres of deflection shown in millimetres, kN-m as they are.
  RunResults si;
  si.end = RunEnd::Normal;
  si.cases.push_back(handCase(1, "WALL", -35.0, 2));
  si.cases[0].deflection[0] = 0.012;
  std::ostringstream siOut;
  printRunSummary(siOut, si);
  EXPECT_NE(siOut.str().find("Case 1: WALL\n  closed"), std::string::npos) << siOut.str();
  EXPECT_NE(siOut.str().find("top 12 mm"), std::string::npos) << siOut.str();
  EXPECT_NE(siOut.str().find("largest negative -35 kN-m at 8.00 m"), std::string::npos);
}

TEST(CliSummary, ClosingLineExitStatusAndCurveSpacingWarning) {
  RunResults run;
  run.end = RunEnd::Normal;
  for (int k = 1; k <= 3; ++k) {
    run.cases.push_back(handCase(k, "Stage No : " + std::to_string(k) + " CUT", 1.0));
  }
  EXPECT_EQ(closingLine(run), "3 cases, all closed");
  EXPECT_EQ(exitStatusOf(run), 0);
  run.cases[1].closed = false;
  run.cases[1].noResultsReason = "maximum allowable deflection exceeded";
  EXPECT_EQ(closingLine(run),
            "3 cases, 1 without results (stage 2: maximum allowable deflection exceeded)");
  EXPECT_EQ(exitStatusOf(run), 4);
  run.end = RunEnd::InputError;
  EXPECT_EQ(exitStatusOf(run), 1);
  run.end = RunEnd::ErrorStop;
  EXPECT_EQ(exitStatusOf(run), 1);
  run.end = RunEnd::GeneratorStop;
  EXPECT_EQ(exitStatusOf(run), 3);
  run.end = RunEnd::WriteFailed;
  EXPECT_EQ(exitStatusOf(run), 1);
  RunResults none;
  none.end = RunEnd::Normal;
  EXPECT_EQ(exitStatusOf(none), 1);

  // Five curves per layer: a 10 m layer puts them 2 m apart, past 1.5 m; 1.5 m itself is fine.
  RunResults si;
  si.cases.push_back(handCase(1, "WALL", 1.0, 2));
  si.cases[0].largestCurveSpacing = 2.0;
  std::ostringstream warned;
  printWarnings(warned, si);
  EXPECT_NE(warned.str().find("2.00 m apart"), std::string::npos) << warned.str();
  EXPECT_NE(warned.str().find("split"), std::string::npos);
  si.cases[0].largestCurveSpacing = 1.5;
  std::ostringstream quiet;
  printWarnings(quiet, si);
  EXPECT_EQ(quiet.str(), "");
}

}  // namespace
}  // namespace korden

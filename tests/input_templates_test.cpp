// The input templates and the annotated example of docs/input-format.md: each runs through the
// engine and closes with plausible numbers, echoes every record group it promises, and reads the
// same values with its notes as without them (no note is ever taken as a value).
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "test_support.h"

namespace korden {
namespace {

using testing::readFile;
using testing::runInputText;
using testing::splitLines;

std::string sourceFile(const std::string& relative) {
  return readFile(std::string(KORDEN_SOURCE_DIR) + "/" + relative);
}

bool startsWithLetter(const std::string& token) {
  return !token.empty() && std::isalpha(static_cast<unsigned char>(token[0])) != 0;
}

std::vector<std::string> tokens(const std::string& line) {
  std::vector<std::string> out;
  std::string current;
  for (char c : line) {
    if (c == ' ' || c == '\t') {
      if (!current.empty()) out.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

// The input without its notes: a free-format line keeps the values before its first word, a text
// line (one that starts with a letter) keeps its text record. Title lines keep 70 columns and
// name lines 80, the widths the reader keeps.
std::string withoutNotes(const std::string& input) {
  std::string out;
  bool first = true;
  for (const std::string& line : splitLines(input)) {
    const auto t = tokens(line);
    std::string kept;
    if (!t.empty() && startsWithLetter(t[0])) {
      kept = line.substr(0, first ? 70 : 80);
    } else {
      for (const std::string& v : t) {
        if (startsWithLetter(v)) break;
        kept += (kept.empty() ? "" : " ") + v;
      }
    }
    out += kept + "\n";
    first = false;
  }
  return out;
}

// The report without the lines that name the run's files and time.
std::string reportBody(const std::string& report) {
  std::string out;
  for (const std::string& line : splitLines(report)) {
    if (line.find("Path to file locations") != std::string::npos) continue;
    if (line.find("Time:") != std::string::npos) continue;
    out += line + "\n";
  }
  return out;
}

struct StationResult {
  double deflection = 0.0, moment = 0.0;
};

// The rows of the results table: station, X, deflection, slope, moment, ...
std::vector<StationResult> resultsTable(const std::vector<std::string>& report) {
  std::vector<StationResult> rows;
  bool inTable = false;
  for (const std::string& line : report) {
    if (line.rfind("   ------    ----        ----", 0) == 0) {
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    const auto t = tokens(line);
    if (t.size() < 9) break;
    rows.push_back({std::strtod(t[2].c_str(), nullptr), std::strtod(t[4].c_str(), nullptr)});
  }
  return rows;
}

void expectClosed(const testing::RunOutput& r) {
  EXPECT_EQ(r.returnCode, 0) << r.errors;
  ASSERT_FALSE(r.reportLines.empty());
  EXPECT_EQ(r.reportLines.back(), "     END OF ANALYSIS");
  EXPECT_NE(r.report.find("     NUMBER OF ITERATIONS :"), std::string::npos);
  for (const char* failure : {"NOT CLOSED", "EXCEEDED", "ERROR", "STOP", "WARNING", "NaN", "Inf"}) {
    EXPECT_EQ(r.report.find(failure), std::string::npos) << failure;
  }
}

struct Template {
  const char* file;
  double excavation;     // free height in the internal length unit
  double plasticMoment;  // last moment of the template's moment-curvature set
};

class InputTemplates : public ::testing::TestWithParam<Template> {};

TEST_P(InputTemplates, CloseWithPlausibleDeflectionsAndMoments) {
  const Template& t = GetParam();
  const auto r = runInputText(sourceFile(t.file), "template");
  expectClosed(r);
  const auto rows = resultsTable(r.reportLines);
  ASSERT_EQ(rows.size(), 61u);  // stations 0..60
  double yMax = 0.0, mMax = 0.0;
  for (const StationResult& s : rows) {
    yMax = std::max(yMax, std::fabs(s.deflection));
    mMax = std::max(mMax, std::fabs(s.moment));
  }
  // A supported wall moves, but by less than 1 % of its retained height; its moment stays below
  // the plastic moment of its section.
  EXPECT_GT(yMax, 1.0e-4 * t.excavation);
  EXPECT_LT(yMax, 0.01 * t.excavation);
  EXPECT_GT(mMax, 0.0);
  EXPECT_LT(mMax, t.plasticMoment);
}

TEST_P(InputTemplates, EchoEveryRecordGroup) {
  const auto r = runInputText(sourceFile(GetParam().file), "template");
  for (const char* banner : {
           "      *        SPECIFIED DEFLECTIONS AND SLOPES        *",
           "     * WALL SECTIONS *",
           "      TYPE                :  NONLINEAR",
           "      TYPE                :  ELASTIC",
           "     * USER DEFINED NONLINEAR EI *",
           "      *        STIFFNESS AND LOAD DATA                 *",
           "      *                  TIE BACK DATA                 *",
           "      *               STRUT/RAKER DATA                 *",
           "      *        SPECIFIED ACTIVE EARTH PRESSURE         *",
           "      *     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *",
           "      *          SOIL LAYERS AND STRENGTH DATA         *",
           "     REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS",
           "     LATERAL AND ROTATIONAL RESTRAINT RESULTS",
           "     TIE BACK RESULTS",
           "     STRUT/RAKER RESULTS",
           "     WALES RESULTS",
           "     NODE REACTIONS",
       }) {
    EXPECT_NE(r.report.find(banner), std::string::npos) << banner;
  }
  EXPECT_NE(r.report.find("TAPERED SECTION"), std::string::npos);
}

TEST_P(InputTemplates, EveryLineCarriesANoteThatStartsWithALetter) {
  const auto lines = splitLines(sourceFile(GetParam().file));
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto t = tokens(lines[i]);
    ASSERT_FALSE(t.empty()) << "line " << i + 1;
    if (startsWithLetter(t[0])) {
      // A text record: its note lies beyond the columns the reader keeps.
      EXPECT_GT(lines[i].size(), i == 0 ? 71u : 81u) << "line " << i + 1;
      continue;
    }
    bool note = false;
    for (const std::string& v : t) {
      if (startsWithLetter(v)) {
        note = true;
        break;
      }
    }
    EXPECT_TRUE(note) << "line " << i + 1 << ": " << lines[i];
  }
}

TEST_P(InputTemplates, NotesChangeNothing) {
  const std::string input = sourceFile(GetParam().file);
  const auto noted = runInputText(input, "noted");
  const auto bare = runInputText(withoutNotes(input), "bare");
  EXPECT_EQ(reportBody(noted.report), reportBody(bare.report));
  EXPECT_EQ(noted.plot, bare.plot);
}

INSTANTIATE_TEST_SUITE_P(BothUnitSystems, InputTemplates,
                         ::testing::Values(Template{"examples/template_si.dat", 8.0, 1300.0},
                                           Template{"examples/template_english.dat", 180.0,
                                                    7.35e6}));

// The complete annotated example of the input reference runs as printed, notes and all.
TEST(InputReference, AnnotatedExampleRunsAndItsNotesChangeNothing) {
  const std::string doc = sourceFile("docs/input-format.md");
  const std::string start = "```\nCANTILEVER AZ 18";
  const size_t from = doc.find(start);
  ASSERT_NE(from, std::string::npos);
  const size_t to = doc.find("```", from + 4);
  ASSERT_NE(to, std::string::npos);
  const std::string input = doc.substr(from + 4, to - from - 4);
  const auto noted = runInputText(input, "reference");
  expectClosed(noted);
  ASSERT_EQ(resultsTable(noted.reportLines).size(), 41u);  // stations 0..40
  const auto bare = runInputText(withoutNotes(input), "reference-bare");
  EXPECT_EQ(reportBody(noted.report), reportBody(bare.report));
}

}  // namespace
}  // namespace korden

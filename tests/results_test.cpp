// The results of a closed analysis: the station results with the applied-couple corrections,
// the support forces and wales, the plot data blocks, and the bundled examples run end to end
// (expected reports byte for byte, and equilibrium checked from the report's own numbers).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/solver.h"
#include "engine/errors.h"
#include "engine/single_precision.h"
#include "report/results_report.h"
#include "test_support.h"

namespace korden {
namespace {

namespace fs = std::filesystem;
using testing::hasLine;
using testing::readFile;
using testing::runInputText;
using testing::splitLines;

// ------------------------------------------------------------------ reading a report back

struct StationRow {
  int station = 0;
  double x = 0, deflection = 0, slope = 0, moment = 0, shear = 0, soil = 0, netForce = 0, ei = 0;
};

struct SupportRow {
  int number = 0, station = 0;
  double depth = 0, horizontal = 0, along = 0, perSupport = 0;
};

// A row of the stiffness and load echo: FROM and TO are blank in the rows of a chain that do
// not use them.
struct LoadEcho {
  std::optional<int> from, to;
  int contd = 1;
  double q = 0;
};

// One analysis case as the report shows it.
struct ReportCase {
  bool english = true;
  std::vector<LoadEcho> loadEcho;  // loads, restraints, then one row per support
  std::vector<StationRow> stations;
  std::vector<SupportRow> tieBacks, struts;
  std::vector<std::vector<double>> wales;  // depth, spacing, reaction, load, moment
  bool hasRestraints = false;
};

std::optional<int> fieldInt(const std::string& s) {
  if (s.find_first_not_of(' ') == std::string::npos) return std::nullopt;
  return std::stoi(s);
}

template <typename Row, typename Parse>
size_t readRows(const std::vector<std::string>& lines, size_t i, std::vector<Row>& rows,
                Parse parse) {
  for (; i < lines.size() && !lines[i].empty(); ++i) {
    Row row;
    if (!parse(lines[i], row)) break;
    rows.push_back(row);
  }
  return i;
}

std::vector<ReportCase> readReport(const std::vector<std::string>& lines) {
  std::vector<ReportCase> cases;
  ReportCase current;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (l.rfind("     FROM TO CONTD     EI", 0) == 0) {
      current = ReportCase{};
      i = readRows(lines, i + 2, current.loadEcho, [](const std::string& r, LoadEcho& e) {
        if (r.size() < 36) return false;
        e.from = fieldInt(r.substr(5, 4));
        e.to = fieldInt(r.substr(9, 4));
        e.contd = std::stoi(r.substr(13, 3));
        e.q = std::stod(r.substr(26, 10));
        return true;
      });
    } else if (l.rfind("   STA I      X", 0) == 0) {
      current.english = lines[i + 1].find(" FT ") != std::string::npos;
      i = readRows(lines, i + 3, current.stations, [](const std::string& r, StationRow& s) {
        std::istringstream in(r);
        return static_cast<bool>(in >> s.station >> s.x >> s.deflection >> s.slope >> s.moment >>
                                 s.shear >> s.soil >> s.netForce >> s.ei);
      });
      cases.push_back(current);
    } else if (l == "     LATERAL AND ROTATIONAL RESTRAINT RESULTS") {
      cases.back().hasRestraints = true;
    } else if (l == "     TIE BACK RESULTS" || l == "     STRUT/RAKER RESULTS") {
      auto& rows = l == "     TIE BACK RESULTS" ? cases.back().tieBacks : cases.back().struts;
      i = readRows(lines, i + 6, rows, [](const std::string& r, SupportRow& s) {
        std::istringstream in(r);
        return static_cast<bool>(in >> s.number >> s.station >> s.depth >> s.horizontal >>
                                 s.along >> s.perSupport);
      });
    } else if (l == "     WALES RESULTS") {
      for (i += 6; i < lines.size() && !lines[i].empty(); ++i) {
        std::istringstream in(lines[i].substr(25));
        std::vector<double> v(5);
        for (double& x : v) in >> x;
        cases.back().wales.push_back(v);
      }
    }
  }
  return cases;
}

// The applied transverse load per station rebuilt from the load echo by the range rule: full
// values along a range, half again subtracted at its two end stations, CONTD chains linked.
std::vector<double> appliedLoads(const ReportCase& c, int n) {
  std::vector<double> q(n + 1, 0.0);
  const auto range = [&](int from, int to, double a, double b) {
    if (from == to) {
      q.at(from) += a;
      return;
    }
    for (int j = from; j <= to; ++j) q.at(j) += a + (b - a) * (j - from) / (to - from);
    q.at(from) -= 0.5 * a;
    q.at(to) -= 0.5 * b;
  };
  const size_t loadRows = c.loadEcho.size() - c.tieBacks.size() - c.struts.size();
  int previous = 1;
  int startStation = 0;
  double startValue = 0;
  for (size_t k = 0; k < loadRows; ++k) {
    const LoadEcho& e = c.loadEcho[k];
    if (previous == 2) {
      range(startStation, *e.to, startValue, e.q);
      startStation = *e.to;
      startValue = e.q;
    } else if (e.contd == 2) {
      startStation = *e.from;
      startValue = e.q;
    } else {
      range(*e.from, *e.to, e.q, e.q);
    }
    previous = e.contd;
  }
  return q;
}

// Equilibrium of the wall from the report: at every station the net force equals the applied
// load plus the soil reaction times h plus the support force there; the sums of these forces
// and of their moments about the tip vanish. All to 1e-3 of the largest of the resultant load,
// the resultant soil reaction and the support forces (moments: times the wall's length).
void expectEquilibrium(const ReportCase& c, const std::string& what) {
  ASSERT_FALSE(c.hasRestraints) << what;
  ASSERT_GT(c.stations.size(), 2u) << what;
  const int n = c.stations.back().station;
  const double hReport = c.stations[1].x - c.stations[0].x;  // ft or m
  const double h = c.english ? hReport * 12.0 : hReport;     // internal length unit
  const std::vector<double> q = appliedLoads(c, n);
  std::vector<double> support(n + 1, 0.0);
  double largest = 0.0;
  for (const auto* list : {&c.tieBacks, &c.struts}) {
    for (const SupportRow& s : *list) {
      support.at(s.station) += s.horizontal;
      largest = std::max(largest, std::fabs(s.horizontal));
    }
  }
  double loadSum = 0, soilSum = 0;
  for (int i = 0; i <= n; ++i) {
    loadSum += q[i];
    soilSum += c.stations[i].soil * h;
  }
  largest = std::max({largest, std::fabs(loadSum), std::fabs(soilSum)});
  ASSERT_GT(largest, 0.0) << what;
  double force = 0, moment = 0;
  for (int i = 0; i <= n; ++i) {
    const StationRow& s = c.stations[i];
    ASSERT_EQ(s.station, i) << what;
    const double f = q[i] + s.soil * h + support[i];
    EXPECT_NEAR(s.netForce, f, 1.0e-3 * largest) << what << " station " << i;
    force += f;
    moment += f * (n - i) * h;
  }
  EXPECT_NEAR(force, 0.0, 1.0e-3 * largest) << what;
  EXPECT_NEAR(moment, 0.0, 1.0e-3 * largest * n * h) << what;
}

// ------------------------------------------------------------------ the bundled examples

const char* const kExamples[] = {"cantilever_sheet_pile_english", "tied_back_wall_two_anchors_si",
                                 "strutted_wall_nonlinear_section_si",
                                 "staged_excavation_three_stages_english"};

struct ExampleRun {
  std::string report, aux, plot;
};

// Runs an example as a user would from its own directory: the run-control file names the files
// without a directory, so that the report does not depend on where the test runs. The date and
// time come from SOURCE_DATE_EPOCH.
ExampleRun runExample(const std::string& name) {
  const fs::path source = fs::path(KORDEN_SOURCE_DIR) / "examples" / (name + ".dat");
  const fs::path dir = testing::makeTempDir("example");
  fs::copy_file(source, dir / (name + ".dat"));
  {
    std::ofstream names(dir / "NAMES.dat");
    names << "korden 1.0\n\n\n0\n";
    for (const char* ext : {".dat", ".out", ".plt", ".aux", ".pyc", ".prs"})
      names << name << ext << "\n";
  }
  const fs::path before = fs::current_path();
  const char* previousEpoch = std::getenv("SOURCE_DATE_EPOCH");
  const std::optional<std::string> savedEpoch =
      previousEpoch ? std::optional<std::string>(previousEpoch) : std::nullopt;
  setenv("SOURCE_DATE_EPOCH", "1706774709", 1);
  fs::current_path(dir);
  std::ostringstream err;
  const int code = runEngine("NAMES.dat", err);
  fs::current_path(before);
  if (savedEpoch) {
    setenv("SOURCE_DATE_EPOCH", savedEpoch->c_str(), 1);
  } else {
    unsetenv("SOURCE_DATE_EPOCH");
  }
  EXPECT_EQ(code, 0) << err.str();
  ExampleRun r{readFile(dir / (name + ".out")), readFile(dir / (name + ".aux")),
               readFile(dir / (name + ".plt"))};
  fs::remove_all(dir);
  return r;
}

std::string expectedFile(const std::string& name) {
  const fs::path path = fs::path(KORDEN_SOURCE_DIR) / "tests" / "cases" / name;
  EXPECT_TRUE(fs::exists(path)) << path;
  return readFile(path);
}

// Empty when the texts are equal, otherwise where they first differ.
std::string firstDifference(const std::string& actual, const std::string& expected) {
  if (actual == expected) return "";
  const auto a = splitLines(actual), e = splitLines(expected);
  for (size_t i = 0; i < std::max(a.size(), e.size()); ++i) {
    const std::string got = i < a.size() ? a[i] : "<end of file>";
    const std::string want = i < e.size() ? e[i] : "<end of file>";
    if (got != want)
      return "line " + std::to_string(i + 1) + ":\n  got  [" + got + "]\n  want [" + want + "]";
  }
  return "the files differ in their line ends";
}

// The examples that hold every record group: their reports carry the header and the echo of every
// table in both unit systems.
const char* const kEveryRecordExamples[] = {"all_records_english", "all_records_si"};

TEST(Examples, ReportsAuxiliaryAndPlotFilesMatchTheExpectedOnes) {
  std::vector<std::string> names(std::begin(kExamples), std::end(kExamples));
  names.insert(names.end(), std::begin(kEveryRecordExamples), std::end(kEveryRecordExamples));
  for (const std::string& name : names) {
    const ExampleRun r = runExample(name);
    EXPECT_EQ(firstDifference(r.report, expectedFile(name + ".out")), "") << name << ".out";
    EXPECT_EQ(firstDifference(r.aux, expectedFile(name + ".aux")), "") << name << ".aux";
    EXPECT_EQ(firstDifference(r.plot, expectedFile(name + ".plt")), "") << name << ".plt";
  }
}

TEST(Examples, EveryCaseClosesAndIsInEquilibrium) {
  int cases = 0;
  for (const std::string name : kExamples) {
    const auto lines = splitLines(runExample(name).report);
    EXPECT_FALSE(hasLine(lines, "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED TOLERANCE *****"));
    for (const ReportCase& c : readReport(lines)) {
      expectEquilibrium(c, name + " case " + std::to_string(++cases));
    }
  }
  EXPECT_EQ(cases, 6);  // three single problems and three stages
}

TEST(Examples, HingeModelRemovesTheRigidityAtTheSecondTieBackOnly) {
  const auto cases = readReport(splitLines(runExample("tied_back_wall_two_anchors_si").report));
  ASSERT_EQ(cases.size(), 1u);
  const ReportCase& c = cases[0];
  ASSERT_EQ(c.tieBacks.size(), 2u);
  const double wallEI = c.stations[0].ei;
  EXPECT_GT(wallEI, 0.0);
  EXPECT_EQ(c.stations.at(c.tieBacks[0].station).ei, wallEI);
  EXPECT_EQ(c.stations.at(c.tieBacks[1].station).ei, 0.0);
  EXPECT_EQ(c.stations.at(c.tieBacks[1].station).moment, 0.0);
  for (const SupportRow& s : c.tieBacks) {
    // 20 degrees with pi as 3.1416 in single precision; 2.5 m spacing on a 1 m strip.
    EXPECT_NEAR(s.along, s.horizontal / std::cos(20.0 * kPiSingle / 180.0),
                1.0e-4 * std::fabs(s.along));
    EXPECT_NEAR(s.perSupport, s.along * 2.5, 1.0e-4 * std::fabs(s.perSupport));
  }
  // Continuous wales: reaction |H| s / b, load per length, moment w s^2 / 10.
  ASSERT_EQ(c.wales.size(), 2u);
  for (size_t k = 0; k < 2; ++k) {
    const auto& w = c.wales[k];
    EXPECT_NEAR(w[2], std::fabs(c.tieBacks[k].horizontal) * 2.5, 1.0e-4 * w[2]);
    EXPECT_NEAR(w[3], w[2] / 2.5, 1.0e-4 * w[3]);
    EXPECT_NEAR(w[4], w[3] * 2.5 * 2.5 / 10.0, 1.0e-4 * w[4]);
  }
}

TEST(Examples, NonlinearSectionSoftensWhereTheMomentPassesCracking) {
  const auto cases =
      readReport(splitLines(runExample("strutted_wall_nonlinear_section_si").report));
  ASSERT_EQ(cases.size(), 1u);
  const double initial = 180.0 / 3.333e-4;  // the first segment of the moment-curvature table
  int softened = 0;
  for (const StationRow& s : cases[0].stations) {
    if (std::fabs(s.moment) < 170.0) {
      EXPECT_NEAR(s.ei, initial, 1.0e-3 * initial) << s.station;
    } else if (std::fabs(s.moment) > 190.0) {
      EXPECT_LT(s.ei, 0.95 * initial) << s.station;
      ++softened;
    }
  }
  EXPECT_GT(softened, 5);
}

// ------------------------------------------------------------------ small walls

// An English wall: 40 increments of 6 in (20 ft), EI = 2.9e9 lb-in^2, a 12-in strip, cut at
// 10 ft (station 20) with linear curves every 2 ft below it.
struct Wall {
  int stages = 1;
  double allowable = 10.0;
  std::vector<std::string> loads = {"1 0 0 500.0 0.0 0.0"};
  std::vector<std::string> restraints, tieBacks;
  int hinge = 0, wales = 0, waleKind = 0;
  bool curves = true;

  std::string text(int code = 0) const {
    std::string t = "TEST WALL\n1 0 1 1 0 0 0 " + std::to_string(curves ? 6 : 0) + " " +
                    std::to_string(stages) + " 0 " + std::to_string(tieBacks.size()) + " " +
                    std::to_string(hinge) + " " + std::to_string(wales) + " " +
                    std::to_string(waleKind) + " 0\n";
    t += "40 6.0 " + std::to_string(allowable) + " 0.0001 120.0 12.0 240.0 100 0 0 0\n";
    t += "0.0 20.0 1\n1 1 0 0\nSECTION\n0 0 0 0 0 0 0 0\n"
         "0 0 0 100.0 0 0 0 0 29000000.0 0 0 0\n0 0 0.0 0 0 0 0 0 0\nSECTION\n0 0\n";
    t += std::to_string(loads.size()) + "\n";
    for (const auto& l : loads) t += l + "\n";
    t += std::to_string(restraints.size()) + "\n";
    for (const auto& r : restraints) t += r + "\n";
    for (const auto& b : tieBacks) t += b + "\n";
    if (wales > 0) t += "1\n1 8.0 0.0 0.0\n";
    if (curves) {
      for (int s = 20; s <= 40; s += 4)
        t += std::to_string(s) + " 2 1.0 1.0\n-1.0 200.0\n1.0 -200.0\n";
    }
    return t + std::to_string(code) + "\n";
  }
};

TEST(StationResults, CoupleCorrectionsKeepShearAndNetForcePhysical) {
  // A couple of 60000 lb-in at station 10, well above the soil: t = T / (2h) = 5000 lb.
  Wall w;
  w.loads.push_back("1 10 10 0.0 60000.0 0.0");
  const auto r = runInputText(w.text());
  const auto cases = readReport(r.reportLines);
  ASSERT_EQ(cases.size(), 1u);
  const auto& s = cases[0].stations;
  // Between the top load and the soil the shear is the top load all along, also at 9, 10, 11,
  // and no station carries a net force.
  for (int i = 2; i <= 18; ++i) {
    EXPECT_NEAR(s[i].shear, s[5].shear, 1.0) << i;
    EXPECT_NEAR(s[i].netForce, 0.0, 1.0) << i;
  }
  EXPECT_NEAR(std::fabs(s[5].shear), 500.0, 1.0);
  // The couple enters the moment equilibrium about the tip: sum NF (N - i) h + T = 0.
  double moment = 0.0;
  for (const StationRow& row : s) moment += row.netForce * (40 - row.station) * 6.0;
  EXPECT_NEAR(moment + 60000.0, 0.0, 1.0e-3 * 60000.0);
}

TEST(StationResults, CoupleCorrectionsAtTheThreeStations) {
  RunState state;
  StationGrid& g = state.grid;
  buildGrid(g, 20, 2.0);
  for (int i = 0; i <= 20; ++i) {
    g.EI(i) = 1000.0;
    g.y(i) = 0.001 * i * i;  // uniform curvature: moment 1000 * 0.002 = 2 everywhere inside
  }
  g.y(-1) = 0.001;
  g.y(21) = 0.441;
  extrapolateFictitiousEnds(g);
  computeStationResults(state);
  const AnalysisData before = state.analysis;
  g.couples.push_back({10, 3.0});
  computeStationResults(state);
  const AnalysisData& a = state.analysis;
  EXPECT_DOUBLE_EQ(a.shear(9), before.shear(9) - 1.5);
  EXPECT_DOUBLE_EQ(a.shear(10), before.shear(10) - 3.0);
  EXPECT_DOUBLE_EQ(a.shear(11), before.shear(11) - 1.5);
  EXPECT_DOUBLE_EQ(a.netForce(9), before.netForce(9) - 3.0);
  EXPECT_DOUBLE_EQ(a.netForce(10), before.netForce(10));
  EXPECT_DOUBLE_EQ(a.netForce(11), before.netForce(11) + 3.0);
  EXPECT_DOUBLE_EQ(a.shear(8), before.shear(8));
  // The top: moment from the extrapolated ends, shear by the forward difference.
  EXPECT_DOUBLE_EQ(a.moment(0), 1000.0 * (0.001 - 0.0 + 0.001) / 4.0);
  EXPECT_DOUBLE_EQ(a.shear(0), (a.moment(1) - a.moment(0)) / 2.0);
}

TEST(StationResults, RoundingResidueOfAFreeTopIsWrittenAsZero) {
  // A straight wall leaning by a rotation: y = a + b x with values that do not add up exactly
  // in binary. Every curvature is zero, so every moment, shear and net force is zero; the second
  // differences leave only residues of the last place of y, which must not be written as digits.
  RunState state;
  StationGrid& g = state.grid;
  buildGrid(g, 20, 6.0);
  for (int i = -1; i <= 21; ++i) {
    g.EI(i) = 2.6e10;
    g.y(i) = -0.0655312 + 6.433e-4 * 6.0 * i * 0.1 * 10.0;
  }
  extrapolateFictitiousEnds(g);
  // The raw differences really leave a residue here, so the test looks at what it means to.
  double worst = 0.0;
  for (int i = 0; i <= 20; ++i) {
    worst = std::max(worst, std::fabs(g.EI(i) * (g.y(i - 1) - 2.0 * g.y(i) + g.y(i + 1)) /
                                      g.hSquared));
  }
  ASSERT_GT(worst, 0.0);
  computeStationResults(state);
  const AnalysisData& a = state.analysis;
  for (int i = 0; i <= 20; ++i) {
    EXPECT_EQ(a.moment(i), 0.0) << i;
    EXPECT_EQ(a.shear(i), 0.0) << i;
    EXPECT_EQ(a.netForce(i), 0.0) << i;
    EXPECT_NEAR(a.slope(i), 6.433e-4, 1.0e-12) << i;
  }
  // A real curvature keeps every digit: y = 1e-6 x^2 gives M = EI 2e-6 = 52000 at every station.
  for (int i = -1; i <= 21; ++i) g.y(i) = 1.0e-6 * (6.0 * i) * (6.0 * i);
  computeStationResults(state);
  for (int i = 1; i <= 19; ++i) {
    EXPECT_NEAR(a.moment(i), 52000.0, 1.0e-9 * 52000.0) << i;
    EXPECT_EQ(a.shear(i), 0.0) << i;
  }
}

TEST(SupportResults, HorizontalTieBackGivesEqualForcesAlongAndAcross) {
  Wall w;
  w.tieBacks = {"2.0 1.0 29000000.0 20.0 0.0 8.0 10000.0",
                "6.0 1.0 29000000.0 20.0 15.0 8.0 10000.0"};
  const auto cases = readReport(runInputText(w.text()).reportLines);
  ASSERT_EQ(cases.size(), 1u);
  const auto& tb = cases[0].tieBacks;
  ASSERT_EQ(tb.size(), 2u);
  EXPECT_EQ(tb[0].station, 4);
  EXPECT_NE(tb[0].horizontal, 0.0);
  EXPECT_EQ(tb[0].along, tb[0].horizontal);
  EXPECT_NEAR(tb[1].along, tb[1].horizontal / std::cos(15.0 * kPiSingle / 180.0),
              1.0e-4 * std::fabs(tb[1].along));
  // Per tie-back: per station times 8 ft spacing (96 in) over the 12-in strip.
  EXPECT_NEAR(tb[0].perSupport, tb[0].along * 8.0, 1.0e-4 * std::fabs(tb[0].perSupport));
  expectEquilibrium(cases[0], "two tie-backs");
}

TEST(SupportResults, WaleReactionUsesTheMagnitudeAndContinuousSpansTakeFourFifths) {
  RunState state;
  state.wall.wallWidth = 12.0;
  Support s;
  s.spacing = 8.0;
  s.horizontalForce = -500.0;  // pulling: the reaction is still positive
  state.control.waleKind = 1;
  const WaleResult simple = waleResult(state, s);
  EXPECT_DOUBLE_EQ(simple.reaction, 500.0 * 12.0 * 8.0 / 12.0);
  EXPECT_DOUBLE_EQ(simple.distributedLoad, 500.0);
  EXPECT_DOUBLE_EQ(simple.maxMoment, 500.0 * 64.0 / 8.0);
  state.control.waleKind = 2;
  EXPECT_DOUBLE_EQ(waleResult(state, s).maxMoment, 0.8 * simple.maxMoment);
  state.control.unitsFlag = 2;
  state.wall.wallWidth = 1.0;
  s.spacing = 2.5;
  s.horizontalForce = 40.0;
  EXPECT_DOUBLE_EQ(waleResult(state, s).reaction, 100.0);
}

// ------------------------------------------------------------------ plot data blocks

TEST(PlotData, FailedCaseWritesOnlyItsHeaderWithCodeZero) {
  Wall w;
  w.allowable = 1.0e-4;
  const auto r = runInputText(w.text());
  const auto lines = splitLines(r.plot);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), " 0 41 1");
  // Only the curve section comes before it: the units line, and per curve a head and 2 points.
  EXPECT_EQ(lines.size(), 1u + 6u * 3u + 1u);
  EXPECT_EQ(lines.front(), " 1 6");
}

TEST(PlotData, BlockWithoutSupportsEndsWithTwoZeroCounts) {
  Wall w;
  w.curves = false;
  w.restraints = {"20 40 1 1200.0 0.0"};
  const auto lines = splitLines(runInputText(w.text()).plot);
  ASSERT_EQ(lines.size(), 44u);
  EXPECT_EQ(lines[0], " 1 41 1");
  EXPECT_EQ(lines[1].size(), 7u * 14u);
  EXPECT_EQ(lines[1].substr(0, 14), "    0.0000E+00");
  EXPECT_EQ(lines[41].substr(0, 14), "    2.4000E+02");  // X of the tip in inches
  EXPECT_EQ(lines[42], " 0");
  EXPECT_EQ(lines[43], " 0");
}

TEST(PlotData, TwoStagesWriteTwoBlocksInOrder) {
  Wall w;
  w.curves = false;
  w.stages = 2;
  w.restraints = {"20 40 1 1200.0 0.0"};
  Wall second = w;
  second.loads = {"1 0 0 900.0 0.0 0.0"};
  const auto lines = splitLines(runInputText(w.text(1) + second.text(2)).plot);
  ASSERT_EQ(lines.size(), 88u);
  EXPECT_EQ(lines[0], " 2 41 1");
  EXPECT_EQ(lines[44], " 2 41 1");
  // The second stage's heavier load gives the larger top deflection.
  EXPECT_LT(std::fabs(std::stod(lines[1].substr(14, 14))),
            std::fabs(std::stod(lines[45].substr(14, 14))));
}

TEST(PlotData, SupportLinesAndWalesFollowTheStationLines) {
  Wall w;
  w.curves = false;
  w.restraints = {"20 40 1 1200.0 0.0"};
  w.tieBacks = {"2.0 1.0 29000000.0 20.0 0.0 8.0 10000.0"};
  w.wales = 1;
  w.waleKind = 1;
  const auto r = runInputText(w.text());
  const auto lines = splitLines(r.plot);
  ASSERT_EQ(lines.size(), 1u + 41u + 5u);
  EXPECT_EQ(lines[42], " 1");
  // Number, station, depth, spacing, area, angle, forces and the prestress.
  EXPECT_EQ(lines[43].substr(0, 32), "     1      4     2.000E+00     ");
  EXPECT_EQ(lines[43].size(), 27u + 7u * 17u);
  EXPECT_EQ(lines[44], " 1");
  EXPECT_EQ(lines[45].substr(0, 13), "     1      1");  // simply supported
  EXPECT_EQ(lines[46], " 0");
}

TEST(Results, ANonFiniteResultStopsBeforeTheTablesAreWritten) {
  auto state = std::make_unique<RunState>();
  buildGrid(state->grid, 10, 1.0);
  EXPECT_NO_THROW(requireFiniteResults(*state));
  state->analysis.moment(5) = HUGE_VAL;
  try {
    requireFiniteResults(*state);
    ADD_FAILURE() << "no stop";
  } catch (const ErrorStop& e) {
    EXPECT_EQ(
        e.lines().back().rfind("     ERROR STOP -- THE RESULTS AT STATION 5 ARE NOT FINITE", 0),
        0u);
  }
  state->analysis.moment(5) = 0.0;
  Support s;
  s.spacing = 1.0;
  s.forceAlong = std::nan("");
  state->wall.wallWidth = 1.0;
  state->loads.struts = {s};
  EXPECT_THROW(requireFiniteResults(*state), ErrorStop);
}

}  // namespace
}  // namespace korden

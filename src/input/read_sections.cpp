// Readers of the first half of a case: title, control, wall, specified points, wall sections,
// cross sections and moment-curvature sets.
#include <string>

#include "analysis/station_grid.h"
#include "engine/errors.h"
#include "engine/single_precision.h"
#include "input/input_checks.h"
#include "input/readers.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

template <size_t N>
void readReals(ListStatement& s, std::array<double, N>& values, size_t count = N) {
  for (size_t i = 0; i < count; ++i) s.real(values[i]);
}

template <size_t N>
void readInts(ListStatement& s, std::array<int, N>& values, size_t count = N) {
  for (size_t i = 0; i < count; ++i) s.integer(values[i]);
}

// A fixed text record (a name) of 80 characters; control bytes are shown escaped.
std::string readName(InputFile& in, const std::string& what) {
  std::string name = printableText(in.readText(80, what));
  name.resize(80, ' ');
  return name;
}

// The point count record of a moment-curvature set: a dummy integer and the count.
void readPointCount(RunState& state, InputFile& in, MomentCurvatureSet& set,
                    const std::string& what) {
  in.statement("THE POINT COUNT OF " + what).integer(set.unusedInteger).integer(set.nPoints);
  const std::string where = recordAtLine("THE POINT COUNT OF " + what, lastLineRead(in));
  noteCount(state, countSays("THE POINT COUNT OF " + what, lastLineRead(in), set.nPoints));
  requireNonNegativeCount(set.nPoints, where);
  checkCapacity(set.nPoints, kMaxMomentCurvaturePoints, "POINTS OF " + what);
}

// A moment-curvature table: one record per point, moment first and curvature second.
void readMomentCurvaturePoints(InputFile& in, MomentCurvatureSet& set, const std::string& what) {
  const std::string head = what + " POINT ";
  for (int j = 0; j < set.nPoints; ++j) {
    auto s = in.statement(RecordName{head, j + 1, {}});
    s.real(set.moment[j]).real(set.curvature[j]);
  }
}

// Rows counted by an integer of the record read just before them (`countField` names it).
void readRows(InputFile& in, int count, std::vector<std::array<double, 5>>& rows,
              const std::string& what, const std::string& countField) {
  requireNonNegativeCount(count, countField);
  rows.clear();
  const std::string head = what + " ROW ";
  for (int j = 0; j < count; ++j) {
    rows.emplace_back();
    auto s = in.statement(RecordName{head, j + 1, {}});
    readReals(s, rows.back());
  }
}

void readRows(InputFile& in, int count, std::vector<double>& rows, const std::string& what,
              const std::string& countField) {
  requireNonNegativeCount(count, countField);
  rows.clear();
  const std::string head = what + " ROW ";
  for (int j = 0; j < count; ++j) {
    rows.push_back(0.0);
    in.statement(RecordName{head, j + 1, {}}).real(rows.back());
  }
}

void readElasticSection(RunState& state, InputFile& in, CrossSection& x, const std::string& id) {
  {
    auto s = in.statement("RECORD E1 (TOP PROPERTIES A) OF " + id);
    readReals(s, x.aTop);
  }
  {
    auto s = in.statement("RECORD E2 (TOP PROPERTIES B) OF " + id);
    readReals(s, x.bTop);
    s.real(x.extraTop).integer(x.taperFlag);
  }
  if (x.taperFlag >= 1) {
    {
      auto s = in.statement("RECORD E3 (BOTTOM PROPERTIES A) OF " + id);
      readReals(s, x.aBottom);
    }
    auto s = in.statement("RECORD E4 (BOTTOM PROPERTIES B) OF " + id);
    readReals(s, x.bBottom);
    s.real(x.extraBottom);
  }
  // The moment of inertia is entered in mm^4 with SI units.
  if (state.si()) {
    x.bTop[3] /= kOneE12Single;
    if (x.taperFlag >= 1) x.bBottom[3] /= kOneE12Single;
  }
  if (x.taperFlag < 1) {
    x.aBottom = x.aTop;
    x.bBottom = x.bTop;
    x.extraBottom = x.extraTop;
  }
  x.eiTop = x.bTop[3] * x.bTop[8];
  x.eiBottom = x.bBottom[3] * x.bBottom[8];
  {
    auto s = in.statement("RECORD E5 (SECTION OPTIONS) OF " + id);
    s.integer(x.options[0]).integer(x.options[1]).real(x.optionReal);
    for (int k = 2; k < 8; ++k) s.integer(x.options[k]);
  }
  x.secondName = readName(in, "RECORD E6 (SECOND NAME) OF " + id);
}

void readNonlinearSection(RunState& state, InputFile& in, CrossSection& x, const std::string& id) {
  {
    auto s = in.statement("RECORD N1 (EQUIVALENT PROPERTIES) OF " + id);
    readReals(s, x.n1);
  }
  // N1 fills the property tables: A1, the further real, B2..B4, B6..B8, B9.
  x.aTop[0] = x.n1[0];
  x.extraTop = x.n1[1];
  x.bTop[1] = x.n1[2];
  x.bTop[2] = x.n1[3];
  x.bTop[3] = state.si() ? x.n1[4] / kOneE12Single : x.n1[4];
  x.bTop[5] = x.n1[5];
  x.bTop[6] = x.n1[6];
  x.bTop[7] = x.n1[7];
  x.bTop[8] = x.n1[8];
  x.aBottom = x.aTop;
  x.bBottom = x.bTop;
  x.extraBottom = x.extraTop;
  x.eiTop = x.eiBottom = x.bTop[3] * x.bTop[8];
  {
    auto s = in.statement("RECORD N2 (SECTION TYPE AND DIMENSIONS) OF " + id);
    s.integer(x.sectionType);
    readReals(s, x.n2);
  }
  {
    auto s = in.statement("RECORD N3 (MATERIALS) OF " + id);
    readReals(s, x.n3Reals);
    readInts(s, x.n3Ints);
  }
  x.steelName = readName(in, "RECORD N4 (STEEL SECTION NAME) OF " + id);
  {
    auto s = in.statement("RECORD N5 (LONGITUDINAL REINFORCEMENT) OF " + id);
    readInts(s, x.n5Ints);
    readReals(s, x.n5Reals);
    s.integer(x.n5LastInt);
  }
  readRows(in, x.n5Ints[4], x.bars, "REINFORCEMENT BAR OF " + id,
           recordAtLine("RECORD N5 OF " + id, lastLineRead(in)) + ", INTEGER 5 (NUMBER REBARS)");
  {
    auto s = in.statement("RECORD N6 (TRANSVERSE REINFORCEMENT) OF " + id);
    readInts(s, x.n6Ints);
    readReals(s, x.n6Reals);
  }
  {
    auto s = in.statement("RECORD N7 (PRESTRESSING STRANDS) OF " + id);
    readInts(s, x.n7Ints);
    readReals(s, x.n7Reals);
    readReals(s, x.n7Extra);
  }
  readRows(in, x.n7Ints[4], x.strands, "STRAND OF " + id,
           recordAtLine("RECORD N7 OF " + id, lastLineRead(in)) + ", INTEGER 5 (NUMBER STRANDS)");
  {
    auto s = in.statement("RECORD N8 OF " + id);
    readInts(s, x.n8Ints);
    readReals(s, x.n8Reals);
  }
  readRows(in, x.n8Ints[0], x.n8Rows, "RECORD N8A OF " + id,
           recordAtLine("RECORD N8 OF " + id, lastLineRead(in)) + ", INTEGER 1");
  {
    auto s = in.statement("RECORD N9 (STRAIN HARDENING) OF " + id);
    readInts(s, x.n9Ints);
    readReals(s, x.n9Reals);
  }
  {
    auto s = in.statement("RECORD N10 OF " + id);
    readInts(s, x.n10Ints);
    readReals(s, x.n10Reals);
  }
  requireNonNegativeCount(x.n10Ints[2],
                          recordAtLine("RECORD N10 OF " + id, lastLineRead(in)) + ", INTEGER 3");
  if (x.n10Ints[2] > 0 && x.n10Ints[3] > 0) {
    readRows(in, x.n10Ints[2], x.n10Rows, "RECORD N10A OF " + id, "RECORD N10 OF " + id);
  } else {
    x.n10Rows.clear();
  }
}

}  // namespace

std::string countSays(const std::string& record, int line, int count) {
  return record + " (LINE " + std::to_string(line) + ") SAYS " + std::to_string(count);
}

std::string controlSays(const RunState& state, int count, const char* what, int field) {
  return countSays("THE PROGRAM CONTROL RECORD", state.driver.controlLine, count) + " " + what +
         " (FIELD " + std::to_string(field) + ")";
}

std::string countHintOf(const RunState& state) {
  const auto& trail = state.driver.countTrail;
  if (trail.empty()) return "";
  // The three nearest: a count further back is seldom the cause.
  std::string hint = "A COUNT THAT DOES NOT MATCH THE RECORDS AFTER IT WOULD EXPLAIN THIS: ";
  size_t shown = 0;
  for (auto it = trail.rbegin(); it != trail.rend() && shown < 3; ++it, ++shown) {
    hint += (shown == 0 ? "" : "; ") + *it;
  }
  return hint;
}

void readTitle(RunState& state, InputFile& in) {
  clearCounts(state);
  // Control bytes are shown escaped; the escaped title is then cut to its 70 characters.
  std::string title = printableText(in.readText(80, "THE TITLE RECORD"));
  title.resize(70, ' ');
  title.resize(80, ' ');
  state.title = title;
}

void readControl(RunState& state, InputFile& in) {
  ControlRecord& c = state.control;
  {
    auto s = in.statement("THE PROGRAM CONTROL RECORD");
    s.integer(c.unitsFlag).integer(c.nSpecified).integer(c.nWallSections).integer(c.nCrossSections);
    s.integer(c.nModificationFactors).integer(c.pressureOption).integer(c.curveOption);
    s.integer(c.nUserCurves).integer(c.nStages).integer(c.nUserEISets).integer(c.nTieBacks);
    s.integer(c.hingeFlag).integer(c.waleFlag).integer(c.waleKind).integer(c.nStruts);
  }
  const std::string record = recordAtLine("THE PROGRAM CONTROL RECORD", lastLineRead(in));
  state.driver.controlLine = lastLineRead(in);
  clearCounts(state);
  const struct {
    int value;
    const char* field;
  } counts[] = {{c.nSpecified, "FIELD 2 (NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES)"},
                {c.nWallSections, "FIELD 3 (NO OF WALL SECTIONS)"},
                {c.nCrossSections, "FIELD 4 (NO OF CROSS SECTIONS)"},
                {c.nModificationFactors, "FIELD 5 (NO OF P-Y MODIFICATION FACTORS)"},
                {c.nUserCurves, "FIELD 8 (NO OF USER-SPECIFIED P-Y CURVES)"},
                {c.nUserEISets, "FIELD 10 (NO OF USER NONLINEAR EI SETS)"},
                {c.nTieBacks, "FIELD 11 (NO OF TIE BACKS)"},
                {c.nStruts, "FIELD 15 (NO OF STRUTS/RAKERS)"}};
  for (const auto& count : counts) {
    requireNonNegativeCount(count.value, record + ", " + count.field);
  }
}

void readWallRecord(RunState& state, InputFile& in) {
  WallRecord& w = state.wall;
  {
    auto s = in.statement("THE WALL RECORD");
    s.integer(w.nIncrements).real(w.incrementLength).real(w.maxAllowableDeflection);
    s.real(w.closureTolerance).real(w.freeHeight).real(w.wallWidth).real(w.wallHeight);
    s.integer(w.maxIterations).integer(w.unused1).integer(w.unused2).integer(w.sectionAdjustFlag);
  }
  const std::string record = recordAtLine("THE WALL RECORD", lastLineRead(in));
  clearCounts(state);
  if (w.nIncrements <= 0) {
    stopWithMessage("     ERROR STOP -- THE NUMBER OF INCREMENTS MUST BE GREATER THAN 0");
  }
  checkCapacity(w.nIncrements, kMaxIncrements, "STATIONS: NUMBER OF INCREMENTS");
  if (!(w.incrementLength > 0.0)) {
    stopWithMessage("     ERROR STOP -- THE INCREMENT LENGTH MUST BE GREATER THAN 0");
  }
  // The iteration compares changes of deflection with the tolerance: a tolerance of 0 or less
  // can never be met.
  if (!(w.closureTolerance > 0.0)) {
    stopWithMessage("     ERROR STOP -- " + record +
                    ", FIELD 4: THE DEFLECTION CLOSURE TOLERANCE MUST BE GREATER THAN 0, NOT " +
                    fmt::E(w.closureTolerance, 10, 3));
  }
  if (w.maxIterations < 0 || w.maxIterations > kMaxIterationLimit) {
    stopWithMessage("     ERROR STOP -- " + record +
                    ", FIELD 8: THE MAXIMUM NUMBER OF ITERATIONS MUST BE 0 TO " +
                    std::to_string(kMaxIterationLimit) + ", NOT " +
                    std::to_string(w.maxIterations));
  }
  buildGrid(state.grid, w.nIncrements, w.incrementLength);
}

void readSpecifiedPoint(RunState& state, InputFile& in, int& lastStation) {
  checkCapacity(state.control.nSpecified, kMaxSpecifiedPoints,
                "SPECIFIED DEFLECTION AND SLOPE POINTS");
  SpecifiedPoint p;
  const std::string id =
      "SPECIFIED DEFLECTION/SLOPE RECORD " + std::to_string(state.grid.specified.size() + 1);
  {
    auto s = in.statement(id);
    s.integer(p.caseCode).integer(p.station).real(p.deflection).real(p.slope);
  }
  const std::string where = recordAtLine(id, lastLineRead(in));
  if (p.caseCode < 1 || p.caseCode > 3) {
    stopWithMessage("     ERROR STOP -- " + where + ", FIELD 1: CASE MUST BE 1, 2 OR 3, NOT " +
                    std::to_string(p.caseCode));
  }
  if (p.station < lastStation) {
    stopStationsNotInOrder(
        "     " + where + ": STATION " + std::to_string(p.station) + " LIES ABOVE STATION " +
        std::to_string(lastStation) +
        (state.grid.specified.empty() ? " (THE FIRST POINT MAY NOT)" : " OF THE POINT BEFORE IT"));
  }
  // The replaced rows (s for CASE 1, s-1..s+1 for CASE 2 and 3) must be rows -1..N+1 of the
  // solver.
  const int n = state.grid.n;
  if (p.caseCode == 1) {
    requireStationWithin(p.station, -1, n + 1, where + ", FIELD 2");
  } else {
    requireStationWithin(p.station, 0, n, where + ", FIELD 2");
  }
  lastStation = p.station;
  state.grid.specified.push_back(p);
  setRowCodes(state.grid, p);
}

void readWallSections(RunState& state, InputFile& in) {
  const int count = state.control.nWallSections;
  checkCapacity(count, kMaxWallSections, "WALL SECTIONS");
  auto& sections = state.sections.wallSections;
  // A case that counts no wall section keeps those of the case before.
  if (count > 0) sections.clear();
  noteCount(state, controlSays(state, count, "WALL SECTIONS", 3));
  for (int i = 0; i < count; ++i) {
    WallSection w;
    const std::string id = "WALL SECTION RECORD " + std::to_string(i + 1);
    {
      auto s = in.statement(id);
      s.real(w.top).real(w.bottom).integer(w.crossSection);
    }
    if (w.bottom < w.top) {
      stopStationsNotInOrder("     " + recordAtLine(id, lastLineRead(in)) + ": BOTTOM " +
                             fmt::E(w.bottom, 10, 3) + " LIES ABOVE TOP " + fmt::E(w.top, 10, 3));
    }
    sections.push_back(w);
  }
  // Without a wall section the wall has no flexural rigidity: springs without a beam.
  if (sections.empty()) {
    stopWithMessage(
        "     ERROR STOP -- NO WALL SECTIONS: THE PROGRAM CONTROL RECORD (FIELD 3) COUNTS 0 WALL "
        "SECTIONS AND NO EARLIER CASE GAVE ANY");
  }
}

void readCrossSections(RunState& state, InputFile& in) {
  const int count = state.control.nCrossSections;
  checkCapacity(count, kMaxCrossSections, "CROSS SECTIONS");
  auto& sections = state.sections.crossSections;
  // A case that counts no cross section keeps those of the case before, with their
  // moment-curvature sets.
  if (count > 0) sections.clear();
  noteCount(state, controlSays(state, count, "CROSS SECTIONS", 4));
  for (int i = 0; i < count; ++i) {
    const std::string id = "CROSS SECTION " + std::to_string(i + 1);
    CrossSection x;
    {
      auto s = in.statement("THE HEADER RECORD OF " + id);
      readInts(s, x.header);
    }
    x.name = readName(in, "THE NAME RECORD OF " + id);
    if (x.nonlinear()) {
      readNonlinearSection(state, in, x, id);
    } else {
      readElasticSection(state, in, x, id);
    }
    sections.push_back(std::move(x));
  }
}

void readNonlinearEI(RunState& state, InputFile& in) {
  SectionData& d = state.sections;
  const int setCount = state.control.nUserEISets;
  if (setCount > 0) {
    checkCapacity(setCount, kMaxCrossSections, "USER NONLINEAR EI SETS");
    noteCount(state, controlSays(state, setCount, "USER NONLINEAR EI SETS", 10));
    in.statement("THE NONLINEAR EI HEADER RECORD").integer(d.userSetsUnusedInteger);
    // Sets numbered above the count of this case keep the values of an earlier case.
    if (d.userSets.size() < static_cast<size_t>(setCount)) d.userSets.resize(setCount);
    for (int i = 0; i < setCount; ++i) {
      const std::string id = "USER NONLINEAR EI SET " + std::to_string(i + 1);
      MomentCurvatureSet& set = d.userSets[i];
      set = MomentCurvatureSet{};
      in.statement("THE AXIAL THRUST OF " + id).real(set.axialThrust);
      readPointCount(state, in, set, id);
      readMomentCurvaturePoints(in, set, id);
    }
  }
  // Generated sets are read for the cross sections of this case only: inherited sections keep
  // theirs.
  if (state.control.nCrossSections <= 0) return;
  for (size_t i = 0; i < d.crossSections.size(); ++i) {
    CrossSection& x = d.crossSections[i];
    const std::string id = "GENERATED NONLINEAR EI OF CROSS SECTION " + std::to_string(i + 1);
    int levels = 0;
    in.statement("THE AXIAL LOAD COUNT OF " + id).integer(x.generatedUnusedInteger).integer(levels);
    requireNonNegativeCount(levels,
                            recordAtLine("THE AXIAL LOAD COUNT OF " + id, lastLineRead(in)));
    noteCount(state, countSays("THE AXIAL LOAD COUNT OF " + id, lastLineRead(in), levels));
    x.generated.clear();
    for (int k = 0; k < levels; ++k) {
      const std::string level = id + ", AXIAL LOAD " + std::to_string(k + 1);
      MomentCurvatureSet set;
      in.statement("THE AXIAL LOAD RECORD OF " + level).real(set.axialThrust).real(set.secondValue);
      readPointCount(state, in, set, level);
      readMomentCurvaturePoints(in, set, level);
      x.generated.push_back(set);
    }
  }
}

}  // namespace korden

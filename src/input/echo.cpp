// Echo of the control, wall, specified-point, wall-section, stiffness-and-load, support, active
// pressure and user-curve tables. The cross sections and moment-curvature tables are echoed in
// echo_sections.cpp.
#include "input/echo.h"

#include <string>
#include <string_view>
#include <vector>

#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

using fmt::E;
using fmt::I;
using fmt::X;

// A caption of the control and wall echoes: padded to 51 columns and followed by "= ".
std::string equalsCaption(std::string_view name) {
  std::string caption(name);
  caption.resize(51, ' ');
  return caption + "= ";
}

// The value is an I2 field; a count beyond two digits (up to 400 user curves, 100 cross
// sections) is printed in full rather than as asterisks.
void controlLine(OutputFile& out, std::string_view name, int value) {
  const bool fits = value >= -9 && value <= 99;
  out.line(X(6) + equalsCaption(name) + (fits ? I(value, 2) : std::to_string(value)));
}

// The print form of the stations of a record in a CONTD chain.
enum class StationForm { kComplete, kFromOnly, kToOnly };

// Keyed like the range distribution on the record's CONTD c and the previous record's CONTD c'
// (1 before the first record). A record standing alone prints FROM and TO. The first record of
// a chain (c' = 1, c = 2) only contributes its FROM station and values, so it prints FROM
// alone. The last record (c' = 2, c = 1) only contributes its TO station, so it prints TO alone.
// A middle record (c' = 2, c = 2) ends one link at its TO and starts the next link at that same
// TO station; its FROM is never used, so it also prints TO alone, and its CONTD 2 shows that the
// range goes on from there. Every station printed is thus a station the distribution used.
class ChainForms {
 public:
  StationForm next(int contd) {
    const int previous = previous_;
    previous_ = contd;
    if (previous == 2) return StationForm::kToOnly;
    return contd == 2 ? StationForm::kFromOnly : StationForm::kComplete;
  }

 private:
  int previous_ = 1;
};

// FROM, TO and CONTD in the three print forms: 5X,2I4,I3 / 5X,I4,4X,I3 / 9X,I4,I3.
std::string stationFields(int from, int to, int contd, StationForm form) {
  switch (form) {
    case StationForm::kFromOnly:
      return X(5) + I(from, 4) + X(4) + I(contd, 3);
    case StationForm::kToOnly:
      return X(9) + I(to, 4) + I(contd, 3);
    case StationForm::kComplete:
      break;
  }
  return X(5) + I(from, 4) + I(to, 4) + I(contd, 3);
}

// The flexural rigidity held at a station; 0 for a station outside the table's places (the FROM
// of a record that ends a chain is not checked by the distribution and may lie anywhere).
double rigidityAt(const StationGrid& grid, int station) {
  const long long place = static_cast<long long>(station) - StationTable::kFirstStation;
  if (place < 0 || place >= kStationPlaces) return 0.0;
  return grid.EI(station);
}

struct RecordValues {
  double q = 0.0, s = 0.0, t = 0.0, r = 0.0, p = 0.0;
};

void stiffnessRow(OutputFile& out, const StationGrid& grid, int from, int to, int contd,
                  StationForm form, const RecordValues& v) {
  out.line(stationFields(from, to, contd, form) + E(rigidityAt(grid, from), 10, 3) + E(v.q, 10, 3) +
           E(v.s, 10, 3) + E(v.t, 10, 3) + E(v.r, 10, 3) + E(v.p, 10, 3));
}

// One table of tie-backs or struts; struts have no prestress column.
void supportTable(OutputFile& out, const RunState& state, const std::vector<Support>& rows,
                  bool tieBacks) {
  if (rows.empty()) return;
  const UnitLabels& u = state.labels;
  writeBanner(out, tieBacks ? "*                  TIE BACK DATA                 *"
                            : "*               STRUT/RAKER DATA                 *");
  const std::string heads1 = "   DEPTH      AREA    ELASTIC   UNBONDED   HORIZ.  ";
  const std::string heads2 = "                      MODULUS    LENGTH    ANGLE   ";
  out.line(X(6) + heads1 + (tieBacks ? "  ANCHOR  PRESTRESS." : "  ANCHOR"));
  out.line(X(6) + heads2 + (tieBacks ? " SPACING    FORCE" : " SPACING"));
  // Depth, unbonded length and spacing are entered in feet (English) or metres (SI). Each label
  // is right-justified to one column before the end of its value field.
  const auto unit = [](const std::string& label) { return " " + fmt::A(label, 9); };
  std::string units = X(5) + unit(u.heightShort) + unit(u.lengthShort + "**2") +
                      unit(stressLabel(u)) + unit(u.heightShort) + unit("DEG") +
                      unit(u.heightShort);
  if (tieBacks) units += unit(u.force3);
  out.line(units);
  for (const Support& s : rows) {
    std::string row = X(6) + E(s.depth, 10, 3) + E(s.area, 10, 3) + E(s.elasticModulus, 10, 3) +
                      E(s.unbondedLength, 10, 3) + E(s.angle, 10, 3) + E(s.spacing, 10, 3);
    if (tieBacks) row += E(s.prestress, 10, 3);
    out.line(row);
  }
  // The wale line follows the last support row directly.
  if (state.control.waleFlag > 0) {
    out.line(X(6) + (state.control.waleKind == 1 ? "* CONSIDER WALES AS SIMPLY SUPPORTED"
                                                 : "* CONSIDER WALES AS CONTINUOUS SPAN "));
  }
}

}  // namespace

void echoControl(OutputFile& out, const RunState& state) {
  const ControlRecord& c = state.control;
  writeBanner(out, "*        PROGRAM CONTROL PARAMETERS              *");
  controlLine(out, "NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES", c.nSpecified);
  controlLine(out, "NO OF WALL SECTIONS", c.nWallSections);
  controlLine(out, "NO OF CROSS SECTIONS", c.nCrossSections);
  controlLine(out, "GENERATE EARTH PRESSURE INTERNALLY", state.driver.generateEarthPressure);
  controlLine(out, "GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY", state.driver.generateCurves);
  controlLine(out, "NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES", c.nModificationFactors);
  controlLine(out, "NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES", c.nUserCurves);
  controlLine(out, "NO OF TIE BACKS", c.nTieBacks);
  controlLine(out, "NO OF STRUTS/RAKERS", c.nStruts);
  if (c.nTieBacks == 0 && c.nStruts == 0) {
    out.blank();
  } else if (c.hingeFlag == 1) {
    out.line(X(6) + "CONSIDER ZERO MOMENT (AASHTO HINGE MODEL) IN WALL");
    out.line(X(6) + "AT TIE BACK LOCATIONS EXCEPT TOP ONE");
    out.blank();
  }
}

void echoWall(OutputFile& out, const RunState& state) {
  const WallRecord& w = state.wall;
  const UnitLabels& u = state.labels;
  // The height is entered in inches and echoed in feet with English units.
  const double height = state.english() ? w.wallHeight / 12.0 : w.wallHeight;
  out.blank();
  out.line(X(6) + equalsCaption("HEIGHT OF WALL") + fmt::F(height, 10, 3) + u.wallHeight);
  out.line(X(6) + equalsCaption("NUMBER OF INCREMENTS") + I(w.nIncrements, 10));
  out.line(X(6) + equalsCaption("INCREMENT LENGTH") + fmt::F(w.incrementLength, 10, 3) + u.length);
  if (w.maxIterations > 0) {
    out.line(X(6) + equalsCaption("MAXIMUM ALLOWABLE DEFLECTION") +
             fmt::F(w.maxAllowableDeflection, 10, 3) + u.length);
    out.line(X(6) + equalsCaption("DEFLECTION CLOSURE TOLERANCE") + E(w.closureTolerance, 10, 3) +
             u.length);
    out.line(X(6) + equalsCaption("MAXIMUM NUMBER OF ITERATIONS") + I(w.maxIterations, 10));
  }
}

void echoSpecifiedHeading(OutputFile& out, const RunState& state) {
  if (state.control.nSpecified <= 0) {
    out.blank();
    out.line(X(20));
    return;
  }
  writeBanner(out, "*        SPECIFIED DEFLECTIONS AND SLOPES        *");
  out.line(X(5) + "     STA      CASE       DEFLECTION        SLOPE");
  // The length label sits under the middle of DEFLECTION (columns 31-40), RAD under SLOPE
  // (columns 49-53).
  out.line(X(33) + state.labels.length + X(13) + "RAD");
}

void echoSpecifiedPoint(OutputFile& out, const RunState&, const SpecifiedPoint& point) {
  std::string row = X(10) + I(point.station, 3) + X(7) + I(point.caseCode, 2);
  switch (point.caseCode) {
    case 2:
      row += X(11) + "NONE" + X(8) + E(point.slope, 10, 3);
      break;
    case 3:
      row += X(3) + X(5) + E(point.deflection, 10, 3) + X(5) + E(point.slope, 10, 3);
      break;
    default:  // case 1 (the reader accepts only 1, 2 and 3)
      row += X(8) + E(point.deflection, 10, 3) + X(9) + "NONE";
      break;
  }
  out.line(row);
}

void echoWallSections(OutputFile& out, const RunState& state) {
  // The depths are printed as entered, in feet with English units (metres in SI), so they carry
  // the label of the wall height, not the inch label of lengths.
  const std::string& label = state.labels.heightShort;
  writeMinorCaption(out, "* WALL SECTIONS *");
  out.blank();
  out.line(X(5) + "  SECT" + X(9) + " TOP " + X(7) + "BOTTOM" + X(5) + "SECTION");
  // The label under TOP (columns 22-24) and under the middle of BOTTOM (columns 33-38).
  out.line(X(21) + label + X(11) + label);
  for (size_t i = 0; i < state.sections.wallSections.size(); ++i) {
    const WallSection& w = state.sections.wallSections[i];
    out.put(X(5) + I(static_cast<long long>(i) + 1, 5) + X(1) + fmt::significant(w.top, 14, 5) +
            fmt::significant(w.bottom, 14, 5) + X(3) + I(w.crossSection, 5));
    out.endWithBlank();
  }
  out.endWithBlank();
}

void echoStiffnessAndLoad(OutputFile& out, const RunState& state) {
  const UnitLabels& u = state.labels;
  const StationGrid& grid = state.grid;
  writeBanner(out, "*        STIFFNESS AND LOAD DATA                 *");
  out.line(X(6) + "EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,");
  out.line(X(6) + "S - STIFFNESS OF TRANSVERSE RESISTANCE,");
  out.line(X(6) + "T - TORQUE,              P - AXIAL LOAD,");
  out.line(X(6) + "R - STIFFNESS OF TORSIONAL RESISTANCE.");
  out.blank(3);
  out.line(std::string("     FROM TO CONTD     EI         Q        S") +
           "        T         R         P");
  // Units right-justified in the six value fields: rigidity, force, spring (force per length),
  // couple (per radian for R, radians being pure numbers), force.
  out.line(X(16) + fmt::A(stiffnessLabel(u), 10) + fmt::A(u.force4, 10) +
           fmt::A(u.force3 + "/" + u.lengthShort, 10) + fmt::A(momentLabel(u), 10) +
           fmt::A(momentLabel(u), 10) + fmt::A(u.force4, 10));

  ChainForms loadForms;
  for (const LoadRow& r : state.loads.loads) {
    stiffnessRow(out, grid, r.from, r.to, r.contd, loadForms.next(r.contd),
                 {.q = r.q, .t = r.t, .p = r.p});
  }
  ChainForms restraintForms;
  for (const Restraint& r : state.loads.restraints) {
    stiffnessRow(out, grid, r.from, r.to, r.contd, restraintForms.next(r.contd),
                 {.s = r.s, .r = r.r});
  }
  for (const auto* supports : {&state.loads.tieBacks, &state.loads.struts}) {
    for (const Support& s : *supports) {
      stiffnessRow(out, grid, s.station, s.station, 1, StationForm::kComplete,
                   {.q = s.prestressLoad, .s = s.spring});
    }
  }
}

void echoSupports(OutputFile& out, const RunState& state) {
  supportTable(out, state, state.loads.tieBacks, true);
  supportTable(out, state, state.loads.struts, false);
}

void echoActivePressure(OutputFile& out, const RunState& state) {
  const UnitLabels& u = state.labels;
  writeBanner(out, "*        SPECIFIED ACTIVE EARTH PRESSURE         *");
  out.line(X(8) + " DEPTH         ACTIVE EARTH PRESSURE");
  // Length label under DEPTH, force per length under the middle of ACTIVE EARTH PRESSURE.
  out.line(X(10) + u.length + X(18) + u.force3 + "/" + u.lengthShort);
  out.line(X(8) + "--------       ------------------------");
  for (const ActivePressureRow& r : state.soil.activePressure) {
    out.line(X(5) + E(r.depth, 12, 5) + X(8) + E(r.pressure, 12, 5));
  }
}

void echoUserCurves(OutputFile& out, const RunState& state) {
  const UnitLabels& u = state.labels;
  writeBanner(out, "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *");
  // The unit line under the heads, the same for every curve.
  const std::string units = X(12) + u.length + X(11) + u.force3 + "/" + u.lengthShort;
  for (const UserCurve& c : state.curves.userCurves) {
    out.blank();
    out.line("     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER      POINTS     ");
    // The curve acts at one station (printed as FROM and TO); CONTD carries the flag that says
    // whether the station lies at or below the excavation level. The multipliers and the count
    // end under the last letters of their heads.
    std::string& head = out.record();
    fmt::appendX(head, 5);
    fmt::appendI(head, c.station, 4);
    fmt::appendI(head, c.station, 4);
    fmt::appendI(head, c.belowExcavation, 3);
    fmt::appendX(head, 6);
    fmt::appendE(head, c.pMultiplier, 14, 3);
    fmt::appendE(head, c.yMultiplier, 14, 3);
    fmt::appendI(head, c.nPoints, 12);
    out.end();
    out.blank();
    out.line("              Y             P    ");
    out.line(units);
    out.line("          ---------      --------");
    for (int j = 0; j < c.nPoints; ++j) {
      std::string& record = out.record();
      fmt::appendX(record, 5);
      fmt::appendE(record, c.yScaled[j], 14, 3);
      fmt::appendE(record, c.pScaled[j], 14, 3);
      out.end();
    }
  }
}

}  // namespace korden

#include "cli/check.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "analysis/station_grid.h"
#include "cli/input_pass.h"
#include "cli/record_fields.h"
#include "engine/analysis_case.h"

namespace korden::cli {

namespace {

std::string num(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.4g", v);
  return buffer;
}

// What a value outside its usual range most likely is: the unit mistaken for the right one.
enum class Cause {
  None,
  UnitWeight,       // pcf for pci; kg/m3 or t/m3 for kN/m3
  Stress,           // psf for psi; Pa or MPa for kPa
  Modulus,          // ksi for psi; MPa for kPa
  Subgrade,         // pcf for pci; MN/m3 for kN/m3
  WidthInches,      // ft for in; mm for m
  LengthFeet,       // in for ft; mm for m
  AreaSquareMetre,  // mm2 for m2
  Inertia,          // cm4 or m4 for mm4; mm4 for in4
  Angle,            // radians for degrees
  Strain,           // a percentage for a ratio
  Millimetres,      // m for mm (SI surcharge lengths)
};

// Usual ranges of the values of the input, in the case's units. A value outside is not an error
// (the engine reads it), only unusual enough that a unit mistake is the likely cause. Soil types:
// bit t set means layer type t (1 soft clay .. 7 weak rock); 0 means the record is not a layer's.
struct PlausibleRange {
  const char* record;  // record key (numbers written n)
  int field;           // 1-based value of the record
  unsigned soilTypes;
  double englishLow, englishHigh;  // lb, in, psi, pci
  double siLow, siHigh;            // kN, m, kPa, kN/m3
  bool zeroAllowed;                // 0 means "default" or "none" and is not checked
  Cause cause;
  const char* what;
};

constexpr unsigned kClays = (1u << 1) | (1u << 2) | (1u << 3);
constexpr unsigned kCohesive = kClays | (1u << 5);
constexpr unsigned kFrictional = (1u << 4) | (1u << 5);
constexpr unsigned kRocks = (1u << 6) | (1u << 7);
constexpr unsigned kWeakRock = 1u << 7;
constexpr unsigned kAllSoils = 0xFEu;

const char* const kTop = "THE TOP RECORD OF SOIL LAYER n";
const char* const kBottom = "THE BOTTOM RECORD OF SOIL LAYER n";
const char* const kE2 = "RECORD E2 (TOP PROPERTIES B) OF CROSS SECTION n";
const char* const kE4 = "RECORD E4 (BOTTOM PROPERTIES B) OF CROSS SECTION n";
const char* const kN1 = "RECORD N1 (EQUIVALENT PROPERTIES) OF CROSS SECTION n";

// The one table of usual ranges. Sources: the usual values of soils and walls listed with each
// field of the input reference (unit weights 90 to 145 pcf, cohesions 200 to 4000 psf, friction
// angles 25 to 45 deg, k 20 to 2000 pci, E50 0.004 to 0.02, rock strength 500 to 5000 psi), each
// widened by a margin so that only values a unit factor away are flagged; the SI limits are the
// English ones converted (1 pci = 271.4 kN/m3, 1 psi = 6.895 kPa, 1 in = 0.0254 m).
const PlausibleRange kRanges[] = {
    // Total unit weight: light organic soil 60 pcf (0.035 pci, 9.4 kN/m3) to dense rock 170 pcf
    // (0.098 pci, 26.7 kN/m3). A value in pcf is 1728 times too large.
    {kTop, 1, kAllSoils, 0.03, 0.1, 9.0, 27.0, false, Cause::UnitWeight, "unit weight"},
    {kBottom, 1, kAllSoils, 0.03, 0.1, 9.0, 27.0, false, Cause::UnitWeight, "unit weight"},
    // Cohesion of clays and silts: very soft clay 50 psf (0.35 psi, 2.4 kPa) to hard clay
    // 7200 psf (50 psi, 345 kPa). A value in psf is 144 times too large.
    {kTop, 2, kCohesive, 0.3, 50.0, 2.0, 350.0, true, Cause::Stress, "cohesion"},
    {kBottom, 2, kCohesive, 0.3, 50.0, 2.0, 350.0, true, Cause::Stress, "cohesion"},
    // Rock strength: weak rock 100 psi (0.7 MPa) to strong rock 50,000 psi (345 MPa).
    {kTop, 2, kRocks, 100.0, 50000.0, 700.0, 350000.0, false, Cause::Stress, "rock strength"},
    {kBottom, 2, kRocks, 100.0, 50000.0, 700.0, 350000.0, false, Cause::Stress, "rock strength"},
    // Friction angle of sands and silts: 15 deg (loose silt) to 50 deg (dense gravel); a value
    // below 1 is an angle in radians.
    {kTop, 3, kFrictional, 15.0, 50.0, 15.0, 50.0, false, Cause::Angle, "friction angle"},
    {kBottom, 3, kFrictional, 15.0, 50.0, 15.0, 50.0, false, Cause::Angle, "friction angle"},
    // E50 of clays: 0.002 to 0.05 (twice the usual range each way); 0 takes the default.
    {kTop, 4, kClays, 0.002, 0.05, 0.002, 0.05, true, Cause::Strain, "E50"},
    {kBottom, 4, kClays, 0.002, 0.05, 0.002, 0.05, true, Cause::Strain, "E50"},
    // k of sands and stiff clays: 5 to 5000 pci (1360 to 1,360,000 kN/m3); 0 takes the default.
    {kTop, 5, kFrictional | (1u << 2), 5.0, 5000.0, 1360.0, 1.36e6, true, Cause::Subgrade, "k"},
    {kBottom, 5, kFrictional | (1u << 2), 5.0, 5000.0, 1360.0, 1.36e6, true, Cause::Subgrade,
     "k"},
    // Initial modulus of weak rock: 1000 psi to 10,000,000 psi (6.9 MPa to 69 GPa).
    {kTop, 5, kWeakRock, 1.0e3, 1.0e7, 6.9e3, 6.9e7, false, Cause::Stress, "rock modulus Eir"},
    {kBottom, 5, kWeakRock, 1.0e3, 1.0e7, 6.9e3, 6.9e7, false, Cause::Stress, "rock modulus Eir"},
    // Young's modulus of the wall: timber 1,000,000 psi (6.9 GPa) down to a margin of 100,000
    // psi, steel 29,000,000 psi (2.0E8 kPa) up to 50,000,000 psi (3.45E8 kPa). A value in ksi or
    // MPa is 1000 times too small.
    {kE2, 9, 0, 1.0e5, 5.0e7, 6.9e5, 3.45e8, true, Cause::Modulus, "Young's modulus"},
    {kE4, 9, 0, 1.0e5, 5.0e7, 6.9e5, 3.45e8, true, Cause::Modulus, "Young's modulus"},
    {kN1, 9, 0, 1.0e5, 5.0e7, 6.9e5, 3.45e8, true, Cause::Modulus, "Young's modulus"},
    // Moment of inertia per wall width: a light sheet pile 10 in4/ft (1.4E7 mm4/m) down to a
    // margin of 1 in4 (4.2E5 mm4), a 3 m shaft 1.6E6 in4 up to 1E7 in4 (4E12 mm4). A value in
    // cm4 is 1E4 times too small in mm4.
    {kE2, 4, 0, 1.0, 1.0e7, 4.0e5, 4.0e12, true, Cause::Inertia, "moment of inertia"},
    {kE4, 4, 0, 1.0, 1.0e7, 4.0e5, 4.0e12, true, Cause::Inertia, "moment of inertia"},
    {kN1, 5, 0, 1.0, 1.0e7, 4.0e5, 4.0e12, true, Cause::Inertia, "moment of inertia"},
    // Tendon and strut modulus: as the wall's, steel 29,000,000 psi.
    {"TIE BACK RECORD n", 3, 0, 1.0e6, 5.0e7, 6.9e6, 3.45e8, false, Cause::Modulus,
     "elastic modulus"},
    {"STRUT/RAKER RECORD n", 3, 0, 1.0e6, 5.0e7, 6.9e6, 3.45e8, false, Cause::Modulus,
     "elastic modulus"},
    // Tendon area: a single strand 0.15 in2 (100 mm2) down to a margin of 0.05 in2, a bar tendon
    // up to 50 in2 (0.032 m2); strut sections up to 200 in2 (0.13 m2).
    {"TIE BACK RECORD n", 2, 0, 0.05, 50.0, 3.0e-5, 0.032, false, Cause::AreaSquareMetre, "area"},
    {"STRUT/RAKER RECORD n", 2, 0, 0.05, 200.0, 3.0e-5, 0.13, false, Cause::AreaSquareMetre,
     "area"},
    // Unbonded length 1 to 200 ft (0.3 to 60 m); spacing 1 to 50 ft (0.3 to 15 m).
    {"TIE BACK RECORD n", 4, 0, 1.0, 200.0, 0.3, 60.0, false, Cause::LengthFeet, "unbonded length"},
    {"TIE BACK RECORD n", 6, 0, 1.0, 50.0, 0.3, 15.0, false, Cause::LengthFeet, "anchor spacing"},
    {"STRUT/RAKER RECORD n", 4, 0, 1.0, 200.0, 0.3, 60.0, false, Cause::LengthFeet, "length"},
    {"STRUT/RAKER RECORD n", 6, 0, 1.0, 50.0, 0.3, 15.0, false, Cause::LengthFeet, "spacing"},
    // Angle of a tie-back or raker: 0 (horizontal) to 70 deg.
    {"TIE BACK RECORD n", 5, 0, 0.0, 70.0, 0.0, 70.0, true, Cause::None, "angle"},
    {"STRUT/RAKER RECORD n", 5, 0, 0.0, 70.0, 0.0, 70.0, true, Cause::None, "angle"},
    // Widths: a 4 in (0.1 m) soldier pile to a 20 ft (6 m) shaft spacing. A width in feet is 12
    // times too small in inches; in mm, 1000 times too large in m.
    {"THE WALL RECORD", 6, 0, 4.0, 240.0, 0.1, 6.0, false, Cause::WidthInches, "wall width b"},
    {"THE WALL INFORMATION RECORD", 2, 0, 4.0, 240.0, 0.1, 6.0, false, Cause::WidthInches, "WA"},
    {"THE WALL INFORMATION RECORD", 3, 0, 4.0, 240.0, 0.1, 6.0, false, Cause::WidthInches, "WP"},
    // Increment length: 1 in (0.025 m) to 5 ft (1.5 m); the usual 3 to 12 in, 0.1 to 0.5 m.
    {"THE WALL RECORD", 2, 0, 1.0, 60.0, 0.025, 1.5, false, Cause::WidthInches,
     "increment length h"},
    // Maximum allowable deflection: 0.1 in (2.5 mm) to 10 ft (3 m).
    {"THE WALL RECORD", 3, 0, 0.1, 120.0, 0.0025, 3.0, false, Cause::WidthInches,
     "maximum allowable deflection"},
    // Surcharge lengths with SI units are in mm: below 50 mm a value in metres is likely; the
    // English limit is only the upper one (1000 ft).
    {"SURCHARGE RECORD n", 3, 0, 0.0, 12000.0, 50.0, 3.0e5, true, Cause::Millimetres,
     "horizontal distance"},
    {"SURCHARGE RECORD n", 4, 0, 0.0, 12000.0, 50.0, 3.0e5, true, Cause::Millimetres,
     "strip width"},
};

std::string causeText(Cause cause, double v, bool si, bool high) {
  switch (cause) {
    case Cause::UnitWeight:
      if (!si && high) return "did you mean pcf? " + num(v) + " pcf = " + num(v / 1728.0) + " pci";
      if (si && high) {
        return "did you mean kg/m3? " + num(v) + " kg/m3 = " + num(v * 0.00981) + " kN/m3";
      }
      if (si && !high) return "did you mean t/m3? " + num(v) + " t/m3 = " + num(v * 9.81) + " kN/m3";
      return "";
    case Cause::Stress:
      if (!si && high) return "did you mean psf? " + num(v) + " psf = " + num(v / 144.0) + " psi";
      if (si && !high) return "did you mean MPa? " + num(v) + " MPa = " + num(v * 1000.0) + " kPa";
      if (si && high) return "did you mean Pa? " + num(v) + " Pa = " + num(v / 1000.0) + " kPa";
      return "";
    case Cause::Modulus:
      if (!si && !high) return "did you mean ksi? " + num(v) + " ksi = " + num(v * 1000.0) + " psi";
      if (si && !high) return "did you mean MPa? " + num(v) + " MPa = " + num(v * 1000.0) + " kPa";
      return "";
    case Cause::Subgrade:
      if (!si && high) return "did you mean pcf? " + num(v) + " pcf = " + num(v / 1728.0) + " pci";
      if (si && !high) {
        return "did you mean MN/m3? " + num(v) + " MN/m3 = " + num(v * 1000.0) + " kN/m3";
      }
      return "";
    case Cause::WidthInches:
      if (!si && !high) return "did you give feet? " + num(v) + " ft = " + num(v * 12.0) + " in";
      if (si && high) return "did you give mm? " + num(v) + " mm = " + num(v / 1000.0) + " m";
      return "";
    case Cause::LengthFeet:
      if (!si && high) {
        return "did you give inches? this length is in feet: " + num(v) + " in = " +
               num(v / 12.0) + " ft";
      }
      if (si && high) return "did you give mm? " + num(v) + " mm = " + num(v / 1000.0) + " m";
      return "";
    case Cause::AreaSquareMetre:
      if (si && high) return "did you give mm2? " + num(v) + " mm2 = " + num(v / 1.0e6) + " m2";
      return "";
    case Cause::Inertia:
      if (si && !high && v >= 1.0) {
        return "did you give cm4? " + num(v) + " cm4 = " + num(v * 1.0e4) + " mm4";
      }
      if (si && !high) return "did you give m4? " + num(v) + " m4 = " + num(v * 1.0e12) + " mm4";
      if (!si && high) {
        return "did you give mm4? " + num(v) + " mm4 = " + num(v / 416231.4) + " in4";
      }
      return "";
    case Cause::Angle:
      if (!high && v > 0.0 && v < 1.0) {
        return "did you give radians? " + num(v) + " rad = " + num(v * 57.29578) + " deg";
      }
      return "";
    case Cause::Strain:
      if (high) return "did you give a percentage? " + num(v) + " % = " + num(v / 100.0);
      return "";
    case Cause::Millimetres:
      if (si && !high) {
        return "lengths of surcharges are in mm with SI units: " + num(v) + " m = " +
               num(v * 1000.0) + " mm";
      }
      return "";
    case Cause::None:
      return "";
  }
  return "";
}

struct Problem {
  int line;
  bool error;
  std::string record;
  std::string field;
  std::string message;
};

bool startsWithNumber(const std::string& text) {
  if (text.empty()) return false;
  size_t i = 0;
  if (text[0] == '+' || text[0] == '-') i = 1;
  if (i < text.size() && text[i] == '.') ++i;
  return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

// The layer number n of "THE TOP RECORD OF SOIL LAYER n".
int layerNumber(const std::string& name) {
  const size_t space = name.find_last_of(' ');
  return space == std::string::npos ? 0 : std::atoi(name.c_str() + space + 1);
}

class Checker : public ReadObserver, public CaseSteps {
 public:
  explicit Checker(const RunState& state) : state_(state) {}

  void recordRead(const TracedRecord& r) override {
    last_.recordRead(r);
    if (r.name == "THE TITLE RECORD") records_.clear();
    records_[r.name] = r;
    if (r.isText) return;
    checkRanges(r);
    checkNote(r);
  }

  // N x h is the length analysed; the height of wall is only printed.
  void wallRead(RunState& s) override {
    const TracedRecord* wall = find("THE WALL RECORD");
    if (wall == nullptr) return;
    const double length = s.wall.nIncrements * s.wall.incrementLength;
    const double height = s.wall.wallHeight;
    if (std::fabs(length - height) > 0.005 * std::max(std::fabs(length), std::fabs(height))) {
      warn(wall->lastLine, wall->name, 7,
           "N x h = " + num(length) + " " + lengthUnit() + " differs from the height of wall " +
               num(height) + " " + lengthUnit() + "; the length analysed is N x h");
    }
    if (s.wall.freeHeight > length) {
      warn(wall->lastLine, wall->name, 5,
           "the free height " + num(s.wall.freeHeight) + " " + lengthUnit() +
               " lies below the tip (N x h = " + num(length) + ")" + inchesHint());
    }
  }

  void specifiedPointRead(RunState& s, const SpecifiedPoint& p) override {
    const TracedRecord* r = find("SPECIFIED DEFLECTION/SLOPE RECORD " +
                                 std::to_string(s.grid.specified.size()));
    if (r == nullptr) return;
    if (p.station < 0 || p.station > s.grid.n) {
      warn(r->lastLine, r->name, 2,
           "station " + std::to_string(p.station) + " lies outside the wall (stations 0 to " +
               std::to_string(s.grid.n) + ")");
    }
  }

  void wallSectionsRead(RunState& s) override {
    if (s.control.nWallSections <= 0) return;
    for (size_t i = 0; i < s.sections.wallSections.size(); ++i) {
      const WallSection& w = s.sections.wallSections[i];
      const TracedRecord* r = find("WALL SECTION RECORD " + std::to_string(i + 1));
      if (r == nullptr) continue;
      const int top = stationOfDepth(w.top, s.wall.incrementLength, s.english());
      const int bottom = stationOfDepth(w.bottom, s.wall.incrementLength, s.english());
      // A section that starts below the tip, or ends more than a wall length below it.
      if (top > s.grid.n || bottom > 2 * s.grid.n) {
        warn(r->lastLine, r->name, top > s.grid.n ? 1 : 2,
             "the section reaches station " + std::to_string(top > s.grid.n ? top : bottom) +
                 ", below the tip at station " + std::to_string(s.grid.n) +
                 (s.english() ? ": did you give inches? depths of wall sections are in feet" : ""));
      }
    }
  }

  void supportsRead(RunState& s) override {
    const int n = s.grid.n;
    for (size_t i = 0; i < s.loads.loads.size(); ++i) {
      const LoadRow& l = s.loads.loads[i];
      if (l.to > n) {
        rowBelowTip("STIFFNESS AND LOAD RECORD " + std::to_string(i + 1), 3, l.to, n);
      }
    }
    for (size_t i = 0; i < s.loads.restraints.size(); ++i) {
      const Restraint& l = s.loads.restraints[i];
      if (l.to > n) rowBelowTip("RESTRAINT RECORD " + std::to_string(i + 1), 2, l.to, n);
    }
  }

  void activePressureRead(RunState& s) override {
    const double length = s.grid.n * s.wall.incrementLength;
    for (size_t i = 0; i < s.soil.activePressure.size(); ++i) {
      const double depth = s.soil.activePressure[i].depth;
      if (depth > length + 0.5 * s.wall.incrementLength) {
        const TracedRecord* r = find("ACTIVE EARTH PRESSURE RECORD " + std::to_string(i + 1));
        if (r != nullptr) {
          warn(r->lastLine, r->name, 1,
               "depth " + num(depth) + " " + lengthUnit() + " lies below the tip (N x h = " +
                   num(length) + ")" + inchesHint());
        }
      }
    }
  }

  void soilDataRead(RunState& s) override {
    soilWarnings(s);
    afterSoilData(s);
  }

  void soilWarnings(const RunState& s) {
    const TracedRecord* g1 = find("THE WALL INFORMATION RECORD");
    const double free = s.soil.wall.freeHeight;
    const double wallFree = s.wall.freeHeight;
    if (g1 != nullptr &&
        std::fabs(free - wallFree) > 1.0e-6 * std::max({1.0, std::fabs(free), std::fabs(wallFree)})) {
      warn(g1->lastLine, g1->name, 1,
           "free height " + num(free) + " " + lengthUnit() +
               " differs from the free height of the wall record " + num(wallFree) + " " +
               lengthUnit() + " (that one places the user curves, this one the pressures and "
               "generated curves)");
    }
    const int layers = s.soil.nLayers;
    if (layers <= 0) return;
    double bottom = s.soil.layers[0].xTop;
    for (int i = 0; i < layers; ++i) bottom += s.soil.layers[i].xBottom - s.soil.layers[i].xTop;
    const double h = s.wall.incrementLength;
    const double length = s.grid.n * h;
    const TracedRecord* last = find("THE LAYER RECORD OF SOIL LAYER " + std::to_string(layers));
    if (last == nullptr) return;
    if (bottom < length - 1.0e-9 * std::max(1.0, length)) {
      warn(last->lastLine, last->name, 3,
           "the soil profile ends at " + num(bottom) + " " + lengthUnit() +
               ", above the tip (N x h = " + num(length) + ")" + inchesHint());
    } else if (s.driver.generateCurves == 1 && bottom < length + 2.0 * h - 1.0e-9 * length) {
      warn(last->lastLine, last->name, 3,
           "the soil profile ends at " + num(bottom) + " " + lengthUnit() +
               ", above the tip plus two increments (" + num(length + 2.0 * h) +
               ") that generated curves need: the run may stop");
    }
  }

  // The engine's own stops of the pressure generation and of the analysis that follow from the
  // input alone, where the engine raises them.
  void afterSoilData(RunState& s) { checkEarthPressureInput(s); }
  void caseRead(RunState& s) override { checkAnalysisInput(s); }

  void userCurvesRead(RunState& s) override {
    for (size_t i = 0; i < s.curves.userCurves.size(); ++i) {
      const int station = s.curves.userCurves[i].station;
      if (station >= 0 && station <= s.grid.n) continue;
      const TracedRecord* r = find("THE CURVE RECORD OF USER P-Y CURVE " + std::to_string(i + 1));
      if (r != nullptr) {
        warn(r->lastLine, r->name, 1,
             "station " + std::to_string(station) + " lies outside the wall (stations 0 to " +
                 std::to_string(s.grid.n) + ")");
      }
    }
  }

  void fail(const ReadFailure& f) {
    const RecordInfo* info = findRecord(f.record);
    std::string field = "-";
    if (f.valueIndex > 0) {
      field = "FIELD " + std::to_string(f.valueIndex) + " (" + fieldName(info, f.valueIndex) + ")";
    } else {
      // The engine's message names the field of the record where it can ("FIELD 4: ..."); a
      // message that names another record before the field ("THE PROGRAM CONTROL RECORD
      // (FIELD 3)") but not the record read last speaks of that record's field, which the message
      // itself shows.
      const size_t at = f.message.find("FIELD ");
      const size_t otherRecord = f.message.rfind(" RECORD", at);
      const bool ownField = otherRecord == std::string::npos ||
                            (!f.record.empty() && f.message.find(f.record) != std::string::npos);
      if (at != std::string::npos && ownField) {
        const int index = std::atoi(f.message.c_str() + at + 6);
        if (index > 0) {
          field = "FIELD " + std::to_string(index) + " (" + fieldName(info, index) + ")";
        }
      }
    }
    std::string message = f.message;
    if (!f.countHint.empty()) message += "; " + f.countHint;
    problems_.push_back({f.line, true, f.record.empty() ? "-" : f.record, field, message});
  }

  const std::vector<Problem>& problems() const { return problems_; }
  const LastRecord& last() const { return last_; }

 private:
  const TracedRecord* find(const std::string& name) const {
    const auto it = records_.find(name);
    return it == records_.end() ? nullptr : &it->second;
  }

  std::string lengthUnit() const { return state_.si() ? "m" : (state_.english() ? "in" : ""); }

  // English lengths of layers, free heights and tables are in inches: a value in feet is 12
  // times too small and ends above where it should.
  std::string inchesHint() const {
    return state_.english() ? "; did you give feet? these depths are in inches" : "";
  }

  void warn(int line, const std::string& record, int field, const std::string& message) {
    const RecordInfo* info = findRecord(record);
    problems_.push_back({line, false, record,
                         "FIELD " + std::to_string(field) + " (" + fieldName(info, field) + ")",
                         message});
  }

  void rowBelowTip(const std::string& record, int field, int station, int n) {
    const TracedRecord* r = find(record);
    if (r == nullptr) return;
    warn(r->lastLine, record, field,
         "station " + std::to_string(station) + " lies below the tip at station " +
             std::to_string(n) + " (a load or spring there acts on no part of the wall)");
  }

  void checkRanges(const TracedRecord& r) {
    const bool si = state_.si();
    if (!si && !state_.english()) return;  // generic units: no usual range applies
    const std::string key = recordKey(r.name);
    unsigned typeBit = 0;
    if (key == kTop || key == kBottom) {
      const int layer = layerNumber(r.name);
      if (layer >= 1 && layer <= kMaxSoilLayers) {
        const int type = state_.soil.layers[static_cast<size_t>(layer - 1)].type;
        if (type >= 1 && type <= 7) typeBit = 1u << type;
      }
    }
    for (const PlausibleRange& range : kRanges) {
      if (key != range.record) continue;
      if (range.soilTypes != 0 && (range.soilTypes & typeBit) == 0) continue;
      if (static_cast<size_t>(range.field) > r.values.size()) continue;
      const double v = r.values[static_cast<size_t>(range.field - 1)].number;
      if (v == 0.0 && range.zeroAllowed) continue;
      const double low = si ? range.siLow : range.englishLow;
      const double high = si ? range.siHigh : range.englishHigh;
      if (v >= low && v <= high) continue;
      const std::string unit = fieldUnit(findRecord(r.name), range.field, state_.control.unitsFlag);
      std::string message = std::string(range.what) + " " + num(v) + (unit.empty() ? "" : " ") +
                            unit + " lies outside the usual " + num(low) + " to " + num(high);
      const std::string cause = causeText(range.cause, v, si, v > high);
      if (!cause.empty()) message += ": " + cause;
      warn(r.values[static_cast<size_t>(range.field - 1)].line, r.name, range.field, message);
    }
  }

  // A note after the values is ignored; one that starts with a number is read as a value when
  // the record is one value short, without a word.
  void checkNote(const TracedRecord& r) {
    const std::string note = trimmed(r.rest);
    const int count = static_cast<int>(r.values.size());
    if (startsWithNumber(note)) {
      warn(r.lastLine, r.name, count,
           "the note after the values starts with a number ('" + note.substr(0, 20) +
               "'): a record one value short takes its value from the note; start notes with a "
               "letter");
      return;
    }
    // The last value stands apart from the others, like the first word of the note: it was
    // probably taken from the note.
    if (note.empty() || !std::isalpha(static_cast<unsigned char>(note[0]))) return;
    std::vector<const TracedValue*> onLine;
    for (const TracedValue& v : r.values) {
      if (v.kind != TracedValue::Kind::Value) return;
      if (v.line == r.lastLine) onLine.push_back(&v);
    }
    if (onLine.size() < 3) return;
    int widest = 0;
    for (size_t i = 1; i + 1 < onLine.size(); ++i) {
      const int gap = onLine[i]->column -
                      (onLine[i - 1]->column + static_cast<int>(onLine[i - 1]->text.size()));
      widest = std::max(widest, gap);
    }
    const TracedValue& lastValue = *onLine.back();
    const TracedValue& before = *onLine[onLine.size() - 2];
    const int gapBefore = lastValue.column - (before.column + static_cast<int>(before.text.size()));
    const int gapAfter = r.restColumn + static_cast<int>(r.rest.find_first_not_of(" \t")) -
                         (lastValue.column + static_cast<int>(lastValue.text.size()));
    if (gapBefore >= 3 && gapBefore > widest + 1 && gapAfter < gapBefore) {
      warn(r.lastLine, r.name, count,
           "value " + std::to_string(count) + " ('" + lastValue.text +
               "') stands apart from the values before it and next to the note: the record may "
               "be one value short and have taken it from the note");
    }
  }

  const RunState& state_;
  LastRecord last_;
  std::map<std::string, TracedRecord> records_;  // the records of the case, by name
  std::vector<Problem> problems_;
};

}  // namespace

int checkInput(const std::string& path, std::ostream& out, std::ostream& err) {
  InputFile in;
  if (!openInput(path, in, err)) return 1;
  auto state = std::make_unique<RunState>();
  Checker checker(*state);
  in.setObserver(&checker);
  const auto failure = readWithoutAnalysis(*state, in, checker, checker.last());
  if (failure) checker.fail(*failure);
  // In line order; the error that stopped the reading, if any, stays last.
  std::vector<Problem> problems = checker.problems();
  std::stable_sort(problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
    return a.error != b.error ? b.error : !a.error && a.line < b.line;
  });
  int errors = 0;
  int warnings = 0;
  for (const Problem& p : problems) {
    out << path << ":" << p.line << ": " << (p.error ? "error" : "warning") << ": " << p.record
        << ", " << p.field << ": " << p.message << "\n";
    (p.error ? errors : warnings) += 1;
  }
  out << path << ": " << errors << (errors == 1 ? " error, " : " errors, ") << warnings
      << (warnings == 1 ? " warning" : " warnings") << "\n";
  return errors > 0 ? 1 : 0;
}

}  // namespace korden::cli

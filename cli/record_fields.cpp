#include "cli/record_fields.h"

#include <cctype>

namespace korden::cli {

namespace {

constexpr DepthKind kFt = DepthKind::Feet;
constexpr DepthKind kIn = DepthKind::Inches;

// Unused values of the section records keep this name.
constexpr const char* kUnused = "not used";

std::vector<FieldInfo> repeated(const char* name, const char* en, const char* si, int count) {
  return std::vector<FieldInfo>(static_cast<size_t>(count), FieldInfo{name, en, si});
}

// Top or bottom properties A of an elastic section (E1, E3).
std::vector<FieldInfo> propertiesA() {
  return {{"equivalent diameter", "in", "mm"}, {kUnused, "", ""},
          {"external width", "in", "mm"},      {"external depth", "in", "mm"},
          {"internal diameter or width", "in", "mm"}, {"wall thickness", "in", "mm"},
          {"flange thickness", "in", "mm"},    {"web thickness", "in", "mm"}};
}

// Properties B of an elastic section (E2, E4): ten reals, a further real and (E2) the taper flag.
std::vector<FieldInfo> propertiesB(bool withTaper) {
  std::vector<FieldInfo> f = {{kUnused, "", ""},
                              {kUnused, "", ""},
                              {kUnused, "", ""},
                              {"moment of inertia I", "in4", "mm4"},
                              {kUnused, "", ""},
                              {kUnused, "", ""},
                              {kUnused, "", ""},
                              {kUnused, "", ""},
                              {"Young's modulus E", "psi", "kPa"},
                              {kUnused, "", ""},
                              {"further value (kept, not used)", "", ""}};
  if (withTaper) f.push_back({"taper flag (1: E3 and E4 follow)", "", ""});
  return f;
}

std::vector<FieldInfo> soilValues() {
  return {{"total unit weight", "pci", "kN/m3"},
          {"cohesion c or rock strength", "psi", "kPa"},
          {"friction angle phi", "deg", "deg"},
          {"E50 (weak rock: krm)", "", ""},
          {"KPY, modulus of subgrade reaction k (weak rock: Eir, psi / kPa)", "pci", "kN/m3"},
          {"optional Ka (weak rock: RQD, %)", "", ""}};
}

std::vector<FieldInfo> momentCurvaturePoint() {
  return {{"moment", "lb-in", "kN-m"}, {"curvature", "1/in", "1/m"}};
}

const std::vector<RecordInfo>& table() {
  static const std::vector<RecordInfo> records = {
      {"THE TITLE RECORD", "C1", {{"title (first 70 characters kept)", "", ""}}},
      {"THE PROGRAM CONTROL RECORD",
       "C2",
       {{"units flag (1 English, 2 SI)", "", ""},
        {"number of specified deflection/slope points", "", ""},
        {"number of wall sections", "", ""},
        {"number of cross sections", "", ""},
        {"number of p-y modification factors", "", ""},
        {"pressure distribution option (0 none, 1 table A, 2..6 generated)", "", ""},
        {"curve option (2 generate p-y curves)", "", ""},
        {"number of user p-y curves", "", ""},
        {"number of stages", "", ""},
        {"number of user nonlinear EI sets", "", ""},
        {"number of tie-backs", "", ""},
        {"hinge flag", "", ""},
        {"wale flag", "", ""},
        {"wale support kind (1 simply supported)", "", ""},
        {"number of struts and rakers", "", ""}}},
      {"THE WALL RECORD",
       "C3",
       {{"N, number of increments", "", ""},
        {"h, increment length", "in", "m"},
        {"maximum allowable deflection", "in", "m"},
        {"deflection closure tolerance", "in", "m"},
        {"free height of wall (excavation level)", "in", "m", kIn},
        {"wall width b", "in", "m"},
        {"height of wall", "in", "m", kIn},
        {"maximum number of iterations", "", ""},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {"section adjustment flag", "", ""}}},
      {"SPECIFIED DEFLECTION/SLOPE RECORD n",
       "C4",
       {{"CASE (1 deflection, 2 slope, 3 both)", "", ""},
        {"station", "", ""},
        {"deflection", "in", "m"},
        {"slope", "rad", "rad"}}},
      {"WALL SECTION RECORD n",
       "C5",
       {{"top of the section", "ft", "m", kFt},
        {"bottom of the section", "ft", "m", kFt},
        {"cross-section number", "", ""}}},
      {"THE HEADER RECORD OF CROSS SECTION n",
       "C6.1",
       {{kUnused, "", ""},
        {kUnused, "", ""},
        {"elastic section kind", "", ""},
        {"nonlinear flag (0 elastic)", "", ""}}},
      {"THE NAME RECORD OF CROSS SECTION n", "C6.2", {{"section name", "", ""}}},
      {"RECORD E1 (TOP PROPERTIES A) OF CROSS SECTION n", "E1", propertiesA()},
      {"RECORD E2 (TOP PROPERTIES B) OF CROSS SECTION n", "E2", propertiesB(true)},
      {"RECORD E3 (BOTTOM PROPERTIES A) OF CROSS SECTION n", "E3", propertiesA()},
      {"RECORD E4 (BOTTOM PROPERTIES B) OF CROSS SECTION n", "E4", propertiesB(false)},
      {"RECORD E5 (SECTION OPTIONS) OF CROSS SECTION n",
       "E5",
       {{"AISC family", "", ""},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {"sheet-pile source", "", ""},
        {"sheet-pile type", "", ""}}},
      {"RECORD E6 (SECOND NAME) OF CROSS SECTION n", "E6", {{"second name", "", ""}}},
      {"RECORD N1 (EQUIVALENT PROPERTIES) OF CROSS SECTION n",
       "N1",
       {{"equivalent diameter", "in", "mm"},
        {"further value", "", ""},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {"moment of inertia I", "in4", "mm4"},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {kUnused, "", ""},
        {"equivalent Young's modulus E", "psi", "kPa"}}},
      {"RECORD N2 (SECTION TYPE AND DIMENSIONS) OF CROSS SECTION n",
       "N2",
       {{"section type", "", ""},
        {"dimension 1", "in", "mm"},
        {"dimension 2", "in", "mm"},
        {"dimension 3", "in", "mm"},
        {"dimension 4", "in", "mm"},
        {"casing diameter", "in", "mm"},
        {"casing thickness", "in", "mm"},
        {"steel section: diameter or depth", "in", "mm"},
        {"steel section: width", "in", "mm"},
        {"steel section: thickness or flange thickness", "in", "mm"},
        {"steel section: web thickness", "in", "mm"}}},
      {"RECORD N3 (MATERIALS) OF CROSS SECTION n",
       "N3",
       {{"value 1", "", ""},
        {"concrete strength f'c", "psi", "kPa"},
        {"casing E", "psi", "kPa"},
        {"casing yield strength", "psi", "kPa"},
        {"steel E", "psi", "kPa"},
        {"steel yield strength", "psi", "kPa"},
        {"steel section kind", "", ""},
        {"casing (> 0 with casing)", "", ""},
        {"integer 3", "", ""},
        {"integer 4", "", ""}}},
      {"RECORD N4 (STEEL SECTION NAME) OF CROSS SECTION n", "N4", {{"steel section name", "", ""}}},
      {"RECORD N5 (LONGITUDINAL REINFORCEMENT) OF CROSS SECTION n",
       "N5",
       {{"layout (1 circular, 2 rectangular, 3 manual)", "", ""},
        {"bars given by diameter (2)", "", ""},
        {"integer 3", "", ""},
        {"integer 4", "", ""},
        {"number of bars (N5a rows)", "", ""},
        {"bar area", "in2", "mm2"},
        {"bar diameter", "in", "mm"},
        {"cover", "in", "mm"},
        {"bar E", "psi", "kPa"},
        {"bar yield strength", "psi", "kPa"},
        {"integer 6", "", ""}}},
      {"REINFORCEMENT BAR OF CROSS SECTION n ROW n", "N5a", repeated("bar value", "", "", 5)},
      {"RECORD N6 (TRANSVERSE REINFORCEMENT) OF CROSS SECTION n",
       "N6",
       {{"confined (> 0)", "", ""},
        {"type (1 spiral, other hoop)", "", ""},
        {"integer 3", "", ""},
        {"number of bars", "", ""},
        {"legs Y", "", ""},
        {"legs Z", "", ""},
        {"area", "in2", "mm2"},
        {"diameter", "in", "mm"},
        {"spacing", "in", "mm"},
        {"yield strength", "psi", "kPa"}}},
      {"RECORD N7 (PRESTRESSING STRANDS) OF CROSS SECTION n",
       "N7",
       {{"layout", "", ""},
        {"integer 2", "", ""},
        {"strands given by diameter (2)", "", ""},
        {"integer 4", "", ""},
        {"number of strands (N7a rows)", "", ""},
        {"strand diameter", "in", "mm"},
        {"strand area", "in2", "mm2"},
        {"cover", "in", "mm"},
        {"ultimate strength", "psi", "kPa"},
        {"initial prestressing force", "lb", "kN"},
        {"further value 1", "", ""},
        {"further value 2", "", ""}}},
      {"STRAND OF CROSS SECTION n ROW n", "N7a", repeated("strand value", "", "", 5)},
      {"RECORD N8 OF CROSS SECTION n",
       "N8",
       {{"number of N8a rows", "", ""},
        {"integer 2", "", ""},
        {"integer 3", "", ""},
        {"real 1", "", ""},
        {"real 2", "", ""}}},
      {"RECORD N8A OF CROSS SECTION n ROW n", "N8a", {{"value", "", ""}}},
      {"RECORD N9 (STRAIN HARDENING) OF CROSS SECTION n",
       "N9",
       {{"strain hardening used (> 0)", "", ""},
        {"integer 2", "", ""},
        {"integer 3", "", ""},
        {"integer 4", "", ""},
        {"integer 5", "", ""},
        {"integer 6", "", ""},
        {"integer 7", "", ""},
        {"real 1", "", ""},
        {"esh", "", ""},
        {"esu", "", ""},
        {"fu/fy", "", ""}}},
      {"RECORD N10 OF CROSS SECTION n",
       "N10",
       {{"integer 1", "", ""},
        {"integer 2", "", ""},
        {"number of N10a rows", "", ""},
        {"N10a rows read (> 0)", "", ""},
        {"real 1", "", ""},
        {"real 2", "", ""}}},
      {"RECORD N10A OF CROSS SECTION n ROW n", "N10a", {{"value", "", ""}}},
      {"THE NONLINEAR EI HEADER RECORD", "C7", {{kUnused, "", ""}}},
      {"THE AXIAL THRUST OF USER NONLINEAR EI SET n", "C7", {{"axial thrust", "lb", "kN"}}},
      {"THE POINT COUNT OF USER NONLINEAR EI SET n",
       "C7",
       {{kUnused, "", ""}, {"number of points", "", ""}}},
      {"USER NONLINEAR EI SET n POINT n", "C7", momentCurvaturePoint()},
      {"THE AXIAL LOAD COUNT OF GENERATED NONLINEAR EI OF CROSS SECTION n",
       "C8",
       {{kUnused, "", ""}, {"number of axial loads", "", ""}}},
      {"THE AXIAL LOAD RECORD OF GENERATED NONLINEAR EI OF CROSS SECTION n, AXIAL LOAD n",
       "C8",
       {{"axial load", "lb", "kN"}, {"second value (kept)", "", ""}}},
      {"THE POINT COUNT OF GENERATED NONLINEAR EI OF CROSS SECTION n, AXIAL LOAD n",
       "C8",
       {{kUnused, "", ""}, {"number of points", "", ""}}},
      {"GENERATED NONLINEAR EI OF CROSS SECTION n, AXIAL LOAD n POINT n", "C8",
       momentCurvaturePoint()},
      {"THE COUNT OF STIFFNESS AND LOAD RECORDS", "L", {{"number of load rows", "", ""}}},
      {"STIFFNESS AND LOAD RECORD n",
       "L",
       {{"CONTD (1 alone or last, 2 continued)", "", ""},
        {"FROM station", "", ""},
        {"TO station", "", ""},
        {"Q, transverse load per station", "lb", "kN"},
        {"T, couple", "lb-in", "kN-m"},
        {"P, axial load", "lb", "kN"}}},
      {"THE COUNT OF RESTRAINT RECORDS", "S", {{"number of restraint rows", "", ""}}},
      {"RESTRAINT RECORD n",
       "S",
       {{"FROM station", "", ""},
        {"TO station", "", ""},
        {"CONTD (1 alone or last, 2 continued)", "", ""},
        {"S, lateral spring per station", "lb/in", "kN/m"},
        {"R, rotational spring per station", "lb-in/rad", "kN-m/rad"}}},
      {"TIE BACK RECORD n",
       "S",
       {{"depth", "ft", "m", kFt},
        {"area of the tendon", "in2", "m2"},
        {"elastic modulus of the tendon", "psi", "kPa"},
        {"unbonded length", "ft", "m"},
        {"angle below the horizontal", "deg", "deg"},
        {"anchor spacing", "ft", "m"},
        {"prestress (lock-off) force per anchor", "lb", "kN"}}},
      {"STRUT/RAKER RECORD n",
       "S",
       {{"depth", "ft", "m", kFt},
        {"area", "in2", "m2"},
        {"elastic modulus", "psi", "kPa"},
        {"length", "ft", "m"},
        {"angle below the horizontal", "deg", "deg"},
        {"spacing", "ft", "m"}}},
      {"THE COUNT OF WALE RECORDS", "W", {{"number of wale rows", "", ""}}},
      {"WALE RECORD n",
       "W",
       {{"code (not used)", "", ""},
        {"value 1 (not used)", "", ""},
        {"value 2 (not used)", "", ""},
        {"value 3 (not used)", "", ""}}},
      {"THE GROUP REDUCTION SWITCH", "M", {{"group reduction switch", "", ""}}},
      {"P-Y MODIFICATION FACTOR RECORD n",
       "M",
       {{"depth", "in", "m", kIn}, {"P-factor", "", ""}, {"Y-factor", "", ""}}},
      {"THE COUNT OF ACTIVE EARTH PRESSURE RECORDS", "A", {{"number of rows", "", ""}}},
      {"ACTIVE EARTH PRESSURE RECORD n",
       "A",
       {{"depth", "in", "m", kIn}, {"active pressure x WA", "lb/in", "kN/m"}}},
      {"THE WALL INFORMATION RECORD",
       "G1",
       {{"free height of wall (excavation level)", "in", "m", kIn},
        {"WA, width for earth pressure", "in", "m"},
        {"WP, width for soil resistance", "in", "m"},
        {"water table depth at the backfill", "in", "m", kIn},
        {"water table depth at the excavation", "in", "m", kIn},
        {"modification for active earth pressure", "", ""},
        {"water switch", "", ""},
        {"slope of the backfill", "deg", "deg"},
        {"slope of the excavation ground", "deg", "deg"}}},
      {"THE SURFACE RECORD",
       "G2",
       {{"uniform surface pressure q", "psi", "kPa"},
        {"horizontal distance", "in", "m"},
        {"point load", "lb", "kN"},
        {"line load", "lb/in", "kN/m"},
        {"strip load", "psi", "kPa"},
        {"strip width", "in", "m"}}},
      {"THE COUNT OF SURCHARGE RECORDS", "G3", {{"number of surcharge loads", "", ""}}},
      {"SURCHARGE RECORD n",
       "G3",
       {{"type (1 point, 2 line, 3 strip)", "", ""},
        {"magnitude Q", "lb, lb/in or psi", "kN, kN/m or kPa"},
        {"horizontal distance from the wall", "in", "mm"},
        {"width of the strip", "in", "mm"},
        {"height of the load above the top of the wall", "in", "mm"},
        {"factor on the load", "", ""}}},
      {"THE SOIL LAYER COUNT RECORD",
       "G4",
       {{"number of soil layers", "", ""},
        {"loading kind (1 static, 0 cyclic)", "", ""},
        {"number of cycles", "", ""}}},
      {"THE LAYER RECORD OF SOIL LAYER n",
       "G4",
       {{"soil type (1 soft clay, 2 stiff clay with free water, 3 stiff clay, 4 sand, 5 silt, "
         "6 rock, 7 weak rock)",
         "", ""},
        {"X of the top", "in", "m", kIn},
        {"X of the bottom", "in", "m", kIn}}},
      {"THE TOP RECORD OF SOIL LAYER n", "G4", soilValues()},
      {"THE BOTTOM RECORD OF SOIL LAYER n", "G4", soilValues()},
      {"THE CURVE RECORD OF USER P-Y CURVE n",
       "U",
       {{"station", "", ""},
        {"number of points", "", ""},
        {"P-multiplier", "", ""},
        {"Y-multiplier", "", ""}}},
      {"POINT n OF USER P-Y CURVE n",
       "U",
       {{"y, deflection", "in", "m"}, {"p, soil reaction per length", "lb/in", "kN/m"}}},
      {"THE CONTINUATION CODE", "K", {{"continuation code", "", ""}}},
  };
  return records;
}

}  // namespace

std::string recordKey(std::string_view name) {
  std::string key;
  for (size_t i = 0; i < name.size();) {
    // A number standing as a word; the digits of a tag such as E1 or N10 stay.
    const bool word = i == 0 || name[i - 1] == ' ';
    if (word && std::isdigit(static_cast<unsigned char>(name[i]))) {
      while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]))) ++i;
      key += 'n';
    } else {
      key += name[i++];
    }
  }
  return key;
}

const RecordInfo* findRecord(std::string_view name) {
  const std::string key = recordKey(name);
  for (const RecordInfo& r : table()) {
    if (key == r.key) return &r;
  }
  return nullptr;
}

std::string fieldName(const RecordInfo* record, int index) {
  if (record != nullptr && index >= 1 && static_cast<size_t>(index) <= record->fields.size()) {
    return record->fields[static_cast<size_t>(index - 1)].name;
  }
  return "value " + std::to_string(index);
}

std::string fieldUnit(const RecordInfo* record, int index, int unitsFlag) {
  if (record == nullptr || index < 1 || static_cast<size_t>(index) > record->fields.size()) {
    return "";
  }
  const FieldInfo& f = record->fields[static_cast<size_t>(index - 1)];
  if (unitsFlag == 1) return f.english;
  if (unitsFlag == 2) return f.si;
  return "";
}

}  // namespace korden::cli

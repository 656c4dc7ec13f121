// Echo of the cross sections, the cross-section property table and the moment-curvature tables.
//
// Every property line has one layout: 5 blanks, a 23-column caption (" NAME...  : "), then the
// value: a real by the significant-digit routine in 14 columns followed by a blank and its unit
// label (no label for ratios and strains), an integer right-justified in 14 columns, or a text
// right after the caption. A tapered elastic section prints a second real column (BOTTOM).
//
// Positions of the section records that carry no fixed meaning of their own are read here as:
//   property table A: A5 internal diameter (internal width of a rectangular pipe), A6 wall
//     thickness of a pipe;
//   E5 integer 1: AISC shape family; E5 integers 7 and 8: sheet-pile source and type;
//     E6 (second name): the catalogue name of an AISC shape or a sheet pile;
//   N2 reals: 5 casing diameter, 6 casing thickness, 7 to 10 the steel section (pipe or embedded
//     pipe: 7 diameter, 9 thickness; H, I and AISC shapes: 7 depth, 8 width, 9 flange
//     thickness, 10 web thickness);
//   N3 reals: 2 concrete strength, 3 casing modulus, 4 casing yield strength, 5 steel modulus,
//     6 steel yield strength; N3 integer 1: steel section kind (0 none, 1 pipe, 2 H, 3 I,
//     4 AISC; for a steel pile of type 8, 3 makes it an I section), integer 2: casing (> 0);
//   N5 integer 1 and N7 integer 1: layout (1 circular, 2 rectangular, 3 manual);
//     N5 integer 2 and N7 integer 3 equal to 2: bar (strand) given by its diameter;
//   N6 integers: 1 confined (> 0), 2 transverse reinforcement type (1 spiral, other hoop),
//     4 number of transverse bars, 5 and 6 legs in Y and Z (hoops); N6 reals: 1 area,
//     2 diameter, 3 spacing, 4 yield strength;
//   N7 reals: 1 strand diameter, 2 area, 3 cover, 4 ultimate strength, 5 initial prestressing
//     force;
//   N9 integer 1 greater than 0: strain hardening used; N9 reals 2, 3, 4: ESH, ESU, FU/FY.
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "engine/single_precision.h"
#include "input/echo.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

using fmt::I;
using fmt::X;

constexpr std::string_view kNoLabel;

// " NAME" padded to 20 columns and " : "; a 20-character name keeps the colon in column 22.
std::string caption(std::string_view name) {
  std::string text = " " + std::string(name);
  if (text.size() < 20) text.resize(20, ' ');
  return text + (text.size() > 20 ? ": " : " : ");
}

// The first 32 characters of a name record, blank-padded.
std::string name32(const std::string& name) {
  std::string text = name.substr(0, 32);
  text.resize(32, ' ');
  return text;
}

std::string withLabel(std::string_view label) {
  return label.empty() ? std::string() : " " + std::string(label);
}

void realLine(OutputFile& out, std::string_view name, double value, std::string_view label) {
  out.line(X(5) + caption(name) + fmt::significant(value, 14, 5) + withLabel(label));
}

void integerLine(OutputFile& out, std::string_view name, int value) {
  out.line(X(5) + caption(name) + I(value, 14));
}

void textLine(OutputFile& out, std::string_view name, std::string_view text) {
  out.line(X(5) + caption(name) + std::string(text));
}

// Labels of section sizes: sizes in the section-size unit (inches, or millimetres in SI).
struct SectionLabels {
  std::string size, area, stress, force;
};

SectionLabels sectionLabels(const UnitLabels& u) {
  return {u.sectionSize, u.sectionSize + "**2", stressLabel(u), u.force3};
}

// One elastic property: positions in table A (0-based) or table B.
struct Property {
  std::string_view name;
  bool tableB = false;
  int index = 0;
};

constexpr Property kEquivalentDiameter{"EQUIVALENT DIAMETER", false, 0};
constexpr Property kExternalWidth{"EXTERNAL WIDTH", false, 2};
constexpr Property kExternalDepth{"EXTERNAL DEPTH", false, 3};
constexpr Property kInternalDiameter{"INTERNAL DIAMETER", false, 4};
constexpr Property kInternalWidth{"INTERNAL WIDTH", false, 4};
constexpr Property kThickness{"THICKNESS", false, 5};
constexpr Property kFlangeThickness{"FLANGE THICKNESS", false, 6};
constexpr Property kWebThickness{"WEB THICKNESS", false, 7};
constexpr Property kYoungModulus{"YOUNG MODULUS", true, 8};

std::string elasticKindCaption(const CrossSection& x) {
  switch (x.elasticKind()) {
    case 1:
      return " CIRCULAR PIPE    ";
    case 2:
      return " RECTANGULAR PIPE ";
    case 3:
      return " I SECTION        ";
    case 4:
      return " H SECTION        ";
    case 5:
      switch (x.options[0]) {
        case 0:
          return " AISC SECTION (W) ";
        case 1:
          return " AISC SECTION (M) ";
        case 2:
          return " AISC SECTION (S) ";
        case 3:
          return " AISC SECTION (HP)";
        case 11:
          return " AISC SECTION (HSS) ";
        case 12:
          return " AISC SECTION (PIPE)";
        default:
          return " AISC SECTION       ";
      }
    case 6:
      return " SHEET PILING     ";
    default:  // 0, and a kind the input does not define, is echoed as a general section
      return " GENERAL SECTION  ";
  }
}

// The dimension lines of an elastic section between its diameter and its modulus.
std::vector<Property> elasticDimensions(const CrossSection& x) {
  switch (x.elasticKind()) {
    case 1:
      return {kInternalDiameter, kThickness};
    case 2:
      return {kExternalWidth, kExternalDepth, kInternalWidth, kThickness};
    case 3:
    case 4:
      return {kExternalWidth, kExternalDepth, kFlangeThickness, kWebThickness};
    case 5:
      // Shapes of the families up to HSS (11) have flanges; pipes (12 on) a wall thickness.
      if (x.options[0] <= 11) {
        return {kExternalWidth, kExternalDepth, kFlangeThickness, kWebThickness};
      }
      return {kInternalDiameter, kThickness};
    case 6:
      return {kExternalWidth, kExternalDepth, kWebThickness, kFlangeThickness};
    default:
      return {};
  }
}

std::string_view sheetPileSource(int source) {
  if (source == 0) return "USS";
  if (source == 1) return "NUCOR";
  return "USER DEFINED";
}

// The sheet-pile type text; empty for a user-defined pile or a type the source does not list.
std::string_view sheetPileType(int source, int type) {
  static constexpr std::array<std::string_view, 4> kUss = {"FLAT", " Z", "PAN", " U"};
  static constexpr std::array<std::string_view, 7> kNucor = {
      "NZ", "AZ", "PZ", "SCZ/SKZ", "AS/PS", "SKL/SKS", "U_PILES"};
  if (type < 0) return {};
  const auto index = static_cast<size_t>(type);
  if (source == 0 && index < kUss.size()) return kUss[index];
  if (source == 1 && index < kNucor.size()) return kNucor[index];
  return {};
}

void sectionHead(OutputFile& out, int number, const CrossSection& x, std::string_view type) {
  out.blank();
  out.line(X(5) + " CROSS SECTION       : " + I(number, 5));
  out.line(X(5) + " SECTION NAME        : " + name32(x.name));
  out.line(X(5) + " TYPE                : " + std::string(type));
}

void echoElasticSection(OutputFile& out, const SectionLabels& labels, int number,
                        const CrossSection& x) {
  sectionHead(out, number, x, " ELASTIC");
  out.line(X(5) + " CROSS SECTION TYPE  :" + elasticKindCaption(x));
  const int kind = x.elasticKind();
  if (kind == 5) textLine(out, "AISC SECTION NAME", name32(x.secondName));
  if (kind == 6) {
    const int source = x.options[6];
    textLine(out, "SHEET PILE SOURCE", sheetPileSource(source));
    const std::string_view type = sheetPileType(source, x.options[7]);
    if (!type.empty()) textLine(out, "SHEET PILE TYPE", type);
    textLine(out, "SHEET PILE NAME", name32(x.secondName));
  }
  // Only the kinds with a top and a bottom of their own echo a taper.
  const bool tapered = x.taperFlag >= 1 && kind >= 0 && kind <= 4;
  if (tapered) {
    out.line(X(5) + " TAPERED SECTION       " + fmt::A("TOP", 14) + fmt::A("BOTTOM", 14));
  }
  std::vector<Property> lines = {kEquivalentDiameter};
  for (const Property& p : elasticDimensions(x)) lines.push_back(p);
  lines.push_back(kYoungModulus);
  for (const Property& p : lines) {
    const std::string& label = p.tableB ? labels.stress : labels.size;
    const auto index = static_cast<size_t>(p.index);
    const double top = p.tableB ? x.bTop[index] : x.aTop[index];
    const double bottom = p.tableB ? x.bBottom[index] : x.aBottom[index];
    std::string row = X(5) + caption(p.name) + fmt::significant(top, 14, 5);
    if (tapered) row += fmt::significant(bottom, 14, 5);
    out.line(row + withLabel(label));
  }
}

std::string nonlinearTypeCaption(const CrossSection& x) {
  switch (x.sectionType) {
    case 1:
      return "RECTANGULAR CONCRETE PILE";
    case 2:
      return "ROUND CONCRETE SHAFT";
    case 3:
      return "ROUND CONC. SHAFT, CASING (AND STEEL SECTION)";
    case 4:
      return "ROUND PRESTRESSED PILE";
    case 5:
      return "SQUARE PRESTRESSED PILE";
    case 6:
      return "OCTOGONAL PRESTRESSED PILE";
    case 7:
      return "STEEL PIPE PILE";
    case 8:
      return x.n3Ints[0] == 3 ? "STEEL I SECTION PILE" : "STEEL H SECTION PILE";
    case 9:
      return "STEEL AISC SECTION PILE";
    case 10:
      return "USER DEFINED EI";
    default:
      return "UNDEFINED TYPE " + std::to_string(x.sectionType);
  }
}

std::string_view layoutText(int code) {
  if (code == 1) return "CIRCULAR";
  if (code == 2) return "RECTANGULAR";
  if (code == 3) return "MANUAL";
  return {};
}

enum class SteelKind { kNone, kPipe, kH, kI, kAisc };

SteelKind steelKindOf(int code) {
  switch (code) {
    case 1:
      return SteelKind::kPipe;
    case 2:
      return SteelKind::kH;
    case 3:
      return SteelKind::kI;
    case 4:
      return SteelKind::kAisc;
    default:
      return SteelKind::kNone;
  }
}

// Name and dimensions of a steel section (a steel pile or the section embedded in a shaft).
void steelSectionLines(OutputFile& out, const SectionLabels& labels, const CrossSection& x,
                       SteelKind kind) {
  if (kind == SteelKind::kNone) return;
  if (kind == SteelKind::kPipe) {
    realLine(out, "EXTERNAL DIAMETER", x.n2[6], labels.size);
    realLine(out, "THICKNESS", x.n2[8], labels.size);
    return;
  }
  if (kind == SteelKind::kAisc) textLine(out, "AISC SECTION NAME", name32(x.steelName));
  realLine(out, "EXTERNAL DEPTH", x.n2[6], labels.size);
  realLine(out, "EXTERNAL WIDTH", x.n2[7], labels.size);
  realLine(out, "FLANGE THICKNESS", x.n2[8], labels.size);
  realLine(out, "WEB THICKNESS", x.n2[9], labels.size);
}

// Bar or strand rows of a manual layout: 5 blanks, the tag, the number (I4), blanks and " : ",
// so that the five values of the row start in the value column of the property lines.
void coordinateRows(OutputFile& out, std::string_view tag, int blanks,
                    const std::vector<std::array<double, 5>>& rows) {
  for (size_t j = 0; j < rows.size(); ++j) {
    std::string row =
        X(5) + std::string(tag) + I(static_cast<long long>(j) + 1, 4) + X(blanks) + " : ";
    for (double v : rows[j]) row += fmt::significant(v, 14, 5);
    out.line(row);
  }
}

void reinforcementLines(OutputFile& out, const SectionLabels& labels, const CrossSection& x) {
  integerLine(out, "NUMBER REBARS", x.n5Ints[4]);
  if (x.n5Ints[1] == 2) realLine(out, "DIAMETER REINF.", x.n5Reals[1], labels.size);
  realLine(out, "AREA REINFORCEMENT", x.n5Reals[0], labels.area);
  realLine(out, "ES REINFORCEMENT", x.n5Reals[3], labels.stress);
  realLine(out, "FY REINFORCEMENT", x.n5Reals[4], labels.stress);
  const std::string_view layout = layoutText(x.n5Ints[0]);
  if (!layout.empty()) textLine(out, "REINF. LAYOUT", layout);
  realLine(out, "COVER", x.n5Reals[2], labels.size);
  if (x.n5Ints[0] == 3) {
    out.line(X(5) + " REINF. COORDS");
    coordinateRows(out, " - REBAR ", 7, x.bars);
  }
}

void confinementLines(OutputFile& out, const SectionLabels& labels, const CrossSection& x) {
  const bool confined = x.n6Ints[0] > 0;
  textLine(out, "CONFINED SECTION", confined ? "YES" : "NO");
  if (!confined) return;
  const bool spiral = x.n6Ints[1] == 1;
  textLine(out, "TRANSV. REINF. TYPE", spiral ? "SPIRAL" : "HOOP");
  integerLine(out, "NUMBER TR. REBARS", x.n6Ints[3]);
  if (!spiral) {
    integerLine(out, "NUMBER LEGS Y", x.n6Ints[4]);
    integerLine(out, "NUMBER LEGS Z", x.n6Ints[5]);
  }
  realLine(out, "DIAMETER TR. REINF.", x.n6Reals[1], labels.size);
  realLine(out, "AREA TRANSV. REINF.", x.n6Reals[0], labels.area);
  realLine(out, "SPACING TR. REINF.", x.n6Reals[2], labels.size);
  realLine(out, "FY TRANSV. REINF.", x.n6Reals[3], labels.stress);
}

void strandLines(OutputFile& out, const SectionLabels& labels, const CrossSection& x) {
  integerLine(out, "NUMBER STRANDS", x.n7Ints[4]);
  if (x.n7Ints[2] == 2) realLine(out, "DIAMETER STRAND", x.n7Reals[0], labels.size);
  realLine(out, "AREA STRAND", x.n7Reals[1], labels.area);
  realLine(out, "FU STRAND", x.n7Reals[3], labels.stress);
  realLine(out, "INITIAL PRESS. FORCE", x.n7Reals[4], labels.force);
  const std::string_view layout = layoutText(x.n7Ints[0]);
  if (!layout.empty()) textLine(out, "STRAND LAYOUT", layout);
  realLine(out, "COVER", x.n7Reals[2], labels.size);
  if (x.n7Ints[0] == 3) {
    out.line(X(5) + " STRAND COORDS");
    coordinateRows(out, " - STRAND ", 6, x.strands);
  }
}

void echoNonlinearSection(OutputFile& out, const SectionLabels& labels, int number,
                          const CrossSection& x) {
  sectionHead(out, number, x, " NONLINEAR");
  out.line(X(5) + " CROSS SECTION TYPE  : " + nonlinearTypeCaption(x));
  const int type = x.sectionType;
  const bool concrete = type >= 1 && type <= 6;
  const bool prestressed = type >= 4 && type <= 6;

  if (concrete) realLine(out, "CONCRETE FC", x.n3Reals[1], labels.stress);
  SteelKind steel = SteelKind::kNone;
  if (type == 3) {
    if (x.n3Ints[1] > 0) {
      realLine(out, "DIAMETER CASING", x.n2[4], labels.size);
      realLine(out, "THICKNESS CASING", x.n2[5], labels.size);
      realLine(out, "ES CASING", x.n3Reals[2], labels.stress);
      realLine(out, "FY CASING", x.n3Reals[3], labels.stress);
    } else {
      textLine(out, "DIAMETER CASING", "NO CASING");
    }
    steel = steelKindOf(x.n3Ints[0]);
    static constexpr std::array<std::string_view, 5> kSteelNames = {"NONE", "PIPE", "H", "I",
                                                                    "AISC"};
    textLine(out, "EMBEDDED STEEL SECT", kSteelNames[static_cast<size_t>(steel)]);
  } else if (type == 7) {
    steel = SteelKind::kPipe;
  } else if (type == 8) {
    steel = x.n3Ints[0] == 3 ? SteelKind::kI : SteelKind::kH;
  } else if (type == 9) {
    steel = SteelKind::kAisc;
  }
  steelSectionLines(out, labels, x, steel);
  if (steel != SteelKind::kNone) {
    realLine(out, "ES STEEL", x.n3Reals[4], labels.stress);
    realLine(out, "FY STEEL", x.n3Reals[5], labels.stress);
  }
  // Reinforced shafts and piles always show their bars; prestressed piles only when they have
  // bars besides the strands.
  if ((concrete && !prestressed) || (prestressed && x.n5Ints[4] > 0)) {
    reinforcementLines(out, labels, x);
  }
  realLine(out, "EQ. YOUNG MODULUS", x.bTop[8], labels.stress);
  if (concrete) confinementLines(out, labels, x);
  if (type != 10 && x.n9Ints[0] > 0) {
    out.line(X(5) + " USE STRAIN HARDENING MODEL");
    realLine(out, "ESH", x.n9Reals[1], kNoLabel);
    realLine(out, "ESU", x.n9Reals[2], kNoLabel);
    realLine(out, "FU/FY", x.n9Reals[3], kNoLabel);
  }
  if (prestressed) strandLines(out, labels, x);
}

// The sub-head and column heads of each kind are printed also when the kind has no rows.
void propertyTable(OutputFile& out, const RunState& state, bool nonlinear) {
  const auto& sections = state.sections.crossSections;
  const std::string& size = state.labels.sectionSize;
  out.blank();
  if (nonlinear) {
    out.line(X(5) + "         NONLINEAR SECTIONS       ");
    out.line(X(5) + "  SECT" + fmt::A("DIAM," + size, 14));
  } else {
    out.line(X(5) + "         ELASTIC SECTIONS         ");
    out.line(X(5) + "  SECT" + fmt::A("DIAM," + size, 14) + fmt::A("  I," + size + "**4", 14));
  }
  for (size_t i = 0; i < sections.size(); ++i) {
    const CrossSection& x = sections[i];
    if (x.nonlinear() != nonlinear) continue;
    out.put(X(5) + I(static_cast<long long>(i) + 1, 5) + X(1) + fmt::significant(x.aTop[0], 14, 5));
    // The moment of inertia is held in m^4 in SI; the table shows it in the mm^4 of its label,
    // as it was entered.
    if (!nonlinear)
      out.put(fmt::significant(state.si() ? x.bTop[3] * kOneE12Single : x.bTop[3], 14, 5));
    out.endWithBlank();
  }
}

// One moment-curvature table with its heads; EI is the secant rigidity M/phi, printed only where
// the curvature is positive.
void momentCurvatureTable(OutputFile& out, const UnitLabels& u, int number,
                          const MomentCurvatureSet& set) {
  out.blank();
  out.line("   SET          =  " + I(number, 5));
  out.line("   AXIAL THRUST =  " + fmt::F(set.axialThrust, 10, 4) + X(2) + u.force3);
  out.blank();
  out.line(X(4) + "   N  " + X(4) + fmt::A(" CURVATURE ", 14) + X(4) + fmt::A(" MOMENT ", 14) +
           X(4) + fmt::A("   EI   ", 14));
  out.line(X(14) + fmt::A("RAD/" + u.lengthShort, 14) + X(4) + fmt::A(momentLabel(u), 14) + X(4) +
           fmt::A(stiffnessLabel(u), 14));
  const int count = set.nPoints < 0 ? 0 : set.nPoints;
  for (int j = 0; j < count && j < kMaxMomentCurvaturePoints; ++j) {
    const double curvature = set.curvature[static_cast<size_t>(j)];
    const double moment = set.moment[static_cast<size_t>(j)];
    out.put(X(5) + I(j + 1, 5) + X(4) + fmt::significant(curvature, 14, 5) + X(4) +
            fmt::significant(moment, 14, 5));
    // A quotient beyond the range of the numbers (a curvature near 0) is not printed either.
    if (curvature > 0.0 && std::isfinite(moment / curvature)) {
      out.put(X(4) + fmt::significant(moment / curvature, 14, 5));
    }
    out.endWithBlank();
  }
  out.endWithBlank();
}

}  // namespace

void echoCrossSections(OutputFile& out, const RunState& state) {
  const SectionLabels labels = sectionLabels(state.labels);
  writeMinorCaption(out, "* CROSS SECTIONS *");
  const auto& sections = state.sections.crossSections;
  for (size_t i = 0; i < sections.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    if (sections[i].nonlinear()) {
      echoNonlinearSection(out, labels, number, sections[i]);
    } else {
      echoElasticSection(out, labels, number, sections[i]);
    }
  }
  writeMinorCaption(out, "* CROSS SECTIONS PROPERTIES *");
  propertyTable(out, state, false);
  propertyTable(out, state, true);
}

void echoNonlinearEI(OutputFile& out, const RunState& state) {
  const auto& sections = state.sections.crossSections;
  const auto& userSets = state.sections.userSets;
  // Every user-defined set is shown under its own number, also a set that no section of type 10
  // uses (a section of type 10 uses the set with its own number).
  if (!userSets.empty()) {
    writeMinorCaption(out, "* USER DEFINED NONLINEAR EI *");
    for (size_t i = 0; i < userSets.size(); ++i) {
      momentCurvatureTable(out, state.labels, static_cast<int>(i) + 1, userSets[i]);
    }
  }
  const auto hasGeneratedSet = [&](size_t i) {
    return sections[i].nonlinear() && sections[i].sectionType != 10 &&
           !sections[i].generated.empty();
  };
  bool anyGenerated = false;
  for (size_t i = 0; i < sections.size(); ++i) anyGenerated = anyGenerated || hasGeneratedSet(i);
  if (anyGenerated) {
    writeMinorCaption(out, "* INTERNALLY GENERATED NONLINEAR EI *");
    for (size_t i = 0; i < sections.size(); ++i) {
      if (hasGeneratedSet(i)) {
        momentCurvatureTable(out, state.labels, static_cast<int>(i) + 1,
                             sections[i].generated.front());
      }
    }
  }
}

}  // namespace korden

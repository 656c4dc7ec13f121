#include "analysis/flexural_rigidity.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/errors.h"
#include "engine/single_precision.h"
#include "report/fortran_format.h"

namespace korden {

bool secantRigidity(const MomentCurvatureSet& t, double phi, double& ei) {
  const int n = std::min(t.nPoints, kMaxMomentCurvaturePoints);
  if (n < 2) return false;
  // Points are held moment first, curvature second; the first segment's slope is M2/phi2.
  if (phi <= kOneEMinus8Single) {
    ei = t.moment[1] / t.curvature[1];
  } else if (phi >= t.curvature[n - 1]) {
    ei = t.moment[n - 1] / phi;
  } else {
    int k = 1;
    while (k < n - 1 && phi > t.curvature[k]) ++k;
    const double m = t.moment[k - 1] + (phi - t.curvature[k - 1]) *
                                           (t.moment[k] - t.moment[k - 1]) /
                                           (t.curvature[k] - t.curvature[k - 1]);
    ei = m / phi;
  }
  return true;
}

namespace {

const MomentCurvatureSet* tableOf(const RunState& state, int sectionNumber, const CrossSection& x) {
  if (x.sectionType == 10) {
    const auto& sets = state.sections.userSets;
    if (sectionNumber >= 1 && sectionNumber <= static_cast<int>(sets.size()))
      return &sets[sectionNumber - 1];
    return nullptr;
  }
  return x.generated.empty() ? nullptr : &x.generated.front();
}

// The wall section that holds depth d (feet in English units, metres in SI) and where in it: a
// boundary station takes the upper section; above the first section its top value holds, below
// the last its bottom value.
struct SectionPlace {
  size_t section = 0;
  double fraction = 0.0;  // 0 at the section's top value, 1 at its bottom value
};

SectionPlace sectionAt(const std::vector<WallSection>& walls, double d) {
  SectionPlace place;
  if (d <= walls.front().top) return place;
  if (d >= walls.back().bottom) return {walls.size() - 1, 1.0};
  size_t k = 0;
  while (k + 1 < walls.size() && walls[k].bottom < d) ++k;
  const WallSection& w = walls[k];
  place.section = k;
  place.fraction = w.bottom == w.top ? 0.0 : (d - w.top) / (w.bottom - w.top);
  return place;
}

// A moment-curvature table that the secant rigidity can use: curvatures ascending (the
// interpolation divides by their differences, the first segment's slope by the second curvature)
// and moments above 0 from the second point on, so that every secant rigidity is positive.
void checkMomentCurvatureTable(const MomentCurvatureSet& t, const std::string& what) {
  const int n = std::min(t.nPoints, kMaxMomentCurvaturePoints);
  if (n < 2) return;
  for (int k = 1; k < n; ++k) {
    const std::string point = "     ERROR STOP -- " + what + ", POINT " + std::to_string(k + 1);
    if (!(t.curvature[k] > t.curvature[k - 1])) {
      stopWithMessage(point + ": THE CURVATURES MUST ASCEND FROM POINT TO POINT");
    }
    if (!(t.curvature[k] > 0.0) || !(t.moment[k] > 0.0)) {
      stopWithMessage(point + ": MOMENT AND CURVATURE MUST BE GREATER THAN 0");
    }
  }
}

}  // namespace

void checkRigiditySources(const RunState& state) {
  const auto& walls = state.sections.wallSections;
  const auto& cross = state.sections.crossSections;
  for (size_t i = 0; i < walls.size(); ++i) {
    const int number = walls[i].crossSection;
    if (number < 1 || number > static_cast<int>(cross.size())) {
      stopWithMessage("     ERROR STOP -- WALL SECTION " + std::to_string(i + 1) +
                      " USES CROSS SECTION " + std::to_string(number) + ", WHICH IS NOT GIVEN");
    }
    const CrossSection& x = cross[number - 1];
    if (!x.nonlinear()) continue;
    const MomentCurvatureSet* table = tableOf(state, number, x);
    const std::string section = "CROSS SECTION " + std::to_string(number);
    if (table == nullptr) {
      // A user-defined EI section without its set would silently keep an elastic rigidity.
      if (x.sectionType == 10) {
        stopWithMessage("     ERROR STOP -- " + section +
                        " (USER DEFINED EI) HAS NO USER NONLINEAR EI SET " +
                        std::to_string(number));
      }
      continue;
    }
    checkMomentCurvatureTable(*table, x.sectionType == 10
                                          ? "USER NONLINEAR EI SET " + std::to_string(number)
                                          : "GENERATED NONLINEAR EI OF " + section);
  }
}

void requirePositiveRigidity(const RunState& state) {
  const StationGrid& g = state.grid;
  const auto& walls = state.sections.wallSections;
  for (int i = 0; i <= g.n; ++i) {
    if (g.EI(i) > 0.0 && std::isfinite(g.EI(i))) continue;
    if (walls.empty()) stopWithMessage("     ERROR STOP -- NO WALL SECTIONS: THE WALL HAS NO EI");
    const SectionPlace place = sectionAt(walls, depthOfStation(i, g.h, state.english()));
    stopWithMessage("     ERROR STOP -- THE FLEXURAL RIGIDITY AT STATION " + std::to_string(i) +
                    " (WALL SECTION " + std::to_string(place.section + 1) + ", CROSS SECTION " +
                    std::to_string(walls[place.section].crossSection) + ") IS " +
                    fmt::E(g.EI(i), 10, 3) + ": IT MUST BE GREATER THAN 0");
  }
}

void updateFlexuralRigidity(RunState& state, bool afterIteration) {
  StationGrid& g = state.grid;
  const auto& walls = state.sections.wallSections;
  const auto& cross = state.sections.crossSections;
  if (walls.empty()) return;
  for (const WallSection& w : walls) {
    if (w.crossSection < 1 || w.crossSection > static_cast<int>(cross.size())) {
      stopWithMessage("     ERROR STOP -- A WALL SECTION USES CROSS SECTION " +
                      std::to_string(w.crossSection) + ", WHICH IS NOT GIVEN");
    }
  }
  const bool scaleWidth = afterIteration && state.wall.sectionAdjustFlag == 1;
  if (scaleWidth && !(state.soil.wall.widthActive > 0.0)) {
    stopWithMessage("     ERROR STOP -- SECTION ADJUSTMENT NEEDS THE WIDTH FOR EARTH PRESSURE WA");
  }
  // The fictitious stations carry no rigidity, also where a wall section reaches past the tip:
  // a rigidity there would make the free ends act as part of the wall.
  for (int i = StationTable::kFirstStation; i < 0; ++i) g.EI(i) = 0.0;
  for (int i = g.n + 1; i - StationTable::kFirstStation < kStationPlaces; ++i) g.EI(i) = 0.0;
  for (int i = 0; i <= g.n; ++i) {
    const SectionPlace place = sectionAt(walls, depthOfStation(i, g.h, state.english()));
    const double fraction = place.fraction;
    const int number = walls[place.section].crossSection;
    const CrossSection& x = cross[number - 1];
    if (x.nonlinear()) {
      const double phi = std::fabs(g.y(i - 1) - 2.0 * g.y(i) + g.y(i + 1)) / g.hSquared;
      const MomentCurvatureSet* table = tableOf(state, number, x);
      double ei = 0.0;
      // A table of fewer than 2 points leaves EI as it is, and then it is not scaled again.
      if (table == nullptr || !secantRigidity(*table, phi, ei)) continue;
      g.EI(i) = ei;
    } else {
      g.EI(i) = x.eiTop + fraction * (x.eiBottom - x.eiTop);
    }
    if (scaleWidth) {
      const double diameter = x.aTop[0];
      if (!(diameter > 0.0)) {
        stopWithMessage(
            "     ERROR STOP -- SECTION ADJUSTMENT NEEDS THE EQUIVALENT DIAMETER OF "
            "CROSS SECTION " +
            std::to_string(number));
      }
      g.EI(i) = g.EI(i) * state.soil.wall.widthActive / diameter;
      if (state.si()) g.EI(i) *= 1000.0;
    }
  }
}

void applyHingeModel(RunState& state) {
  const LoadsAndSupports& l = state.loads;
  if (state.control.hingeFlag != 1 || (l.tieBacks.empty() && l.struts.empty())) return;
  StationGrid& g = state.grid;
  for (const auto* list : {&l.tieBacks, &l.struts}) {
    for (size_t k = 1; k < list->size(); ++k) {
      const int station = (*list)[k].station;
      if (station >= -3 && station <= g.n + 3) g.EI(station) = 0.0;
    }
  }
}

}  // namespace korden

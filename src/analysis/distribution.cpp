// Spreading of the stiffness and load data, the wall sections and the supports over the station
// tables.
#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/station_grid.h"
#include "engine/analysis_case.h"
#include "engine/errors.h"
#include "report/fortran_format.h"

namespace korden {

namespace {

// Values of one link of a CONTD chain.
struct ChainStart {
  int station = 0;
  std::array<double, 3> values{};
};

// Spreads rows keyed on CONTD: k = c + 2(c' - 1) with c the row's CONTD and c' the previous
// row's (1 before the first row). 1: alone; 2: starts a chain; 3: ends a chain; 4: middle link.
template <typename Row, typename Values, typename Spread>
void spreadChained(const std::vector<Row>& rows, Values valuesOf, Spread spread) {
  int previous = 1;
  ChainStart start;
  for (const Row& row : rows) {
    const std::array<double, 3> values = valuesOf(row);
    const int k = row.contd + 2 * (previous - 1);
    switch (k) {
      case 1:
        spread(row.from, row.to, values, values);
        break;
      case 2:
        start = {row.from, values};
        break;
      case 3:
        spread(start.station, row.to, start.values, values);
        break;
      case 4:
        spread(start.station, row.to, start.values, values);
        start = {row.to, values};
        break;
      default:
        stopWithMessage("     ERROR STOP -- CONTD MUST BE 1 OR 2");
    }
    previous = row.contd;
  }
}

void spreadWallSections(RunState& state) {
  StationGrid& g = state.grid;
  const auto& cross = state.sections.crossSections;
  int index = 0;
  for (const WallSection& w : state.sections.wallSections) {
    ++index;
    if (w.crossSection < 1 || w.crossSection > static_cast<int>(cross.size())) {
      stopWithMessage("     ERROR STOP -- WALL SECTION " + std::to_string(index) +
                      " USES CROSS SECTION " + std::to_string(w.crossSection) +
                      ", WHICH IS NOT GIVEN");
    }
    const CrossSection& x = cross[w.crossSection - 1];
    // A section whose depth range reaches above the top or past the tip is cut to the wall's
    // stations 0..N, with the rigidity of a tapered section taken at the cut stations.
    const int top = stationOfDepth(w.top, g.h, state.english());
    const int bottom = stationOfDepth(w.bottom, g.h, state.english());
    if (bottom < 0 || top > g.n) continue;  // wholly off the wall
    const int from = std::max(top, 0);
    const int to = std::min(bottom, g.n);
    auto rigidityAt = [&](int station) {
      if (bottom == top) return x.eiTop;
      const double fraction = static_cast<double>(station - top) / (bottom - top);
      return x.eiTop + (x.eiBottom - x.eiTop) * fraction;
    };
    addRange(g.EI, from, to, rigidityAt(from), rigidityAt(to));
  }
}

// The wall width b (wall record, field 6) turns station forces into forces per support and wale,
// and sets the deflections of the soil-movement curves: it must be positive wherever it is used.
void checkWallWidth(const RunState& state) {
  const LoadsAndSupports& l = state.loads;
  const char* use = nullptr;
  if (!l.tieBacks.empty() || !l.struts.empty()) {
    use = "TIE BACKS, STRUTS AND WALES";
  } else if (state.control.pressureOption == 4) {
    use = "THE SOIL-MOVEMENT PRESSURE CURVES";
  }
  if (use == nullptr || state.wall.wallWidth > 0.0) return;
  stopWithMessage(
      "     ERROR STOP -- THE WALL RECORD, FIELD 6: THE WALL WIDTH MUST BE GREATER THAN "
      "0 FOR " +
      std::string(use) + ", NOT " + fmt::E(state.wall.wallWidth, 10, 3));
}

void addSupport(RunState& state, Support& s, const std::string& id) {
  StationGrid& g = state.grid;
  if (!(s.spacing > 0.0) || !(s.unbondedLength > 0.0)) {
    stopWithMessage("     ERROR STOP -- " + id +
                    ": ANCHOR SPACING AND UNBONDED LENGTH MUST BE GREATER THAN 0");
  }
  const double cosine = s.angleCosine();
  const double b = state.wall.wallWidth;
  // A wall deflection y stretches an inclined member by y cos(angle), and the horizontal part of
  // its force is cos(angle) of the axial force: the horizontal spring is A E cos^2(angle) / L. The
  // prestress acts along the member, so its horizontal load has a single cos(angle).
  const double axial = s.area * s.elasticModulus * cosine * cosine;
  if (state.english()) {
    // Unbonded length and spacing in feet, h and b in inches.
    s.spring = axial / (12.0 * s.unbondedLength * (12.0 * s.spacing / b));
    s.prestressLoad = -s.prestress * cosine * b / (12.0 * s.spacing);
  } else {
    s.spring = axial / ((s.spacing / b) * s.unbondedLength);
    s.prestressLoad = -(b / s.spacing) * s.prestress * cosine;
  }
  if (!std::isfinite(s.spring) || !std::isfinite(s.prestressLoad)) {
    stopWithMessage("     ERROR STOP -- " + id +
                    ": THE SPRING OR PRESTRESS LOAD IS NOT A FINITE NUMBER (CHECK AREA, MODULUS, "
                    "LENGTH AND SPACING)");
  }
  addAt(g.S, s.station, s.spring);
  addAt(g.Q, s.station, s.prestressLoad);
}

}  // namespace

void distributeStiffnessAndSupports(RunState& state) {
  StationGrid& g = state.grid;
  spreadWallSections(state);
  spreadChained(
      state.loads.loads,
      [](const LoadRow& r) {
        return std::array<double, 3>{r.q, r.t, r.p};
      },
      [&](int from, int to, const std::array<double, 3>& a, const std::array<double, 3>& b) {
        addRange(g.Q, from, to, a[0], b[0]);
        addRange(g.T, from, to, a[1], b[1]);
        // The axial load is kept with the sign opposite to the input.
        addRange(g.P, from, to, -a[2], -b[2]);
      });
  g.couples.clear();
  for (const LoadRow& r : state.loads.loads) {
    if (r.t != 0.0) g.couples.push_back({r.from, r.t / g.twoH});
  }
  spreadChained(
      state.loads.restraints,
      [](const Restraint& r) {
        return std::array<double, 3>{r.s, r.r, 0.0};
      },
      [&](int from, int to, const std::array<double, 3>& a, const std::array<double, 3>& b) {
        addRange(g.S, from, to, a[0], b[0]);
        addRange(g.R, from, to, a[1], b[1]);
      });
  const int beyond = g.n + 1;
  state.loads.dataBeyondEnd = g.Q(beyond) != 0.0 || g.S(beyond) != 0.0 || g.T(beyond) != 0.0 ||
                              g.R(beyond) != 0.0 || g.P(beyond) != 0.0;
  checkWallWidth(state);
  for (size_t i = 0; i < state.loads.tieBacks.size(); ++i) {
    addSupport(state, state.loads.tieBacks[i], "TIE BACK " + std::to_string(i + 1));
  }
  for (size_t i = 0; i < state.loads.struts.size(); ++i) {
    addSupport(state, state.loads.struts[i], "STRUT/RAKER " + std::to_string(i + 1));
  }
}

void checkLoadsWithinWall(const RunState& state) {
  if (state.loads.dataBeyondEnd) stopWithMessage("     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END");
}

}  // namespace korden

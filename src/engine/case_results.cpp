#include "engine/case_results.h"

#include <algorithm>

#include "analysis/station_grid.h"
#include "engine/run_state.h"

namespace korden {

namespace {

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

const char* reasonText(IterationOutcome outcome) {
  switch (outcome) {
    case IterationOutcome::Closed:
      return "";
    case IterationOutcome::DeflectionExceeded:
      return "maximum allowable deflection exceeded";
    case IterationOutcome::NotClosed:
      return "not closed within the tolerance";
    case IterationOutcome::Abandoned:
      return "analysis abandoned";
  }
  return "";
}

void addSupports(const std::vector<Support>& supports, bool tieBack, CaseResults& c) {
  int number = 0;
  for (const Support& s : supports) {
    SupportResult r;
    r.tieBack = tieBack;
    r.number = ++number;
    r.station = s.station;
    r.depth = s.depth;
    r.horizontalForcePerStation = s.horizontalForce;
    r.forcePerStation = s.forceAlong;
    r.forcePerSupport = s.forcePerSupport;
    c.supports.push_back(r);
  }
}

}  // namespace

void recordCaseResults(const RunState& state, RunResults& results) {
  const StationGrid& g = state.grid;
  const AnalysisData& a = state.analysis;
  const bool english = state.english();
  // English lengths are held in inches; depths are given in feet.
  const double depthScale = english ? 1.0 / 12.0 : 1.0;
  CaseResults c;
  c.number = state.driver.caseCounter + 1;
  c.heading = trimmed(state.caseHeading);
  c.unitsFlag = state.control.unitsFlag;
  c.closed = a.hasResults;
  c.noResultsReason = reasonText(a.outcome);
  c.iterations = a.iterations;
  const double excavation =
      state.wall.freeHeight > 0.0 ? state.wall.freeHeight : state.soil.wall.freeHeight;
  c.excavationDepth = excavation > 0.0 ? excavation * depthScale : 0.0;
  if (a.hasResults) {
    for (int i = 0; i <= g.n; ++i) {
      c.depth.push_back(depthOfStation(i, g.h, english));
      c.deflection.push_back(g.y(i));
      c.slope.push_back(a.slope(i));
      c.moment.push_back(a.moment(i));
      c.shear.push_back(a.shear(i));
      c.soilReaction.push_back(a.soilReaction(i));
      c.netForce.push_back(a.netForce(i));
      c.ei.push_back(g.EI(i));
    }
    addSupports(state.loads.tieBacks, true, c);
    addSupports(state.loads.struts, false, c);
  }
  // Generated distributions only (a user's table is in the input already); the soil-movement
  // option replaces the load above the excavation level by curves, so it has no single profile.
  const int option = state.control.pressureOption;
  if (option >= 2 && option != 4) {
    const EarthPressureData& ep = state.pressure;
    for (size_t k = 0; k < ep.loadDepth.size() && k < ep.loadValue.size(); ++k) {
      c.pressureDepth.push_back(ep.loadDepth[k] * depthScale);
      c.pressure.push_back(ep.loadValue[k]);
    }
  }
  std::vector<int> stations;
  for (const TableCurve& t : state.curves.generated) stations.push_back(t.fromStation);
  std::sort(stations.begin(), stations.end());
  for (size_t k = 1; k < stations.size(); ++k) {
    c.largestCurveSpacing = std::max(c.largestCurveSpacing,
                                     depthOfStation(stations[k] - stations[k - 1], g.h, english));
  }
  results.cases.push_back(std::move(c));
}

}  // namespace korden

#include "analysis/curves.h"

#include <algorithm>
#include <string>

#include "engine/errors.h"
#include "report/fortran_format.h"

namespace korden {

LinearisedCurve lineariseCurve(const TableCurve& c, double y) {
  const int n = c.nPoints;
  if (n < 2) return {};
  // A generated curve keeps the value of its end point beyond it: no slope, the point's p.
  if (c.holdEndValues) {
    if (y > c.y[n - 1]) return {0.0, c.p[n - 1], c.p[n - 1]};
    if (y < c.y[0]) return {0.0, c.p[0], c.p[0]};
  }
  int a = 0;
  int b = 1;
  // A deflection exactly on a point keeps the segment below that point; beyond the last point
  // the last segment is extended (user curves).
  if (n > 2 && y > c.y[1]) {
    int k = 2;
    while (k < n - 1 && c.y[k] < y) ++k;
    a = k - 1;
    b = k;
  }
  const double ya = c.y[a], yb = c.y[b], pa = c.p[a], pb = c.p[b];
  if (yb == ya) return {};
  LinearisedCurve l;
  l.slope = -(pb - pa) / (yb - ya);
  l.intercept = pa + ya * l.slope;
  l.reaction = pa - (y - ya) * l.slope;
  return l;
}

void dropUserCurvesInPlaceOfSoilMovement(CurveData& curves, OutputFile& report) {
  if (curves.soilMovementCurves.empty()) return;
  int deepest = curves.soilMovementCurves.front().toStation;
  for (const TableCurve& c : curves.soilMovementCurves) deepest = std::max(deepest, c.toStation);
  auto& user = curves.userCurves;
  const auto replaced = [&](const UserCurve& u) { return u.station <= deepest; };
  for (const UserCurve& u : user) {
    if (!replaced(u)) continue;
    report.blank();
    report.line("     **** WARNING ****");
    report.line("     THE USER P-Y CURVE AT STATION " + fmt::I(u.station, 4) +
                " LIES AT OR ABOVE THE EXCAVATION LEVEL:");
    report.line("     THE CURVES BASED ON SOIL MOVEMENT TAKE ITS PLACE IN THIS CASE.");
  }
  user.erase(std::remove_if(user.begin(), user.end(), replaced), user.end());
}

void fillCurveTable(RunState& state) {
  CurveData& curves = state.curves;
  const double h = state.wall.incrementLength;
  curves.table.clear();
  const bool withGenerated = !curves.generated.empty();
  const size_t total =
      curves.soilMovementCurves.size() + curves.userCurves.size() + curves.generated.size();
  checkCapacity(static_cast<long long>(total), kMaxTableCurves);
  curves.table.reserve(total);
  for (const TableCurve& c : curves.soilMovementCurves) curves.table.push_back(c);
  for (const UserCurve& u : curves.userCurves) {
    if (u.station < -1) {
      stopWithMessage("     ERROR STOP -- P-Y CURVE AT STATION " + std::to_string(u.station) +
                      " LIES ABOVE THE TOP OF THE WALL");
    }
    TableCurve& c = curves.table.emplace_back();
    c.fromStation = c.toStation = u.station;
    // With generated curves every curve is chained to the next one in table order.
    c.contd = withGenerated ? 1 : u.belowExcavation;
    c.nPoints = u.nPoints;
    for (int j = 0; j < u.nPoints; ++j) {
      c.y[j] = u.yScaled[j];
      c.p[j] = u.pScaled[j] * h;
    }
  }
  for (const TableCurve& c : curves.generated) curves.table.push_back(c);
}

namespace {

// Adds the interpolated linearised curves over one span of stations.
void addSpan(RunState& state, const TableCurve& start, const TableCurve& end, int from, int to) {
  StationGrid& g = state.grid;
  AnalysisData& a = state.analysis;
  const int n = g.n;
  auto valuesAt = [&](int j) {
    const LinearisedCurve s = lineariseCurve(start, g.y(j));
    const LinearisedCurve e = lineariseCurve(end, g.y(j));
    // In doubles: to - from of two far-apart stations does not fit an int.
    const double f = to == from ? 0.0
                                : static_cast<double>(j - from) /
                                      (static_cast<double>(to) - static_cast<double>(from));
    return LinearisedCurve{s.slope + (e.slope - s.slope) * f,
                           s.intercept + (e.intercept - s.intercept) * f,
                           s.reaction + (e.reaction - s.reaction) * f};
  };
  auto add = [&](int j, double weight) {
    const LinearisedCurve v = valuesAt(j);
    g.Q(j) += weight * v.intercept;
    g.S(j) += weight * v.slope;
    a.soilReaction(j) += weight * v.reaction / g.h;
  };
  if (from == to) {
    if (from <= n) add(from, 1.0);
    return;
  }
  if (from >= n) return;
  const int last = std::min(to, n);
  for (int j = from; j <= last; ++j) add(j, 1.0);
  add(from, -0.5);
  add(last, -0.5);
}

// A span reaches the station tables from its from-station down to its to-station clipped at N. The
// iteration resets stations -1..N+1 only: a span that starts above station -1 would write where
// nothing clears it, or outside the tables, so it stops the run.
void checkSpanStart(size_t entry, int from, int to) {
  if (from >= -1) return;
  stopWithMessage("     ERROR STOP -- P-Y CURVE " + std::to_string(entry + 1) +
                  " OF THE CURVE TABLE STARTS A SPAN AT STATION " + std::to_string(from) +
                  " (TO STATION " + std::to_string(to) + "), ABOVE THE TOP OF THE WALL");
}

}  // namespace

bool distributeCurves(RunState& state) {
  StationGrid& g = state.grid;
  AnalysisData& a = state.analysis;
  for (int j = -1; j <= g.n + 1; ++j) {
    g.Q(j) = a.baseQ(j);
    g.S(j) = a.baseS(j);
  }
  a.soilReaction.fill(0.0);
  const auto& table = state.curves.table;
  const size_t count = table.size();
  int nextFrom = 0;  // from-station of an entry that was reset as the start of the next span
  bool reset = false;
  for (size_t i = 0; i < count;) {
    const TableCurve& first = table[i];
    const int from = reset ? nextFrom : first.fromStation;
    reset = false;
    if (first.contd < 0) return false;
    if (first.contd == 0) {
      if (first.toStation < from) stopStationsNotInOrder();
      checkSpanStart(i, from, first.toStation);
      addSpan(state, first, first, from, first.toStation);
      ++i;
      continue;
    }
    // A continued entry with no entry after it starts no span of its own.
    if (i + 1 >= count) break;
    const TableCurve& second = table[i + 1];
    if (second.toStation < from) stopStationsNotInOrder();
    checkSpanStart(i, from, second.toStation);
    // A continued pair of zero length adds nothing.
    if (second.toStation != from) addSpan(state, first, second, from, second.toStation);
    if (second.contd != 0) {
      nextFrom = second.toStation;
      reset = true;
      i += 1;
    } else {
      i += 2;
    }
  }
  return true;
}

}  // namespace korden

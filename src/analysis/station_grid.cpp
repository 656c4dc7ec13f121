#include "analysis/station_grid.h"

#include <cmath>

#include "engine/errors.h"

namespace korden {

namespace {

constexpr int kLastStation = StationTable::kFirstStation + kStationPlaces - 1;

bool insideTable(long long station) {
  return station >= StationTable::kFirstStation && station <= kLastStation;
}

}  // namespace

void buildGrid(StationGrid& g, int n, double h) {
  assert(n > 0 && n + 7 <= kStationPlaces);
  assert(h > 0.0);
  g.n = n;
  g.h = h;
  g.twoH = 2.0 * h;
  g.hSquared = h * h;
  g.hCubed = h * h * h;
  g.hQuarter = h / 4.0;
  g.hSquaredHalf = h * h / 2.0;
  for (StationTable* t : {&g.EI, &g.Q, &g.S, &g.T, &g.R, &g.P, &g.y, &g.A, &g.B, &g.C}) {
    t->fill(0.0);
  }
  g.rowCode.fill(1);
  g.specified.clear();
  g.couples.clear();
}

void addRange(StationTable& t, int from, int to, double startValue, double endValue) {
  if (to < from) stopStationsNotInOrder();
  if (!insideTable(from) || !insideTable(to)) stopTooMuchData();
  if (from == to) {
    t(from) += startValue;
    return;
  }
  // Linear interpolation in the order (vb - va) * (j - a) / (b - a); the end corrections use
  // the same interpolated values as the stations receive.
  const double span = static_cast<double>(to - from);
  auto valueAt = [&](int j) {
    return startValue + (endValue - startValue) * static_cast<double>(j - from) / span;
  };
  for (int j = from; j <= to; ++j) t(j) += valueAt(j);
  t(from) += -0.5 * valueAt(from);
  t(to) += -0.5 * valueAt(to);
}

void addAt(StationTable& t, int station, double value) {
  if (!insideTable(station)) stopTooMuchData();
  t(station) += value;
}

int stationOfDepth(double depth, double h, bool englishUnits) {
  const double increments = (englishUnits ? depth * 12.0 : depth) / h;
  const double rounded = std::round(increments);  // half away from zero
  if (!(std::fabs(rounded) < 1.0e9)) return rounded < 0.0 ? -kNoStation : kNoStation;
  return static_cast<int>(rounded);
}

void setRowCodes(StationGrid& g, const SpecifiedPoint& p) {
  const long long s = p.station;
  auto set = [&g](long long station, int code) {
    if (insideTable(station)) g.rowCode(static_cast<int>(station)) = code;
  };
  switch (p.caseCode) {
    case 2:
      set(s - 1, 3);
      set(s + 1, 5);
      break;
    case 3:
      set(s - 1, 3);
      set(s, 4);
      set(s + 1, 5);
      break;
    default:
      set(s, 2);
      break;
  }
}

}  // namespace korden

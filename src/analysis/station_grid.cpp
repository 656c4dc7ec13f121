#include "analysis/station_grid.h"

#include <cmath>
#include <string>

#include "engine/errors.h"

namespace korden {

namespace {

bool insideTable(long long station) {
  return station >= StationTable::kFirstStation && station <= StationTable::kLastStation;
}

}  // namespace

void stopStationOutsideTables(int station) {
  stopWithMessage("     ERROR STOP -- STATION " + std::to_string(station) +
                  " LIES OUTSIDE THE STATION TABLES (STATIONS " +
                  std::to_string(StationTable::kFirstStation) + " TO " +
                  std::to_string(StationTable::kLastStation) + ")");
}

void buildGrid(StationGrid& g, int n, double h) {
  // The wall record's reader checks both with messages of its own; a grid built otherwise stops
  // here rather than index past the tables.
  if (n <= 0 || n > kMaxIncrements) stopTooMuchData("NUMBER OF INCREMENTS", n, kMaxIncrements);
  if (!(h > 0.0) || !std::isfinite(h)) {
    stopWithMessage("     ERROR STOP -- THE INCREMENT LENGTH MUST BE GREATER THAN 0");
  }
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
  if (!insideTable(from)) stopStationOutsideTables(from);
  if (!insideTable(to)) stopStationOutsideTables(to);
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
  if (!insideTable(station)) stopStationOutsideTables(station);
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

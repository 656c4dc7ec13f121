// The station grid of the wall: N increments of length h, station i at depth i*h below the top.
// Stations 0..N lie on the wall; -2, -1, N+1, N+2 are fictitious; the tables keep places for
// stations -3..N+3 (N + 7 places of kStationPlaces).
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "engine/capacities.h"

namespace korden {

// Stops the run with a message naming a station that lies outside the station tables. The readers
// check every station of the input where it enters, so this stop means an internal fault.
[[noreturn]] void stopStationOutsideTables(int station);

// One double per station, indexed by station number -3..kStationPlaces-4. Every access is checked
// in every build: the cost is nothing next to the I/O, and a station outside the tables must stop
// the run rather than read or write past them.
template <typename T>
class StationArray {
 public:
  static constexpr int kFirstStation = -3;
  static constexpr int kLastStation = kFirstStation + kStationPlaces - 1;
  T& operator()(int station) { return values_[place(station)]; }
  const T& operator()(int station) const { return values_[place(station)]; }
  void fill(T value) { values_.fill(value); }

 private:
  static size_t place(int station) {
    if (station < kFirstStation || station > kLastStation) stopStationOutsideTables(station);
    return static_cast<size_t>(station - kFirstStation);
  }
  std::array<T, kStationPlaces> values_{};
};

using StationTable = StationArray<double>;

// A specified deflection and/or slope (input order, at most kMaxSpecifiedPoints).
struct SpecifiedPoint {
  int caseCode = 1;  // 1 deflection, 2 slope, 3 both (the reader accepts no other)
  int station = 0;
  double deflection = 0.0;
  double slope = 0.0;  // radians
};

// A concentrated couple of the stiffness and load data: station and T/(2h).
struct AppliedCouple {
  int station = 0;
  double value = 0.0;
};

struct StationGrid {
  int n = 0;       // number of increments N
  double h = 0.0;  // increment length (inches in English units, metres in SI)
  double twoH = 0.0, hSquared = 0.0, hCubed = 0.0, hQuarter = 0.0, hSquaredHalf = 0.0;

  // Station tables. P holds the axial load with the sign opposite to the input.
  StationTable EI, Q, S, T, R, P;
  // Row codes of the solver: 1 ordinary, 2 specified deflection, 3 first row of a specified
  // slope, 4 specified deflection inside a deflection-and-slope entry, 5 last row of a slope.
  StationArray<int> rowCode;
  // Deflection of every station; holds the previous solution until the next solve.
  StationTable y;
  // Recursion coefficients of the forward pass.
  StationTable A, B, C;

  std::vector<SpecifiedPoint> specified;  // at most kMaxSpecifiedPoints
  std::vector<AppliedCouple> couples;
};

// Station returned by stationOfDepth for a depth that has no station (NaN, infinite, or a
// quotient beyond +-1e9): far outside every station table, so that the callers' capacity and
// range checks reject it, yet far enough from the int limits that adding or subtracting a few
// stations cannot overflow.
inline constexpr int kNoStation = 1'000'000'000;

// Sets N and h and the derived constants, clears the six station tables, the deflections, the
// specified entries and the applied couples, and sets every row code to 1 (ordinary row).
// Stops the run unless 0 < n <= kMaxIncrements and h > 0.
void buildGrid(StationGrid& g, int n, double h);

// The range distribution rule: a value varying linearly from startValue at station `from` to
// endValue at station `to` is added in full at every station of the range and -0.5 times again
// at its two end stations, so that two ranges meeting at a station give it the mean of their end
// values; a one-station range adds startValue once. to < from stops with "STATIONS NOT IN
// ORDER"; a station outside the table's places stops naming the station (nothing written).
void addRange(StationTable& t, int from, int to, double startValue, double endValue);

// Adds a value at one station with weight 1 (tie-backs, struts); bounds checked as addRange.
void addAt(StationTable& t, int station, double value);

// Depth to station: depth/h, or depth*12/h in English units (depth in feet, h in inches),
// rounded half away from zero (2.5 -> 3, -2.5 -> -3). Returns +-kNoStation (+ for NaN) for a
// depth that has no representable station.
int stationOfDepth(double depth, double h, bool englishUnits);

// Station to depth, the inverse of stationOfDepth: station*h/12 in feet (English units, h in
// inches; formed as station*h/12 so that a whole-foot boundary comes out exact) or station*h.
inline double depthOfStation(int station, double h, bool englishUnits) {
  return englishUnits ? station * h / 12.0 : station * h;
}

// Row codes of one specified entry at station s: CASE 2 sets s-1 to 3 and s+1 to 5; CASE 3 sets
// s-1 to 3, s to 4 and s+1 to 5; CASE 1 and any other value set s to 2. Rows outside the table's
// places are not written; validateSpecifiedPoints (solver.h) rejects such an entry before the
// analysis.
void setRowCodes(StationGrid& g, const SpecifiedPoint& p);

}  // namespace korden

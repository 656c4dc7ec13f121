// Multipliers of the generated curves for closely spaced wall elements.
#include <algorithm>
#include <cmath>

#include "pycurves/curve_generation.h"

namespace korden {

double reductionTableFactor(const std::vector<ModificationFactor>& rows, double x, bool pColumn) {
  const auto factor = [&](size_t i) { return pColumn ? rows[i].pFactor : rows[i].yFactor; };
  const size_t n = rows.size();
  if (n < 2) return 1.0;
  const double last = rows[n - 1].depth;
  if (x < rows[0].depth || x > last) return 1.0;
  if (x == last) {
    // The first row with the last DEPTH.
    size_t i = n - 1;
    while (i > 0 && rows[i - 1].depth == last) --i;
    return factor(i);
  }
  // A DEPTH given in two consecutive rows: the second row's factor applies at that depth.
  for (size_t i = 0; i + 1 < n; ++i) {
    if (x == rows[i].depth && rows[i + 1].depth == rows[i].depth) return factor(i + 1);
  }
  for (size_t i = 0; i + 1 < n; ++i) {
    const double a = rows[i].depth;
    const double b = rows[i + 1].depth;
    if (x >= a && x < b) return factor(i) + (factor(i + 1) - factor(i)) * (x - a) / (b - a);
  }
  return 1.0;
}

double pMultiplierAt(double x, double widthRatio, double freeHeight,
                     const std::vector<ModificationFactor>& rows, int groupSwitch) {
  // Group reduction for closely spaced elements, 0.64 (WA/WP)^0.34, between the continuous wall
  // (ratio below 1.1) and widely spaced elements (3.75 and more), below the excavation level only.
  double group = 0.64 * std::pow(widthRatio, 0.34);
  if (widthRatio >= 3.75 || widthRatio < kContinuousWallRatio || x < freeHeight) group = 1.0;
  if (rows.empty()) return group;
  return reductionTableFactor(rows, x, true) * (groupSwitch != 0 ? group : 1.0);
}

double yMultiplierAt(double x, const std::vector<ModificationFactor>& rows) {
  if (rows.empty()) return 1.0;
  return reductionTableFactor(rows, x, false);
}

}  // namespace korden

#include "analysis/solver.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/errors.h"

namespace korden {

namespace {

// Coefficients of one row of the recursion, y(i) = A + B y(i+1) + C y(i+2).
struct Row {
  double r, a, b, c;
};

[[noreturn]] void stopSpecifiedEntry(int station, const char* what) {
  char text[128];
  std::snprintf(text, sizeof text,
                "     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE AT STATION %4d %s", station,
                what);
  stopWithMessage(text);
}

}  // namespace

SolveFigures solveBeamColumn(StationGrid& g, double tolerance, double maxAllowableDeflection) {
  const int n = g.n;
  if (n < 0 || n > kMaxIncrements) stopTooMuchData("NUMBER OF INCREMENTS", n, kMaxIncrements);

  const double h = g.h;
  const double hQuarter = g.hQuarter;
  const double hCubed = g.hCubed;
  const double hSquaredHalf = g.hSquaredHalf;
  const double twoH = g.twoH;
  const StationTable& EI = g.EI;
  const StationTable& Q = g.Q;
  const StationTable& S = g.S;
  const StationTable& T = g.T;
  const StationTable& R = g.R;
  const StationTable& P = g.P;  // stored with the sign opposite to the input
  StationTable& A = g.A;
  StationTable& B = g.B;
  StationTable& C = g.C;

  for (int i : {-3, -2}) A(i) = B(i) = C(i) = 0.0;

  const std::size_t entryCount = g.specified.size();
  std::size_t entry = 0;         // the entry the next consuming row belongs to
  Row kept{0.0, 0.0, 0.0, 0.0};  // step-4 values of the last code-3 row

  for (int i = -1; i <= n + 1; ++i) {
    const double fm = EI(i - 1), f0 = EI(i), fp = EI(i + 1);
    const double a = fm - hQuarter * (R(i - 1) + h * P(i - 1));
    const double b = -2.0 * (fm + f0);
    const double c = fm + 4.0 * f0 + fp + hCubed * S(i) +
                     hQuarter * (R(i - 1) + R(i + 1) + h * (P(i - 1) + P(i + 1)));
    const double d = -2.0 * (f0 + fp);
    const double e = fp - hQuarter * (R(i + 1) + h * P(i + 1));
    const double f = hCubed * Q(i) - hSquaredHalf * (T(i - 1) - T(i + 1));

    const double dd = b + a * B(i - 2);
    const double ee = c + dd * B(i - 1) + a * C(i - 2);
    const double r = ee != 0.0 ? -1.0 / ee : 0.0;  // zero pivot: zero coefficients, y(i) = 0
    C(i) = e * r;
    B(i) = (d + dd * C(i - 1)) * r;
    A(i) = (dd * A(i - 1) + a * A(i - 2) - f) * r;

    const int code = g.rowCode(i);
    if (code == 1 || entry >= entryCount) continue;  // no entry left: an ordinary row
    const SpecifiedPoint& p = g.specified[entry];
    switch (code) {
      case 2:
      case 4:
        A(i) = p.deflection;
        B(i) = 0.0;
        C(i) = 0.0;
        if (code == 2) ++entry;
        break;
      case 3:
        kept = Row{r, A(i), B(i), C(i)};
        C(i) = 1.0;
        B(i) = 0.0;
        A(i) = -twoH * p.slope;
        break;
      case 5: {
        // Fold the equation that the code-3 row gave up back in: the sum of the equations of
        // stations s-1 and s+1. A zero pivot on the code-3 row left nothing to fold.
        const double ratio = kept.r != 0.0 ? r / kept.r : 0.0;
        const double t = 1.0 / (1.0 - (kept.c - 1.0 + B(i - 1) * kept.b) * ratio);
        C(i) = C(i) * t;
        B(i) = (B(i) + C(i - 1) * kept.b * ratio) * t;
        A(i) = (A(i) + (twoH * p.slope + kept.a + A(i - 1) * kept.b) * ratio) * t;
        ++entry;
        break;
      }
      default:
        break;
    }
  }

  StationTable& y = g.y;
  y(-3) = 0.0;
  y(-2) = 0.0;
  y(n + 2) = 0.0;
  y(n + 3) = 0.0;
  y(n + 1) = A(n + 1) + B(n + 1) * y(n + 2) + C(n + 1) * y(n + 3);

  SolveFigures figures;
  for (int i = n; i >= 0; --i) {
    const double value = A(i) + B(i) * y(i + 1) + C(i) * y(i + 2);
    const double change = std::fabs(value - y(i));
    y(i) = value;
    // Written so that NaN counts as exceeding (a comparison with NaN is false).
    if (!(change <= figures.largestChange) && !std::isnan(figures.largestChange)) {
      figures.largestChange = change;
    }
    if (!(change <= tolerance)) ++figures.overTolerance;
    if (!(std::fabs(value) <= maxAllowableDeflection)) ++figures.overAllowable;
  }
  y(-1) = A(-1) + B(-1) * y(0) + C(-1) * y(1);
  return figures;
}

void extrapolateFictitiousEnds(StationGrid& g) {
  const int n = g.n;
  g.y(-2) = 2.0 * g.y(-1) - g.y(0);
  g.y(n + 2) = 2.0 * g.y(n + 1) - g.y(n);
}

void validateSpecifiedPoints(const StationGrid& g) {
  checkCapacity(static_cast<long long>(g.specified.size()), kMaxSpecifiedPoints,
                "SPECIFIED DEFLECTION AND SLOPE POINTS");
  long long previousStation = -1;  // the first entry may not lie above station -1
  long long previousLastRow = -3;  // below every row the forward pass solves
  for (const SpecifiedPoint& p : g.specified) {
    const long long s = p.station;
    if (s < previousStation) {
      stopStationsNotInOrder("     SPECIFIED DEFLECTION/SLOPE AT STATION " + std::to_string(s) +
                             " LIES ABOVE STATION " + std::to_string(previousStation));
    }
    if (p.caseCode < 1 || p.caseCode > 3)
      stopSpecifiedEntry(p.station, "HAS A CASE OTHER THAN 1, 2 OR 3");
    const bool slopeRows = p.caseCode == 2 || p.caseCode == 3;
    const long long firstRow = slopeRows ? s - 1 : s;
    const long long lastRow = slopeRows ? s + 1 : s;
    if (firstRow < -1 || lastRow > static_cast<long long>(g.n) + 1) {
      stopSpecifiedEntry(p.station, "OUTSIDE THE WALL");
    }
    if (firstRow <= previousLastRow) stopSpecifiedEntry(p.station, "OVERLAPS THE ENTRY BEFORE IT");
    previousStation = s;
    previousLastRow = lastRow;
  }
}

}  // namespace korden

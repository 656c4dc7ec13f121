// Finite-difference beam-column solver of the wall.
//
// At every station i = -1..N+1 the central-difference form of
//   (EI y'')'' + P y'' - (R/h) y'' + (S/h) y = Q/h + (T/h)'     (P positive in compression)
// multiplied by h^4 holds as the five-term equation
//   a y(i-2) + b y(i-1) + c y(i) + d y(i+1) + e y(i+2) = f
// with, in terms of the stored axial load Ps (= -P, the sign opposite to the input),
//   a = EI(i-1) - h/4 (R(i-1) + h Ps(i-1))
//   b = -2 (EI(i-1) + EI(i))
//   c = EI(i-1) + 4 EI(i) + EI(i+1) + h^3 S(i) + h/4 (R(i-1) + R(i+1) + h (Ps(i-1) + Ps(i+1)))
//   d = -2 (EI(i) + EI(i+1))
//   e = EI(i+1) - h/4 (R(i+1) + h Ps(i+1))
//   f = h^3 Q(i) - h^2/2 (T(i-1) - T(i+1)).
// Q, S, T and R are concentrated values per station. Zero EI beyond the ends of the wall makes
// moment and shear vanish there, so free ends need no rows of their own. The band system is
// solved by a two-term forward recursion y(i) = A(i) + B(i) y(i+1) + C(i) y(i+2) and a backward
// substitution, with the rows of the specified deflections and slopes replaced:
//   code 2 / 4  y(s) = specified deflection;
//   code 3      y(s-1) = y(s+1) - 2h theta (central-difference slope at s);
//   code 5      the sum of the equations of s-1 and s+1, which cancels the unknown couple that
//               holds the slope at s.
#pragma once

#include "analysis/station_grid.h"

namespace korden {

// Figures gathered over stations 0..N against the deflections held before the solve.
struct SolveFigures {
  double largestChange = 0.0;  // largest |y_new - y_old|
  int overTolerance = 0;       // stations with |y_new - y_old| > tolerance
  int overAllowable = 0;       // stations with |y_new| > maximum allowable deflection
};

// Solves the wall for the current station tables, row codes and specified entries (consumed in
// input order). Writes A, B, C and y (y(-2), y(-3), y(N+2), y(N+3) are left zero) and nothing
// else. A zero pivot gives the row zero coefficients (that station's deflection is zero unless
// a specified row sets it). A NaN deflection or change counts as over the allowable deflection
// and over the tolerance, and makes largestChange NaN, so that a broken solution can never pass
// as closed. Allocation-free and linear in N. Stops with the storage message when N exceeds the
// tables.
SolveFigures solveBeamColumn(StationGrid& g, double tolerance, double maxAllowableDeflection);

// Fictitious outer ends for the results: y(-2) = 2y(-1) - y(0), y(N+2) = 2y(N+1) - y(N).
void extrapolateFictitiousEnds(StationGrid& g);

// Rejects specified entries that the recursion cannot honour: more than kMaxSpecifiedPoints
// (storage message), stations out of ascending order or the first below -1 ("STATIONS NOT IN
// ORDER"), an entry whose replaced rows (s for CASE 1, s-1..s+1 for CASE 2 and 3) fall outside
// the rows -1..N+1 that the forward pass solves ("... OUTSIDE THE WALL"), and an entry whose rows
// share a row with the rows of the entry before it ("... OVERLAPS THE ENTRY BEFORE IT"), and a CASE
// other than 1, 2 or 3 ("... HAS A CASE OTHER THAN 1, 2 OR 3").
void validateSpecifiedPoints(const StationGrid& g);

}  // namespace korden

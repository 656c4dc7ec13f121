// Checks of the beam-column solver against beam mechanics: closed forms of elastic beams, the
// discrete solutions derived by hand from the difference equation, and an independent dense
// elimination of the same band system.
#include "analysis/solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/errors.h"

namespace korden {
namespace {

const double kPi = std::acos(-1.0);

// A wall of n increments of length h with flexural rigidity ei at stations 0..n.
std::unique_ptr<StationGrid> wall(int n, double h, double ei) {
  auto g = std::make_unique<StationGrid>();
  buildGrid(*g, n, h);
  for (int i = 0; i <= n; ++i) g->EI(i) = ei;
  return g;
}

void specify(StationGrid& g, int caseCode, int station, double deflection = 0.0,
             double slope = 0.0) {
  const SpecifiedPoint p{caseCode, station, deflection, slope};
  g.specified.push_back(p);
  setRowCodes(g, p);
}

SolveFigures solve(StationGrid& g, double tolerance = 1.0e-6, double allowable = 1.0e30) {
  validateSpecifiedPoints(g);
  return solveBeamColumn(g, tolerance, allowable);
}

// Bending moment EI y'' by central differences (same sign as y'').
double moment(const StationGrid& g, int i) {
  return g.EI(i) * (g.y(i - 1) - 2.0 * g.y(i) + g.y(i + 1)) / g.hSquared;
}

double relativeError(double value, double reference) {
  return std::fabs(value - reference) / std::fabs(reference);
}

// Cantilever of length L = N h, load P at the free top (station 0), tip clamped by a CASE 3
// entry at station N. From the rows of the difference equation the moments are exact,
// M(j) = P j h for j < N (M(0) = 0, the row of station -1), and the folded row at N+1 gives
// M(N) = P L / 2, i.e. y(N-1) = y(N+1) = P L h^2 / (4 EI). Summing the first differences up to
// the top gives y(0) = P/EI (L^3/3 - L^2 h/4 + L h^2/6): first-order convergence to P L^3/(3EI).
TEST(BeamColumnSolver, CantileverTopLoadMatchesTheDiscreteSolutionAndConvergesAtFirstOrder) {
  const double L = 10.0, EI = 2.0e5, P = 10.0;
  const double elastic = P * L * L * L / (3.0 * EI);
  std::printf("  cantilever, tip clamped, load at the top: P L^3/(3EI) = %.10e\n", elastic);
  std::printf("     N        y(0)               error            error ratio\n");
  double previousError = 0.0;
  for (int n : {20, 40, 80, 160}) {
    const double h = L / n;
    auto g = wall(n, h, EI);
    g->Q(0) = P;
    specify(*g, 3, n);
    solve(*g);

    const double discrete = P / EI * (L * L * L / 3.0 - L * L * h / 4.0 + L * h * h / 6.0);
    EXPECT_LT(relativeError(g->y(0), discrete), 1e-9) << "N = " << n;
    EXPECT_NEAR(moment(*g, 0), 0.0, 1e-9 * P * L);
    for (int j = 1; j < n; ++j) ASSERT_NEAR(moment(*g, j), P * j * h, 1e-7 * P * L) << j;
    EXPECT_NEAR(moment(*g, n), P * L / 2.0, 1e-7 * P * L);
    EXPECT_EQ(g->y(n), 0.0);
    EXPECT_EQ(g->y(n + 1), g->y(n - 1));

    const double error = elastic - g->y(0);
    if (previousError > 0.0) {
      std::printf("  %4d  %.10e  %.6e  %.4f\n", n, g->y(0), error, previousError / error);
      EXPECT_NEAR(previousError / error, 2.0, 0.05);
    } else {
      std::printf("  %4d  %.10e  %.6e  -\n", n, g->y(0), error);
    }
    previousError = error;
  }
}

TEST(BeamColumnSolver, FixedAndGuidedHeads) {
  const double L = 10.0, EI = 2.0e5, P = 10.0, w = 3.0;
  double guidedError = 0.0, fixedError = 0.0;
  for (int n : {40, 80, 160}) {
    const double h = L / n;
    // Head fixed (CASE 3 at station 0), tip free with a load: the cantilever turned over, so
    // the discrete tip deflection is the one of the cantilever above.
    auto fixedHead = wall(n, h, EI);
    fixedHead->Q(n) = P;
    specify(*fixedHead, 3, 0);
    solve(*fixedHead);
    EXPECT_EQ(fixedHead->y(0), 0.0);
    EXPECT_EQ(fixedHead->y(-1), fixedHead->y(1));
    const double discrete = P / EI * (L * L * L / 3.0 - L * L * h / 4.0 + L * h * h / 6.0);
    EXPECT_LT(relativeError(fixedHead->y(n), discrete), 1e-9);

    // Guided head (CASE 2, slope zero, deflection free) with the tip clamped: P L^3/(12 EI).
    auto guided = wall(n, h, EI);
    guided->Q(0) = P;
    specify(*guided, 2, 0);
    specify(*guided, 3, n);
    solve(*guided);
    EXPECT_EQ(guided->y(1), guided->y(-1));
    const double eGuided = relativeError(guided->y(0), P * L * L * L / (12.0 * EI));
    EXPECT_LT(eGuided, 2.0 / n);  // the half couple at each clamp: first order

    // Both ends fixed under a uniform load: w L^4/(384 EI) at midspan.
    auto fixedFixed = wall(n, h, EI);
    addRange(fixedFixed->Q, 0, n, w * h, w * h);
    specify(*fixedFixed, 3, 0);
    specify(*fixedFixed, 3, n);
    solve(*fixedFixed);
    EXPECT_EQ(fixedFixed->y(0), 0.0);
    EXPECT_EQ(fixedFixed->y(n), 0.0);
    EXPECT_EQ(fixedFixed->y(-1), fixedFixed->y(1));
    EXPECT_EQ(fixedFixed->y(n + 1), fixedFixed->y(n - 1));
    const double eFixed = relativeError(fixedFixed->y(n / 2), w * std::pow(L, 4) / (384.0 * EI));
    EXPECT_LT(eFixed, 2.5 / n);
    EXPECT_NEAR(fixedFixed->y(n / 2 - 7), fixedFixed->y(n / 2 + 7), 1e-12);  // symmetry

    if (guidedError > 0.0) {
      EXPECT_NEAR(guidedError / eGuided, 2.0, 0.2) << "N = " << n;
      EXPECT_NEAR(fixedError / eFixed, 2.0, 0.2) << "N = " << n;
    }
    guidedError = eGuided;
    fixedError = eFixed;
  }
}

// Simply supported beam (specified zero deflections at both ends) under a uniform load:
// 5 w L^4 / (384 EI), second-order convergence; the moment is the exact parabola.
TEST(BeamColumnSolver, SimplySupportedUniformLoadConvergesAtSecondOrder) {
  const double L = 8.0, EI = 5.0e4, w = 2.0;
  const double exact = 5.0 * w * std::pow(L, 4) / (384.0 * EI);
  double previousError = 0.0;
  for (int n : {20, 40, 80, 160}) {
    const double h = L / n;
    auto g = wall(n, h, EI);
    addRange(g->Q, 0, n, w * h, w * h);
    specify(*g, 1, 0);
    specify(*g, 1, n);
    solve(*g);
    EXPECT_EQ(g->y(0), 0.0);
    EXPECT_EQ(g->y(n), 0.0);
    EXPECT_NEAR(moment(*g, 0), 0.0, 1e-9 * w * L * L);
    EXPECT_NEAR(moment(*g, n / 2), -w * L * L / 8.0, 1e-8 * w * L * L);
    const double error = std::fabs(g->y(n / 2) - exact);
    if (previousError > 0.0) {
      EXPECT_NEAR(previousError / error, 4.0, 0.05) << "N = " << n;
    }
    previousError = error;
  }
  EXPECT_LT(previousError / exact, 1e-4);
}

// Axial load. The P terms of the equation, P/4 h^2 (y(i-2) - 2y(i) + y(i+2)) = h^4 P y'', give
// EI y'''' + P y'' = q: an input axial load P > 0 is compression (the table holds -P). Under a
// sinusoidal load on a simply supported beam the midspan deflection is amplified by exactly
// 1/(1 - P/Pcr), Pcr = pi^2 EI / L^2; tension reduces it. P is spread by the range rule: at a
// station it acts like a rotational spring of stiffness -h P, so a full value at the supports
// would add an end couple and make the amplification converge at first order only.
TEST(BeamColumnSolver, AxialCompressionAmplifiesByOneOverOneMinusPOverPcr) {
  const double L = 8.0, EI = 5.0e4, q0 = 2.0;
  const int n = 100;
  const double h = L / n, pcr = kPi * kPi * EI / (L * L);
  auto midspan = [&](double inputAxialLoad) {
    auto g = wall(n, h, EI);
    for (int i = 0; i <= n; ++i) g->Q(i) = q0 * std::sin(kPi * i / n) * h;
    addRange(g->P, 0, n, -inputAxialLoad, -inputAxialLoad);
    specify(*g, 1, 0);
    specify(*g, 1, n);
    solve(*g);
    return g->y(n / 2);
  };
  const double y0 = midspan(0.0);
  EXPECT_LT(relativeError(y0, q0 * std::pow(L, 4) / (std::pow(kPi, 4) * EI)), 1e-3);
  for (double ratio : {0.25, 0.5, 0.8, -0.5, -2.0}) {
    EXPECT_LT(relativeError(midspan(ratio * pcr) / y0, 1.0 / (1.0 - ratio)), 1e-3)
        << "P/Pcr = " << ratio;
  }
}

// Long beam on uniform springs (foundation modulus k, spring per station k h) under a central
// point load: y = P lambda / (2k), M = -P / (4 lambda) (y'' < 0 under the load),
// lambda = (k / (4 EI))^(1/4). The free ends lie 8 / lambda away (their influence ~ e^-8).
TEST(BeamColumnSolver, BeamOnElasticFoundation) {
  const double EI = 1.0e4, k = 100.0, P = 50.0;
  const double lambda = std::pow(k / (4.0 * EI), 0.25);
  const int n = 400, mid = n / 2;
  const double h = 16.0 / lambda / n;
  auto g = wall(n, h, EI);
  for (int i = 0; i <= n; ++i) g->S(i) = k * h;
  g->Q(mid) = P;
  solve(*g);
  EXPECT_LT(relativeError(g->y(mid), P * lambda / (2.0 * k)), 1e-3);
  EXPECT_LT(relativeError(moment(*g, mid), -P / (4.0 * lambda)), 1e-3);
  // First zero of the deflection at lambda x = 3 pi / 4.
  const int zero = mid + static_cast<int>(std::lround(0.75 * kPi / lambda / h));
  EXPECT_LT(std::fabs(g->y(zero)), 2e-3 * g->y(mid));
  for (int j = 1; j <= mid; j += 37) EXPECT_NEAR(g->y(mid - j), g->y(mid + j), 1e-9 * g->y(mid));
}

// Couple T at the free top of a cantilever clamped at the tip. T enters the equations of
// stations -1 and 1 as loads +-T/(2h), so M(0) = T/2, M(j) = T for 0 < j < N, M(N) = T/2 and,
// as for the top load, y(0) = T/EI (L^2/2 - L h/4) -> T L^2 / (2 EI).
// A rotational spring R at the top resists with the couple R theta(0) in the same sense as T:
// M(x) = P x + R theta0, theta0 = -P L^2 / (2 (EI + R L)), so
// y(0) = P L^3/(3EI) - R P L^4 / (4 EI (EI + R L)); with R = EI/L that is 5 P L^3 / (24 EI).
TEST(BeamColumnSolver, CoupleAndRotationalSpringAtTheFreeTop) {
  const double L = 10.0, EI = 2.0e5, T = 40.0, P = 10.0;
  double previousSpringError = 0.0;
  for (int n : {20, 40, 80, 160}) {
    const double h = L / n;
    auto couple = wall(n, h, EI);
    couple->T(0) = T;
    specify(*couple, 3, n);
    solve(*couple);
    EXPECT_LT(relativeError(couple->y(0), T / EI * (L * L / 2.0 - L * h / 4.0)), 1e-9);
    EXPECT_NEAR(moment(*couple, 0), T / 2.0, 1e-7 * T);
    EXPECT_NEAR(moment(*couple, n / 2), T, 1e-7 * T);

    auto spring = wall(n, h, EI);
    spring->Q(0) = P;
    spring->R(0) = EI / L;
    specify(*spring, 3, n);
    solve(*spring);
    const double springError = relativeError(spring->y(0), 5.0 * P * L * L * L / (24.0 * EI));
    EXPECT_LT(springError, 1.0 / n);
    if (previousSpringError > 0.0) {
      EXPECT_NEAR(previousSpringError / springError, 2.0, 0.15);
    }
    previousSpringError = springError;
  }
}

// --- The recursion against a dense elimination of the same equations -----------------------

struct Equation {
  double coefficient[5];  // of y(i-2) .. y(i+2)
  double rhs;
};

// The difference equation of station i written with the axial load of the input's sign.
Equation differenceEquation(const StationGrid& g, int i) {
  const double h = g.h;
  auto F = [&](int j) { return g.EI(j); };
  auto axial = [&](int j) { return -g.P(j); };
  Equation eq{};
  eq.coefficient[0] = F(i - 1) - (h / 4) * (g.R(i - 1) - h * axial(i - 1));
  eq.coefficient[1] = -2 * (F(i - 1) + F(i));
  eq.coefficient[2] = F(i - 1) + 4 * F(i) + F(i + 1) + h * h * h * g.S(i) +
                      (h / 4) * (g.R(i - 1) + g.R(i + 1) - h * (axial(i - 1) + axial(i + 1)));
  eq.coefficient[3] = -2 * (F(i) + F(i + 1));
  eq.coefficient[4] = F(i + 1) - (h / 4) * (g.R(i + 1) - h * axial(i + 1));
  eq.rhs = h * h * h * g.Q(i) - (h * h / 2) * (g.T(i - 1) - g.T(i + 1));
  return eq;
}

// Unknowns y(-1)..y(N+1) (column = station + 1); y(-3), y(-2), y(N+2), y(N+3) are zero.
std::vector<double> denseSolution(const StationGrid& g) {
  const int n = g.n, m = n + 3;
  std::vector<std::vector<double>> M(m, std::vector<double>(m + 1, 0.0));
  auto addEquation = [&](std::vector<double>& row, int i) {
    const Equation eq = differenceEquation(g, i);
    for (int k = 0; k < 5; ++k) {
      const int station = i - 2 + k;
      if (station >= -1 && station <= n + 1) row[station + 1] += eq.coefficient[k];
    }
    row[m] += eq.rhs;
  };
  auto setDeflection = [&](int station, double value) {
    std::fill(M[station + 1].begin(), M[station + 1].end(), 0.0);
    M[station + 1][station + 1] = 1.0;
    M[station + 1][m] = value;
  };
  for (int i = -1; i <= n + 1; ++i) addEquation(M[i + 1], i);
  for (const SpecifiedPoint& p : g.specified) {
    const int s = p.station;
    if (p.caseCode == 2 || p.caseCode == 3) {
      // Row s+1: the sum of the equations of s-1 and s+1 (the holding couple cancels);
      // row s-1: the central-difference slope at s.
      std::vector<double> sum(m + 1, 0.0);
      addEquation(sum, s - 1);
      addEquation(sum, s + 1);
      M[s + 2] = sum;
      std::fill(M[s].begin(), M[s].end(), 0.0);
      M[s][s] = 1.0;
      M[s][s + 2] = -1.0;
      M[s][m] = -2.0 * g.h * p.slope;
      if (p.caseCode == 3) setDeflection(s, p.deflection);
    } else {
      setDeflection(s, p.deflection);
    }
  }
  for (auto& row : M) {  // equilibrate: the replaced rows have unit coefficients, the others EI
    double largest = 0.0;
    for (int c = 0; c < m; ++c) largest = std::max(largest, std::fabs(row[c]));
    for (double& v : row) v /= largest;
  }
  for (int col = 0; col < m; ++col) {  // Gaussian elimination with partial pivoting
    int pivot = col;
    for (int r = col + 1; r < m; ++r) {
      if (std::fabs(M[r][col]) > std::fabs(M[pivot][col])) pivot = r;
    }
    std::swap(M[col], M[pivot]);
    for (int r = col + 1; r < m; ++r) {
      const double factor = M[r][col] / M[col][col];
      for (int c = col; c <= m; ++c) M[r][c] -= factor * M[col][c];
    }
  }
  std::vector<double> y(m, 0.0);
  for (int r = m - 1; r >= 0; --r) {
    double sum = M[r][m];
    for (int c = r + 1; c < m; ++c) sum -= M[r][c] * y[c];
    y[r] = sum / M[r][r];
  }
  return y;
}

TEST(BeamColumnSolver, RecursionAgreesWithDenseEliminationOnRandomWalls) {
  std::mt19937 rng(20240611);
  auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<>(lo, hi)(rng);
  };
  auto chance = [&](double p) { return uniform(0.0, 1.0) < p; };
  int withSlopeEntries = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const int n = std::uniform_int_distribution<>(4, 60)(rng);
    const double h = uniform(0.1, 2.0), ei = uniform(1e3, 1e6);
    auto g = std::make_unique<StationGrid>();
    buildGrid(*g, n, h);
    for (int i = -1; i <= n + 1; ++i) {
      if ((i >= 0 && i <= n) || chance(0.2)) g->EI(i) = ei * uniform(0.5, 2.0);
    }
    for (int i = -2; i <= n + 2; ++i) {
      const bool onWall = i >= 0 && i <= n;
      if (onWall || chance(0.2)) {
        g->S(i) = ei / (h * h * h) * uniform(0.0, 1.0);
        g->Q(i) = ei / (h * h * h) * uniform(-1.0, 1.0);
      }
      if (chance(0.3)) g->T(i) = ei / (h * h) * uniform(-1.0, 1.0);
      if (chance(0.3)) g->R(i) = ei / h * uniform(0.0, 0.5);
      if (chance(0.3)) g->P(i) = ei / (h * h) * uniform(-0.2, 0.2);
    }
    // Entries in ascending order whose rows do not overlap; neighbours may touch.
    int lastRow = -2;
    const int wanted = std::uniform_int_distribution<>(0, 6)(rng);
    for (int e = 0; e < wanted; ++e) {
      const int caseCode = std::array<int, 4>{1, 2, 3, 1}[rng() % 4];
      const bool slopeRows = caseCode == 2 || caseCode == 3;
      const int firstRow = lastRow + 1 + std::uniform_int_distribution<>(0, 4)(rng);
      const int s = slopeRows ? firstRow + 1 : firstRow;
      lastRow = slopeRows ? s + 1 : s;
      if (lastRow > n + 1) break;
      if (slopeRows) ++withSlopeEntries;
      specify(*g, caseCode, s, uniform(-1.0, 1.0), uniform(-0.1, 0.1));
    }
    for (int i = -3; i <= n + 3; ++i) g->y(i) = uniform(-1.0, 1.0);  // "previous iteration"
    const StationTable previous = g->y;
    const StationGrid before = *g;

    const std::vector<double> dense = denseSolution(*g);
    double scale = 0.0;
    for (double v : dense) scale = std::max(scale, std::fabs(v));
    const double tolerance = 0.5 * scale, allowable = 0.7 * scale;
    const SolveFigures figures = solve(*g, tolerance, allowable);

    SolveFigures expected;
    for (int i = -1; i <= n + 1; ++i) {
      ASSERT_NEAR(g->y(i), dense[i + 1], 1e-9 * scale) << "trial " << trial << " station " << i;
      if (i < 0 || i > n) continue;
      const double change = std::fabs(dense[i + 1] - previous(i));
      expected.largestChange = std::max(expected.largestChange, change);
      expected.overTolerance += change > tolerance;
      expected.overAllowable += std::fabs(dense[i + 1]) > allowable;
    }
    EXPECT_NEAR(figures.largestChange, expected.largestChange, 1e-9 * scale);
    EXPECT_EQ(figures.overTolerance, expected.overTolerance) << "trial " << trial;
    EXPECT_EQ(figures.overAllowable, expected.overAllowable) << "trial " << trial;
    for (int i : {-3, -2, n + 2, n + 3}) EXPECT_EQ(g->y(i), 0.0);

    // Nothing but A, B, C and y changes.
    for (int i = -3; i <= n + 3; ++i) {
      ASSERT_EQ(g->EI(i), before.EI(i));
      ASSERT_EQ(g->Q(i), before.Q(i));
      ASSERT_EQ(g->S(i), before.S(i));
      ASSERT_EQ(g->T(i), before.T(i));
      ASSERT_EQ(g->R(i), before.R(i));
      ASSERT_EQ(g->P(i), before.P(i));
      ASSERT_EQ(g->rowCode(i), before.rowCode(i));
    }
    ASSERT_EQ(g->specified.size(), before.specified.size());
  }
  EXPECT_GT(withSlopeEntries, 100);  // the folded rows were exercised
}

// --- Figures, zero pivots, ends ---------------------------------------------------------

TEST(BeamColumnSolver, FiguresCountStationsZeroToNStrictlyAbove) {
  const int n = 20;
  auto g = wall(n, 0.5, 1.0e4);
  g->Q(0) = 5.0;
  specify(*g, 3, n);
  solve(*g);
  const double top = g->y(0);
  ASSERT_GT(g->y(-1), top);  // the fictitious station above the free top deflects most
  const StationTable solution = g->y;

  g->y.fill(0.0);
  SolveFigures f = solveBeamColumn(*g, top, top);  // changes equal the limits at most
  EXPECT_EQ(f.largestChange, top);
  EXPECT_EQ(f.overTolerance, 0);
  EXPECT_EQ(f.overAllowable, 0);

  g->y.fill(0.0);
  const double below = std::nextafter(top, 0.0);
  f = solveBeamColumn(*g, below, below);
  EXPECT_EQ(f.overTolerance, 1);
  EXPECT_EQ(f.overAllowable, 1);

  int expectedOver = 0;
  for (int i = 0; i <= n; ++i) expectedOver += solution(i) > 0.5 * top;
  f = solveBeamColumn(*g, 1.0e-12, 0.5 * top);  // from the converged previous deflections
  EXPECT_EQ(f.overTolerance, 0);
  EXPECT_LT(f.largestChange, 1e-12 * top);
  EXPECT_EQ(f.overAllowable, expectedOver);
}

TEST(BeamColumnSolver, ZeroPivotGivesZeroDeflectionAndABrokenSolutionCannotPassAsClosed) {
  // A cantilever on stations 0..5 of a grid of 12: beyond station 6 every row is empty.
  auto g = wall(12, 1.0, 1.0e4);
  for (int i = 6; i <= 12; ++i) g->EI(i) = 0.0;
  g->Q(0) = 2.0;
  g->Q(9) = 1000.0;  // on an empty row: carried by nothing
  specify(*g, 3, 5);
  specify(*g, 2, 9, 0.0, 0.01);  // a slope whose first row has a zero pivot
  solve(*g);
  const double L = 5.0;
  EXPECT_LT(relativeError(g->y(0), 2.0 / 1.0e4 * (L * L * L / 3 - L * L / 4 + L / 6)), 1e-9);
  EXPECT_EQ(g->y(7), 0.0);
  EXPECT_EQ(g->y(9), 0.0);
  EXPECT_EQ(g->y(12), 0.0);
  EXPECT_TRUE(std::isfinite(g->y(8)));
  EXPECT_TRUE(std::isfinite(g->y(10)));
  EXPECT_DOUBLE_EQ(g->y(8) - g->y(10), -2.0 * 0.01);  // the slope row still holds

  auto broken = wall(10, 1.0, 1.0e4);
  broken->Q(3) = std::nan("");
  const SolveFigures f = solve(*broken, 1.0, 1.0);
  EXPECT_TRUE(std::isnan(f.largestChange));
  EXPECT_EQ(f.overTolerance, 11);
  EXPECT_EQ(f.overAllowable, 11);
}

TEST(BeamColumnSolver, ExtrapolatedEndsDoNotLeakIntoTheNextSolve) {
  const int n = 16;
  auto g = wall(n, 0.5, 1.0e4);
  g->Q(0) = 5.0;
  g->Q(n) = -3.0;
  g->S(n / 2) = 1.0e4;
  specify(*g, 3, n / 2);
  solve(*g);
  const StationTable first = g->y;
  extrapolateFictitiousEnds(*g);
  EXPECT_DOUBLE_EQ(g->y(-2), 2.0 * first(-1) - first(0));
  EXPECT_DOUBLE_EQ(g->y(n + 2), 2.0 * first(n + 1) - first(n));
  EXPECT_NE(g->y(n + 2), 0.0);
  const SolveFigures f = solve(*g, 0.0);
  EXPECT_EQ(f.overTolerance, 0);
  for (int i = -3; i <= n + 3; ++i) EXPECT_EQ(g->y(i), first(i)) << i;
}

// --- Validation of the specified entries ------------------------------------------------

std::string stopText(const StationGrid& g) {
  try {
    validateSpecifiedPoints(g);
  } catch (const ErrorStop& stop) {
    for (auto it = stop.lines().rbegin(); it != stop.lines().rend(); ++it) {
      if (!it->empty()) return *it;
    }
    return "(blank stop)";
  }
  return "accepted";
}

std::string entries(std::initializer_list<std::pair<int, int>> list, int n = 20) {
  auto g = std::make_unique<StationGrid>();
  buildGrid(*g, n, 1.0);
  for (const auto& [caseCode, station] : list) specify(*g, caseCode, station);
  return stopText(*g);
}

TEST(SpecifiedEntries, WellDefinedEntriesAreAccepted) {
  EXPECT_EQ(entries({{1, -1}, {1, 21}}), "accepted");                 // both fictitious inner rows
  EXPECT_EQ(entries({{3, 0}, {2, 20}}), "accepted");                  // slopes at both ends
  EXPECT_EQ(entries({{2, 5}, {1, 7}, {3, 9}, {2, 12}}), "accepted");  // rows touch, no overlap
  EXPECT_EQ(entries({{1, 4}, {1, 5}, {1, 6}}), "accepted");           // adjacent deflections
}

TEST(SpecifiedEntries, EntriesThatWouldCorruptTheSolutionAreRejected) {
  const std::string prefix = "     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE AT STATION";
  EXPECT_EQ(entries({{1, 3}, {1, 22}}), prefix + "   22 OUTSIDE THE WALL");
  EXPECT_EQ(entries({{2, -1}}), prefix + "   -1 OUTSIDE THE WALL");
  EXPECT_EQ(entries({{3, 21}}), prefix + "   21 OUTSIDE THE WALL");
  EXPECT_EQ(entries({{1, kNoStation}}), prefix + " 1000000000 OUTSIDE THE WALL");
  EXPECT_EQ(entries({{2, 5}, {3, 7}}), prefix + "    7 OVERLAPS THE ENTRY BEFORE IT");
  EXPECT_EQ(entries({{1, 5}, {2, 6}}), prefix + "    6 OVERLAPS THE ENTRY BEFORE IT");
  EXPECT_EQ(entries({{2, 5}, {1, 6}}), prefix + "    6 OVERLAPS THE ENTRY BEFORE IT");
  EXPECT_EQ(entries({{1, 5}, {1, 5}}), prefix + "    5 OVERLAPS THE ENTRY BEFORE IT");
  // The order stop ("STATIONS NOT IN ORDER") says which stations in its second line.
  EXPECT_EQ(entries({{1, 8}, {1, 5}}),
            "     SPECIFIED DEFLECTION/SLOPE AT STATION 5 LIES ABOVE STATION 8");
  EXPECT_EQ(entries({{1, -2}}),
            "     SPECIFIED DEFLECTION/SLOPE AT STATION -2 LIES ABOVE STATION -1");
  // A CASE other than 1, 2 or 3 has no rows of its own.
  EXPECT_EQ(entries({{1, 4}, {9, 6}}), prefix + "    6 HAS A CASE OTHER THAN 1, 2 OR 3");
  EXPECT_EQ(entries({{0, 6}}), prefix + "    6 HAS A CASE OTHER THAN 1, 2 OR 3");

  auto g = std::make_unique<StationGrid>();
  buildGrid(*g, 100, 1.0);
  for (int i = 0; i <= kMaxSpecifiedPoints; ++i) g->specified.push_back({1, 2 * i, 0.0, 0.0});
  EXPECT_EQ(stopText(*g),
            "     SPECIFIED DEFLECTION AND SLOPE POINTS: 21 GIVEN, THE TABLE HOLDS 20");
  g->specified.pop_back();
  EXPECT_EQ(stopText(*g), "accepted");
}

}  // namespace
}  // namespace korden

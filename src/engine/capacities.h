// Fixed capacities of the engine's tables. Every write into one of these tables is checked;
// an overflow stops the run with the storage message (see errors.h).
#pragma once

namespace korden {

inline constexpr int kMaxSpecifiedPoints = 20;
inline constexpr int kMaxWallSections = 20;
inline constexpr int kMaxCrossSections = 100;
inline constexpr int kMaxMomentCurvaturePoints = 100;
inline constexpr int kMaxSoilLayers = 10;
inline constexpr int kMaxComputationalLayers = 21;
inline constexpr int kMaxInputCurves = 400;
inline constexpr int kMaxTableCurves = 263;
inline constexpr int kMaxTableCurvePoints = 34;
inline constexpr int kStationPlaces = 416;
inline constexpr int kMaxSupports = 20;
inline constexpr int kMaxRestraints = 20;
inline constexpr int kMaxActivePressureRows = 2000;
// Rows of the generated depth profile (one per inch, or per 0.05 m in SI, down to the tip): some
// 16,000 ft or 10 km of wall, far beyond any real wall.
inline constexpr int kMaxPressureRows = 200'000;
// Stations -3..N+3 take N + 7 places, so N may be at most 409.
inline constexpr int kMaxIncrements = kStationPlaces - 7;
// Bound on the maximum number of iterations of the wall record. The iteration closes within a few
// dozen iterations when it closes at all, and writes one monitoring row per iteration: a limit
// above 10,000 only lets a run that cannot close fill the auxiliary file, so it is refused.
inline constexpr int kMaxIterationLimit = 10'000;

}  // namespace korden

// Generation of the soil resistance (p-y) curves from the soil layers below the excavation level:
// the working tables of one generation, the shared lookups that every soil criterion uses, the
// printing of a curve side and its records for the curve exchange file.
//
// Depths: X is measured down from the top of the wall, z down from the excavation level
// (X = z + free height). Lengths are inches (English units) or metres (SI); p is a force per unit
// length of wall (lb/in or kN/m).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_state.h"
#include "pressure/soil_layers.h"
#include "report/output_file.h"

namespace korden {

inline constexpr int kCurvePointsPerSide = 17;
inline constexpr int kCurvesPerLayer = 5;
// Deflections below this are taken as zero: the curve value there is 0.
inline constexpr double kDeflectionFloor = 1.0e-14;
// Two depths of the tables closer than this are one depth.
inline constexpr double kSameDepth = 1.0e-8;
// Width ratio WA / WP below which the wall counts as continuous.
inline constexpr double kContinuousWallRatio = 1.1;

using SidePoints = std::array<double, kCurvePointsPerSide>;

// Soil layer type codes.
enum SoilCriterion {
  kSoftClay = 1,
  kStiffClayFreeWater = 2,
  kStiffClayNoFreeWater = 3,
  kSand = 4,
  kSilt = 5,
  kRock = 6,
  kWeakRock = 7
};

struct UnitWeightPoint {
  double z = 0.0;
  double gamma = 0.0;  // effective unit weight
};

// One point of the strength distribution; phi in radians.
struct StrengthPoint {
  double z = 0.0;
  double c = 0.0, phi = 0.0, e50 = 0.0, kpy = 0.0, sixth = 0.0;
};

enum class StrengthColumn { Cohesion, Friction, E50, Kpy, Sixth };

// A soil layer below the excavation level (cut at the excavation level and at the end of the
// curve range).
struct CountedLayer {
  int type = 0;
  int inputIndex = 0;  // index into SoilData::layers
  double zTop = 0.0, zBottom = 0.0;
  StrengthPoint top, bottom;            // the layer's own strength points
  int firstCurve = -1, lastCurve = -1;  // -1: no curve
  double accumulated = 0.0;             // resistance of the layer on the excavation side, force
  double equivalentDepth = 0.0;  // depth in the layer's own soil that carries the layers above
};

// The resistance of a layer on the excavation side, built curve by curve from the top: the
// curves' ultimate resistances integrated over depth by the trapezoidal rule (force).
struct TrapezoidalResistance {
  double previousZ = 0.0;
  double previousPu = 0.0;
  // Curve `curve` of the layer at z with ultimate resistance pu: the layer's first curve starts the
  // sum at 0, every later one adds the strip from the previous curve, scaled by `weight`.
  void add(CountedLayer& layer, int curve, double z, double pu, double weight = 1.0);
  // The last curve's pu carried on down to the layer bottom (sand, silt).
  static void extendToBottom(CountedLayer& layer, int curve, double z, double pu);
};

// The tables built from the soil layers.
struct SoilDistributions {
  SoilLayerStack stack;  // the input layers as stacked
  // The last input layer was carried on below the excavation level, where the soil ended.
  bool carriedDown = false;
  double bottomX = 0.0;  // X of the bottom of the soil the curves stand in
  std::vector<CountedLayer> layers;
  std::vector<UnitWeightPoint> unitWeight;
  std::vector<StrengthPoint> strength;
  std::vector<double> curveDepths;  // z of every curve, in depth order
};

// Values of the case that every criterion uses.
struct CurveSettings {
  int unitsFlag = 1;
  double freeHeight = 0.0;      // X of the excavation level
  double surfaceX = 0.0;        // X of the top of the stacked soil layers (backfill ground surface)
  double width = 0.0;           // b = WP
  double widthRatio = 1.0;      // WA / WP, not less than 1
  double referenceWidth = 0.0;  // 12 in or 0.3048 m
  double increment = 0.0;       // h
  double wallLength = 0.0;      // N h
  double slopeDegrees = 0.0;    // slope of the excavation ground
  double waterUnitWeight = 0.0;
  double edgeOffset = 0.0;  // distance of the outer curves from the layer boundaries
  bool cyclic = false;
  double cycles = 1.0;
  bool english() const { return unitsFlag == 1; }
  bool si() const { return unitsFlag == 2; }
  bool continuousWall() const { return widthRatio < kContinuousWallRatio; }
  // Depths in the report: feet in English units.
  double reportDepth(double length) const { return english() ? length / 12.0 : length; }
};

CurveSettings curveSettingsFor(const RunState& state);

// Builds the counted layers, the unit weight and strength distributions (phi in radians) and the
// curve depths from the input layers.
SoilDistributions buildSoilDistributions(const RunState& state, const CurveSettings& settings);

// Strength column at z with the layer-boundary rules. False when z lies beyond the distribution.
bool lookupStrength(const std::vector<StrengthPoint>& points, double z, StrengthColumn column,
                    double& value);
// Mean effective unit weight from the top of the distribution down to z. False when z lies
// beyond the distribution.
bool lookupAverageUnitWeight(const std::vector<UnitWeightPoint>& points, double z, double& value);

// Factor of the reduction table at X (P-FACTOR or Y-FACTOR column).
double reductionTableFactor(const std::vector<ModificationFactor>& rows, double x, bool pColumn);
// p-multiplier at X: the group reduction factor and the reduction table.
double pMultiplierAt(double x, double widthRatio, double freeHeight,
                     const std::vector<ModificationFactor>& rows, int groupSwitch);
double yMultiplierAt(double x, const std::vector<ModificationFactor>& rows);

// Both sides of one curve: where the side's depth and the multipliers' argument are taken.
struct CurveSide {
  bool excavation = true;
  double depth = 0.0;  // below the excavation level, or below the backfill ground surface
  double x = 0.0;      // argument of the multipliers
  double pMultiplier = 1.0;
  double yMultiplier = 1.0;
};

// The 17 points of one side as a criterion builds them, before the multipliers.
struct SideCurve {
  SidePoints y{}, p{};
  bool pMultiplied = false;    // p already carries the p-multiplier where it applies (rock)
  double floorModulus = -1.0;  // soft clay: modulus reported for a deflection below the floor
  double ultimate = 0.0;       // the resistance the layer's accumulated resistance takes
};

// A caption, its unit and its value in the heading of a curve side.
struct HeadingField {
  std::string caption;
  std::string unit;
  double value = 0.0;
};

enum class PointHeads { WithCommas, Plain, None };

// One generation: the state it reads, the report it writes, its tables and the records of the
// generated curves for the curve exchange file.
struct CurveGeneration {
  RunState& state;
  OutputFile& report;
  CurveSettings settings;
  SoilDistributions soil;
  std::vector<std::string> records;  // generated-curve records of the exchange file
  int generatedCurves = 0;
  int inputLayer = 0;  // index into SoilData::layers of the layer whose curves are generated

  CurveGeneration(RunState& s, OutputFile& out) : state(s), report(out) {}

  // Lookups that stop the run when the depth lies beyond the distributions.
  double strengthAt(double z, StrengthColumn column);
  double averageUnitWeight(double z);
  // Total vertical stress at the depth d below the backfill ground surface from the input layers
  // (water deducted in sand layers below the backfill water table only).
  double backfillOverburden(double d);

  CurveSide side(double z, bool excavation) const;
  // Depth in the criterion's own resistance expressions: the plain depth in the first counted
  // layer; below it the depth in the layer plus the layer's equivalent depth.
  double resistanceDepth(int layer, double depth) const;
  // Accumulated resistance of all counted layers above `layer`.
  double resistanceAbove(int layer) const;
  // True on the excavation side of the first curve of a layer below the first counted layer: the
  // side where the layer's equivalent depth is set from the resistance of the layers above.
  bool setsEquivalentDepth(int layer, int curve, bool excavation) const;

  // Writes the exchange record that opens curve `index` (its X and 34 points).
  void beginCurve(double z);
  // Prints the heading of a side: "AT THE EXCAVATION SIDE" or "AT THE BACKFILL SIDE" (unless
  // `sideLine` is false), the captions, their units and the values.
  void writeHeading(bool excavation, const std::vector<HeadingField>& fields, bool sideLine = true);
  // Prints the points of a side, writes them to the exchange records and prints the multipliers.
  void emitSide(const CurveSide& side, const SideCurve& curve, PointHeads heads,
                bool wideColumns = false);

  // Warning block and stop: the lines go to the report and the console; code 3 for a stop without
  // a code.
  [[noreturn]] void stopWithWarning(const std::vector<std::string>& lines, int code,
                                    bool consoleTwice = false);

  std::string lengthUnit() const;    // "IN" / "M"
  std::string depthUnit() const;     // "FT" / "M"
  std::string forceUnit() const;     // "LBS" / "KN"
  std::string stressUnit() const;    // "LBS/IN**2"
  std::string weightUnit() const;    // "LBS/IN**3"
  std::string lineLoadUnit() const;  // "LBS/IN"

 private:
  // A value that is not finite (from soil data that make the criterion meaningless) stops the
  // run naming the curve and its layer: nothing that is not a number reaches the report or the
  // curve exchange file.
  void requireFinite(double value) const;
  int pointNumber_ = 0;
  double curveX_ = 0.0;  // X of the curve being written
};

// Sets the cyclic number of cycles, builds the tables and writes the report section.
void writeSoilSection(CurveGeneration& g);
// Assigns the curves to the counted layers and runs each layer's criterion.
void runCriteria(CurveGeneration& g);

}  // namespace korden

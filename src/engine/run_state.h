// The run state: every table of one run, grouped by subsystem. The entry point creates one for a
// run and passes it by reference; tables that a later analysis case does not read again keep
// what the previous case left in them.
#pragma once

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/station_grid.h"
#include "engine/case_results.h"
#include "engine/capacities.h"
#include "engine/single_precision.h"

namespace korden {

// Program control record: the fifteen integers of the case.
struct ControlRecord {
  int unitsFlag = 1;   // 1 English, 2 SI, other: generic labels
  int nSpecified = 0;  // specified deflection and slope points
  int nWallSections = 0;
  int nCrossSections = 0;
  int nModificationFactors = 0;
  int pressureOption = 0;  // 0 none, 1 user table, 2..6 generated
  int curveOption = 0;     // 2 generates curves from the soil layers
  int nUserCurves = 0;
  int nStages = 0;
  int nUserEISets = 0;
  int nTieBacks = 0;
  int hingeFlag = 0;
  int waleFlag = 0;
  int waleKind = 0;  // 1 simply supported, other continuous
  int nStruts = 0;
};

// Wall record.
struct WallRecord {
  int nIncrements = 0;
  double incrementLength = 0.0;  // h (inches in English units, metres in SI)
  double maxAllowableDeflection = 0.0;
  double closureTolerance = 0.0;
  double freeHeight = 0.0;  // depth of the excavation level (internal length unit)
  double wallWidth = 0.0;   // width of wall one station represents
  double wallHeight = 0.0;  // echoed only
  int maxIterations = 0;
  int unused1 = 0;
  int unused2 = 0;
  int sectionAdjustFlag = 0;
};

struct WallSection {
  double top = 0.0;  // depth below the top of the wall (feet in English units, metres in SI)
  double bottom = 0.0;
  int crossSection = 0;
};

// A moment-curvature table: points stored as read, moment first and curvature second.
struct MomentCurvatureSet {
  double axialThrust = 0.0;
  double secondValue = 0.0;  // kept beside the axial load of a generated level, not interpreted
  int unusedInteger = 0;
  int nPoints = 0;
  std::array<double, kMaxMomentCurvaturePoints> moment{};
  std::array<double, kMaxMomentCurvaturePoints> curvature{};
};

struct CrossSection {
  std::array<int, 4> header{};  // [2] elastic kind, [3] nonlinear flag
  std::string name;             // 80 characters
  int elasticKind() const { return header[2]; }
  bool nonlinear() const { return header[3] != 0; }

  // Property tables, top and bottom: A (8 values) and B (10 values) with 1-based meaning
  // A1 equivalent diameter, A3 external width, A4 external depth, A7 flange thickness,
  // A8 web thickness; B4 moment of inertia, B9 Young's modulus.
  std::array<double, 8> aTop{}, aBottom{};
  std::array<double, 10> bTop{}, bBottom{};
  double extraTop = 0.0, extraBottom = 0.0;  // the further real of E2 / E4
  int taperFlag = 0;
  // E5 options: two integers, a real, six integers.
  std::array<int, 8> options{};  // [0],[1] then [2]..[7] = integers 3..8 of the record
  double optionReal = 0.0;
  std::string secondName;  // E6

  // Flexural rigidity (B4 * B9) at the top and bottom.
  double eiTop = 0.0, eiBottom = 0.0;

  // Nonlinear section records.
  std::array<double, 9> n1{};
  int sectionType = 0;
  std::array<double, 10> n2{};
  std::array<double, 6> n3Reals{};
  std::array<int, 4> n3Ints{};
  std::string steelName;  // N4
  std::array<int, 5> n5Ints{};
  std::array<double, 5> n5Reals{};
  int n5LastInt = 0;
  std::vector<std::array<double, 5>> bars;  // N5a
  std::array<int, 6> n6Ints{};
  std::array<double, 4> n6Reals{};
  std::array<int, 5> n7Ints{};
  std::array<double, 5> n7Reals{};
  std::array<double, 2> n7Extra{};
  std::vector<std::array<double, 5>> strands;  // N7a
  std::array<int, 3> n8Ints{};
  std::array<double, 2> n8Reals{};
  std::vector<double> n8Rows;
  std::array<int, 7> n9Ints{};
  std::array<double, 4> n9Reals{};
  std::array<int, 4> n10Ints{};
  std::array<double, 2> n10Reals{};
  std::vector<double> n10Rows;

  // Generated moment-curvature sets (one per axial-load level).
  int generatedUnusedInteger = 0;
  std::vector<MomentCurvatureSet> generated;
};

struct SectionData {
  std::vector<WallSection> wallSections;    // at most kMaxWallSections
  std::vector<CrossSection> crossSections;  // at most kMaxCrossSections
  int userSetsUnusedInteger = 0;
  std::vector<MomentCurvatureSet> userSets;  // user-defined sets (by set number)
};

struct LoadRow {
  int contd = 1;  // 1 alone, 2 continued by the next row
  int from = 0;
  int to = 0;
  double q = 0.0;
  double t = 0.0;
  double p = 0.0;  // axial load with the sign of the input
};

struct Restraint {
  int from = 0;
  int to = 0;
  int contd = 1;
  double s = 0.0;  // lateral stiffness per station
  double r = 0.0;  // rotational stiffness per station
};

// A tie-back or strut (struts have no prestress).
struct Support {
  double depth = 0.0;  // feet in English units, metres in SI
  double area = 0.0;
  double elasticModulus = 0.0;
  double unbondedLength = 0.0;
  double angle = 0.0;  // degrees from the horizontal
  double spacing = 0.0;
  double prestress = 0.0;
  int station = 0;
  double spring = 0.0;         // k per station
  double prestressLoad = 0.0;  // horizontal prestress q0 per station
  // Results.
  double horizontalForce = 0.0;  // per station
  double forceAlong = 0.0;       // per station along the support
  double forcePerSupport = 0.0;

  // cos of the angle, degrees converted with pi as 3.1416 held in single precision; the spring,
  // the prestress and the force along the support all use it.
  double angleCosine() const { return std::cos(angle * kPiSingle / 180.0); }
};

struct WaleRow {
  int code = 0;
  std::array<double, 3> values{};
};

struct ModificationFactor {
  double depth = 0.0;
  double pFactor = 0.0;
  double yFactor = 0.0;
};

struct LoadsAndSupports {
  std::vector<LoadRow> loads;
  double firstLoadDepth = 0.0;  // depth of the FROM station of the first and last load rows
  double lastLoadDepth = 0.0;
  std::vector<Restraint> restraints;  // at most kMaxRestraints
  bool dataBeyondEnd = false;         // stiffness and load data reach station N+1
  std::vector<Support> tieBacks;      // tie-backs and struts together at most kMaxSupports
  std::vector<Support> struts;
  std::vector<WaleRow> wales;
  int groupReductionSwitch = 0;
  std::vector<ModificationFactor> modificationFactors;
};

struct WallInformation {
  double freeHeight = 0.0;
  double widthActive = 0.0;      // WA
  double widthResistance = 0.0;  // WP
  double waterBackfill = 0.0;
  double waterExcavation = 0.0;
  double activeModification = 0.0;
  int waterSwitch = 0;
  double slopeBackfill = 0.0;    // degrees
  double slopeExcavation = 0.0;  // degrees
};

struct SurfaceRecord {
  double uniformPressure = 0.0;
  double distance = 0.0;
  double pointLoad = 0.0;
  double lineLoad = 0.0;
  double stripLoad = 0.0;
  double stripWidth = 0.0;
};

struct Surcharge {
  int type = 0;  // 1 point, 2 line, 3 strip
  double magnitude = 0.0;
  double distance = 0.0;  // horizontal distance to the load (middle of the strip)
  double width = 0.0;     // strip width
  double vertical = 0.0;  // vertical distance between the wall top and the load
  double factor = 0.0;
};

// Parameters at the top or bottom of a soil layer.
struct SoilParameters {
  double unitWeight = 0.0;
  double cohesion = 0.0;  // or rock strength
  double friction = 0.0;  // degrees
  double e50 = 0.0;
  double kpy = 0.0;
  double sixth = 0.0;  // optional earth coefficient / weak-rock value
};

struct SoilLayer {
  int type = 0;  // 1 soft clay .. 7 weak rock
  double xTop = 0.0;
  double xBottom = 0.0;
  SoilParameters top, bottom;
};

struct ActivePressureRow {
  double depth = 0.0;
  double pressure = 0.0;
};

struct SoilData {
  std::vector<ActivePressureRow> activePressure;  // at most kMaxActivePressureRows
  WallInformation wall;
  int wallInformationLine = 0;  // line of the wall information record in the input, 0 unknown
  double referenceWidth = 0.0;  // 12 in (English) or 0.3048 m held in single precision (SI)
  SurfaceRecord surface;
  std::vector<Surcharge> surcharges;
  int nLayers = 0;
  int loadingKind = 1;  // 1 static, 0 cyclic
  double cycles = 0.0;
  std::array<SoilLayer, kMaxSoilLayers> layers{};
};

struct UserCurve {
  int station = 0;
  int belowExcavation = 0;  // 1 when station*h is at or below the free height
  int nPoints = 0;
  double pMultiplier = 0.0;
  double yMultiplier = 0.0;
  std::array<double, kMaxTableCurvePoints> y{}, p{};              // as read
  std::array<double, kMaxTableCurvePoints> yScaled{}, pScaled{};  // times the multipliers
};

// One entry of the curve table of the wall analysis: points (y, p) in ascending y, p as force per
// station (soil reaction per unit length times h).
struct TableCurve {
  int fromStation = 0;
  int toStation = 0;
  int contd = 0;  // 0 alone, non-zero continued by the next entry, negative invalid
  int nPoints = 0;
  // Generated curves: beyond an end point p stays at that point's value (the end segment is not
  // extended, so the resistance never exceeds what the criterion gives at its last point).
  bool holdEndValues = false;
  std::array<double, kMaxTableCurvePoints> y{}, p{};
};

struct CurveData {
  std::vector<UserCurve> userCurves;  // at most kMaxInputCurves
  // Curves taken over from the curve exchange file (generated curves), counted for the run, and
  // the generated curves of the case in curve-table form (33 points, p per station).
  int generatedCount = 0;
  std::vector<TableCurve> generated;
  // Retained-side soil-movement curves of the soil-movement pressure option, placed ahead of any
  // other curve in the curve table.
  std::vector<TableCurve> soilMovementCurves;
  // The curve table the iteration linearises (at most kMaxTableCurves entries).
  std::vector<TableCurve> table;
};

// Unit labels of the report, set once per case.
struct UnitLabels {
  std::string wallHeight;   // " FT", "  M", "  L"
  std::string heightShort;  // "FT", " M", " L"
  std::string length;       // " IN", "  M", "  L"
  std::string lengthShort;  // "IN", " M", " L"
  std::string sectionSize;  // "IN", "MM", " L"
  std::string force4;       // " LBS", "  KN", "   F"
  std::string force3;       // "LBS", " KN", "  F"
};

// Driver state kept across analysis cases.
struct DriverState {
  int caseCounter = 0;
  std::string firstTitle;
  int continuationCode = 0;
  int failedCase = 0;
  int unitsSign = 1;
  int generateEarthPressure = 0;
  int generateCurves = 0;
  std::string versionText;  // 12 characters from the run-control file
  // The line of the program control record of the case, and the counts read since the last
  // record that no count places (title, control, wall and wall information records), latest
  // last: "THE COUNT OF RESTRAINT RECORDS (LINE 20) SAYS 1". A count that does not match the
  // records after it is the usual cause of a read error further on.
  int controlLine = 0;
  std::vector<std::string> countTrail;
  std::string inputName, outputName, plotName, auxName, curveFileName, pressureFileName;
};

// One computational layer of the retained-side soil profile: an input soil layer, or a part of
// one cut at the excavation level or the backfill water table. Lengths, stresses and unit weights
// in the case's internal units; forces per unit width of wall.
struct EarthPressureLayer {
  double thickness = 0.0;
  double strength = 0.0;    // cohesion or undrained shear strength c
  double phi = 0.0;         // friction angle, degrees
  double unitWeight = 0.0;  // total unit weight
  int soilType = 0;
  bool drained = true;
  double ztop = 0.0;  // depth of the layer top below the top of the wall
  double optionalCoefficient = 0.0;
  double modification = 0.0;  // modification factor for active earth pressure
  bool belowWater = false;    // the top lies at or below the backfill water table
  double ka = 0.0, rootKa = 0.0, kp = 0.0, rootKp = 0.0, k0 = 0.0;
  double overburden = 0.0;  // effective vertical stress at the top
  // Water forces (stored negative), active forces and their depths.
  double pw1 = 0.0, z1 = 0.0, pw2 = 0.0, z2 = 0.0;
  double pa1 = 0.0, pa2 = 0.0, pa3 = 0.0, pa4 = 0.0, z3 = -1.0e-5;
  double positiveLength = 0.0;  // lower part of a layer with a tension zone that carries pressure
};

// A row of the depth profile: [0] depth, [1]..[11] the pressure columns 2 to 12.
using PressureRow = std::array<double, 12>;

// Working data of the earth-pressure generation and the lateral load it hands to the analysis.
struct EarthPressureData {
  std::vector<EarthPressureLayer> layers;  // at most kMaxComputationalLayers
  int excavationLayer = -1;  // index of the layer whose top is the excavation level, -1 none
  int waterTableLayer = -1;  // index of the layer whose top is the backfill water table, -1 none
  double waterUnitWeight = 0.0;
  // Working copies: free height, backfill water table (also where it lies above the top of the
  // soil) and the uniform surface pressure.
  double freeHeight = 0.0, waterTable = 0.0, surfacePressure = 0.0;
  // The input's water switch, set to 1 when water acts above the excavation level.
  int waterSwitch = 0;
  double netActiveForce = 0.0;       // F, sum of the layer forces above the excavation level
  double integralActiveWater = 0.0;  // F1, integral of column 2 above the excavation level
  double integralActive = 0.0;       // F2, integral of column 7 above the excavation level
  double apparentPeak = 0.0;         // p of the apparent-pressure trapezoid (column 11)
  // The depth profile as read back from the pressure file and scaled by the widths: column 2
  // ([1]) is the lateral load per unit length of wall.
  std::vector<PressureRow> profile;
  // The lateral load distribution handed to the analysis: depth and load per unit length of wall
  // (the profile's column 2, or the specified active pressure plus surcharge). Load per station is
  // this times the increment length.
  std::vector<double> loadDepth, loadValue;
  double widthRatio = 1.0;  // max(1, WA / WP); kept from the previous case when WP is not positive
};

// How the iteration of a case ended.
enum class IterationOutcome { Closed, DeflectionExceeded, NotClosed, Abandoned };

// Working tables and results of the wall analysis of one case.
struct AnalysisData {
  StationTable baseQ, baseS;  // distributed loads and springs before the curves are added
  StationTable soilReaction;  // soil force per unit length of wall at the last deflections
  // Results per station -1..N+1 (moment also at N+2).
  StationTable slope, moment, shear, netForce;
  StationTable momentBound;  // rounding bound of each moment (scratch of the results)
  int iterations = 0;
  IterationOutcome outcome = IterationOutcome::Closed;
  bool hasResults = false;  // the results tables were computed and written
};

struct RunState {
  DriverState driver;
  std::string title;  // 80 characters: the first 70 of the title record, blank-padded
  ControlRecord control;
  WallRecord wall;
  UnitLabels labels;
  SectionData sections;
  LoadsAndSupports loads;
  SoilData soil;
  CurveData curves;
  StationGrid grid;
  AnalysisData analysis;
  EarthPressureData pressure;
  std::string caseHeading;  // the heading of the current case as the report gives it
  RunResults results;       // what the run found so far
  bool english() const { return control.unitsFlag == 1; }
  bool si() const { return control.unitsFlag == 2; }
};

}  // namespace korden

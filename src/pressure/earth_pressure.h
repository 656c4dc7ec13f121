// Earth pressure on the retained side of the wall: the soil profile split into computational
// layers, the earth-pressure coefficients and the effective overburden, the surcharge pressures,
// the water and active forces by layer, the generated depth profile with its pressure file, and
// the hand-off of the lateral load (or the soil-movement curves) to the station grid.
//
// Units are the case's internal units: lengths in inches, forces in pounds (English units) or
// metres and kN (SI); stresses, unit weights and forces per unit width follow from them.
#pragma once

#include <string>
#include <vector>

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

// Two depths closer than this are one depth (layer tops, split depths, the excavation level).
inline constexpr double kDepthTolerance = 1.0e-5;
// Degrees per radian of the method.
inline constexpr double kDegreesPerRadian = 57.2958;

// ---- Soil profile (soil_profile.cpp) ----

struct ProfileSplit {
  bool tooManyLayers = false;    // more than kMaxComputationalLayers would be formed
  bool excavationFound = false;  // a layer top lies at the excavation level inside the soil
};

// Takes over the wall information and the soil layers, splits the layers at the excavation level
// and the backfill water table, and sets the flags of every computational layer. A water table
// above the top of the soil splits the profile at the top of the soil (the water pressures keep the
// real water table); a soil profile that ends above the tip of the wall has its last layer carried
// down to the tip. Layers without thickness are skipped (see soil_layers.h).
ProfileSplit splitSoilProfile(RunState& state);

// Effective vertical stress at the top of every computational layer.
void computeOverburden(EarthPressureData& ep);
// Vertical stress that the active pressure of layer `l` takes at depth z, where the effective
// overburden is `effective`: the effective stress, or for an undrained layer below the backfill
// water table the total stress (effective stress plus the water pressure at z).
double activeVerticalStress(const EarthPressureData& ep, const EarthPressureLayer& l,
                            double effective, double z);
void writeOverburden(OutputFile& out, const RunState& state);

// ---- Coefficients (coefficients.cpp) ----

// Active (Rankine, or with the backfill slope), passive and at-rest coefficients of every layer,
// printed with the notes; the optional earth coefficient replaces Ka afterwards. The slope warning
// goes to the report and to the auxiliary file.
void computeCoefficients(RunState& state, OutputFile& report, OutputFile& aux);

// ---- Surcharges (surcharge.cpp) ----

// One surface load as the pressure formulas see it: magnitude already times its factor.
struct SurchargeLoad {
  int type = 0;            // 1 point, 2 line, 3 strip
  double magnitude = 0.0;  // Q' = Q x factor
  double distance = 0.0;   // horizontal distance to the load (middle of a strip)
  double width = 0.0;      // strip width
};

// Which constants 4/pi and 2/pi the formulas use: pi as 3.1416 (held in single precision) for the
// depth evaluation, the rounded factors 1.273 and 0.6366 for the layer integration.
enum class SurchargeConstants { kDepthPoint, kLayerIntegration };

// Lateral pressure of one load at a depth zl below the level of the load, for the free height H.
double surchargeLoadPressure(const SurchargeLoad& load, double freeHeight, double zl,
                             SurchargeConstants constants);

// Sum of the pressures of the surcharge table at the depth z below the top of the wall, as step
// values on a 200-step grid over the wall length.
double surchargeAtDepth(const std::vector<Surcharge>& loads, double freeHeight, double wallLength,
                        double z);

// Force per unit width of the surface loads on a layer (ten sub-points): every load of the table
// with its own factor and vertical distance, or the loads of the surface record when the table is
// empty.
double surchargeForceOnLayer(const SoilData& soil, double freeHeight, double ztop,
                             double thickness);

// Stops the run when the surcharges cannot be evaluated: a free height that is not positive, or a
// load type other than 1, 2 and 3.
void checkSurcharges(const SoilData& soil);

// ---- Layer forces and the input echo (layer_forces.cpp) ----

// Wall, surcharge and soil information.
void writeEarthPressureEcho(OutputFile& out, const RunState& state);

// Active and water forces of the layers above the excavation level, their report sections and the
// net active force (with its message when it is not positive).
void computeLayerForces(RunState& state, OutputFile& report);

// ---- Generated distributions (distributions.cpp) ----

// Tie-backs and struts as the apparent-pressure diagrams see them.
struct SupportDepths {
  int count = 0;
  double uppermost = 0.0;  // H1, station times increment length
  double lowest = 0.0;     // depth of the lowest support
};
SupportDepths supportDepths(const RunState& state);

// A trapezoid of apparent pressure: from 0 at the top of the wall up to `peak` at depth `rise`,
// constant down to `plateauEnd`, then down to 0 over `fall`.
struct Trapezoid {
  double peak = 0.0;
  double rise = 0.0;
  double plateauEnd = 0.0;
  double fall = 0.0;
  double at(double z) const;
};

// Peak of an apparent diagram of total force F (the support rule of the FHWA diagram).
double supportRulePeak(double force, double freeHeight, const SupportDepths& supports);

// The Terzaghi and Peck diagram of the layers above the excavation level.
Trapezoid terzaghiPeckTrapezoid(const EarthPressureData& ep);

// The depth profile (12 columns per row) as the generator writes it, with the integrals F1, F2
// and the apparent peak set in `state.pressure`.
std::vector<PressureRow> generateDepthProfile(RunState& state);

// Number of rows of the pressure file: the top row, the points of every layer but the last, and
// the points of the last layer down to the tip of the wall.
int pressureRowCount(const RunState& state);

// ---- Pressure file (pressure_file.cpp) ----

// Writes the count and the rows; stops the run when the file cannot be created.
void writePressureFile(const std::string& name, int count, const std::vector<PressureRow>& rows);
// Reads the count and exactly that many rows back; stops the run when the file cannot be read.
std::vector<PressureRow> readPressureFile(const std::string& name);
// Columns 2 to 12 times the width: WA down to the excavation level, WP below; column 2 becomes
// column 12 times the width.
void scaleByWidths(std::vector<PressureRow>& rows, double freeHeight, double widthActive,
                   double widthResistance);
// The caption of the option and the table of depth and lateral load.
void writeGeneratedPressure(OutputFile& out, const RunState& state);

// ---- Loads on the stations and the soil-movement curves (soil_movement.cpp) ----

// Lateral load per unit length at depth z, interpolated linearly between the rows that bracket
// it: 0 above the first row, the last value below the last row.
double lateralLoadAt(const std::vector<double>& depth, const std::vector<double>& value, double z);

// The retained-side curve of station k (deflection y ascending, p as force per station).
TableCurve soilMovementCurve(const RunState& state, int station);

// Adds the lateral load to Q from station 1 on and, with the soil-movement option, builds the
// retained-side curves down to the excavation level instead of loading those stations.
void addLateralLoads(RunState& state);

}  // namespace korden

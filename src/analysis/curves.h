// Soil resistance curves in the wall analysis: the curve table, the linearisation of a curve at
// a deflection and the distribution of the linearised curves over the stations.
#pragma once

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

// A curve replaced at one deflection by the straight segment on which the deflection lies:
// the soil force is intercept - slope * y; reaction is its value at the deflection.
struct LinearisedCurve {
  double slope = 0.0;      // spring (force per station per unit deflection)
  double intercept = 0.0;  // force per station at zero deflection
  double reaction = 0.0;   // force per station at the deflection
};

// Beyond its end points a user curve extends its end segments; a generated curve (holdEndValues)
// keeps its end values.
LinearisedCurve lineariseCurve(const TableCurve& curve, double y);

// Soil-movement option: the retained-side curves take the place of the user curves at or above
// the excavation level, that is at stations up to the deepest retained-side curve. Those user
// curves are removed for the case, each with a warning in the report; deeper ones stay.
void dropUserCurvesInPlaceOfSoilMovement(CurveData& curves, OutputFile& report);

// Fills the curve table: the soil-movement curves first, then the user-specified curves (points
// times their multipliers, p also times h), each at its own station, then the generated curves.
// A user curve has CONTD 1 at or below the excavation level and 0 above it; with generated curves
// every curve has CONTD 1. More than the table holds stops with the storage message.
void fillCurveTable(RunState& state);

// Resets Q and S at stations -1..N+1 to their base values and the soil reaction to zero, then adds
// every curve linearised at the current deflections. A span given upwards stops the run with
// "STATIONS NOT IN ORDER"; a negative CONTD returns false: the analysis of the case is abandoned.
bool distributeCurves(RunState& state);

}  // namespace korden

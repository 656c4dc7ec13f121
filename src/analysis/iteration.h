// The nonlinear iteration of the wall against its soil resistance curves.
#pragma once

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

// Relaxation factor of an oscillating iteration for the relaxation counter c: 1/2 for c = 0,
// then (c - m + 1.5)/m with the band size m = 2, 4, ..., 64 (1/m in single precision). The
// counter is capped at 126 so that the factor never exceeds 1.
double relaxationFactor(int counter);

// Iterates to closure (or to the deflection limit or the iteration limit), writing the monitoring
// table to `aux` and the outcome lines to `report` and `aux`. Leaves the final deflections, EI
// and soil reaction in the state and sets state.analysis.outcome and .iterations.
void iterateWall(RunState& state, OutputFile& report, OutputFile& aux);

}  // namespace korden

// Echo of the input tables into the output report, each written right after its table is read.
#pragma once

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

// Program control parameters (with the hinge lines only when tie-backs or struts exist).
void echoControl(OutputFile& out, const RunState& state);
// Height of wall, number of increments, increment length and the iteration controls.
void echoWall(OutputFile& out, const RunState& state);
// Specified deflections and slopes: the banner and heads (or the empty form when there are no
// points) and then one row per point as it is read.
void echoSpecifiedHeading(OutputFile& out, const RunState& state);
void echoSpecifiedPoint(OutputFile& out, const RunState& state, const SpecifiedPoint& point);
void echoWallSections(OutputFile& out, const RunState& state);
// Every cross section, then the cross-section property table.
void echoCrossSections(OutputFile& out, const RunState& state);
// User-defined and internally generated moment-curvature tables.
void echoNonlinearEI(OutputFile& out, const RunState& state);
// Stiffness and load data (load rows, restraints and supports as records of their own), then the
// tie-back and strut tables with the wale lines.
void echoStiffnessAndLoad(OutputFile& out, const RunState& state);
void echoSupports(OutputFile& out, const RunState& state);
void echoActivePressure(OutputFile& out, const RunState& state);
void echoUserCurves(OutputFile& out, const RunState& state);

}  // namespace korden

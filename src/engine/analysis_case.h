// The steps of one analysis case after its records are read: the station tables, the earth
// pressure, the wall analysis with its results, and the plot data block.
#pragma once

#include "engine/run_driver.h"
#include "engine/run_state.h"

namespace korden {

// Spreads the wall sections' EI, the stiffness and load records and the restraints over the
// stations, and adds the tie-back and strut springs and prestress loads.
void distributeStiffnessAndSupports(RunState& state);
// Stops the run when the stiffness and load data reach past the bottom of the wall.
void checkLoadsWithinWall(const RunState& state);
// Earth pressure (src/pressure): right after the soil records are read, the generation of the
// soil profile, coefficients and generated distribution when the case asks for one.
void generateEarthPressure(RunState& state, RunFiles& files);
// The stops of the earth-pressure generation that follow from the input alone.
void checkEarthPressureInput(const RunState& state);
// Right before the analysis: the pressure loads (generated distribution, or the specified active
// pressure table plus surcharge pressure) added to the station loads.
void applyPressureLoads(RunState& state, RunFiles& files);
// Soil resistance curves (src/pycurves): generates the curves of the soil layers when the run
// asks for them, writes them to the report and the curve exchange file and takes them over into
// state.curves.generated.
void generateSoilResistanceCurves(RunState& state, RunFiles& files);
// The stops of the curve generation that follow from the input alone.
void checkCurveGenerationInput(const RunState& state);
// The stops of analyseCase that follow from the input alone, in its order, without generating,
// analysing or writing anything: a reader of the input learns what the analysis would stop on.
void checkAnalysisInput(RunState& state);
// Analyses the wall and writes the results; sets the failed-case flag.
void analyseCase(RunState& state, RunFiles& files);
// Writes the plot data block of the case just finished.
void writePlotBlock(RunState& state, RunFiles& files, int continuationCode);
// Releases the tables reserved for one case (the specified active earth pressure).
void releaseCaseTables(RunState& state);

}  // namespace korden

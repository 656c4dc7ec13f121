// The plot data file: unlabelled numbers in a fixed order for the host's plots.
#pragma once

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

// Curve section for the user-specified curves: units flag and curve count, then per curve its
// station and point count and its points (y, p per unit length after the multipliers).
void writeUserCurvePlotSection(const RunState& state, OutputFile& plot);

// Free-format value as the plot file writes it (the shortest text that reads back as the value).
std::string plotValue(double value);
// The same value after one blank, appended to a record being built.
void appendPlotValue(std::string& record, double value);

}  // namespace korden

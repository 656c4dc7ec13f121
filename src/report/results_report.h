// Results of a closed analysis: station results, support forces, and their report tables.
#pragma once

#include <initializer_list>
#include <string>

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

// Slope, moment, shear and net force per station from the final deflections (after the
// extrapolation of the fictitious ends), with the applied-couple corrections.
void computeStationResults(RunState& state);
// Horizontal force per station, force per station along the support and force per support of
// every tie-back and strut.
void computeSupportForces(RunState& state);
// Stops the run when a result that the report or the plot data file would show is not a finite
// number (no NaN or Inf is ever written).
void requireFiniteResults(const RunState& state);
// The results table, restraint, tie-back (with wales), strut (with wales) and node-reaction
// tables, each only when the problem has such items.
void writeResults(const RunState& state, OutputFile& report);

// The row layout of the tie-back, strut and node-reaction tables, which the plot data file also
// uses: 1X, I5, 2X, I5, 2X, 1P E12.3, then 2X, 1P E15.4 per further value.
std::string supportRow(int number, int second, double third, std::initializer_list<double> rest);

// Wale results of one support kind (Part of the tie-back and strut tables when wales are asked).
struct WaleResult {
  double reaction = 0.0;         // horizontal reaction per support
  double distributedLoad = 0.0;  // equivalent distributed load on the wale
  double maxMoment = 0.0;
};
WaleResult waleResult(const RunState& state, const Support& support);
void writeWalesTable(const RunState& state, OutputFile& report,
                     const std::vector<Support>& supports);

}  // namespace korden

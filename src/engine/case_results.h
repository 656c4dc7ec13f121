// What a run found, case by case, for callers inside the process (the korden command): the
// per-station results of every closed case, the support forces, and how the run ended. The host
// reads the files instead; nothing here is written to them.
#pragma once

#include <string>
#include <vector>

namespace korden {

struct RunState;

// One tie-back or strut of a closed case, forces as the report's support table gives them.
struct SupportResult {
  bool tieBack = true;  // else a strut or raker
  int number = 0;       // 1.. within its kind
  int station = 0;
  double depth = 0.0;  // feet in English units, metres in SI
  double horizontalForcePerStation = 0.0;
  double forcePerStation = 0.0;  // along the support
  double forcePerSupport = 0.0;
};

struct CaseResults {
  int number = 0;               // 1, 2, ... in the order of the input
  std::string heading;          // as the report heads the case, trailing blanks removed
  int unitsFlag = 1;            // 1 English (in, lb), 2 SI (m, kN)
  bool closed = false;          // the results tables were written
  std::string noResultsReason;  // why not, when not closed
  int iterations = 0;
  // Per station 0..N in the report's units: depth in feet (English) or metres; deflection in in
  // or m; slope in rad; moment lb-in or kN-m; shear lb or kN; soil reaction lb/in or kN/m; net
  // force per station lb or kN; EI lb-in^2 or kN-m^2.
  std::vector<double> depth, deflection, slope, moment, shear, soilReaction, netForce, ei;
  std::vector<SupportResult> supports;
  double excavationDepth = 0.0;  // feet or metres; 0 when the case gives none
  // Generated earth pressure acting on the wall: depth (feet or metres) and load per unit length
  // of wall (lb/in or kN/m). Empty when the case does not generate one.
  std::vector<double> pressureDepth, pressure;
  // Largest distance between neighbouring generated p-y curves along the wall (feet or metres);
  // 0 when the case generates fewer than two.
  double largestCurveSpacing = 0.0;
};

// How a run ended.
enum class RunEnd {
  Normal,         // every case read and analysed (closed or not)
  InputError,     // a value could not be read, or the input data file ended early
  ErrorStop,      // an error stop of the input checks (capacity, order, data beyond the end)
  GeneratorStop,  // a generator check that cannot continue, with its stop code
  WriteFailed,    // an output file could not be written
  FilesFailed,    // the run-control file or the files it names could not be used
  OutOfMemory,
};

struct RunResults {
  RunEnd end = RunEnd::FilesFailed;
  int errorLine = 0;      // line of the input data file of an input error, 0 when unknown
  std::string errorText;  // the message of the stop as the report gives it, blanks trimmed
  int stopCode = 0;       // of a generator stop
  std::string inputName, reportName;  // as the run-control file names them
  std::vector<CaseResults> cases;
};

// Appends the results of the case just analysed (closed or not) to `results`.
void recordCaseResults(const RunState& state, RunResults& results);

}  // namespace korden

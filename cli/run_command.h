// `korden run INPUT`: writes the run-control file in a scratch folder, runs the engine, prints
// where the outputs are and what the run found, and writes the plots and tables asked for.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "engine/case_results.h"

namespace korden {

struct RunOptions {
  std::string input;
  std::string outDir;        // empty: the input's folder
  bool keepScratch = false;  // NAMES.dat and the curve and pressure files beside the outputs
  bool plots = false;
  bool csv = false;
};

// Reads the arguments after "run"; false (with the reason on `err`) when they are not usable.
bool parseRunOptions(const std::vector<std::string>& args, RunOptions& options, std::ostream& err);

// The whole command; returns its exit status.
int runInputCommand(const RunOptions& options);

// `korden` alone: the host's call on ./NAMES.dat, with the same exit statuses and summary.
int runNamesFileCommand();

// The summary, warnings and closing line of a finished run, and the input stop as an editor
// reads it; returns the exit status.
int reportRun(const RunResults& run, const std::string& inputName, const std::string& reportName,
              int engineCode);

}  // namespace korden

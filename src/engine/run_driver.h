// The run driver: reads the run-control file, opens the files it names, loops over the analysis
// cases of the input data file and ends the run with "END OF ANALYSIS".
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "input/list_reader.h"
#include "report/output_file.h"

namespace korden {

// Return value of a run whose files could not be read or opened (nothing was analysed).
inline constexpr int kRunFilesFailed = -1;

// The files of one run (units 5, 6, 3 and 4 of the run-control file).
struct RunFiles {
  InputFile input;
  OutputFile report;
  OutputFile plot;
  OutputFile aux;
};

// Reads the run-control file at `namesPath` into the driver state. Missing name records are left
// blank. Returns false (with a message on `err`) when the file cannot be opened.
bool readRunControl(const std::string& namesPath, DriverState& driver, std::ostream& err);

// One whole run as the host's call makes it: returns 0 at a normal end or after an input error
// stop, the stop code of a generator stop, kRunFilesFailed when the files cannot be opened.
// When `summaries` is given it receives what each analysed case found.
int runEngine(const std::string& namesPath, std::ostream& err,
              std::vector<CaseSummary>* summaries = nullptr);

// The case loop over already opened files (used by runEngine and the tests).
int runCases(RunState& state, RunFiles& files);

}  // namespace korden

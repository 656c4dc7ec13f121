// The run driver: reads the run-control file, opens the files it names, loops over the analysis
// cases of the input data file and ends the run with "END OF ANALYSIS".
#pragma once

#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "input/list_reader.h"
#include "korden/korden.h"
#include "report/output_file.h"

namespace korden {

// Return value of a run whose files could not be read, told apart or opened (nothing was
// analysed and no output was written over).
inline constexpr int kRunFilesFailed = KORDEN_FILES_FAILED;
// Return value of a run stopped because an output file could not be written.
inline constexpr int kRunWriteFailed = KORDEN_WRITE_FAILED;

// The files of one run (units 5, 6, 3 and 4 of the run-control file).
struct RunFiles {
  InputFile input;
  OutputFile report;
  OutputFile plot;
  OutputFile aux;
};

// Reads the run-control file at `namesPath` into the driver state. Missing name records are left
// blank. Returns false (with a message on `err`) when the file cannot be opened or a name is
// longer than its field of 255 characters.
bool readRunControl(const std::string& namesPath, DriverState& driver, std::ostream& err);

// True when the named files are six different files, none of them an output that is the input
// data file (blank names are not files); otherwise says which on `err`.
bool checkDistinctFiles(DriverState& driver, std::ostream& err);

// Opens the output report, the plot data file and the auxiliary output file once every named
// output is known to be creatable; a file without a name is not written (said on `err`).
bool openOutputs(DriverState& driver, RunFiles& files, std::ostream& err);

// One whole run as the host's call makes it: returns 0 at a normal end or after an input error
// stop, the stop code of a generator stop, kRunFilesFailed when the files cannot be opened,
// kRunWriteFailed when an output cannot be written. When `results` is given it receives what
// each case found and how the run ended.
int runEngine(const std::string& namesPath, std::ostream& err, RunResults* results = nullptr);

// The case loop over already opened files (used by runEngine and the tests), closing them at the
// end; returns as runEngine does. A write failure is described on `err`.
int runCases(RunState& state, RunFiles& files, std::ostream& err = std::cerr);

}  // namespace korden

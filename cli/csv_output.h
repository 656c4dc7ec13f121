// `--csv`: the results table of each closed case as STEM-N.csv, and the support forces of every
// case as STEM-supports.csv, in the report's units (depth in feet or metres).
#pragma once

#include <filesystem>
#include <ostream>

#include "engine/case_results.h"

namespace korden {

// Writes the files beside `stem` (a path without extension) and names them on `out`; false,
// with the file named on `err`, when one cannot be written.
bool writeCsvFiles(const RunResults& run, const std::filesystem::path& stem, std::ostream& out,
                   std::ostream& err);

}  // namespace korden

// korden explain INPUT: every record of the input data file as the engine reads it, case by case,
// with the name, value and unit of each field.
#pragma once

#include <ostream>
#include <string>

namespace korden::cli {

// Prints the records of the input data file at `path` to `out`. Returns 0 when the whole file
// reads without an error, 1 otherwise (the error is printed where the reading stopped).
int explainInput(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace korden::cli

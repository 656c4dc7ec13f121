// korden check INPUT: reads the input data file as the engine does, without analysing it, and
// reports every problem found as "INPUT:LINE: error|warning: RECORD, FIELD: message".
#pragma once

#include <ostream>
#include <string>

namespace korden::cli {

// Returns 1 when there is an error (what the engine would stop on), else 0.
int checkInput(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace korden::cli

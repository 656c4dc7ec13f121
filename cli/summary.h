// One-screen summary of a finished run, read back from the output report.
#pragma once

#include <ostream>
#include <string>

namespace korden {

void printRunSummary(std::ostream& out, const std::string& reportPath);

}  // namespace korden

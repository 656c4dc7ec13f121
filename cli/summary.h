// One-screen summary of a finished run.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "engine/run_state.h"

namespace korden {

void printRunSummary(std::ostream& out, const std::vector<CaseSummary>& cases, int unitsFlag,
                     const std::string& reportPath);

}  // namespace korden

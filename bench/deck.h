// The benchmark wall: a staged 34-ft sheet-pile wall of 409 increments of 1 in, 200 user p-y
// curves of 17 points per stage, three construction stages (a cantilever cut, then a tie-back and
// two deeper cuts). Shared by the whole-run benchmark and the tool that writes it to a file for
// the whole-process timing.
#pragma once

#include <string>

namespace korden::bench {

// The input data file of the three stages.
std::string benchDeck();

// The run-control file that names `stem` + .dat/.out/.plt/.aux/.pyc/.prs in `directory` (empty:
// names without a directory, relative to the folder the engine runs in).
std::string benchNames(const std::string& directory, const std::string& stem);

}  // namespace korden::bench

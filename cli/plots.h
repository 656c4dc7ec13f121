// `--plots`: one SVG per closed case (STEM-N.svg) with panels side by side on a shared depth axis
// running downwards, and STEM-stages.svg overlaying every closed case when there are two or more.
#pragma once

#include <filesystem>
#include <ostream>

#include "engine/case_results.h"

namespace korden {

// False in a build without the plotting library.
bool plotsAvailable();

// Writes the pictures beside `stem` (a path without extension) and names them on `out`; false,
// with the reason on `err`, when one cannot be written.
bool writePlots(const RunResults& run, const std::filesystem::path& stem, std::ostream& out,
                std::ostream& err);

}  // namespace korden

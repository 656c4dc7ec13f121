// The plots of a build without the plotting library: none.
#include "cli/plots.h"

namespace korden {

bool plotsAvailable() { return false; }

bool writePlots(const RunResults&, const std::filesystem::path&, std::ostream&, std::ostream& err) {
  err << "korden: plots are not available in this build\n";
  return false;
}

}  // namespace korden

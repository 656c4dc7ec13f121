// Pending: earth pressure generation.
#include "engine/analysis_case.h"

namespace korden {
void generateEarthPressure(RunState&, RunFiles&) {}
void applyPressureLoads(RunState&, RunFiles&) {}
}  // namespace korden

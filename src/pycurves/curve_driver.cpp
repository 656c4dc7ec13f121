// Pending: generation of the soil resistance curves from the soil layers.
#include "engine/analysis_case.h"

namespace korden {
void generateSoilResistanceCurves(RunState&, RunFiles&) {}
}  // namespace korden

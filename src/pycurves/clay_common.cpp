// What the three clay criteria share: the slope of the excavation ground and the ultimate
// resistance of a continuous wall.
#include <cmath>

#include "pycurves/criteria.h"

namespace korden {

double slopeRadians(double degrees) { return degrees / 57.2958; }

double slopeFactor(double degrees) {
  return 1.0 / (1.0 + std::tan(std::fabs(slopeRadians(degrees))));
}

double continuousClayUltimate(const ClayInput& in) {
  if (in.excavation) return (in.gamma * in.plainDepth + 2.0 * in.c) * in.b * in.slopeFactor;
  return (in.backfillStress + 2.0 * in.c) * in.b;
}

}  // namespace korden

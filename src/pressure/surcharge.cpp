// Lateral pressure of surface loads behind the wall: point loads, line loads parallel to the wall
// and strip loads. Point and line loads use the elastic (Boussinesq) solutions as modified for
// rigid walls (the 0.28/1.77 and 0.203/4/pi forms, with the switch at m = x/H = 0.4); strip loads
// use the elastic strip solution 2q/pi (beta - sin(beta) cos(2 alpha)).
#include <cmath>
#include <string>

#include "engine/errors.h"
#include "engine/single_precision.h"
#include "pressure/earth_pressure.h"

namespace korden {

namespace {

constexpr int kDepthGridSteps = 200;
constexpr int kLayerSubPoints = 10;
// Loads of the surface record smaller than this are not applied to the layers.
constexpr double kSmallestLoad = 1.0e-4;

}  // namespace

double surchargeLoadPressure(const SurchargeLoad& load, double freeHeight, double zl,
                             SurchargeConstants constants) {
  const bool layer = constants == SurchargeConstants::kLayerIntegration;
  const double fourOverPi = layer ? 1.273 : 4.0 / kPiSingle;
  const double twoOverPi = layer ? 0.6366 : 2.0 / kPiSingle;
  const double h = freeHeight;
  const double m = load.distance / h;
  const double n = zl / h;
  const double q = load.magnitude;
  switch (load.type) {
    case 1:
      if (m <= 0.4) return 0.28 * q / (h * h) * n * n / std::pow(0.16 + n * n, 3);
      return 1.77 * q / (h * h) * m * m * n * n / std::pow(m * m + n * n, 3);
    case 2:
      if (m <= 0.4) return 0.203 * q / h * n / std::pow(0.16 + n * n, 2);
      return fourOverPi * q / h * m * m * n / std::pow(m * m + n * n, 2);
    case 3: {
      const double a1 = std::atan((load.distance + load.width / 2.0) / zl);
      const double a2 = std::atan((load.distance - load.width / 2.0) / zl);
      const double d = a1 - a2;
      return twoOverPi * q * (d - std::sin(d) * std::cos(a1 + a2));
    }
    default:
      return 0.0;
  }
}

double surchargeAtDepth(const std::vector<Surcharge>& loads, double freeHeight, double wallLength,
                        double z) {
  if (loads.empty()) return 0.0;
  const double dz = wallLength / kDepthGridSteps;
  double total = 0.0;
  for (const Surcharge& s : loads) {
    const double zl = z + s.vertical;
    if (!(zl > dz) || !(dz > 0.0)) continue;
    // The largest grid step k (1..200) with k*dz < zl: the value is a step function of depth.
    int k = static_cast<int>(std::fmin(std::floor(zl / dz), kDepthGridSteps));
    while (k > 1 && k * dz >= zl) --k;
    while (k < kDepthGridSteps && (k + 1) * dz < zl) ++k;
    const SurchargeLoad load{s.type, s.magnitude * s.factor, s.distance, s.width};
    total += surchargeLoadPressure(load, freeHeight, k * dz, SurchargeConstants::kDepthPoint);
  }
  return total;
}

double surchargeForceOnLayer(const SoilData& soil, double freeHeight, double ztop,
                             double thickness) {
  if (!(thickness > 0.0)) return 0.0;
  const double dz = thickness / kLayerSubPoints;
  auto forceOf = [&](const SurchargeLoad& load, double vertical) {
    double force = 0.0;
    for (int k = 1; k <= kLayerSubPoints; ++k) {
      const double zl = ztop + k * dz + vertical;
      if (zl <= 0.0) continue;  // above the level of the load
      force +=
          dz * surchargeLoadPressure(load, freeHeight, zl, SurchargeConstants::kLayerIntegration);
    }
    return force;
  };
  double total = 0.0;
  if (soil.surcharges.empty()) {
    // The loads of the surface record: one magnitude per type at one distance, at the level of
    // the top of the wall, factor 1.
    const SurfaceRecord& r = soil.surface;
    const double magnitudes[3] = {r.pointLoad, r.lineLoad, r.stripLoad};
    for (int type = 1; type <= 3; ++type) {
      if (magnitudes[type - 1] > kSmallestLoad) {
        total += forceOf({type, magnitudes[type - 1], r.distance, r.stripWidth}, 0.0);
      }
    }
    return total;
  }
  // Every load of the table with its own factor and vertical distance.
  for (const Surcharge& s : soil.surcharges) {
    const double magnitude = s.magnitude * s.factor;
    if (magnitude > kSmallestLoad) {
      total += forceOf({s.type, magnitude, s.distance, s.width}, s.vertical);
    }
  }
  return total;
}

void checkSurcharges(const SoilData& soil) {
  const SurfaceRecord& r = soil.surface;
  const bool surfaceLoads =
      r.pointLoad > kSmallestLoad || r.lineLoad > kSmallestLoad || r.stripLoad > kSmallestLoad;
  if ((!soil.surcharges.empty() || surfaceLoads) && !(soil.wall.freeHeight > 0.0)) {
    stopWithMessage(
        "     ERROR STOP -- FREE HEIGHT OF WALL MUST BE GREATER THAN ZERO FOR SURCHARGE LOADS");
  }
  for (size_t i = 0; i < soil.surcharges.size(); ++i) {
    const int type = soil.surcharges[i].type;
    if (type < 1 || type > 3) {
      stopWithMessage("     ERROR STOP -- SURCHARGE LOADING NO. " + std::to_string(i + 1) +
                      " HAS TYPE " + std::to_string(type) + ", NOT 1, 2 OR 3");
    }
  }
}

}  // namespace korden

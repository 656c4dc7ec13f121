// The retained-side soil profile: the input soil layers cut at the excavation level and at the
// backfill water table into computational layers, and the effective overburden at their tops.
#include <algorithm>
#include <cmath>
#include <string>

#include "pressure/earth_pressure.h"
#include "pressure/soil_layers.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

// The soil values one input layer contributes to the profile (taken at the top of the layer).
struct InputLayer {
  int type = 0;
  double thickness = 0.0;
  double strength = 0.0;
  double phi = 0.0;
  double unitWeight = 0.0;
  double optionalCoefficient = 0.0;
  bool drained = true;
};

std::vector<InputLayer> inputLayers(const SoilData& soil, const SoilLayerStack& stack) {
  std::vector<InputLayer> layers;
  for (const StackedSoilLayer& stacked : stack.layers) {
    const SoilLayer& s = stacked.input(soil);
    InputLayer l;
    l.thickness = stacked.thickness();
    l.type = s.type;
    l.strength = s.top.cohesion;
    l.phi = s.top.friction;
    l.unitWeight = s.top.unitWeight;
    // Rock takes no optional earth coefficient.
    l.optionalCoefficient = (s.type == 6 || s.type == 7) ? 0.0 : s.top.sixth;
    l.drained = s.type >= 4 || l.optionalCoefficient > 1.0e-7;
    layers.push_back(l);
  }
  return layers;
}

EarthPressureLayer computationalLayer(const InputLayer& in, double ztop, double thickness,
                                      double modification) {
  EarthPressureLayer l;
  l.thickness = thickness;
  l.strength = in.strength;
  l.phi = in.phi;
  l.unitWeight = in.unitWeight;
  l.soilType = in.type;
  l.drained = in.drained;
  l.ztop = ztop;
  l.optionalCoefficient = in.optionalCoefficient;
  l.modification = modification;
  return l;
}

}  // namespace

ProfileSplit splitSoilProfile(RunState& state) {
  EarthPressureData& ep = state.pressure;
  const WallInformation& wall = state.soil.wall;
  ep.layers.clear();
  ep.excavationLayer = -1;
  ep.waterTableLayer = -1;
  ep.waterUnitWeight = state.english() ? 0.036 : 9.81;
  ep.freeHeight = wall.freeHeight;
  ep.waterTable = wall.waterBackfill;
  ep.surfacePressure = state.soil.surface.uniformPressure;
  ep.waterSwitch = wall.waterSwitch;
  ep.netActiveForce = ep.integralActiveWater = ep.integralActive = ep.apparentPeak = 0.0;

  ProfileSplit result;
  const SoilLayerStack stack = stackSoilLayers(state.soil);
  std::vector<InputLayer> input = inputLayers(state.soil, stack);
  if (input.empty()) return result;

  const double soilTop = stack.top();
  // A water table above the ground surface splits the profile at the ground surface (the split
  // would otherwise form a layer of negative thickness); the water pressures keep the real water
  // table, whose free water stands on the soil.
  const double waterSplit = std::max(ep.waterTable, soilTop);

  const double describedBottom = stack.bottom();
  // The depth profile must reach the tip of the wall: carry the last layer down to it.
  const double wallLength = state.wall.nIncrements * state.wall.incrementLength;
  if (describedBottom < wallLength - kDepthTolerance) {
    input.back().thickness += wallLength - describedBottom;
  }

  // Split depths in increasing depth, one for depths closer than the tolerance, none at (or
  // above) the top of the soil.
  std::vector<double> candidates = {ep.freeHeight, waterSplit};
  std::sort(candidates.begin(), candidates.end());
  std::vector<double> splits;
  for (double d : candidates) {
    if (d <= soilTop + kDepthTolerance) continue;
    if (!splits.empty() && std::fabs(d - splits.back()) <= kDepthTolerance) continue;
    splits.push_back(d);
  }

  const double modification = wall.activeModification;
  size_t next = 0;
  double zt = soilTop;
  auto close = [&](const InputLayer& in, double top, double thickness) {
    if (static_cast<int>(ep.layers.size()) >= kMaxComputationalLayers) {
      result.tooManyLayers = true;
      return false;
    }
    ep.layers.push_back(computationalLayer(in, top, thickness, modification));
    return true;
  };
  for (const InputLayer& in : input) {
    double top = zt;
    const double zb = zt + in.thickness;
    bool open = true;
    while (open) {
      if (next < splits.size()) {
        const double d = splits[next];
        if (std::fabs(zb - d) <= kDepthTolerance) {
          // The layer boundary is the split depth.
          splits[next] = zb;
          ++next;
          continue;
        }
        if (zb > d) {
          if (!close(in, top, d - top)) return result;
          top = d;
          ++next;
          continue;
        }
      }
      if (!close(in, top, zb - top)) return result;
      open = false;
    }
    zt = zb;
  }

  for (size_t i = 0; i < ep.layers.size(); ++i) {
    EarthPressureLayer& l = ep.layers[i];
    if (ep.excavationLayer < 0 && std::fabs(l.ztop - ep.freeHeight) <= kDepthTolerance) {
      ep.excavationLayer = static_cast<int>(i);
    }
    if (ep.waterTableLayer < 0 && std::fabs(l.ztop - waterSplit) <= kDepthTolerance) {
      ep.waterTableLayer = static_cast<int>(i);
    }
    l.belowWater = l.ztop >= ep.waterTable - kDepthTolerance;
  }
  // An excavation level below the bottom of the soil described in the input has no soil below
  // it, even when the last layer was carried down to the tip of the wall; soil that ends exactly
  // at the excavation level is carried on below it like soil that ends above the tip.
  result.excavationFound =
      ep.excavationLayer >= 0 && ep.freeHeight <= describedBottom + kDepthTolerance;
  return result;
}

void computeOverburden(EarthPressureData& ep) {
  const size_t n = ep.layers.size();
  if (n == 0) return;
  ep.layers[0].overburden = ep.surfacePressure;
  for (size_t i = 0; i + 1 < n; ++i) {
    ep.layers[i + 1].overburden =
        ep.layers[i].overburden + ep.layers[i].thickness * ep.layers[i].unitWeight;
  }
  // Free water standing above the ground surface loads the surface and the pores alike, so the
  // effective stress counts the water from the ground surface down.
  const double waterTop = std::max(ep.waterTable, ep.layers[0].ztop);
  for (EarthPressureLayer& l : ep.layers) {
    if (l.belowWater) l.overburden -= (l.ztop - waterTop) * ep.waterUnitWeight;
  }
}

double activeVerticalStress(const EarthPressureData& ep, const EarthPressureLayer& l,
                            double effective, double z) {
  if (l.drained || !l.belowWater) return effective;
  // Undrained below the water table: total stress, the pore water carried with the total unit
  // weight of the layer (sigma_v = sigma'_v + u).
  return effective + std::max(0.0, z - ep.waterTable) * ep.waterUnitWeight;
}

void writeOverburden(OutputFile& out, const RunState& state) {
  const EarthPressureData& ep = state.pressure;
  const UnitLabels& u = state.labels;
  const double depthScale = state.english() ? 12.0 : 1.0;
  writeBanner(out, "*            EFFECTIVE OVERBURDEN STRESS         *");
  out.line(fmt::X(6) + "          DEPTH                     STRESS       ");
  out.line(fmt::X(6) + fmt::X(11) + u.heightShort + fmt::X(24) + stressLabel(u));
  out.blank();
  for (const EarthPressureLayer& l : ep.layers) {
    out.line(fmt::X(12) + fmt::E(l.ztop / depthScale, 10, 3) + fmt::X(17) +
             fmt::E(l.overburden, 10, 3));
  }
}

}  // namespace korden

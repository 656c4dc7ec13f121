// The retained-side soil profile: the input soil layers cut at the excavation level and at the
// backfill water table into computational layers, and the effective overburden at their tops.
#include <algorithm>
#include <cmath>
#include <string>

#include "pressure/earth_pressure.h"
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

std::vector<InputLayer> inputLayers(const SoilData& soil) {
  std::vector<InputLayer> layers;
  const int count = std::min(soil.nLayers, kMaxSoilLayers);
  for (int i = 0; i < count; ++i) {
    const SoilLayer& s = soil.layers[i];
    InputLayer l;
    l.thickness = s.xBottom - s.xTop;
    if (!(l.thickness > 0.0)) break;  // a thickness of zero or less ends the list
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
  std::vector<InputLayer> input = inputLayers(state.soil);
  if (input.empty()) return result;

  const double soilTop = state.soil.layers[0].xTop;
  // A water table above the ground surface is taken at the ground surface: the split would
  // otherwise form a layer of negative thickness, and the effective stresses of the soil do not
  // depend on free water standing above it.
  if (ep.waterTable < soilTop) ep.waterTable = soilTop;

  double soilBottom = soilTop;
  for (const InputLayer& l : input) soilBottom += l.thickness;
  const double describedBottom = soilBottom;
  // The depth profile must reach the tip of the wall: carry the last layer down to it.
  const double wallLength = state.wall.nIncrements * state.wall.incrementLength;
  if (soilBottom < wallLength - kDepthTolerance) {
    input.back().thickness += wallLength - soilBottom;
  }

  // Split depths in increasing depth, one for depths closer than the tolerance, none at (or
  // above) the top of the soil.
  std::vector<double> candidates = {ep.freeHeight, ep.waterTable};
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
    if (ep.waterTableLayer < 0 && std::fabs(l.ztop - ep.waterTable) <= kDepthTolerance) {
      ep.waterTableLayer = static_cast<int>(i);
    }
    l.belowWater = l.ztop >= ep.waterTable - kDepthTolerance;
  }
  // An excavation level at or below the bottom of the soil described in the input has no soil
  // below it, even when the last layer was carried down to the tip of the wall.
  result.excavationFound =
      ep.excavationLayer >= 0 && ep.freeHeight < describedBottom - kDepthTolerance;
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
  for (EarthPressureLayer& l : ep.layers) {
    if (l.belowWater) l.overburden -= (l.ztop - ep.waterTable) * ep.waterUnitWeight;
  }
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

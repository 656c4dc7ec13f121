// Stacking of the input soil layers and the warnings for layers that do not fit together.
#include "pressure/soil_layers.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "pressure/earth_pressure.h"
#include "report/fortran_format.h"

namespace korden {

SoilLayerStack stackSoilLayers(const SoilData& soil) {
  SoilLayerStack stack;
  const int count = std::clamp(soil.nLayers, 0, kMaxSoilLayers);
  const SoilLayer* previous = nullptr;
  int previousIndex = -1;
  for (int i = 0; i < count; ++i) {
    const SoilLayer& layer = soil.layers[i];
    const double thickness = layer.xBottom - layer.xTop;
    if (!(thickness > 0.0)) {
      stack.notes.push_back({SoilLayerNote::Kind::NoThickness, i, previousIndex, 0.0});
      continue;
    }
    StackedSoilLayer s;
    s.index = i;
    if (previous == nullptr) {
      s.xTop = layer.xTop;
    } else {
      s.xTop = stack.layers.back().xBottom;
      const double mismatch = layer.xTop - previous->xBottom;
      if (std::fabs(mismatch) > kDepthTolerance) {
        stack.notes.push_back(
            {mismatch > 0.0 ? SoilLayerNote::Kind::Gap : SoilLayerNote::Kind::Overlap, i,
             previousIndex, std::fabs(mismatch)});
      }
    }
    s.xBottom = s.xTop + thickness;
    stack.layers.push_back(s);
    previous = &layer;
    previousIndex = i;
  }
  return stack;
}

int SoilLayerStack::layerAt(double x) const {
  if (layers.empty()) return -1;
  for (size_t j = 0; j < layers.size(); ++j) {
    if (layers[j].xBottom >= x) return static_cast<int>(j);
  }
  return static_cast<int>(layers.size()) - 1;
}

void writeSoilLayerWarnings(OutputFile& out, const SoilLayerStack& stack, bool english) {
  const double depthScale = english ? 12.0 : 1.0;
  const std::string unit = english ? " FT" : " M";
  for (const SoilLayerNote& n : stack.notes) {
    const std::string layer = "SOIL LAYER " + std::to_string(n.layer + 1);
    const std::string above = "SOIL LAYER " + std::to_string(n.previous + 1);
    out.blank(2);
    out.line("**** WARNING ****");
    switch (n.kind) {
      case SoilLayerNote::Kind::NoThickness:
        out.line(layer + " HAS NO THICKNESS (ITS X BOTTOM IS NOT BELOW ITS X TOP):");
        out.line("THE LAYER IS SKIPPED AND THE LAYERS BELOW IT ARE KEPT.");
        break;
      case SoilLayerNote::Kind::Gap:
      case SoilLayerNote::Kind::Overlap:
        out.line("THE X TOP OF " + layer + " IS NOT THE X BOTTOM OF " + above + " (" +
                 (n.kind == SoilLayerNote::Kind::Gap ? "A GAP" : "AN OVERLAP") + " OF" +
                 fmt::E(n.mismatch / depthScale, 10, 3) + unit + "):");
        out.line(layer + " IS PLACED DIRECTLY UNDER " + above + " BY ITS THICKNESS.");
        break;
    }
  }
}

}  // namespace korden

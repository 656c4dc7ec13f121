// The input soil layers stacked into one profile, as the earth-pressure generation and the curve
// generation both see them.
//
// The layers are stacked from the X of the top of the first layer that has a thickness, each one
// directly under the one above by its own thickness (X bottom - X top). A layer without thickness
// is skipped rather than ending the list, so that the layers below it keep their soil; a layer
// whose X top is not the X bottom of the layer above (a gap or an overlap in the input) is still
// stacked by its thickness, and both cases are reported as warnings.
#pragma once

#include <vector>

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

struct StackedSoilLayer {
  int index = 0;         // into SoilData::layers
  double xTop = 0.0;     // X of the top as stacked
  double xBottom = 0.0;  // X of the bottom as stacked
  double thickness() const { return xBottom - xTop; }
  const SoilLayer& input(const SoilData& soil) const { return soil.layers[index]; }
};

// What the stacking did with input that does not fit together.
struct SoilLayerNote {
  enum class Kind { NoThickness, Gap, Overlap };
  Kind kind = Kind::NoThickness;
  int layer = 0;          // input layer, 0-based
  int previous = 0;       // the stacked layer above it (gap and overlap)
  double mismatch = 0.0;  // |X top - X bottom of the layer above|
};

struct SoilLayerStack {
  std::vector<StackedSoilLayer> layers;
  std::vector<SoilLayerNote> notes;
  bool empty() const { return layers.empty(); }
  double top() const { return layers.empty() ? 0.0 : layers.front().xTop; }
  double bottom() const { return layers.empty() ? 0.0 : layers.back().xBottom; }
  // The stacked layer whose depth range holds x: the first whose bottom lies at or below x, the
  // last one for x below the profile; -1 for an empty stack.
  int layerAt(double x) const;
};

SoilLayerStack stackSoilLayers(const SoilData& soil);

// One "**** WARNING ****" block per note; depths in feet in English units, metres in SI.
void writeSoilLayerWarnings(OutputFile& out, const SoilLayerStack& stack, bool english);

}  // namespace korden

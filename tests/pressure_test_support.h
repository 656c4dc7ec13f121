// States shared by the earth-pressure tests.
#pragma once

#include <algorithm>
#include <memory>

#include "analysis/station_grid.h"
#include "engine/run_state.h"
#include "report/report_text.h"

namespace korden::testing {

inline constexpr double kSandWeight = 120.0 / 1728.0;  // 120 pcf in pounds per cubic inch

inline void setLayer(RunState& s, int index, int type, double top, double bottom, double weight,
                     double cohesion, double phi, double optional = 0.0, double kpy = 0.0) {
  SoilLayer& l = s.soil.layers[index];
  l.type = type;
  l.xTop = top;
  l.xBottom = bottom;
  l.top = {weight, cohesion, phi, 0.0, kpy, optional};
  l.bottom = l.top;
  s.soil.nLayers = std::max(s.soil.nLayers, index + 1);
}

// English case: a 30 ft wall (60 increments of 6 in), 20 ft free height, dry sand, WA = WP = 12.
inline std::unique_ptr<RunState> englishState(int option = 2) {
  auto s = std::make_unique<RunState>();
  s->control.unitsFlag = 1;
  s->control.pressureOption = option;
  s->labels = unitLabelsFor(1);
  s->wall.nIncrements = 60;
  s->wall.incrementLength = 6.0;
  s->wall.wallWidth = 12.0;
  buildGrid(s->grid, 60, 6.0);
  s->soil.wall = {240.0, 12.0, 12.0, 1000.0, 1000.0, 1.0, 0, 0.0, 0.0};
  s->soil.referenceWidth = 12.0;
  setLayer(*s, 0, 4, 0.0, 360.0, kSandWeight, 0.0, 30.0);
  return s;
}

}  // namespace korden::testing

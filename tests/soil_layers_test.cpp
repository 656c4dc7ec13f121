// The input soil layers as the earth-pressure profile and the curve generator stack them: layers
// without thickness, gaps and overlaps, and soil that ends at the excavation level.
#include "pressure/soil_layers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "pressure/earth_pressure.h"
#include "pressure_test_support.h"
#include "pycurves/curve_generation.h"
#include "test_support.h"

namespace korden {
namespace {

using testing::englishState;
using testing::hasLine;
using testing::kSandWeight;
using testing::setLayer;

std::vector<int> stackedIndices(const SoilLayerStack& stack) {
  std::vector<int> indices;
  for (const StackedSoilLayer& l : stack.layers) indices.push_back(l.index);
  return indices;
}

std::vector<std::string> warningLines(const SoilLayerStack& stack, bool english) {
  const auto dir = testing::makeTempDir("soil-layers");
  std::vector<std::string> lines;
  {
    OutputFile out;
    out.open((dir / "report.txt").string());
    writeSoilLayerWarnings(out, stack, english);
    out.close();
    lines = testing::splitLines(testing::readFile(dir / "report.txt"));
  }
  std::filesystem::remove_all(dir);
  return lines;
}

// English wall of 30 ft, excavation at 20 ft: dry sand 0-10 ft (phi 30), a layer of no thickness
// at 10 ft, then dense sand 10-30 ft (phi 36).
std::unique_ptr<RunState> stateWithEmptyMiddleLayer() {
  auto s = englishState(2);
  setLayer(*s, 0, 4, 0.0, 120.0, kSandWeight, 0.0, 30.0);
  setLayer(*s, 1, 1, 120.0, 120.0, 0.07, 5.0, 0.0);
  setLayer(*s, 2, 4, 120.0, 360.0, kSandWeight, 0.0, 36.0);
  return s;
}

TEST(SoilLayerStack, LayerWithoutThicknessIsSkippedAndTheLayersBelowAreKept) {
  auto s = stateWithEmptyMiddleLayer();
  const SoilLayerStack stack = stackSoilLayers(s->soil);
  EXPECT_EQ(stackedIndices(stack), (std::vector<int>{0, 2}));
  EXPECT_DOUBLE_EQ(stack.top(), 0.0);
  EXPECT_DOUBLE_EQ(stack.bottom(), 360.0);
  ASSERT_EQ(stack.notes.size(), 1u);
  EXPECT_EQ(stack.notes[0].kind, SoilLayerNote::Kind::NoThickness);
  EXPECT_EQ(stack.notes[0].layer, 1);
  const auto lines = warningLines(stack, true);
  EXPECT_TRUE(hasLine(lines, "**** WARNING ****"));
  EXPECT_TRUE(
      hasLine(lines, "SOIL LAYER 2 HAS NO THICKNESS (ITS X BOTTOM IS NOT BELOW ITS X TOP):"));

  // A layer whose bottom lies above its top is skipped the same way; so is one at the top.
  s->soil.layers[1].xBottom = 100.0;
  setLayer(*s, 3, 4, 360.0, 360.0, kSandWeight, 0.0, 30.0);
  EXPECT_EQ(stackedIndices(stackSoilLayers(s->soil)), (std::vector<int>{0, 2}));
  EXPECT_EQ(stackSoilLayers(s->soil).notes.size(), 2u);
}

TEST(SoilLayerStack, GapsAndOverlapsAreStackedByThicknessAndNamed) {
  RunState s;
  s.soil.nLayers = 3;
  s.soil.layers[0] = {4, 0.0, 3.0, {}, {}};
  s.soil.layers[1] = {4, 3.5, 6.0, {}, {}};   // a gap of 0.5 m under layer 1
  s.soil.layers[2] = {4, 5.75, 9.0, {}, {}};  // overlaps layer 2 by 0.25 m
  const SoilLayerStack stack = stackSoilLayers(s.soil);
  ASSERT_EQ(stack.layers.size(), 3u);
  // Thicknesses 3, 2.5 and 3.25 stacked from the top.
  EXPECT_DOUBLE_EQ(stack.layers[1].xTop, 3.0);
  EXPECT_DOUBLE_EQ(stack.layers[1].xBottom, 5.5);
  EXPECT_DOUBLE_EQ(stack.layers[2].xTop, 5.5);
  EXPECT_DOUBLE_EQ(stack.layers[2].xBottom, 8.75);
  ASSERT_EQ(stack.notes.size(), 2u);
  EXPECT_EQ(stack.notes[0].kind, SoilLayerNote::Kind::Gap);
  EXPECT_EQ(stack.notes[1].kind, SoilLayerNote::Kind::Overlap);
  const auto lines = warningLines(stack, false);
  EXPECT_TRUE(hasLine(
      lines,
      "THE X TOP OF SOIL LAYER 2 IS NOT THE X BOTTOM OF SOIL LAYER 1 (A GAP OF 5.000E-01 M):"));
  EXPECT_TRUE(
      hasLine(lines, "SOIL LAYER 2 IS PLACED DIRECTLY UNDER SOIL LAYER 1 BY ITS THICKNESS."));
  EXPECT_TRUE(hasLine(lines,
                      "THE X TOP OF SOIL LAYER 3 IS NOT THE X BOTTOM OF SOIL LAYER 2 (AN "
                      "OVERLAP OF 2.500E-01 M):"));
  // The layer that holds a depth, as the soil-movement curves look it up.
  EXPECT_EQ(stack.layerAt(3.0), 0);
  EXPECT_EQ(stack.layerAt(5.6), 2);
  EXPECT_EQ(stack.layerAt(20.0), 2);

  // Layers that meet within the depth tolerance fit together.
  s.soil.layers[1].xTop = 3.0 + 0.5e-5;
  s.soil.layers[2].xTop = 6.0;
  EXPECT_TRUE(stackSoilLayers(s.soil).notes.empty());
}

TEST(SoilLayerStack, EarthPressureProfileGoesOnBelowALayerWithoutThickness) {
  auto s = stateWithEmptyMiddleLayer();
  ASSERT_TRUE(splitSoilProfile(*s).excavationFound);
  const EarthPressureData& ep = s->pressure;
  ASSERT_EQ(ep.layers.size(), 3u);  // 0-10 ft, 10-20 ft, 20-30 ft
  EXPECT_DOUBLE_EQ(ep.layers[1].ztop, 120.0);
  EXPECT_DOUBLE_EQ(ep.layers[1].phi, 36.0);
  EXPECT_DOUBLE_EQ(ep.layers[2].phi, 36.0);
  EXPECT_EQ(pressureRowCount(*s), 361);
  computeOverburden(s->pressure);
  OutputFile none;
  computeCoefficients(*s, none, none);
  computeLayerForces(*s, none);
  const auto rows = generateDepthProfile(*s);
  // Below the excavation level the dense sand keeps tan^2(27) x gamma x 240 in.
  const double ka36 = s->pressure.layers[2].ka;
  EXPECT_NEAR(ka36, std::pow(std::tan(27.0 * 3.14159265358979 / 180.0), 2), 1e-5);
  EXPECT_NEAR(rows[300][11], ka36 * kSandWeight * 240.0, 1e-12);
}

TEST(SoilLayerStack, CurvesGoOnBelowALayerWithoutThickness) {
  auto s = stateWithEmptyMiddleLayer();
  s->soil.layers[0].xBottom = 200.0;  // the upper sand ends above the excavation level
  s->soil.layers[1].xTop = s->soil.layers[1].xBottom = 200.0;
  s->soil.layers[2].xTop = 200.0;
  const CurveSettings settings = curveSettingsFor(*s);
  const SoilDistributions d = buildSoilDistributions(*s, settings);
  // The dense sand is the one layer below the excavation: z from 0 to its bottom at the tip.
  ASSERT_EQ(d.layers.size(), 1u);
  EXPECT_EQ(d.layers[0].inputIndex, 2);
  EXPECT_EQ(d.layers[0].type, 4);
  EXPECT_DOUBLE_EQ(d.layers[0].zTop, 0.0);
  EXPECT_DOUBLE_EQ(d.layers[0].zBottom, 120.0);
  EXPECT_EQ(d.curveDepths, (std::vector<double>{0.1, 30.0, 60.0, 90.0, 119.9}));
  EXPECT_FALSE(d.carriedDown);
}

TEST(SoilLayerStack, CurvesOfSoilEndingAtTheExcavationLevelCarryItsLastLayerDown) {
  RunState s;
  s.control.unitsFlag = 2;
  s.wall.nIncrements = 48;
  s.wall.incrementLength = 0.25;
  s.soil.wall.freeHeight = 6.0;
  s.soil.wall.widthActive = s.soil.wall.widthResistance = 1.0;
  s.soil.wall.waterBackfill = 4.0;
  s.soil.nLayers = 2;
  s.soil.layers[0] = {4, 0.0, 3.0, {18.0, 0.0, 30.0, 0.0, 16000.0, 0.0}, {}};
  s.soil.layers[0].bottom = s.soil.layers[0].top;
  // Clay from 3 m down to the excavation level, its strength rising from 20 to 30 kPa.
  s.soil.layers[1] = {
      1, 3.0, 6.0, {17.0, 20.0, 0.0, 0.01, 0.0, 0.0}, {19.0, 30.0, 0.0, 0.02, 0.0, 0.0}};
  const CurveSettings settings = curveSettingsFor(s);
  const SoilDistributions d = buildSoilDistributions(s, settings);
  ASSERT_TRUE(d.carriedDown);
  ASSERT_EQ(d.layers.size(), 1u);
  const CountedLayer& l = d.layers[0];
  EXPECT_EQ(l.type, 1);
  EXPECT_EQ(l.inputIndex, 1);
  // From the excavation level to two increments below the tip: 12.5 - 6 m, with the values of the
  // clay's bottom throughout.
  EXPECT_DOUBLE_EQ(l.zTop, 0.0);
  EXPECT_DOUBLE_EQ(l.zBottom, 6.5);
  EXPECT_DOUBLE_EQ(d.bottomX, 12.5);
  for (const StrengthPoint& p : d.strength) {
    EXPECT_DOUBLE_EQ(p.c, 30.0);
    EXPECT_DOUBLE_EQ(p.e50, 0.02);
  }
  // Below the backfill water table: 19 - 9.81.
  ASSERT_EQ(d.unitWeight.size(), 2u);
  EXPECT_NEAR(d.unitWeight[0].gamma, 9.19, 1e-12);
  EXPECT_NEAR(d.unitWeight[1].gamma, 9.19, 1e-12);
  EXPECT_DOUBLE_EQ(d.curveDepths.front(), 0.01);
  EXPECT_DOUBLE_EQ(d.curveDepths.back(), 6.49);

  // The backfill-side overburden goes on through the carried layer: sand 18 x 3, the clay's 3 m
  // at the mean of 17 and 19, then 19 per metre for 4 m below 6 m (clay keeps its total weight
  // below the water table).
  OutputFile unopened;
  CurveGeneration g(s, unopened);
  g.settings = settings;
  g.soil = d;
  EXPECT_NEAR(g.backfillOverburden(10.0), 18.0 * 3.0 + 18.0 * 3.0 + 19.0 * 4.0, 1e-9);
}

}  // namespace
}  // namespace korden

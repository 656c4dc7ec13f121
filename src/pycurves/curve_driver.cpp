// The curve generation driver: when the run generates soil resistance curves, it builds the soil
// distributions below the excavation level, writes the soil section of the report, runs the
// criterion of every layer, writes the curve exchange file and takes the curves back from it.
#include <iostream>

#include "analysis/curves.h"
#include "engine/analysis_case.h"
#include "engine/errors.h"
#include "engine/single_precision.h"
#include "pycurves/criteria.h"
#include "pycurves/curve_exchange.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

const char* captionOf(int type) {
  switch (type) {
    case kStiffClayFreeWater:
      return "THE SOIL IS A STIFF CLAY WITH FREE WATER";
    case kStiffClayNoFreeWater:
      return "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER";
    case kSand:
      return "THE SOIL IS A SAND";
    case kSilt:
      return "THE SOIL IS A SILT";
    case kRock:
      return "THE LAYER IS ROCK";
    case kWeakRock:
      return "THE LAYER IS WEAK ROCK";
    default:
      return "THE SOIL IS A SOFT CLAY";
  }
}

std::string row(std::initializer_list<double> values) {
  std::string text = fmt::X(5);
  for (double v : values) text += fmt::E(v, 14, 4);
  return text;
}

std::string heads(std::initializer_list<const char*> captions) {
  std::string text = fmt::X(5);
  for (const char* c : captions) text += fmt::A(c, 14);
  return text;
}

std::string heads(const std::vector<std::string>& captions) {
  std::string text = fmt::X(5);
  for (const std::string& c : captions) text += fmt::A(c, 14);
  return text;
}

}  // namespace

void writeSoilSection(CurveGeneration& g) {
  RunState& state = g.state;
  CurveSettings& s = g.settings;
  OutputFile& out = g.report;
  s = curveSettingsFor(state);
  if (s.cyclic && state.soil.cycles < 1.0e-6) state.soil.cycles = 100.0;
  s.cycles = state.soil.cycles;
  g.soil = buildSoilDistributions(state, s);

  writeBanner(out, "*          SOIL LAYERS AND STRENGTH DATA         *");
  out.line("     X AT THE SURFACE OF EXCAVATION SIDE     = " +
           fmt::E(s.reportDepth(s.freeHeight), 12, 4) + " " + g.depthUnit());
  writeSoilLayerWarnings(out, g.soil.stack, s.english());
  if (g.soil.carriedDown) {
    out.blank(2);
    out.line("**** WARNING ****");
    out.line("THE SOIL ENDS AT THE EXCAVATION LEVEL: ITS LAST LAYER IS CARRIED ON BELOW IT");
    out.line("TO THE END OF THE CURVES WITH THE VALUES OF ITS BOTTOM.");
  }
  out.blank();
  out.line(fmt::X(5) + fmt::I(static_cast<long long>(g.soil.layers.size()), 3) +
           " LAYER(S) OF SOIL");
  int number = 0;
  for (const CountedLayer& layer : g.soil.layers) {
    out.blank();
    out.line("     LAYER" + fmt::I(++number, 3) + "   " + captionOf(layer.type));
    if (s.cyclic && layer.type >= kSoftClay && layer.type <= kSilt)
      out.line(fmt::X(16) + "CYCLIC MODEL");
  }

  out.blank();
  out.line("     DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH" +
           fmt::I(static_cast<long long>(g.soil.unitWeight.size()), 5) + " POINTS");
  out.line(heads({"X,", "WEIGHT,"}));
  out.line(heads({g.depthUnit(), g.weightUnit()}));
  for (const UnitWeightPoint& p : g.soil.unitWeight) {
    out.line(row({s.reportDepth(p.z + s.freeHeight), p.gamma}));
  }

  out.blank();
  out.line("     DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH" +
           fmt::I(static_cast<long long>(g.soil.strength.size()), 5) + " POINTS");
  out.line(heads({"X,", "C,", "PHI,DEGREE ", "E50", "KPY,"}));
  out.line(heads({g.depthUnit(), g.stressUnit(), std::string(), std::string(), g.weightUnit()}));
  for (const StrengthPoint& p : g.soil.strength) {
    out.line(
        row({s.reportDepth(p.z + s.freeHeight), p.c, p.phi * 180.0 / kPiSingle, p.e50, p.kpy}));
  }

  const auto& factors = state.loads.modificationFactors;
  if (!factors.empty()) {
    out.blank();
    out.line("     REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS");
    out.line("      DEPTH     P-FACTOR     Y-FACTOR        ");
    for (const ModificationFactor& f : factors) {
      out.line(fmt::X(1) + fmt::E(f.depth, 12, 4) + fmt::E(f.pFactor, 13, 4) +
               fmt::E(f.yFactor, 13, 4));
    }
  }
  out.blank();
  out.line("     P-Y CURVES DATA");
}

void runCriteria(CurveGeneration& g) {
  auto& layers = g.soil.layers;
  const auto& depths = g.soil.curveDepths;
  // A curve belongs to the first layer whose bottom lies deeper than the curve.
  size_t layer = 0;
  for (size_t i = 0; i < depths.size(); ++i) {
    while (layer < layers.size() && !(layers[layer].zBottom > depths[i])) ++layer;
    if (layer == layers.size()) break;
    if (layers[layer].firstCurve < 0) layers[layer].firstCurve = static_cast<int>(i);
    layers[layer].lastCurve = static_cast<int>(i);
  }
  int previousLast = -1;
  for (size_t n = 0; n < layers.size(); ++n) {
    const CountedLayer& l = layers[n];
    if (l.firstCurve >= 0 && l.lastCurve != previousLast) {
      const int index = static_cast<int>(n);
      g.inputLayer = l.inputIndex;
      switch (l.type) {
        case kStiffClayFreeWater:
          stiffClayFreeWaterLayer(g, index);
          break;
        case kStiffClayNoFreeWater:
          stiffClayNoFreeWaterLayer(g, index);
          break;
        case kSand:
          sandLayer(g, index);
          break;
        case kSilt:
          siltLayer(g, index);
          break;
        case kRock:
          rockLayer(g, index);
          break;
        case kWeakRock:
          weakRockLayer(g, index);
          break;
        default:
          softClayLayer(g, index);
          break;
      }
    }
    previousLast = l.lastCurve;
  }
}

void checkCurveGenerationInput(const RunState& state) {
  if (state.driver.generateCurves != 1) return;
  if (!(state.soil.wall.widthResistance > 0.0)) {
    stopWithMessage("     ERROR STOP -- WIDTH FOR SOIL RESISTANCE, WP, MUST BE GREATER THAN ZERO");
  }
  if (!(state.wall.incrementLength > 0.0)) {
    stopWithMessage("     ERROR STOP -- INCREMENT LENGTH MUST BE GREATER THAN ZERO");
  }
}

void generateSoilResistanceCurves(RunState& state, RunFiles& files) {
  // The user curves of the case are settled before any curve is written or plotted.
  dropUserCurvesInPlaceOfSoilMovement(state.curves, files.report);
  // The switch is set by the first case whose curve option asks for generated curves and stays
  // set for the rest of the run.
  if (state.driver.generateCurves != 1) {
    state.curves.generated.clear();
    return;
  }
  std::cerr << "READ SOIL DATA....\n";
  checkCurveGenerationInput(state);
  CurveGeneration g(state, files.report);
  writeSoilSection(g);
  runCriteria(g);
  writeCurveExchangeFile(state.driver.curveFileName, state.curves.userCurves, g.records,
                         g.generatedCurves);
  takeOverGeneratedCurves(state, files.report, files.plot);
}

}  // namespace korden

// The shared part of every soil criterion: lookups that stop the run beyond the distributions,
// the two sides of a curve, the backfill overburden, and the printing of a curve side together
// with its records for the curve exchange file.
#include "pycurves/curve_generation.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "engine/errors.h"
#include "pycurves/curve_exchange.h"
#include "report/fortran_format.h"

namespace korden {

namespace {

std::string beyondLine(const CurveSettings& s, double x) {
  return "THE VALUE OF X =" + fmt::E(s.reportDepth(x), 12, 4) + " IS BEYOND THE EXTENT OF";
}

}  // namespace

void CurveGeneration::stopWithWarning(const std::vector<std::string>& lines, int code,
                                      bool consoleTwice) {
  report.blank(2);
  for (const std::string& l : lines) report.line("     " + l);
  report.flush();
  for (int k = 0; k < (consoleTwice ? 2 : 1); ++k) {
    for (const std::string& l : lines) std::cerr << l << "\n";
  }
  throw GeneratorStop(code, lines);
}

double CurveGeneration::strengthAt(double z, StrengthColumn column) {
  double value = 0.0;
  if (lookupStrength(soil.strength, z, column, value)) return value;
  const double x = z + settings.freeHeight;
  switch (column) {
    case StrengthColumn::Cohesion:
      stopWithWarning({"**** WARNING ****", beyondLine(settings, x), "THE INPUT STRENGTH CURVE"}, 1,
                      true);
    case StrengthColumn::Friction:
    case StrengthColumn::Kpy:
      stopWithWarning({"**** WARNING ****", beyondLine(settings, x), "THE INPUT PHI CURVE"}, 3,
                      true);
    default:
      stopWithWarning({"**** WARNING ****", beyondLine(settings, x), "THE INPUT STRENGTH CURVE"}, 3,
                      true);
  }
}

double CurveGeneration::averageUnitWeight(double z) {
  double value = 0.0;
  if (lookupAverageUnitWeight(soil.unitWeight, z, value)) return value;
  stopWithWarning({"**** WARNING ****", beyondLine(settings, z + settings.freeHeight),
                   "THE INPUT CURVE FOR UNIT WEIGHT"},
                  4);
}

double CurveGeneration::backfillOverburden(double d) {
  const SoilData& s = state.soil;
  const double x = d + settings.surfaceX;
  const double waterX = s.wall.waterBackfill;
  double stress = s.surface.uniformPressure;
  // Vertical stress of the part of a layer from X top down to X bottom, its total unit weight
  // running from gammaTop to gammaBottom; only sand carries its effective weight below water.
  const auto addPart = [&](int type, double top, double bottom, double gammaTop,
                           double gammaBottom) {
    stress += 0.5 * (gammaTop + gammaBottom) * (bottom - top);
    if (type == kSand && waterX < bottom) {
      stress -= settings.waterUnitWeight * (bottom - std::max(top, waterX));
    }
  };
  const SoilLayerStack stack = stackSoilLayers(s);
  for (const StackedSoilLayer& stacked : stack.layers) {
    const SoilLayer& layer = stacked.input(s);
    const double top = stacked.xTop;
    const double thickness = stacked.thickness();
    const double bottom = std::min(x, stacked.xBottom);
    if (bottom > top) {
      // Total unit weight varies linearly through the layer.
      const double gammaAtBottom =
          layer.top.unitWeight +
          (layer.bottom.unitWeight - layer.top.unitWeight) * (bottom - top) / thickness;
      addPart(layer.type, top, bottom, layer.top.unitWeight, gammaAtBottom);
    }
    if (x <= stacked.xBottom + kSameDepth) return stress;
  }
  if (soil.carriedDown && !stack.empty() && x <= soil.bottomX + kSameDepth) {
    // The last layer carried on below the soil with the values of its bottom.
    const StackedSoilLayer& last = stack.layers.back();
    const SoilLayer& layer = last.input(s);
    addPart(layer.type, last.xBottom, x, layer.bottom.unitWeight, layer.bottom.unitWeight);
    return stress;
  }
  stopWithWarning({"**** WARNING ****", beyondLine(settings, x), "THE INPUT CURVE FOR UNIT WEIGHT"},
                  4);
}

CurveSide CurveGeneration::side(double z, bool excavation) const {
  CurveSide s;
  s.excavation = excavation;
  if (excavation) {
    s.depth = z;
    s.x = z + settings.freeHeight;
  } else {
    s.depth = z + settings.freeHeight - settings.surfaceX;
    s.x = s.depth;
  }
  const auto& rows = state.loads.modificationFactors;
  s.pMultiplier = pMultiplierAt(s.x, settings.widthRatio, settings.freeHeight, rows,
                                state.loads.groupReductionSwitch);
  s.yMultiplier = yMultiplierAt(s.x, rows);
  return s;
}

double CurveGeneration::resistanceDepth(int layer, double depth) const {
  if (layer == 0) return depth;
  const CountedLayer& l = soil.layers[static_cast<size_t>(layer)];
  return depth - l.zTop + l.equivalentDepth;
}

double CurveGeneration::resistanceAbove(int layer) const {
  double sum = 0.0;
  for (int k = 0; k < layer; ++k) sum += soil.layers[static_cast<size_t>(k)].accumulated;
  return sum;
}

bool CurveGeneration::setsEquivalentDepth(int layer, int curve, bool excavation) const {
  return excavation && layer > 0 && curve == soil.layers[static_cast<size_t>(layer)].firstCurve;
}

void TrapezoidalResistance::add(CountedLayer& layer, int curve, double z, double pu,
                                double weight) {
  if (curve == layer.firstCurve) {
    layer.accumulated = 0.0;
  } else {
    layer.accumulated += 0.5 * (previousPu + pu) * weight * (z - previousZ);
  }
  previousZ = z;
  previousPu = pu;
}

void TrapezoidalResistance::extendToBottom(CountedLayer& layer, int curve, double z, double pu) {
  if (curve == layer.lastCurve) layer.accumulated += pu * (layer.zBottom - z);
}

void CurveGeneration::requireFinite(double value) const {
  if (std::isfinite(value)) return;
  stopWithMessage(
      "     ERROR STOP -- THE P-Y CURVE AT X =" + fmt::E(settings.reportDepth(curveX_), 12, 4) +
      " " + depthUnit() + " OF SOIL LAYER " + std::to_string(inputLayer + 1) +
      " GETS A VALUE THAT IS NOT A NUMBER; CHECK THE DATA OF THAT LAYER");
}

void CurveGeneration::beginCurve(double z) {
  curveX_ = z + settings.freeHeight;
  requireFinite(curveX_);
  records.push_back(exchangeCurveRecord(z + settings.freeHeight));
  pointNumber_ = 0;
  ++generatedCurves;
}

void CurveGeneration::writeHeading(bool excavation, const std::vector<HeadingField>& fields,
                                   bool sideLine) {
  report.blank();
  if (sideLine)
    report.line(excavation ? "     AT THE EXCAVATION SIDE" : "     AT THE BACKFILL SIDE");
  std::string captions = fmt::X(5), units = fmt::X(5), values = fmt::X(5);
  for (const HeadingField& f : fields) {
    requireFinite(f.value);
    const int w = std::max(14, static_cast<int>(f.caption.size()) + 2);
    captions += fmt::A(f.caption, w);
    units += fmt::A(f.unit, w);
    values += fmt::E(f.value, w, 4);
  }
  report.line(captions);
  report.line(units);
  report.line(values);
}

void CurveGeneration::emitSide(const CurveSide& side, const SideCurve& curve, PointHeads heads,
                               bool wideColumns) {
  if (heads != PointHeads::None) {
    const bool commas = heads == PointHeads::WithCommas;
    report.blank();
    report.line(fmt::X(5) + fmt::A(commas ? "Y," : "Y", 14) + fmt::A(commas ? "P," : "P", 14));
    report.line(fmt::X(5) + fmt::A(lengthUnit(), 14) + fmt::A(lineLoadUnit(), 14));
  } else {
    report.blank();
  }
  for (int j = 0; j < kCurvePointsPerSide; ++j) {
    const double y = curve.y[j];
    double p = curve.p[j];
    if (y < kDeflectionFloor) {
      p = 0.0;
      if (j > 0 && curve.floorModulus >= 0.0) {
        report.line("     **** WARNING ****");
        report.line("     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM");
        report.line("     USED A SOIL MODULUS OF " + fmt::E(curve.floorModulus, 12, 4));
      }
    }
    const double yOut = y * side.yMultiplier;
    // No initial pressure offset: the retained pressure below the excavation level loads the
    // stations already, so every generated curve passes through the origin.
    const double pOut = curve.pMultiplied ? p : p * side.pMultiplier;
    requireFinite(yOut);
    requireFinite(pOut);
    if (wideColumns) {
      report.line(fmt::X(21) + fmt::E(yOut, 20, 3) + fmt::E(pOut, 20, 3));
    } else {
      report.line(fmt::X(5) + fmt::E(yOut, 14, 4) + fmt::E(pOut, 14, 4));
    }
    ++pointNumber_;
    records.push_back(exchangePointRecord(pointNumber_, pOut, yOut));
  }
  report.line(" P-Multiplier = " + fmt::F(side.pMultiplier, 9, 4) +
              " Y-Multiplier = " + fmt::F(side.yMultiplier, 9, 4));
}

std::string CurveGeneration::lengthUnit() const {
  return settings.english() ? "IN" : (settings.si() ? "M" : "L");
}
std::string CurveGeneration::depthUnit() const {
  return settings.english() ? "FT" : (settings.si() ? "M" : "L");
}
std::string CurveGeneration::forceUnit() const {
  return settings.english() ? "LBS" : (settings.si() ? "KN" : "F");
}
std::string CurveGeneration::stressUnit() const { return forceUnit() + "/" + lengthUnit() + "**2"; }
std::string CurveGeneration::weightUnit() const { return forceUnit() + "/" + lengthUnit() + "**3"; }
std::string CurveGeneration::lineLoadUnit() const { return forceUnit() + "/" + lengthUnit(); }

}  // namespace korden

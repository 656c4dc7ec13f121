// Weak rock (layer type 7): the interim criterion of Reese (1997). The ultimate resistance
// alpha_r qa (b + 1.4 xr) grows with the depth into rock up to 5.2 alpha_r qa b at 3 b; the curve
// is the straight line Mir y up to yA and (pur / 2) (y / yrm)^0.25 beyond, up to pur.
#include <algorithm>
#include <cmath>
#include <string>

#include "pycurves/criteria.h"
#include "report/fortran_format.h"

namespace korden {

namespace {

constexpr SidePoints kPointFactors = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                                      0.1,    0.25,  0.5,   0.75,  1.0,   4.0,  8.0,  12.0};

}  // namespace

SideCurve weakRockCurve(const WeakRockInput& in, WeakRockResistance* out) {
  SideCurve curve;
  WeakRockResistance r;
  // Strength reduction for the rock quality: 1 - 2/3 RQD / 100.
  const double alpha = 1.0 - in.rqd / 150.0;
  if (in.xr <= 3.0 * in.b) {
    r.pur = alpha * in.qa * (in.b + 1.4 * in.xr);
    r.mir = (100.0 + 400.0 * in.xr / (3.0 * in.b)) * in.eir;
  } else {
    r.pur = 5.2 * alpha * in.qa * in.b;
    r.mir = 500.0 * in.eir;
  }
  r.yrm = in.krm * in.b;
  const double denominator = std::pow(r.yrm, 0.25) * r.mir;
  const double base = denominator > 0.0 ? (r.pur / 2.0) / denominator : 0.0;
  r.ya = base > 0.0 ? std::pow(base, 1.3333) : 0.0;
  for (int j = 0; j < kCurvePointsPerSide; ++j) {
    const double y = r.yrm * kPointFactors[j];
    curve.y[j] = y;
    double p = 0.0;
    if (y < r.ya) {
      p = r.mir * y;
    } else if (r.yrm > 0.0) {
      p = std::min(r.pur, (r.pur / 2.0) * std::pow(y / r.yrm, 0.25));
    }
    curve.p[j] = p;
  }
  if (out != nullptr) *out = r;
  return curve;
}

void weakRockLayer(CurveGeneration& g, int n) {
  CountedLayer& layer = g.soil.layers[static_cast<size_t>(n)];
  const CurveSettings& s = g.settings;
  // Depth of rock above the layer: the thickness of every directly overlying rock layer.
  double rockAbove = 0.0;
  for (int k = n - 1; k >= 0; --k) {
    const CountedLayer& above = g.soil.layers[static_cast<size_t>(k)];
    if (above.type != kRock && above.type != kWeakRock) break;
    rockAbove += above.zBottom - above.zTop;
  }
  // X of the bottom of the soil.
  const double inputBottom = g.soil.bottomX;
  const double span = layer.bottom.z - layer.top.z;
  const auto linearInLayer = [&](double top, double bottom, double z) {
    return span > 0.0 ? top + (bottom - top) * (z - layer.top.z) / span : top;
  };
  // A value the curve cannot be built without: the run stops, naming the input layer and field.
  const auto stopOnField = [&](const std::string& field) {
    g.stopWithWarning({"**** WARNING ****",
                       "THE " + field + " OF SOIL LAYER " + std::to_string(layer.inputIndex + 1) +
                           " (WEAK ROCK) IS 0 OR NEGATIVE.",
                       "PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."},
                      3);
  };
  // The initial modulus Mir is a multiple of Eir: without it the curve has no stiffness.
  const double eir = layer.top.kpy;
  if (!(eir > 0.0)) stopOnField("INITIAL ROCK MODULUS KPY AT THE TOP");
  for (int i = layer.firstCurve; i <= layer.lastCurve; ++i) {
    const double z = g.soil.curveDepths[static_cast<size_t>(i)];
    g.beginCurve(z);
    const double qu = g.strengthAt(z, StrengthColumn::Cohesion);
    if (i > layer.firstCurve && qu < 1.0e-10) {
      g.stopWithWarning({"--------------------WARNING----------------------",
                         "THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT",
                         "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."},
                        3);
    }
    const double qa = z - layer.zTop < 1.0e-5
                          ? qu
                          : 0.5 * (layer.top.c + linearInLayer(layer.top.c, layer.bottom.c, z));
    const double gamma = g.averageUnitWeight(z);
    const double krm = g.strengthAt(z, StrengthColumn::E50);
    if (!(krm > 0.0)) stopOnField("STRAIN FACTOR E50");
    const double rqd = linearInLayer(layer.top.sixth, layer.bottom.sixth, z);
    for (const bool excavation : {true, false}) {
      const CurveSide side = g.side(z, excavation);
      if (s.continuousWall() && !excavation && side.depth + s.surfaceX > inputBottom + kSameDepth) {
        g.stopWithWarning({"**** WARNING ****",
                           "THE VALUE OF X =" + fmt::E(s.reportDepth(side.depth), 12, 4) +
                               " IS BEYOND THE EXTENT OF",
                           "THE INPUT CURVE FOR UNIT WEIGHT"},
                          4);
      }
      WeakRockInput in;
      in.qa = qa;
      in.rqd = rqd;
      in.xr = side.depth + 1.0e-8 - layer.zTop + rockAbove;
      in.b = s.width;
      in.krm = krm;
      in.eir = eir;
      const SideCurve curve = weakRockCurve(in);
      g.writeHeading(excavation, {{"DEPTH", g.depthUnit(), s.reportDepth(side.depth)},
                                  {"DIAM", g.lengthUnit(), s.width},
                                  {"Qu", g.stressUnit(), qu},
                                  {" Eu ", g.stressUnit(), eir},
                                  {"GAMMA AVG", g.weightUnit(), gamma},
                                  {"E50", "", krm},
                                  {"RQD", "%", rqd}});
      g.emitSide(side, curve, PointHeads::Plain);
    }
  }
  layer.accumulated = 0.0;
}

}  // namespace korden

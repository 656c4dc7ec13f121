// Readers of the second half of a case: stiffness and load data, supports, wales, modification
// factors, active pressure table, earth-pressure and soil data, user curves, continuation code.
#include <string>

#include "analysis/station_grid.h"
#include "engine/errors.h"
#include "engine/single_precision.h"
#include "input/input_checks.h"
#include "input/readers.h"
#include "report/fortran_format.h"

namespace korden {

namespace {

std::string rowId(const char* what, size_t index) {
  return std::string(what) + " " + std::to_string(index + 1);
}

int readCount(RunState& state, InputFile& in, const char* what) {
  int count = 0;
  in.statement(what).integer(count);
  requireNonNegativeCount(count, recordAtLine(what, lastLineRead(in)));
  noteCount(state, countSays(what, lastLineRead(in), count));
  return count;
}

void checkContd(int contd, const std::string& what) {
  if (contd != 1 && contd != 2) {
    stopWithMessage("     ERROR STOP -- CONTD OF " + what + " MUST BE 1 OR 2, NOT " +
                    std::to_string(contd));
  }
}

// FROM and TO of a load or restraint row: TO not above FROM, and both on the rows -1..N+1 that the
// solver sets up (a value beyond them would be dropped without a word).
void checkRowStations(int from, int to, int n, const std::string& where) {
  if (to < from) {
    stopStationsNotInOrder("     " + where + ": TO STATION " + std::to_string(to) +
                           " LIES ABOVE FROM STATION " + std::to_string(from));
  }
  requireStationWithin(from, -1, n + 1, where + ", FROM");
  requireStationWithin(to, -1, n + 1, where + ", TO");
}

// A chain that its last row leaves open would be dropped from the analysis without a word.
void checkChainClosed(int lastContd, const char* what) {
  if (lastContd == 2) {
    stopWithMessage(std::string("     ERROR STOP -- THE LAST ") + what +
                    " RECORD IS CONTINUED (CONTD 2) BY NO RECORD");
  }
}

void readSupportRow(RunState& state, InputFile& in, Support& support, bool tieBack, size_t index) {
  const std::string id = rowId(tieBack ? "TIE BACK RECORD" : "STRUT/RAKER RECORD", index);
  {
    auto s = in.statement(id);
    s.real(support.depth)
        .real(support.area)
        .real(support.elasticModulus)
        .real(support.unbondedLength);
    s.real(support.angle).real(support.spacing);
    if (tieBack) s.real(support.prestress);
  }
  const std::string where = recordAtLine(id, lastLineRead(in));
  support.station = stationOfDepth(support.depth, state.wall.incrementLength, state.english());
  // A support acts on the wall at one of its stations 0..N.
  const int n = state.grid.n;
  if (support.station < 0 || support.station > n) {
    const bool below = support.station > n;
    stopWithMessage("     ERROR STOP -- " + where + ", FIELD 1: DEPTH " +
                    fmt::E(support.depth, 10, 3) +
                    (below ? " LIES BELOW THE TIP OF THE WALL (STATION " + std::to_string(n) + ")"
                           : " LIES ABOVE THE TOP OF THE WALL (STATION 0)"));
  }
  if (!(support.unbondedLength > 0.0)) {
    stopWithMessage("     ERROR STOP -- " + where +
                    ", FIELD 4: THE UNBONDED LENGTH MUST BE GREATER THAN 0");
  }
  if (!(support.spacing > 0.0)) {
    stopWithMessage("     ERROR STOP -- " + where +
                    ", FIELD 6: THE ANCHOR SPACING MUST BE GREATER THAN 0");
  }
}

}  // namespace

void readLoads(RunState& state, InputFile& in) {
  auto& rows = state.loads.loads;
  rows.clear();
  const int count = readCount(state, in, "THE COUNT OF STIFFNESS AND LOAD RECORDS");
  for (int i = 0; i < count; ++i) {
    LoadRow r;
    const std::string id = rowId("STIFFNESS AND LOAD RECORD", rows.size());
    {
      auto s = in.statement(id);
      s.integer(r.contd).integer(r.from).integer(r.to).real(r.q).real(r.t).real(r.p);
    }
    const std::string where = recordAtLine(id, lastLineRead(in));
    checkRowStations(r.from, r.to, state.grid.n, where);
    checkContd(r.contd, where);
    rows.push_back(r);
  }
  if (!rows.empty()) checkChainClosed(rows.back().contd, "STIFFNESS AND LOAD");
  if (!rows.empty()) {
    state.loads.firstLoadDepth = rows.front().from * state.wall.incrementLength;
    state.loads.lastLoadDepth = rows.back().from * state.wall.incrementLength;
  }
}

void readSupports(RunState& state, InputFile& in) {
  LoadsAndSupports& l = state.loads;
  l.restraints.clear();
  l.tieBacks.clear();
  l.struts.clear();
  const int nRestraints = readCount(state, in, "THE COUNT OF RESTRAINT RECORDS");
  checkCapacity(nRestraints, kMaxRestraints, "RESTRAINTS");
  // Both counts are checked non-negative with the control record; their sum is formed in 64 bits.
  checkCapacity(static_cast<long long>(state.control.nTieBacks) + state.control.nStruts,
                kMaxSupports, "TIE BACKS AND STRUTS");
  for (int i = 0; i < nRestraints; ++i) {
    Restraint r;
    const std::string id = rowId("RESTRAINT RECORD", l.restraints.size());
    {
      auto s = in.statement(id);
      s.integer(r.from).integer(r.to).integer(r.contd).real(r.s).real(r.r);
    }
    const std::string where = recordAtLine(id, lastLineRead(in));
    checkRowStations(r.from, r.to, state.grid.n, where);
    checkContd(r.contd, where);
    l.restraints.push_back(r);
  }
  if (!l.restraints.empty()) checkChainClosed(l.restraints.back().contd, "RESTRAINT");
  noteCount(state, controlSays(state, state.control.nTieBacks, "TIE BACKS", 11));
  for (int i = 0; i < state.control.nTieBacks; ++i) {
    Support s;
    readSupportRow(state, in, s, true, l.tieBacks.size());
    l.tieBacks.push_back(s);
  }
  noteCount(state, controlSays(state, state.control.nStruts, "STRUTS/RAKERS", 15));
  for (int i = 0; i < state.control.nStruts; ++i) {
    Support s;
    readSupportRow(state, in, s, false, l.struts.size());
    l.struts.push_back(s);
  }
}

void readWales(RunState& state, InputFile& in) {
  auto& rows = state.loads.wales;
  rows.clear();
  const int count = readCount(state, in, "THE COUNT OF WALE RECORDS");
  for (int i = 0; i < count; ++i) {
    WaleRow w;
    auto s = in.statement(rowId("WALE RECORD", rows.size()));
    s.integer(w.code).real(w.values[0]).real(w.values[1]).real(w.values[2]);
    rows.push_back(w);
  }
}

void readModificationFactors(RunState& state, InputFile& in) {
  in.statement("THE GROUP REDUCTION SWITCH").integer(state.loads.groupReductionSwitch);
  auto& rows = state.loads.modificationFactors;
  rows.clear();
  noteCount(state, controlSays(state, state.control.nModificationFactors,
                               "P-Y MODIFICATION FACTORS", 5));
  for (int i = 0; i < state.control.nModificationFactors; ++i) {
    ModificationFactor m;
    auto s = in.statement(rowId("P-Y MODIFICATION FACTOR RECORD", rows.size()));
    s.real(m.depth).real(m.pFactor).real(m.yFactor);
    rows.push_back(m);
  }
}

void readActivePressureTable(RunState& state, InputFile& in) {
  auto& rows = state.soil.activePressure;
  rows.clear();
  const int count = readCount(state, in, "THE COUNT OF ACTIVE EARTH PRESSURE RECORDS");
  checkCapacity(count, kMaxActivePressureRows, "ACTIVE EARTH PRESSURE RECORDS");
  for (int i = 0; i < count; ++i) {
    ActivePressureRow r;
    auto s = in.statement(rowId("ACTIVE EARTH PRESSURE RECORD", rows.size()));
    s.real(r.depth).real(r.pressure);
    rows.push_back(r);
  }
}

void readSoilData(RunState& state, InputFile& in) {
  SoilData& soil = state.soil;
  {
    WallInformation& w = soil.wall;
    auto s = in.statement("THE WALL INFORMATION RECORD");
    s.real(w.freeHeight).real(w.widthActive).real(w.widthResistance).real(w.waterBackfill);
    s.real(w.waterExcavation).real(w.activeModification).integer(w.waterSwitch);
    s.real(w.slopeBackfill).real(w.slopeExcavation);
  }
  soil.wallInformationLine = lastLineRead(in);
  clearCounts(state);
  // Reference width of the curve criteria: 12 in, or 0.3048 m as held in single precision.
  soil.referenceWidth = state.si() ? kReferenceWidthSI : 12.0;
  {
    SurfaceRecord& r = soil.surface;
    auto s = in.statement("THE SURFACE RECORD");
    s.real(r.uniformPressure).real(r.distance).real(r.pointLoad).real(r.lineLoad);
    s.real(r.stripLoad).real(r.stripWidth);
  }
  soil.surcharges.clear();
  const int nSurcharges = readCount(state, in, "THE COUNT OF SURCHARGE RECORDS");
  for (int i = 0; i < nSurcharges; ++i) {
    Surcharge c;
    {
      auto s = in.statement(rowId("SURCHARGE RECORD", soil.surcharges.size()));
      s.integer(c.type)
          .real(c.magnitude)
          .real(c.distance)
          .real(c.width)
          .real(c.vertical)
          .real(c.factor);
    }
    // Distances and the strip width are entered in millimetres with SI units.
    if (state.si()) {
      c.distance /= 1000.0;
      c.width /= 1000.0;
      c.vertical /= 1000.0;
    }
    soil.surcharges.push_back(c);
  }
  {
    auto s = in.statement("THE SOIL LAYER COUNT RECORD");
    s.integer(soil.nLayers).integer(soil.loadingKind).real(soil.cycles);
  }
  requireNonNegativeCount(soil.nLayers,
                          recordAtLine("THE SOIL LAYER COUNT RECORD", lastLineRead(in)));
  noteCount(state, countSays("THE SOIL LAYER COUNT RECORD", lastLineRead(in), soil.nLayers) +
                       " SOIL LAYERS (3 RECORDS EACH)");
  checkCapacity(soil.nLayers, kMaxSoilLayers, "SOIL LAYERS");
  for (int i = 0; i < soil.nLayers; ++i) {
    SoilLayer& layer = soil.layers[i];
    const std::string id = rowId("SOIL LAYER", i);
    {
      auto s = in.statement("THE LAYER RECORD OF " + id);
      s.integer(layer.type).real(layer.xTop).real(layer.xBottom);
    }
    for (SoilParameters* p : {&layer.top, &layer.bottom}) {
      auto s =
          in.statement((p == &layer.top ? "THE TOP RECORD OF " : "THE BOTTOM RECORD OF ") + id);
      s.real(p->unitWeight)
          .real(p->cohesion)
          .real(p->friction)
          .real(p->e50)
          .real(p->kpy)
          .real(p->sixth);
    }
    // Parameters the layer's soil type does not use are set to 0.
    for (SoilParameters* p : {&layer.top, &layer.bottom}) {
      switch (layer.type) {
        case 1:
          p->friction = 0.0;
          p->kpy = 0.0;
          break;
        case 2:
        case 7:
          p->friction = 0.0;
          break;
        case 3:
          p->friction = 0.0;
          p->kpy = 0.0;
          break;
        case 4:
          p->cohesion = 0.0;
          p->e50 = 0.0;
          break;
        case 6:
          p->friction = 0.0;
          p->e50 = 0.0;
          p->kpy = 0.0;
          break;
        default:
          break;
      }
    }
  }
}

void readUserCurves(RunState& state, InputFile& in) {
  const int count = state.control.nUserCurves;
  checkCapacity(count, kMaxInputCurves, "USER-SPECIFIED P-Y CURVES");
  auto& curves = state.curves.userCurves;
  curves.clear();
  curves.reserve(static_cast<size_t>(count));
  noteCount(state, controlSays(state, count, "USER P-Y CURVES", 8));
  const int n = state.grid.n;
  for (int i = 0; i < count; ++i) {
    UserCurve c;
    const std::string id = rowId("USER P-Y CURVE", curves.size());
    {
      auto s = in.statement("THE CURVE RECORD OF " + id);
      s.integer(c.station).integer(c.nPoints).real(c.pMultiplier).real(c.yMultiplier);
    }
    const std::string where = recordAtLine("THE CURVE RECORD OF " + id, lastLineRead(in));
    // The curves act on the rows -1..N+1 of the solver.
    requireStationWithin(c.station, -1, n + 1, where + ", FIELD 1");
    requireNonNegativeCount(c.nPoints, where + ", FIELD 2");
    noteCount(state, countSays("THE CURVE RECORD OF " + id, lastLineRead(in), c.nPoints) +
                         " POINTS (FIELD 2)");
    checkCapacity(c.nPoints, kMaxTableCurvePoints, "POINTS OF " + id);
    // A curve chained to the next one (at or below the excavation level, or every curve when
    // curves are generated) spans down to that curve's station, which may not lie above it.
    if (!curves.empty()) {
      const UserCurve& before = curves.back();
      const bool chained = before.belowExcavation == 1 || state.driver.generateCurves == 1;
      if (chained && c.station < before.station) {
        stopStationsNotInOrder("     " + where + ": STATION " + std::to_string(c.station) +
                               " LIES ABOVE STATION " + std::to_string(before.station) +
                               " OF THE CURVE BEFORE IT");
      }
    }
    c.belowExcavation = c.station * state.wall.incrementLength >= state.wall.freeHeight ? 1 : 0;
    const std::string ofCurve = " OF " + id;
    for (int j = 0; j < c.nPoints; ++j) {
      auto s = in.statement(RecordName{"POINT ", j + 1, ofCurve});
      s.real(c.y[j]).real(c.p[j]);
      c.yScaled[j] = c.y[j] * c.yMultiplier;
      c.pScaled[j] = c.p[j] * c.pMultiplier;
      // The analysis looks a deflection up in ascending y.
      if (j > 0 && c.y[j] < c.y[j - 1]) {
        stopWithMessage("     ERROR STOP -- POINTS OF P-Y CURVE AT STATION " +
                        std::to_string(c.station) + " ARE NOT IN ASCENDING ORDER OF Y");
      }
    }
    curves.push_back(c);
  }
}

int readContinuationCode(InputFile& in) {
  int code = 0;
  in.statement("THE CONTINUATION CODE").integer(code);
  return code;
}

}  // namespace korden

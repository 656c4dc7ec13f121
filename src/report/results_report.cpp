#include "report/results_report.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "engine/errors.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

// A result of finite differences whose magnitude lies within the rounding error of the
// differences it comes from carries no digit of the answer: at a free top the moment is exactly
// zero, yet y(-1) - 2 y(0) + y(1) leaves a residue of a few units in the last place of y, whose
// digits change with the processor and the mathematics library. Such a value is written as 0.
// The bound is kNoiseUlps units of rounding (eps) in the sum of the magnitudes of the terms.
constexpr double kNoiseUlps = 16.0;
constexpr double kEps = std::numeric_limits<double>::epsilon();

double dropRoundingNoise(double value, double bound) {
  return value != 0.0 && std::fabs(value) <= bound ? 0.0 : value;
}

}  // namespace

void computeStationResults(RunState& state) {
  StationGrid& g = state.grid;
  AnalysisData& a = state.analysis;
  const int n = g.n;
  const double h = g.h;
  a.slope.fill(0.0);
  a.moment.fill(0.0);
  a.shear.fill(0.0);
  a.netForce.fill(0.0);
  // Rounding bound of each moment, for the shear and net force taken from the moments.
  StationTable& momentBound = a.momentBound;
  momentBound.fill(0.0);
  // Moments at stations 0..N+2 (zero above the top, where EI is zero).
  for (int i = -1; i <= n + 1; ++i) {
    const double ei = g.EI(i + 1);
    const double m = ei * (g.y(i) - 2.0 * g.y(i + 1) + g.y(i + 2)) / g.hSquared;
    const double bound = kNoiseUlps * kEps * std::fabs(ei) *
                         (std::fabs(g.y(i)) + 2.0 * std::fabs(g.y(i + 1)) + std::fabs(g.y(i + 2))) /
                         g.hSquared;
    momentBound(i + 1) = bound;
    a.moment(i + 1) = dropRoundingNoise(m, bound);
  }
  for (int i = -1; i <= n + 1; ++i) {
    const double mUp = a.moment(i - 1), m = a.moment(i), mDown = a.moment(i + 1);
    const double bUp = momentBound(i - 1), b = momentBound(i), bDown = momentBound(i + 1);
    a.slope(i) = dropRoundingNoise(
        (g.y(i + 1) - g.y(i - 1)) / g.twoH,
        kNoiseUlps * kEps * (std::fabs(g.y(i + 1)) + std::fabs(g.y(i - 1))) / g.twoH);
    a.shear(i) =
        i >= 1
            ? dropRoundingNoise(
                  (mDown - mUp) / g.twoH,
                  (bDown + bUp + kNoiseUlps * kEps * (std::fabs(mDown) + std::fabs(mUp))) / g.twoH)
            : dropRoundingNoise(
                  (mDown - m) / h,
                  (bDown + b + kNoiseUlps * kEps * (std::fabs(mDown) + std::fabs(m))) / h);
    a.netForce(i) = dropRoundingNoise(
        (mUp - 2.0 * m + mDown) / h,
        (bUp + 2.0 * b + bDown +
         kNoiseUlps * kEps * (std::fabs(mUp) + 2.0 * std::fabs(m) + std::fabs(mDown))) /
            h);
    for (const AppliedCouple& c : g.couples) {
      const double t = c.value;
      if (c.station == i - 1) {
        a.netForce(i) += t;
        a.shear(i) -= t / 2.0;
      } else if (c.station == i) {
        a.shear(i) -= t;
      } else if (c.station == i + 1) {
        a.netForce(i) -= t;
        a.shear(i) -= t / 2.0;
      }
    }
  }
}

void computeSupportForces(RunState& state) {
  StationGrid& g = state.grid;
  const double b = state.wall.wallWidth;
  for (auto* list : {&state.loads.tieBacks, &state.loads.struts}) {
    for (Support& s : *list) {
      const double y = (s.station >= -3 && s.station <= g.n + 3) ? g.y(s.station) : 0.0;
      s.horizontalForce = s.prestressLoad - s.spring * y;
      s.forceAlong = s.horizontalForce / s.angleCosine();
      const double spacing = state.english() ? s.spacing * 12.0 : s.spacing;
      s.forcePerSupport = s.forceAlong * spacing / b;
    }
  }
}

void requireFiniteResults(const RunState& state) {
  const StationGrid& g = state.grid;
  const AnalysisData& a = state.analysis;
  auto stop = [](const std::string& where) {
    stopWithMessage("     ERROR STOP -- THE RESULTS " + where +
                    " ARE NOT FINITE NUMBERS: THE RIGIDITY, SPRINGS AND LOADS OF THE INPUT DRIVE "
                    "THEM BEYOND THE RANGE OF THE NUMBERS");
  };
  for (int i = -1; i <= g.n + 1; ++i) {
    for (double v :
         {g.y(i), a.slope(i), a.moment(i), a.shear(i), a.netForce(i), a.soilReaction(i), g.EI(i)}) {
      if (!std::isfinite(v)) stop("AT STATION " + std::to_string(i));
    }
  }
  for (const Restraint& r : state.loads.restraints) {
    for (int s = std::max(r.from, -1); s <= std::min(r.to, g.n + 1); ++s) {
      if (!std::isfinite(r.s * g.y(s)) || !std::isfinite(r.r * a.slope(s))) {
        stop("OF THE RESTRAINT AT STATION " + std::to_string(s));
      }
    }
  }
  for (const auto* list : {&state.loads.tieBacks, &state.loads.struts}) {
    for (const Support& s : *list) {
      const WaleResult w = waleResult(state, s);
      for (double v : {s.horizontalForce, s.forceAlong, s.forcePerSupport, w.reaction,
                       w.distributedLoad, w.maxMoment}) {
        if (!std::isfinite(v)) stop("OF THE SUPPORT AT STATION " + std::to_string(s.station));
      }
    }
  }
}

std::string supportRow(int number, int second, double third, std::initializer_list<double> rest) {
  std::string line = fmt::X(1) + fmt::I(number, 5) + fmt::X(2) + fmt::I(second, 5) + fmt::X(2) +
                     fmt::E(third, 12, 3);
  for (double v : rest) line += fmt::X(2) + fmt::E(v, 15, 4);
  return line;
}

WaleResult waleResult(const RunState& state, const Support& s) {
  WaleResult r;
  const double b = state.wall.wallWidth;
  r.reaction = std::fabs(s.horizontalForce) * (state.english() ? 12.0 : 1.0) * s.spacing / b;
  r.distributedLoad = r.reaction / s.spacing;
  const double span = s.spacing * s.spacing;
  r.maxMoment = state.control.waleKind == 1 ? r.distributedLoad * span / 8.0
                                            : r.distributedLoad * span / 10.0;
  return r;
}

namespace {

// X of a station in the report: feet in English units, metres in SI.
double reportDepth(const RunState& state, int station) {
  return depthOfStation(station, state.grid.h, state.english());
}

void writeStationTable(const RunState& state, OutputFile& out) {
  const UnitLabels& u = state.labels;
  const StationGrid& g = state.grid;
  const AnalysisData& a = state.analysis;
  out.blank();
  out.line(
      "   STA I      X         DEFL.       SLOPE     "
      " MOMENT      SHEAR    SOIL_REACT NET_FORCE/STA "
      "   EI");
  out.line(fmt::X(12) + fmt::A(u.wallHeight, 3) + fmt::X(9) + fmt::A(u.length, 3) + fmt::X(10) +
           "RAD" + fmt::X(6) + u.force3 + "-" + u.lengthShort + fmt::X(7) + u.force4 + fmt::X(7) +
           u.force3 + "/" + u.lengthShort + fmt::X(7) + u.force4 + fmt::X(6) + u.force3 + "-" +
           u.lengthShort + "**2");
  out.line(
      "   ------    ----        ----       -----      ------      ------    ---------   "
      "---------   ---------");
  for (int i = 0; i <= g.n; ++i) {
    // The fields go straight onto the record: 2X,I4,2X,1P,E10.3,7E12.3.
    std::string& record = out.record();
    fmt::appendX(record, 2);
    fmt::appendI(record, i, 4);
    fmt::appendX(record, 2);
    fmt::appendE(record, reportDepth(state, i), 10, 3);
    for (const double v :
         {g.y(i), a.slope(i), a.moment(i), a.shear(i), a.soilReaction(i), a.netForce(i), g.EI(i)}) {
      fmt::appendE(record, v, 12, 3);
    }
    out.end();
  }
}

void writeRestraintTable(const RunState& state, OutputFile& out) {
  const UnitLabels& u = state.labels;
  const StationGrid& g = state.grid;
  out.blank(2);
  out.line("     LATERAL AND ROTATIONAL RESTRAINT RESULTS");
  out.line("     ----------------------------------------");
  out.blank();
  out.line("     STA         X             FORCE           MOMENT");
  out.line(fmt::X(15) + fmt::A(u.wallHeight, 3) + fmt::X(14) + u.force4 + fmt::X(11) + u.force4 +
           "-" + u.lengthShort);
  out.line("    -----    ---------       ---------       ---------");
  for (const Restraint& r : state.loads.restraints) {
    // The readers keep FROM and TO within the station tables.
    for (int s = r.from; s <= r.to; ++s) {
      const bool inside = s >= -1 && s <= g.n + 1;
      const double y = inside ? g.y(s) : 0.0;
      const double slope = inside ? state.analysis.slope(s) : 0.0;
      out.line(fmt::X(3) + fmt::I(s, 5) + fmt::X(2) + fmt::E(reportDepth(state, s), 12, 3) +
               fmt::X(2) + fmt::E(r.s * y, 15, 4) + fmt::X(2) + fmt::E(r.r * slope, 15, 4));
    }
  }
}

void writeSupportTable(const RunState& state, OutputFile& out, const std::vector<Support>& list,
                       bool tieBacks) {
  const UnitLabels& u = state.labels;
  out.blank(2);
  if (tieBacks) {
    out.line("     TIE BACK RESULTS");
    out.line("     ----------------");
    out.blank();
    out.line("     N     STA         X        HOR.FORCE/STA.     FORCE/STA.     FORCE/TIE BACK");
  } else {
    out.line("     STRUT/RAKER RESULTS");
    out.line("     ------------------");
    out.blank();
    out.line("     N     STA         X        HOR.FORCE/STA.     FORCE/STA.      FORCE/STRUT");
  }
  out.line(fmt::X(22) + fmt::A(u.wallHeight, 3) + fmt::X(15) + u.force4 + fmt::X(13) + u.force4 +
           fmt::X(13) + u.force4);
  out.line("   -----  -----    --------     --------------   --------------   --------------");
  int number = 0;
  for (const Support& s : list) {
    out.line(supportRow(++number, s.station, s.depth,
                        {s.horizontalForce, s.forceAlong, s.forcePerSupport}));
  }
  if (state.control.waleFlag > 0) writeWalesTable(state, out, list);
}

void writeNodeReactions(const RunState& state, OutputFile& out) {
  const UnitLabels& u = state.labels;
  const StationGrid& g = state.grid;
  out.blank(2);
  out.line("     NODE REACTIONS");
  out.line("     --------------");
  out.blank();
  out.line("     N     STA         X            FORCE    ");
  out.line(fmt::X(21) + fmt::A(u.wallHeight, 3) + fmt::X(12) + u.force4);
  out.line("   -----  -----    --------    --------------");
  int number = 0;
  for (const SpecifiedPoint& p : g.specified) {
    const bool inside = p.station >= -1 && p.station <= g.n + 1;
    out.line(supportRow(++number, p.station, reportDepth(state, p.station),
                        {inside ? state.analysis.netForce(p.station) : 0.0}));
  }
}

}  // namespace

void writeWalesTable(const RunState& state, OutputFile& out, const std::vector<Support>& supports) {
  if (supports.empty()) return;
  const UnitLabels& u = state.labels;
  out.blank(2);
  out.line("     WALES RESULTS");
  out.line("     -------------");
  out.blank();
  out.line(std::string("     N       TYPE               X          ") +
           " ANCHOR SPA.     HORIZ. REACT.       EQ. DL      " + "   MAX. MOMENT");
  out.line(fmt::X(15) + fmt::X(15) + fmt::A(u.wallHeight, 3) + fmt::X(14) +
           fmt::A(u.wallHeight, 3) + fmt::X(15) + u.force4 + fmt::X(12) + u.force3 + "/" +
           u.heightShort + fmt::X(10) + u.force3 + "-" + u.heightShort);
  out.line(std::string("   -----  -----------    --------------   ") +
           "--------------   --------------   --------------   " + "--------------");
  int number = 0;
  const char* type = state.control.waleKind == 1 ? "SIMPLY SUP." : "CONTINUOUS ";
  for (const Support& s : supports) {
    const WaleResult w = waleResult(state, s);
    out.line(fmt::X(1) + fmt::I(++number, 5) + fmt::X(4) + type + fmt::X(4) +
             fmt::E(s.depth, 12, 3) + fmt::X(2) + fmt::E(s.spacing, 15, 4) + fmt::X(2) +
             fmt::E(w.reaction, 15, 4) + fmt::X(2) + fmt::E(w.distributedLoad, 15, 4) + fmt::X(2) +
             fmt::E(w.maxMoment, 15, 4));
  }
}

void writeResults(const RunState& state, OutputFile& out) {
  writeStationTable(state, out);
  if (!state.loads.restraints.empty()) writeRestraintTable(state, out);
  if (!state.loads.tieBacks.empty()) writeSupportTable(state, out, state.loads.tieBacks, true);
  if (!state.loads.struts.empty()) writeSupportTable(state, out, state.loads.struts, false);
  if (!state.grid.specified.empty()) writeNodeReactions(state, out);
}

}  // namespace korden

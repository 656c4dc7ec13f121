#include "report/results_report.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
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

// One term c v of a finite difference, v carrying the rounding bound b of its own making.
struct Term {
  double coefficient, value, bound;
};

// scale x (sum of c v) / divisor, with the rounding bound of that sum: the bounds the terms carry
// plus kNoiseUlps eps of the sum of their magnitudes. The sum is taken in the order of the terms.
struct Difference {
  double value, bound;
};
Difference difference(std::initializer_list<Term> terms, double divisor, double scale = 1.0) {
  // The sum starts from the first term itself, so that the sign of a zero is the one the plain
  // expression (a - 2 b + c) gives.
  double sum = 0.0, magnitude = 0.0, carried = 0.0;
  bool first = true;
  for (const Term& t : terms) {
    sum = first ? t.coefficient * t.value : sum + t.coefficient * t.value;
    first = false;
    magnitude += std::fabs(t.coefficient * t.value);
    carried += std::fabs(t.coefficient) * t.bound;
  }
  return {scale * sum / divisor,
          std::fabs(scale) * (carried + kNoiseUlps * kEps * magnitude) / std::fabs(divisor)};
}

// The value of a difference, or 0 where it lies within its rounding bound (an exact zero keeps
// its sign).
double withoutRoundingNoise(const Difference& d) {
  return d.value != 0.0 && std::fabs(d.value) <= d.bound ? 0.0 : d.value;
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
    const Difference m =
        difference({{1.0, g.y(i), 0.0}, {-2.0, g.y(i + 1), 0.0}, {1.0, g.y(i + 2), 0.0}},
                   g.hSquared, g.EI(i + 1));
    momentBound(i + 1) = m.bound;
    a.moment(i + 1) = withoutRoundingNoise(m);
  }
  for (int i = -1; i <= n + 1; ++i) {
    const Term up{1.0, a.moment(i - 1), momentBound(i - 1)};
    const Term here{1.0, a.moment(i), momentBound(i)};
    const Term down{1.0, a.moment(i + 1), momentBound(i + 1)};
    auto negated = [](Term t) {
      t.coefficient = -t.coefficient;
      return t;
    };
    a.slope(i) =
        withoutRoundingNoise(difference({{1.0, g.y(i + 1), 0.0}, {-1.0, g.y(i - 1), 0.0}}, g.twoH));
    a.shear(i) = withoutRoundingNoise(i >= 1 ? difference({down, negated(up)}, g.twoH)
                                             : difference({down, negated(here)}, h));
    a.netForce(i) = withoutRoundingNoise(difference({up, {-2.0, here.value, here.bound}, down}, h));
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

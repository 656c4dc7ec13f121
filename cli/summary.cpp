#include "cli/summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <vector>

#include "cli/units.h"

namespace korden {

namespace {

std::string number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", v == 0.0 ? 0.0 : v);  // no "-0"
  return buffer;
}

std::string depthText(double depth, const EngineeringUnits& u) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", depth);
  return std::string(buffer) + " " + u.depth;
}

// A value with its depth, for the largest of one quantity.
struct Peak {
  double value = 0.0;
  double depth = 0.0;
  int caseNumber = 0;
  bool found = false;
};

enum class Pick { LargestMagnitude, MostPositive, MostNegative };

// Values of the other sign do not count for the most positive or most negative one.
bool counts(double v, Pick pick) {
  return pick == Pick::LargestMagnitude || (pick == Pick::MostPositive ? v > 0.0 : v < 0.0);
}

// The largest value of one kind; values below a billionth of the largest magnitude are the
// round-off of a zero (the moment at a free end) and do not count for a sign.
Peak peakOf(const std::vector<double>& values, const std::vector<double>& depth, double factor,
            Pick pick) {
  double largest = 0.0;
  for (double v : values) largest = std::max(largest, std::fabs(v * factor));
  Peak p;
  for (size_t i = 0; i < values.size() && i < depth.size(); ++i) {
    const double v = values[i] * factor;
    if (pick != Pick::LargestMagnitude && std::fabs(v) <= 1e-9 * largest) continue;
    if (!counts(v, pick) || (p.found && std::fabs(v) <= std::fabs(p.value))) continue;
    p.value = v;
    p.depth = depth[i];
    p.found = true;
  }
  return p;
}

// The quantities of the summary, in the case's engineering units.
struct CaseFigures {
  double top = 0.0, toe = 0.0;
  Peak deflection, positiveMoment, negativeMoment, shear, reaction;
};

CaseFigures figuresOf(const CaseResults& c) {
  const EngineeringUnits u = engineeringUnits(c.unitsFlag);
  CaseFigures f;
  if (!c.closed || c.deflection.empty()) return f;
  f.top = c.deflection.front() * u.deflectionFactor;
  f.toe = c.deflection.back() * u.deflectionFactor;
  f.deflection = peakOf(c.deflection, c.depth, u.deflectionFactor, Pick::LargestMagnitude);
  f.positiveMoment = peakOf(c.moment, c.depth, u.momentFactor, Pick::MostPositive);
  f.negativeMoment = peakOf(c.moment, c.depth, u.momentFactor, Pick::MostNegative);
  f.shear = peakOf(c.shear, c.depth, u.forceFactor, Pick::LargestMagnitude);
  f.reaction = peakOf(c.soilReaction, c.depth, u.reactionFactor, Pick::LargestMagnitude);
  return f;
}

std::string peakText(const Peak& p, const char* unit, const EngineeringUnits& u) {
  if (!p.found) return "none";
  return number(p.value) + " " + unit + " at " + depthText(p.depth, u);
}

const char* kindOf(const SupportResult& s) { return s.tieBack ? "tie-back" : "strut"; }

// A support's force acts on the wall towards the backfill when negative (deflections are
// positive towards the excavation): a tie-back then pulls (tension), a strut pushes
// (compression).
std::string supportForceText(const SupportResult& s, const EngineeringUnits& u) {
  const double f = s.forcePerSupport * u.forceFactor;
  const bool holdsBack = f <= 0.0;
  const char* state =
      s.tieBack ? (holdsBack ? "tension" : "compression") : (holdsBack ? "compression" : "tension");
  return number(std::fabs(f)) + " " + u.force + " " + state;
}

std::string supportName(const SupportResult& s) {
  return std::string(kindOf(s)) + " " + std::to_string(s.number);
}

void printCase(std::ostream& out, const CaseResults& c) {
  const EngineeringUnits u = engineeringUnits(c.unitsFlag);
  out << caseLabel(c) << ": " << caseTitle(c) << "\n";
  if (!c.closed) {
    out << "  no results: " << c.noResultsReason << "\n";
    return;
  }
  const CaseFigures f = figuresOf(c);
  out << "  closed in " << c.iterations << " iterations\n"
      << "  deflection: top " << number(f.top) << " " << u.deflection << ", toe " << number(f.toe)
      << " " << u.deflection << ", largest " << peakText(f.deflection, u.deflection, u) << "\n"
      << "  moment:     largest positive " << peakText(f.positiveMoment, u.moment, u)
      << ", largest negative " << peakText(f.negativeMoment, u.moment, u) << "\n"
      << "  shear:      largest " << peakText(f.shear, u.force, u) << "\n"
      << "  soil reaction: largest " << peakText(f.reaction, u.reaction, u) << "\n";
  for (const SupportResult& s : c.supports) {
    out << "  " << supportName(s) << " at " << depthText(s.depth, u) << ": "
        << supportForceText(s, u) << " per " << (s.tieBack ? "tie-back" : "strut") << "\n";
  }
}

std::string padded(const std::string& text, size_t width) {
  return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

// The cases side by side, one column per case, and the envelope over the closed ones.
void printStagesTable(std::ostream& out, const RunResults& run) {
  const EngineeringUnits u = engineeringUnits(run.cases.front().unitsFlag);
  constexpr size_t kLabel = 32, kColumn = 12;
  std::vector<CaseFigures> figures;
  for (const CaseResults& c : run.cases) figures.push_back(figuresOf(c));

  out << "\n" << padded("", kLabel);
  for (const CaseResults& c : run.cases) out << padded(caseLabel(c), kColumn);
  out << padded("envelope", kColumn) << "at\n";

  // One row: each closed case's value, then the value of largest magnitude over the cases (or the
  // most positive / most negative), with its case and depth.
  auto row = [&](const std::string& name, auto valueOf, Pick pick) {
    out << padded(name, kLabel);
    Peak env;
    for (size_t k = 0; k < run.cases.size(); ++k) {
      if (!run.cases[k].closed) {
        out << padded("-", kColumn);
        continue;
      }
      const Peak p = valueOf(figures[k], run.cases[k]);
      out << padded(p.found ? number(p.value) : "none", kColumn);
      if (!p.found || !counts(p.value, pick)) continue;
      if (!env.found || std::fabs(p.value) > std::fabs(env.value)) {
        env = p;
        env.caseNumber = static_cast<int>(k);
      }
    }
    if (env.found) {
      out << padded(number(env.value), kColumn) << caseLabel(run.cases[env.caseNumber]) << ", "
          << depthText(env.depth, u);
    }
    out << "\n";
  };
  auto at = [](double v, double depth) {
    Peak p;
    p.value = v;
    p.depth = depth;
    p.found = true;
    return p;
  };
  const std::string d = std::string(" (") + u.deflection + ")";
  using Case = const CaseResults&;
  using Figures = const CaseFigures&;
  row(
      "top deflection" + d, [&](Figures f, Case) { return at(f.top, 0.0); },
      Pick::LargestMagnitude);
  // The toe is the case's last station.
  row(
      "toe deflection" + d, [&](Figures f, Case c) { return at(f.toe, c.depth.back()); },
      Pick::LargestMagnitude);
  row(
      "largest deflection" + d, [](Figures f, Case) { return f.deflection; },
      Pick::LargestMagnitude);
  const std::string m = std::string(" (") + u.moment + ")";
  row(
      "largest +moment" + m, [](Figures f, Case) { return f.positiveMoment; }, Pick::MostPositive);
  row(
      "largest -moment" + m, [](Figures f, Case) { return f.negativeMoment; }, Pick::MostNegative);
  row(
      std::string("largest shear (") + u.force + ")", [](Figures f, Case) { return f.shear; },
      Pick::LargestMagnitude);
  row(
      std::string("largest soil reaction (") + u.reaction + ")",
      [](Figures f, Case) { return f.reaction; }, Pick::LargestMagnitude);

  // Support forces, by kind and number, over the cases that have the support.
  std::set<std::pair<int, int>> supports;  // tie-backs (0) first, then struts (1)
  for (const CaseResults& c : run.cases) {
    for (const SupportResult& s : c.supports) supports.insert({s.tieBack ? 0 : 1, s.number});
  }
  for (const auto& key : supports) {
    const bool tieBack = key.first == 0;
    out << padded(std::string(tieBack ? "tie-back " : "strut ") + std::to_string(key.second) +
                      " (" + u.force + ")",
                  kLabel);
    const SupportResult* largest = nullptr;
    size_t largestCase = 0;
    for (size_t c = 0; c < run.cases.size(); ++c) {
      const SupportResult* found = nullptr;
      for (const SupportResult& s : run.cases[c].supports) {
        if (s.tieBack == tieBack && s.number == key.second) found = &s;
      }
      out << padded(found ? number(found->forcePerSupport * u.forceFactor) : "-", kColumn);
      if (found &&
          (!largest || std::fabs(found->forcePerSupport) > std::fabs(largest->forcePerSupport))) {
        largest = found;
        largestCase = c;
      }
    }
    if (largest) {
      out << padded(number(largest->forcePerSupport * u.forceFactor), kColumn)
          << caseLabel(run.cases[largestCase]) << ", " << supportForceText(*largest, u);
    }
    out << "\n";
  }
  if (!supports.empty()) {
    out << "(support forces: negative holds the wall back, tension in a tie-back, compression in "
           "a strut)\n";
  }
}

std::string lowerFirst(std::string text) {
  if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  return text;
}

}  // namespace

int exitStatusOf(const RunResults& run) {
  switch (run.end) {
    case RunEnd::GeneratorStop:
      return kExitGeneratorStop;
    case RunEnd::Normal:
      break;
    default:
      return kExitInputFailed;
  }
  if (run.cases.empty()) return kExitInputFailed;
  for (const CaseResults& c : run.cases) {
    if (!c.closed) return kExitNoResults;
  }
  return kExitClosed;
}

std::string caseLabel(const CaseResults& c) {
  const std::string& h = c.heading;
  if (h.rfind("Stage No :", 0) == 0) {
    int stage = 0;
    if (std::sscanf(h.c_str() + 10, "%d", &stage) == 1) return "Stage " + std::to_string(stage);
  }
  if (h.rfind("Long Term :", 0) == 0) return "Long term";
  return "Case " + std::to_string(c.number);
}

std::string caseTitle(const CaseResults& c) {
  std::string h = c.heading;
  if (h.rfind("Stage No :", 0) == 0 && h.size() > 13) h = h.substr(13);
  if (h.rfind("Long Term :", 0) == 0) h = h.substr(11);
  const size_t first = h.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : h.substr(first);
}

void printRunSummary(std::ostream& out, const RunResults& run) {
  for (const CaseResults& c : run.cases) printCase(out, c);
  if (run.cases.size() >= 2) printStagesTable(out, run);
}

void printWarnings(std::ostream& out, const RunResults& run) {
  for (const CaseResults& c : run.cases) {
    const EngineeringUnits u = engineeringUnits(c.unitsFlag);
    if (c.largestCurveSpacing > u.curveSpacingLimit + 1e-9) {
      out << "warning: " << caseLabel(c) << ": generated p-y curves lie up to "
          << depthText(c.largestCurveSpacing, u) << " apart along the wall (five per soil layer);"
          << " the results depend on how the soil is split into layers: split layers thicker than "
          << number(5.0 * u.curveSpacingLimit) << " " << u.depth << "\n";
    }
  }
}

std::string closingLine(const RunResults& run) {
  const size_t n = run.cases.size();
  std::string line = std::to_string(n) + (n == 1 ? " case" : " cases");
  std::vector<const CaseResults*> failed;
  for (const CaseResults& c : run.cases) {
    if (!c.closed) failed.push_back(&c);
  }
  if (n == 0) {
    line = "no case analysed";
  } else if (failed.empty()) {
    line += n == 1 ? ", closed" : ", all closed";
  } else {
    line += ", " + std::to_string(failed.size()) + " without results (";
    for (size_t k = 0; k < failed.size(); ++k) {
      if (k > 0) line += "; ";
      line += lowerFirst(caseLabel(*failed[k])) + ": " + failed[k]->noResultsReason;
    }
    line += ")";
  }
  switch (run.end) {
    case RunEnd::Normal:
      break;
    case RunEnd::InputError:
      line += "; the run stopped at an input error";
      break;
    case RunEnd::ErrorStop:
      line += "; the run stopped at an error stop";
      break;
    case RunEnd::GeneratorStop:
      line += "; the run stopped at generator stop " + std::to_string(run.stopCode);
      break;
    case RunEnd::WriteFailed:
      line += "; an output file could not be written";
      break;
    case RunEnd::FilesFailed:
      line += "; the run's files could not be used";
      break;
    case RunEnd::OutOfMemory:
      line += "; the run ran out of memory";
      break;
  }
  return line;
}

void printStopForEditors(std::ostream& err, const std::string& inputName, const RunResults& run) {
  if (run.end == RunEnd::Normal || run.errorText.empty()) return;
  std::string text = run.errorText;
  // The report's own wording starts with where: the line is in the prefix already.
  const std::string inputPrefix = " OF THE INPUT DATA FILE: ";
  const size_t at = text.find(inputPrefix);
  if (run.end == RunEnd::InputError && at != std::string::npos) {
    text = text.substr(at + inputPrefix.size());
  } else if (run.end == RunEnd::InputError) {
    // "END OF THE INPUT DATA FILE AT LINE n WHILE READING WHAT"
    const std::string reading = " WHILE READING ";
    const size_t r = text.find(reading);
    if (r != std::string::npos) {
      text = text.substr(r + reading.size()) + ": expected more values, found the end of the file";
    }
  }
  err << inputName;
  if (run.errorLine > 0) err << ":" << run.errorLine;
  err << ": error: " << text << "\n";
}

}  // namespace korden

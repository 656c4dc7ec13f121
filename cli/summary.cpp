#include "cli/summary.h"

#include <cstdio>
#include <fstream>

namespace korden {

namespace {

const char* outcomeText(IterationOutcome o) {
  switch (o) {
    case IterationOutcome::Closed:
      return "closed";
    case IterationOutcome::DeflectionExceeded:
      return "maximum allowable deflection exceeded (no results)";
    case IterationOutcome::NotClosed:
      return "not closed within the tolerance (no results)";
    case IterationOutcome::Abandoned:
      return "analysis abandoned (no results)";
  }
  return "";
}

std::string number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", v);
  return buffer;
}

}  // namespace

void printRunSummary(std::ostream& out, const std::vector<CaseSummary>& cases, int unitsFlag,
                     const std::string& reportPath) {
  const bool si = unitsFlag == 2;
  const char* depth = si ? "m" : "ft";
  const char* length = si ? "m" : "in";
  const char* moment = si ? "kN-m" : "lb-in";
  const char* force = si ? "kN" : "lb";
  for (const CaseSummary& c : cases) {
    out << "Case " << c.caseNumber << ": " << outcomeText(c.outcome) << ", " << c.iterations
        << " iterations\n";
    if (c.outcome != IterationOutcome::Closed) continue;
    out << "  largest deflection " << number(c.maxDeflection) << " " << length << " at "
        << number(c.maxDeflectionDepth) << " " << depth << "; largest moment "
        << number(c.maxMoment) << " " << moment << " at " << number(c.maxMomentDepth) << " "
        << depth << "\n";
    for (size_t k = 0; k < c.tieBackForces.size(); ++k) {
      out << "  tie-back " << k + 1 << ": " << number(c.tieBackForces[k]) << " " << force << "\n";
    }
    for (size_t k = 0; k < c.strutForces.size(); ++k) {
      out << "  strut " << k + 1 << ": " << number(c.strutForces[k]) << " " << force << "\n";
    }
  }
  // Error stops are in the report: show them too.
  std::ifstream in(reportPath);
  std::string line;
  bool ended = false;
  bool stopped = false;
  while (std::getline(in, line)) {
    if (line == "     END OF ANALYSIS") ended = true;
    if (line.rfind("     ERROR", 0) == 0 || line.rfind("     TOO MUCH DATA", 0) == 0 ||
        line.rfind("     INPUT ERROR", 0) == 0) {
      out << "Stopped: " << line.substr(5) << "\n";
      stopped = true;
    }
  }
  if (!ended) {
    out << "The run did not reach its end.\n";
  } else {
    out << (stopped ? "The run ended early through the error stop above.\n"
                    : "The run ended normally.\n");
  }
}

}  // namespace korden

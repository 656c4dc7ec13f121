#include "cli/summary.h"

#include <fstream>

namespace korden {

void printRunSummary(std::ostream& out, const std::string& reportPath) {
  std::ifstream in(reportPath);
  std::string line;
  int cases = 0;
  bool ended = false;
  while (std::getline(in, line)) {
    if (line.find("Time and Date of Analysis") != std::string::npos) ++cases;
    if (line == "     END OF ANALYSIS") ended = true;
    if (line.rfind("     ERROR", 0) == 0 || line.rfind("     TOO MUCH DATA", 0) == 0 ||
        line.rfind("     INPUT ERROR", 0) == 0) {
      out << "Stopped: " << line.substr(5) << "\n";
    }
  }
  out << "Analysis cases: " << cases << (ended ? ", run ended normally" : ", run did not end")
      << "\n";
}

}  // namespace korden

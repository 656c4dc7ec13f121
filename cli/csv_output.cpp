#include "cli/csv_output.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "cli/summary.h"

namespace korden {

namespace {

std::string real(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6E", v == 0.0 ? 0.0 : v);
  return buffer;
}

// A text field: quoted, inner quotes doubled.
std::string text(const std::string& s) {
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

bool finish(std::ofstream& file, const std::filesystem::path& path, std::ostream& out,
            std::ostream& err) {
  file.close();
  if (!file) {
    err << "korden: cannot write '" << path.string() << "'\n";
    return false;
  }
  out << "Table:                 " << path.string() << "\n";
  return true;
}

}  // namespace

bool writeCsvFiles(const RunResults& run, const std::filesystem::path& stem, std::ostream& out,
                   std::ostream& err) {
  bool ok = true;
  bool anySupport = false;
  for (const CaseResults& c : run.cases) {
    anySupport = anySupport || !c.supports.empty();
    if (!c.closed) continue;
    const bool si = c.unitsFlag == 2;
    const std::filesystem::path path = stem.string() + "-" + std::to_string(c.number) + ".csv";
    std::ofstream file(path);
    file << (si ? "depth (m),deflection (m),slope (rad),moment (kN-m),shear (kN),"
                  "soil reaction (kN/m),net force per station (kN),EI (kN-m2)\n"
                : "depth (ft),deflection (in),slope (rad),moment (lb-in),shear (lb),"
                  "soil reaction (lb/in),net force per station (lb),EI (lb-in2)\n");
    for (size_t i = 0; i < c.depth.size(); ++i) {
      file << real(c.depth[i]) << ',' << real(c.deflection[i]) << ',' << real(c.slope[i]) << ','
           << real(c.moment[i]) << ',' << real(c.shear[i]) << ',' << real(c.soilReaction[i]) << ','
           << real(c.netForce[i]) << ',' << real(c.ei[i]) << '\n';
    }
    ok = finish(file, path, out, err) && ok;
  }
  if (!anySupport) return ok;
  const std::filesystem::path path = stem.string() + "-supports.csv";
  std::ofstream file(path);
  const bool si = !run.cases.empty() && run.cases.front().unitsFlag == 2;
  const std::string f = si ? " (kN)" : " (lb)";
  file << "case,label,kind,number,station,depth" << (si ? " (m)" : " (ft)")
       << ",horizontal force per station" << f << ",force per station" << f << ",force per support"
       << f << '\n';
  for (const CaseResults& c : run.cases) {
    for (const SupportResult& s : c.supports) {
      file << c.number << ',' << text(caseLabel(c)) << ',' << (s.tieBack ? "tie-back" : "strut")
           << ',' << s.number << ',' << s.station << ',' << real(s.depth) << ','
           << real(s.horizontalForcePerStation) << ',' << real(s.forcePerStation) << ','
           << real(s.forcePerSupport) << '\n';
    }
  }
  return finish(file, path, out, err) && ok;
}

}  // namespace korden

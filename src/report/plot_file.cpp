#include "report/plot_file.h"

#include <algorithm>
#include <charconv>

#include "engine/analysis_case.h"
#include "report/fortran_format.h"
#include "report/results_report.h"

namespace korden {

std::string plotValue(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

void appendPlotValue(std::string& record, double value) {
  char buffer[64];
  buffer[0] = ' ';
  const auto result = std::to_chars(buffer + 1, buffer + sizeof buffer, value);
  record.append(buffer, result.ptr);
}

namespace {

std::string freeLine(std::initializer_list<long long> values) {
  std::string line;
  for (long long v : values) line += " " + std::to_string(v);
  return line;
}

void writeSupports(const RunState& state, OutputFile& plot, const std::vector<Support>& list) {
  plot.line(freeLine({static_cast<long long>(list.size())}));
  int number = 0;
  for (const Support& s : list) {
    plot.line(supportRow(++number, s.station, s.depth,
                         {s.spacing, s.area, s.angle, s.horizontalForce, s.forceAlong,
                          s.forcePerSupport, s.prestress}));
  }
  if (list.empty()) return;
  plot.line(freeLine({state.control.waleFlag}));
  if (state.control.waleFlag <= 0) return;
  number = 0;
  for (const Support& s : list) {
    const WaleResult w = waleResult(state, s);
    plot.line(supportRow(++number, state.control.waleKind, w.reaction,
                         {w.distributedLoad, w.maxMoment, 0.0, 0.0}));
  }
}

}  // namespace

void writeUserCurvePlotSection(const RunState& state, OutputFile& plot) {
  const auto& curves = state.curves.userCurves;
  plot.line(freeLine({state.control.unitsFlag, static_cast<long long>(curves.size())}));
  for (const UserCurve& c : curves) {
    plot.line(fmt::X(1) + fmt::F(c.station, 10, 2) + fmt::X(1) + fmt::I(c.nPoints, 5));
    for (int j = 0; j < c.nPoints; ++j) {
      appendPlotValue(plot.record(), c.yScaled[j]);
      appendPlotValue(plot.record(), c.pScaled[j]);
      plot.end();
    }
  }
}

void writePlotBlock(RunState& state, RunFiles& files, int continuationCode) {
  OutputFile& plot = files.plot;
  const StationGrid& g = state.grid;
  const AnalysisData& a = state.analysis;
  const bool failed = state.driver.failedCase != 0 || !a.hasResults;
  // A closed single problem entered with 0 stages is coded 1: code 0 is kept for a failed case,
  // whose block ends after its header.
  const int caseCode =
      failed ? 0 : (continuationCode == 9 ? 2 : std::max(state.control.nStages, 1));
  plot.line(freeLine({caseCode, g.n + 1, state.control.unitsFlag}));
  if (failed) return;
  for (int i = 0; i <= g.n; ++i) {
    // The fields go straight onto the record: a row of seven 1X,1P,E13.4 fields.
    std::string& record = plot.record();
    for (double v :
         {i * g.h, g.y(i), a.moment(i), a.shear(i), a.netForce(i), g.EI(i), a.soilReaction(i)}) {
      fmt::appendX(record, 1);
      fmt::appendE(record, v, 13, 4);
    }
    plot.end();
  }
  writeSupports(state, plot, state.loads.tieBacks);
  writeSupports(state, plot, state.loads.struts);
}

}  // namespace korden

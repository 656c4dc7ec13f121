#include "cli/explain.h"

#include <cstdio>
#include <memory>

#include "analysis/station_grid.h"
#include "cli/input_pass.h"
#include "cli/record_fields.h"

namespace korden::cli {

namespace {

std::string number(const TracedValue& v) {
  if (v.type == TracedValue::Type::Integer) {
    return std::to_string(static_cast<long long>(v.number));
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.10g", v.number);
  return buffer;
}

// " (station s)" for a depth field once the wall record has given N and h.
std::string stationNote(const FieldInfo& field, double depth, const RunState& state) {
  if (field.depth == DepthKind::None) return "";
  const double h = state.wall.incrementLength;
  const int n = state.wall.nIncrements;
  if (!(h > 0.0) || n <= 0) return "";
  const bool feet = field.depth == DepthKind::Feet && state.english();
  const int station = stationOfDepth(depth, h, feet);
  std::string note = " (station " + std::to_string(station);
  if (station < 0) note += ", above the top of the wall";
  if (station > n) note += ", below the tip at station " + std::to_string(n);
  return note + ")";
}

class ExplainPrinter : public ReadObserver {
 public:
  ExplainPrinter(std::ostream& out, const RunState& state) : out_(out), state_(state) {}

  void recordRead(const TracedRecord& r) override {
    last_.recordRead(r);
    if (r.name == "THE TITLE RECORD") {
      out_ << (state_.driver.caseCounter == 0 ? "" : "\n") << "=== case "
           << state_.driver.caseCounter + 1 << " ===\n";
    }
    const RecordInfo* info = findRecord(r.name);
    out_ << "\n"
         << (r.firstLine == r.lastLine ? "line " + std::to_string(r.firstLine)
                                       : "lines " + std::to_string(r.firstLine) + "-" +
                                             std::to_string(r.lastLine))
         << ": " << (info != nullptr ? std::string(info->tag) + " " : "") << r.name << "\n";
    if (r.isText) {
      out_ << "  " << fieldName(info, 1) << " = \"" << trimmed(r.text) << "\"\n";
      return;
    }
    const int units = state_.control.unitsFlag;
    for (size_t i = 0; i < r.values.size(); ++i) {
      const TracedValue& v = r.values[i];
      const int index = static_cast<int>(i + 1);
      std::string value = v.type == TracedValue::Type::Text ? v.text : number(v);
      const std::string unit = fieldUnit(info, index, units);
      if (!unit.empty()) value += " " + unit;
      if (info != nullptr && i < info->fields.size()) {
        value += stationNote(info->fields[i], v.number, state_);
      }
      if (v.kind == TracedValue::Kind::Null) value += "  (null value: the field keeps its value)";
      if (v.kind == TracedValue::Kind::Slash) value += "  (after /: the field keeps its value)";
      if (v.line != r.firstLine) value += "  [line " + std::to_string(v.line) + "]";
      out_ << "  " << fieldName(info, index) << " = " << value << "\n";
    }
    const std::string note = trimmed(r.rest);
    if (!note.empty()) out_ << "  (rest of line " << r.lastLine << " not read: " << note << ")\n";
  }

  const LastRecord& last() const { return last_; }

 private:
  std::ostream& out_;
  const RunState& state_;
  LastRecord last_;
};

// Explain reads only: no step of the analysis runs between the groups.
class ReadOnlySteps : public CaseSteps {};

}  // namespace

int explainInput(const std::string& path, std::ostream& out, std::ostream& err) {
  InputFile in;
  if (!openInput(path, in, err)) return 1;
  auto state = std::make_unique<RunState>();
  ExplainPrinter printer(out, *state);
  in.setObserver(&printer);
  ReadOnlySteps steps;
  const auto failure = readWithoutAnalysis(*state, in, steps, printer.last());
  if (failure) {
    out << "\n" << path << ":" << failure->line << ": error: " << failure->message << "\n";
    if (!failure->countHint.empty()) out << "  " << failure->countHint << "\n";
    return 1;
  }
  out << "\nend of the run after case " << state->driver.caseCounter + 1 << "\n";
  return 0;
}

}  // namespace korden::cli

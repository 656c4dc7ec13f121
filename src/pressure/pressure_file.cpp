// The pressure file: the generated depth profile written as text and read back, so that the
// analysis receives the values with the file's rounding (six significant digits); then the width
// scaling and the report table of the lateral load.
#include <algorithm>
#include <string>

#include "engine/errors.h"
#include "input/list_reader.h"
#include "pressure/earth_pressure.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

// A row deeper than the excavation level by more than the file's rounding takes WP.
double depthTolerance(double freeHeight) {
  return kDepthTolerance * std::max(1.0, freeHeight < 0.0 ? -freeHeight : freeHeight);
}

const char* captionOf(int option) {
  switch (option) {
    case 2:
      return "* GENERATED TRIANGULAR-DISTRIBUTION EARTH PRESSURE";
    case 3:
      return "* GENERATED TRAPEZOIDAL-DISTRIBUTION EARTH PRESSURE (ANCHORED WALLS, FHWA)";
    case 4:
      return "* EARTH PRESSURE GENERATED  BASED ON SOIL MOVEMENT";
    case 5:
      return "* GENERATED TRAPEZOIDAL-DISTRIBUTION EARTH PRESSURE (ANCHORED WALLS IN UNIFORM CLAY "
             "LAYER)";
    case 6:
      return "* GENERATED TRAPEZOIDAL-DISTRIBUTION EARTH PRESSURE (ANCHORED WALLS, TERZAGHI AND "
             "PECK)";
    default:
      return "";
  }
}

}  // namespace

void writePressureFile(const std::string& name, int count, const std::vector<PressureRow>& rows) {
  OutputFile file;
  if (name.empty() || !file.open(name)) {
    stopWithMessage("     ERROR STOP -- THE PRESSURE FILE '" + name + "' CANNOT BE CREATED");
  }
  // First record list-directed, as an integer of the default width.
  file.line(fmt::I(count, 12));
  for (const PressureRow& row : rows) {
    std::string text;
    text.reserve(13 * row.size());
    for (double v : row) text += " " + fmt::E(v, 12, 5);
    file.line(text);
  }
  file.close();
}

std::vector<PressureRow> readPressureFile(const std::string& name) {
  std::vector<PressureRow> rows;
  try {
    InputFile file = InputFile::fromPath(name);
    int count = 0;
    file.statement("THE ROW COUNT OF THE PRESSURE FILE").integer(count);
    if (count < 0) count = 0;
    rows.reserve(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
      PressureRow row{};
      auto s = file.statement(RecordName{"ROW ", r + 1, " OF THE PRESSURE FILE"});
      for (double& v : row) s.real(v);
      s.finish();
      rows.push_back(row);
    }
  } catch (const InputError& e) {
    stopWithMessage("     ERROR STOP -- THE PRESSURE FILE '" + name +
                    "' CANNOT BE READ BACK: " + e.what());
  } catch (const std::runtime_error&) {
    stopWithMessage("     ERROR STOP -- THE PRESSURE FILE '" + name + "' CANNOT BE OPENED");
  }
  return rows;
}

void scaleByWidths(std::vector<PressureRow>& rows, double freeHeight, double widthActive,
                   double widthResistance) {
  const double limit = freeHeight + depthTolerance(freeHeight);
  bool belowExcavation = false;
  for (PressureRow& row : rows) {
    if (!belowExcavation && row[0] > limit) belowExcavation = true;
    const double width = belowExcavation ? widthResistance : widthActive;
    for (size_t c = 2; c <= 10; ++c) row[c] *= width;
    row[11] *= width;
    row[1] = row[11];
  }
}

void writeGeneratedPressure(OutputFile& out, const RunState& state) {
  const UnitLabels& u = state.labels;
  const double depthScale = state.english() ? 12.0 : 1.0;
  out.blank(2);
  out.line(fmt::X(5) + captionOf(state.control.pressureOption));
  out.blank();
  out.line(fmt::X(8) + " DEPTH         ACTIVE EARTH PRESSURE");
  out.line(fmt::X(10) + u.wallHeight + fmt::X(18) + u.force3 + "/" + u.lengthShort);
  out.line(fmt::X(8) + "--------       ------------------------");
  for (const PressureRow& row : state.pressure.profile) {
    out.line(fmt::X(5) + fmt::E(row[0] / depthScale, 12, 5) + fmt::X(8) + fmt::E(row[1], 12, 5));
  }
}

}  // namespace korden

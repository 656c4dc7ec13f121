#include "pycurves/curve_exchange.h"

#include <charconv>
#include <cmath>

#include "engine/errors.h"
#include "input/list_reader.h"
#include "report/fortran_format.h"
#include "report/plot_file.h"

namespace korden {

namespace {

std::string listInteger(long long value) { return fmt::I(value, 12); }

std::string listReal(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return " " + std::string(buffer, result.ptr);
}

std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

// One formatted point record: I5, 1X, E10.3, 1X, E10.3.
void readPointRecord(InputFile& file, int curve, int pair, double& p, double& y) {
  const int line = file.nextLineNumber();
  const std::string what =
      "POINT " + std::to_string(pair) + " OF GENERATED CURVE " + std::to_string(curve);
  const std::string record = file.readText(27, what);
  int number = 0;
  if (!parseFortranInteger(trimmed(record.substr(0, 5)), number) ||
      !parseFortranReal(trimmed(record.substr(6, 10)), p) ||
      !parseFortranReal(trimmed(record.substr(17, 10)), y)) {
    throw InputError(line, "LINE " + std::to_string(line) + " OF THE CURVE FILE: " + what +
                               " IS NOT A POINT RECORD");
  }
}

// A generated curve must lie on the wall: from its top (station 0) down to two increments below
// its tip, where the curve range ends. Anything else (a free height above the top of the soil, a
// damaged file) stops the run before the curve reaches a station table.
void checkGeneratedCurveStation(const RunState& state, const ExchangeCurve& c, int station,
                                int number) {
  const int deepest = state.wall.nIncrements + 2;
  if (station >= 0 && station <= deepest) return;
  const bool english = state.english();
  const double x = english ? c.depth / 12.0 : c.depth;
  const std::string where =
      station < 0 ? "ABOVE THE TOP OF THE WALL"
                  : "BELOW STATION " + std::to_string(deepest) + " (TWO INCREMENTS BELOW THE TIP)";
  stopWithMessage("     ERROR STOP -- GENERATED P-Y CURVE " + std::to_string(number) +
                  " OF THE CURVE FILE, AT X =" + fmt::E(x, 12, 4) + " " +
                  (english ? "FT" : (state.si() ? "M" : "L")) + ", LIES " + where);
}

}  // namespace

std::string exchangeCurveRecord(double depth) {
  return listReal(depth) + listInteger(kExchangePairs);
}

std::string exchangePointRecord(int number, double p, double y) {
  return fmt::I(number, 5) + " " + fmt::E(p, 10, 3) + " " + fmt::E(y, 10, 3);
}

void writeCurveExchangeFile(const std::string& name, const std::vector<UserCurve>& userCurves,
                            const std::vector<std::string>& generatedRecords, int generatedCount) {
  OutputFile file;
  if (name.empty() || !file.open(name)) {
    stopWithMessage("     ERROR STOP -- THE CURVE FILE '" + name + "' CANNOT BE CREATED");
  }
  file.line(listInteger(static_cast<long long>(userCurves.size()) + generatedCount));
  for (const UserCurve& c : userCurves) {
    file.line(listInteger(c.station) + listInteger(c.nPoints));
    for (int j = 0; j < c.nPoints; ++j) {
      file.line(listInteger(j + 1) + listReal(c.pScaled[j]) + listReal(c.yScaled[j]));
    }
  }
  for (const std::string& record : generatedRecords) file.line(record);
  file.close();
}

CurveFileContents readCurveExchangeFile(const std::string& name, int userCurves) {
  CurveFileContents contents;
  InputFile file;
  try {
    file = InputFile::fromPath(name);
  } catch (const std::exception&) {
    stopWithMessage("     ERROR STOP -- THE CURVE FILE '" + name + "' CANNOT BE OPENED");
  }
  try {
    file.statement("THE CURVE COUNT OF THE CURVE FILE").integer(contents.count);
    checkCapacity(contents.count, kMaxInputCurves);
    for (int i = 0; i < contents.count; ++i) {
      if (i < userCurves) {
        int station = 0, points = 0;
        file.statement("USER CURVE " + std::to_string(i + 1) + " OF THE CURVE FILE")
            .integer(station)
            .integer(points);
        for (int j = 0; j < points; ++j) {
          int number = 0;
          double p = 0.0, y = 0.0;
          file.statement(RecordName{"A POINT OF USER CURVE ", i + 1, {}})
              .integer(number)
              .real(p)
              .real(y);
        }
        continue;
      }
      ExchangeCurve c;
      file.statement("CURVE " + std::to_string(i + 1) + " OF THE CURVE FILE")
          .real(c.depth)
          .integer(c.count);
      for (int j = 0; j < kExchangePairs; ++j) readPointRecord(file, i + 1, j + 1, c.p[j], c.y[j]);
      contents.generated.push_back(c);
    }
  } catch (const InputError& e) {
    stopWithMessage("     ERROR STOP -- THE CURVE FILE '" + name +
                    "' CANNOT BE READ BACK: " + e.what());
  }
  return contents;
}

TableCurve tableCurveFromExchange(const ExchangeCurve& curve, double h) {
  TableCurve t;
  // depth / h rounded half away from zero; no station (far outside the tables) for a depth that
  // is not finite or too large.
  t.fromStation = t.toStation = stationOfDepth(curve.depth, h, false);
  t.contd = 1;
  t.nPoints = kExchangePairs - 1;  // pair 1 is not used
  t.holdEndValues = true;
  // Pairs 34 down to 18 (the backfill side) mirrored to negative deflections, then pairs 2 to 17
  // (the excavation side) with the reaction reversed. 0.0 - v keeps zero unsigned.
  for (int k = 0; k <= 16; ++k) {
    t.y[k] = 0.0 - curve.y[33 - k];
    t.p[k] = curve.p[33 - k];
  }
  for (int k = 17; k <= 32; ++k) {
    t.y[k] = curve.y[k - 16];
    t.p[k] = 0.0 - curve.p[k - 16];
  }
  return t;
}

void takeOverGeneratedCurves(RunState& state, OutputFile& report, OutputFile& plot) {
  CurveData& curves = state.curves;
  const double h = state.wall.incrementLength;
  const CurveFileContents contents =
      readCurveExchangeFile(state.driver.curveFileName, static_cast<int>(curves.userCurves.size()));
  curves.generated.clear();
  curves.generatedCount = 0;
  if (contents.count < 0) return;
  if (contents.count == 0) {
    report.blank();
    return;
  }
  if (contents.generated.empty()) return;  // only user curves: their plot section follows the table
  std::vector<TableCurve> tables;
  tables.reserve(contents.generated.size());
  for (const ExchangeCurve& c : contents.generated) {
    tables.push_back(tableCurveFromExchange(c, h));
    checkGeneratedCurveStation(state, c, tables.back().fromStation,
                               static_cast<int>(curves.userCurves.size() + tables.size()));
  }

  // Plot section: units flag and number of curves, the user curves first in their own layout, then
  // every generated curve with its depth, 33 and its points (p per unit length).
  plot.line(" " + std::to_string(state.control.unitsFlag) + " " + std::to_string(contents.count));
  for (const UserCurve& c : curves.userCurves) {
    plot.line(fmt::X(1) + fmt::F(c.station, 10, 2) + fmt::X(1) + fmt::I(c.nPoints, 5));
    for (int j = 0; j < c.nPoints; ++j) {
      plot.line(" " + plotValue(c.yScaled[j]) + " " + plotValue(c.pScaled[j]));
    }
  }
  for (size_t k = 0; k < tables.size(); ++k) {
    const ExchangeCurve& c = contents.generated[k];
    TableCurve& t = tables[k];
    plot.line(fmt::X(1) + fmt::F(c.depth, 10, 2) + fmt::X(1) + fmt::I(t.nPoints, 5));
    for (int j = 0; j < t.nPoints; ++j)
      plot.line(" " + plotValue(t.y[j]) + " " + plotValue(t.p[j]));
    for (int j = 0; j < t.nPoints; ++j) t.p[j] *= h;
    curves.generated.push_back(t);
  }
  curves.generatedCount = static_cast<int>(curves.generated.size());
}

}  // namespace korden

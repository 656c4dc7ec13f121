// The curve exchange file: the user-specified and generated soil resistance curves written as
// text and read back, so that the wall analysis receives the generated points with four
// significant digits; the 33-point curves of the curve table and the plot file's curve section.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

inline constexpr int kExchangePairs = 34;

// A generated curve as the file holds it: X and the pairs (p, y), excavation side in pairs 1-17,
// backfill side in pairs 18-34.
struct ExchangeCurve {
  double depth = 0.0;
  int count = 0;
  std::array<double, kExchangePairs> p{}, y{};
};

struct CurveFileContents {
  int count = 0;  // total number of curves in the file, user curves included
  std::vector<ExchangeCurve> generated;
};

// The record that opens a generated curve: its X (list-directed, every digit kept) and 34.
std::string exchangeCurveRecord(double depth);
// One point record of a generated curve: I5, then p and y each as 1X, 1P E10.3.
std::string exchangePointRecord(int number, double p, double y);

// Writes the count of all curves, the user curves (station, count, then point number, scaled p,
// scaled y) and the records of the generated curves. Stops the run when the file cannot be made.
void writeCurveExchangeFile(const std::string& name, const std::vector<UserCurve>& userCurves,
                            const std::vector<std::string>& generatedRecords, int generatedCount);

// Reads the file back. More than kMaxInputCurves curves stop the run with the storage message;
// a file that cannot be read stops it with an error message.
CurveFileContents readCurveExchangeFile(const std::string& name, int userCurves);

// The curve-table form of a generated curve: station = X / h rounded, CONTD 1, 33 points
// (-y, p) of the backfill side from its last point to its first, then (y, -p) of the excavation
// side from its second point on, holding its end values beyond its end points. p stays per unit
// length of wall.
TableCurve tableCurveFromExchange(const ExchangeCurve& curve, double h);

// Reads the curve exchange file into state.curves.generated (p times h) and writes the curve
// section of the plot data file.
void takeOverGeneratedCurves(RunState& state, OutputFile& report, OutputFile& plot);

}  // namespace korden

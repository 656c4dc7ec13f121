#include "report/plot_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "engine/analysis_case.h"
#include "engine/decimal_tables.h"
#include "report/fortran_format.h"
#include "report/results_report.h"

namespace korden {

namespace {

constexpr const std::array<double, 23>& kTens = kExactPowersOfTen;

// The shortest decimal digits that read back as `magnitude` (positive, normal) when they number
// at most 15, as std::to_chars finds them: `digits` (no trailing zeros) times 10^(exponent -
// count + 1). Up to 15 digits a decimal read as a double and rounded back to 15 digits is itself
// (DBL_DIG), so the shortest digits, padded with zeros to 15, are the magnitude rounded to 15
// digits, and they exist exactly when that rounding reads back as the magnitude. The rounding is
// taken from the magnitude scaled by one exact power of ten (one rounding); the read-back check,
// one exact multiplication or division by a power of ten (a correctly rounded reading, as
// from_chars does), also catches a wrong last digit of that scaling: a wrong 15-digit decimal
// never reads back as the magnitude. False when there are no such digits (std::to_chars then).
bool shortestDigits(double magnitude, unsigned long long& digits, int& count, int& exponent) {
  // The decade, one higher when the magnitude reaches the next power of ten; a decade still one
  // off puts the scaled value outside [1e14, 1e15) and is left to std::to_chars.
  int decade = decadeEstimate(magnitude);
  const int up = -decade - 1;
  if (up > 22 || up < -22) return false;
  if ((up >= 0 ? magnitude * kTens[up] : magnitude / kTens[-up]) >= 1.0) ++decade;
  const int s = 14 - decade;  // scaled = magnitude * 10^s, 15 digits before the point
  if (s > 22 || s < -22) return false;
  const double scaled = s >= 0 ? magnitude * kTens[s] : magnitude / kTens[-s];
  if (!(scaled >= 1.0e14 && scaled < 1.0e15)) return false;
  const double whole = static_cast<double>(static_cast<unsigned long long>(scaled));
  const double rounded = whole + (scaled - whole >= 0.5 ? 1.0 : 0.0);
  const double back = s >= 0 ? rounded / kTens[s] : rounded * kTens[-s];
  if (back != magnitude) return false;
  digits = static_cast<unsigned long long>(rounded);
  exponent = decade;
  count = 15;
  if (digits == 1000000000000000ULL) {  // 9.99..95 rounded up to 10
    digits /= 10U;
    ++exponent;
  }
  // Trailing zeros off, eight, four, two and one at a time: one pass takes any number up to 15.
  for (const auto& [unit, zeros] : {std::pair{100000000ULL, 8}, std::pair{10000ULL, 4},
                                    std::pair{100ULL, 2}, std::pair{10ULL, 1}}) {
    if (digits % unit == 0U) {
      digits /= unit;
      count -= zeros;
    }
  }
  return true;
}

// The plain std::to_chars text of a value with those digits: fixed notation unless the
// scientific one (d.ddde+XX, at least two exponent digits) is shorter.
char* shortestText(char* out, bool negative, unsigned long long digits, int count, int exponent) {
  char text[16];
  writeDigits(text, digits, count);
  const int exponentDigits = std::abs(exponent) >= 100 ? 3 : 2;
  const int scientificLength = count + (count > 1 ? 1 : 0) + 2 + exponentDigits;
  const int fixedLength = exponent >= 0
                              ? std::max(count, exponent + 1) + (count > exponent + 1 ? 1 : 0)
                              : count + 1 - exponent;
  if (negative) *out++ = '-';
  if (fixedLength <= scientificLength) {
    if (exponent < 0) {
      *out++ = '0';
      *out++ = '.';
      for (int k = 0; k < -exponent - 1; ++k) *out++ = '0';
      for (int k = 0; k < count; ++k) *out++ = text[k];
    } else {
      for (int k = 0; k <= exponent || k < count; ++k) {
        if (k == exponent + 1) *out++ = '.';
        *out++ = k < count ? text[k] : '0';
      }
    }
    return out;
  }
  *out++ = text[0];
  if (count > 1) {
    *out++ = '.';
    for (int k = 1; k < count; ++k) *out++ = text[k];
  }
  *out++ = 'e';
  *out++ = exponent < 0 ? '-' : '+';
  const int e = std::abs(exponent);
  if (exponentDigits == 3) *out++ = static_cast<char>('0' + e / 100);
  *out++ = static_cast<char>('0' + e / 10 % 10);
  *out++ = static_cast<char>('0' + e % 10);
  return out;
}

}  // namespace

void appendPlotValue(std::string& record, double value) {
  // Written in place at the end of the record, then cut to its length (a copy from a stack
  // buffer would read the bytes back as words just after storing them one by one, a stall).
  constexpr std::size_t kLongest = 32;  // a blank and std::to_chars's longest shortest text (24)
  const std::size_t start = record.size();
  record.append(kLongest, ' ');
  char* const first = record.data() + start + 1;
  char* const last = record.data() + start + kLongest;
  const double magnitude = std::fabs(value);
  unsigned long long digits = 0;
  int count = 0;
  int exponent = 0;
  char* end = nullptr;
  // Below 2^53: std::to_chars writes a larger value in fixed notation with all the digits of
  // its exact binary value, not the shortest ones.
  if (magnitude > 1.0e-290 && magnitude < 9007199254740992.0 &&
      shortestDigits(magnitude, digits, count, exponent)) {
    end = shortestText(first, std::signbit(value), digits, count, exponent);
  } else {
    end = std::to_chars(first, last, value).ptr;
  }
  record.resize(static_cast<std::size_t>(end - record.data()));
}

std::string plotValue(double value) {
  std::string text;
  appendPlotValue(text, value);
  return text.substr(1);
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
    std::string& head = plot.record();
    fmt::appendX(head, 1);
    fmt::appendF(head, c.station, 10, 2);
    fmt::appendX(head, 1);
    fmt::appendI(head, c.nPoints, 5);
    plot.end();
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

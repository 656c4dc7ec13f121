#include "report/report_text.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "report/calendar_time.h"
#include "report/fortran_format.h"

namespace korden {

std::string printableText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 15];
    } else {
      shown += c;
    }
  }
  return shown;
}

UnitLabels unitLabelsFor(int unitsFlag) {
  if (unitsFlag == 1) return {" FT", "FT", " IN", "IN", "IN", " LBS", "LBS"};
  if (unitsFlag == 2) return {"  M", " M", "  M", " M", "MM", "  KN", " KN"};
  return {"  L", " L", "  L", " L", " L", "   F", "  F"};
}

std::string stressLabel(const UnitLabels& u) { return u.force3 + "/" + u.lengthShort + "**2"; }
std::string momentLabel(const UnitLabels& u) { return u.force4 + "-" + u.lengthShort; }
std::string stiffnessLabel(const UnitLabels& u) { return u.force4 + "-" + u.lengthShort + "**2"; }

void writeBanner(OutputFile& out, std::string_view captionLine, int blankLinesBefore) {
  const std::string stars = std::string(6, ' ') + std::string(50, '*');
  out.blank(blankLinesBefore);
  out.line(stars);
  out.line(std::string(6, ' ') + std::string(captionLine));
  out.line(stars);
  out.blank();
}

void writeMinorCaption(OutputFile& out, std::string_view caption) {
  out.blank();
  out.line(std::string(5, ' ') + std::string(caption));
}

PathParts splitPath(std::string_view path) {
  PathParts parts;
  std::string_view rest = path;
  if (rest.size() >= 2 && rest[1] == ':' &&
      ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
    parts.drive = std::string(rest.substr(0, 2));
    rest.remove_prefix(2);
  }
  const size_t slash = rest.find_last_of("/\\");
  if (slash != std::string_view::npos) {
    parts.directory = std::string(rest.substr(0, slash + 1));
    rest.remove_prefix(slash + 1);
  }
  const size_t dot = rest.find_last_of('.');
  if (dot != std::string_view::npos) {
    parts.extension = std::string(rest.substr(dot, 5));
    rest = rest.substr(0, dot);
  }
  parts.name = std::string(rest);
  return parts;
}

std::tm reportTime() {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (end != epoch && *end == '\0' && errno == 0) {
      if (const auto when = utcCalendarTime(seconds)) return *when;
    }
  }
  const std::time_t now = std::time(nullptr);
  if (const auto when = localCalendarTime(now)) return *when;
  return utcCalendarTime(static_cast<long long>(now)).value_or(std::tm{});
}

void writeReportHeader(OutputFile& out, const DriverState& driver, const std::tm& when) {
  static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  const std::string rule = std::string(5, ' ') + std::string(73, '=');
  const std::string dashes = std::string(5, ' ') + std::string(73, '-');
  const std::string indent(20, ' ');
  out.line(rule);
  out.blank();
  out.line(indent + "  KORDEN for Windows, Version " +
           fmt::A(printableText(driver.versionText), 12));
  out.blank();
  out.line(indent + "   A Program for the Analysis of ");
  out.line(indent + "   Flexible Retaining Walls ");
  out.blank();
  out.line(rule);
  out.blank(2);
  const PathParts input = splitPath(driver.inputName);
  const PathParts output = splitPath(driver.outputName);
  const PathParts plot = splitPath(driver.plotName);
  out.line("     Path to file locations      : " + printableText(input.drive + input.directory));
  out.line("     Name of input data file     : " + printableText(input.name + input.extension));
  out.line("     Name of output file         : " + printableText(output.name + output.extension));
  out.line("     Name of plot output file    : " + printableText(plot.name + plot.extension));
  out.blank();
  out.line(dashes);
  out.line(std::string(26, ' ') + "Time and Date of Analysis");
  out.line(dashes);
  out.blank();
  const int month = (when.tm_mon >= 0 && when.tm_mon < 12) ? when.tm_mon : 0;
  out.line(std::string(15, ' ') + "Date:  " + kMonths[month] + " " + fmt::I(when.tm_mday, 2, 2) +
           ", " + fmt::I(when.tm_year + 1900, 4) + std::string(5, ' ') +
           "Time:  " + fmt::I(when.tm_hour, 2, 2) + ":" + fmt::I(when.tm_min, 2, 2) + ":" +
           fmt::I(when.tm_sec, 2, 2));
}

}  // namespace korden

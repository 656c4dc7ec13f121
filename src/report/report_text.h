// Shared pieces of the report: unit labels, banners and the report header.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "engine/run_state.h"
#include "report/output_file.h"

namespace korden {

// Text of the input made safe for the report: every control byte (below 32, and 127), NUL
// included, is shown as \xNN, so that a bad title or name never puts raw control bytes into a
// file the host reads. Other bytes are kept as they are.
std::string printableText(std::string_view text);

// Unit labels for the units flag: 1 English, 2 SI, anything else generic ("L", "F").
UnitLabels unitLabelsFor(int unitsFlag);

// Composite labels.
std::string stressLabel(const UnitLabels& u);     // e.g. "LBS/IN**2"
std::string momentLabel(const UnitLabels& u);     // e.g. " LBS-IN"
std::string stiffnessLabel(const UnitLabels& u);  // e.g. " LBS-IN**2"

// A main banner at column 7: 50 asterisks, the caption line (50 characters between and with the
// edge asterisks, given whole), 50 asterisks, then an empty line. `blankLinesBefore` empty lines
// come first.
void writeBanner(OutputFile& out, std::string_view captionLine, int blankLinesBefore = 2);
// A minor caption at column 6 after an empty line, e.g. "* WALL SECTIONS *".
void writeMinorCaption(OutputFile& out, std::string_view caption);

// Parts of a file name: drive (up to 3 characters), directory, file name, extension (up to 5
// characters with the dot).
struct PathParts {
  std::string drive, directory, name, extension;
};
PathParts splitPath(std::string_view path);

// The time printed in the report header: SOURCE_DATE_EPOCH (UTC) when it is set to a whole number
// of seconds within the years 1 to 9999, else local time.
std::tm reportTime();

// The report header written at the top of every case.
void writeReportHeader(OutputFile& out, const DriverState& driver, const std::tm& when);

}  // namespace korden

// Checks of input values where they enter, with error stops that name the record, its line and
// the field.
#pragma once

#include <string>
#include <string_view>

#include "input/list_reader.h"

namespace korden {

// The line of the input data file that the last read statement ended on: the line of a record
// held on one line.
inline int lastLineRead(const InputFile& in) { return in.nextLineNumber() - 1; }

// "RECORD AT LINE n".
std::string recordAtLine(std::string_view record, int line);

// A count of a table may not be negative: "     ERROR STOP -- <where>: ... NOT -2".
void requireNonNegativeCount(long long count, const std::string& where);

// A station from the input must lie within first..last (the stations the analysis uses).
void requireStationWithin(long long station, long long first, long long last,
                          const std::string& where);

}  // namespace korden

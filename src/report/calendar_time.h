// Calendar time for the report header, computed the same way on every platform.
#pragma once

#include <ctime>
#include <optional>

namespace korden {

// The UTC calendar time `epochSeconds` after 1970-01-01 00:00:00 UTC in the proleptic Gregorian
// calendar (no leap seconds, as time_t counts). Empty outside the years 1 to 9999, which the
// report's four-digit year field cannot show.
std::optional<std::tm> utcCalendarTime(long long epochSeconds);

// The local calendar time of the clock value `t`, through the thread-safe conversion of the
// platform's C library (localtime_r, or localtime_s on Windows). Empty when it cannot convert.
std::optional<std::tm> localCalendarTime(std::time_t t);

}  // namespace korden

#include "input/input_checks.h"

#include "engine/errors.h"

namespace korden {

std::string recordAtLine(std::string_view record, int line) {
  return std::string(record) + " AT LINE " + std::to_string(line);
}

void requireNonNegativeCount(long long count, const std::string& where) {
  if (count >= 0) return;
  stopWithMessage("     ERROR STOP -- " + where + ": A COUNT MAY NOT BE NEGATIVE, NOT " +
                  std::to_string(count));
}

void requireStationWithin(long long station, long long first, long long last,
                          const std::string& where) {
  if (station >= first && station <= last) return;
  stopWithMessage("     ERROR STOP -- " + where + ": STATION " + std::to_string(station) +
                  " LIES OUTSIDE STATIONS " + std::to_string(first) + " TO " +
                  std::to_string(last));
}

}  // namespace korden

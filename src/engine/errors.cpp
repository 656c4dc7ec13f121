#include "engine/errors.h"

namespace korden {

void stopTooMuchData() {
  throw ErrorStop({"", "", "     TOO MUCH DATA FOR AVAILABLE STORAGE", "", ""});
}

void stopTooMuchData(const std::string& table, long long count, long long capacity) {
  throw ErrorStop({"", "", "     TOO MUCH DATA FOR AVAILABLE STORAGE",
                   "     " + table + ": " + std::to_string(count) + " GIVEN, THE TABLE HOLDS " +
                       std::to_string(capacity),
                   "", ""});
}

void stopStationsNotInOrder(const std::string& detail) {
  throw ErrorStop({"", "", "     ERROR STOP -- STATIONS NOT IN ORDER", detail});
}

void stopStationsNotInOrder() {
  throw ErrorStop({"", "", "     ERROR STOP -- STATIONS NOT IN ORDER"});
}

void stopWithMessage(const std::string& text) { throw ErrorStop({"", "", text}); }

}  // namespace korden

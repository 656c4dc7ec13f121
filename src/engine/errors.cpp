#include "engine/errors.h"

namespace korden {

void stopTooMuchData() {
  throw ErrorStop({"", "", "     TOO MUCH DATA FOR AVAILABLE STORAGE", "", ""});
}

void stopStationsNotInOrder() {
  throw ErrorStop({"", "", "     ERROR STOP -- STATIONS NOT IN ORDER"});
}

void stopWithMessage(const std::string& text) { throw ErrorStop({"", "", text}); }

}  // namespace korden

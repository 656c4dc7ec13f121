// The exported entry point of the engine library.
#include <iostream>

#include "engine/run_driver.h"
#include "korden/korden.h"

extern "C" KORDEN_API int32_t KORDEN_CALL IKORDEN(int32_t /*host_arg1*/, int32_t /*host_arg2*/) {
  try {
    return korden::runEngine("NAMES.dat", std::cerr);
  } catch (...) {
    // Nothing may escape into the host.
    std::cerr << "korden: the run ended with an internal error\n";
    return korden::kRunFilesFailed;
  }
}

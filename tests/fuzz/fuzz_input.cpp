// libFuzzer target: arbitrary bytes as the input data file, through a whole run.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/run_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korden::RunState state;
  korden::RunFiles files;
  files.input = korden::InputFile(std::string_view(reinterpret_cast<const char*>(data), size));
  files.report.open("/dev/null");
  files.plot.open("/dev/null");
  files.aux.open("/dev/null");
  korden::runCases(state, files);
  return 0;
}

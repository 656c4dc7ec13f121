// libFuzzer target: arbitrary bytes as the input data file, through a whole run whose six files
// are real files in a temporary folder, so that the earth-pressure and curve-generation paths
// write and read back their pressure file and curve exchange file.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/run_driver.h"

namespace {

// The folder of the fuzzing process, made once and removed at its exit.
const std::filesystem::path& runFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "korden-fuzz-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (made == nullptr) abort();
    std::atexit([] { std::filesystem::remove_all(runFolder()); });
    return std::filesystem::path(made);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path& dir = runFolder();
  korden::RunState state;
  korden::DriverState& d = state.driver;
  d.inputName = (dir / "case.dat").string();
  d.outputName = (dir / "case.out").string();
  d.plotName = (dir / "case.plt").string();
  d.auxName = (dir / "case.aux").string();
  d.curveFileName = (dir / "case.pyc").string();
  d.pressureFileName = (dir / "case.prs").string();
  korden::RunFiles files;
  files.input = korden::InputFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!files.report.open(d.outputName, "output report") ||
      !files.plot.open(d.plotName, "plot data file") ||
      !files.aux.open(d.auxName, "auxiliary output file")) {
    abort();
  }
  // A write failure here is the machine's (a full temporary folder), not the engine's.
  if (korden::runCases(state, files) == korden::kRunWriteFailed) abort();
  return 0;
}

// The korden command: `korden` alone runs the engine on ./NAMES.dat exactly as the host's call
// does; `korden run INPUT [--out DIR]` writes the run-control file itself, runs the engine and
// prints where the output report, auxiliary output file and plot data file are.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/check.h"
#include "cli/explain.h"
#include "cli/summary.h"
#include "engine/run_driver.h"
#include "korden/korden.h"

namespace fs = std::filesystem;

namespace {

int usage() {
  std::cerr << "usage: korden                      run the engine on ./NAMES.dat\n"
               "       korden run INPUT [--out DIR] analyse INPUT, writing the outputs into DIR\n"
               "                                    (default: the input's directory)\n"
               "       korden explain INPUT         print every record as the engine reads it\n"
               "       korden check INPUT           report errors and implausible values\n";
  return 2;
}

// Units flag of the first case (first value of the second line), for the summary's units.
int unitsFlagOf(const fs::path& input) {
  std::ifstream in(input);
  std::string line;
  std::getline(in, line);
  int flag = 1;
  if (in >> flag) return flag;
  return 1;
}

int runInput(const fs::path& input, const fs::path& outDir) {
  std::error_code ec;
  if (!fs::is_regular_file(input, ec)) {
    std::cerr << "korden: cannot open the input data file '" << input.string() << "'\n";
    return 1;
  }
  fs::create_directories(outDir, ec);
  if (ec) {
    std::cerr << "korden: cannot create the output directory '" << outDir.string() << "'\n";
    return 1;
  }
  const std::string stem = input.stem().string();
  const fs::path absInput = fs::absolute(input);
  const fs::path report = fs::absolute(outDir / (stem + ".out"));
  const fs::path plot = fs::absolute(outDir / (stem + ".plt"));
  const fs::path aux = fs::absolute(outDir / (stem + ".aux"));
  const fs::path curves = fs::absolute(outDir / (stem + ".pyc"));
  const fs::path pressure = fs::absolute(outDir / (stem + ".prs"));
  const fs::path names = fs::absolute(outDir / "NAMES.dat");
  {
    std::ofstream out(names);
    out << "korden 1.0\n\n\n0\n"
        << absInput.string() << "\n"
        << report.string() << "\n"
        << plot.string() << "\n"
        << aux.string() << "\n"
        << curves.string() << "\n"
        << pressure.string() << "\n";
    out.close();
    if (!out) {
      std::cerr << "korden: cannot write the run-control file '" << names.string() << "'\n";
      return 1;
    }
  }
  std::vector<korden::CaseSummary> cases;
  const int code = korden::runEngine(names.string(), std::cerr, &cases);
  if (code == korden::kRunFilesFailed || code == korden::kRunWriteFailed) return 1;
  std::cout << "Output report:         " << report.string() << "\n"
            << "Auxiliary output file: " << aux.string() << "\n"
            << "Plot data file:        " << plot.string() << "\n";
  korden::printRunSummary(std::cout, cases, unitsFlagOf(input), report.string());
  if (code != 0) {
    std::cout << "The run stopped with stop code " << code << "\n";
    return 3;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) {
    const int code = IKORDEN(0, 0);
    if (code == korden::kRunFilesFailed || code == korden::kRunWriteFailed) return 1;
    return code == 0 ? 0 : 3;
  }
  const std::string command = argv[1];
  if (command == "explain" && argc == 3) return korden::cli::explainInput(argv[2], std::cout, std::cerr);
  if (command == "check" && argc == 3) return korden::cli::checkInput(argv[2], std::cout, std::cerr);
  if (command != "run" || argc < 3) return usage();
  fs::path input = argv[2];
  fs::path outDir = input.has_parent_path() ? input.parent_path() : fs::path(".");
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      outDir = argv[++i];
    } else {
      return usage();
    }
  }
  return runInput(input, outDir);
}

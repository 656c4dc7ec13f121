#include "cli/run_command.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>

#include "cli/csv_output.h"
#include "cli/plots.h"
#include "cli/summary.h"
#include "engine/run_driver.h"

namespace fs = std::filesystem;

namespace korden {

namespace {

// A new folder of our own under the system's temporary folder, removed when the run is done.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    std::mt19937_64 random(std::random_device{}() ^
                           static_cast<unsigned long long>(
                               std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const fs::path candidate = base / ("korden-" + std::to_string(random() % 1000000000ULL));
      if (fs::create_directory(candidate, ec) && !ec) path_ = candidate;
    }
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

bool writeNamesFile(const fs::path& names, const std::vector<fs::path>& files) {
  std::ofstream out(names);
  // The version text the report header prints (12 characters at most).
  out << "korden 1.0\n\n\n0\n";
  for (const fs::path& f : files) out << f.string() << "\n";
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

bool parseRunOptions(const std::vector<std::string>& args, RunOptions& options, std::ostream& err) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--out") {
      if (i + 1 >= args.size()) {
        err << "korden: --out needs a folder\n";
        return false;
      }
      options.outDir = args[++i];
    } else if (arg == "--keep-scratch") {
      options.keepScratch = true;
    } else if (arg == "--plots") {
      options.plots = true;
    } else if (arg == "--csv") {
      options.csv = true;
    } else if (!arg.empty() && arg[0] == '-') {
      err << "korden: unknown option '" << arg << "'\n";
      return false;
    } else if (options.input.empty()) {
      options.input = arg;
    } else {
      err << "korden: one input data file only ('" << arg << "' is a second one)\n";
      return false;
    }
  }
  if (options.input.empty()) {
    err << "korden: run needs an input data file\n";
    return false;
  }
  return true;
}

int reportRun(const RunResults& run, const std::string& inputName, const std::string& reportName,
              int engineCode) {
  std::error_code ec;
  if (run.end == RunEnd::InputError && fs::file_size(inputName, ec) == 0 && !ec) {
    std::cerr << inputName << ":1: error: the input data file is empty\n";
  } else {
    printStopForEditors(std::cerr, inputName, run);
  }
  printRunSummary(std::cout, run);
  printWarnings(std::cout, run);
  if (run.end != RunEnd::Normal && !reportName.empty() && run.end != RunEnd::FilesFailed) {
    std::cout << "The report " << reportName << " says where the run stopped.\n";
  }
  std::cout << closingLine(run) << "\n";
  if (engineCode == kRunFilesFailed || engineCode == kRunWriteFailed) return kExitInputFailed;
  return exitStatusOf(run);
}

int runInputCommand(const RunOptions& options) {
  const fs::path input = options.input;
  std::error_code ec;
  if (!fs::is_regular_file(input, ec)) {
    std::cerr << "korden: cannot open the input data file '" << input.string() << "'\n";
    return kExitInputFailed;
  }
  if (options.plots && !plotsAvailable()) {
    std::cerr << "korden: plots are not available in this build of korden (built without "
                 "PLplot); run without --plots\n";
    return kExitUsage;
  }
  const fs::path outDir = !options.outDir.empty()   ? fs::path(options.outDir)
                          : input.has_parent_path() ? input.parent_path()
                                                    : fs::path(".");
  fs::create_directories(outDir, ec);
  if (ec) {
    std::cerr << "korden: cannot create the output directory '" << outDir.string() << "'\n";
    return kExitInputFailed;
  }
  const std::string stem = input.stem().string();
  const fs::path outputs = fs::absolute(outDir).lexically_normal();
  const fs::path report = outputs / (stem + ".out");
  const fs::path plot = outputs / (stem + ".plt");
  const fs::path aux = outputs / (stem + ".aux");

  ScratchFolder scratch;
  fs::path scratchDir = outputs;
  if (!options.keepScratch) {
    if (scratch.path().empty()) {
      std::cerr << "korden: cannot create a scratch folder under '"
                << fs::temp_directory_path(ec).string() << "'\n";
      return kExitInputFailed;
    }
    scratchDir = scratch.path();
  }
  // An existing NAMES.dat (the host's, or the user's) is never written over.
  fs::path names = scratchDir / "NAMES.dat";
  if (fs::exists(names, ec)) names = scratchDir / (stem + "-NAMES.dat");
  const fs::path curves = scratchDir / (stem + ".pyc");
  const fs::path pressure = scratchDir / (stem + ".prs");
  if (!writeNamesFile(names, {fs::absolute(input), report, plot, aux, curves, pressure})) {
    std::cerr << "korden: cannot write the run-control file '" << names.string() << "'\n";
    return kExitInputFailed;
  }
  RunResults run;
  const int code = runEngine(names.string(), std::cerr, &run);
  if (code == kRunFilesFailed) return kExitInputFailed;
  std::cout << "Output report:         " << report.string() << "\n"
            << "Auxiliary output file: " << aux.string() << "\n"
            << "Plot data file:        " << plot.string() << "\n";
  if (options.keepScratch) {
    std::cout << "Run-control file:      " << names.string() << "\n";
  }
  bool written = true;
  if (options.csv && code != kRunWriteFailed) {
    written = writeCsvFiles(run, outputs / stem, std::cout, std::cerr) && written;
  }
  if (options.plots && code != kRunWriteFailed) {
    written = writePlots(run, outputs / stem, std::cout, std::cerr) && written;
  }
  const int status = reportRun(run, input.string(), report.string(), code);
  if (!written && status == kExitClosed) return kExitInputFailed;
  return status;
}

int runNamesFileCommand() {
  std::error_code ec;
  if (!fs::exists("NAMES.dat", ec)) {
    std::cerr
        << "korden: there is no NAMES.dat here.\n"
           "  To analyse an input data file:  korden run INPUT [--out DIR] [--plots] [--csv]\n"
           "  For all options:                korden --help\n";
    return kExitUsage;
  }
  RunResults run;
  const int code = runEngine("NAMES.dat", std::cerr, &run);
  if (code == kRunFilesFailed) return kExitInputFailed;
  return reportRun(run, run.inputName, run.reportName, code);
}

}  // namespace korden

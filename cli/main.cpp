// The korden command: `korden` alone runs the engine on ./NAMES.dat exactly as the host's call
// does; `korden run INPUT` writes the run-control file itself, runs the engine, prints where the
// output report, auxiliary output file and plot data file are and what the run found, and writes
// plots and tables on request.
#include <iostream>
#include <string>
#include <vector>

#include "cli/check.h"
#include "cli/explain.h"
#include "cli/run_command.h"
#include "cli/summary.h"

namespace {

const char* const kUsage =
    "usage: korden                    run the engine on ./NAMES.dat, as the host does\n"
    "       korden run INPUT [options] analyse the input data file INPUT\n"
    "       korden explain INPUT       print every record of INPUT as the engine reads it\n"
    "       korden check INPUT         report errors and implausible values of INPUT\n"
    "       korden help | --help       this text\n"
    "       korden --version           the version\n"
    "\n"
    "options of run:\n"
    "  --out DIR       write the outputs into DIR (default: the input's folder)\n"
    "  --plots         write STEM-N.svg for each closed case N (and STEM-stages.svg for two\n"
    "                  closed cases or more): deflection, moment, shear, soil reaction and the\n"
    "                  generated earth pressure against depth\n"
    "  --csv           write STEM-N.csv (the results table of each closed case) and\n"
    "                  STEM-supports.csv (the support forces of every case)\n"
    "  --keep-scratch  keep the run-control file and the curve and pressure files in DIR (an\n"
    "                  existing NAMES.dat there is never written over: then STEM-NAMES.dat)\n"
    "\n"
    "run writes STEM.out (the report), STEM.aux and STEM.plt into DIR, STEM being INPUT's name\n"
    "without its extension.\n"
    "\n"
    "exit status:\n"
    "  0  every analysis case closed\n"
    "  1  the input could not be read (read error, early end, error stop, empty or missing\n"
    "     file) or an output could not be written\n"
    "  2  usage: the command line is wrong\n"
    "  3  a generator stop (earth pressure or p-y curve generation cannot go on)\n"
    "  4  the run ended, but at least one case has no results (not closed, or the maximum\n"
    "     allowable deflection exceeded)\n"
    "\n"
    "environment:\n"
    "  KORDEN_PLPLOT_LIBRARY  the PLplot library file that --plots loads for its first picture\n"
    "                         (default: libplplot.so.17, then libplplot.so); when it cannot be\n"
    "                         loaded, run says why and exits with 1\n";

int help(const std::vector<std::string>&) {
  std::cout << kUsage;
  return korden::kExitClosed;
}

int run(const std::vector<std::string>& args) {
  korden::RunOptions options;
  if (!korden::parseRunOptions(args, options, std::cerr)) {
    std::cerr << "korden: see korden --help\n";
    return korden::kExitUsage;
  }
  return korden::runInputCommand(options);
}

// explain and check take the input data file alone; check exits with 1 when it finds an error.
int explain(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << "korden: explain takes one input data file\n" << kUsage;
    return korden::kExitUsage;
  }
  return korden::cli::explainInput(args[0], std::cout, std::cerr);
}

int check(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << "korden: check takes one input data file\n" << kUsage;
    return korden::kExitUsage;
  }
  return korden::cli::checkInput(args[0], std::cout, std::cerr);
}

int version(const std::vector<std::string>&) {
  std::cout << "korden " KORDEN_VERSION "\n";
  return korden::kExitClosed;
}

// The subcommands: a name and the function that takes the arguments after it.
struct Subcommand {
  const char* name;
  int (*function)(const std::vector<std::string>&);
};

const Subcommand kSubcommands[] = {
    {"run", run},     {"explain", explain}, {"check", check},       {"help", help},
    {"--help", help}, {"-h", help},         {"--version", version},
};

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 1) return korden::runNamesFileCommand();
    const std::string name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const Subcommand& s : kSubcommands) {
      if (name == s.name) return s.function(args);
    }
    std::cerr << "korden: unknown command '" << name << "'\n" << kUsage;
    return korden::kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "korden: " << e.what() << "\n";
    return korden::kExitInputFailed;
  }
}

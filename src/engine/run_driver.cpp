#include "engine/run_driver.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <tuple>

#include "engine/analysis_case.h"
#include "engine/case_sequence.h"
#include "engine/errors.h"
#include "input/echo.h"
#include "input/readers.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

std::string trimRight(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
  return s;
}

void writeCaseHeading(RunState& state, RunFiles& files) {
  const DriverState& d = state.driver;
  const std::string first70 = d.firstTitle.substr(0, 70);
  std::string heading;
  if (state.control.nStages < 2) {
    heading = d.caseCounter == 0 ? state.title.substr(0, 70) : "Long Term : " + first70;
  } else {
    heading = "Stage No :" + fmt::I(d.caseCounter + 1, 2) + " " + first70;
  }
  state.caseHeading = heading;
  for (OutputFile* f : {&files.report, &files.aux}) {
    f->blank();
    f->line(heading);
  }
}

// What the engine does between the groups of records of a case: the echo into the output
// report, the earth pressure, the analysis and the plot data block.
class EngineSteps : public CaseSteps {
 public:
  explicit EngineSteps(RunFiles& files) : files_(files), out_(files.report) {}

  void controlRead(RunState& state) override {
    writeReportHeader(out_, state.driver, reportTime());
    writeCaseHeading(state, files_);
    echoControl(out_, state);
  }
  void wallRead(RunState& state) override { echoWall(out_, state); }
  void specifiedPointsStart(RunState& state) override { echoSpecifiedHeading(out_, state); }
  void specifiedPointRead(RunState& state, const SpecifiedPoint& p) override {
    echoSpecifiedPoint(out_, state, p);
  }
  void wallSectionsRead(RunState& state) override { echoWallSections(out_, state); }
  void crossSectionsRead(RunState& state) override { echoCrossSections(out_, state); }
  void nonlinearEIRead(RunState& state) override { echoNonlinearEI(out_, state); }
  void supportsRead(RunState& state) override {
    echoStiffnessAndLoad(out_, state);
    echoSupports(out_, state);
  }
  void activePressureRead(RunState& state) override { echoActivePressure(out_, state); }
  void soilDataRead(RunState& state) override { generateEarthPressure(state, files_); }
  void userCurvesRead(RunState& state) override { echoUserCurves(out_, state); }
  void caseRead(RunState& state) override {
    applyPressureLoads(state, files_);
    analyseCase(state, files_);
  }
  void caseEnded(RunState& state, int continuationCode) override {
    writePlotBlock(state, files_, continuationCode);
    releaseCaseTables(state);
    state.caseHeading.clear();
  }

 private:
  RunFiles& files_;
  OutputFile& out_;
};

// A stop inside a case: the run's end, and the case itself as one without results when its
// heading was written but it was not analysed to its end.
void recordStop(RunState& state, RunEnd end, const std::string& text, int line = 0) {
  RunResults& r = state.results;
  r.end = end;
  const size_t first = text.find_first_not_of(' ');
  r.errorText = first == std::string::npos ? std::string() : text.substr(first);
  r.errorLine = line;
  const int number = state.driver.caseCounter + 1;
  if (!state.caseHeading.empty() && (r.cases.empty() || r.cases.back().number != number)) {
    CaseResults c;
    c.number = number;
    const size_t h = state.caseHeading.find_first_not_of(' ');
    c.heading = state.caseHeading.substr(h == std::string::npos ? 0 : h);
    while (!c.heading.empty() && c.heading.back() == ' ') c.heading.pop_back();
    c.unitsFlag = state.control.unitsFlag;
    switch (end) {
      case RunEnd::InputError:
        c.noResultsReason = "input error at line " + std::to_string(line);
        break;
      case RunEnd::GeneratorStop:
        c.noResultsReason = "generator stop " + std::to_string(r.stopCode);
        break;
      case RunEnd::OutOfMemory:
        c.noResultsReason = "not enough memory";
        break;
      default:
        c.noResultsReason = r.errorText;
    }
    r.cases.push_back(std::move(c));
  }
}

// The non-blank lines of an error stop on one line, joined by ": ".
std::string stopMessage(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    if (!text.empty()) text += ": ";
    text += trimRight(line.substr(first));
  }
  return text;
}

void writeEndOfAnalysis(RunFiles& files) {
  for (OutputFile* f : {&files.report, &files.aux}) {
    f->blank(2);
    f->line("     END OF ANALYSIS");
  }
}

// The case loop up to the end of the run; the files stay open.
int runCaseLoop(RunState& state, RunFiles& files) {
  DriverState& d = state.driver;
  int returnCode = 0;
  state.caseHeading.clear();
  state.results = RunResults{};
  state.results.end = RunEnd::Normal;
  try {
    EngineSteps steps(files);
    readAllCases(state, files.input, steps);
  } catch (const ErrorStop& stop) {
    for (const std::string& line : stop.lines()) files.report.line(line);
    recordStop(state, RunEnd::ErrorStop, stopMessage(stop.lines()));
  } catch (const InputError& error) {
    files.report.blank(2);
    files.report.line("     " + printableText(error.what()));
    // A second line: the first stays the one the host reads.
    if (!error.countHint().empty()) files.report.line("     " + error.countHint());
    recordStop(state, RunEnd::InputError, printableText(error.what()), error.line());
  } catch (const GeneratorStop& stop) {
    state.results.stopCode = stop.code();
    recordStop(state, RunEnd::GeneratorStop, stopMessage(stop.lines()));
    // The generator has written its message into the report; the auxiliary file gets it too.
    files.aux.blank(2);
    for (const std::string& line : stop.lines()) files.aux.line("     " + line);
    return stop.code();
  } catch (const std::bad_alloc&) {
    files.report.blank(2);
    files.report.line("     ERROR STOP -- NOT ENOUGH MEMORY FOR THE ANALYSIS");
    recordStop(state, RunEnd::OutOfMemory, "ERROR STOP -- NOT ENOUGH MEMORY FOR THE ANALYSIS");
  }
  writeEndOfAnalysis(files);
  if (d.continuationCode == 0) {
    try {
      writePlotBlock(state, files, 0);
    } catch (const OutputWriteError&) {
      throw;
    } catch (const std::exception&) {
      // The plot block of a case that ended in an error is written as far as it goes.
    }
  }
  releaseCaseTables(state);
  return returnCode;
}

// A file named by the run-control file, in the order of its records.
struct NamedFile {
  std::string* name;
  const char* label;
  const char* whenUnnamed;  // what the run does without it
};

std::array<NamedFile, 6> namedFiles(DriverState& d) {
  return {{{&d.inputName, "input data file", "nothing can be analysed"},
           {&d.outputName, "output report", "it is not written"},
           {&d.plotName, "plot data file", "it is not written"},
           {&d.auxName, "auxiliary output file", "it is not written"},
           {&d.curveFileName, "curve exchange file",
            "a case that generates soil resistance curves stops with an error"},
           {&d.pressureFileName, "pressure file",
            "a case that generates earth pressure stops with an error"}}};
}

// The width of a name record of the run-control file.
constexpr size_t kNameWidth = 255;

// What decides whether two names of the run-control file name one file: for a file that exists,
// its device and inode (compared with std::filesystem::equivalent); for one that does not exist
// yet, its absolute path once the existing part is resolved (links and "..") and, on Windows,
// letter case ignored. An existing file and a name of no file are different files.
struct FileIdentity {
  std::string name;
  bool exists = false;
  std::string resolved;  // only for a name of no file
};

FileIdentity fileIdentity(const std::string& name) {
  namespace fs = std::filesystem;
  FileIdentity id;
  id.name = name;
  std::error_code ec;
  id.exists = fs::exists(name, ec);
  if (!id.exists) {
    const fs::path p = fs::weakly_canonical(fs::absolute(name, ec), ec);
    id.resolved = p.lexically_normal().string();
#if defined(_WIN32)
    for (char& c : id.resolved) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
#endif
  }
  return id;
}

bool sameFile(const FileIdentity& a, const FileIdentity& b) {
  if (a.exists != b.exists) return false;
  if (!a.exists) return a.resolved == b.resolved;
  std::error_code ec;
  return std::filesystem::equivalent(a.name, b.name, ec);
}

// Closes the three outputs; the first failure throws. All are flushed first, so that a failure
// is found while the others are still open to say so.
void closeOutputs(RunFiles& files) {
  for (OutputFile* f : {&files.report, &files.plot, &files.aux}) f->flush();
  files.report.close();
  files.plot.close();
  files.aux.close();
}

std::string upperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// An output could not be written: the run stops. The reason goes to standard error and, as an
// error stop, into the report and the auxiliary file where they can still be written; every
// file is closed.
int stopForWriteFailure(RunFiles& files, const OutputWriteError& failure, std::ostream& err) {
  err << "korden: " << failure.what() << "\n"
      << "korden: the run is stopped; its output files are incomplete\n";
  const std::string message = "     ERROR STOP -- THE " + upperCase(failure.label()) + " '" +
                              failure.path() + "' CANNOT BE WRITTEN: " + failure.reason();
  for (OutputFile* f : {&files.report, &files.aux}) {
    if (!f->isOpen() || f->failed()) continue;
    try {
      f->blank(2);
      f->line(message);
    } catch (const OutputWriteError& also) {
      err << "korden: " << also.what() << "\n";
    }
  }
  for (OutputFile* f : {&files.report, &files.plot, &files.aux}) {
    try {
      f->close();
    } catch (const OutputWriteError& also) {
      err << "korden: " << also.what() << "\n";
    }
  }
  return kRunWriteFailed;
}

}  // namespace

bool readRunControl(const std::string& namesPath, DriverState& driver, std::ostream& err) {
  InputFile names;
  try {
    names = InputFile::fromPath(namesPath);
  } catch (const std::exception&) {
    err << "korden: cannot open the run-control file " << namesPath << "\n";
    return false;
  }
  std::string text;
  if (names.tryReadText(12, text)) driver.versionText = text;
  names.tryReadText(256, text);  // host information, not used
  names.tryReadText(256, text);  // host information, not used
  names.tryReadText(256, text);  // an integer of the host, not used
  bool namesFit = true;
  for (const NamedFile& f : namedFiles(driver)) {
    if (!names.tryReadLine(text)) break;  // a file that ends early leaves the rest blank
    text = trimRight(std::move(text));
    if (text.size() > kNameWidth) {
      // A name is never cut: the cut name would be another file.
      err << "korden: line " << names.nextLineNumber() - 1 << " of the run-control file "
          << namesPath << ", the name of the " << f.label << ", is longer than " << kNameWidth
          << " characters: '" << text.substr(0, 60) << "...'\n";
      namesFit = false;
    }
    *f.name = text;
  }
  return namesFit;
}

bool checkDistinctFiles(DriverState& driver, std::ostream& err) {
  const auto files = namedFiles(driver);
  std::array<FileIdentity, std::tuple_size_v<decltype(files)>> ids;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!files[i].name->empty()) ids[i] = fileIdentity(*files[i].name);
  }
  bool distinct = true;
  for (size_t i = 0; i < files.size(); ++i) {
    for (size_t j = i + 1; j < files.size(); ++j) {
      const std::string& a = *files[i].name;
      const std::string& b = *files[j].name;
      if (a.empty() || b.empty() || !sameFile(ids[i], ids[j])) continue;
      err << "korden: the " << files[j].label << " '" << b << "' is the same file as the "
          << files[i].label << " '" << a << "'"
          << (i == 0 ? ": no output may be the input data file\n"
                     : ": the run-control file must name six different files\n");
      distinct = false;
    }
  }
  return distinct;
}

bool openOutputs(DriverState& driver, RunFiles& files, std::ostream& err) {
  const auto named = namedFiles(driver);
  // Every output is known to be creatable before any of them is written over.
  bool creatable = true;
  for (size_t i = 1; i < named.size(); ++i) {
    const std::string& name = *named[i].name;
    if (name.empty()) {
      err << "korden: the run-control file names no " << named[i].label << ": "
          << named[i].whenUnnamed << "\n";
    } else if (!canCreateOutput(name)) {
      err << "korden: cannot create the " << named[i].label << " '" << name << "'\n";
      creatable = false;
    }
  }
  if (!creatable) return false;
  OutputFile* opened[] = {&files.report, &files.plot, &files.aux};
  for (size_t i = 0; i < 3; ++i) {
    const NamedFile& f = named[i + 1];
    if (f.name->empty()) continue;
    if (!opened[i]->open(*f.name, f.label)) {
      err << "korden: cannot create the " << f.label << " '" << *f.name << "'\n";
      return false;
    }
  }
  return true;
}

int runCases(RunState& state, RunFiles& files, std::ostream& err) {
  try {
    const int code = runCaseLoop(state, files);
    closeOutputs(files);
    return code;
  } catch (const OutputWriteError& failure) {
    state.results.end = RunEnd::WriteFailed;
    state.results.errorText = failure.what();
    return stopForWriteFailure(files, failure, err);
  }
}

int runEngine(const std::string& namesPath, std::ostream& err, RunResults* results) {
  // A run that ends before the case loop has the failed result it starts with.
  if (results != nullptr) *results = RunResults{};
  try {
    auto state = std::make_unique<RunState>();
    DriverState& d = state->driver;
    if (!readRunControl(namesPath, d, err)) return kRunFilesFailed;
    if (d.inputName.empty()) {
      err << "korden: the run-control file " << namesPath << " names no input data file\n";
      return kRunFilesFailed;
    }
    // Before any file is opened for writing.
    if (!checkDistinctFiles(d, err)) return kRunFilesFailed;
    auto files = std::make_unique<RunFiles>();
    try {
      files->input = InputFile::fromPath(d.inputName);
    } catch (const std::exception&) {
      err << "korden: cannot open the input data file '" << d.inputName << "'\n";
      return kRunFilesFailed;
    }
    if (!openOutputs(d, *files, err)) return kRunFilesFailed;
    const int code = runCases(*state, *files, err);
    state->results.inputName = d.inputName;
    state->results.reportName = d.outputName;
    if (results != nullptr) *results = std::move(state->results);
    return code;
  } catch (const std::bad_alloc&) {
    if (results != nullptr) {
      *results = RunResults{};
      results->end = RunEnd::OutOfMemory;
    }
    err << "korden: not enough memory for the run\n";
    return kRunFilesFailed;
  }
}

}  // namespace korden

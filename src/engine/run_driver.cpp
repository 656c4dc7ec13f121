#include "engine/run_driver.h"

#include <fstream>
#include <memory>
#include <new>

#include "engine/analysis_case.h"
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
  for (OutputFile* f : {&files.report, &files.aux}) {
    f->blank();
    f->line(heading);
  }
}

// Reads, echoes and analyses one case up to (not including) its continuation code.
void runOneCase(RunState& state, RunFiles& files) {
  InputFile& in = files.input;
  OutputFile& out = files.report;
  DriverState& d = state.driver;

  state.analysis.hasResults = false;
  readTitle(state, in);
  if (d.caseCounter == 0) d.firstTitle = state.title;
  readControl(state, in);
  writeReportHeader(out, d, reportTime());
  writeCaseHeading(state, files);

  const ControlRecord& c = state.control;
  d.unitsSign = c.unitsFlag == 1 ? 1 : (c.unitsFlag == 2 ? -1 : 0);
  state.labels = unitLabelsFor(c.unitsFlag);
  if (c.pressureOption >= 2) d.generateEarthPressure = 1;
  if (c.curveOption == 2) d.generateCurves = 1;

  echoControl(out, state);
  readWallRecord(state, in);
  echoWall(out, state);

  checkCapacity(c.nSpecified, kMaxSpecifiedPoints, "SPECIFIED DEFLECTION AND SLOPE POINTS");
  echoSpecifiedHeading(out, state);
  readSpecifiedPoints(state, in,
                      [&](const SpecifiedPoint& p) { echoSpecifiedPoint(out, state, p); });

  readWallSections(state, in);
  echoWallSections(out, state);
  readCrossSections(state, in);
  echoCrossSections(out, state);
  readNonlinearEI(state, in);
  echoNonlinearEI(out, state);

  readLoads(state, in);
  readSupports(state, in);
  distributeStiffnessAndSupports(state);
  echoStiffnessAndLoad(out, state);
  echoSupports(out, state);
  checkLoadsWithinWall(state);

  if (readsWales(c)) readWales(state, in);
  if (readsModificationFactors(c)) {
    readModificationFactors(state, in);
  } else {
    // The count of the case is 0: no factor row of an earlier case applies.
    state.loads.modificationFactors.clear();
  }
  if (readsActivePressure(c)) {
    readActivePressureTable(state, in);
    echoActivePressure(out, state);
  }
  if (readsSoilData(c)) {
    readSoilData(state, in);
    generateEarthPressure(state, files);
  }
  if (readsUserCurves(c)) {
    readUserCurves(state, in);
    echoUserCurves(out, state);
  } else {
    // The count of the case is 0: the curves of an earlier case do not act on this one.
    state.curves.userCurves.clear();
  }
  applyPressureLoads(state, files);
  analyseCase(state, files);
}

void writeEndOfAnalysis(RunFiles& files) {
  for (OutputFile* f : {&files.report, &files.aux}) {
    f->blank(2);
    f->line("     END OF ANALYSIS");
  }
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
  std::string* targets[] = {&driver.inputName, &driver.outputName,    &driver.plotName,
                            &driver.auxName,   &driver.curveFileName, &driver.pressureFileName};
  for (std::string* target : targets) {
    if (!names.tryReadText(255, text)) break;  // a file that ends early leaves the rest blank
    *target = trimRight(text);
  }
  return true;
}

int runCases(RunState& state, RunFiles& files) {
  DriverState& d = state.driver;
  d.caseCounter = 0;
  d.failedCase = 0;
  d.continuationCode = 0;
  d.generateEarthPressure = 0;
  d.generateCurves = 0;
  int returnCode = 0;
  try {
    for (;;) {
      runOneCase(state, files);
      // A file that ends before the continuation code ends the run as code 0 does: the case
      // just analysed still gets its plot data block.
      d.continuationCode = 0;
      const int code = readContinuationCode(files.input);
      d.continuationCode = code;
      if (code == state.control.nStages || code == 0) {
        d.continuationCode = 0;
        break;
      }
      writePlotBlock(state, files, code);
      releaseCaseTables(state);
      ++d.caseCounter;
    }
  } catch (const ErrorStop& stop) {
    for (const std::string& line : stop.lines()) files.report.line(line);
  } catch (const InputError& error) {
    files.report.blank(2);
    files.report.line("     " + printableText(error.what()));
  } catch (const GeneratorStop& stop) {
    files.report.flush();
    files.aux.flush();
    files.plot.flush();
    return stop.code();
  } catch (const std::bad_alloc&) {
    files.report.blank(2);
    files.report.line("     ERROR STOP -- NOT ENOUGH MEMORY FOR THE ANALYSIS");
  }
  writeEndOfAnalysis(files);
  if (d.continuationCode == 0) {
    try {
      writePlotBlock(state, files, 0);
    } catch (const std::exception&) {
      // The plot block of a case that ended in an error is written as far as it goes.
    }
  }
  releaseCaseTables(state);
  return returnCode;
}

int runEngine(const std::string& namesPath, std::ostream& err,
              std::vector<CaseSummary>* summaries) {
  try {
    auto state = std::make_unique<RunState>();
    if (!readRunControl(namesPath, state->driver, err)) return kRunFilesFailed;
    auto files = std::make_unique<RunFiles>();
    const DriverState& d = state->driver;
    try {
      files->input = InputFile::fromPath(d.inputName);
    } catch (const std::exception&) {
      err << "korden: cannot open the input data file '" << d.inputName << "'\n";
      return kRunFilesFailed;
    }
    struct Target {
      OutputFile* file;
      const std::string* name;
      const char* what;
    } targets[] = {{&files->report, &d.outputName, "output report"},
                   {&files->plot, &d.plotName, "plot data file"},
                   {&files->aux, &d.auxName, "auxiliary output file"}};
    for (const Target& t : targets) {
      if (!t.file->open(*t.name)) {
        err << "korden: cannot create the " << t.what << " '" << *t.name << "'\n";
        return kRunFilesFailed;
      }
    }
    const int code = runCases(*state, *files);
    if (summaries != nullptr) *summaries = state->summaries;
    files->report.close();
    files->plot.close();
    files->aux.close();
    return code;
  } catch (const std::bad_alloc&) {
    err << "korden: not enough memory for the run\n";
    return kRunFilesFailed;
  }
}

}  // namespace korden

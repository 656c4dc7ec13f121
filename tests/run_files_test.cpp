// The files of a run: the names of the run-control file, their checks before anything is written
// over, output files that cannot be written (a full device, a file size limit), the stop of a
// generator, and the memory an input file takes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace korden {
namespace {

namespace fs = std::filesystem;
using testing::hasLine;
using testing::readFile;
using testing::splitLines;

using testing::kSmallCase;

struct RunResult {
  int code = 0;
  std::string errors;
};

// A temporary folder holding the input data file case.dat; names are written into NAMES.dat as
// given, one per line, after the four host records.
struct RunFolder {
  fs::path dir = testing::makeTempDir("files");
  RunFolder() { write("case.dat", kSmallCase); }
  ~RunFolder() { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  // The usual six names in the folder.
  std::vector<std::string> sixNames() const {
    return {path("case.dat"), path("case.out"), path("case.plt"),
            path("case.aux"), path("case.pyc"), path("case.prs")};
  }
  RunResult run(const std::vector<std::string>& names) const {
    std::string text = "TEST 1.0\n\n\n0\n";
    for (const std::string& n : names) text += n + "\n";
    write("NAMES.dat", text);
    std::ostringstream err;
    RunResult r;
    r.code = runEngine(path("NAMES.dat"), err);
    r.errors = err.str();
    return r;
  }
};

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(RunFiles, ARunControlFileEndingEarlyStillRunsAndSaysWhichFilesAreNotWritten) {
  RunFolder f;
  const RunResult r = f.run({f.path("case.dat"), f.path("case.out")});
  EXPECT_EQ(r.code, 0) << r.errors;
  const auto report = splitLines(readFile(f.path("case.out")));
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(report.back(), "     END OF ANALYSIS");
  EXPECT_TRUE(contains(r.errors, "names no plot data file: it is not written")) << r.errors;
  EXPECT_TRUE(contains(r.errors, "names no auxiliary output file: it is not written"));
  EXPECT_TRUE(contains(r.errors, "names no curve exchange file"));
  EXPECT_TRUE(contains(r.errors, "names no pressure file"));
  // Only the input, the run-control file and the report are in the folder.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(f.dir)) ++entries;
  EXPECT_EQ(entries, 3);

  // A blank name record is a file without a name, too.
  const RunResult blank =
      f.run({f.path("case.dat"), f.path("case.out"), "   ", f.path("case.aux")});
  EXPECT_EQ(blank.code, 0);
  EXPECT_TRUE(contains(blank.errors, "names no plot data file")) << blank.errors;
  EXPECT_EQ(splitLines(readFile(f.path("case.aux"))).back(), "     END OF ANALYSIS");

  // Without the input data file nothing can run.
  const RunResult none = f.run({});
  EXPECT_EQ(none.code, kRunFilesFailed);
  EXPECT_TRUE(contains(none.errors, "names no input data file")) << none.errors;
}

TEST(RunFiles, ANameLongerThanItsFieldIsRefusedNeverCut) {
  RunFolder f;
  // A report name of exactly 255 characters, followed by blanks, is taken whole.
  const std::string base = f.dir.string() + "/";
  const std::string sub(255 - base.size() - std::string("/r.out").size(), 'd');
  fs::create_directory(f.dir / sub);
  const std::string fits = base + sub + "/r.out";
  ASSERT_EQ(fits.size(), 255u);
  auto names = f.sixNames();
  names[1] = fits + std::string(30, ' ');
  const RunResult ok = f.run(names);
  EXPECT_EQ(ok.code, 0) << ok.errors;
  EXPECT_TRUE(fs::exists(fits));

  // One character more is an error; cut to 255 it would have named the file above.
  const std::string tooLong = base + sub + "/r.outx";
  fs::remove(fits);
  fs::remove(f.dir / "case.plt");
  names[1] = tooLong;
  const RunResult refused = f.run(names);
  EXPECT_EQ(refused.code, kRunFilesFailed);
  EXPECT_TRUE(contains(refused.errors, "line 6 of the run-control file")) << refused.errors;
  EXPECT_TRUE(contains(refused.errors, "the name of the output report, is longer than 255"));
  EXPECT_FALSE(fs::exists(fits));
  EXPECT_FALSE(fs::exists(tooLong));
  EXPECT_FALSE(fs::exists(f.path("case.plt")));
}

TEST(RunFiles, TheSixNamesMustNameSixFilesAndNoOutputTheInput) {
  RunFolder f;
  fs::create_directory(f.dir / "sub");
  fs::create_hard_link(f.dir / "case.dat", f.dir / "hard.dat");
  fs::create_symlink(f.dir / "case.dat", f.dir / "link.dat");
  const std::string input = readFile(f.path("case.dat"));
  struct Clash {
    size_t index;       // the name replaced
    std::string name;   // by this
    const char* first;  // the file it clashes with
  };
  const Clash clashes[] = {
      {1, f.path("case.dat"), "the input data file"},
      {2, f.path("sub/../case.dat"), "the input data file"},
      {3, f.path("hard.dat"), "the input data file"},
      {4, f.path("link.dat"), "the input data file"},
      {3, f.path("case.plt"), "the plot data file"},
      {5, f.path("./case.pyc"), "the curve exchange file"},
  };
  for (const Clash& c : clashes) {
    auto names = f.sixNames();
    names[c.index] = c.name;
    const RunResult r = f.run(names);
    EXPECT_EQ(r.code, kRunFilesFailed) << c.name;
    EXPECT_TRUE(contains(r.errors, std::string("is the same file as ") + c.first)) << r.errors;
    // Refused before any file is opened for writing.
    EXPECT_EQ(readFile(f.path("case.dat")), input);
    for (const char* out : {"case.out", "case.plt", "case.aux", "case.pyc", "case.prs"}) {
      EXPECT_FALSE(fs::exists(f.dir / out)) << c.name << " created " << out;
    }
  }
  // Blank names are no files: two of them do not clash.
  auto names = f.sixNames();
  names[4] = "";
  names[5] = "";
  EXPECT_EQ(f.run(names).code, 0);
}

TEST(RunFiles, NoOutputIsWrittenOverBeforeEveryOutputIsKnownToBeCreatable) {
  RunFolder f;
  f.write("case.out", "THE REPORT OF AN EARLIER RUN\n");
  auto names = f.sixNames();
  names[2] = f.path("missing/case.plt");
  const RunResult r = f.run(names);
  EXPECT_EQ(r.code, kRunFilesFailed);
  EXPECT_TRUE(contains(r.errors, "cannot create the plot data file")) << r.errors;
  EXPECT_EQ(readFile(f.path("case.out")), "THE REPORT OF AN EARLIER RUN\n");
  // The probe leaves no new empty file behind.
  EXPECT_FALSE(fs::exists(f.dir / "case.aux"));
  EXPECT_FALSE(fs::exists(f.dir / "case.pyc"));

  // The pressure file is an output too.
  names = f.sixNames();
  names[5] = f.path("missing/case.prs");
  EXPECT_EQ(f.run(names).code, kRunFilesFailed);
  EXPECT_EQ(readFile(f.path("case.out")), "THE REPORT OF AN EARLIER RUN\n");
}

TEST(OutputFile, EveryWriteFlushAndCloseIsChecked) {
  {
    OutputFile out;
    ASSERT_TRUE(out.open("/dev/full", "plot data file"));
    out.line("one short record");  // held in the buffer
    try {
      out.flush();
      FAIL() << "the flush to a full device succeeded";
    } catch (const OutputWriteError& e) {
      EXPECT_EQ(e.path(), "/dev/full");
      EXPECT_EQ(std::string(e.what()),
                "cannot write the plot data file '/dev/full': No space left on device");
    }
    EXPECT_TRUE(out.failed());
    // A failed file takes no more text and does not fail twice.
    EXPECT_NO_THROW(out.line(std::string(100000, 'x')));
    EXPECT_NO_THROW(out.close());
  }
  {
    // The failure found only when the file is closed.
    OutputFile out;
    ASSERT_TRUE(out.open("/dev/full"));
    out.line("short");
    EXPECT_THROW(out.close(), OutputWriteError);
  }
  {
    // A write larger than the buffer fails at once.
    OutputFile out;
    ASSERT_TRUE(out.open("/dev/full"));
    EXPECT_THROW(out.line(std::string(1 << 20, 'x')), OutputWriteError);
  }
}

TEST(OutputFile, HeldRecordsReachTheFileOnFlushCloseAndDestruction) {
  RunFolder f;
  const std::string path = f.path("held.txt");
  {
    OutputFile out;
    ASSERT_TRUE(out.open(path));
    out.line("first");
    out.put("sec").put("ond");
    out.end();
    EXPECT_EQ(readFile(path), "");  // held until the buffer is full or the file is flushed
    out.flush();
    EXPECT_EQ(readFile(path),
              std::string("first") + std::string(kLineEnd) + "second" + std::string(kLineEnd));
    out.line("third");
    out.put("unfinished");
  }  // destroyed without close(): the whole records are written, the unfinished one is not
  EXPECT_EQ(readFile(path), std::string("first") + std::string(kLineEnd) + "second" +
                                std::string(kLineEnd) + "third" + std::string(kLineEnd));
  {
    OutputFile out;
    ASSERT_TRUE(out.open(path));
    out.line("one");
    out.put("last without its end");
    out.close();  // close() ends the last record
  }
  EXPECT_EQ(readFile(path), std::string("one") + std::string(kLineEnd) + "last without its end" +
                                std::string(kLineEnd));
}

// An output written over an earlier, longer file ends where its own text ends, whether it is
// closed, destroyed without close() or opened again, and a longer one replaces a shorter one.
TEST(OutputFile, AFileWrittenOverKeepsNothingOfTheEarlierFile) {
  RunFolder f;
  const std::string path = f.path("over.txt");
  const std::string end(kLineEnd);
  {
    std::ofstream earlier(path, std::ios::binary);
    earlier << std::string(300000, 'e') << "\nTHE END OF AN EARLIER REPORT\n";
  }
  {
    OutputFile out;
    ASSERT_TRUE(out.open(path));
    out.line(std::string(270000, 'n'));  // more than the buffer: written while the file is open
    out.line("new");
    out.close();
  }
  EXPECT_EQ(readFile(path), std::string(270000, 'n') + end + "new" + end);
  {
    OutputFile out;
    ASSERT_TRUE(out.open(path));
    out.line("shorter");
  }  // destroyed without close()
  EXPECT_EQ(readFile(path), "shorter" + end);
  {
    OutputFile out;
    ASSERT_TRUE(out.open(path));
    out.line("abandoned");
    ASSERT_TRUE(out.open(f.path("other.txt")));  // the first file is given up unwritten
    out.close();
  }
  EXPECT_EQ(readFile(path), "");
  {
    OutputFile out;
    ASSERT_TRUE(out.open(path));
    out.line("longer than before");
    out.close();
  }
  EXPECT_EQ(readFile(path), "longer than before" + end);
}

TEST(RunFiles, AnOutputThatCannotBeWrittenStopsTheRunWithItsOwnCode) {
  RunFolder f;
  const char* labels[] = {"", "OUTPUT REPORT", "PLOT DATA FILE", "AUXILIARY OUTPUT FILE"};
  for (size_t index = 1; index <= 3; ++index) {
    auto names = f.sixNames();
    names[index] = "/dev/full";
    const RunResult r = f.run(names);
    EXPECT_EQ(r.code, kRunWriteFailed) << index;
    EXPECT_TRUE(contains(r.errors, "'/dev/full': No space left on device")) << r.errors;
    EXPECT_TRUE(contains(r.errors, "the run is stopped")) << r.errors;
    // The report and the auxiliary file that can be written say why the run stopped.
    const std::string message = std::string("     ERROR STOP -- THE ") + labels[index] +
                                " '/dev/full' CANNOT BE WRITTEN: No space left on device";
    for (const char* other : {"case.out", "case.aux"}) {
      if (names[index] == "/dev/full" && f.sixNames()[index] == f.path(other)) continue;
      const auto lines = splitLines(readFile(f.dir / other));
      ASSERT_FALSE(lines.empty()) << other;
      EXPECT_EQ(lines.back(), message) << other;
    }
  }
}

TEST(RunFiles, APressureOrCurveFileThatCannotBeWrittenStopsTheRun) {
  const std::string root = KORDEN_SOURCE_DIR "/examples/";
  const struct {
    const char* example;
    size_t index;
  } cases[] = {{"pressure_triangular_english.dat", 5}, {"curves_clay_english.dat", 4}};
  for (const auto& c : cases) {
    RunFolder f;
    f.write("case.dat", readFile(root + c.example));
    auto names = f.sixNames();
    names[c.index] = "/dev/full";
    const RunResult r = f.run(names);
    EXPECT_EQ(r.code, kRunWriteFailed) << c.example << "\n" << r.errors;
    EXPECT_TRUE(contains(r.errors, "'/dev/full': No space left on device")) << r.errors;
    EXPECT_FALSE(hasLine(splitLines(readFile(f.path("case.out"))), "     END OF ANALYSIS"));
  }
}

// Runs the small case in a child process whose files may not grow beyond `limit` bytes, with
// SIGXFSZ ignored so that the write fails with EFBIG instead of killing the process. Returns the
// child's exit status (the low byte of the run's code) and its standard error.
int runUnderFileSizeLimit(const RunFolder& f, rlim_t limit, std::string& errors) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return -1;
  auto names = f.sixNames();
  std::string text = "TEST 1.0\n\n\n0\n";
  for (const std::string& n : names) text += n + "\n";
  f.write("NAMES.dat", text);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit size{limit, limit};
    setrlimit(RLIMIT_FSIZE, &size);
    std::ostringstream err;
    const int code = runEngine(f.path("NAMES.dat"), err);
    const std::string said = err.str();
    if (write(pipeEnds[1], said.data(), said.size()) < 0) _exit(100);
    _exit(code & 0xff);
  }
  close(pipeEnds[1]);
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) errors.append(buffer, n);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RunFiles, AFileSizeLimitStopsTheRunWithItsOwnCode) {
  RunFolder f;
  std::string errors;
  const rlim_t limit = 1024;  // the report of the small case is about 2.6 kB, its aux 0.1 kB
  const int status = runUnderFileSizeLimit(f, limit, errors);
  EXPECT_EQ(status, kRunWriteFailed & 0xff) << errors;
  EXPECT_TRUE(contains(
      errors, "cannot write the output report '" + f.path("case.out") + "': File too large"))
      << errors;
  EXPECT_LE(fs::file_size(f.dir / "case.out"), limit);
  const auto aux = splitLines(readFile(f.path("case.aux")));
  ASSERT_FALSE(aux.empty());
  EXPECT_TRUE(contains(aux.back(), "ERROR STOP -- THE OUTPUT REPORT")) << aux.back();
  // The report of the small case is held whole and written when the files are closed, so the
  // failure is found after the analysis; the auxiliary file says so once, as its last line.
  size_t stops = 0;
  for (const std::string& l : aux) stops += contains(l, "ERROR STOP") ? 1 : 0;
  EXPECT_EQ(stops, 1U);
}

TEST(RunFiles, AReportLongerThanTheOutputBufferFailsWhileTheRunGoesOn) {
  // A file that fails while records are still being added: the first whole buffer is written
  // during the run, the failure stops it there, and later records are not taken.
  OutputFile out;
  ASSERT_TRUE(out.open("/dev/full", "output report"));
  const std::string record(1000, 'r');
  size_t written = 0;
  try {
    for (; written < 2 * OutputFile::kBufferSize / record.size(); ++written) out.line(record);
    FAIL() << "no failure after twice the buffer";
  } catch (const OutputWriteError& e) {
    EXPECT_EQ(e.label(), "output report");
  }
  EXPECT_EQ(written + 1, OutputFile::kBufferSize / (record.size() + 1) + 1);
  EXPECT_TRUE(out.failed());
  EXPECT_NO_THROW(out.line(record));
  EXPECT_NO_THROW(out.close());
}

TEST(RunFiles, AGeneratorStopWritesItsMessageIntoTheReportAndTheAuxiliaryFile) {
  // Soil down to 130 in only, the excavation level at 144 in: the earth-pressure generator stops.
  std::string input = readFile(KORDEN_SOURCE_DIR "/examples/pressure_triangular_english.dat");
  const std::string layer = "\n4 120.0 480.0 ";
  ASSERT_NE(input.find(layer), std::string::npos);
  input.replace(input.find(layer), layer.size(), "\n4 120.0 130.0 ");
  RunFolder f;
  f.write("case.dat", input);
  const RunResult r = f.run(f.sixNames());
  EXPECT_EQ(r.code, 1) << r.errors;
  const std::string message = "     STOP 1 -- THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL PROFILE";
  for (const char* file : {"case.out", "case.aux"}) {
    const auto lines = splitLines(readFile(f.dir / file));
    ASSERT_GE(lines.size(), 3u) << file;
    // Two blank lines and the message end each file: written, flushed and closed.
    EXPECT_EQ(lines.back(), message) << file;
    EXPECT_EQ(lines[lines.size() - 2], "") << file;
    EXPECT_EQ(lines[lines.size() - 3], "") << file;
  }
}

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

TEST(RunFiles, AnInputOfManyBlankLinesTakesMemoryOfTheSizeOfTheFile) {
  // 20 million blank lines after the title: the control record is searched to the end of the
  // file. Held as one string per line this took over 600 MB.
  RunFolder f;
  const size_t blankLines = 20'000'000;
  f.write("case.dat", "TITLE\n" + std::string(blankLines, '\n'));
  {
    std::string text = "TEST 1.0\n\n\n0\n";
    for (const std::string& n : f.sixNames()) text += n + "\n";
    f.write("NAMES.dat", text);
  }
  const pid_t child = fork();
  if (child == 0) {
    const long before = residentKilobytes();
    std::ostringstream err;
    const int code = runEngine((f.dir / "NAMES.dat").string(), err);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long grown = usage.ru_maxrss - before;
    std::fprintf(stderr, "peak growth %ld kB for a %zu kB input\n", grown, blankLines / 1024);
    // Within four times the size of the file (the text itself plus the reader's working room).
    _exit(code == 0 && grown < static_cast<long>(4 * blankLines / 1024) ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const auto report = splitLines(readFile(f.path("case.out")));
  bool named = false;
  for (const auto& l : report) {
    named =
        named || contains(l, "LINE 20000002 OF THE INPUT DATA FILE: THE PROGRAM CONTROL RECORD");
  }
  EXPECT_TRUE(named);
}

}  // namespace
}  // namespace korden

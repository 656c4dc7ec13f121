// Helpers shared by the tests: temporary directories and whole runs on input text.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run_driver.h"

namespace korden::testing {

// A 10 ft English wall of 20 increments held by one restraint over its length: one linear solve.
inline constexpr const char* kSmallCase =
    "SMALL CASE\n"
    "1 0 1 1 0 0 1 0 0 0 0 0 0 0 0\n"
    "20 6.0 10.0 0.001 0.0 12.0 120.0 0 0 0 0\n"
    "0.0 10.0 1\n"
    "1 1 0 0\n"
    "SECTION\n"
    "0 0 0 0 0 0 0 0\n"
    "0 0 0 100 0 0 0 0 29000000 0 0 0\n"
    "0 0 0 0 0 0 0 0 0\n"
    "SECTION\n"
    "0 0\n"
    "0\n"
    "1\n"
    "0 20 1 1000 0\n"
    "0\n";

// Runs a shell command; returns what it wrote on standard output and its wait status.
inline std::string runCommand(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  status = pclose(pipe);
  return output;
}

inline std::filesystem::path makeTempDir(const std::string& tag) {
  auto base = std::filesystem::temp_directory_path() / ("korden-test-" + tag + "-XXXXXX");
  std::string pattern = base.string();
  char* made = mkdtemp(pattern.data());
  return made ? std::filesystem::path(made) : std::filesystem::path();
}

// Sets an environment variable for the life of the object and restores it afterwards; the time
// zone is read again on both sides, for tests of TZ.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* previous = std::getenv(name)) saved_ = previous;
    setenv(name, value, 1);
    tzset();
  }
  ~ScopedEnvironment() {
    if (saved_) {
      setenv(name_, saved_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
    tzset();
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

inline bool hasLine(const std::vector<std::string>& lines, const std::string& wanted) {
  for (const auto& l : lines) {
    if (l == wanted) return true;
  }
  return false;
}

inline int countLines(const std::vector<std::string>& lines, const std::string& wanted) {
  int n = 0;
  for (const auto& l : lines) n += l == wanted;
  return n;
}

// The outputs of one whole run of the engine on an input text.
struct RunOutput {
  int returnCode = 0;
  std::string report, aux, plot, errors;
  std::vector<std::string> reportLines, auxLines;
};

inline RunOutput runInputText(const std::string& input, const std::string& tag = "run") {
  const auto dir = makeTempDir(tag);
  const auto in = dir / "case.dat";
  { std::ofstream(in, std::ios::binary) << input; }
  const auto names = dir / "NAMES.dat";
  {
    std::ofstream n(names);
    n << "TEST 1.0\n\n\n0\n"
      << in.string() << "\n"
      << (dir / "case.out").string() << "\n"
      << (dir / "case.plt").string() << "\n"
      << (dir / "case.aux").string() << "\n"
      << (dir / "case.pyc").string() << "\n"
      << (dir / "case.prs").string() << "\n";
  }
  RunOutput r;
  std::ostringstream err;
  r.returnCode = runEngine(names.string(), err);
  r.errors = err.str();
  r.report = readFile(dir / "case.out");
  r.aux = readFile(dir / "case.aux");
  r.plot = readFile(dir / "case.plt");
  r.reportLines = splitLines(r.report);
  r.auxLines = splitLines(r.aux);
  std::filesystem::remove_all(dir);
  return r;
}

}  // namespace korden::testing

// Malformed inputs derived from the examples: every truncation, and every value replaced by text,
// by a negative number and by a huge number. Each run must end cleanly through the end-of-run path
// (the sanitizer build of the suite checks that nothing reads or writes out of bounds).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace korden {
namespace {

std::vector<std::string> exampleFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(KORDEN_SOURCE_DIR "/examples")) {
    if (entry.path().extension() == ".dat") files.push_back(entry.path().string());
  }
  return files;
}


void expectCleanEnd(const std::string& input, const std::string& what) {
  RunState state;
  RunFiles files;
  files.input = InputFile(input);
  ASSERT_TRUE(files.report.open("/dev/null"));
  ASSERT_TRUE(files.plot.open("/dev/null"));
  ASSERT_TRUE(files.aux.open("/dev/null"));
  const int code = runCases(state, files);
  EXPECT_TRUE(code == 0 || code == 1 || code == 2 || code == 3 || code == 4) << what;
}

TEST(MalformedInput, EveryTruncationOfTheExamplesEndsCleanly) {
  for (const std::string& path : exampleFiles()) {
    const auto lines = testing::splitLines(testing::readFile(path));
    std::string prefix;
    for (size_t i = 0; i < lines.size(); ++i) {
      expectCleanEnd(prefix, path + " cut at line " + std::to_string(i + 1));
      prefix += lines[i] + "\n";
    }
  }
}

TEST(MalformedInput, EveryValueReplacedEndsCleanly) {
  const char* replacements[] = {"x", "-1", "99999", "1e300", "-2147483648", "0"};
  int runs = 0;
  for (const std::string& path : exampleFiles()) {
    const std::string text = testing::readFile(path);
    size_t pos = 0;
    while (pos < text.size()) {
      while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\n')) ++pos;
      size_t end = pos;
      while (end < text.size() && text[end] != ' ' && text[end] != '\n') ++end;
      if (end > pos) {
        for (const char* r : replacements) {
          std::string mutated = text;
          mutated.replace(pos, end - pos, r);
          expectCleanEnd(mutated, path + " value at byte " + std::to_string(pos) + " -> " + r);
          ++runs;
        }
      }
      pos = end;
    }
  }
  EXPECT_GT(runs, 1000);
}

}  // namespace
}  // namespace korden

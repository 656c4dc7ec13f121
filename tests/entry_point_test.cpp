// The shared library as the host uses it: one exported symbol, called with NAMES.dat in the
// working directory; and the korden command in both modes.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "test_support.h"

namespace korden {
namespace {

using korden::testing::kSmallCase;
using korden::testing::runCommand;

TEST(EntryPoint, TheLibraryExportsOnlyIkorden) {
  int status = 0;
  const std::string symbols =
      runCommand(std::string("nm -D --defined-only ") + KORDEN_SHARED_LIB + " 2>/dev/null", status);
  if (status != 0 || symbols.empty()) GTEST_SKIP() << "nm is not available";
  const auto lines = testing::splitLines(symbols);
  ASSERT_EQ(lines.size(), 1u) << symbols;
  EXPECT_NE(lines[0].find(" T IKORDEN"), std::string::npos) << symbols;
}

TEST(EntryPoint, HostCallReadsNamesDatInTheWorkingDirectory) {
  const auto dir = testing::makeTempDir("host");
  { std::ofstream(dir / "in.dat") << kSmallCase; }
  {
    std::ofstream(dir / "NAMES.dat")
        << "HOST 2.0\n\n\n0\nin.dat\nout.txt\nplot.txt\naux.txt\nc.txt\np.txt\n";
  }
  void* lib = dlopen(KORDEN_SHARED_LIB, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  using Entry = int32_t (*)(int32_t, int32_t);
  auto entry = reinterpret_cast<Entry>(dlsym(lib, "IKORDEN"));
  ASSERT_NE(entry, nullptr);
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  const int32_t code = entry(1, 2);
  ASSERT_EQ(chdir(previous), 0);
  dlclose(lib);
  EXPECT_EQ(code, 0);
  const auto report = testing::splitLines(testing::readFile(dir / "out.txt"));
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(report.back(), "     END OF ANALYSIS");
  EXPECT_TRUE(testing::hasLine(report, "     Path to file locations      : "));
  EXPECT_TRUE(testing::hasLine(report, "     Name of input data file     : in.dat"));
  EXPECT_TRUE(
      testing::hasLine(report, "                      KORDEN for Windows, Version HOST 2.0    "));
  EXPECT_EQ(testing::splitLines(testing::readFile(dir / "aux.txt")).back(), "     END OF ANALYSIS");
  std::filesystem::remove_all(dir);
}

TEST(EntryPoint, CommandRunWritesTheOutputsAndSaysWhereTheyAre) {
  const auto dir = testing::makeTempDir("cli");
  { std::ofstream(dir / "wall.dat") << kSmallCase; }
  int status = 0;
  const std::string out =
      runCommand(std::string(KORDEN_CLI) + " run " + (dir / "wall.dat").string() + " --out " +
                     (dir / "results").string() + " --keep-scratch 2>&1",
                 status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Output report:         " + (dir / "results" / "wall.out").string()),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Plot data file:        " + (dir / "results" / "wall.plt").string()),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "results" / "wall.aux"));
  const std::string missing =
      runCommand(std::string(KORDEN_CLI) + " run " + (dir / "none.dat").string() + " 2>&1", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(missing.find("cannot open the input data file"), std::string::npos) << missing;
  // `korden` alone is the host's call: ./NAMES.dat of the working directory (kept by
  // --keep-scratch).
  const std::string alone =
      runCommand("cd " + (dir / "results").string() + " && " + KORDEN_CLI + " 2>&1", status);
  EXPECT_EQ(status, 0) << alone;
  std::filesystem::remove_all(dir);
}

TEST(EntryPoint, CommandExitsWithOneWhenAnOutputCannotBeWrittenOrANameIsTooLong) {
  const auto dir = testing::makeTempDir("cli-files");
  { std::ofstream(dir / "in.dat") << kSmallCase; }
  {
    std::ofstream(dir / "NAMES.dat")
        << "HOST 2.0\n\n\n0\nin.dat\n/dev/full\nplot.txt\naux.txt\nc.txt\np.txt\n";
  }
  int status = 0;
  const std::string full = runCommand("cd " + dir.string() + " && " + KORDEN_CLI + " 2>&1", status);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << full;
  EXPECT_NE(full.find("cannot write the output report '/dev/full': No space left on device"),
            std::string::npos)
      << full;

  // `korden run --out DIR` whose paths pass 255 characters: the engine's own error, exit 1.
  const auto deep = dir / std::string(120, 'a') / std::string(120, 'b');
  const std::string tooLong =
      runCommand(std::string(KORDEN_CLI) + " run " + (dir / "in.dat").string() + " --out " +
                     deep.string() + " 2>&1",
                 status);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << tooLong;
  EXPECT_NE(tooLong.find("is longer than 255 characters"), std::string::npos) << tooLong;
  EXPECT_EQ(tooLong.find("Output report:"), std::string::npos) << tooLong;
  EXPECT_FALSE(std::filesystem::exists(deep / "in.out"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korden

// CR LF line ends, as a Windows host writes NAMES.dat and the input data file, are read like LF
// on every platform.
#include <gtest/gtest.h>

#include <string>

#include "input/list_reader.h"
#include "test_support.h"

namespace korden {
namespace {

namespace fs = std::filesystem;

std::string withCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(CrLfInput, ListStatementsTakeValuesUpToTheCarriageReturn) {
  InputFile in(withCrLf("1 2\n3,\n,7 / rest\n4*2.5 note\n'A B'\n"));
  int a = 0, b = 0, c = 0, d = -1, e = 0;
  in.statement("FIRST").integer(a).integer(b).integer(c);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  // The rest of the line "3," is discarded; the leading comma of ",7" is a null value.
  in.statement("SECOND").integer(d).integer(e);
  EXPECT_EQ(d, -1);
  EXPECT_EQ(e, 7);
  double r[4] = {};
  in.statement("THIRD").real(r[0]).real(r[1]).real(r[2]).real(r[3]);
  for (double v : r) EXPECT_EQ(v, 2.5);
  std::string text;
  in.statement("FOURTH").text(text);
  EXPECT_EQ(text, "A B");
  EXPECT_TRUE(in.atEnd());
}

TEST(CrLfInput, AValueBeforeTheLineEndIsNotMisread) {
  // Without the CR taken as the line end, "12\r" and "2.5D1\r" would be invalid numbers.
  InputFile in("12\r\n2.5D1\r\n");
  int n = 0;
  double x = 0.0;
  in.statement("COUNT").integer(n);
  in.statement("VALUE").real(x);
  EXPECT_EQ(n, 12);
  EXPECT_EQ(x, 25.0);
}

TEST(CrLfInput, ErrorsCountCrLfLines) {
  InputFile in(withCrLf("TITLE\n1 2\nx\n"));
  in.readText(80, "TITLE");
  int a = 0, b = 0, c = 0;
  in.statement("RECORD").integer(a).integer(b);
  try {
    in.statement("NEXT").integer(c);
    FAIL() << "x read as an integer";
  } catch (const InputError& error) {
    EXPECT_EQ(error.line(), 3);
    EXPECT_NE(std::string(error.what()).find("FOUND 'x'"), std::string::npos) << error.what();
  }
}

TEST(CrLfInput, RunControlNamesCarryNoCarriageReturn) {
  const auto dir = testing::makeTempDir("crlf-names");
  {
    std::ofstream(dir / "NAMES.dat", std::ios::binary)
        << withCrLf("HOST 2\nhost\nhost\n7\nin.dat\nout.txt\nplot.txt\naux.txt\nc.txt\np.txt\n");
  }
  DriverState d;
  std::ostringstream err;
  ASSERT_TRUE(readRunControl((dir / "NAMES.dat").string(), d, err));
  EXPECT_EQ(d.versionText, "HOST 2      ");
  EXPECT_EQ(d.inputName, "in.dat");
  EXPECT_EQ(d.outputName, "out.txt");
  EXPECT_EQ(d.plotName, "plot.txt");
  EXPECT_EQ(d.auxName, "aux.txt");
  EXPECT_EQ(d.curveFileName, "c.txt");
  EXPECT_EQ(d.pressureFileName, "p.txt");
  EXPECT_TRUE(err.str().empty());
  fs::remove_all(dir);
}

// The outputs of an example run from its own directory with the file names of tests/cases/ and
// the date of its expected files, NAMES.dat and the input file written with CR LF when `crLf`.
struct ExampleFiles {
  int code = -1;
  std::string report, aux, plot, curves, pressure;
};

ExampleFiles runExampleWith(const std::string& name, bool crLf) {
  std::string input = testing::readFile(fs::path(KORDEN_SOURCE_DIR) / "examples" / (name + ".dat"));
  std::string names = "korden 1.0\n\n\n0\n";
  for (const char* ext : {".dat", ".out", ".plt", ".aux", ".pyc", ".prs"})
    names += name + ext + "\n";
  if (crLf) {
    input = withCrLf(input);
    names = withCrLf(names);
  }
  const fs::path dir = testing::makeTempDir("crlf-example");
  { std::ofstream(dir / (name + ".dat"), std::ios::binary) << input; }
  { std::ofstream(dir / "NAMES.dat", std::ios::binary) << names; }
  const fs::path before = fs::current_path();
  ExampleFiles r;
  {
    testing::ScopedEnvironment epoch("SOURCE_DATE_EPOCH", "1706774709");
    fs::current_path(dir);
    std::ostringstream err;
    r.code = runEngine("NAMES.dat", err);
    fs::current_path(before);
  }
  r.report = testing::readFile(dir / (name + ".out"));
  r.aux = testing::readFile(dir / (name + ".aux"));
  r.plot = testing::readFile(dir / (name + ".plt"));
  r.curves = testing::readFile(dir / (name + ".pyc"));
  r.pressure = testing::readFile(dir / (name + ".prs"));
  fs::remove_all(dir);
  return r;
}

std::string expected(const std::string& file) {
  return testing::readFile(fs::path(KORDEN_SOURCE_DIR) / "tests" / "cases" / file);
}

TEST(CrLfInput, ExamplesWrittenWithCrLfGiveTheExpectedFiles) {
  for (const std::string name :
       {"staged_excavation_three_stages_english", "tied_back_wall_two_anchors_si"}) {
    const ExampleFiles r = runExampleWith(name, true);
    EXPECT_EQ(r.code, 0) << name;
    ASSERT_FALSE(expected(name + ".out").empty()) << name;
    EXPECT_TRUE(r.report == expected(name + ".out")) << name;
    EXPECT_TRUE(r.aux == expected(name + ".aux")) << name;
    EXPECT_TRUE(r.plot == expected(name + ".plt")) << name;
  }
}

TEST(CrLfInput, GeneratedPressureAndCurvesAreTheSameFromCrLfInput) {
  const std::string name = "curves_sand_si";
  const ExampleFiles lf = runExampleWith(name, false);
  const ExampleFiles crLf = runExampleWith(name, true);
  EXPECT_EQ(lf.code, 0);
  EXPECT_EQ(crLf.code, 0);
  ASSERT_NE(lf.curves, "");
  ASSERT_NE(lf.pressure, "");
  EXPECT_NE(lf.report.find("END OF ANALYSIS"), std::string::npos);
  EXPECT_TRUE(crLf.report == lf.report);
  EXPECT_TRUE(crLf.aux == lf.aux);
  EXPECT_TRUE(crLf.plot == lf.plot);
  EXPECT_TRUE(crLf.curves == lf.curves);
  EXPECT_TRUE(crLf.pressure == lf.pressure);
}

}  // namespace
}  // namespace korden

#include "input/list_reader.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace korden {
namespace {

TEST(ListReader, SeparatorsSpanLinesAndDiscardTheRestOfTheLastLine) {
  InputFile in("1, 2 3\n\n  4,5 99 98\n6\n");
  int a = 0, b = 0, c = 0, d = 0, e = 0;
  {
    auto s = in.statement("R");
    s.integer(a).integer(b).integer(c).integer(d).integer(e);
  }
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(d, 4);
  EXPECT_EQ(e, 5);
  // 99 and 98 were on the last line touched: discarded.
  int f = 0;
  in.statement("R").integer(f);
  EXPECT_EQ(f, 6);
  EXPECT_TRUE(in.atEnd());
}

TEST(ListReader, RepeatsNullsAndSlashLeaveTargetsUnchanged) {
  InputFile in("3*2.5, 2*\n1,,3 , ,5\n7 /8 9\n10\n");
  double v[5] = {-1, -1, -1, -1, -1};
  {
    auto s = in.statement("R");
    for (double& x : v) s.real(x);
  }
  EXPECT_EQ(v[0], 2.5);
  EXPECT_EQ(v[1], 2.5);
  EXPECT_EQ(v[2], 2.5);
  EXPECT_EQ(v[3], -1);  // r* nulls
  EXPECT_EQ(v[4], -1);
  int w[5] = {0, -7, 0, -7, 0};
  {
    auto s = in.statement("R");
    for (int& x : w) s.integer(x);
  }
  EXPECT_EQ(w[0], 1);
  EXPECT_EQ(w[1], -7);  // empty comma field
  EXPECT_EQ(w[2], 3);
  EXPECT_EQ(w[3], -7);  // blanks between commas are still a null value
  EXPECT_EQ(w[4], 5);
  int x[3] = {0, 42, 43};
  {
    auto s = in.statement("R");
    for (int& y : x) s.integer(y);
  }
  EXPECT_EQ(x[0], 7);
  EXPECT_EQ(x[1], 42);  // after the slash
  EXPECT_EQ(x[2], 43);
  int last = 0;
  in.statement("R").integer(last);
  EXPECT_EQ(last, 10);
}

TEST(ListReader, LeadingCommaIsANullValue) {
  InputFile in(",5\n");
  int a = 11, b = 0;
  {
    auto s = in.statement("R");
    s.integer(a).integer(b);
  }
  EXPECT_EQ(a, 11);
  EXPECT_EQ(b, 5);
}

TEST(ListReader, FortranRealForms) {
  const std::pair<const char*, double> cases[] = {
      {"1.5", 1.5},        {".5", 0.5},       {"5.", 5.0},       {"-2", -2.0},
      {"1.5E3", 1500.0},   {"1.5d3", 1500.0}, {"2.5D-2", 0.025}, {"1.5+3", 1500.0},
      {"1.5e+03", 1500.0}, {"+.25", 0.25}};
  for (const auto& [text, expected] : cases) {
    double v = 0;
    EXPECT_TRUE(parseFortranReal(text, v)) << text;
    EXPECT_DOUBLE_EQ(v, expected) << text;
  }
  for (const char* bad :
       {"abc", "1.2.3", "1e", "e5", ".", "-", "1,5", "nan", "inf", "1e999", "0x10"}) {
    double v = 0;
    EXPECT_FALSE(parseFortranReal(bad, v)) << bad;
  }
}

// Every value is the double nearest the decimal text, ties to even, as the IEEE closed forms give
// it: below the range a value underflows to a subnormal or to zero (a valid, finite reading);
// a mantissa of any length is read whole.
TEST(ListReader, FortranRealsAreCorrectlyRounded) {
  const std::pair<std::string, double> cases[] = {
      {"0.1", 0.1},
      {"9007199254740993", 9007199254740992.0},  // 2^53 + 1: halfway, to the even 2^53
      {"9007199254740995", 9007199254740996.0},  // 2^53 + 3: halfway, to the even 2^53 + 4
      {"2.2250738585072014D-308", std::numeric_limits<double>::min()},
      {"4.9406564584124654-324", std::numeric_limits<double>::denorm_min()},
      {"1e-400", 0.0},
      {"1.5-3", 0.0015},
      {"0." + std::string(90, '0') + "1D+91", 1.0},
      {"1" + std::string(70, '0') + ".0Q-70", 1.0}};
  for (const auto& [text, expected] : cases) {
    double v = -1.0;
    EXPECT_TRUE(parseFortranReal(text, v)) << text;
    EXPECT_EQ(v, expected) << text;
  }
  double negativeZero = 1.0;
  EXPECT_TRUE(parseFortranReal("-0.0D0", negativeZero));
  EXPECT_TRUE(negativeZero == 0.0 && std::signbit(negativeZero));
  // A plus sign after the letter, or a second sign, or a long field with a stray character.
  double v = 7.0;
  EXPECT_TRUE(parseFortranReal("25.E+1", v));
  EXPECT_EQ(v, 250.0);
  for (const std::string& bad :
       {std::string("+-1"), std::string("1e+-2"), std::string("--1"), std::string(80, '1') + "x",
        std::string("1") + std::string(80, '0') + "e"}) {
    double w = 7.0;
    EXPECT_FALSE(parseFortranReal(bad, w)) << bad;
    EXPECT_EQ(w, 7.0) << bad;
  }
}

// Plain decimals (digits and a point, up to 15 significant digits) are read by a short path;
// every one must be the double that the standard library's correctly rounded reading gives, bit
// for bit, also at the edges of that path (15 and 16 digits, 22 and 23 decimals, leading zeros,
// a minus zero).
TEST(ListReader, PlainDecimalsReadAsTheNearestDouble) {
  std::mt19937_64 random(20261209);
  std::vector<std::string> fields = {"0.1", "-0.0", "0", "007.250", ".5", "5.", "-.000123",
                                     "123456789012345", "1234567890123456", "999999999999999.9",
                                     "0.1234567890123456789012", "0.00000000000000000000001",
                                     "0.000000000000000000000001", "4503599627370497.5"};
  for (int k = 0; k < 20000; ++k) {
    const int digits = 1 + static_cast<int>(random() % 17);
    const int point = static_cast<int>(random() % (digits + 8)) - 4;  // may lead with zeros
    std::string text = random() % 2 == 0 ? "-" : "";
    if (point <= 0) text += "0." + std::string(static_cast<size_t>(-point), '0');
    for (int d = 0; d < digits; ++d) {
      if (d == point && point > 0) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    fields.push_back(text);
  }
  for (const std::string& text : fields) {
    double expected = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_EQ(result.ec, std::errc()) << text;
    double v = 7.0;
    ASSERT_TRUE(parseFortranReal(text, v)) << text;
    std::uint64_t a = 0, b = 0;
    std::memcpy(&a, &v, sizeof a);
    std::memcpy(&b, &expected, sizeof b);
    ASSERT_EQ(a, b) << text;
  }
}

// A record named in parts gets its whole name in the message.
TEST(ListReader, ARecordNamedInPartsIsNamedWholeInItsError) {
  InputFile in("1.0 2.0\n3.0 y\n");
  const std::string tail = " OF USER P-Y CURVE 4";
  double y = 0.0, p = 0.0;
  for (int j = 0; j < 2; ++j) {
    try {
      in.statement(RecordName{"POINT ", j + 1, tail}).real(y).real(p);
      EXPECT_EQ(j, 0);
    } catch (const InputError& e) {
      EXPECT_EQ(j, 1);
      EXPECT_EQ(e.record(), "POINT 2 OF USER P-Y CURVE 4");
      EXPECT_NE(std::string(e.what()).find("LINE 2 OF THE INPUT DATA FILE: POINT 2 OF USER P-Y "
                                           "CURVE 4, VALUE 2: EXPECTED A REAL NUMBER, FOUND 'y'"),
                std::string::npos)
          << e.what();
    }
  }
  EXPECT_EQ(y, 3.0);
}

TEST(ListReader, FortranIntegerForms) {
  int v = 0;
  EXPECT_TRUE(parseFortranInteger("+12", v));
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(parseFortranInteger("-2147483648", v));
  EXPECT_EQ(v, -2147483647 - 1);
  for (const char* bad : {"2147483648", "1.0", "1e3", "", "+", "12a"}) {
    EXPECT_FALSE(parseFortranInteger(bad, v)) << bad;
  }
}

TEST(ListReader, QuotedTextWithDoubledQuotes) {
  InputFile in("'it''s, a / test' \"x\" 'a''''b' 2*'q'\n");
  std::string a, b, c, d, e;
  {
    auto s = in.statement("R");
    s.text(a).text(b).text(c).text(d).text(e);
  }
  EXPECT_EQ(a, "it's, a / test");
  EXPECT_EQ(b, "x");
  EXPECT_EQ(c, "a''b");
  EXPECT_EQ(d, "'q'");  // a repeated value is taken as written after the star
  EXPECT_EQ(e, "'q'");
}

TEST(ListReader, ErrorsNameTheLineTheRecordAndWhatWasExpected) {
  InputFile in("1 2\n3 x 5\n");
  int a = 0, b = 0, c = 0, d = 0;
  auto s = in.statement("THE WALL RECORD");
  s.integer(a).integer(b).integer(c);
  try {
    s.integer(d);
    FAIL() << "no error";
  } catch (const InputError& e) {
    EXPECT_EQ(e.line(), 2);
    const std::string m = e.what();
    EXPECT_NE(m.find("LINE 2"), std::string::npos) << m;
    EXPECT_NE(m.find("THE WALL RECORD, VALUE 4"), std::string::npos) << m;
    EXPECT_NE(m.find("EXPECTED AN INTEGER, FOUND 'x'"), std::string::npos) << m;
  }
}

TEST(ListReader, EarlyEndOfFileIsAnErrorNamingTheLine) {
  InputFile in("1 2\n");
  int a = 0, b = 0, c = 0;
  auto s = in.statement("THE CONTROL RECORD");
  s.integer(a).integer(b);
  try {
    s.integer(c);
    FAIL() << "no error";
  } catch (const InputError& e) {
    EXPECT_EQ(e.line(), 2);
    EXPECT_NE(std::string(e.what()).find("END OF THE FILE"), std::string::npos);
  }
  InputFile empty("");
  EXPECT_THROW(empty.readText(80, "THE TITLE RECORD"), InputError);
}

TEST(ListReader, TextRecordsAreCutOrPaddedAndKeepCarriageReturnsOut) {
  InputFile in("short\r\n" + std::string(100, 'x') + "\n");
  EXPECT_EQ(in.readText(10, "T"), "short     ");
  EXPECT_EQ(in.readText(80, "T"), std::string(80, 'x'));
  EXPECT_EQ(in.nextLineNumber(), 3);
}

TEST(ListReader, BadRepeatCountsAreErrors) {
  for (const char* text : {"0*5", "-2*5", "x*5"}) {
    InputFile in(text);
    int v = 0;
    auto s = in.statement("R");
    EXPECT_THROW(s.integer(v), InputError) << text;
  }
}

TEST(ListReader, RealsAboveTheLargestMagnitudeAreErrorsNamingLineRecordAndValue) {
  InputFile in("1 2.5\n-1e15 1.0D15 1.0000001e15\n");
  int a = 0;
  double b = 0, c = 0, d = 0, e = 0;
  auto s = in.statement("THE WALL RECORD");
  s.integer(a).real(b).real(c).real(d);
  EXPECT_EQ(c, -1.0e15);
  EXPECT_EQ(d, 1.0e15);
  try {
    s.real(e);
    FAIL() << "no error";
  } catch (const InputError& error) {
    EXPECT_EQ(error.line(), 2);
    EXPECT_EQ(std::string(error.what()),
              "INPUT ERROR AT LINE 2 OF THE INPUT DATA FILE: THE WALL RECORD, VALUE 5: EXPECTED A "
              "REAL NUMBER OF MAGNITUDE AT MOST 1E+15, FOUND '1.0000001e15'");
  }
  EXPECT_EQ(e, 0.0);  // the target is left as it was
  // Beyond the range of a double, and as the value of a repeat.
  for (const char* text : {"1d400", "-1e999", "2*1e16"}) {
    InputFile big(text);
    double v = 0;
    auto t = big.statement("R");
    try {
      t.real(v);
      FAIL() << text;
    } catch (const InputError& error) {
      EXPECT_NE(std::string(error.what()).find("MAGNITUDE AT MOST 1E+15"), std::string::npos)
          << error.what();
    }
  }
}

TEST(ListReader, WholeLinesOfAnyLengthAndLineNumbersAcrossBlankLines) {
  const std::string longLine(5000, 'n');
  InputFile in(longLine + "\r\n\n\n\n7\nlast");
  std::string line;
  ASSERT_TRUE(in.tryReadLine(line));
  EXPECT_EQ(line, longLine);
  int v = 0;
  in.statement("R").integer(v);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(in.nextLineNumber(), 6);
  ASSERT_TRUE(in.tryReadLine(line));
  EXPECT_EQ(line, "last");  // a last line without a line end
  EXPECT_TRUE(in.atEnd());
  EXPECT_FALSE(in.tryReadLine(line));
}

}  // namespace
}  // namespace korden

// Fortran edit descriptors: hand-checked fields, and a field-by-field comparison with gfortran's
// own output (tests/fortran/format_reference.f90) when gfortran is installed.
#include "report/fortran_format.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace korden::fmt {
namespace {

// Fields checked against gfortran 12 by hand.
TEST(FortranFormat, FixedRoundsTiesToEvenAndKeepsTheSignOfZero) {
  EXPECT_EQ(F(0.125, 5, 2), " 0.12");
  EXPECT_EQ(F(0.375, 5, 2), " 0.38");
  EXPECT_EQ(F(2.5, 4, 0), "  2.");
  EXPECT_EQ(F(3.5, 4, 0), "  4.");
  EXPECT_EQ(F(0.5, 3, 0), " 0.");
  EXPECT_EQ(F(1.005, 5, 2), " 1.00");   // 1.00499999999999989...
  EXPECT_EQ(F(9.995, 6, 2), "  9.99");  // 9.99499999999999921...
  EXPECT_EQ(F(-0.001, 6, 2), " -0.00");
  EXPECT_EQ(F(-0.0, 6, 2), " -0.00");
  EXPECT_EQ(F(0.0, 6, 2), "  0.00");
  EXPECT_EQ(F(-0.4, 3, 0), "-0.");
}

TEST(FortranFormat, FixedDropsTheLeadingZeroOnlyWhenNarrow) {
  EXPECT_EQ(F(0.5, 4, 3), ".500");
  EXPECT_EQ(F(0.5, 5, 3), "0.500");
  EXPECT_EQ(F(-0.5, 5, 3), "-.500");
  EXPECT_EQ(F(-0.5, 4, 3), "****");
  EXPECT_EQ(F(0.0, 2, 1), ".0");
  EXPECT_EQ(F(0.5, 1, 0), "*");  // "0." has no optional zero
  EXPECT_EQ(F(-0.4, 2, 0), "**");
  EXPECT_EQ(F(123.456, 5, 2), "*****");
  EXPECT_EQ(F(1e120, 10, 3), "**********");
  // Minimal width F0.d.
  EXPECT_EQ(F(3.14159, 0, 2), "3.14");
  EXPECT_EQ(F(0.5, 0, 2), ".50");
  EXPECT_EQ(F(-0.001, 0, 2), "-.00");
  EXPECT_EQ(F(0.4, 0, 0), "0.");
}

TEST(FortranFormat, NonFiniteValues) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(F(inf, 8, 0), "Infinity");
  EXPECT_EQ(F(-inf, 8, 0), "    -Inf");
  EXPECT_EQ(F(-inf, 3, 0), "***");
  EXPECT_EQ(E(-inf, 10, 3), " -Infinity");
  EXPECT_EQ(F(-nan, 4, 1), " NaN");
  EXPECT_EQ(E(nan, 2, 1), "**");
  EXPECT_EQ(significant(nan, 14, 5), "           NaN");
  EXPECT_EQ(significant(-inf, 14, 5), "     -Infinity");
}

TEST(FortranFormat, ScientificWithOneDigitBeforeThePoint) {
  EXPECT_EQ(E(9.9996, 10, 3), " 1.000E+01");
  EXPECT_EQ(E(9.9994e99, 10, 3), " 9.999E+99");
  EXPECT_EQ(E(9.9996e99, 10, 3), " 1.000+100");  // the carry reaches a three-digit exponent
  EXPECT_EQ(E(9.9996e-100, 10, 3), " 1.000E-99");
  EXPECT_EQ(E(-1.5e-100, 10, 3), "-1.500-100");
  EXPECT_EQ(E(-1.5e-100, 9, 3), "*********");
  EXPECT_EQ(E(0.0, 10, 3), " 0.000E+00");
  EXPECT_EQ(E(-0.0, 10, 3), "-0.000E+00");
  EXPECT_EQ(E(1.25, 8, 3), "********");
  EXPECT_EQ(E(2.5, 6, 0), "2.E+00");
  EXPECT_EQ(E(0.125, 10, 1), "   1.2E-01");
  EXPECT_EQ(E(4.9406564584124654e-324, 10, 3), " 4.941-324");
}

TEST(FortranFormat, Integers) {
  EXPECT_EQ(I(42, 5), "   42");
  EXPECT_EQ(I(-99, 3), "-99");
  EXPECT_EQ(I(-100, 3), "***");
  EXPECT_EQ(I(-5, 5, 3), " -005");
  EXPECT_EQ(I(-5, 3, 3), "***");
  EXPECT_EQ(I(0, 5, 0), "     ");
  EXPECT_EQ(I(0, 0, 0), " ");
  EXPECT_EQ(I(0, 0), "0");
  EXPECT_EQ(I(std::numeric_limits<long long>::min(), 20), "-9223372036854775808");
  EXPECT_EQ(I(std::numeric_limits<long long>::min(), 19), std::string(19, '*'));
  EXPECT_THROW(I(5, 3, 5), std::invalid_argument);
  EXPECT_THROW(I(5, -1), std::invalid_argument);
}

TEST(FortranFormat, TextAndBlanks) {
  EXPECT_EQ(A("WALL", 6), "  WALL");
  EXPECT_EQ(A("SHEET PILE", 5), "SHEET");
  EXPECT_EQ(A("", 3), "   ");
  EXPECT_EQ(A("ABC", 0), "");
  EXPECT_EQ(X(3), "   ");
  EXPECT_EQ(X(0), "");
  EXPECT_THROW(X(-1), std::invalid_argument);
}

TEST(FortranFormat, RejectsDescriptorsGfortranRejects) {
  EXPECT_THROW(F(1.0, -1, 2), std::invalid_argument);
  EXPECT_THROW(F(1.0, 8, -1), std::invalid_argument);
  EXPECT_THROW(E(1.0, 0, 3), std::invalid_argument);
  EXPECT_THROW(significant(1.0, 0, 5), std::invalid_argument);
}

TEST(FortranFormat, SignificantDigitReal) {
  EXPECT_EQ(significant(12.5, 14, 5), "       12.5000");
  EXPECT_EQ(significant(0.5, 14, 5), "       0.50000");
  EXPECT_EQ(significant(0.05, 14, 5), "     0.0500000");
  EXPECT_EQ(significant(0.1, 14, 5), "     0.1000000");  // log10 is exactly -1
  EXPECT_EQ(significant(0.0, 14, 5), "       0.00000");
  EXPECT_EQ(significant(-0.0, 14, 5), "       0.00000");
  EXPECT_EQ(significant(-3.0e-60, 14, 5), "       0.00000");
  EXPECT_EQ(significant(250000.0, 14, 5), "   2.50000E+05");
  EXPECT_EQ(significant(0.00001, 14, 5), "   1.00000E-05");
  EXPECT_EQ(significant(0.01, 14, 5), "   1.00000E-02");  // decade -3: too many decimals
  EXPECT_EQ(significant(-1234.5678, 14, 5), "      -1234.57");
  // 1.0e-4 as a float is 9.99999974738e-05: a double just above it is inside the range.
  EXPECT_EQ(significant(1.0e-4, 14, 5), "   1.00000E-04");
}

// The digits of F and E fields are the C library's correctly rounded "%.*f" and "%.*e" (what
// libgfortran prints through), for values of every decade, exact binary ties (k + 1/2) / 2^j,
// and the doubles next to them, where a rounding by an approximate scaling would go wrong.
TEST(FortranFormat, DigitsAreTheCorrectlyRoundedDecimalsOfTheBinaryValue) {
  std::mt19937_64 random(20261209);
  std::vector<double> values = {0.0,    0.5,         1.5,  2.5, 0.125, 0.375, 9.9996, 99999.5, 0.05,
                                1.0e-5, 123456789.5, 4.35, 0.3, 2.675, 1.005, 1.0e15, 7.0e-300};
  for (int k = 0; k < 4000; ++k) {
    // Exact binary ties at 1 to 6 decimals and the doubles on either side.
    const int decimals = 1 + k % 6;
    const double tie = (static_cast<double>(random() % 2000000) + 0.5) / std::pow(2.0, decimals);
    values.insert(values.end(), {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300)});
    // Values of every decade from 1e-12 to 1e12.
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    values.push_back(mantissa(random) * std::pow(10.0, static_cast<int>(random() % 25) - 12));
  }
  char expected[512];
  size_t compared = 0;
  for (const double v : values) {
    for (int d = 0; d <= 9; ++d) {
      for (const double signed_ : {v, -v}) {
        std::snprintf(expected, sizeof expected, "%.*f", d, std::fabs(signed_));
        std::string want = expected;
        if (d == 0) want += '.';
        if (std::signbit(signed_)) want.insert(0, "-");
        ASSERT_EQ(F(signed_, 0, d), d > 0 && want.rfind("0.", 0) == 0    ? want.substr(1)
                                    : d > 0 && want.rfind("-0.", 0) == 0 ? "-" + want.substr(2)
                                                                         : want)
            << v << " F0." << d;
        std::snprintf(expected, sizeof expected, "%.*e", d, std::fabs(signed_));
        std::string mantissa = expected;
        const size_t e = mantissa.find('e');
        std::string tail = mantissa.substr(e + 1);
        mantissa.resize(e);
        if (d == 0) mantissa += '.';
        const int exponent = std::atoi(tail.c_str());
        char exponentText[8];
        std::snprintf(exponentText, sizeof exponentText,
                      std::abs(exponent) > 99 ? "%+04d" : "E%+03d", exponent);
        want = (std::signbit(signed_) ? "-" : "") + mantissa + exponentText;
        ASSERT_EQ(E(signed_, 30, d), std::string(30 - want.size(), ' ') + want)
            << v << " E30." << d;
        compared += 2;
      }
    }
  }
  EXPECT_GT(compared, 300000U);
}

// ---------------------------------------------------------------------------------------------
// Comparison with gfortran.

struct Request {
  char kind;  // I, J, F, E, S as in format_reference.f90
  int w;
  int d;
  std::int64_t bits;  // the integer itself for I and J, the IEEE bits of the double otherwise
};

std::int64_t bitsOf(double value) { return std::bit_cast<std::int64_t>(value); }

std::string ourField(const Request& request) {
  const double value = std::bit_cast<double>(request.bits);
  switch (request.kind) {
    case 'I':
      return I(request.bits, request.w, request.d);
    case 'J':
      return I(request.bits, request.w);
    case 'F':
      return F(value, request.w, request.d);
    case 'E':
      return E(value, request.w, request.d);
    default:
      return significant(value, request.w, request.d);
  }
}

// Values for the real descriptors: zeros, extremes, exact binary ties at several decimal
// positions, doubles on either side of decimal rounding boundaries, carries into a new leading
// digit, and random values across 1e-120..1e120.
std::vector<double> realValues(std::mt19937_64& random) {
  std::vector<double> values = {0.0,
                                -0.0,
                                0.125,
                                -0.125,
                                2.5,
                                0.5,
                                -0.5,
                                1.5,
                                3.5,
                                0.375,
                                1.005,
                                9.995,
                                -0.001,
                                0.05,
                                9.9996,
                                9.9995,
                                99.995,
                                0.99996,
                                9.9996e99,
                                9.9994e99,
                                9.9996e-100,
                                1e100,
                                -1e-100,
                                1e-99,
                                1e99,
                                1e-5,
                                250000.0,
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  // Exact ties: odd multiples of 2^-j have j decimals, the last one a 5.
  for (int j = 1; j <= 8; ++j) {
    for (int odd = 1; odd < 40; odd += 6) values.push_back(std::ldexp(odd, -j));
  }
  // Both neighbours of decimal rounding boundaries (m + 0.5) * 10^-p.
  std::uniform_int_distribution<int> mantissa(0, 99999);
  std::uniform_int_distribution<int> place(-3, 8);
  for (int i = 0; i < 150; ++i) {
    const double boundary = (mantissa(random) + 0.5) * std::pow(10.0, -place(random));
    for (double v : {boundary, std::nextafter(boundary, 0.0), std::nextafter(boundary, 1e300)}) {
      values.push_back(i % 2 != 0 ? -v : v);
    }
  }
  // Random magnitudes: broad for E, and denser within what F fields can hold.
  std::uniform_real_distribution<double> leading(1.0, 10.0);
  std::uniform_int_distribution<int> broad(-120, 120);
  std::uniform_int_distribution<int> narrow(-6, 9);
  for (int i = 0; i < 700; ++i) {
    const int exponent = i % 2 == 0 ? broad(random) : narrow(random);
    const double v = leading(random) * std::pow(10.0, exponent);
    values.push_back(i % 3 == 0 ? -v : v);
  }
  return values;
}

std::vector<Request> buildRequests() {
  std::mt19937_64 random(20240611);
  const std::vector<double> reals = realValues(random);
  std::vector<Request> requests;

  const int fixed[][2] = {{1, 0},  {2, 0},  {3, 0},  {4, 0}, {5, 2}, {4, 3},   {6, 2},  {8, 3},
                          {10, 4}, {12, 5}, {14, 7}, {0, 2}, {0, 0}, {20, 10}, {40, 30}};
  const int scientific[][2] = {{6, 0},  {8, 1},  {9, 3},  {10, 3},  {11, 3},
                               {12, 4}, {14, 5}, {16, 8}, {24, 16}, {50, 40}};
  for (double v : reals) {
    for (const auto& wd : fixed) requests.push_back({'F', wd[0], wd[1], bitsOf(v)});
    for (const auto& wd : scientific) requests.push_back({'E', wd[0], wd[1], bitsOf(v)});
  }

  // Significant-digit reals: the values above plus both sides of every decade limit and of the
  // single-precision range limits 10.0**(1-n) and 10.0**n.
  // NaN is left out: the Fortran routine would take INT of a NaN logarithm.
  std::vector<double> significantValues;
  for (double v : reals) {
    if (!std::isnan(v)) significantValues.push_back(v);
  }
  for (int p = -12; p <= 12; ++p) {
    const double decade = std::pow(10.0, p);
    const double single = static_cast<double>(static_cast<float>(decade));
    for (double v : {decade, single}) {
      significantValues.push_back(v);
      significantValues.push_back(std::nextafter(v, 0.0));
      significantValues.push_back(-std::nextafter(v, 1e300));
    }
  }
  const int significantShapes[][2] = {{14, 5}, {12, 3}, {10, 1}, {10, 2},
                                      {16, 8}, {8, 4},  {20, 11}};
  for (double v : significantValues) {
    for (const auto& wn : significantShapes) requests.push_back({'S', wn[0], wn[1], bitsOf(v)});
  }

  // Integers: each side of every power of ten, and random values of every length.
  std::vector<std::int64_t> integers = {0, 1, -1, std::numeric_limits<std::int64_t>::max(),
                                        std::numeric_limits<std::int64_t>::min()};
  std::int64_t power = 1;
  for (int digits = 0; digits <= 18; ++digits) {  // power = 10^digits, the last one 10^18
    for (std::int64_t v : {power - 1, power, -power + 1, -power}) integers.push_back(v);
    if (digits < 18) power *= 10;
  }
  for (int i = 0; i < 200; ++i) {
    const std::int64_t v = static_cast<std::int64_t>(random() >> (1 + random() % 63));
    integers.push_back(i % 2 == 0 ? -v : v);
  }
  const int integerShapes[][2] = {{1, 0}, {1, 1}, {2, 0}, {3, 2}, {3, 3}, {4, 3},
                                  {5, 0}, {6, 1}, {8, 5}, {0, 0}, {0, 4}, {20, 19}};
  for (std::int64_t v : integers) {
    for (const auto& wm : integerShapes) requests.push_back({'I', wm[0], wm[1], v});
    for (int w : {0, 1, 3, 5, 19, 20}) requests.push_back({'J', w, 0, v});
  }
  return requests;
}

std::string shortest(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::filesystem::path sourceDir() { return KORDEN_SOURCE_DIR; }

TEST(FortranFormat, AgreesWithGfortranFieldByField) {
  if (std::system("command -v gfortran >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "gfortran is not on PATH: comparison with gfortran skipped";
  }
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("korden_fortran_format_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string quotedDir = "'" + dir.string() + "'";
  const std::filesystem::path program = sourceDir() / "tests" / "fortran" / "format_reference.f90";
  const std::string compile =
      "gfortran -O0 -o " + quotedDir + "/reference '" + program.string() + "'";
  ASSERT_EQ(std::system(compile.c_str()), 0) << compile;

  const std::vector<Request> requests = buildRequests();
  {
    std::ofstream input(dir / "requests.txt");
    for (const Request& r : requests) {
      input << r.kind << ' ' << r.w << ' ' << r.d << ' ' << r.bits << '\n';
    }
  }
  const std::string run = "cd " + quotedDir + " && ./reference < requests.txt > fields.txt";
  ASSERT_EQ(std::system(run.c_str()), 0) << run;

  std::ifstream output(dir / "fields.txt");
  std::string line;
  std::size_t compared = 0;
  std::size_t mismatches = 0;
  for (const Request& r : requests) {
    ASSERT_TRUE(std::getline(output, line)) << "gfortran wrote only " << compared << " fields";
    ASSERT_GE(line.size(), 2U);
    const std::string expected = line.substr(1, line.size() - 2);
    const std::string actual = ourField(r);
    ++compared;
    if (actual != expected && ++mismatches <= 20) {
      ADD_FAILURE() << r.kind << r.w << '.' << r.d << " of "
                    << (r.kind == 'I' || r.kind == 'J' ? std::to_string(r.bits)
                                                       : shortest(std::bit_cast<double>(r.bits)))
                    << " (bits " << r.bits << "): gfortran [" << expected << "], ours [" << actual
                    << "]";
    }
  }
  EXPECT_EQ(mismatches, 0U);
  std::printf("[ gfortran ] %zu fields compared, %zu differ\n", compared, mismatches);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korden::fmt

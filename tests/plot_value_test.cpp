// The values of the plot file are the shortest texts that read back as the values, in the form
// std::to_chars gives them (the reference here): fixed notation unless scientific is shorter.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "report/plot_file.h"

namespace korden {
namespace {

std::string reference(double v) {
  char buffer[64];
  buffer[0] = ' ';
  return std::string(buffer, std::to_chars(buffer + 1, buffer + sizeof buffer, v).ptr);
}

std::string ours(double v) {
  std::string record;
  appendPlotValue(record, v);
  return record;
}

TEST(PlotValue, ShortestTextsOfHandPickedValues) {
  EXPECT_EQ(ours(12.0), " 12");
  EXPECT_EQ(ours(-0.25), " -0.25");
  EXPECT_EQ(ours(0.1), " 0.1");
  EXPECT_EQ(ours(1.0e-5), " 1e-05");       // "0.00001" is longer
  EXPECT_EQ(ours(1200000.0), " 1200000");  // as long as "1.2e+06": fixed
  EXPECT_EQ(ours(12000000.0), " 1.2e+07");
  EXPECT_EQ(ours(0.0), " 0");
  EXPECT_EQ(ours(-0.0), " -0");
  EXPECT_EQ(ours(1.0 / 3.0), " 0.3333333333333333");  // 16 digits: the library's path
  // Above 2^53 in fixed notation: the digits of the exact binary value, not the shortest ones.
  EXPECT_EQ(ours(551738255758899968.0), " 551738255758899968");
}

// Decimals of 1 to 16 digits over forty decades, the doubles next to them, and arbitrary bit
// patterns: every text is the reference's.
TEST(PlotValue, AgreesWithTheStandardShortestText) {
  std::mt19937_64 random(20261209);
  for (int k = 0; k < 100000; ++k) {
    const int digits = 1 + static_cast<int>(random() % 16);
    const double scale = std::pow(10.0, static_cast<int>(random() % 40) - 20);
    const double v =
        static_cast<double>(random() % static_cast<unsigned long long>(std::pow(10.0, digits))) *
        scale / std::pow(10.0, digits - 1);
    for (const double x : {v, -v, std::nextafter(v, 1.0e300), std::bit_cast<double>(random())}) {
      ASSERT_EQ(ours(x), reference(x)) << x;
      ASSERT_EQ(" " + plotValue(x), reference(x)) << x;
    }
  }
}

}  // namespace
}  // namespace korden

// The build never fuses a product and a sum into one rounding: a*b + c is rounded twice, as on a
// processor without fused multiply-add, so every build gives the same digits.
#include <gtest/gtest.h>

#include <cmath>

namespace korden::testing {
double productPlusSum(double a, double b, double c);
}

namespace korden {
namespace {

TEST(FloatingPoint, AProductAndASumAreRoundedApart) {
#if defined(__x86_64__) || defined(__i386__)
  if (!__builtin_cpu_supports("fma")) GTEST_SKIP() << "the processor has no fused multiply-add";
#endif
  // (1 + 2^-30)(1 - 2^-30) = 1 - 2^-60 rounds to 1, so the sum with -1 is exactly 0; fused into
  // one rounding it would be -2^-60.
  volatile double a = 1.0 + std::ldexp(1.0, -30);
  volatile double b = 1.0 - std::ldexp(1.0, -30);
  volatile double c = -1.0;
  EXPECT_EQ(testing::productPlusSum(a, b, c), 0.0);
  EXPECT_EQ(std::fma(a, b, c), -std::ldexp(1.0, -60));  // what a fused build would give
}

}  // namespace
}  // namespace korden

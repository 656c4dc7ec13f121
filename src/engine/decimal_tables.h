// The tables and small steps of the decimal reading and writing of numbers (the list reader, the
// report's fields and the plot file's shortest values).
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace korden {

// 10^0 to 10^22: the powers of ten that are exact in double.
inline constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// "00" to "99": the two digits of each number below 100, at twice the number.
inline constexpr char kDigitPairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546"
    "4748495051525354555657585960616263646566676869707172737475767778798081828384858687888990919293"
    "949596979899";

// The `count` lowest decimal digits of n, with leading zeros, at `out` (two at a time); returns
// the end. A 32-bit n where it fits makes the divisions cheaper. Always inlined: it is a few
// instructions in the middle of every number field.
template <typename Unsigned>
[[gnu::always_inline]] inline char* writeDigits(char* out, Unsigned n, int count) {
  int k = count;
  for (; k >= 2; k -= 2) {
    const char* pair = kDigitPairs + 2U * (n % 100U);
    out[k - 2] = pair[0];
    out[k - 1] = pair[1];
    n /= 100U;
  }
  if (k == 1) out[0] = static_cast<char>('0' + n % 10U);
  return out + count;
}

// floor(log10(magnitude)) or one less, for a positive normal magnitude: floor(e2 log10 2) of its
// binary exponent e2, with log10 2 ~ 78913 / 2^18 (the arithmetic shift floors negative
// products). The caller corrects it by the scaled value.
inline int decadeEstimate(double magnitude) {
  const int binaryExponent =
      static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52U) & 0x7FFU) - 1023;
  return (binaryExponent * 78913) >> 18;
}

}  // namespace korden

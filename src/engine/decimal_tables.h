// Tables of the decimal reading and writing of numbers (the list reader, the report's fields and
// the plot file's shortest values).
#pragma once

#include <array>

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

}  // namespace korden

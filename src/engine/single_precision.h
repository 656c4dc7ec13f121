// Constants that the method holds in single precision. The rounding to float and back is part of
// the method's results (for example pi as 3.1416 becomes 3.14159989356994628906), so it is made
// visible by name wherever such a value is used.
#pragma once

namespace korden {

constexpr double singlePrecision(double value) {
  return static_cast<double>(static_cast<float>(value));
}

inline constexpr double kPiSingle = singlePrecision(3.1416);
inline constexpr double kOneE12Single = singlePrecision(1.0e12);
inline constexpr double kOneEMinus8Single = singlePrecision(1.0e-8);
// The reference width of 0.3048 m as the method holds it in single precision.
inline constexpr double kReferenceWidthSI = 0.30479999631643295;

}  // namespace korden

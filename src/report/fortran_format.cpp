// Fortran edit descriptors as gfortran (libgfortran, default rounding mode) writes them.
//
// libgfortran leaves the rounding of F and E fields to the C library's printf, which rounds the
// exact binary value correctly to nearest, ties to even (0.125 in F5.2 is " 0.12", 2.5 in F4.0 is
// "  2."). glibc's snprintf does the same, so the digits come from snprintf and this module only
// lays them out: sign, optional leading zero, exponent form, width and asterisks.
#include "report/fortran_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace korden::fmt {
namespace {

// Exactly representable powers of ten, for the early overflow test of F fields.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

void requireNonNegative(int n, const char* what) {
  if (n < 0) throw std::invalid_argument(std::string("fortran format: negative ") + what);
}

std::string asterisks(int w) { return std::string(static_cast<std::size_t>(w), '*'); }

// Right-justifies `body` (already known to fit) in w columns; w == 0 is the minimal width.
std::string rightJustified(std::string_view sign, std::string_view body, int w) {
  const std::size_t length = sign.size() + body.size();
  const std::size_t width = w > 0 ? static_cast<std::size_t>(w) : length;
  std::string field(width - length, ' ');
  field.append(sign);
  field.append(body);
  return field;
}

// Infinity and NaN as gfortran writes them in F and E fields: "Infinity" when it fits, else
// "Inf"; a minus sign for negative infinity only; NaN never signed; asterisks below 3 columns
// (4 for "-Inf").
std::string nonFinite(double value, int w) {
  if (std::isnan(value)) return w > 0 && w < 3 ? asterisks(w) : rightJustified("", "NaN", w);
  const bool negative = std::signbit(value);
  const std::string_view sign = negative ? "-" : "";
  if (w == 0) return rightJustified(sign, "Inf", 0);
  const int room = w - (negative ? 1 : 0);
  if (room >= 8) return rightJustified(sign, "Infinity", w);
  if (room >= 3) return rightJustified(sign, "Inf", w);
  return asterisks(w);
}

// snprintf into a stack buffer, falling back to the heap for very long fields (F of 1e300).
template <typename... Args>
std::string formatted(const char* pattern, Args... args) {
  std::array<char, 128> local{};
  const int needed = std::snprintf(local.data(), local.size(), pattern, args...);
  if (needed < 0) throw std::runtime_error("fortran format: snprintf failed");
  if (static_cast<std::size_t>(needed) < local.size()) {
    return std::string(local.data(), static_cast<std::size_t>(needed));
  }
  std::string text(static_cast<std::size_t>(needed) + 1, '\0');
  std::snprintf(text.data(), text.size(), pattern, args...);
  text.resize(static_cast<std::size_t>(needed));
  return text;
}

// 10.0**n with a default REAL base and an integer exponent, evaluated as gfortran does for a
// variable exponent (libgcc's __powisf2: binary powering in float, reciprocal for n < 0).
// 10^n is exact in float for 0 <= n <= 10, and 10^-n is then the correctly rounded reciprocal.
float singlePowerOfTen(int n) {
  unsigned int remaining = n < 0 ? 0U - static_cast<unsigned int>(n) : static_cast<unsigned int>(n);
  float base = 10.0F;
  float result = (remaining % 2U) != 0U ? base : 1.0F;
  while ((remaining >>= 1U) != 0U) {
    base = base * base;
    if ((remaining % 2U) != 0U) result = result * base;
  }
  return n < 0 ? 1.0F / result : result;
}

}  // namespace

std::string I(long long value, int w) { return I(value, w, 1); }

std::string I(long long value, int w, int m) {
  requireNonNegative(w, "width in I");
  requireNonNegative(m, "minimum digits in I");
  if (w > 0 && m > w) throw std::invalid_argument("fortran format: Iw.m with m > w");
  // Zero with m = 0 prints no digits at all: w blanks, and gfortran writes one blank for I0.0.
  if (value == 0 && m == 0) return std::string(static_cast<std::size_t>(w > 0 ? w : 1), ' ');

  const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
  std::array<char, 24> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude).ptr;
  const std::size_t count = static_cast<std::size_t>(end - digits.data());
  const std::size_t zeros =
      static_cast<std::size_t>(m) > count ? static_cast<std::size_t>(m) - count : 0;
  const std::size_t length = (value < 0 ? 1 : 0) + zeros + count;
  if (w > 0 && length > static_cast<std::size_t>(w)) return asterisks(w);

  std::string body(zeros, '0');
  body.append(digits.data(), count);
  return rightJustified(value < 0 ? "-" : "", body, w);
}

std::string F(double value, int w, int d) {
  requireNonNegative(w, "width in F");
  requireNonNegative(d, "decimals in F");
  if (!std::isfinite(value)) return nonFinite(value, w);

  // The sign follows the sign bit: -0.0 and negatives that round to zero print "-0.00".
  const std::string_view sign = std::signbit(value) ? "-" : "";
  const double magnitude = std::fabs(value);
  // At least w + 1 integer digits cannot fit; saves printing hundreds of digits for 1e300.
  if (w > 0 && static_cast<std::size_t>(w) < kExactPowersOfTen.size() &&
      magnitude >= kExactPowersOfTen[static_cast<std::size_t>(w)]) {
    return asterisks(w);
  }

  // "%.0f" has no point; Fortran always writes one.
  std::string body = formatted("%.*f", d, magnitude);
  if (d == 0) body.push_back('.');
  // The zero before the point of a value below 1 is optional when there are decimals: written
  // when the field has room, dropped when it is too narrow and in the minimal-width form F0.d.
  // With d = 0 it is the only digit and stays.
  if (d > 0 && body[0] == '0') {
    const bool fits = w > 0 && sign.size() + body.size() <= static_cast<std::size_t>(w);
    if (!fits) body.erase(0, 1);
  }
  if (w > 0 && sign.size() + body.size() > static_cast<std::size_t>(w)) return asterisks(w);
  return rightJustified(sign, body, w);
}

std::string E(double value, int w, int d) {
  if (w <= 0) throw std::invalid_argument("fortran format: width in E must be positive");
  requireNonNegative(d, "decimals in E");
  if (!std::isfinite(value)) return nonFinite(value, w);

  const std::string_view sign = std::signbit(value) ? "-" : "";
  // "%.*e" gives d.ddde+XX with one digit before the point, as the 1P scale factor asks, and
  // carries a rounded-up mantissa into the exponent (9.9996 at 3 decimals is 1.000e+01).
  const std::string printed = formatted("%.*e", d, std::fabs(value));
  const std::size_t e = printed.find('e');
  std::string body = printed.substr(0, e);
  if (d == 0) body.push_back('.');

  int exponent = 0;
  const char* first = printed.data() + e + 1;
  if (*first == '+') ++first;
  std::from_chars(first, printed.data() + printed.size(), exponent);
  const unsigned int exponentMagnitude =
      static_cast<unsigned int>(exponent < 0 ? -exponent : exponent);
  // Two exponent digits after the letter E up to 99; three digits, without the letter, beyond.
  std::array<char, 8> tail{};
  const int tailLength = exponentMagnitude <= 99
                             ? std::snprintf(tail.data(), tail.size(), "E%c%02u",
                                             exponent < 0 ? '-' : '+', exponentMagnitude)
                             : std::snprintf(tail.data(), tail.size(), "%c%03u",
                                             exponent < 0 ? '-' : '+', exponentMagnitude);
  body.append(tail.data(), static_cast<std::size_t>(tailLength));

  if (sign.size() + body.size() > static_cast<std::size_t>(w)) return asterisks(w);
  return rightJustified(sign, body, w);
}

std::string A(std::string_view text, int w) {
  requireNonNegative(w, "width in A");
  const std::size_t width = static_cast<std::size_t>(w);
  if (text.size() >= width) return std::string(text.substr(0, width));
  std::string field(width - text.size(), ' ');
  field.append(text);
  return field;
}

std::string X(int n) {
  requireNonNegative(n, "count in X");
  return std::string(static_cast<std::size_t>(n), ' ');
}

std::string significant(double value, int w, int n) {
  if (w <= 0) throw std::invalid_argument("fortran format: width of a significant real");
  requireNonNegative(n, "significant digits");
  const double magnitude = std::fabs(value);
  if (value == 0.0 || magnitude < 1.0e-50) return F(0.0, w, n);
  // The range limits are single-precision powers of ten compared with the double magnitude.
  // NaN takes the scientific branch too (it prints "NaN" either way), before log10 and the
  // integer conversion, which is undefined for NaN.
  if (std::isnan(value) || magnitude <= static_cast<double>(singlePowerOfTen(1 - n)) ||
      magnitude >= static_cast<double>(singlePowerOfTen(n))) {
    return E(value, w, n);
  }
  // Decade of the value: log10 truncated toward zero (Fortran INT), one lower when that
  // truncated value is negative. 0.05 gives -2, 0.5 gives 0, 12.5 gives 1.
  int decade = static_cast<int>(std::log10(magnitude));
  if (decade < 0) decade -= 1;
  const int decimals = n - decade;
  // Guarded by the range test above (decimals >= 0 there); the check keeps F's argument valid.
  if (decimals > n + 2 || decimals < 0) return E(value, w, n);
  return F(value, w, decimals);
}

}  // namespace korden::fmt

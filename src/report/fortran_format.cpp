// Fortran edit descriptors as gfortran (libgfortran, default rounding mode) writes them.
//
// libgfortran leaves the rounding of F and E fields to the C library's printf, which rounds the
// exact binary value correctly to nearest, ties to even (0.125 in F5.2 is " 0.12", 2.5 in F4.0 is
// "  2."). std::to_chars with a precision rounds the exact value the same way and gives the same
// digits as "%.*f" and "%.*e", without a format string, a locale or a stream; this module takes
// the digits from it and only lays them out: sign, optional leading zero, exponent form, width
// and asterisks.
#include "report/fortran_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "engine/decimal_tables.h"

namespace korden::fmt {
namespace {

void requireNonNegative(int n, const char* what) {
  if (n < 0) throw std::invalid_argument(std::string("fortran format: negative ") + what);
}

void asterisks(std::string& out, int w) { out.append(static_cast<std::size_t>(w), '*'); }

// Blanks that right-justify a body of `length` characters (already known to fit) in w columns;
// none for w == 0, the minimal width.
void leadingBlanks(std::string& out, std::size_t length, int w) {
  if (w > 0) out.append(static_cast<std::size_t>(w) - length, ' ');
}

// Infinity and NaN as gfortran writes them in F and E fields: "Infinity" when it fits, else
// "Inf"; a minus sign for negative infinity only; NaN never signed; asterisks below 3 columns
// (4 for "-Inf").
void nonFinite(std::string& out, double value, int w) {
  std::string_view body;
  const bool negative = !std::isnan(value) && std::signbit(value);
  if (std::isnan(value)) {
    if (w > 0 && w < 3) return asterisks(out, w);
    body = "NaN";
  } else {
    const int room = w - (negative ? 1 : 0);
    if (w == 0 || (room >= 3 && room < 8)) {
      body = "Inf";
    } else if (room >= 8) {
      body = "Infinity";
    } else {
      return asterisks(out, w);
    }
  }
  leadingBlanks(out, body.size() + (negative ? 1 : 0), w);
  if (negative) out += '-';
  out.append(body);
}

// 10^n for 0 <= n <= 22, exact in double, and as integers up to 10^19.
constexpr const std::array<double, 23>& kTens = kExactPowersOfTen;
constexpr std::array<unsigned long long, 20> kIntegerTens = {1ULL,
                                                             10ULL,
                                                             100ULL,
                                                             1000ULL,
                                                             10000ULL,
                                                             100000ULL,
                                                             1000000ULL,
                                                             10000000ULL,
                                                             100000000ULL,
                                                             1000000000ULL,
                                                             10000000000ULL,
                                                             100000000000ULL,
                                                             1000000000000ULL,
                                                             10000000000000ULL,
                                                             100000000000000ULL,
                                                             1000000000000000ULL,
                                                             10000000000000000ULL,
                                                             100000000000000000ULL,
                                                             1000000000000000000ULL,
                                                             10000000000000000000ULL};

// The short path for the digits of the report's fields: |value| scaled by 10^s in one correctly
// rounded multiplication or division, so that the scaled value is within 2^-53 of its exact
// value relative to itself: below 1e10 that is within 1.2e-6 absolute. The scaled value is then
// rounded to the nearest integer, which is the exact value's nearest integer unless its
// fraction lies within the error of one half; that case, and scalings that are not a single
// exact power of ten, are left to std::to_chars (the second path). Returns false then.
//
// Largest scaled value of the short path, and how far from one half its fraction must be.
constexpr double kShortPathLimit = 1.0e10;
constexpr double kTieMargin = 4.0e-6;

// `scaled` rounded to the nearest integer, or false when the fraction is too close to one half.
bool roundScaled(double scaled, unsigned long long& rounded) {
  // The integer part by truncation, which is floor() for these non-negative values.
  // (signed: below 1e10 it fits, and the signed conversion is one instruction).
  const long long truncated = static_cast<long long>(scaled);
  const double fraction = scaled - static_cast<double>(truncated);  // exact below 2^52
  if (std::fabs(fraction - 0.5) <= kTieMargin) return false;
  rounded = static_cast<unsigned long long>(truncated) + (fraction > 0.5 ? 1U : 0U);
  return true;
}

double scaledByTen(double magnitude, int s) {
  return s >= 0 ? magnitude * kTens[static_cast<std::size_t>(s)]
                : magnitude / kTens[static_cast<std::size_t>(-s)];
}


// "%.*f" of the magnitude, as std::to_chars writes it; false when the short path does not apply.
bool shortFixed(double magnitude, int decimals, char* out, std::size_t& length) {
  if (decimals >= static_cast<int>(kIntegerTens.size())) return false;
  const double scaled = magnitude * kTens[static_cast<std::size_t>(decimals)];
  unsigned long long rounded = 0;
  if (!(scaled < kShortPathLimit) || !roundScaled(scaled, rounded)) return false;
  const unsigned long long unit = kIntegerTens[static_cast<std::size_t>(decimals)];
  char* end = std::to_chars(out, out + 24, rounded / unit).ptr;
  if (decimals > 0) {
    *end++ = '.';
    end = writeDigits(end, rounded % unit, decimals);
  }
  length = static_cast<std::size_t>(end - out);
  return true;
}

// |value| = rounded 10^(exponent - decimals) to decimals + 1 significant digits (rounded has
// exactly decimals + 1 digits; 0 for zero); false when the short path does not apply.
inline bool scientificDigits(double magnitude, int decimals, unsigned long long& rounded,
                             int& exponent) {
  // Decimals + 1 significant digits stay below 1e10.
  if (decimals > 8) return false;
  rounded = 0;
  exponent = 0;
  if (magnitude == 0.0) return true;
  if (!(magnitude > 1.0e-300 && magnitude < 1.0e300)) return false;
  // The decade, corrected by the scaled value: it must have decimals + 1 digits.
  exponent = decadeEstimate(magnitude);
  const double low = kTens[static_cast<std::size_t>(decimals)];
  const double high = kTens[static_cast<std::size_t>(decimals) + 1];
  double scaled = 0.0;
  for (int attempt = 0;; ++attempt) {
    const int s = decimals - exponent;
    if (s > 22 || s < -22 || attempt == 3) return false;
    scaled = scaledByTen(magnitude, s);
    if (scaled < low) {
      --exponent;
    } else if (scaled >= high) {
      ++exponent;
    } else {
      break;
    }
  }
  if (!roundScaled(scaled, rounded)) return false;
  // 9.9996 at 3 decimals is 1.000e+01: the rounding carries into the exponent.
  if (rounded == kIntegerTens[static_cast<std::size_t>(decimals) + 1]) {
    rounded /= 10U;
    ++exponent;
  }
  return true;
}

// "%.*e" of the magnitude, as std::to_chars writes it; false when the short path does not apply.
bool shortScientific(double magnitude, int decimals, char* out, std::size_t& length) {
  unsigned long long rounded = 0;
  int exponent = 0;
  if (!scientificDigits(magnitude, decimals, rounded, exponent)) return false;
  char* end = out;
  const unsigned long long unit = kIntegerTens[static_cast<std::size_t>(decimals)];
  *end++ = static_cast<char>('0' + rounded / unit);
  if (decimals > 0) {
    *end++ = '.';
    end = writeDigits(end, rounded % unit, decimals);
  }
  *end++ = 'e';
  *end++ = exponent < 0 ? '-' : '+';
  end = writeDigits(end, static_cast<unsigned long long>(exponent < 0 ? -exponent : exponent), 2);
  length = static_cast<std::size_t>(end - out);
  return true;
}

// The whole 1P,Ew.d field of a finite value by the short path, appended to `out` at once: the
// report's E fields (at most 8 decimals, exponents of two digits, at most 40 columns). False when
// the short path does not apply.
constexpr int kWidestShortE = 40;
bool shortE(std::string& out, double value, int w, int d) {
  unsigned long long rounded = 0;
  int exponent = 0;
  if (w > kWidestShortE || !scientificDigits(std::fabs(value), d, rounded, exponent)) return false;
  const bool negative = std::signbit(value);
  // sign, digit, point, decimals, E, exponent sign, two exponent digits
  const int length = (negative ? 1 : 0) + 2 + d + 4;
  if (length > w) {
    asterisks(out, w);
    return true;
  }
  // The field is laid out in place at the end of `out`: built in a stack buffer and copied, its
  // bytes would be read back as words just after they were stored one by one, which the
  // processor cannot forward (a stall of about a dozen cycles per word).
  const std::size_t start = out.size();
  out.append(static_cast<std::size_t>(w), ' ');
  char* at = out.data() + start + (w - length);
  if (negative) *at++ = '-';
  // The d + 1 digits one column on, then the first of them moved before the point.
  writeDigits(at + 1, static_cast<std::uint32_t>(rounded), d + 1);  // d + 1 <= 9 digits
  at[0] = at[1];
  at[1] = '.';
  at += d + 2;
  *at++ = 'E';
  *at++ = exponent < 0 ? '-' : '+';
  writeDigits(at, static_cast<unsigned>(exponent < 0 ? -exponent : exponent), 2);
  return true;
}

// The digits of |value| in the fixed ("%.*f") or scientific ("%.*e") form with `precision`
// digits after the point: by the short path when it applies, else from std::to_chars. A stack
// buffer holds every field of the reports; the digits of an F field of 1e300 or of a long
// precision go to the heap.
class Digits {
 public:
  Digits(double magnitude, std::chars_format form, int precision) {
    std::size_t length = 0;
    const bool shortPath = form == std::chars_format::fixed
                               ? shortFixed(magnitude, precision, local_.data(), length)
                               : shortScientific(magnitude, precision, local_.data(), length);
    if (shortPath) {
      text_ = std::string_view(local_.data(), length);
      return;
    }
    auto result =
        std::to_chars(local_.data(), local_.data() + local_.size(), magnitude, form, precision);
    if (result.ec == std::errc()) {
      text_ = std::string_view(local_.data(), static_cast<std::size_t>(result.ptr - local_.data()));
      return;
    }
    // At most 309 integer digits, a point and the decimals, and an exponent of five characters.
    heap_.resize(static_cast<std::size_t>(precision) + 320);
    result = std::to_chars(heap_.data(), heap_.data() + heap_.size(), magnitude, form, precision);
    if (result.ec != std::errc()) throw std::runtime_error("fortran format: digits do not fit");
    text_ = std::string_view(heap_.data(), static_cast<std::size_t>(result.ptr - heap_.data()));
  }
  std::string_view text() const { return text_; }

 private:
  std::array<char, 128> local_;
  std::vector<char> heap_;
  std::string_view text_;
};

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

template <typename... Args>
std::string field(void (*append)(std::string&, Args...), Args... args) {
  std::string out;
  append(out, args...);
  return out;
}

}  // namespace

void appendI(std::string& out, long long value, int w) { appendI(out, value, w, 1); }

void appendI(std::string& out, long long value, int w, int m) {
  requireNonNegative(w, "width in I");
  requireNonNegative(m, "minimum digits in I");
  if (w > 0 && m > w) throw std::invalid_argument("fortran format: Iw.m with m > w");
  // Zero with m = 0 prints no digits at all: w blanks, and gfortran writes one blank for I0.0.
  if (value == 0 && m == 0) {
    out.append(static_cast<std::size_t>(w > 0 ? w : 1), ' ');
    return;
  }

  const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
  std::array<char, 24> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude).ptr;
  const std::size_t count = static_cast<std::size_t>(end - digits.data());
  const std::size_t zeros =
      static_cast<std::size_t>(m) > count ? static_cast<std::size_t>(m) - count : 0;
  const std::size_t length = (value < 0 ? 1 : 0) + zeros + count;
  if (w > 0 && length > static_cast<std::size_t>(w)) return asterisks(out, w);

  leadingBlanks(out, length, w);
  if (value < 0) out += '-';
  out.append(zeros, '0');
  out.append(digits.data(), count);
}

void appendF(std::string& out, double value, int w, int d) {
  requireNonNegative(w, "width in F");
  requireNonNegative(d, "decimals in F");
  if (!std::isfinite(value)) return nonFinite(out, value, w);

  // The sign follows the sign bit: -0.0 and negatives that round to zero print "-0.00".
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  // At least w + 1 integer digits cannot fit; saves printing hundreds of digits for 1e300.
  if (w > 0 && static_cast<std::size_t>(w) < kExactPowersOfTen.size() &&
      magnitude >= kExactPowersOfTen[static_cast<std::size_t>(w)]) {
    return asterisks(out, w);
  }

  const Digits digits(magnitude, std::chars_format::fixed, d);
  std::string_view body = digits.text();
  // "%.0f" has no point; Fortran always writes one.
  std::size_t length = (negative ? 1 : 0) + body.size() + (d == 0 ? 1 : 0);
  // The zero before the point of a value below 1 is optional when there are decimals: written
  // when the field has room, dropped when it is too narrow and in the minimal-width form F0.d.
  // With d = 0 it is the only digit and stays.
  if (d > 0 && body[0] == '0') {
    const bool fits = w > 0 && length <= static_cast<std::size_t>(w);
    if (!fits) {
      body.remove_prefix(1);
      --length;
    }
  }
  if (w > 0 && length > static_cast<std::size_t>(w)) return asterisks(out, w);
  leadingBlanks(out, length, w);
  if (negative) out += '-';
  out.append(body);
  if (d == 0) out += '.';
}

void appendE(std::string& out, double value, int w, int d) {
  if (w <= 0) throw std::invalid_argument("fortran format: width in E must be positive");
  if (d < 0) requireNonNegative(d, "decimals in E");
  // The short path takes finite values only (infinities and NaN fail its range test).
  if (shortE(out, value, w, d)) return;
  if (!std::isfinite(value)) return nonFinite(out, value, w);

  const bool negative = std::signbit(value);
  // The scientific form is d.ddde+XX with one digit before the point, as the 1P scale factor
  // asks, and carries a rounded-up mantissa into the exponent (9.9996 at 3 decimals is 1.000e+01).
  const Digits digits(std::fabs(value), std::chars_format::scientific, d);
  const std::string_view printed = digits.text();
  // One digit, then the point and d decimals when d > 0, then the letter e.
  const std::size_t e = d == 0 ? 1 : static_cast<std::size_t>(d) + 2;
  const std::string_view mantissa = printed.substr(0, e);

  const char exponentSign = printed[e + 1];
  const std::string_view exponentDigits = printed.substr(e + 2);
  unsigned int exponent = 0;
  for (const char c : exponentDigits)
    exponent = 10U * exponent + static_cast<unsigned int>(c - '0');
  // Two exponent digits after the letter E up to 99; three digits, without the letter, beyond.
  std::array<char, 5> tail{};
  std::size_t tailLength = 0;
  if (exponent <= 99) tail[tailLength++] = 'E';
  tail[tailLength++] = exponentSign;
  if (exponent > 99) tail[tailLength++] = static_cast<char>('0' + exponent / 100U);
  tail[tailLength++] = static_cast<char>('0' + exponent / 10U % 10U);
  tail[tailLength++] = static_cast<char>('0' + exponent % 10U);

  const std::size_t length = (negative ? 1 : 0) + mantissa.size() + (d == 0 ? 1 : 0) + tailLength;
  if (length > static_cast<std::size_t>(w)) return asterisks(out, w);
  leadingBlanks(out, length, w);
  if (negative) out += '-';
  out.append(mantissa);
  if (d == 0) out += '.';
  out.append(tail.data(), tailLength);
}

void appendA(std::string& out, std::string_view text, int w) {
  requireNonNegative(w, "width in A");
  const std::size_t width = static_cast<std::size_t>(w);
  if (text.size() >= width) {
    out.append(text.substr(0, width));
    return;
  }
  out.append(width - text.size(), ' ');
  out.append(text);
}

void appendX(std::string& out, int n) {
  requireNonNegative(n, "count in X");
  out.append(static_cast<std::size_t>(n), ' ');
}

void appendSignificant(std::string& out, double value, int w, int n) {
  if (w <= 0) throw std::invalid_argument("fortran format: width of a significant real");
  requireNonNegative(n, "significant digits");
  const double magnitude = std::fabs(value);
  if (value == 0.0 || magnitude < 1.0e-50) return appendF(out, 0.0, w, n);
  // The range limits are single-precision powers of ten compared with the double magnitude.
  // NaN takes the scientific branch too (it prints "NaN" either way), before log10 and the
  // integer conversion, which is undefined for NaN.
  if (std::isnan(value) || magnitude <= static_cast<double>(singlePowerOfTen(1 - n)) ||
      magnitude >= static_cast<double>(singlePowerOfTen(n))) {
    return appendE(out, value, w, n);
  }
  // Decade of the value: log10 truncated toward zero (Fortran INT), one lower when that
  // truncated value is negative. 0.05 gives -2, 0.5 gives 0, 12.5 gives 1.
  int decade = static_cast<int>(std::log10(magnitude));
  if (decade < 0) decade -= 1;
  const int decimals = n - decade;
  // Guarded by the range test above (decimals >= 0 there); the check keeps F's argument valid.
  if (decimals > n + 2 || decimals < 0) return appendE(out, value, w, n);
  appendF(out, value, w, decimals);
}

std::string I(long long value, int w) { return field<long long, int, int>(appendI, value, w, 1); }
std::string I(long long value, int w, int m) {
  return field<long long, int, int>(appendI, value, w, m);
}
std::string F(double value, int w, int d) { return field<double, int, int>(appendF, value, w, d); }
std::string E(double value, int w, int d) { return field<double, int, int>(appendE, value, w, d); }
std::string A(std::string_view text, int w) {
  return field<std::string_view, int>(appendA, text, w);
}
std::string X(int n) { return field<int>(appendX, n); }
std::string significant(double value, int w, int n) {
  return field<double, int, int>(appendSignificant, value, w, n);
}

}  // namespace korden::fmt

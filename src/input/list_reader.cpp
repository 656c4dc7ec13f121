#include "input/list_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <system_error>

#include "engine/decimal_tables.h"

namespace korden {

namespace {

// Characters by what they do between values: blanks separate them, a comma or a slash ends one.
enum : unsigned char { kOther = 0, kBlank = 1, kEndsValue = 2 };
constexpr std::array<unsigned char, 256> kCharClass = [] {
  std::array<unsigned char, 256> table{};
  for (const char c : {' ', '\t', '\r', '\f', '\v'}) table[static_cast<unsigned char>(c)] = kBlank;
  table[static_cast<unsigned char>(',')] = kEndsValue;
  table[static_cast<unsigned char>('/')] = kEndsValue;
  return table;
}();
unsigned char charClass(char c) { return kCharClass[static_cast<unsigned char>(c)]; }

std::string shown(std::string_view text) {
  std::string s(text.substr(0, 40));
  if (text.size() > 40) s += "...";
  return s;
}

// The common field, [sign] digits [. digits] with at most 15 digits after the leading zeros and
// no exponent, read as its digits m (an exact integer below 2^53) divided by 10^k (exact for
// k <= 22): one correctly rounded division of exact values, so the double nearest the decimal,
// the one std::from_chars gives (Clinger's fast path). False for every other form, which the
// full reading below takes.
bool parsePlainDecimal(std::string_view text, double& value) {
  size_t i = 0;
  const size_t n = text.size();
  bool negative = false;
  if (n > 0 && text[0] == '-') {
    negative = true;
    i = 1;
  }
  unsigned long long digits = 0;
  int significant = 0;  // digits from the first non-zero one
  int decimals = 0;
  const size_t firstDigit = i;
  size_t point = n;  // where the point stands, n for none
  for (; i < n; ++i) {
    const unsigned d = static_cast<unsigned char>(text[i]) - static_cast<unsigned>('0');
    if (d <= 9U) {
      digits = digits * 10U + d;
      significant += digits != 0U ? 1 : 0;
      if (significant > 15) return false;
    } else if (text[i] == '.' && point == n) {
      point = i;
    } else {
      return false;
    }
  }
  const size_t written = n - firstDigit - (point == n ? 0U : 1U);  // digits written
  if (written == 0) return false;
  if (point != n) decimals = static_cast<int>(n - point - 1);
  if (decimals > 22) return false;
  const double magnitude =
      static_cast<double>(digits) / kExactPowersOfTen[static_cast<size_t>(decimals)];
  value = negative ? -magnitude : magnitude;
  return true;
}

// The syntax of a Fortran real field (1.5, .5, 5., 1.5E3, 1.5D-3, 1.5+3); the value may be
// infinite when the exponent is beyond the range of a double.
//
// The field is checked here; std::from_chars reads it as it stands when it has neither a plus
// sign before the mantissa nor an exponent written other than with the letter e (or E), and
// otherwise a copy rewritten in that form. from_chars gives the correctly rounded double, as
// strtod does, without a locale or a copy on the heap for a field of ordinary length.
// The plain decimals of most fields take the short path first.
bool parseRealForm(std::string_view text, double& value) {
  if (parsePlainDecimal(text, value)) return true;
  // mantissa: [sign] digits [. digits] | [sign] . digits ; exponent: letter [sign] digits | sign
  // digits
  size_t i = 0;
  const size_t n = text.size();
  const bool plusSign = n > 0 && text[0] == '+';
  if (n > 0 && (text[0] == '+' || text[0] == '-')) ++i;
  const auto isDigit = [&](size_t k) { return k < n && text[k] >= '0' && text[k] <= '9'; };
  size_t digits = 0;
  for (; isDigit(i); ++i) ++digits;
  if (i < n && text[i] == '.') {
    for (++i; isDigit(i); ++i) ++digits;
  }
  if (digits == 0) return false;
  // Where the exponent begins (its letter, or its sign when it has no letter), or n.
  const size_t exponentStart = i;
  if (i < n) {
    const char c = text[i];
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q') {
      ++i;
    } else if (c != '+' && c != '-') {
      return false;
    }
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t expDigits = 0;
    for (; isDigit(i); ++i) ++expDigits;
    if (expDigits == 0 || i != n) return false;
  }
  const bool letterE =
      exponentStart == n || text[exponentStart] == 'e' || text[exponentStart] == 'E';

  std::array<char, 64> local;
  std::string longField;
  const char* first = text.data();
  size_t length = n;
  if (plusSign || !letterE) {
    // One character more than the field: a sign exponent (1.5+3) gains its letter.
    char* normal = local.data();
    if (n + 1 > local.size()) {
      longField.resize(n + 1);
      normal = longField.data();
    }
    const size_t from = plusSign ? 1 : 0;
    length = 0;
    for (size_t k = from; k < exponentStart; ++k) normal[length++] = text[k];
    if (exponentStart < n) {
      normal[length++] = 'e';
      const size_t rest = text[exponentStart] == '+' || text[exponentStart] == '-'
                              ? exponentStart
                              : exponentStart + 1;
      for (size_t k = rest; k < n; ++k) normal[length++] = text[k];
    }
    first = normal;
  }
  double parsed = 0.0;
  const auto [end, error] = std::from_chars(first, first + length, parsed);
  if (error == std::errc::result_out_of_range) {
    // Beyond the range of a double: from_chars leaves the value unset, strtod gives the infinity
    // or the underflowed value (zero or subnormal) that the checks after the reading expect.
    const std::string terminated(first, length);
    parsed = std::strtod(terminated.c_str(), nullptr);
  } else if (error != std::errc() || end != first + length) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace

int InputFile::lineNumber(size_t index) {
  constexpr size_t kLargest = static_cast<size_t>(std::numeric_limits<int>::max());
  return index >= kLargest ? std::numeric_limits<int>::max() : static_cast<int>(index + 1);
}

std::string_view InputFile::lineAt(size_t start, size_t& following) const {
  const std::string_view all(text_);
  size_t end = all.find('\n', start);
  if (end == std::string_view::npos) end = all.size();
  following = end < all.size() ? end + 1 : all.size();
  std::string_view line = all.substr(start, end - start);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

InputFile InputFile::fromPath(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  InputFile file;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0 && in) file.text_.reserve(static_cast<size_t>(size));
  in.clear();
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    file.text_.append(buffer, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return file;
}

bool InputFile::tryReadLine(std::string& line) {
  if (atEnd()) return false;
  line = lineAt(pos_, pos_);
  ++next_;
  return true;
}

bool InputFile::tryReadText(int width, std::string& text) {
  if (!tryReadLine(text)) return false;
  const size_t w = static_cast<size_t>(width < 0 ? 0 : width);
  if (text.size() > w) text.resize(w);
  text.resize(w, ' ');
  return true;
}

std::string InputFile::readText(int width, std::string_view what) {
  std::string text;
  if (!tryReadText(width, text)) {
    throw InputError(nextLineNumber(),
                     "END OF THE INPUT DATA FILE AT LINE " + std::to_string(nextLineNumber()) +
                         " WHILE READING " + std::string(what),
                     std::string(what), 0);
  }
  if (observer_ != nullptr) {
    TracedRecord record;
    record.name = std::string(what);
    record.firstLine = record.lastLine = nextLineNumber() - 1;
    record.isText = true;
    record.text = text;
    record.lastLineText = text;
    observer_->recordRead(record);
  }
  return text;
}

ListStatement InputFile::statement(std::string_view what) { return ListStatement(*this, what); }
ListStatement InputFile::statement(const RecordName& what) { return ListStatement(*this, what); }

std::string RecordName::text() const {
  std::string whole(head);
  whole += std::to_string(number);
  whole += tail;
  return whole;
}

ListStatement::ListStatement(InputFile& file, std::string_view what)
    : file_(file), what_(what), whatKnown_(true), line_(file.next_) {
  startTrace();
}

ListStatement::ListStatement(InputFile& file, const RecordName& what)
    : file_(file), name_(what), line_(file.next_) {
  startTrace();
}

void ListStatement::startTrace() {
  if (file_.observer_ == nullptr) return;
  tracedStore_ = std::make_unique<TracedRecord>();
  traced_ = tracedStore_.get();
  traced_->name = what();
}

const std::string& ListStatement::what() {
  if (!whatKnown_) {
    what_ = name_.text();
    whatKnown_ = true;
  }
  return what_;
}

ListStatement::~ListStatement() {
  if (!finished_) {
    // Never throws: moves the position and reports the record to the observer.
    finish();
  }
}

void ListStatement::finish() {
  if (finished_) return;
  finished_ = true;
  if (touched_) {
    file_.next_ = line_ + 1;
    file_.pos_ = lineNext_;
  }
  // A statement that failed is not reported: its error is. finish() runs in the destructor,
  // which may not throw: a record that cannot be reported (out of memory) is left out, and the
  // reading goes on.
  if (traced_ != nullptr && touched_ && !failed_) {
    try {
      traced_->lastLine = InputFile::lineNumber(line_);
      traced_->lastLineText = std::string(text_);
      const size_t restStart = column_ < text_.size() ? column_ : text_.size();
      traced_->rest = std::string(text_.substr(restStart));
      traced_->restColumn = static_cast<int>(restStart);
      file_.observer_->recordRead(*traced_);
    } catch (...) {
    }
  }
}

void ListStatement::trace(const Item& item, TracedValue::Type type, double number) {
  TracedValue v;
  v.kind = item.kind == Kind::Value  ? TracedValue::Kind::Value
           : item.kind == Kind::Null ? TracedValue::Kind::Null
                                     : TracedValue::Kind::Slash;
  v.type = type;
  v.line = item.line;
  v.column = item.column;
  v.text = item.text;
  v.number = number;
  traced_->values.push_back(std::move(v));
}

void ListStatement::enterLine(size_t start) {
  text_ = file_.lineAt(start, lineNext_);
  column_ = 0;
}

bool ListStatement::advanceLine() {
  if (lineNext_ >= file_.text_.size()) return false;
  ++line_;
  enterLine(lineNext_);
  return true;
}

void ListStatement::fail(int line, std::string_view expected, std::string_view found) {
  failed_ = true;
  std::string message = "INPUT ERROR AT LINE " + std::to_string(line) +
                        " OF THE INPUT DATA FILE: " + what() + ", VALUE " +
                        std::to_string(itemIndex_) + ": EXPECTED " + std::string(expected);
  if (found.empty()) {
    message += ", FOUND THE END OF THE FILE";
  } else {
    message += ", FOUND '" + shown(found) + "'";
  }
  throw InputError(line, message, what(), itemIndex_);
}

ListStatement::Item ListStatement::next(std::string_view expected) {
  ++itemIndex_;
  if (ended_) return {Kind::Slash, {}, InputFile::lineNumber(line_)};
  if (repeatLeft_ > 0) {
    --repeatLeft_;
    return repeatItem_;
  }
  if (!touched_) {
    if (file_.atEnd()) fail(file_.nextLineNumber(), expected, "");
    touched_ = true;
    line_ = file_.next_;
    enterLine(file_.pos_);
    if (traced_ != nullptr) traced_->firstLine = InputFile::lineNumber(line_);
  }
  for (;;) {
    const std::string_view text = text_;
    size_t column = column_;
    while (column < text.size() && charClass(text[column]) == kBlank) ++column;
    column_ = column;
    if (column_ >= text.size()) {
      // The end of the file is reported on the line after the last one.
      if (!advanceLine()) fail(InputFile::lineNumber(line_ + 1), expected, "");
      continue;
    }
    const int lineNumber = InputFile::lineNumber(line_);
    char c = text[column_];
    if (c == ',') {
      ++column_;
      if (expectingValue_) return {Kind::Null, {}, lineNumber};
      expectingValue_ = true;
      continue;
    }
    if (c == '/') {
      ended_ = true;
      return {Kind::Slash, {}, lineNumber};
    }
    const int start = static_cast<int>(column_);
    if (c == '\'' || c == '"') {
      // A quoted text: a view of the line unless a doubled quote stands in it for one quote.
      const char quote = c;
      ++column_;
      const size_t first = column_;
      bool closed = false;
      bool doubled = false;
      while (column_ < text.size()) {
        if (text[column_] == quote) {
          if (column_ + 1 < text.size() && text[column_ + 1] == quote) {
            doubled = true;
            column_ += 2;
            continue;
          }
          closed = true;
          break;
        }
        ++column_;
      }
      std::string_view token = text.substr(first, column_ - first);
      if (doubled) {
        quoted_.clear();
        for (size_t k = 0; k < token.size(); ++k) {
          quoted_ += token[k];
          if (token[k] == quote) ++k;  // the second of a doubled quote
        }
        token = quoted_;
      }
      if (!closed) fail(lineNumber, expected, std::string(1, quote) + std::string(token));
      ++column_;  // past the closing quote
      expectingValue_ = false;
      return {Kind::Value, token, lineNumber, start};
    }
    // A number or an unquoted text: up to the next blank, comma or slash.
    size_t end = column_;
    while (end < text.size() && charClass(text[end]) == kOther) ++end;
    column_ = end;
    const std::string_view token =
        text.substr(static_cast<size_t>(start), end - static_cast<size_t>(start));
    const size_t star = token.find('*');
    expectingValue_ = false;
    if (star != std::string_view::npos) {
      int count = 0;
      if (!parseFortranInteger(token.substr(0, star), count) || count <= 0 || token[0] == '+' ||
          token[0] == '-') {
        fail(lineNumber, std::string(expected) + " (A REPEAT COUNT r*value)", token);
      }
      const std::string_view rest = token.substr(star + 1);
      repeatItem_ = rest.empty() ? Item{Kind::Null, {}, lineNumber, start}
                                 : Item{Kind::Value, rest, lineNumber, start};
      repeatLeft_ = count - 1;
      return repeatItem_;
    }
    return {Kind::Value, token, lineNumber, start};
  }
}

ListStatement& ListStatement::integer(int& target) {
  static constexpr std::string_view kExpected = "AN INTEGER";
  Item item = next(kExpected);
  if (item.kind == Kind::Value) {
    int value = 0;
    if (!parseFortranInteger(item.text, value)) fail(item.line, kExpected, item.text);
    target = value;
  }
  if (traced_ != nullptr) trace(item, TracedValue::Type::Integer, target);
  return *this;
}

ListStatement& ListStatement::real(double& target) {
  static constexpr std::string_view kExpected = "A REAL NUMBER";
  Item item = next(kExpected);
  if (item.kind == Kind::Value) {
    double value = 0.0;
    if (!parseRealForm(item.text, value)) fail(item.line, kExpected, item.text);
    if (!(std::fabs(value) <= kMaxInputMagnitude)) {
      fail(item.line, "A REAL NUMBER OF MAGNITUDE AT MOST 1E+15", item.text);
    }
    target = value;
  }
  if (traced_ != nullptr) trace(item, TracedValue::Type::Real, target);
  return *this;
}

ListStatement& ListStatement::text(std::string& target) {
  Item item = next("A TEXT");
  if (item.kind == Kind::Value) target = std::string(item.text);
  if (traced_ != nullptr) {
    trace(item, TracedValue::Type::Text, 0.0);
    traced_->values.back().text = target;
  }
  return *this;
}

bool parseFortranInteger(std::string_view text, int& value) {
  if (text.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i >= text.size()) return false;
  long long magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > 2147483647LL) return false;
  value = static_cast<int>(signedValue);
  return true;
}

bool parseFortranReal(std::string_view text, double& value) {
  double parsed = 0.0;
  if (!parseRealForm(text, parsed) || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace korden

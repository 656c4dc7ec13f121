#include "input/list_reader.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace korden {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string shown(std::string_view text) {
  std::string s(text.substr(0, 40));
  if (text.size() > 40) s += "...";
  return s;
}

}  // namespace

InputFile::InputFile(std::string_view text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

InputFile InputFile::fromPath(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return InputFile(buffer.str());
}

bool InputFile::tryReadText(int width, std::string& text) {
  if (atEnd()) return false;
  text = lines_[next_++];
  if (static_cast<int>(text.size()) > width) text.resize(width);
  text.resize(width, ' ');
  return true;
}

std::string InputFile::readText(int width, std::string_view what) {
  std::string text;
  if (!tryReadText(width, text)) {
    throw InputError(nextLineNumber(), "END OF THE INPUT DATA FILE AT LINE " +
                                           std::to_string(nextLineNumber()) + " WHILE READING " +
                                           std::string(what));
  }
  return text;
}

ListStatement InputFile::statement(std::string_view what) { return ListStatement(*this, what); }

ListStatement::ListStatement(InputFile& file, std::string_view what)
    : file_(file), what_(what), line_(file.next_) {}

ListStatement::~ListStatement() {
  if (!finished_) {
    // Never throws: only moves the position.
    finish();
  }
}

void ListStatement::finish() {
  if (finished_) return;
  finished_ = true;
  if (touched_) file_.next_ = line_ + 1;
}

bool ListStatement::advanceLine() {
  if (line_ + 1 >= file_.lines_.size()) {
    line_ = file_.lines_.size();
    return false;
  }
  ++line_;
  column_ = 0;
  return true;
}

void ListStatement::fail(int line, std::string_view expected, std::string_view found) const {
  std::string message = "INPUT ERROR AT LINE " + std::to_string(line) +
                        " OF THE INPUT DATA FILE: " + what_ + ", VALUE " +
                        std::to_string(itemIndex_) + ": EXPECTED " + std::string(expected);
  if (found.empty()) {
    message += ", FOUND THE END OF THE FILE";
  } else {
    message += ", FOUND '" + shown(found) + "'";
  }
  throw InputError(line, message);
}

ListStatement::Item ListStatement::next(std::string_view expected) {
  ++itemIndex_;
  if (ended_) return {Kind::Slash, {}, static_cast<int>(line_) + 1};
  if (repeatLeft_ > 0) {
    --repeatLeft_;
    return repeatItem_;
  }
  const auto& lines = file_.lines_;
  if (!touched_) {
    touched_ = true;
    line_ = file_.next_;
    column_ = 0;
    if (line_ >= lines.size()) fail(static_cast<int>(line_) + 1, expected, "");
  }
  for (;;) {
    if (line_ >= lines.size()) fail(static_cast<int>(lines.size()) + 1, expected, "");
    const std::string& text = lines[line_];
    while (column_ < text.size() && isBlank(text[column_])) ++column_;
    if (column_ >= text.size()) {
      if (!advanceLine()) fail(static_cast<int>(lines.size()) + 1, expected, "");
      continue;
    }
    const int lineNumber = static_cast<int>(line_) + 1;
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
    std::string token;
    if (c == '\'' || c == '"') {
      const char quote = c;
      ++column_;
      bool closed = false;
      while (column_ < text.size()) {
        if (text[column_] == quote) {
          if (column_ + 1 < text.size() && text[column_ + 1] == quote) {
            token += quote;
            column_ += 2;
            continue;
          }
          ++column_;
          closed = true;
          break;
        }
        token += text[column_++];
      }
      if (!closed) fail(lineNumber, expected, std::string(1, quote) + token);
      expectingValue_ = false;
      return {Kind::Value, token, lineNumber};
    }
    while (column_ < text.size() && !isBlank(text[column_]) && text[column_] != ',' &&
           text[column_] != '/') {
      token += text[column_++];
    }
    expectingValue_ = false;
    const size_t star = token.find('*');
    if (star != std::string::npos) {
      int count = 0;
      if (!parseFortranInteger(std::string_view(token).substr(0, star), count) || count <= 0 ||
          token[0] == '+' || token[0] == '-') {
        fail(lineNumber, std::string(expected) + " (A REPEAT COUNT r*value)", token);
      }
      std::string rest = token.substr(star + 1);
      repeatItem_ =
          rest.empty() ? Item{Kind::Null, {}, lineNumber} : Item{Kind::Value, rest, lineNumber};
      repeatLeft_ = count - 1;
      return repeatItem_;
    }
    return {Kind::Value, token, lineNumber};
  }
}

ListStatement& ListStatement::integer(int& target) {
  static constexpr std::string_view kExpected = "AN INTEGER";
  Item item = next(kExpected);
  if (item.kind != Kind::Value) return *this;
  int value = 0;
  if (!parseFortranInteger(item.text, value)) fail(item.line, kExpected, item.text);
  target = value;
  return *this;
}

ListStatement& ListStatement::real(double& target) {
  static constexpr std::string_view kExpected = "A REAL NUMBER";
  Item item = next(kExpected);
  if (item.kind != Kind::Value) return *this;
  double value = 0.0;
  if (!parseFortranReal(item.text, value)) fail(item.line, kExpected, item.text);
  target = value;
  return *this;
}

ListStatement& ListStatement::text(std::string& target) {
  Item item = next("A TEXT");
  if (item.kind == Kind::Value) target = item.text;
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
  // mantissa: [sign] digits [. digits] | [sign] . digits ; exponent: letter [sign] digits | sign
  // digits
  std::string normal;
  size_t i = 0;
  const size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) normal += text[i++];
  size_t digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') {
    normal += text[i++];
    ++digits;
  }
  if (i < n && text[i] == '.') {
    normal += text[i++];
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      normal += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (i < n) {
    char c = text[i];
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q') {
      ++i;
    } else if (c != '+' && c != '-') {
      return false;
    }
    normal += 'e';
    if (i < n && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    size_t expDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      normal += text[i++];
      ++expDigits;
    }
    if (expDigits == 0 || i != n) return false;
  }
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(normal.c_str(), &end);
  if (end != normal.c_str() + normal.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace korden

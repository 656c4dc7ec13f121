// Reader of the input data file with the rules of list-directed input: values separated by
// blanks, commas or line ends; one read statement may take its values from several lines and
// discards the rest of the last line it touched; r*v repeats a value; r* and empty comma fields
// are null values that leave the target unchanged; / ends the statement early; D and d are
// accepted as exponent letters; quoted strings are accepted for text. Fixed text records are
// read as whole lines. Every error names the line, the record and what was expected.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korden {

// A read error or an early end of the input: the message names the line and what was expected.
class InputError : public std::runtime_error {
 public:
  InputError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  // A read error of one value of a list-directed record: the record and the 1-based position of
  // the value in it (0 for an error that is not about one value).
  InputError(int line, const std::string& message, std::string record, int valueIndex)
      : std::runtime_error(message),
        line_(line),
        record_(std::move(record)),
        valueIndex_(valueIndex) {}
  int line() const { return line_; }
  const std::string& record() const { return record_; }
  int valueIndex() const { return valueIndex_; }
  // The counts read just before the error, which decide where the records that follow begin: a
  // count that does not match its records is the usual cause of a read error further on.
  const std::string& countHint() const { return countHint_; }
  void setCountHint(std::string hint) { countHint_ = std::move(hint); }

 private:
  int line_;
  std::string record_;
  int valueIndex_ = 0;
  std::string countHint_;
};

// One value of a record as read: where it stood, what it was, and the value the field holds after
// it (a null value or a value after / leaves the field as it was).
struct TracedValue {
  enum class Kind { Value, Null, Slash };
  enum class Type { Integer, Real, Text };
  Kind kind = Kind::Value;
  Type type = Type::Real;
  int line = 0;
  int column = 0;  // 0-based column of the value's first character (0 for a null or slash)
  std::string text;    // the characters of the value as written
  double number = 0.0;  // the field's value after the read (integers and reals)
};

// A record as the reader took it: a list-directed record with its values, or a text record.
struct TracedRecord {
  std::string name;
  int firstLine = 0;
  int lastLine = 0;
  bool isText = false;
  std::vector<TracedValue> values;  // list-directed records
  std::string text;                 // text records: the text as kept
  // The part of the last line that the record left unread (a note), and its 0-based column.
  std::string rest;
  int restColumn = 0;
  // The whole last line.
  std::string lastLineText;
};

// Told of every record the reader takes, in order; the engine runs without one.
class ReadObserver {
 public:
  virtual ~ReadObserver() = default;
  virtual void recordRead(const TracedRecord& record) = 0;
};

class ListStatement;

// The name of a record as the error messages give it, HEAD NUMBER TAIL ("POINT 3 OF USER P-Y
// CURVE 2"), put together only when a message or an observer needs it: the rows of a table are
// read by the thousand. The texts are not copied; they must outlive the read statement.
struct RecordName {
  std::string_view head;
  int number = 0;
  std::string_view tail;
  std::string text() const;
};

// Largest magnitude of a real read from a list-directed record: beyond it no length, force or
// stiffness of a wall model means anything, and products of such values overflow.
inline constexpr double kMaxInputMagnitude = 1.0e15;

// The whole file is held as one text; lines are found on the way through it (the reading is
// sequential), so the memory is the size of the file.
class InputFile {
 public:
  InputFile() = default;
  explicit InputFile(std::string_view text) : text_(text) {}
  // Reads a whole file; throws std::runtime_error when it cannot be read.
  static InputFile fromPath(const std::string& path);

  // 1-based number of the next line to be read.
  int nextLineNumber() const { return lineNumber(next_); }
  bool atEnd() const { return pos_ >= text_.size(); }

  // A fixed text record of the given width: the whole next line cut or blank-padded.
  // `what` names the record for the error message at the end of the file.
  std::string readText(int width, std::string_view what);
  // Same, but returns false at the end of the file instead of throwing.
  bool tryReadText(int width, std::string& text);
  // The whole next line, however long; false at the end of the file.
  bool tryReadLine(std::string& line);

  // Starts one list-directed read statement for the record named by `what`.
  ListStatement statement(std::string_view what);
  ListStatement statement(const RecordName& what);

  // 1-based line number of a 0-based line index, held to the range of an int.
  static int lineNumber(size_t index);

  // Every record read from now on is reported to `observer` (nullptr: none).
  void setObserver(ReadObserver* observer) { observer_ = observer; }
  ReadObserver* observer() const { return observer_; }

 private:
  friend class ListStatement;
  // The line that starts at byte `start` (without its line end); `following` receives the start
  // of the next line.
  std::string_view lineAt(size_t start, size_t& following) const;
  std::string text_;
  size_t next_ = 0;  // index of the next line
  size_t pos_ = 0;   // byte offset of the next line
  ReadObserver* observer_ = nullptr;
};

// One list-directed read statement. Values are taken in order; when the statement ends (the
// object is finished or destroyed) the input moves past the last line the statement touched.
class ListStatement {
 public:
  ListStatement(InputFile& file, std::string_view what);
  ListStatement(InputFile& file, const RecordName& what);
  ~ListStatement();
  ListStatement(const ListStatement&) = delete;
  ListStatement& operator=(const ListStatement&) = delete;

  // Read the next value into target; a null value or a value after / leaves it unchanged.
  ListStatement& integer(int& target);
  // A real of magnitude above kMaxInputMagnitude (or beyond the range of a double) is an error.
  ListStatement& real(double& target);
  ListStatement& text(std::string& target);
  // Ends the statement: moves the input past the last line touched.
  void finish();

 private:
  enum class Kind { Value, Null, Slash };
  // A value as written: a view of the input text, or of quoted_ for a quoted text with doubled
  // quotes.
  struct Item {
    Kind kind;
    std::string_view text;
    int line;
    int column = 0;
  };
  Item next(std::string_view expected);
  // The record's name for messages and the observer.
  const std::string& what();
  [[noreturn]] void fail(int line, std::string_view expected, std::string_view found);
  void enterLine(size_t start);
  bool advanceLine();
  // With an observer: keeps the record's name, then each item read (trace(), called only when
  // traced_ is set) with the field's value after it.
  void startTrace();
  void trace(const Item& item, TracedValue::Type type, double number);

  InputFile& file_;
  RecordName name_;    // the name in parts, until what() puts it together
  std::string what_;   // the whole name, once known
  bool whatKnown_ = false;
  int itemIndex_ = 0;
  size_t line_;            // index of the line being read
  size_t lineNext_ = 0;    // byte offset of the line after it
  std::string_view text_;  // the line being read
  size_t column_ = 0;
  bool touched_ = false;
  bool expectingValue_ = true;
  bool ended_ = false;  // a slash was met
  bool finished_ = false;
  bool failed_ = false;
  int repeatLeft_ = 0;
  Item repeatItem_{Kind::Null, {}, 0};
  std::string quoted_;  // the last quoted text that had doubled quotes, undoubled
  TracedRecord* traced_ = nullptr;  // kept only when the file has an observer
  std::unique_ptr<TracedRecord> tracedStore_;
};

// Parses a Fortran integer field (optional sign and digits, 32-bit range); false when invalid.
bool parseFortranInteger(std::string_view text, int& value);
// Parses a Fortran real field (1.5, .5, 5., 1.5E3, 1.5D-3, 1.5+3); false when invalid or not
// finite.
bool parseFortranReal(std::string_view text, double& value);

}  // namespace korden

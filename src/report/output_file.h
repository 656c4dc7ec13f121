// A sequential text output file written record by record. A record is built with put() and
// ended with end(); line() writes a whole record. The file is flushed and closed by close() or
// by the destructor on every path.
//
// Every write, flush and close is checked: the first failure of a file (disk full, file size
// limit, I/O error) throws OutputWriteError; the file is then marked failed and takes no further
// text, so that the run can stop and say so without a second failure on the same file.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korden {

// The line end of every text file the engine writes: CR LF on Windows, as native Windows programs
// write formatted files and the host's readers expect; LF elsewhere.
#if defined(_WIN32)
inline constexpr std::string_view kLineEnd = "\r\n";
#else
inline constexpr std::string_view kLineEnd = "\n";
#endif

// An output file could not be written: names the file and the system's reason.
class OutputWriteError : public std::runtime_error {
 public:
  OutputWriteError(std::string label, std::string path, const std::string& reason);
  const std::string& label() const { return label_; }
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string label_, path_, reason_;
};

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the file or writes it over from its start. False when it cannot be opened. `label`
  // names the file in the message of a write failure ("output report", "pressure file", ...).
  bool open(const std::string& path, std::string_view label = "output file");
  bool isOpen() const { return file_ != nullptr; }
  bool failed() const { return failed_; }
  // Writes what is pending, flushes and closes; throws OutputWriteError when any of it fails.
  void close();

  // Appends text to the current record.
  OutputFile& put(std::string_view text) {
    pending_ += text;
    return *this;
  }
  // Ends the current record.
  void end();
  // Ends the current record after one blank: the report's line end of rows built field by field.
  void endWithBlank() {
    pending_ += ' ';
    end();
  }
  // Writes one whole record (any pending text first becomes part of it).
  void line(std::string_view text) {
    pending_ += text;
    end();
  }
  void blank(int count = 1) {
    for (int i = 0; i < count; ++i) line("");
  }
  void flush();

 private:
  [[noreturn]] void fail(int error);
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  std::string path_, label_;
  std::string pending_;
};

// True when the file at `path` can be opened for writing. An existing file is left as it is (it
// is opened for appending, never emptied); a file that did not exist is created and removed
// again. Used to learn that every output can be created before any of them is written over.
bool canCreateOutput(const std::string& path);

}  // namespace korden

// A sequential text output file written record by record. A record is built with put() and
// ended with end(); line() writes a whole record. The file is flushed and closed by close() or
// by the destructor on every path.
#pragma once

#include <cstdio>
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

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the file or writes it over from its start. False when it cannot be opened.
  bool open(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }
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
  std::FILE* file_ = nullptr;
  std::string pending_;
};

}  // namespace korden

// A sequential text output file written record by record. A record is built with put() and
// ended with end(); line() writes a whole record. The records are held in one buffer and written
// to the file in one piece when the buffer holds kBufferSize bytes (64 KiB), on flush() and on
// close(); a file that is destroyed without close() (a run that stops on an error) gets its whole
// records written first.
//
// Every write, flush and close is checked: the first failure of a file (disk full, file size
// limit, I/O error) throws OutputWriteError; the file is then marked failed and takes no further
// text, so that the run can stop and say so without a second failure on the same file.
#pragma once

#include <cstdint>
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

  // Creates the file or writes it over from its start (an existing file holds its earlier text
  // after what is written until the file is closed or destroyed, then it is cut to the new
  // length). False when it cannot be opened. `label`
  // names the file in the message of a write failure ("output report", "pressure file", ...).
  bool open(const std::string& path, std::string_view label = "output file");
  bool isOpen() const { return file_ != nullptr; }
  bool failed() const { return failed_; }
  // Writes what is pending, flushes and closes; throws OutputWriteError when any of it fails.
  void close();

  // Appends text to the current record.
  OutputFile& put(std::string_view text) {
    buffer_ += text;
    return *this;
  }
  // The buffer whose end is the current record, for fields appended in place (fmt::append...).
  std::string& record() { return buffer_; }
  // Ends the current record.
  void end();
  // Ends the current record after one blank: the report's line end of rows built field by field.
  void endWithBlank() {
    buffer_ += ' ';
    end();
  }
  // Writes one whole record (any pending text first becomes part of it).
  void line(std::string_view text) {
    buffer_ += text;
    end();
  }
  void blank(int count = 1) {
    for (int i = 0; i < count; ++i) line("");
  }
  // Writes the whole records held and flushes the file.
  void flush();

  // Bytes of whole records held before they are written: a file is written in pieces of about
  // this size. Each page of the buffer costs a page fault when it is first touched, each piece a
  // system call: at 64 KiB a report of 600 kB takes 10 writes and 16 pages (256 KiB: 3 writes,
  // 64 pages; a whole process measured 3 % faster at 64 KiB).
  static constexpr std::size_t kBufferSize = std::size_t{64} << 10;

 private:
  [[noreturn]] void fail(int error);
  // Closes the file without a check, cut to the bytes written.
  void abandon();
  // Writes the whole records held (all of the buffer but the current record).
  void writeRecords();
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  bool cutAtClose_ = false;     // written over in place: cut to written_ when closed
  std::uint64_t written_ = 0;  // bytes written to the file
  std::string path_, label_;
  // Whole records not yet written, then the current record from recordStart_ on.
  std::string buffer_;
  std::size_t recordStart_ = 0;
};

// True when the file at `path` can be opened for writing. An existing file is left as it is (it
// is opened for appending, never emptied); a file that did not exist is created and removed
// again. Used to learn that every output can be created before any of them is written over.
bool canCreateOutput(const std::string& path);

}  // namespace korden

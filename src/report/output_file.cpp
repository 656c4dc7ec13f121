#include "report/output_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korden {

namespace {

std::string reasonOf(int error) {
  if (error == 0) return "the write did not complete";
  return std::error_code(error, std::generic_category()).message();
}

// Opens an output to be written from its start. Where the system allows it an existing regular
// file is opened for update, written over in place and cut to the length written when it is
// closed (`cutAtClose`): a file emptied when it is opened and then written again is sent to the
// disk when it is closed (ext4's replace-by-truncate rule), and the run waits for the disk (on
// this benchmark's wall about a third of the whole process). Elsewhere, or when the file cannot
// be opened for update, it is emptied when it is opened.
std::FILE* openForWriting(const std::string& path, bool& cutAtClose) {
  cutAtClose = false;
#if !defined(_WIN32)
  if (std::FILE* file = std::fopen(path.c_str(), "r+b")) {
    struct stat status {};
    if (::fstat(::fileno(file), &status) == 0 && S_ISREG(status.st_mode)) {
      cutAtClose = true;
      return file;
    }
    std::fclose(file);
  }
#endif
  return std::fopen(path.c_str(), "wb");
}

// Cuts a file opened by openForWriting to the `length` bytes written; false (errno set) when it
// cannot be cut.
bool cutToLength(std::FILE* file, std::uint64_t length) {
#if !defined(_WIN32)
  return ::ftruncate(::fileno(file), static_cast<off_t>(length)) == 0;
#else
  (void)file;
  (void)length;
  return true;
#endif
}

}  // namespace

OutputWriteError::OutputWriteError(std::string label, std::string path, const std::string& reason)
    : std::runtime_error("cannot write the " + label + " '" + path + "': " + reason),
      label_(std::move(label)),
      path_(std::move(path)),
      reason_(reason) {}

OutputFile::~OutputFile() {
  if (file_ == nullptr) return;
  // A destructor must not throw: a failure here is one the run has already stopped for, or a
  // file that was never closed on purpose. The whole records held are written as far as they go.
  if (!failed_ && recordStart_ > 0) {
    written_ += std::fwrite(buffer_.data(), 1, recordStart_, file_);
  }
  failed_ = true;
  abandon();
}

void OutputFile::abandon() {
  // Cut to what was written, so that no text of an earlier file stays after it.
  if (cutAtClose_) (void)cutToLength(file_, written_);
  std::fclose(file_);
  file_ = nullptr;
}

bool OutputFile::open(const std::string& path, std::string_view label) {
  if (file_ != nullptr) {
    failed_ = true;
    abandon();
  }
  buffer_.clear();
  recordStart_ = 0;
  written_ = 0;
  failed_ = false;
  path_ = path;
  label_ = label;
  file_ = openForWriting(path, cutAtClose_);
  if (file_ == nullptr) return false;
  // The records are buffered here, in pieces of up to kBufferSize: the C library's buffer would
  // only copy them once more.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  // The whole buffer at once: the records are not copied again as it grows.
  buffer_.reserve(kBufferSize + 4096);
  return true;
}

void OutputFile::fail(int error) {
  failed_ = true;
  buffer_.clear();
  recordStart_ = 0;
  throw OutputWriteError(label_, path_, reasonOf(error));
}

void OutputFile::writeRecords() {
  if (recordStart_ == 0) return;
  errno = 0;
  const std::size_t count = std::fwrite(buffer_.data(), 1, recordStart_, file_);
  written_ += count;
  if (count != recordStart_) fail(errno);
  buffer_.erase(0, recordStart_);
  recordStart_ = 0;
}

void OutputFile::end() {
  if (file_ == nullptr || failed_) {
    buffer_.clear();
    recordStart_ = 0;
    return;
  }
  buffer_ += kLineEnd;
  recordStart_ = buffer_.size();
  if (recordStart_ >= kBufferSize) writeRecords();
}

void OutputFile::flush() {
  if (file_ == nullptr || failed_) return;
  writeRecords();
  errno = 0;
  if (std::fflush(file_) != 0) fail(errno);
}

void OutputFile::close() {
  if (file_ == nullptr) return;
  if (buffer_.size() > recordStart_) end();
  if (!failed_) writeRecords();
  std::FILE* file = file_;
  file_ = nullptr;
  errno = 0;
  const bool cut = !cutAtClose_ || cutToLength(file, written_);
  const int cutError = errno;
  errno = 0;
  const bool closed = std::fclose(file) == 0;
  if (failed_) return;
  if (!cut) fail(cutError);
  if (!closed) fail(errno);
}

bool canCreateOutput(const std::string& path) {
  std::error_code ec;
  const bool existed = std::filesystem::exists(path, ec);
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  std::fclose(file);
  if (!existed) std::filesystem::remove(path, ec);
  return true;
}

}  // namespace korden

#include "report/output_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace korden {

namespace {

std::string reasonOf(int error) {
  if (error == 0) return "the write did not complete";
  return std::error_code(error, std::generic_category()).message();
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
    (void)std::fwrite(buffer_.data(), 1, recordStart_, file_);
  }
  failed_ = true;
  std::fclose(file_);
}

bool OutputFile::open(const std::string& path, std::string_view label) {
  if (file_ != nullptr) {
    failed_ = true;
    std::fclose(file_);
  }
  buffer_.clear();
  recordStart_ = 0;
  failed_ = false;
  path_ = path;
  label_ = label;
  file_ = std::fopen(path.c_str(), "wb");
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
  if (std::fwrite(buffer_.data(), 1, recordStart_, file_) != recordStart_) fail(errno);
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
  const bool closed = std::fclose(file) == 0;
  if (!closed && !failed_) fail(errno);
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

#include "report/output_file.h"

namespace korden {

bool OutputFile::open(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void OutputFile::end() {
  if (file_ != nullptr) {
    pending_ += kLineEnd;
    std::fwrite(pending_.data(), 1, pending_.size(), file_);
  }
  pending_.clear();
}

void OutputFile::flush() {
  if (file_ != nullptr) std::fflush(file_);
}

void OutputFile::close() {
  if (file_ == nullptr) return;
  if (!pending_.empty()) end();
  std::fclose(file_);
  file_ = nullptr;
}

}  // namespace korden

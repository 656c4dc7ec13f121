// Error stops of the engine. An input error stop carries the exact text written into the output
// report; the run driver writes it and takes the end-of-run path. A generator stop ends the run
// with a stop code returned to the host.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace korden {

// Report lines of an input error stop, blank lines included, in the order they are written.
class ErrorStop : public std::runtime_error {
 public:
  explicit ErrorStop(std::vector<std::string> lines)
      : std::runtime_error(lines.empty() ? std::string() : lines.back()),
        lines_(std::move(lines)) {}
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// A generator check that cannot continue: the message lines (already written into the output
// report where the generator writes them; the run driver copies them into the auxiliary output
// file) and the stop code returned by the entry point (3 when the stop has no code).
class GeneratorStop : public std::runtime_error {
 public:
  explicit GeneratorStop(int code) : std::runtime_error("generator stop"), code_(code) {}
  GeneratorStop(int code, const std::string& message)
      : std::runtime_error(message), code_(code), lines_{message} {}
  GeneratorStop(int code, std::vector<std::string> lines)
      : std::runtime_error(lines.empty() ? std::string("generator stop") : lines.back()),
        code_(code),
        lines_(std::move(lines)) {}
  int code() const { return code_; }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  int code_;
  std::vector<std::string> lines_;
};

// "     TOO MUCH DATA FOR AVAILABLE STORAGE", two blank lines before and after.
[[noreturn]] void stopTooMuchData();
// The same stop with a second line that names the table, the count given and its capacity. The
// first line stays the one the host looks for.
[[noreturn]] void stopTooMuchData(const std::string& table, long long count, long long capacity);
// "     ERROR STOP -- STATIONS NOT IN ORDER", two blank lines before.
[[noreturn]] void stopStationsNotInOrder();
// The same stop with a second line (starting with five blanks) that names the record.
[[noreturn]] void stopStationsNotInOrder(const std::string& detail);
// Any other input error stop: two blank lines and the text (which starts with five blanks).
[[noreturn]] void stopWithMessage(const std::string& text);

// Throws the storage stop when count exceeds capacity (or is negative where a count may not be).
inline void checkCapacity(long long count, long long capacity) {
  if (count > capacity) stopTooMuchData();
}
// Same, naming the table in the second line of the stop.
inline void checkCapacity(long long count, long long capacity, const std::string& table) {
  if (count > capacity) stopTooMuchData(table, count, capacity);
}

}  // namespace korden

#include "cli/input_pass.h"

#include <new>

#include "engine/errors.h"

namespace korden::cli {

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool openInput(const std::string& path, InputFile& in, std::ostream& err) {
  try {
    in = InputFile::fromPath(path);
  } catch (const std::exception&) {
    err << "korden: cannot open the input data file '" << path << "'\n";
    return false;
  }
  return true;
}

namespace {

std::unique_ptr<ReadFailure> failureAfter(const LastRecord& last, std::string message) {
  auto f = std::make_unique<ReadFailure>();
  f->line = last.last.lastLine;
  f->record = last.last.name;
  f->message = std::move(message);
  return f;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    const std::string t = trimmed(line);
    if (t.empty()) continue;
    if (!text.empty()) text += " ";
    text += t;
  }
  return text;
}

}  // namespace

std::unique_ptr<ReadFailure> readWithoutAnalysis(RunState& state, InputFile& in, CaseSteps& steps,
                                                 const LastRecord& last) {
  try {
    readAllCases(state, in, steps);
  } catch (const InputError& e) {
    auto f = std::make_unique<ReadFailure>();
    f->line = e.line();
    f->record = e.record();
    f->valueIndex = e.valueIndex();
    f->message = trimmed(e.what());
    f->countHint = e.countHint();
    return f;
  } catch (const ErrorStop& stop) {
    return failureAfter(last, joined(stop.lines()));
  } catch (const GeneratorStop& stop) {
    return failureAfter(last, joined(stop.lines()));
  } catch (const std::bad_alloc&) {
    return failureAfter(last, "NOT ENOUGH MEMORY FOR THE ANALYSIS");
  }
  return nullptr;
}

}  // namespace korden::cli

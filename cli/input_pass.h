// One pass of the engine's reader over an input data file without analysing it: the records go to
// an observer, the case steps to a CaseSteps, and the error that stops the reading (if any) is
// returned as the line, record, value and message that the engine would report.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/case_sequence.h"
#include "engine/run_state.h"
#include "input/list_reader.h"

namespace korden::cli {

struct ReadFailure {
  int line = 0;            // input line (0 when unknown)
  std::string record;      // the record being read, or the last one read
  int valueIndex = 0;      // 1-based value of the record, 0 when the error is not about one value
  std::string message;     // the engine's message, blanks trimmed, lines joined
  std::string countHint;   // the counts that may explain a read error (empty: none)
};

// Remembers the last record the reader took, so that an error raised after a record is read can
// be placed on its line.
class LastRecord : public ReadObserver {
 public:
  void recordRead(const TracedRecord& record) override { last = record; }
  TracedRecord last;
};

// Reads every case of `in` with `steps`; records go to `observer` (which should pass them on to
// a LastRecord so errors can be placed). Returns the failure, or nothing when the file reads
// through to the end of the run.
std::unique_ptr<ReadFailure> readWithoutAnalysis(RunState& state, InputFile& in, CaseSteps& steps,
                                                 const LastRecord& last);

// Reads the input data file at `path` into `in`; false (with a message to `err`) when it cannot.
bool openInput(const std::string& path, InputFile& in, std::ostream& err);

// Leading and trailing blanks removed.
std::string trimmed(const std::string& text);

}  // namespace korden::cli

// The command's screen summary of a finished run: each case in engineering units, the cases side
// by side with their envelope, the warnings, and the closing line; and the exit status.
#pragma once

#include <ostream>
#include <string>

#include "engine/case_results.h"

namespace korden {

// Exit statuses of `korden run` and of `korden` alone.
inline constexpr int kExitClosed = 0;         // every analysis case closed
inline constexpr int kExitInputFailed = 1;    // input unreadable, error stop, or output unwritable
inline constexpr int kExitUsage = 2;          // the command line is wrong
inline constexpr int kExitGeneratorStop = 3;  // a generator check stopped the run
inline constexpr int kExitNoResults = 4;      // the run ended, a case has no results

int exitStatusOf(const RunResults& run);

// "Stage 2", "Long term" or "Case 1", from the heading the report gives the case.
std::string caseLabel(const CaseResults& c);

// The heading without the "Stage No : N" or "Long Term :" that the label gives already.
std::string caseTitle(const CaseResults& c);

// The per-case lines, and for two cases or more the side-by-side table with the envelope.
void printRunSummary(std::ostream& out, const RunResults& run);

// Warnings that belong on the screen only (not in the report).
void printWarnings(std::ostream& out, const RunResults& run);

// "3 cases, all closed", "3 cases, 1 without results (stage 2: ...)", or why the run stopped.
std::string closingLine(const RunResults& run);

// A stop of the input as compilers give errors: "FILE:LINE: error: RECORD: what was expected".
// Nothing for a run that ended normally.
void printStopForEditors(std::ostream& err, const std::string& inputName, const RunResults& run);

}  // namespace korden

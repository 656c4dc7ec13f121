// The order in which the records of the input data file are read: case by case, each from its
// title to its continuation code, with the conditions under which each group is read. The engine
// and the commands that only read an input (explain, check) go through this one sequence; what
// each does between the groups (echo, earth pressure, analysis) it does in its CaseSteps.
#pragma once

#include "engine/run_state.h"
#include "input/list_reader.h"

namespace korden {

// What a reader of the input does between the groups of records. Every step does nothing unless
// overridden; they are called in the order declared.
class CaseSteps {
 public:
  virtual ~CaseSteps() = default;
  // C1 and C2 are read, and the units and options of the case are taken over into the state.
  virtual void controlRead(RunState&) {}
  virtual void wallRead(RunState&) {}
  // Before the first specified point (also when there is none), and after each one.
  virtual void specifiedPointsStart(RunState&) {}
  virtual void specifiedPointRead(RunState&, const SpecifiedPoint&) {}
  virtual void wallSectionsRead(RunState&) {}
  virtual void crossSectionsRead(RunState&) {}
  virtual void nonlinearEIRead(RunState&) {}
  // The loads and supports are read and spread over the stations.
  virtual void supportsRead(RunState&) {}
  virtual void activePressureRead(RunState&) {}
  virtual void soilDataRead(RunState&) {}
  virtual void userCurvesRead(RunState&) {}
  // Every record of the case up to its continuation code is read.
  virtual void caseRead(RunState&) {}
  // The continuation code says that another case follows.
  virtual void caseEnded(RunState&, int /*continuationCode*/) {}
};

// Reads one case up to (not including) its continuation code.
void readOneCase(RunState& state, InputFile& in, CaseSteps& steps);

// Reads the cases up to the end of the run: each case, then its continuation code. Errors are
// thrown as the readers throw them; the driver state tells how far the run came.
void readAllCases(RunState& state, InputFile& in, CaseSteps& steps);

}  // namespace korden

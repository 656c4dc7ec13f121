// Readers of the records of one analysis case, in file order. Each fills the tables of the run
// state for the current case; echoing is done by the caller right after each table is read.
#pragma once

#include "engine/run_state.h"
#include "input/list_reader.h"

namespace korden {

// Title record: the first 70 characters kept in an 80-character title.
void readTitle(RunState& state, InputFile& in);
// Program control record: fifteen integers.
void readControl(RunState& state, InputFile& in);
// Wall record: also builds the station grid (clears the station tables and row codes).
void readWallRecord(RunState& state, InputFile& in);
// Specified deflections and slopes; sets the solver's row codes. `onPoint` is called after each
// point is read (the echo writes its row then).
template <typename OnPoint>
void readSpecifiedPoints(RunState& state, InputFile& in, OnPoint onPoint);
void readWallSections(RunState& state, InputFile& in);
void readCrossSections(RunState& state, InputFile& in);
// User nonlinear EI sets and the generated moment-curvature sets of every cross section.
void readNonlinearEI(RunState& state, InputFile& in);

void readLoads(RunState& state, InputFile& in);
void readSupports(RunState& state, InputFile& in);
void readWales(RunState& state, InputFile& in);
void readModificationFactors(RunState& state, InputFile& in);
void readActivePressureTable(RunState& state, InputFile& in);
// Wall information, surface record, surcharges and soil layers.
void readSoilData(RunState& state, InputFile& in);
void readUserCurves(RunState& state, InputFile& in);
int readContinuationCode(InputFile& in);

// Keeps a count read for the message of a later read error; clears the counts kept.
inline void noteCount(RunState& state, std::string said) {
  state.driver.countTrail.push_back(std::move(said));
}
inline void clearCounts(RunState& state) { state.driver.countTrail.clear(); }
// "THE COUNT OF RESTRAINT RECORDS (LINE 20) SAYS 1".
std::string countSays(const std::string& record, int line, int count);
// "THE PROGRAM CONTROL RECORD (LINE 2) SAYS 0 TIE BACKS (FIELD 11)".
std::string controlSays(const RunState& state, int count, const char* what, int field);
// The read error's note on the counts kept, nearest first; empty without counts.
std::string countHintOf(const RunState& state);

// Which optional groups a case reads.
inline bool readsWales(const ControlRecord& c) { return c.waleFlag > 0; }
inline bool readsModificationFactors(const ControlRecord& c) { return c.nModificationFactors > 0; }
inline bool readsActivePressure(const ControlRecord& c) { return c.pressureOption == 1; }
inline bool readsSoilData(const ControlRecord& c) {
  return c.pressureOption >= 2 || c.curveOption == 2;
}
inline bool readsUserCurves(const ControlRecord& c) { return c.nUserCurves > 0; }

// Reads one specified point (four values) and checks the station order.
void readSpecifiedPoint(RunState& state, InputFile& in, int& lastStation);

template <typename OnPoint>
void readSpecifiedPoints(RunState& state, InputFile& in, OnPoint onPoint) {
  int lastStation = -1;
  state.grid.specified.clear();
  noteCount(state, controlSays(state, state.control.nSpecified, "SPECIFIED POINTS", 2));
  for (int i = 0; i < state.control.nSpecified; ++i) {
    readSpecifiedPoint(state, in, lastStation);
    onPoint(state.grid.specified.back());
  }
}

}  // namespace korden

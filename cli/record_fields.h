// The records of the input data file as an engineer reads them: for every record the reader
// takes, its tag and the name and units of each value (docs/input-format.md is the same table
// written out). Used by `korden explain`, `korden check` and nothing in the engine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korden::cli {

// How a length field relates to the stations of the wall.
enum class DepthKind {
  None,
  Feet,    // a depth in ft (English) / m (SI): station = depth x 12 / h, or depth / h
  Inches,  // a depth in in (English) / m (SI): station = depth / h
};

struct FieldInfo {
  const char* name;
  const char* english;  // unit in English units ("" none)
  const char* si;       // unit in SI units
  DepthKind depth = DepthKind::None;
};

struct RecordInfo {
  const char* key;  // the reader's record name with every number written as n
  const char* tag;  // C1, C2, ..., K
  std::vector<FieldInfo> fields;
};

// The record name with every number that stands as a word replaced by n: "TIE BACK RECORD 2"
// becomes "TIE BACK RECORD n"; the digits of tags such as "RECORD E1" stay.
std::string recordKey(std::string_view name);

// The description of a record by the reader's name for it; nullptr for a name not in the table.
const RecordInfo* findRecord(std::string_view name);

// Name of value `index` (1-based) of a record: the table's name or "value k" beyond it.
std::string fieldName(const RecordInfo* record, int index);
// Unit of value `index` in the case's unit system (1 English, 2 SI, other none).
std::string fieldUnit(const RecordInfo* record, int index, int unitsFlag);

}  // namespace korden::cli

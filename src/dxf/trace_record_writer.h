// Writes trace records as bytes, fast: the record's fixed lines are joined once, with their line
// breaks, into a few literal runs, so a record costs a handful of copies.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "trace_record.h"

namespace pixdraft {

class TraceRecordWriter {
 public:
  // `lineBreak` follows every line; it must be ASCII, as the record is.
  explicit TraceRecordWriter(std::string lineBreak);

  // The most bytes one record can take when no field text is longer than `longestField`.
  std::size_t MaxRecordSize(std::size_t longestField) const;

  // Writes the record at `out`, which must have room for it, and returns the end of what was
  // written.
  char* Write(char* out, const TraceFieldTexts& texts) const;

 private:
  // Fixed lines, each with its line break, then the field that follows them, or None at the end.
  struct Run {
    std::string literal;
    TraceField field;
  };
  std::vector<Run> runs_;
  std::string lineBreak_;
};

}  // namespace pixdraft

// Writes trace records as bytes, fast: the record's fixed lines are joined once, with their line
// breaks, into a few literal runs, and every piece is copied in whole blocks (block_copy.h), so a
// record costs a few dozen wide copies and no call.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "dxf/trace_record.h"

namespace pixdraft {

class TraceRecordWriter {
 public:
  // `lineBreak` follows every line; it must be ASCII, as the record is. `lines` is the record,
  // kTraceRecord or a variant of it (TraceRecordLines).
  explicit TraceRecordWriter(std::string_view lineBreak,
                             std::span<const TraceLine> lines = kTraceRecord);

  // Room one record may need at `out`, slack for block copies included.
  std::size_t MaxRecordSize() const { return maxRecordSize_; }

  // Writes the record of `texts` at `out`, which must have MaxRecordSize() bytes of room, and
  // returns the end of what was written.
  char* AppendTraceRecord(char* out, const TraceFieldTexts& texts) const;

 private:
  // The fixed text that follows a field (or opens the record): the field line's break, then the
  // fixed lines up to the next field, each with its break. Padded to whole blocks.
  struct Run {
    TraceField field;
    std::string text;
    std::size_t size;
  };
  std::vector<Run> runs_;
  std::size_t maxRecordSize_ = 0;
};

}  // namespace pixdraft

#include "trace_record_writer.h"

#include <cstring>

namespace pixdraft {

TraceRecordWriter::TraceRecordWriter(std::string lineBreak) : lineBreak_(std::move(lineBreak)) {
  std::string literal;
  for (const TraceLine& line : kTraceRecord) {
    if (line.field == TraceField::None) {
      literal.append(line.literal).append(lineBreak_);
    } else {
      runs_.push_back({std::move(literal), line.field});
      literal.clear();
    }
  }
  runs_.push_back({std::move(literal), TraceField::None});
}

std::size_t TraceRecordWriter::MaxRecordSize(std::size_t longestField) const {
  std::size_t size = 0;
  for (const Run& run : runs_) size += run.literal.size() + longestField + lineBreak_.size();
  return size;
}

char* TraceRecordWriter::Write(char* out, const TraceFieldTexts& texts) const {
  for (const Run& run : runs_) {
    std::memcpy(out, run.literal.data(), run.literal.size());
    out += run.literal.size();
    if (run.field == TraceField::None) break;
    const std::string_view text = texts[static_cast<int>(run.field)];
    std::memcpy(out, text.data(), text.size());
    out += text.size();
    std::memcpy(out, lineBreak_.data(), lineBreak_.size());
    out += lineBreak_.size();
  }
  return out;
}

}  // namespace pixdraft

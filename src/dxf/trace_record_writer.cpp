#include "dxf/trace_record_writer.h"

#include <cstring>

namespace pixdraft {
namespace {

char* CopyBlocks(char* out, const char* from, std::size_t size) {
  for (std::size_t at = 0; at < size; at += TraceRecordWriter::kBlock) {
    std::memcpy(out + at, from + at, TraceRecordWriter::kBlock);
  }
  return out + size;
}

}  // namespace

TraceRecordWriter::TraceRecordWriter(std::string_view lineBreak, std::span<const TraceLine> lines) {
  Run run{TraceField::None, {}, 0};
  for (const TraceLine& line : lines) {
    if (line.field == TraceField::None) {
      run.text.append(line.literal).append(lineBreak);
    } else {
      runs_.push_back(std::move(run));
      run = {line.field, std::string(lineBreak), 0};
    }
  }
  runs_.push_back(std::move(run));

  for (Run& each : runs_) {
    each.size = each.text.size();
    each.text.resize((each.size + kBlock - 1) / kBlock * kBlock + kBlock);
    maxRecordSize_ += each.text.size() + (each.field == TraceField::None ? 0 : kBlock);
  }
}

char* TraceRecordWriter::AppendTraceRecord(char* out, const TraceFieldTexts& texts) const {
  for (const Run& run : runs_) {
    if (run.field != TraceField::None) {
      const FieldText& text = texts[static_cast<int>(run.field)];
      std::memcpy(out, text.data, kBlock);
      out += text.size;
    }
    out = CopyBlocks(out, run.text.data(), run.size);
  }
  return out;
}

}  // namespace pixdraft

#include "dxf/trace_record_writer.h"

#include "dxf/block_copy.h"

namespace pixdraft {

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
    each.size = PadToBlocks(each.text);
    maxRecordSize_ += each.text.size() + (each.field == TraceField::None ? 0 : kCopyBlock);
  }
}

char* TraceRecordWriter::AppendTraceRecord(char* out, const TraceFieldTexts& texts) const {
  for (const Run& run : runs_) {
    if (run.field != TraceField::None) out = CopyBlocks(out, texts[static_cast<int>(run.field)]);
    out = CopyBlocks(out, run.text.data(), run.size);
  }
  return out;
}

}  // namespace pixdraft

// Copying the text of records in whole blocks, which compile to a few wide moves rather than a
// call: every piece is padded to whole blocks and one more, and a field's text is a block long, so
// what is written to needs a block of room to spare.
#pragma once

#include <cstring>
#include <string>

#include "dxf/trace_record.h"

namespace pixdraft {

inline constexpr std::size_t kCopyBlock = kMaxFieldLength;

// Pads `text` to whole blocks and one more; returns its length before.
inline std::size_t PadToBlocks(std::string& text) {
  const std::size_t size = text.size();
  text.resize((size + kCopyBlock - 1) / kCopyBlock * kCopyBlock + kCopyBlock);
  return size;
}

// Copies the first `size` bytes of the padded `from` to `out`; returns out + size.
inline char* CopyBlocks(char* out, const char* from, std::size_t size) {
  for (std::size_t at = 0; at < size; at += kCopyBlock)
    std::memcpy(out + at, from + at, kCopyBlock);
  return out + size;
}

// Copies `field`; returns the end of its text.
inline char* CopyBlocks(char* out, const FieldText& field) {
  std::memcpy(out, field.data, kCopyBlock);
  return out + field.size;
}

}  // namespace pixdraft

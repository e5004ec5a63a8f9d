#include "trace_record.h"

#include <charconv>

namespace pixdraft {

char* WriteCoordinate(char* out, std::int64_t v) {
  // Coordinates are whole numbers, so the decimals are always zero; integer formatting gives the
  // same text as a fixed-point conversion of the double, without a locale and without "-0".
  out = std::to_chars(out, out + kMaxFieldLength, v).ptr;
  for (char c : {'.', '0', '0', '0', '0', '0'}) *out++ = c;
  return out;
}

char* WriteHandle(char* out, std::int32_t counter) {
  const auto value = static_cast<std::uint32_t>(counter);
  int digits = 4;
  while (digits < 8 && value >> (4 * digits) != 0) ++digits;
  for (int i = digits - 1; i >= 0; --i) *out++ = "0123456789ABCDEF"[(value >> (4 * i)) & 0xF];
  return out;
}

char* WriteTrueColour(char* out, TColor colour) {
  const std::uint32_t red = colour & 0xFF;
  const std::uint32_t green = (colour >> 8) & 0xFF;
  const std::uint32_t blue = (colour >> 16) & 0xFF;
  return std::to_chars(out, out + kMaxFieldLength, red << 16 | green << 8 | blue).ptr;
}

std::string FormatCoordinate(std::int64_t v) {
  char text[kMaxFieldLength];
  return std::string(text, WriteCoordinate(text, v));
}

std::string HandleText(std::int32_t counter) {
  char text[kMaxFieldLength];
  return std::string(text, WriteHandle(text, counter));
}

void AppendTraceRecord(TStringList& list, std::int32_t x, std::int32_t y, TColor colour,
                       std::int32_t counter) {
  char texts[7][kMaxFieldLength];
  char* ends[7] = {};
  ends[int(TraceField::Handle)] = WriteHandle(texts[int(TraceField::Handle)], counter);
  ends[int(TraceField::Colour)] = WriteTrueColour(texts[int(TraceField::Colour)], colour);
  ends[int(TraceField::Left)] = WriteCoordinate(texts[int(TraceField::Left)], x);
  ends[int(TraceField::Right)] =
      WriteCoordinate(texts[int(TraceField::Right)], std::int64_t{x} + 1);
  ends[int(TraceField::Bottom)] = WriteCoordinate(texts[int(TraceField::Bottom)], -std::int64_t{y});
  ends[int(TraceField::Top)] = WriteCoordinate(texts[int(TraceField::Top)], 1 - std::int64_t{y});
  for (const TraceLine& line : kTraceRecord) {
    const int field = static_cast<int>(line.field);
    const std::string_view text = line.field == TraceField::None
                                      ? line.literal
                                      : std::string_view(texts[field], ends[field] - texts[field]);
    list.Add(std::u16string(text.begin(), text.end()));
  }
}

}  // namespace pixdraft

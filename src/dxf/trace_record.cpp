#include "dxf/trace_record.h"

#include <charconv>

namespace pixdraft {

FieldText FormatCoordinate(std::int64_t v) {
  // Coordinates are whole numbers, so the decimals are always zero; integer formatting gives the
  // same text as a fixed-point conversion of the double, without a locale and without "-0".
  FieldText text;
  char* out = std::to_chars(text.data, text.data + kMaxFieldLength, v).ptr;
  for (char c : {'.', '0', '0', '0', '0', '0'}) *out++ = c;
  text.size = out - text.data;
  return text;
}

FieldText HandleField(std::int32_t counter) {
  const auto value = static_cast<std::uint32_t>(counter);
  FieldText text;
  text.size = 4;
  while (text.size < 8 && value >> (4 * text.size) != 0) ++text.size;
  for (std::size_t i = 0; i < text.size; ++i) {
    text.data[text.size - 1 - i] = "0123456789ABCDEF"[(value >> (4 * i)) & 0xF];
  }
  return text;
}

FieldText NumberField(std::int64_t value) {
  FieldText text;
  text.size = std::to_chars(text.data, text.data + kMaxFieldLength, value).ptr - text.data;
  return text;
}

FieldText TrueColourText(TColor colour) { return NumberField(RedFirst(colour)); }

std::string HandleText(std::int32_t counter) { return std::string(HandleField(counter).view()); }

std::vector<TraceLine> TraceRecordLines(bool solid, bool colourIndex, bool layers) {
  std::vector<TraceLine> lines;
  for (const TraceLine& line : kTraceRecord) {
    if (line.literal == "TRACE" && solid) {
      lines.push_back({"SOLID"});
    } else if (&line == &kTraceRecord[7] && layers) {  // the layer's name
      lines.push_back({{}, TraceField::Layer});
    } else {
      if (line.literal == "420" && colourIndex) {
        lines.push_back({" 62"});
        lines.push_back({{}, TraceField::ColourIndex});
      }
      lines.push_back(line);
    }
  }
  return lines;
}

}  // namespace pixdraft

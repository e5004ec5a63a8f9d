#include "trace_record.h"

#include <charconv>

namespace pixdraft {

std::string FormatCoordinate(std::int64_t v) {
  // Coordinates are whole numbers, so the decimals are always zero; integer formatting gives the
  // same text as a fixed-point conversion of the double, without a locale and without "-0".
  char text[24];
  char* end = std::to_chars(text, text + sizeof text, v).ptr;
  return std::string(text, end) + ".00000";
}

std::string HandleText(std::int32_t counter) {
  char digits[16];
  char* end =
      std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(counter), 16).ptr;
  std::string text(digits, end);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
  return text;
}

std::uint32_t TrueColour(TColor colour) {
  const std::uint32_t red = colour & 0xFF;
  const std::uint32_t green = (colour >> 8) & 0xFF;
  const std::uint32_t blue = (colour >> 16) & 0xFF;
  return red << 16 | green << 8 | blue;
}

void AppendTraceRecord(TStringList& list, std::int32_t x, std::int32_t y, TColor colour,
                       std::int32_t counter) {
  const std::string handle = HandleText(counter);
  const std::string colourText = std::to_string(TrueColour(colour));
  const std::string left = FormatCoordinate(x);
  const std::string right = FormatCoordinate(std::int64_t{x} + 1);
  const std::string bottom = FormatCoordinate(-std::int64_t{y});
  const std::string top = FormatCoordinate(1 - std::int64_t{y});
  const TraceFieldTexts texts = {{{}, handle, colourText, left, right, bottom, top}};
  for (const TraceLine& line : kTraceRecord) {
    const std::string_view text =
        line.field == TraceField::None ? line.literal : texts[static_cast<int>(line.field)];
    list.Add(std::u16string(text.begin(), text.end()));
  }
}

}  // namespace pixdraft

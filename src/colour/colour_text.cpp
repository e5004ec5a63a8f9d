#include "colour/colour_text.h"

#include <charconv>
#include <cstdint>

namespace pixdraft {

std::optional<TColor> ParseColour(std::string_view text) {
  if (text.starts_with('#')) text.remove_prefix(1);
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != text.npos) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return RGB(value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF);
}

std::string HexText(TColor colour) {
  const std::uint32_t rgb = RedFirst(colour);
  std::string text(6, '0');
  for (int i = 0; i < 6; ++i) text[i] = "0123456789ABCDEF"[rgb >> (20 - 4 * i) & 0xF];
  return text;
}

}  // namespace pixdraft

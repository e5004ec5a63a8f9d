#include "drawing_options.h"

#include <charconv>

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

}  // namespace pixdraft

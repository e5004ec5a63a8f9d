#include "dxf/handle_seed.h"

namespace pixdraft {
namespace {

std::u16string_view Trimmed(std::u16string_view text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == text.npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

std::optional<std::uint64_t> HexValue(std::u16string_view text) {
  if (text.empty() || text.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (const char16_t c : text) {
    int digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else if (c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value << 4 | std::uint64_t(digit);
  }
  return value;
}

}  // namespace

std::optional<HandleSeed> FindHandleSeed(const TStringList& header) {
  for (int code = 0; code + 3 < header.Count(); code += 2) {
    if (Trimmed(header[code]) != u"9" || Trimmed(header[code + 1]) != u"$HANDSEED") continue;
    if (Trimmed(header[code + 2]) != u"5") return std::nullopt;
    const auto value = HexValue(Trimmed(header[code + 3]));
    if (!value) return std::nullopt;
    return HandleSeed{code + 3, *value};
  }
  return std::nullopt;
}

}  // namespace pixdraft

#include "dxf/handle_seed.h"

#include "dxf/header_pairs.h"

namespace pixdraft {
namespace {

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
  const HeaderPairs pairs(header);
  for (int code = 0; code + 3 < header.Count(); code += 2) {
    if (pairs.Value(code) != u"9" || pairs.Value(code + 1) != u"$HANDSEED") continue;
    if (pairs.Value(code + 2) != u"5") return std::nullopt;
    const auto value = HexValue(pairs.Value(code + 3));
    if (!value) return std::nullopt;
    return HandleSeed{code + 3, *value};
  }
  return std::nullopt;
}

}  // namespace pixdraft

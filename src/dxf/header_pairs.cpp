#include "dxf/header_pairs.h"

namespace pixdraft {

std::u16string_view HeaderPairs::Value(int line) const {
  const std::u16string_view text = header_[line];
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == text.npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

int HeaderPairs::Code(int pair) const {
  const std::u16string_view text = Value(2 * pair);
  if (text.empty() || text.size() > 4) return -1;
  int code = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return -1;
    code = code * 10 + (c - u'0');
  }
  return code;
}

int HeaderPairs::Find(int from, int code, std::u16string_view value) const {
  while (from < Pairs() && !Is(from, code, value)) ++from;
  return from;
}

std::optional<int> HeaderPairs::SectionEnd(std::u16string_view name) const {
  for (int at = Find(0, 0, u"SECTION"); at + 1 < Pairs(); at = Find(at + 1, 0, u"SECTION")) {
    if (!Is(at + 1, 2, name)) continue;
    const int end = Find(at + 2, 0, u"ENDSEC");
    if (end < Pairs()) return 2 * end;
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<int> HeaderPairs::VariableName(std::u16string_view name) const {
  const int at = Find(0, 9, name);
  if (at < Pairs()) return 2 * at + 1;
  return std::nullopt;
}

std::optional<int> HeaderPairs::VariableValue(std::u16string_view name, int code) const {
  const auto nameLine = VariableName(name);
  if (!nameLine) return std::nullopt;
  for (int at = *nameLine / 2 + 1; at < Pairs() && Code(at) != 9 && Code(at) != 0; ++at) {
    if (Code(at) == code) return 2 * at + 1;
  }
  return std::nullopt;
}

std::optional<HeaderPairs::Table> HeaderPairs::FindTable(std::u16string_view name) const {
  for (int at = Find(0, 0, u"TABLE"); at + 1 < Pairs(); at = Find(at + 1, 0, u"TABLE")) {
    if (!Is(at + 1, 2, name)) continue;
    Table table;
    table.begin = 2 * at;
    int pair = at + 2;
    for (; pair < Pairs() && Code(pair) != 0; ++pair) {
      if (Code(pair) == 5 && !table.handle) table.handle = 2 * pair + 1;
      if (Code(pair) == 70 && !table.entries) table.entries = 2 * pair + 1;
    }
    const int end = Find(pair, 0, u"ENDTAB");
    if (end == Pairs()) return std::nullopt;
    table.end = 2 * end;
    return table;
  }
  return std::nullopt;
}

std::optional<int> HeaderPairs::EntryValue(std::u16string_view table, std::u16string_view entry,
                                           int code) const {
  const auto found = FindTable(table);
  if (!found) return std::nullopt;
  // Each entry runs from its group 0 to the next one.
  const int end = found->end / 2;
  for (int first = found->begin / 2 + 1; first < end;) {
    int next = first + 1;
    while (next < end && Code(next) != 0) ++next;
    std::optional<int> value;
    bool named = false;
    for (int pair = first; pair < next; ++pair) {
      named = named || Is(pair, 2, entry);
      if (Code(pair) == code && !value) value = 2 * pair + 1;
    }
    if (Code(first) == 0 && named && value) return value;
    first = next;
  }
  return std::nullopt;
}

}  // namespace pixdraft

// A header template read as DXF group code and value pairs (lines 0 and 1, 2 and 3, ...), to
// find the lines a drawing's options change. Blanks around codes and values do not count; a
// template without what is looked for gives nothing, never an error.
#pragma once

#include <optional>
#include <string_view>

#include "base/string_list.h"

namespace pixdraft {

class HeaderPairs {
 public:
  // Holds a reference to `header`, which must outlive it.
  explicit HeaderPairs(const TStringList& header) : header_(header) {}

  // The line of the 0/ENDSEC pair that closes the section `name`.
  std::optional<int> SectionEnd(std::u16string_view name) const;
  // The value line of the pair of group `code` among the pairs of the header variable `name`
  // (those after 9/name, up to the next group 9 or 0).
  std::optional<int> VariableValue(std::u16string_view name, int code) const;
  // The line of the pair 9/`name`'s value.
  std::optional<int> VariableName(std::u16string_view name) const;

  struct Table {
    int begin = 0, end = 0;      // the lines of its 0/TABLE and 0/ENDTAB pairs
    std::optional<int> handle;   // the value line of its handle (group 5)
    std::optional<int> entries;  // the value line of its number of entries (group 70)
  };
  std::optional<Table> FindTable(std::u16string_view name) const;
  // The value line of the pair of group `code` in the entry of table `table` named `entry`
  // (group 2).
  std::optional<int> EntryValue(std::u16string_view table, std::u16string_view entry,
                                int code) const;

  // The line's text without the blanks around it.
  std::u16string_view Value(int line) const;

 private:
  int Pairs() const { return header_.Count() / 2; }
  // The group code of pair `pair`, or -1 when it is no number.
  int Code(int pair) const;
  bool Is(int pair, int code, std::u16string_view value) const {
    return Code(pair) == code && Value(2 * pair + 1) == value;
  }
  // The first pair from `from` on that is `code`/`value`, or Pairs().
  int Find(int from, int code, std::u16string_view value) const;

  const TStringList& header_;
};

}  // namespace pixdraft

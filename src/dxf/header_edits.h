// Changes to a header template's lines, gathered and then applied in one copy, so that every
// change names lines as the template numbers them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/string_list.h"

namespace pixdraft {

class HeaderEdits {
 public:
  // Line `line` becomes `text`.
  void Replace(int line, std::u16string text) { edits_[line].replacement = std::move(text); }
  // `lines` go before line `line` (or at the end for Count()), after those inserted there
  // before.
  void InsertBefore(int line, const std::vector<std::u16string>& lines) {
    auto& inserted = edits_[line].inserted;
    inserted.insert(inserted.end(), lines.begin(), lines.end());
  }
  bool Empty() const { return edits_.empty(); }

  // A copy of `header`, encoding and line break included, with the changes made.
  TStringList Apply(const TStringList& header) const;

 private:
  struct Edit {
    std::optional<std::u16string> replacement;
    std::vector<std::u16string> inserted;
  };
  std::map<int, Edit> edits_;
};

}  // namespace pixdraft

// The header's $HANDSEED: the handle a reader gives the next entity it creates. Readers that
// create entities of their own (ezdxf does on loading) take handles from there, so it must lie
// above every handle the export writes.
#pragma once

#include <cstdint>
#include <optional>

#include "base/string_list.h"

namespace pixdraft {

struct HandleSeed {
  int line = 0;             // the index of the line holding the value
  std::uint64_t value = 0;  // the handle it names
};

// Finds the $HANDSEED variable among the header's group code and value pairs (lines 0 and 1,
// 2 and 3, ...): a pair " 9"/"$HANDSEED", then a pair of group code 5 whose value is hexadecimal.
// Blanks around codes and values do not count. Nothing when the header sets none.
std::optional<HandleSeed> FindHandleSeed(const TStringList& header);

}  // namespace pixdraft

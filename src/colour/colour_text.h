// Colours as people type and read them: six hexadecimal digits RRGGBB, red first, as palettes,
// the command line, layer names and the counts write them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "colour/raster.h"

namespace pixdraft {

// Reads a colour written RRGGBB in hexadecimal, in either case, "#" optional: "FF8000" is orange.
// Nothing for any other text.
std::optional<TColor> ParseColour(std::string_view text);

// The colour as six upper-case hexadecimal digits, red first: orange is "FF8000".
std::string HexText(TColor colour);

}  // namespace pixdraft

// A palette: the colours a maker can buy, read from a text file of one colour a line.
//
//   # Tiles from the corner shop
//   FF8000 orange tile
//   #1E90FF blue
//   FFFFFF
//
// A colour is six hexadecimal digits RRGGBB, "#" optional, and may be followed by blanks and a
// name, which runs to the end of the line. Blank lines are ignored, and so are comments: lines
// whose first character other than a blank is "#", unless six hexadecimal digits and a blank or
// the line's end follow it ("#facade tiles" is the colour FACADE named "tiles"). The file is
// UTF-8, with or without its byte-order mark, or UTF-16 with one, its lines ending in LF or
// CR LF. A colour listed
// again keeps its first name: the later lines add nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "colour/raster.h"

namespace pixdraft {

// A colour with a name of the user's, such as a palette's "orange tile".
struct NamedColour {
  TColor colour = 0;
  std::string name;
  bool operator==(const NamedColour&) const = default;
};

// The most colours and the longest name (in bytes) a palette may have, and its largest file.
constexpr std::size_t kMaxPaletteColours = 4096;
constexpr std::size_t kMaxPaletteNameBytes = 200;
constexpr std::size_t kMaxPaletteFileBytes = 1 << 20;

// A palette that cannot be used, its message naming the file and, where there is one, the line:
// "tiles.txt:3: expected a colour RRGGBB, then a name if any".
class EPaletteError : public Exception {
 public:
  using Exception::Exception;
};

// The colours of palette text `text` in the order of their lines, names empty where none is
// given. `fileName` is only for the messages. Throws EPaletteError.
std::vector<NamedColour> ParsePalette(std::string_view text, const std::string& fileName);

// Reads and parses the palette file `fileName`. Throws EFOpenError when it cannot be read (or
// holds more than kMaxPaletteFileBytes), EReadError, EPaletteError.
std::vector<NamedColour> LoadPalette(const std::string& fileName);

}  // namespace pixdraft

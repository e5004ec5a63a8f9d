// How a working raster becomes a drawing: the size of its squares, which squares are left out
// and whether squares of one colour are merged. The defaults give one unit square per pixel.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "pixel_size.h"
#include "raster.h"

namespace pixdraft {

struct DrawingOptions {
  PixelSize pixelSize;
  // Squares of these colours are left out of the drawing.
  std::vector<TColor> leftOutColours;
  // Squares of one colour that together form a rectangle become one TRACE (see square_walk.h).
  bool merge = false;
};

// Reads a colour written RRGGBB in hexadecimal, in either case, "#" optional: "FF8000" is orange.
// Nothing for any other text.
std::optional<TColor> ParseColour(std::string_view text);

}  // namespace pixdraft

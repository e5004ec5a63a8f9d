// Fitting a decoded picture into the working raster, by default at most 256 x 256 pixels. On
// plain pixels: the decoding helper hands over rows of RGBA, whatever decoded them.
#pragma once

#include <cstdint>
#include <functional>

#include "colour/raster.h"

namespace pixdraft {

// The largest side of the working raster by default, and the largest one may ask for.
constexpr int kMaxRasterSide = 256;
constexpr int kLargestRasterSide = 4096;

struct FitOptions {
  // The working raster's largest side, 1 to kLargestRasterSide (others are taken as the nearest).
  int side = kMaxRasterSide;
  // A larger picture keeps its proportions instead of filling side x side.
  bool keepAspect = false;
  // Pixels whose alpha is 0 become kNoSquare instead of white.
  bool leaveOutTransparent = false;
};

struct RasterSize {
  int width = 0;
  int height = 0;
  bool operator==(const RasterSize&) const = default;
};

// The working raster's size for a picture of `width` x `height`: the picture's own when neither
// side exceeds options.side; else side x side, or with keepAspect the longer side `side` and the
// shorter max(1, round(side * shorter / longer)), halves rounded up.
RasterSize FittedSize(int width, int height, const FitOptions& options = {});

// Row y of a picture as 8-bit straight RGBA, 4 bytes a pixel, valid until the next call.
using RgbaRow = std::function<const std::uint8_t*(int y)>;

// The working raster for a picture of `width` x `height` (at least 1 x 1) whose rows `row` gives,
// of FittedSize: copied 1:1 when it fits, else sampled by nearest neighbour, each raster pixel
// taking the source pixel under its centre, each axis on its own. Only the rows sampled are
// asked for, each once, from the top. Every pixel is composited over white by its alpha:
// p = round(c * a / 255), channel = p + 255 - a.
Raster FitRows(int width, int height, const RgbaRow& row, const FitOptions& options = {});

}  // namespace pixdraft

#include "picture/fit.h"

#include <algorithm>
#include <vector>

namespace pixdraft {
namespace {

// Over white, in integers so the result is the same to the bit everywhere:
// p = round(c * a / 255), rounded half up; channel = p + 255 - a.
inline int OverWhite(int channel, int alpha) {
  return (channel * alpha * 2 + 255) / 510 + 255 - alpha;
}

// One RGBA pixel (bytes R, G, B, A, straight alpha).
inline TColor Composite(const std::uint8_t* rgba, bool leaveOutTransparent) {
  const int alpha = rgba[3];
  if (alpha == 0 && leaveOutTransparent) return kNoSquare;
  return RGB(OverWhite(rgba[0], alpha), OverWhite(rgba[1], alpha), OverWhite(rgba[2], alpha));
}

// Centre sampling: raster index i of `target` covers source span [i, i + 1) * size / target,
// whose middle is (2i + 1) * size / (2 * target); the pixel holding that point is its floor. In
// 64 bits, as (2i + 1) * size passes 2^31 for large pictures.
inline int SourceIndex(int i, int size, int target) {
  return int((2 * std::int64_t(i) + 1) * size / (2 * std::int64_t(target)));
}

}  // namespace

RasterSize FittedSize(int width, int height, const FitOptions& options) {
  // A side out of range would make an empty raster or divide by zero: take the nearest valid.
  const int side = std::clamp(options.side, 1, kLargestRasterSide);
  if (width <= side && height <= side) return {width, height};
  if (!options.keepAspect) return {side, side};
  const std::int64_t longer = std::max(width, height), shorter = std::min(width, height);
  const int fitted = int(std::max<std::int64_t>(1, (2 * side * shorter + longer) / (2 * longer)));
  return width >= height ? RasterSize{side, fitted} : RasterSize{fitted, side};
}

Raster FitRows(int width, int height, const RgbaRow& row, const FitOptions& options) {
  const bool leaveOut = options.leaveOutTransparent;
  const RasterSize fitted = FittedSize(width, height, options);
  std::vector<int> columns(fitted.width);
  for (int i = 0; i < fitted.width; ++i) columns[i] = SourceIndex(i, width, fitted.width);
  Raster raster(fitted.width, fitted.height);
  int sourceRow = -1;
  const std::uint8_t* line = nullptr;
  for (int y = 0; y < fitted.height; ++y) {
    if (const int wanted = SourceIndex(y, height, fitted.height); wanted != sourceRow) {
      line = row(wanted);
      sourceRow = wanted;
    }
    for (int x = 0; x < fitted.width; ++x) {
      raster.SetPixel(x, y, Composite(line + 4 * columns[x], leaveOut));
    }
  }
  return raster;
}

}  // namespace pixdraft

#include "shapes/background.h"

#include <cstdint>
#include <vector>

namespace pixdraft {

void LeaveOutBackground(Raster& raster) {
  const int width = raster.width, height = raster.height;
  if (width == 0 || height == 0) return;
  const TColor background = raster.Pixel(0, 0);
  if (background == kNoSquare || raster.Pixel(width - 1, 0) != background ||
      raster.Pixel(0, height - 1) != background ||
      raster.Pixel(width - 1, height - 1) != background) {
    return;
  }
  // Depth first from every pixel of the edge; a pixel is left out as it is reached, which also
  // marks it as seen.
  std::vector<std::uint32_t> pending;
  const auto reach = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height || raster.Pixel(x, y) != background) return;
    raster.SetPixel(x, y, kNoSquare);
    pending.push_back(std::uint32_t(y) * std::uint32_t(width) + std::uint32_t(x));
  };
  for (int x = 0; x < width; ++x) reach(x, 0), reach(x, height - 1);
  for (int y = 0; y < height; ++y) reach(0, y), reach(width - 1, y);
  while (!pending.empty()) {
    const int x = int(pending.back() % std::uint32_t(width));
    const int y = int(pending.back() / std::uint32_t(width));
    pending.pop_back();
    reach(x + 1, y), reach(x - 1, y), reach(x, y + 1), reach(x, y - 1);
  }
}

}  // namespace pixdraft

// Small rasters drawn as text or written as RRGGBB numbers, for tests that compare whole results.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "colour/raster.h"

namespace pixdraft {

// One character per pixel: k black, w white, r red, g green, b blue; "." is no square.
inline TColor PaletteColour(char c) {
  switch (c) {
    case 'k':
      return RGB(0, 0, 0);
    case 'w':
      return RGB(255, 255, 255);
    case 'r':
      return RGB(255, 0, 0);
    case 'g':
      return RGB(0, 255, 0);
    case 'b':
      return RGB(0, 0, 255);
    case '.':
      return kNoSquare;
  }
  throw std::invalid_argument(std::string("no palette colour ") + c);
}

// The raster whose rows, from the top, are `rows`.
inline Raster RasterOf(const std::vector<std::string>& rows) {
  Raster raster(rows.empty() ? 0 : int(rows[0].size()), int(rows.size()));
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) raster.SetPixel(x, y, PaletteColour(rows[y][x]));
  }
  return raster;
}

// The colour written 0xRRGGBB; kOut is no square.
constexpr std::uint32_t kOut = 0xFF000000;
inline TColor Hex(std::uint32_t rgb) {
  return rgb == kOut ? kNoSquare : RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF);
}
inline std::vector<TColor> Hexes(std::initializer_list<std::uint32_t> rgbs) {
  std::vector<TColor> colours;
  for (const std::uint32_t rgb : rgbs) colours.push_back(Hex(rgb));
  return colours;
}

}  // namespace pixdraft

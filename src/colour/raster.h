// The working raster: the picture as the DXF export sees it.
#pragma once

#include <cstdint>
#include <vector>

namespace pixdraft {

// A pixel colour: red in bits 0-7, green in 8-15, blue in 16-23, top byte 0.
using TColor = std::uint32_t;

// A raster pixel that is no colour at all: left out of the drawing (a transparent pixel, when the
// fit was asked to leave those out). No colour has a top byte, so none is mistaken for it.
constexpr TColor kNoSquare = 0xFF000000;

constexpr TColor RGB(int red, int green, int blue) {
  return TColor(red) | TColor(green) << 8 | TColor(blue) << 16;
}

// The colour as 0xRRGGBB, as it is written in hexadecimal; colours are listed in that order.
constexpr std::uint32_t RedFirst(TColor colour) {
  return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// A width x height grid of colours (or kNoSquare), origin at the top left, rows running downwards.
struct Raster {
  Raster() = default;
  // A raster of that size, white throughout.
  Raster(int width, int height)
      : width(width), height(height), pixels(std::size_t(width) * height, RGB(255, 255, 255)) {}

  TColor Pixel(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  void SetPixel(int x, int y, TColor colour) { pixels[std::size_t(y) * width + x] = colour; }

  int width = 0;
  int height = 0;
  std::vector<TColor> pixels;  // row by row
};

}  // namespace pixdraft

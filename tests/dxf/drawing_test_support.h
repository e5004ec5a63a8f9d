// Small rasters drawn as text, and trace records spelled out line by line, for tests that
// compare whole drawings.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "raster.h"

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

// The 36 lines of one TRACE record as the file holds them, CR LF after each.
inline std::string Record(const std::string& handle, const std::string& trueColour,
                          const std::string& left, const std::string& bottom,
                          const std::string& right, const std::string& top) {
  return "0 \r\nTRACE\r\n  5\r\n" + handle + "\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n420\r\n" +
         trueColour + "\r\n100\r\nAcDbTrace\r\n 10\r\n" + left + "\r\n 20 \r\n" + bottom +
         "\r\n 30\r\n0.0\r\n 11 \r\n" + right + "\r\n 21\r\n" + bottom +
         "\r\n 31 \r\n0.0 \r\n 12\r\n" + left + "\r\n 22\r\n" + top + "\r\n 32\r\n0.0 \r\n 13\r\n" +
         right + "\r\n 23 \r\n" + top + "\r\n 33 \r\n0.0\r\n";
}

}  // namespace pixdraft

// Random, flat and checkerboard pictures, some with pixels left out, for the walks' tests.
#pragma once

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "colour/raster.h"

namespace pixdraft {

struct Picture {
  std::string name;
  Raster raster;
};
inline void PrintTo(const Picture& picture, std::ostream* out) { *out << picture.name; }

// Random pictures of few colours, so that runs form, and with pixels left out; flat pictures and
// checkerboards; lines both ways.
inline std::vector<Picture> Pictures() {
  std::vector<Picture> pictures;
  std::mt19937 random(7);
  const int sizes[][2] = {{1, 1}, {1, 37}, {37, 1}, {2, 2}, {5, 3}, {16, 16}, {31, 47}, {64, 9}};
  for (const auto [width, height] : sizes) {
    for (const int colours : {1, 2, 3, 5}) {
      Raster raster(width, height);
      for (TColor& pixel : raster.pixels) {
        const int pick = int(random() % (colours + 1));
        pixel = pick == colours ? kNoSquare : RGB(40 * pick, 0, 255 - 40 * pick);
      }
      const std::string size = std::to_string(width) + "x" + std::to_string(height);
      pictures.push_back({"Random" + size + "Colours" + std::to_string(colours), raster});
      std::replace(raster.pixels.begin(), raster.pixels.end(), RGB(0, 0, 255), kNoSquare);
      pictures.push_back(
          {"Random" + size + "Colours" + std::to_string(colours) + "LeftOut", raster});
    }
    Raster flat(width, height), board(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x)
        board.SetPixel(x, y, (x + y) % 2 ? RGB(0, 0, 0) : RGB(9, 9, 9));
    }
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    pictures.push_back({"Flat" + size, flat});
    pictures.push_back({"Checkerboard" + size, board});
  }
  return pictures;
}

}  // namespace pixdraft

// A shape of the drawing as outlines: one colour and one or more closed loops on the lines
// between pixels.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "colour/raster.h"

namespace pixdraft {

// A corner of the pixel grid: column line x (0 at the left) and row line y (0 at the top, rows
// running downwards), so pixel (x, y) spans corners (x, y) to (x + 1, y + 1).
struct Corner {
  int x = 0, y = 0;
  bool operator==(const Corner&) const = default;
};

// Loops run with the shape on their left as the drawing shows it: anticlockwise around the
// outside, clockwise around holes. Every corner of a loop is a turn; a loop does not repeat its
// first corner at its end.
struct Shape {
  TColor colour = 0;
  std::vector<Corner> corners;          // the loops' corners, one loop after another
  std::vector<std::uint32_t> loopEnds;  // where each loop ends in `corners`; the outer loop first
  std::vector<std::uint32_t> parted;    // the corners to part (region_walk.h), ascending

  std::size_t LoopCount() const { return loopEnds.size(); }
  std::span<const Corner> Loop(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : loopEnds[i - 1];
    return std::span(corners).subspan(begin, loopEnds[i] - begin);
  }
  void Clear() {
    corners.clear();
    loopEnds.clear();
    parted.clear();
  }
};

// The outline of a rectangle of pixels: from its top-left corner anticlockwise.
inline void SetRectangle(Shape& shape, int x, int y, int width, int height, TColor colour) {
  shape.Clear();
  shape.colour = colour;
  shape.corners = {{x, y}, {x, y + height}, {x + width, y + height}, {x + width, y}};
  shape.loopEnds = {4};
}

}  // namespace pixdraft

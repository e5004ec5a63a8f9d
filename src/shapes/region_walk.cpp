#include "shapes/region_walk.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace pixdraft {
namespace {

// The neighbour across each side, and the corner each side's edge ends at when it is travelled
// with the pixel on its left: the right edge runs up, the top edge leftwards, and so on.
constexpr int kStepX[] = {1, 0, -1, 0}, kStepY[] = {0, -1, 0, 1};
constexpr int kEndX[] = {1, 0, 0, 1}, kEndY[] = {0, 0, 1, 1};

}  // namespace

RegionWalk::RegionWalk(const Raster& raster, bool partCorners)
    : raster_(raster), partCorners_(partCorners) {
  if (raster.width > 0xFFFF || raster.height > 0xFFFF) throw std::length_error("raster too wide");
  marks_.assign(raster.pixels.size(), 0);
  // Room for the largest region and its border, taken from the system only as it is used: grown
  // by doubling, a region of millions of pixels would hold two copies for a moment.
  region_.reserve(raster.pixels.size());
  borders_.reserve(raster.pixels.size());
}

bool RegionWalk::Next(Shape& shape) {
  const int width = raster_.width;
  for (; next_ < raster_.pixels.size(); ++next_) {
    if (marks_[next_] & kVisited || raster_.pixels[next_] == kNoSquare) continue;
    shape.Clear();
    shape.colour = raster_.pixels[next_];
    Fill(int(next_ % width), int(next_ / width), shape.colour);
    ++next_;
    if (region_.size() == 1) {  // a lone pixel, as in noise: a square, quickly
      const int x = region_[0].x, y = region_[0].y;
      SetRectangle(shape, x, y, 1, 1, shape.colour);
      marks_[std::size_t(y) * width + x] &= ~kCurrent;
      if (partCorners_) FindPartedCorners(shape);
      return true;
    }
    // Every loop passes an edge of the region that no loop has passed yet. Met in reading order,
    // a loop is first met at the pixel above its starting corner (the outer loop at the first
    // pixel's top edge), so the loops come in the order they are written in and need no
    // sorting, which would take a second copy of millions of holes.
    std::sort(borders_.begin(), borders_.end(),
              [](const Border& a, const Border& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    // No loop has more corners than edges, nor does the shape have more loops than a quarter of
    // them: room for all at once, rather than doubling into a second copy.
    shape.corners.reserve(edges_);
    shape.loopEnds.reserve(edges_ / 4);
    for (const Border& border : borders_) {
      const std::size_t at = std::size_t(border.y) * width + border.x;
      for (const int side : {kTop, kLeft, kBottom, kRight}) {
        if (border.sides & 1 << side && !(marks_[at] & 1 << side)) {
          Trace(border.x, border.y, side, shape);
        }
      }
    }
    for (const Pixel pixel : region_) marks_[std::size_t(pixel.y) * width + pixel.x] &= ~kCurrent;
    if (partCorners_) FindPartedCorners(shape);
    return true;
  }
  return false;
}

// Finds the region's pixels, breadth first from (x0, y0), marks them, and notes those with
// edges on the region's outline.
void RegionWalk::Fill(int x0, int y0, TColor colour) {
  const int width = raster_.width, height = raster_.height;
  region_.assign(1, {std::uint16_t(x0), std::uint16_t(y0)});
  borders_.clear();
  edges_ = 0;
  marks_[std::size_t(y0) * width + x0] |= kVisited | kCurrent;
  for (std::size_t next = 0; next < region_.size(); ++next) {
    const int x = region_[next].x, y = region_[next].y;
    int sides = 0;
    for (int side = kRight; side <= kBottom; ++side) {
      const int nx = x + kStepX[side], ny = y + kStepY[side];
      const std::size_t neighbour = std::size_t(ny) * width + nx;
      if (nx < 0 || ny < 0 || nx >= width || ny >= height || raster_.pixels[neighbour] != colour) {
        sides |= 1 << side;
      } else if (!(marks_[neighbour] & kVisited)) {
        marks_[neighbour] |= kVisited | kCurrent;
        region_.push_back({std::uint16_t(nx), std::uint16_t(ny)});
      }
    }
    if (sides) {
      borders_.push_back({std::uint16_t(x), std::uint16_t(y), std::uint8_t(sides)});
      edges_ += std::size_t(std::popcount(unsigned(sides)));
    }
  }
}

// Follows the loop through the edge on `side` of pixel (x, y), the region on its left, and
// appends its corners from its topmost, leftmost one. At each edge's end it turns right when
// the pixel ahead on the right belongs to the region (also where the region only touches
// itself at that corner: that keeps the region's pixels joined), goes straight on when the pixel
// ahead does, and turns left otherwise.
void RegionWalk::Trace(int x, int y, int side, Shape& shape) {
  const int width = raster_.width;
  const std::size_t first = shape.corners.size();
  const int startX = x, startY = y, startSide = side;
  do {
    marks_[std::size_t(y) * width + x] |= 1 << side;
    const int travel = (side + 1) & 3;
    const int aheadX = x + kStepX[travel], aheadY = y + kStepY[travel];
    const int rightX = aheadX + kStepX[side], rightY = aheadY + kStepY[side];
    if (InRegion(rightX, rightY)) {
      shape.corners.push_back({x + kEndX[side], y + kEndY[side]});
      x = rightX, y = rightY, side = (side + 3) & 3;
    } else if (InRegion(aheadX, aheadY)) {
      x = aheadX, y = aheadY;
    } else {
      shape.corners.push_back({x + kEndX[side], y + kEndY[side]});
      side = travel;
    }
  } while (x != startX || y != startY || side != startSide);

  const auto begin = shape.corners.begin() + std::ptrdiff_t(first);
  const auto start = std::min_element(begin, shape.corners.end(), [](Corner a, Corner b) {
    return a.y != b.y ? a.y < b.y : a.x < b.x;
  });
  std::rotate(begin, start, shape.corners.end());
  shape.loopEnds.push_back(std::uint32_t(shape.corners.size()));
}

void RegionWalk::FindPartedCorners(Shape& shape) const {
  const auto ofColour = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < raster_.width && y < raster_.height &&
           raster_.Pixel(x, y) == shape.colour;
  };
  for (std::size_t i = 0; i < shape.corners.size(); ++i) {
    const Corner c = shape.corners[i];
    const bool topLeft = ofColour(c.x - 1, c.y - 1), topRight = ofColour(c.x, c.y - 1);
    const bool bottomLeft = ofColour(c.x - 1, c.y), bottomRight = ofColour(c.x, c.y);
    if (topLeft == bottomRight && topRight == bottomLeft && topLeft != topRight) {
      shape.parted.push_back(std::uint32_t(i));
    }
  }
}

}  // namespace pixdraft

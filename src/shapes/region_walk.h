// The regions of a drawing: each 4-connected region of one colour (kNoSquare is none) as one
// shape, its outlines following the pixel edges exactly.
//
// Outlines: every loop separates the region from one connected part of the rest of the raster
// (other colours, pixels left out and the outside, joined only through edges, never through
// corners): the outside gives the outer loop, each enclosed part a hole. So where the region
// touches itself at a corner, its pixels stay joined there and the outline is split: the loops
// on either side of that point each turn back around their own neighbouring pixel, meet there
// and never cross. Every loop is simple: it passes no point twice.
//
// Order: regions come in the reading order of their first pixels, rows from the top, each from
// the left (the raster's own order, which keeps the walk quick). Every loop starts at its
// topmost corner, the leftmost of those; the outer loop comes first, then the holes in the
// reading order of their starting corners.
//
// Memory: a byte per pixel, four bytes per pixel of the largest region and six per pixel on its
// border, and eight per corner of its outline. Rasters are at most 65535 pixels wide and high.
#pragma once

#include <cstdint>
#include <vector>

#include "colour/raster.h"
#include "shapes/shape.h"

namespace pixdraft {

// Walks the regions of `raster`. Holds a reference to the raster, which must outlive it.
// With `partCorners`, each shape notes the corners where two pixels of its colour touch only
// diagonally (Shape::parted): the writer cuts every loop back a 32nd of a pixel along both its
// edges there, so no two loops of one colour share a point, and OpenSCAD and FreeCAD make a
// closed solid of every colour.
class RegionWalk {
 public:
  RegionWalk(const Raster& raster, bool partCorners);

  // Fills `shape` with the next region; false when every region has been walked.
  bool Next(Shape& shape);

 private:
  // Sides of a pixel, by the direction of the neighbour across them, anticlockwise as the
  // drawing shows them.
  enum Side : int { kRight, kTop, kLeft, kBottom };
  // Marks of a pixel: bits 0-3 its sides' edges are traced, and these.
  static constexpr std::uint8_t kVisited = 1 << 4;  // its region has been found
  static constexpr std::uint8_t kCurrent = 1 << 5;  // it belongs to the region being walked

  // Whether pixel (x, y) belongs to the region being walked: a pixel of its colour may belong
  // to another region when it touches this one only at a corner.
  bool InRegion(int x, int y) const {
    return x >= 0 && y >= 0 && x < raster_.width && y < raster_.height &&
           marks_[std::size_t(y) * raster_.width + x] & kCurrent;
  }
  void Fill(int x, int y, TColor colour);
  void Trace(int x, int y, int side, Shape& shape);
  // Notes the shape's corners where only two diagonal pixels are of its colour.
  void FindPartedCorners(Shape& shape) const;

  const Raster& raster_;
  const bool partCorners_;
  std::vector<std::uint8_t> marks_;
  // The region's pixels, from its first one outwards; those with edges on its outline, and
  // which of their sides those are.
  struct Pixel {
    std::uint16_t x, y;
  };
  struct Border {
    std::uint16_t x, y;
    std::uint8_t sides;
  };
  std::vector<Pixel> region_;
  std::vector<Border> borders_;
  std::size_t edges_ = 0;  // of the region's outline
  std::size_t next_ = 0;   // the next pixel of the walk to look at
};

}  // namespace pixdraft

// The shapes a drawing of shapes is made of, in the order it writes them: regions
// (region_walk.h), or squares or merged rectangles (square_walk.h) as outlines of four corners.
// The DXF export, the counts and the window's look before saving all walk them here.
#pragma once

#include "colour/raster.h"
#include "shapes/merge.h"
#include "shapes/region_walk.h"
#include "shapes/shape.h"
#include "shapes/square_walk.h"

namespace pixdraft {

// Calls `visit(const Shape&)` for each shape of `raster`; the shape is valid during the call.
// `partCorners` is for regions only (region_walk.h).
template <class Visit>
void ForEachShape(const Raster& raster, Merge merge, bool partCorners, Visit&& visit) {
  Shape shape;
  if (merge == Merge::Regions) {
    for (RegionWalk walk(raster, partCorners); walk.Next(shape);) visit(shape);
    return;
  }
  for (SquareWalk walk(raster, merge == Merge::Rectangles); !walk.Done();) {
    for (const Square& s : walk.NextColumn()) {
      SetRectangle(shape, s.x, s.y, s.width, s.height, s.colour);
      visit(shape);
    }
  }
}

}  // namespace pixdraft

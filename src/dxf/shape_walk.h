// The shapes an export of shapes writes, in its order: regions (region_walk.h) when the options
// draw them, else squares or merged rectangles (square_walk.h) as outlines of four corners. The
// export and the options dialog's look before saving both walk them here.
#pragma once

#include <cstdint>

#include "dxf/drawing_options.h"
#include "dxf/raster.h"
#include "dxf/region_walk.h"
#include "dxf/shape.h"
#include "dxf/square_walk.h"

namespace pixdraft {

// Calls `visit(const Shape&)` for each shape of `raster`; the shape is valid during the call.
template <class Visit>
void ForEachShape(const Raster& raster, const DrawingOptions& options, Visit&& visit) {
  Shape shape;
  if (options.DrawsRegions()) {
    for (RegionWalk walk(raster, options); walk.Next(shape);) visit(shape);
    return;
  }
  for (SquareWalk walk(raster, options); !walk.Done();) {
    for (const Square& s : walk.NextColumn()) {
      SetRectangle(shape, s.x, s.y, s.width, s.height, s.colour);
      visit(shape);
    }
  }
}

// The entities the export writes for `shape`: a TRACE or SOLID, a HATCH, an LWPOLYLINE per
// loop, or a HATCH and its loops' LWPOLYLINEs.
inline std::uint64_t EntitiesOf(const Shape& shape, const DrawingOptions& options) {
  switch (options.entity) {
    case EntityKind::Trace:
    case EntityKind::Solid:
      return 1;
    case EntityKind::Hatch:
      return 1 + (options.DrawsOutlines() ? shape.LoopCount() : 0);
    case EntityKind::Polyline:
      return shape.LoopCount();
  }
  return 1;
}

}  // namespace pixdraft

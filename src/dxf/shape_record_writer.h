// Writes shapes (shape.h) as outline entities: a solid-filled HATCH whose boundary paths are the
// shape's loops, the outer one first and marked external; or one closed LWPOLYLINE per loop.
// Group codes stand right-aligned in three characters, as DXF writers commonly write them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dxf/chunked_text.h"
#include "dxf/colour_index.h"
#include "dxf/drawing_options.h"
#include "dxf/grid_lines.h"
#include "dxf/layer_names.h"
#include "shapes/shape.h"

namespace pixdraft {

class ShapeRecordWriter {
 public:
  // `kind` is Hatch or Polyline. `lineBreak` follows every line and must be ASCII. With
  // `layers`, the entities are on the layers of `layerNames`, which must outlive the writer.
  ShapeRecordWriter(std::string_view lineBreak, EntityKind kind, bool colourIndex, bool layers,
                    const LayerNames& layerNames);

  // The most bytes one piece written at once takes: ChunkedText needs that much room.
  std::size_t Room() const { return 48 * (kMaxFieldLength + lineBreak_.size()); }

  // Writes the shape's entities with handles from `handle` on and returns the next handle.
  std::int32_t Write(ChunkedText& out, const Shape& shape, const GridLines& grid,
                     std::int32_t handle);

  // Fixed lines, joined once with the line break, padded for block copies.
  struct Piece {
    std::string text;
    std::size_t size = 0;
  };

 private:
  // `lines` separated by '\n' as a piece. A piece that follows a field begins with that field's
  // line break.
  Piece Join(std::string_view lines) const;
  char* Head(char* out, std::int32_t handle, TColor colour);
  // Loop i's corners, a parted one as its two points beside it; and how many points that makes.
  void Corners(ChunkedText& out, const Shape& shape, std::size_t i, const GridLines& grid) const;
  static std::size_t PointCount(const Shape& shape, std::size_t i);
  void Point(ChunkedText& out, const FieldText& x, const FieldText& y) const;

  const std::string lineBreak_;
  const EntityKind kind_;
  const bool colourIndex_, layers_;
  // The entity up to its handle; after it up to the layer; after the layer up to the colour
  // index or the true colour; after the colour index up to the true colour; after the true
  // colour up to the first count (loops of a HATCH, corners of an LWPOLYLINE).
  Piece start_, afterHandle_, layerZero_, afterLayer_, afterIndex_, afterColour_;
  // Before an outer and an inner loop's corner count; after it; after a loop's last corner
  // (HATCH), or after the corner count (LWPOLYLINE); closing the entity (HATCH).
  Piece outerPath_, innerPath_, afterCount_, afterCorners_, end_;
  // Around a corner's coordinates.
  Piece beforeX_, beforeY_, afterY_;
  ColourIndexCache indices_;
  const LayerNames& layerNames_;
};

}  // namespace pixdraft

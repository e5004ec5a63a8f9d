// Writes shapes (shape.h) as outline entities: a solid-filled HATCH whose boundary paths are the
// shape's loops, the outer one first and marked external; or one closed LWPOLYLINE per loop.
// Group codes stand right-aligned in three characters, as DXF writers commonly write them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chunked_text.h"
#include "colour_index.h"
#include "drawing_options.h"
#include "grid_lines.h"
#include "shape.h"

namespace pixdraft {

class ShapeRecordWriter {
 public:
  // `kind` is Hatch or Polyline. `lineBreak` follows every line and must be ASCII.
  ShapeRecordWriter(std::string_view lineBreak, EntityKind kind, bool colourIndex, bool layers);

  // The most bytes one piece written at once takes: ChunkedText needs that much room.
  std::size_t Room() const { return 40 * (kMaxFieldLength + lineBreak_.size()); }

  // Writes the shape's entities with handles from `handle` on and returns the next handle.
  std::int32_t Write(ChunkedText& out, const Shape& shape, const GridLines& grid,
                     std::int32_t handle);

 private:
  // Writes the lines of `literal`, each followed by the line break; `literal` separates them
  // with '\n'.
  char* Lines(char* out, std::string_view literal) const;
  char* Line(char* out, std::string_view text) const;
  char* Head(char* out, std::string_view type, std::int32_t handle, TColor colour);
  char* Corners(ChunkedText& out, std::span<const Corner> loop, const GridLines& grid) const;

  const std::string lineBreak_;
  const EntityKind kind_;
  const bool colourIndex_, layers_;
  ColourIndexCache indices_;
};

}  // namespace pixdraft

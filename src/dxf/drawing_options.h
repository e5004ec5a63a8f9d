// How a working raster becomes a drawing: the size of its squares, which squares are left out
// and whether squares of one colour are merged. The defaults give one unit square per pixel.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/pixel_size.h"
#include "dxf/raster.h"

namespace pixdraft {

// The entity each shape becomes. Trace and Solid fill a square or rectangle with four corners;
// Hatch fills a shape's outline, holes left open; Polyline draws the outline only, one closed
// LWPOLYLINE per loop.
enum class EntityKind { Trace, Solid, Hatch, Polyline };

// The unit of one drawing unit, as the header's $INSUNITS names it.
enum class Units { Millimetres, Centimetres, Metres, Inches, Feet };

// Where the drawing's origin lies: at the top-left corner of the raster's top row, whose squares
// span y 0 to 1 and the picture going down to negative y; or at the raster's lower-left corner,
// every square at x, y >= 0.
enum class Origin { TopLeft, BottomLeft };

// A colour with a name of the user's, such as a palette's "orange tile".
struct NamedColour {
  TColor colour = 0;
  std::string name;
  bool operator==(const NamedColour&) const = default;
};

struct DrawingOptions {
  PixelSize pixelSize = {};
  // Squares of these colours are left out of the drawing.
  std::vector<TColor> leftOutColours = {};
  // The background is left out once the colours are reduced (background.h).
  bool leaveOutBackground = false;
  // Squares of one colour that together form a rectangle become one entity (square_walk.h).
  bool merge = false;
  // Each 4-connected region of one colour becomes one shape (see region_walk.h), instead of
  // `merge`; for Hatch and Polyline only: Trace and Solid draw squares whatever it says.
  bool regions = false;
  EntityKind entity = EntityKind::Trace;
  // Every entity and layer also carries the nearest AutoCAD Colour Index (colour_index.h).
  bool colourIndex = false;
  // Every colour on a layer of its own (layer_table.h).
  bool layers = false;
  // The layers of these colours carry their names, made fit for DXF (layer_names.h).
  std::vector<NamedColour> colourNames = {};
  // Written to the header's $INSUNITS and $MEASUREMENT; without it the header is left alone.
  std::optional<Units> units = {};
  Origin origin = Origin::TopLeft;
  // Regions only: where two pixels of one colour touch only at a corner, each loop through that
  // corner is cut back a 32nd of a pixel along both its edges there, so no two loops of one
  // colour share a point. OpenSCAD and FreeCAD then make a closed solid of every colour; regions
  // that touched come apart, a region that touched itself gains a bridge.
  bool partCorners = false;
  // Hatch only: each HATCH is followed by its loops as closed LWPOLYLINEs on its layer and in its
  // colour, so that readers that skip HATCH (dxf-parser, dxf, JSCAD) still draw the outlines.
  bool outlines = false;

  // Whether shapes are regions: asked for, and drawn as outlines.
  bool DrawsRegions() const {
    return regions && (entity == EntityKind::Hatch || entity == EntityKind::Polyline);
  }
  bool DrawsOutlines() const { return outlines && entity == EntityKind::Hatch; }
};

// Reads a colour written RRGGBB in hexadecimal, in either case, "#" optional: "FF8000" is orange.
// Nothing for any other text.
std::optional<TColor> ParseColour(std::string_view text);

// The names the command line gives: "trace", "solid", "hatch", "polyline"; "mm", "cm", "m",
// "in", "ft"; "top-left", "bottom-left". Nothing for any other text.
std::optional<EntityKind> ParseEntityKind(std::string_view text);
std::optional<Units> ParseUnits(std::string_view text);
std::optional<Origin> ParseOrigin(std::string_view text);

}  // namespace pixdraft

// How a working raster becomes a drawing: the size of its squares, how squares of one colour are
// merged and the entities they become, layers, units and origin. The defaults give one unit
// square per pixel, as TRACE.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "colour/raster.h"
#include "dxf/layer_names.h"
#include "dxf/pixel_size.h"
#include "shapes/merge.h"

namespace pixdraft {

// The entity each shape becomes. Trace and Solid fill a square or rectangle with four corners;
// Hatch fills a shape's outline, holes left open; Polyline draws the outline only, one closed
// LWPOLYLINE per loop.
enum class EntityKind { Trace, Solid, Hatch, Polyline };

// A unit of the header's $INSUNITS: its name on the command line and in the counts' heading, its
// code, and whether $MEASUREMENT calls it metric.
struct Unit {
  std::string_view name;
  int insUnits;
  bool metric;
  bool operator==(const Unit&) const = default;
};
inline constexpr Unit kUnits[] = {
    {"mm", 4, true}, {"cm", 5, true}, {"m", 6, true}, {"in", 1, false}, {"ft", 2, false}};

// Where the drawing's origin lies: at the top-left corner of the raster's top row, whose squares
// span y 0 to 1 and the picture going down to negative y; or at the raster's lower-left corner,
// every square at x, y >= 0.
enum class Origin { TopLeft, BottomLeft };

struct DrawingOptions {
  PixelSize pixelSize = {};
  // Squares of these colours, and of the plain background (background.h), are left out: both are
  // applied to the raster before it is drawn (ReduceColours, LeaveOutBackground), so the drawing
  // itself only leaves out kNoSquare.
  std::vector<TColor> leftOutColours = {};
  bool leaveOutBackground = false;
  // Rectangles for any entity, regions for Hatch and Polyline only (DrawingOptionsProblem).
  Merge merge = Merge::None;
  EntityKind entity = EntityKind::Trace;
  // Every entity and layer also carries the nearest AutoCAD Colour Index (colour_index.h).
  bool colourIndex = false;
  // Every colour on a layer of its own (layer_table.h).
  bool layers = false;
  // The names of colours, and their layers' made fit for DXF (layer_names.h): made once, for the
  // drawing and its counts.
  LayerNames layerNames = {};
  // Written to the header's $INSUNITS and $MEASUREMENT; without it the header is left alone.
  std::optional<Unit> units = {};
  Origin origin = Origin::TopLeft;
  // Regions only: loops parted where pixels of one colour touch at a corner (region_walk.h).
  bool partCorners = false;
  // Hatch only: each HATCH is followed by its loops as closed LWPOLYLINEs on its layer and in its
  // colour, so that readers that skip HATCH (dxf-parser, dxf, JSCAD) still draw the outlines.
  bool outlines = false;
};

// Why the options cannot be drawn together, in the words of the command line, which sets them:
// "--outlines needs --entity hatch". Nothing when they can. The export refuses what this refuses,
// so the converter's refusal and the drawing never disagree.
std::optional<std::string> DrawingOptionsProblem(const DrawingOptions& options);

// Options that cannot be drawn together, with DrawingOptionsProblem's words.
class EDrawingOptions : public Exception {
 public:
  using Exception::Exception;
};

// Throws EDrawingOptions when DrawingOptionsProblem finds a problem.
void CheckDrawingOptions(const DrawingOptions& options);

// The names the command line gives: "trace", "solid", "hatch", "polyline"; a unit of kUnits;
// "top-left", "bottom-left". Nothing for any other text.
std::optional<EntityKind> ParseEntityKind(std::string_view text);
std::optional<Unit> ParseUnit(std::string_view text);
std::optional<Origin> ParseOrigin(std::string_view text);

}  // namespace pixdraft

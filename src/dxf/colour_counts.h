// The bill of materials of a drawing: for each colour drawn, how many squares (pixels) and how
// many entities the export writes, and their area, as CSV for buying and checking. Not DXF text:
// it sits here, above the shapes and beside the layer names it lists, until the conversion has
// a room of its own.
#pragma once

#include <cstdint>
#include <vector>

#include "base/byte_sink.h"
#include "base/errors.h"
#include "colour/raster.h"
#include "dxf/drawing_options.h"
#include "shapes/shape.h"

namespace pixdraft {

// A drawing of more colours than kMaxLayers: no bill to buy by.
class ETooManyColoursToCount : public Exception {
 public:
  ETooManyColoursToCount();
};

struct ColourCount {
  TColor colour = 0;
  std::uint64_t squares = 0, entities = 0;
  bool operator==(const ColourCount&) const = default;
};

// The entities the export writes for `shape`: a TRACE or SOLID, a HATCH, an LWPOLYLINE per
// loop, or a HATCH and its loops' LWPOLYLINEs.
std::uint64_t EntitiesOf(const Shape& shape, const DrawingOptions& options);

// The colours `options` draw of `raster`, in the order of their layers (RRGGBB), with the
// squares they cover and the entities the export writes for them: squares or rectangles, one
// HATCH per region, or one LWPOLYLINE per outline loop. Throws ETooManyColoursToCount, and
// EDrawingOptions as the export does.
std::vector<ColourCount> CountColours(const Raster& raster, const DrawingOptions& options);

// Writes the counts as CSV (RFC 4180 quoting, LF line ends): a heading line, then a line per
// colour, "colour,name,layer,squares,entities,area": RRGGBB, its name in `options`, its layer
// (0 without layers), the counts and the area in square drawing units, an exact decimal; the
// heading names the unit when there is one ("area_mm2"). Last a line "total" with the sums.
void WriteCountsCsv(ByteSink& sink, const std::vector<ColourCount>& counts,
                    const DrawingOptions& options);

}  // namespace pixdraft

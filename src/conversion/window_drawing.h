// The window's drawings: its picture is fitted once with its transparent pixels left out, and
// every save and every look before saving makes from that raster the one the chosen options
// draw, so a new choice needs no second decode.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "conversion/drawing_choice.h"
#include "dxf/dxf_export.h"
#include "picture/fit.h"
#include "shapes/shape.h"

namespace pixdraft {

// How the window fits a picture: at most 256 x 256, transparent pixels left out (kNoSquare).
FitOptions WindowFit();

// The raster `options` draw of `fitted` (fitted by WindowFit): transparent pixels white unless
// left out, then the colours reduced and the background left out as a conversion does.
Raster RasterFor(const Raster& fitted, const ConversionOptions& options);

// The counts beside a DXF: "cat.dxf" -> "cat.counts.csv".
std::string CountsPathFor(const std::string& dxfPath);

struct SavedDrawing {
  std::string dxfPath;
  std::optional<std::string> countsPath;
};

// Writes the drawing `choice` asks for beside `picturePath`, and its counts beside the drawing
// when it asks for them, with the guarantees of any save: the counts are made before the
// drawing is written and put in place after it, so a refused or failed drawing leaves neither,
// and neither ever replaces the picture or the other. Throws as OptionsFor, ExportDxf and
// CountColours.
SavedDrawing SaveBeside(const Raster& fitted, const std::string& picturePath,
                        const TemplatePaths& templates, const DrawingChoice& choice);

// The drawing as the export makes it: the colours drawn (kNoSquare where nothing is) and the
// outline loops of every shape it writes, from the export's own shape walk, with the number of
// entities written.
struct DrawingPreview {
  Raster raster;
  std::vector<Corner> corners;          // every loop's corners, one loop after another
  std::vector<std::uint32_t> loopEnds;  // where each loop ends in `corners`
  std::uint64_t entities = 0;
};
DrawingPreview PreviewOf(const Raster& fitted, const ConversionOptions& options);

}  // namespace pixdraft

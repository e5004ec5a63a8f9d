// What the header must know of a drawing before its entities are written: where its drawn
// pixels lie and, for one layer per colour, which colours it has. One pass over the raster.
#pragma once

#include <cstdint>
#include <vector>

#include "colour/raster.h"
#include "dxf/drawing_options.h"

namespace pixdraft {

struct DrawingSurvey {
  std::uint64_t drawnPixels = 0;
  // The pixels' bounding box: columns left to right - 1, rows top to bottom - 1. Empty (all 0)
  // when no pixel is drawn.
  int left = 0, top = 0, right = 0, bottom = 0;
  // The drawn colours in the order of their layers' names (red, then green, then blue); only
  // with layers.
  std::vector<TColor> colours;
};

// Surveys the pixels `options` draw. With layers, throws ETooManyColours as soon as more than
// kMaxLayers colours are found.
DrawingSurvey SurveyDrawing(const Raster& raster, const DrawingOptions& options);

}  // namespace pixdraft

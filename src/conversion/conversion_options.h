// Everything a conversion may be asked to do differently from the window's default: how the
// picture is fitted into the working raster, its colours reduced, and how the raster is drawn.
#pragma once

#include "colour/colour_reduction.h"
#include "dxf/drawing_options.h"
#include "picture/fit.h"

namespace pixdraft {

struct ConversionOptions {
  FitOptions fit;
  ColourReduction reduction;  // after fitting, in this process: the helper only decodes
  DrawingOptions drawing;
};

}  // namespace pixdraft

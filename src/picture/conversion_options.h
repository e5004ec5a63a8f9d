// Everything a conversion may be asked to do differently from the window's default: how the
// picture is fitted into the working raster, and how the raster is drawn.
#pragma once

#include "dxf/drawing_options.h"
#include "picture/fit.h"

namespace pixdraft {

struct ConversionOptions {
  FitOptions fit;
  DrawingOptions drawing;
};

}  // namespace pixdraft

// Between Qt's pictures and the working raster: a decoded QImage fitted (picture/fit.h), and a
// raster as an image to show.
#pragma once

#include <QImage>

#include "colour/raster.h"
#include "picture/fit.h"

namespace pixdraft {

// The working raster for `picture`, as FitRows makes it, every pixel taken as 8-bit straight RGBA
// whatever its format. Throws EInvalidGraphic for a null image, EOutOfMemory when a conversion
// finds no memory.
Raster FitPicture(const QImage& picture, const FitOptions& options = {});

// The raster as an image the window can show (Format_RGB32; null for an empty raster). Pixels
// left out show white, as they would without leaving them out.
QImage RasterToImage(const Raster& raster);

}  // namespace pixdraft

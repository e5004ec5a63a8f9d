// Fitting a decoded picture into the working raster of at most 256 x 256 pixels.
#pragma once

#include <QImage>

#include "raster.h"

namespace pixdraft {

// The largest side of the working raster.
constexpr int kMaxRasterSide = 256;

// The working raster for `picture`: copied 1:1 when neither side exceeds 256, else sampled to
// exactly 256 x 256 by nearest neighbour (aspect ratio not kept). Every pixel, taken as 8-bit
// straight RGBA whatever its format, is composited over white by its alpha:
// p = round(c * a / 255), channel = p + 255 - a. Throws EInvalidGraphic for a null image.
Raster FitPicture(const QImage& picture);

// The raster as an image the window can show (Format_RGB32; null for an empty raster).
QImage RasterToImage(const Raster& raster);

}  // namespace pixdraft

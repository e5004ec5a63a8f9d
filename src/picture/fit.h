// Fitting a decoded picture into the working raster, by default at most 256 x 256 pixels.
#pragma once

#include <QImage>
#include <QSize>

#include "colour/raster.h"

namespace pixdraft {

// The largest side of the working raster by default, and the largest one may ask for.
constexpr int kMaxRasterSide = 256;
constexpr int kLargestRasterSide = 4096;

struct FitOptions {
  // The working raster's largest side, 1 to kLargestRasterSide (others are taken as the nearest).
  int side = kMaxRasterSide;
  // A larger picture keeps its proportions instead of filling side x side.
  bool keepAspect = false;
  // Pixels whose alpha is 0 become kNoSquare instead of white.
  bool leaveOutTransparent = false;
};

// The working raster's size for a picture of `width` x `height`: the picture's own when neither
// side exceeds options.side; else side x side, or with keepAspect the longer side `side` and the
// shorter max(1, round(side * shorter / longer)), halves rounded up.
QSize FittedSize(int width, int height, const FitOptions& options = {});

// The working raster for `picture`, of FittedSize: copied 1:1 when it fits, else sampled by
// nearest neighbour, each raster pixel taking the source pixel under its centre, each axis on its
// own. Every pixel, taken as 8-bit straight RGBA whatever its format, is composited over white
// by its alpha: p = round(c * a / 255), channel = p + 255 - a. Throws EInvalidGraphic for a null
// image, EOutOfMemory when a conversion finds no memory.
Raster FitPicture(const QImage& picture, const FitOptions& options = {});

// The raster as an image the window can show (Format_RGB32; null for an empty raster). Pixels
// left out show white, as they would without leaving them out.
QImage RasterToImage(const Raster& raster);

}  // namespace pixdraft

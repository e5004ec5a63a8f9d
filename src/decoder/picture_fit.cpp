#include "decoder/picture_fit.h"

#include "base/errors.h"

namespace pixdraft {
namespace {

QImage ToStraightRgba(const QImage& image) {
  QImage converted = image.convertToFormat(QImage::Format_RGBA8888);
  if (converted.isNull()) throw EOutOfMemory();
  return converted;
}

}  // namespace

Raster FitPicture(const QImage& picture, const FitOptions& options) {
  if (picture.isNull()) throw EInvalidGraphic();
  const int width = picture.width();
  const int height = picture.height();
  const RasterSize fitted = FittedSize(width, height, options);
  if (fitted == RasterSize{width, height}) {
    const QImage rgba = ToStraightRgba(picture);
    return FitRows(
        width, height, [&](int y) { return rgba.constScanLine(y); }, options);
  }
  // Only the sampled rows are converted: a large picture costs one row of conversion per raster
  // row, not its whole area.
  QImage row;
  return FitRows(
      width, height,
      [&](int y) {
        row = ToStraightRgba(picture.copy(0, y, width, 1));
        return row.constScanLine(0);
      },
      options);
}

QImage RasterToImage(const Raster& raster) {
  if (raster.width <= 0 || raster.height <= 0) return {};
  QImage image(raster.width, raster.height, QImage::Format_RGB32);
  if (image.isNull()) throw EOutOfMemory();
  for (int y = 0; y < raster.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < raster.width; ++x) {
      const TColor colour = raster.Pixel(x, y);
      line[x] = colour == kNoSquare ? qRgb(255, 255, 255)
                                    : qRgb(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    }
  }
  return image;
}

}  // namespace pixdraft

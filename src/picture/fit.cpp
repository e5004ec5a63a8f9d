#include "picture/fit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/errors.h"

namespace pixdraft {
namespace {

// Over white, in integers so the result is the same to the bit everywhere:
// p = round(c * a / 255), rounded half up; channel = p + 255 - a.
inline int OverWhite(int channel, int alpha) {
  return (channel * alpha * 2 + 255) / 510 + 255 - alpha;
}

// One pixel of a Format_RGBA8888 scanline (bytes R, G, B, A, straight alpha).
inline TColor Composite(const uchar* rgba, bool leaveOutTransparent) {
  const int alpha = rgba[3];
  if (alpha == 0 && leaveOutTransparent) return kNoSquare;
  return RGB(OverWhite(rgba[0], alpha), OverWhite(rgba[1], alpha), OverWhite(rgba[2], alpha));
}

// Centre sampling: raster index i of `target` covers source span [i, i + 1) * size / target,
// whose middle is (2i + 1) * size / (2 * target); the pixel holding that point is its floor. In
// 64 bits, as (2i + 1) * size passes 2^31 for large pictures.
inline int SourceIndex(int i, int size, int target) {
  return int((2 * std::int64_t(i) + 1) * size / (2 * std::int64_t(target)));
}

QImage ToStraightRgba(const QImage& image) {
  QImage converted = image.convertToFormat(QImage::Format_RGBA8888);
  if (converted.isNull()) throw EOutOfMemory();
  return converted;
}

}  // namespace

QSize FittedSize(int width, int height, const FitOptions& options) {
  // A side out of range would make an empty raster or divide by zero: take the nearest valid.
  const int side = std::clamp(options.side, 1, kLargestRasterSide);
  if (width <= side && height <= side) return {width, height};
  if (!options.keepAspect) return {side, side};
  const std::int64_t longer = std::max(width, height), shorter = std::min(width, height);
  const int fitted = int(std::max<std::int64_t>(1, (2 * side * shorter + longer) / (2 * longer)));
  return width >= height ? QSize(side, fitted) : QSize(fitted, side);
}

Raster FitPicture(const QImage& picture, const FitOptions& options) {
  if (picture.isNull()) throw EInvalidGraphic();
  const int width = picture.width();
  const int height = picture.height();
  const bool leaveOut = options.leaveOutTransparent;
  const QSize fitted = FittedSize(width, height, options);

  if (fitted == picture.size()) {
    const QImage rgba = ToStraightRgba(picture);
    Raster raster(width, height);
    for (int y = 0; y < height; ++y) {
      const uchar* line = rgba.constScanLine(y);
      for (int x = 0; x < width; ++x) raster.SetPixel(x, y, Composite(line + 4 * x, leaveOut));
    }
    return raster;
  }

  // Only the sampled rows are converted, and only the sampled pixels composited: a large picture
  // costs one row of conversion per raster row, not its whole area.
  std::vector<int> columns(fitted.width());
  for (int i = 0; i < fitted.width(); ++i) columns[i] = SourceIndex(i, width, fitted.width());
  Raster raster(fitted.width(), fitted.height());
  int convertedRow = -1;
  QImage row;
  for (int y = 0; y < fitted.height(); ++y) {
    const int sourceRow = SourceIndex(y, height, fitted.height());
    if (sourceRow != convertedRow) {
      row = ToStraightRgba(picture.copy(0, sourceRow, width, 1));
      convertedRow = sourceRow;
    }
    const uchar* line = row.constScanLine(0);
    for (int x = 0; x < fitted.width(); ++x) {
      raster.SetPixel(x, y, Composite(line + 4 * columns[x], leaveOut));
    }
  }
  return raster;
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

#include "fit.h"

#include <array>
#include <cstdint>

#include "errors.h"

namespace pixdraft {
namespace {

// Over white, in integers so the result is the same to the bit everywhere:
// p = round(c * a / 255), rounded half up; channel = p + 255 - a.
inline int OverWhite(int channel, int alpha) {
  return (channel * alpha * 2 + 255) / 510 + 255 - alpha;
}

// One pixel of a Format_RGBA8888 scanline (bytes R, G, B, A, straight alpha).
inline TColor Composite(const uchar* rgba) {
  const int alpha = rgba[3];
  return RGB(OverWhite(rgba[0], alpha), OverWhite(rgba[1], alpha), OverWhite(rgba[2], alpha));
}

// Centre sampling: raster index i covers source span [i, i + 1) * size / 256, whose middle is
// (2i + 1) * size / 512; the pixel holding that point is its floor. In 64 bits, as 511 * size
// passes 2^31 for sides from 4.2 million on.
inline int SourceIndex(int i, int size) {
  return int((2 * std::int64_t(i) + 1) * size / (2 * kMaxRasterSide));
}

QImage ToStraightRgba(const QImage& image) {
  QImage converted = image.convertToFormat(QImage::Format_RGBA8888);
  if (converted.isNull()) throw EOutOfMemory();
  return converted;
}

}  // namespace

Raster FitPicture(const QImage& picture) {
  if (picture.isNull()) throw EInvalidGraphic();
  const int width = picture.width();
  const int height = picture.height();

  if (width <= kMaxRasterSide && height <= kMaxRasterSide) {
    const QImage rgba = ToStraightRgba(picture);
    Raster raster(width, height);
    for (int y = 0; y < height; ++y) {
      const uchar* line = rgba.constScanLine(y);
      for (int x = 0; x < width; ++x) raster.SetPixel(x, y, Composite(line + 4 * x));
    }
    return raster;
  }

  // Only the sampled rows are converted, and only the sampled pixels composited: a large picture
  // costs 256 rows of conversion, not its whole area.
  std::array<int, kMaxRasterSide> columns;
  for (int i = 0; i < kMaxRasterSide; ++i) columns[i] = SourceIndex(i, width);
  Raster raster(kMaxRasterSide, kMaxRasterSide);
  int convertedRow = -1;
  QImage row;
  for (int y = 0; y < kMaxRasterSide; ++y) {
    const int sourceRow = SourceIndex(y, height);
    if (sourceRow != convertedRow) {
      row = ToStraightRgba(picture.copy(0, sourceRow, width, 1));
      convertedRow = sourceRow;
    }
    const uchar* line = row.constScanLine(0);
    for (int x = 0; x < kMaxRasterSide; ++x)
      raster.SetPixel(x, y, Composite(line + 4 * columns[x]));
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
      line[x] = qRgb(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    }
  }
  return image;
}

}  // namespace pixdraft

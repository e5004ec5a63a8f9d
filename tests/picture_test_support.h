// Pictures for the picture-layer tests: written to real files with Qt's own encoders, with
// colours that tell which source pixel a raster pixel came from.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cstdint>
#include <string>

#include "base/errors.h"
#include "colour/raster.h"

namespace pixdraft {

// Writes `image` to `path` in `format` ("png", "jpeg", ...), whatever the file is named.
inline void WritePicture(const std::string& path, const QImage& image, const char* format,
                         int quality = 100) {
  QImageWriter writer(QString::fromStdString(path), format);
  writer.setQuality(quality);
  ASSERT_TRUE(writer.write(image)) << writer.errorString().toStdString();
}

// Skips the test where this Qt has no reader and writer for `format` (the Windows build has no
// TIFF or WebP).
#define SKIP_WITHOUT_FORMAT(format)                              \
  if (!QImageReader::supportedImageFormats().contains(format) || \
      !QImageWriter::supportedImageFormats().contains(format))   \
  GTEST_SKIP() << "this Qt reads no " << (format)

inline QImage Solid(int width, int height, QRgb colour,
                    QImage::Format format = QImage::Format_ARGB32) {
  QImage image(width, height, format);
  image.fill(colour);
  return image;
}

// Each pixel's colour spells its coordinates, for sides up to 4096: red and green are the low
// bytes of x and y, blue their high nibbles.
inline TColor CoordinateColour(int x, int y) {
  return RGB(x & 0xFF, y & 0xFF, (x >> 8) | (y >> 8) << 4);
}

inline QImage CoordinatePicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const TColor c = CoordinateColour(x, y);
      image.setPixel(x, y, qRgb(c & 0xFF, c >> 8 & 0xFF, c >> 16));
    }
  }
  return image;
}

// The message of the pixdraft::Exception `action` throws, or "no error".
template <typename Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const Exception& error) {
    return error.what();
  }
  return "no error";
}

// Bytes of a PNG chunk: length, type, data and the CRC-32 that libpng checks.
inline std::string PngChunk(const std::string& type, const std::string& data) {
  std::string chunk;
  for (int shift = 24; shift >= 0; shift -= 8) chunk += char(data.size() >> shift & 0xFF);
  const std::string body = type + data;
  std::uint32_t crc = 0xFFFFFFFF;
  for (const char byte : body) {
    crc ^= std::uint8_t(byte);
    for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xEDB88320 & -(crc & 1));
  }
  crc ^= 0xFFFFFFFF;
  chunk += body;
  for (int shift = 24; shift >= 0; shift -= 8) chunk += char(crc >> shift & 0xFF);
  return chunk;
}

inline std::string BigEndian32(std::uint32_t value) {
  return {char(value >> 24), char(value >> 16 & 0xFF), char(value >> 8 & 0xFF), char(value & 0xFF)};
}

// A PNG of 8-bit samples (`colourType` 0 grey, 6 RGBA) whose pixel data is `zlibStream`, the
// filtered rows compressed; an empty stream stops right after the header.
inline std::string HandMadePng(std::uint32_t width, std::uint32_t height, char colourType,
                               const std::string& zlibStream) {
  // 8 bits per sample, deflate, no filter method, no interlace.
  const std::string header =
      BigEndian32(width) + BigEndian32(height) + '\x08' + colourType + std::string(3, '\0');
  return "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", header) + PngChunk("IDAT", zlibStream) +
         PngChunk("IEND", "");
}

}  // namespace pixdraft

// Feeds arbitrary bytes through decoding and fitting. Our own errors (invalid picture, too large)
// are expected answers; a crash, a leak or undefined behaviour is a finding.
#include <QBuffer>
#include <QByteArray>
#include <QtGlobal>
#include <cstdint>
#include <cstdlib>

#include "base/errors.h"
#include "decoder/picture_file.h"
#include "decoder/picture_fit.h"

using namespace pixdraft;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Keeps each input's cost bounded: a header may declare any size, and the default limit would
  // let one input take gigabytes.
  SetPictureMemoryLimit(64);
  // Decoders warn about every broken input; the fuzzer's own output is what matters.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  try {
    const QImage picture = LoadPictureStream(buffer);
    const Raster raster = FitPicture(picture);
    const bool small = picture.width() <= kMaxRasterSide && picture.height() <= kMaxRasterSide;
    const int width = small ? picture.width() : kMaxRasterSide;
    const int height = small ? picture.height() : kMaxRasterSide;
    if (raster.width != width || raster.height != height ||
        raster.pixels.size() != std::size_t(width) * height) {
      std::abort();
    }
    for (const TColor colour : raster.pixels) {
      if (colour > 0xFFFFFF) std::abort();
    }

    // The fit options, chosen by the input's size: the raster has FittedSize, and only pixels
    // left out on purpose are no colour.
    const FitOptions options{int(1 + size % 300), size % 2 == 0, size % 3 == 0};
    const Raster fitted = FitPicture(picture, options);
    const RasterSize expected = FittedSize(picture.width(), picture.height(), options);
    if (fitted.width != expected.width || fitted.height != expected.height ||
        fitted.pixels.size() != std::size_t(fitted.width) * fitted.height) {
      std::abort();
    }
    for (const TColor colour : fitted.pixels) {
      if (colour > 0xFFFFFF && !(colour == kNoSquare && options.leaveOutTransparent)) std::abort();
    }
  } catch (const Exception&) {
  }
  return 0;
}

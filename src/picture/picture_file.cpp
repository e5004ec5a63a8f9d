#include "picture_file.h"

#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <mutex>
#include <new>

#include "errors.h"
#include "file_io.h"

namespace pixdraft {
namespace {

std::once_flag limitChosen;

// Qt's own default (128 MB in 6.4) refuses a 16000 x 16000 picture; half the machine's memory still
// leaves room for the rest of the program.
int DefaultLimitMegabytes() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return 4096;
  const std::int64_t half = std::int64_t(pages) * pageSize / 2 >> 20;
  return int(std::clamp<std::int64_t>(half, 256, INT_MAX));
}

void ChooseDefaultLimit() {
  std::call_once(limitChosen, [] { QImageReader::setAllocationLimit(DefaultLimitMegabytes()); });
}

// Decoders report a refused or failed allocation as a plain read failure. Tells it apart from
// corrupt content by the size the header declared, at 8 bytes a pixel (16 bits a channel, the
// deepest common frame): more than the limit, or more than the system gives us now. The
// decoder's own idea of the format is not asked for: some leave it unset on a broken header.
bool TooLargeForMemory(QSize declared) {
  if (declared.isEmpty()) return false;
  const std::int64_t bytes = std::int64_t(declared.width()) * declared.height() * 8;
  const std::int64_t limit = std::int64_t(QImageReader::allocationLimit()) << 20;
  if (limit > 0 && bytes > limit) return true;
  return QImage(declared, QImage::Format_RGBA64).isNull();
}

}  // namespace

void SetPictureMemoryLimit(int megabytes) {
  std::call_once(limitChosen, [] {});
  QImageReader::setAllocationLimit(megabytes);
}

QImage LoadPictureFile(const std::string& path) {
  try {
    const std::string bytes = ReadWholeFile(path);
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return LoadPictureStream(buffer);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory();
  }
}

QImage LoadPictureStream(QIODevice& stream) {
  ChooseDefaultLimit();
  try {
    if (stream.isOpen() && !stream.isSequential()) stream.seek(0);
    // A device without a file name: the content alone picks the decoder.
    QImageReader reader(&stream);
    reader.setAutoTransform(false);
    // Asked before reading, while the decoder still sits at the header.
    const QSize declared = reader.size();
    QImage image;
    if (reader.read(&image) && !image.isNull()) return image;
    if (reader.error() != QImageReader::UnsupportedFormatError && TooLargeForMemory(declared)) {
      throw EOutOfMemory();
    }
    throw EInvalidGraphic();
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory();
  }
}

}  // namespace pixdraft

#include "picture_file.h"

#include <QImageReader>
#include <atomic>
#include <cstdint>
#include <new>

#include "decoder_messages.h"
#include "errors.h"
#include "picture_device.h"
#include "readable_file.h"

namespace pixdraft {
namespace {

std::atomic<int> limitMegabytes = 1024;

// The bytes of a frame of `size` in `format`; 32 bits a pixel when the decoder does not say.
std::int64_t FrameBytes(QSize size, QImage::Format format) {
  if (size.isEmpty()) return 0;
  const int depth =
      format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
  const std::int64_t bytesPerLine = (std::int64_t(size.width()) * depth + 31) / 32 * 4;
  return bytesPerLine * size.height();
}

// Decoders report a refused or failed allocation as a plain read failure. Qt says when its
// allocation limit refused the frame (a decoder may need a deeper format than it announced);
// otherwise the frame is too large when the system cannot give that much memory now.
bool RanOutOfMemory(const DecoderMessages& messages, QSize declared, QImage::Format format) {
  if (messages.Mention(u"allocation limit")) return true;
  if (declared.isEmpty()) return false;
  return QImage(declared, format == QImage::Format_Invalid ? QImage::Format_ARGB32 : format)
      .isNull();
}

// The format the decoder announces for the frame. Some leave it unset on a broken file and
// answer whatever memory held: a value out of range counts as none.
QImage::Format DeclaredFormat(const QImageReader& reader) {
  const int format = reader.imageFormat();
  return format > QImage::Format_Invalid && format < QImage::NImageFormats ? QImage::Format(format)
                                                                           : QImage::Format_Invalid;
}

QImage DecodeFirstFrame(PictureDevice& device) {
  DecoderMessages messages;
  QImageReader::setAllocationLimit(limitMegabytes);
  // A device without a file name: the content alone picks the decoder.
  QImageReader reader(&device);
  reader.setAutoTransform(false);
  const QByteArray format = reader.format();  // asked after the read, it reads again at the end
  // Asked before reading, while the decoder still sits at the header: a bomb of a few hundred
  // bytes that declares gigabytes is refused before any of them is taken.
  const QSize declared = reader.size();
  const QImage::Format declaredFormat = DeclaredFormat(reader);
  if (FrameBytes(declared, declaredFormat) > std::int64_t(limitMegabytes) << 20) {
    throw EOutOfMemory();
  }
  device.ClearReadNotes();
  QImage image;
  const bool read = reader.read(&image);
  if (device.ReadFailed()) throw EReadError();
  // Data that ends before the frame does. Most decoders then fail; some asked past the end and
  // go on; the BMP reader stops at the first short row without a word; libjpeg only warns and
  // fills the rest with grey.
  const bool cutShort = device.ReadAtEnd() || (device.ReadShort() && format == "bmp") ||
                        messages.Mention(u"premature end");
  if (read && !image.isNull() && !cutShort) return image;
  if (!cutShort && RanOutOfMemory(messages, declared, declaredFormat)) throw EOutOfMemory();
  throw EInvalidGraphic();
}

}  // namespace

void SetPictureMemoryLimit(int megabytes) { limitMegabytes = megabytes; }

QImage LoadPictureFile(const std::string& path) {
  try {
    const ReadableFile file(path);
    PictureDevice device(file);
    return DecodeFirstFrame(device);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory();
  }
}

QImage LoadPictureStream(QIODevice& stream) {
  try {
    if (stream.isOpen() && !stream.isSequential()) stream.seek(0);
    PictureDevice device(stream.readAll());
    return DecodeFirstFrame(device);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory();
  }
}

}  // namespace pixdraft

#include "decoder/picture_file.h"

#include <QImageReader>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <new>

#include "base/errors.h"
#include "base/readable_file.h"
#include "decoder/decoder_messages.h"
#include "decoder/jpeg_frame.h"
#include "decoder/picture_device.h"
#include "decoder/tga_frame.h"
#include "platform/platform.h"

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
// allocation limit refused the frame (a decoder may need a deeper format than it announced); a
// failed allocation leaves kOutOfMemory as the last error (under the decoding helper's hard limit,
// a decoder's working memory may be what failed); otherwise the frame is too large when the system
// cannot give that much memory now.
bool RanOutOfMemory(const DecoderMessages& messages, bool allocationFailed, QSize declared,
                    QImage::Format format) {
  if (messages.Mention(u"allocation limit") || allocationFailed) return true;
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

// The formats read, by the names Qt's readers give them (PictureFileExtensions names their
// files). Left out: animations whose loops a
// decoder runs before it gives up the first frame (MNG), and whatever other readers a system may
// add, which nobody here has tried against broken files.
constexpr const char* kAcceptedFormats[] = {"bmp",  "cur",  "gif", "icns", "ico", "jpeg",
                                            "pbm",  "pgm",  "png", "ppm",  "tga", "tiff",
                                            "wbmp", "webp", "xbm", "xpm"};

bool Accepted(const QByteArray& format) {
  return std::any_of(std::begin(kAcceptedFormats), std::end(kAcceptedFormats),
                     [&](const char* name) { return format == name; });
}

// The frame a reader is handed to decode into. These readers keep a frame of the size and format
// they announced and only write their pixels into it, so whatever they leave unset (a BMP's
// compressed data may end early or skip pixels, as its format allows) reads as zero: colour index
// 0, or transparent black, never what memory held before. Its memory comes zeroed from calloc,
// which costs nothing for a large frame until a pixel is written. Other readers ignore it and
// make their own frame, whose every pixel they set; they get none, which would double the memory.
QImage BlankFrame(const QByteArray& format, QSize size, QImage::Format pixelFormat) {
  static constexpr const char* kWriteIntoTheirFrame[] = {"bmp", "pbm",  "pgm", "png",
                                                         "ppm", "tiff", "xbm", "xpm"};
  const bool writesInto =
      std::any_of(std::begin(kWriteIntoTheirFrame), std::end(kWriteIntoTheirFrame),
                  [&](const char* name) { return format == name; });
  if (!writesInto || size.isEmpty() || pixelFormat == QImage::Format_Invalid) return {};
  const std::int64_t bytes = FrameBytes(size, pixelFormat);
  void* pixels = std::calloc(std::size_t(bytes), 1);
  if (pixels == nullptr) throw EOutOfMemory();
  return QImage(static_cast<uchar*>(pixels), size.width(), size.height(), bytes / size.height(),
                pixelFormat, std::free, pixels);
}

// An XBM holds its rows as a C array of hex numbers; its reader stops at the end of the file
// without a word, so the numbers are counted: at least one per 8 pixels of each row.
bool XbmHoldsEveryRow(PictureDevice& device, QSize size) {
  const qint64 needed = qint64((size.width() + 7) / 8) * size.height();
  device.seek(0);
  qint64 numbers = 0;
  bool inArray = false;
  char previous = 0, byte = 0;
  while (numbers < needed && device.getChar(&byte)) {
    if (byte == '{') inArray = true;
    if (inArray && previous == '0' && (byte == 'x' || byte == 'X')) ++numbers;
    previous = byte;
  }
  return numbers >= needed;
}

// Whether the frame a reader delivered lacks data the file should have held, by each reader's
// own signs: most refuse such a frame themselves.
bool CutShort(const QByteArray& format, PictureDevice& device, QSize size) {
  // The GIF reader hands over a partial frame only when the data has run out.
  if (format == "gif") return device.ReadAtEnd();
  // The BMP and icon readers stop at the first row that comes back short, and say nothing.
  if (format == "bmp" || format == "ico" || format == "cur") {
    return device.ReadShort() || device.ReadAtEnd();
  }
  if (format == "xbm") return !XbmHoldsEveryRow(device, size);
  return false;
}

// The format of what `device` holds, given Qt's guess. Icons and TGA pictures have no signature
// and Qt takes an uncompressed TGA for a cursor: a sound icon directory is an icon, otherwise a
// sound TGA header a TGA.
QByteArray FormatByContent(PictureDevice& device, const QByteArray& guess) {
  const bool icon = guess == "ico" || guess == "cur";
  if (icon && LooksLikeIconDirectory(device)) return guess;
  if ((icon || guess.isEmpty() || guess == "tga") && LooksLikeTga(device)) return "tga";
  return guess;
}

// Decodes with one of our own decoders, turning a failed read into a read error: data that could
// not be read is no sign of a broken picture.
template <typename Decode>
QImage DecodeOurselves(PictureDevice& device, Decode decode) {
  device.seek(0);
  try {
    return decode();
  } catch (const Exception&) {
    if (device.ReadFailed()) throw EReadError();
    throw;
  }
}

QImage DecodeFirstFrame(PictureDevice& device) {
  DecoderMessages messages;
  QImageReader::setAllocationLimit(limitMegabytes);
  // A device without a file name: the content alone picks the decoder.
  QImageReader reader(&device);
  reader.setAutoTransform(false);
  // Asked before the read: after it, the reader reads again at the end.
  const QByteArray format = FormatByContent(device, reader.format());
  // A file that cannot be read from its start is no unknown content.
  if (device.ReadFailed()) throw EReadError();
  if (!Accepted(format)) throw EInvalidGraphic();
  const std::int64_t limit = std::int64_t(limitMegabytes) << 20;
  if (format == "jpeg")
    return DecodeOurselves(device, [&] { return DecodeJpegFrame(device, limit); });
  if (format == "tga")
    return DecodeOurselves(device, [&] { return DecodeTgaFrame(device, limit); });
  // Asked before reading, while the decoder still sits at the header: a bomb of a few hundred
  // bytes that declares gigabytes is refused before any of them is taken.
  const QSize declared = reader.size();
  const QImage::Format declaredFormat = DeclaredFormat(reader);
  if (FrameBytes(declared, declaredFormat) > limit) throw EOutOfMemory();
  device.ClearReadNotes();
  QImage image = BlankFrame(format, declared, declaredFormat);
  platform::ClearLastError();
  const bool read = reader.read(&image);
  const bool allocationFailed = platform::LastError() == platform::kOutOfMemory;
  if (device.ReadFailed()) throw EReadError();
  const bool cutShort = read && CutShort(format, device, image.size());
  if (read && !image.isNull() && !cutShort) return image;
  if (!cutShort && RanOutOfMemory(messages, allocationFailed, declared, declaredFormat)) {
    throw EOutOfMemory();
  }
  throw EInvalidGraphic();
}

}  // namespace

const std::vector<std::string>& PictureFileExtensions() {
  static const std::vector<std::string> extensions = {"bmp", "cur",  "gif",  "icns", "ico", "jpeg",
                                                      "jpg", "pbm",  "pgm",  "png",  "ppm", "tga",
                                                      "tif", "tiff", "wbmp", "webp", "xbm", "xpm"};
  return extensions;
}

void SetPictureMemoryLimit(int megabytes) { limitMegabytes = megabytes; }

QImage LoadPictureFile(const std::string& path) { return LoadPicture(ReadableFile(path)); }

QImage LoadPicture(const ReadableFile& file) {
  try {
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

// Decoding a JPEG frame with libjpeg itself rather than through Qt's reader, which keeps
// libjpeg's verdicts to itself (it passes on only the first warning, so a harmless one can hide
// that the data ended), and neither counts the memory a progressive frame needs before taking it
// nor bounds how many scans the file may make it run.
#pragma once

#include <QIODevice>
#include <QImage>
#include <cstdint>

namespace pixdraft {

// The most scans a frame may have. Encoders write about ten; every further scan passes over the
// whole frame again, so thousands of them cost minutes of CPU and show nothing new.
constexpr int kMaxJpegScans = 1000;

// Decodes the first frame of the JPEG `device` holds, from its current position, to pixels as
// Qt's reader gives them: greyscale 8-bit, otherwise RGB32 (CMYK taken as Adobe writes it, inks
// inverted). Throws EInvalidGraphic for a broken frame, one whose data ends or breaks off before
// its last pixel (libjpeg would paint the rest grey), or one of more than kMaxJpegScans scans;
// EOutOfMemory, before any pixel is decoded, when the frame and libjpeg's own working memory
// together need more than `memoryLimit` bytes.
QImage DecodeJpegFrame(QIODevice& device, std::int64_t memoryLimit);

}  // namespace pixdraft

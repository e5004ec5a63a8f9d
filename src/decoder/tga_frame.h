// Decoding TGA pictures ourselves. TGA has no signature: Qt's content check hands an uncompressed
// one to the icon reader, whose header it resembles, and Qt's own TGA reader takes neither
// compressed files nor files without the footer that only some editors write.
#pragma once

#include <QIODevice>
#include <QImage>
#include <cstdint>

namespace pixdraft {

// Whether the bytes from `device`'s start are a TGA header that editors write (colour-mapped,
// true-colour or grey, plain or run-length encoded, of a depth those allow) for a frame that the
// file could hold. Leaves the device at its start.
bool LooksLikeTga(QIODevice& device);

// Whether the bytes from `device`'s start are an icon or cursor directory whose first image lies
// within the file, which a TGA header never is. Leaves the device at its start.
bool LooksLikeIconDirectory(QIODevice& device);

// Decodes the TGA frame `device` holds from its start into ARGB32 pixels; the alpha channel counts
// only when the header says it holds alpha bits. Throws EOutOfMemory, before any pixel is decoded,
// for a frame of more than `memoryLimit` bytes; EInvalidGraphic for a header LooksLikeTga refuses,
// a colour index outside the map, or data that ends before the frame's last pixel.
QImage DecodeTgaFrame(QIODevice& device, std::int64_t memoryLimit);

}  // namespace pixdraft

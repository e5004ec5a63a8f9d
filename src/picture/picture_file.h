// Decoding a picture file: the content alone picks the decoder, and only the first frame counts.
#pragma once

#include <QIODevice>
#include <QImage>
#include <string>

namespace pixdraft {

// Reads the whole file into memory and decodes its first frame. Throws EFOpenError when the file
// cannot be opened (missing, a folder, no permission), EInvalidGraphic for an empty file, unknown
// content or an undecodable first frame, EOutOfMemory for a picture too large for memory.
QImage LoadPictureFile(const std::string& path);

// Decodes the first frame of what `stream` holds from its start: no name or extension is
// consulted, no orientation tag or colour profile applied. Throws as LoadPictureFile.
QImage LoadPictureStream(QIODevice& stream);

// The most memory, in megabytes, one decoded frame may take; a larger one fails with
// EOutOfMemory. Half the physical memory unless set here. Process-wide, like Qt's own limit.
void SetPictureMemoryLimit(int megabytes);

}  // namespace pixdraft

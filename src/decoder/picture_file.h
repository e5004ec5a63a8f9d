// Decoding a picture file: the content alone picks the decoder, and only the first frame counts.
#pragma once

#include <QIODevice>
#include <QImage>
#include <string>
#include <vector>

namespace pixdraft {

class ReadableFile;

// Reads the file and decodes its first frame. Throws EFOpenError when the file cannot be opened
// (missing, no permission, a folder, or not a regular file at all: a FIFO or a device is never
// read); EInvalidGraphic for an empty file, unknown content, an undecodable first frame, or data
// that ends before the frame's pixels do; EOutOfMemory for a frame larger than the memory limit,
// refused before it is decoded; EReadError when reading fails.
QImage LoadPictureFile(const std::string& path);

// Decodes the first frame of `file`, from its start. Throws as LoadPictureFile.
QImage LoadPicture(const ReadableFile& file);

// Decodes the first frame of what `stream` holds from its start: no name or extension is
// consulted, no orientation tag or colour profile applied. Throws as LoadPictureFile.
QImage LoadPictureStream(QIODevice& stream);

// The usual file name extensions of the pictures LoadPicture decodes, lower case, without the
// dot: "bmp", "cur", "gif", ...
const std::vector<std::string>& PictureFileExtensions();

// The most memory, in megabytes, one decoded frame may take: 1024 unless set here.
// Process-wide, like Qt's own limit.
void SetPictureMemoryLimit(int megabytes);

}  // namespace pixdraft

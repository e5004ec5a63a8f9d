// Opening files for reading when their names come from anywhere: only regular files are read,
// and nothing is read without bound.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace pixdraft {

// A regular file open for reading. The open never waits: a FIFO, a device or a socket is refused
// before any byte is read, so a name typed by mistake (or by malice) can neither hang the program
// nor feed it without end.
class ReadableFile {
 public:
  // Throws EFOpenError naming `fileName`: missing, not allowed, a folder, or not a regular file.
  explicit ReadableFile(const std::string& fileName);
  // Takes over `file`, open for reading, as a helper process is handed a file already checked;
  // throws EFOpenError naming `fileName` when it is not a regular file after all.
  ReadableFile(platform::File file, const std::string& fileName);
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;

  const platform::File& file() const { return file_; }
  // The size when the file was opened.
  std::uint64_t size() const { return size_; }

 private:
  platform::File file_;
  std::uint64_t size_ = 0;
};

// Reads up to `length` bytes at `offset` into `out` and returns how many came, fewer only at the
// end of the file. Throws EReadError when reading fails.
std::size_t ReadAt(const ReadableFile& file, char* out, std::size_t length, std::uint64_t offset);

// The whole content of `fileName`. Throws EFOpenError as ReadableFile does and when the file
// holds more than `maxBytes`, EReadError when reading fails.
std::string ReadWholeFile(const std::string& fileName, std::size_t maxBytes);

}  // namespace pixdraft

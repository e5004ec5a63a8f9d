#include "base/readable_file.h"

#include <algorithm>

#include "base/errors.h"

namespace pixdraft {

namespace {

// `fileName` opened to read, once it names a regular file: looked at before opening, as opening
// some devices already does something, and again after (below), in case the name was given to
// something else meanwhile.
platform::File Opened(const std::string& fileName) {
  platform::FileInfo info;
  if (const int error = platform::Inspect(fileName, info)) throw EFOpenError(fileName, error);
  if (info.kind == platform::Kind::kDirectory) throw EFOpenError(fileName, platform::kIsFolder);
  if (info.kind != platform::Kind::kRegular) throw EFOpenError(fileName, kNotARegularFile);
  platform::File file;
  if (const int error = platform::OpenToRead(fileName, file)) throw EFOpenError(fileName, error);
  return file;
}

}  // namespace

ReadableFile::ReadableFile(const std::string& fileName)
    : ReadableFile(Opened(fileName), fileName) {}

ReadableFile::ReadableFile(platform::File file, const std::string& fileName)
    : file_(std::move(file)) {
  platform::FileInfo info;
  if (platform::Inspect(file_, info) != 0 || info.kind != platform::Kind::kRegular) {
    throw EFOpenError(fileName, kNotARegularFile);
  }
  size_ = info.size;
}

std::size_t ReadAt(const ReadableFile& file, char* out, std::size_t length, std::uint64_t offset) {
  std::size_t got = 0;
  if (platform::ReadAt(file.file(), out, length, offset, got) != 0) throw EReadError();
  return got;
}

std::string ReadWholeFile(const std::string& fileName, std::size_t maxBytes) {
  const ReadableFile file(fileName);
  const auto tooLarge = [&] {
    return EFOpenError(fileName, "Le fichier dépasse la taille maximale de " +
                                     std::to_string(maxBytes >> 20) + " Mio");
  };
  if (file.size() > maxBytes) throw tooLarge();
  // One byte more than allowed, to notice a file that grew since it was opened.
  std::string content(static_cast<std::size_t>(file.size()) + 1, '\0');
  std::size_t size = ReadAt(file, content.data(), content.size(), 0);
  while (size == content.size() && size <= maxBytes) {
    content.resize(std::min(2 * content.size(), maxBytes + 1));
    size += ReadAt(file, content.data() + size, content.size() - size, size);
  }
  if (size > maxBytes) throw tooLarge();
  content.resize(size);
  return content;
}

}  // namespace pixdraft

#include "base/readable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/errors.h"

namespace pixdraft {

ReadableFile::ReadableFile(const std::string& fileName) {
  // Looked at before opening, as opening some devices already does something; and again after,
  // in case the name was given to something else meanwhile.
  struct stat info {};
  if (::stat(fileName.c_str(), &info) != 0) throw EFOpenError(fileName, errno);
  if (S_ISDIR(info.st_mode)) throw EFOpenError(fileName, EISDIR);
  if (!S_ISREG(info.st_mode)) throw EFOpenError(fileName, kNotARegularFile);

  fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) throw EFOpenError(fileName, errno);
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    throw EFOpenError(fileName, kNotARegularFile);
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
}

ReadableFile::ReadableFile(int descriptor, const std::string& fileName) : fd_(descriptor) {
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    throw EFOpenError(fileName, kNotARegularFile);
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
}

ReadableFile::~ReadableFile() { ::close(fd_); }

std::size_t ReadAt(const ReadableFile& file, char* out, std::size_t length, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < length) {
    const ssize_t n = ::pread(file.fd(), out + done, length - done, off_t(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EReadError();
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
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

#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "errors.h"

namespace pixdraft {
namespace {

// Closes a descriptor on every path out of a scope.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() { ::close(fd_); }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;

 private:
  int fd_;
};

// Permission bits for the new file: those of the file it replaces, else the usual default.
mode_t NewFileMode(const struct stat* existing) {
  if (existing != nullptr) return existing->st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::string ReadWholeFile(const std::string& fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFOpenError(fileName, errno);
  FdGuard guard(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw EFOpenError(fileName, errno);
  if (S_ISDIR(info.st_mode)) throw EFOpenError(fileName, EISDIR);

  std::string content;
  if (S_ISREG(info.st_mode)) content.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EReadError();
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return content;
}

SafeFileWriter::SafeFileWriter(std::string fileName) : fileName_(std::move(fileName)) {
  struct stat existing {};
  const bool exists = ::stat(fileName_.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) throw EFCreateError(fileName_, EISDIR);
  // A write-protected file stays protected, as it would against a plain overwrite.
  if (exists && ::access(fileName_.c_str(), W_OK) != 0) throw EFCreateError(fileName_, errno);

  // A link is written through, as a plain overwrite would, rather than replaced by a file.
  std::error_code ignored;
  std::filesystem::path target(fileName_);
  if (exists && std::filesystem::is_symlink(target, ignored)) {
    target = std::filesystem::canonical(target, ignored);
  }
  targetName_ = target.string();
  tempName_ = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  fd_ = ::mkostemp(tempName_.data(), O_CLOEXEC);
  if (fd_ < 0) throw EFCreateError(fileName_, errno);
  ::fchmod(fd_, NewFileMode(exists ? &existing : nullptr));
}

SafeFileWriter::~SafeFileWriter() { Discard(); }

void SafeFileWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw EWriteError();
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void SafeFileWriter::Commit() {
  const int fd = fd_;
  fd_ = -1;
  // Delayed allocation can report a full disk only at close.
  if (::close(fd) != 0) {
    ::unlink(tempName_.c_str());
    throw EWriteError();
  }
  if (::rename(tempName_.c_str(), targetName_.c_str()) != 0) {
    const int error = errno;
    ::unlink(tempName_.c_str());
    throw EFCreateError(fileName_, error);
  }
}

void SafeFileWriter::Discard() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(tempName_.c_str());
  fd_ = -1;
}

}  // namespace pixdraft

#include "app/standard_input.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "base/errors.h"

namespace pixdraft {
namespace {

// A file in `folder` that no name reaches, gone when it is closed: O_TMPFILE where the file
// system has it, else a file made and unlinked at once.
int UnnamedFile(const std::filesystem::path& folder) {
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  std::string name = (folder / "pixdraft-input-XXXXXX").string();
  fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) throw EFCreateError(name, errno);
  ::unlink(name.c_str());
  return fd;
}

// Reads up to `length` bytes; fewer only at the end of the input.
std::size_t ReadSome(int input, char* out, std::size_t length) {
  for (;;) {
    const ssize_t n = ::read(input, out, length);
    if (n >= 0) return std::size_t(n);
    if (errno != EINTR) throw EReadError();
  }
}

void WriteAll(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t n = ::write(fd, data, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw EWriteError();
    data += n;
    length -= std::size_t(n);
  }
}

}  // namespace

SpooledInput::SpooledInput(int input, std::uint64_t limit) {
  std::error_code noTemporaryFolder;
  std::filesystem::path folder = std::filesystem::temp_directory_path(noTemporaryFolder);
  if (noTemporaryFolder) folder = "/tmp";
  fd_ = UnnamedFile(folder);
  try {
    std::vector<char> buffer(1 << 16);
    std::uint64_t total = 0;
    // One byte past the limit is enough to know that the input holds too much.
    while (total <= limit) {
      const std::size_t wanted =
          std::size_t(std::min<std::uint64_t>(buffer.size(), limit + 1 - total));
      const std::size_t got = ReadSome(input, buffer.data(), wanted);
      if (got == 0) return;
      WriteAll(fd_, buffer.data(), got);
      total += got;
    }
    throw EOutOfMemory();
  } catch (...) {
    ::close(fd_);
    throw;
  }
}

SpooledInput::~SpooledInput() { ::close(fd_); }

}  // namespace pixdraft

#include "app/standard_input.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "base/errors.h"

namespace pixdraft {
namespace {

// A private file in `folder` that no name reaches, gone when it is closed: an unnamed file where
// the file system has them, else a file made and removed at once.
platform::File UnnamedFile(const std::filesystem::path& folder) {
  platform::File file;
  if (platform::CreateUnnamed(folder.string(), 0600, true, file) == 0) return file;
  for (int attempt = 0;; ++attempt) {
    const std::string name =
        (folder / ("pixdraft-input-" + std::to_string(attempt) + ".tmp")).string();
    const int error = platform::CreateNamed(name, 0600, true, file);
    if (error == 0) {
      platform::Remove(name);
      return file;
    }
    if (error != EEXIST || attempt == 100) throw EFCreateError(name, error);
  }
}

}  // namespace

SpooledInput::SpooledInput(std::FILE* input, std::uint64_t limit) {
  std::error_code noTemporaryFolder;
  std::filesystem::path folder = std::filesystem::temp_directory_path(noTemporaryFolder);
  if (noTemporaryFolder) folder = "/tmp";
  file_ = UnnamedFile(folder);
  std::vector<char> buffer(1 << 16);
  std::uint64_t total = 0;
  // One byte past the limit is enough to know that the input holds too much.
  while (total <= limit) {
    const std::size_t wanted =
        std::size_t(std::min<std::uint64_t>(buffer.size(), limit + 1 - total));
    const std::size_t got = std::fread(buffer.data(), 1, wanted, input);
    if (got == 0) {
      if (std::ferror(input)) throw EReadError();
      return;
    }
    if (platform::Write(file_, buffer.data(), got) != 0) throw EWriteError();
    total += got;
  }
  throw EOutOfMemory();
}

}  // namespace pixdraft

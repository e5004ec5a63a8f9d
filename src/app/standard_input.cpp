#include "app/standard_input.h"

#include <algorithm>
#include <vector>

#include "base/errors.h"
#include "base/safe_file_writer.h"

namespace pixdraft {

SpooledInput::SpooledInput(std::FILE* input, std::uint64_t limit) {
  const std::string folder = platform::TemporaryFolder();
  if (const int error = CreatePrivateFile(folder, file_)) throw EFCreateError(folder, error);
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

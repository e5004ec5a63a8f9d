// A picture read from standard input ("-" on the converter's command line), spooled into an
// unnamed temporary file so that it decodes as a picture file does, with the same limits.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace pixdraft {

// The most a picture may hold, as the converter reads it: 1.25 GiB.
inline constexpr std::uint64_t kPictureReadLimit = std::uint64_t(1280) << 20;

class SpooledInput {
 public:
  // Copies what `input` holds, to its end, into an unnamed file in the temporary folder, reading
  // never more than `limit` + 1 bytes: an endless input ends there. Throws EOutOfMemory when the
  // input holds more than `limit` bytes, EReadError when reading fails, EFCreateError when no
  // temporary file can be made and EWriteError when it cannot take the bytes.
  explicit SpooledInput(std::FILE* input, std::uint64_t limit = kPictureReadLimit);
  SpooledInput(const SpooledInput&) = delete;
  SpooledInput& operator=(const SpooledInput&) = delete;

  // A name that opens the spooled bytes while this object lives; the file goes with it.
  std::string path() const { return platform::PathOf(file_); }

 private:
  platform::File file_;
};

}  // namespace pixdraft

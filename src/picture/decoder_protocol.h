// What the program and its decoding helper, pixdraft-decode, say to each other. The helper reads
// the picture from its standard input, a regular file the program has opened and checked, and
// answers on its standard output with one Answer and then the pixels, row by row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/fit.h"

namespace pixdraft {

// The helper's hard limits, which the kernel keeps once set: the helper sets them on itself before
// it reads the picture, and the program sets them on it too, in case it does not. Memory is
// its whole address space: the frame, the decoder's own working memory and the helper's code
// together (about 75 MiB), leaving the program some room within 1.25 GiB.
struct DecodeLimits {
  std::int64_t memoryBytes = std::int64_t(1152) << 20;
  int cpuSeconds = 10;
  // Only for a helper that is stopped or starved of CPU: the limit that counts is CPU time.
  int wallSeconds = 25;
};

// What the helper is asked for: the working raster of a fit, or the picture reduced for a
// preview to at most `previewSide` pixels a side (kept proportions, smoothed).
struct DecodeRequest {
  enum class Kind { kFit, kPreview };
  Kind kind = Kind::kFit;
  FitOptions fit;
  int previewSide = 0;
  DecodeLimits limits;
};

// The helper's arguments for `request`, after the program name, and back.
std::vector<std::string> HelperArguments(const DecodeRequest& request);
// False when `args` are not what HelperArguments makes.
bool ParseHelperArguments(std::vector<std::string> args, DecodeRequest& request);

enum class DecodeStatus : std::int32_t { kDecoded, kInvalidGraphic, kOutOfMemory, kReadError };

// Written in the byte order of the machine: both ends are the same build.
struct Answer {
  static constexpr std::uint32_t kMagic = 0x31445850;  // "PXD1"
  std::uint32_t magic = kMagic;
  DecodeStatus status = DecodeStatus::kDecoded;
  // Of the pixels that follow: a raster's TColor values, or a preview's ARGB32 pixels.
  std::int32_t width = 0;
  std::int32_t height = 0;
  // The decoded picture's own size.
  std::int32_t sourceWidth = 0;
  std::int32_t sourceHeight = 0;
};

}  // namespace pixdraft

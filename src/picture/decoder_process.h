// Decoding pictures in a helper process, pixdraft-decode, under hard limits the kernel keeps:
// however a picture is made, its decoder cannot take more than DecodeLimits of memory and CPU
// time, hang or crash the program, or leave anything of it in memory for the next picture; and a
// decode no longer wanted is stopped at once. One decode runs at a time in the process, so the
// helpers' memory never adds up.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "colour/raster.h"
#include "picture/decoder_protocol.h"

namespace pixdraft {

// Stops decodes from another thread: each one given it ends within a few milliseconds of Cancel.
class DecodeCancel {
 public:
  void Cancel() { cancelled_ = true; }
  bool cancelled() const { return cancelled_; }
  const std::atomic<bool>& flag() const { return cancelled_; }

 private:
  std::atomic<bool> cancelled_ = false;
};

// Ends a cancelled decode: not an error, there is nothing to show.
class DecodeCancelled : public std::exception {
 public:
  const char* what() const noexcept override { return "decode cancelled"; }
};

// The helper program: $PIXDRAFT_DECODER when set (for tests), else pixdraft-decode beside the
// running program (a build), else in ../libexec/pixdraft from its folder (an installation).
std::string DecoderProgram();

// The working raster of the picture at `path`, fitted by `options`. The file is opened here, so
// it throws EFOpenError as LoadPictureFile does; then what the decode throws there, and
// EInvalidGraphic as well for a picture whose decoder ran out of time or crashed; EFOpenError
// naming the helper when it cannot be started; DecodeCancelled once `cancel` is cancelled.
Raster DecodeFittedPicture(const std::string& path, const FitOptions& options,
                           const DecodeCancel* cancel = nullptr, const DecodeLimits& limits = {});

struct PreviewPicture {
  // At most `side` pixels a side, proportions kept: rows of ARGB32 pixels (0xAARRGGBB).
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  // The picture's own size.
  int sourceWidth = 0;
  int sourceHeight = 0;
};

// The picture at `path` reduced to at most `side` pixels a side. Throws as DecodeFittedPicture.
PreviewPicture DecodePreviewPicture(const std::string& path, int side,
                                    const DecodeCancel* cancel = nullptr);

}  // namespace pixdraft

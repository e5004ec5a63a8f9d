#include "picture/decoder_process.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include "base/errors.h"
#include "base/readable_file.h"
#include "platform/std_path.h"
#include "platform/platform.h"

namespace pixdraft {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(20);

std::mutex oneAtATime;

// The helper at work on `picture`, killed when this goes: a decode no longer wanted, out of
// time, or already done.
class Helper {
 public:
  Helper(const ReadableFile& picture, const DecodeRequest& request) {
    const std::string program = DecoderProgram();
    const platform::ChildProcess::Limits limits{request.limits.memoryBytes,
                                                request.limits.cpuSeconds};
    if (const int error =
            process_.Start(program, HelperArguments(request), picture.file(), limits)) {
      throw EFOpenError(program, error);
    }
  }

  // Reads `size` bytes of the answer. False when the helper ended first (it crashed or used up
  // its CPU time) or the deadline passed. Throws DecodeCancelled.
  bool Read(void* out, std::size_t size, const DecodeCancel* cancel, Clock::time_point deadline) {
    const bool read = process_.Read(out, size, deadline, cancel ? &cancel->flag() : nullptr);
    if (cancel != nullptr && cancel->cancelled()) throw DecodeCancelled();
    return read;
  }

 private:
  platform::ChildProcess process_;
};

// Waits for the one decode at a time, giving way to a cancel.
std::unique_lock<std::mutex> TakeTurn(const DecodeCancel* cancel) {
  std::unique_lock turn(oneAtATime, std::defer_lock);
  while (!turn.try_lock()) {
    if (cancel != nullptr && cancel->cancelled()) throw DecodeCancelled();
    std::this_thread::sleep_for(kPollInterval);
  }
  return turn;
}

[[noreturn]] void ThrowStatus(DecodeStatus status) {
  switch (status) {
    case DecodeStatus::kOutOfMemory:
      throw EOutOfMemory();
    case DecodeStatus::kReadError:
      throw EReadError();
    default:
      throw EInvalidGraphic();
  }
}

// Runs the helper on the picture at `path` and reads its answer; then `readPixels(answer,
// helper, deadline)` reads the pixels that follow.
template <typename ReadPixels>
auto Decode(const std::string& path, const DecodeRequest& request, const DecodeCancel* cancel,
            int largestSide, ReadPixels readPixels) {
  const ReadableFile picture(path);
  const auto turn = TakeTurn(cancel);
  const Clock::time_point deadline =
      Clock::now() + std::chrono::seconds(request.limits.wallSeconds);
  Helper helper(picture, request);
  Answer answer;
  if (!helper.Read(&answer, sizeof answer, cancel, deadline) || answer.magic != Answer::kMagic) {
    throw EInvalidGraphic();
  }
  if (answer.status != DecodeStatus::kDecoded) ThrowStatus(answer.status);
  if (answer.width < 1 || answer.height < 1 || answer.width > largestSide ||
      answer.height > largestSide) {
    throw EInvalidGraphic();
  }
  return readPixels(answer, [&](void* out, std::size_t size) {
    if (!helper.Read(out, size, cancel, deadline)) throw EInvalidGraphic();
  });
}

}  // namespace

std::string DecoderProgram() {
  if (const char* chosen = std::getenv("PIXDRAFT_DECODER"); chosen != nullptr && *chosen != 0) {
    return chosen;
  }
  const std::filesystem::path folder = StdPath(platform::ProgramFolder());
  const std::string name = std::string("pixdraft-decode") + platform::kProgramSuffix;
  std::error_code error;
  const std::filesystem::path beside = folder / name;
  if (std::filesystem::exists(beside, error)) return NameOf(beside);
  return NameOf((folder / "../libexec/pixdraft" / name).lexically_normal());
}

Raster DecodeFittedPicture(const std::string& path, const FitOptions& options,
                           const DecodeCancel* cancel, const DecodeLimits& limits) {
  DecodeRequest request;
  request.fit = options;
  request.limits = limits;
  return Decode(path, request, cancel, kLargestRasterSide, [](const Answer& answer, auto read) {
    Raster raster;
    raster.width = answer.width;
    raster.height = answer.height;
    raster.pixels.resize(std::size_t(answer.width) * answer.height);
    read(raster.pixels.data(), raster.pixels.size() * sizeof(TColor));
    // Whatever a broken helper sent, the raster holds colours or kNoSquare, nothing else.
    for (TColor& pixel : raster.pixels) {
      if (pixel != kNoSquare) pixel &= 0xFFFFFF;
    }
    return raster;
  });
}

PreviewPicture DecodePreviewPicture(const std::string& path, int side, const DecodeCancel* cancel) {
  DecodeRequest request;
  request.kind = DecodeRequest::Kind::kPreview;
  request.previewSide = side;
  return Decode(path, request, cancel, side, [](const Answer& answer, auto read) {
    PreviewPicture preview{
        answer.width, answer.height, {}, answer.sourceWidth, answer.sourceHeight};
    preview.pixels.resize(std::size_t(answer.width) * answer.height);
    read(preview.pixels.data(), preview.pixels.size() * sizeof(std::uint32_t));
    return preview;
  });
}

}  // namespace pixdraft

#include "picture/decoder_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "base/address_sanitizer.h"
#include "base/errors.h"
#include "base/readable_file.h"

extern char** environ;

namespace pixdraft {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(20);

std::timed_mutex oneAtATime;

void SetLimit(pid_t process, decltype(RLIMIT_CPU) resource, rlim_t soft, rlim_t hard) {
  const rlimit limit{soft, hard};
  ::prlimit(process, resource, &limit, nullptr);
}

// Set from here, so that no helper, however broken, runs without them.
void LimitHelper(pid_t helper, const DecodeLimits& limits) {
  SetLimit(helper, RLIMIT_CORE, 0, 0);
  // The soft limit's SIGXCPU ends the helper; the hard one's SIGKILL, a second later, in case
  // something there catches it.
  SetLimit(helper, RLIMIT_CPU, rlim_t(limits.cpuSeconds), rlim_t(limits.cpuSeconds) + 1);
  // Once its address space is used up, an allocation fails, which every decoder reports.
  // AddressSanitizer reserves terabytes of it for itself.
  if (!kAddressSanitizer) {
    SetLimit(helper, RLIMIT_AS, rlim_t(limits.memoryBytes), rlim_t(limits.memoryBytes));
  }
}

// A running helper and the read end of its answer. Ending it kills what still runs: a decode no
// longer wanted, out of time, or already done.
class Helper {
 public:
  Helper(const ReadableFile& picture, const DecodeRequest& request);
  ~Helper();
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;

  // Reads `size` bytes of the answer. False when the helper ended first (it crashed or used up
  // its CPU time) or the deadline passed. Throws DecodeCancelled.
  bool Read(void* out, std::size_t size, const DecodeCancel* cancel, Clock::time_point deadline);

 private:
  pid_t pid_ = -1;
  int answer_ = -1;
};

Helper::Helper(const ReadableFile& picture, const DecodeRequest& request) {
  const std::string program = DecoderProgram();
  int channel[2];
  if (::pipe2(channel, O_CLOEXEC) != 0) throw EOutOfMemory();
  answer_ = channel[0];

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, picture.fd(), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&files, channel[1], STDOUT_FILENO);
  // What decoder libraries print on their own is not the user's business; a sanitizer's report is.
  if (!kAddressSanitizer) {
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  // The limits end the helper by signals, which must have their default actions there.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t chosen;
  sigemptyset(&chosen);
  posix_spawnattr_setsigmask(&attributes, &chosen);
  sigaddset(&chosen, SIGXCPU);
  sigaddset(&chosen, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &chosen);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> args = HelperArguments(request);
  args.insert(args.begin(), program);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int error =
      ::posix_spawn(&pid_, program.c_str(), &files, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  ::close(channel[1]);
  if (error != 0) {
    pid_ = -1;
    ::close(answer_);
    throw EFOpenError(program, error);
  }
  LimitHelper(pid_, request.limits);
}

Helper::~Helper() {
  ::close(answer_);
  if (pid_ < 0) return;
  ::kill(pid_, SIGKILL);
  while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

bool Helper::Read(void* out, std::size_t size, const DecodeCancel* cancel,
                  Clock::time_point deadline) {
  char* bytes = static_cast<char*>(out);
  while (size > 0) {
    if (cancel != nullptr && cancel->cancelled()) throw DecodeCancelled();
    if (Clock::now() > deadline) return false;
    pollfd ready{answer_, POLLIN, 0};
    const int polled = ::poll(&ready, 1, int(kPollInterval.count()));
    if (polled <= 0) continue;  // nothing yet, or a signal
    const ssize_t count = ::read(answer_, bytes, size);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes += count;
    size -= std::size_t(count);
  }
  return true;
}

// Waits for the one decode at a time, giving way to a cancel.
std::unique_lock<std::timed_mutex> TakeTurn(const DecodeCancel* cancel) {
  std::unique_lock turn(oneAtATime, std::defer_lock);
  while (!turn.try_lock_for(kPollInterval)) {
    if (cancel != nullptr && cancel->cancelled()) throw DecodeCancelled();
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
  std::error_code error;
  const std::filesystem::path folder =
      std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  const std::filesystem::path beside = folder / "pixdraft-decode";
  if (std::filesystem::exists(beside, error)) return beside.string();
  return (folder / "../libexec/pixdraft/pixdraft-decode").lexically_normal().string();
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
    QImage picture(answer.width, answer.height, QImage::Format_ARGB32);
    if (picture.isNull()) throw EOutOfMemory();
    for (int y = 0; y < answer.height; ++y)
      read(picture.scanLine(y), std::size_t(answer.width) * 4);
    return PreviewPicture{picture, QSize(answer.sourceWidth, answer.sourceHeight)};
  });
}

}  // namespace pixdraft

#include "decoder_messages.h"

#include <fcntl.h>
#include <unistd.h>

#include <QtGlobal>
#include <cstdio>

namespace pixdraft {
namespace {

std::mutex decoding;
thread_local DecoderMessages* collecting = nullptr;
QtMessageHandler passOn = nullptr;  // guarded by `decoding`

void Collect(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (collecting != nullptr) {
    collecting->Add(message);
  } else if (passOn != nullptr) {
    passOn(type, context, message);
  }
}

// A sanitizer's report of a fault inside a decoder must still reach the terminal.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSilenceStandardError = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSilenceStandardError = false;
#else
constexpr bool kSilenceStandardError = true;
#endif
#else
constexpr bool kSilenceStandardError = true;
#endif

}  // namespace

DecoderMessages::DecoderMessages() : turn_(decoding) {
  // Installed anew each time, in case a handler was installed after ours.
  const QtMessageHandler previous = qInstallMessageHandler(Collect);
  if (previous != Collect) passOn = previous;
  collecting = this;

  if (!kSilenceStandardError) return;
  std::fflush(stderr);
  const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (nowhere < 0) return;
  savedStderr_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
  if (savedStderr_ >= 0 && ::dup2(nowhere, STDERR_FILENO) < 0) {
    ::close(savedStderr_);
    savedStderr_ = -1;
  }
  ::close(nowhere);
}

DecoderMessages::~DecoderMessages() {
  collecting = nullptr;
  if (savedStderr_ < 0) return;
  std::fflush(stderr);
  ::dup2(savedStderr_, STDERR_FILENO);
  ::close(savedStderr_);
}

bool DecoderMessages::Mention(QStringView text) const {
  for (const QString& message : messages_) {
    if (message.contains(text, Qt::CaseInsensitive)) return true;
  }
  return false;
}

}  // namespace pixdraft

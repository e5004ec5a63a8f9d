#include "picture/decoder_messages.h"

#include <QtGlobal>
#include <atomic>

namespace pixdraft {
namespace {

std::mutex decoding;
thread_local DecoderMessages* collecting = nullptr;
// Read by every thread that logs, written only under `decoding`.
std::atomic<QtMessageHandler> passOn = nullptr;

void Collect(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (collecting != nullptr) {
    collecting->Add(message);
  } else if (const QtMessageHandler next = passOn.load()) {
    next(type, context, message);
  }
}

}  // namespace

DecoderMessages::DecoderMessages() : turn_(decoding) {
  // Installed anew each time, in case a handler was installed after ours.
  const QtMessageHandler previous = qInstallMessageHandler(Collect);
  if (previous != Collect) passOn = previous;
  collecting = this;
}

DecoderMessages::~DecoderMessages() { collecting = nullptr; }

bool DecoderMessages::Mention(QStringView text) const {
  for (const QString& message : messages_) {
    if (message.contains(text, Qt::CaseInsensitive)) return true;
  }
  return false;
}

}  // namespace pixdraft

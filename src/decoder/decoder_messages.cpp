#include "decoder/decoder_messages.h"

#include <QtGlobal>

namespace pixdraft {
namespace {

std::mutex decoding;
thread_local DecoderMessages* collecting = nullptr;
// The handler that was there before ours: written once, before ours is installed.
QtMessageHandler passOn = nullptr;

void Collect(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (collecting != nullptr) {
    collecting->Add(message);
  } else if (passOn != nullptr) {
    passOn(type, context, message);
  }
}

}  // namespace

DecoderMessages::DecoderMessages() : turn_(decoding) {
  // Once, by the first decode: other threads' messages pass on to what was there before.
  static std::once_flag installed;
  std::call_once(installed, [] {
    passOn = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(Collect);
  });
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

// What decoders say while a picture decodes, collected instead of reaching the terminal: Qt's
// warnings, which are some decoders' only word that the data was broken. (What their libraries
// print on their own goes to the decoding helper's standard error, which leads nowhere.)
#pragma once

#include <QStringList>
#include <QStringView>
#include <mutex>

namespace pixdraft {

// Collects from its construction to its destruction. One picture decodes at a time in the
// process, so this also keeps two large pictures from taking memory at the same time.
class DecoderMessages {
 public:
  DecoderMessages();
  ~DecoderMessages();
  DecoderMessages(const DecoderMessages&) = delete;
  DecoderMessages& operator=(const DecoderMessages&) = delete;

  // True when a warning of this thread's decoder holds `text`, case ignored.
  bool Mention(QStringView text) const;

  // Called by the message handler for this thread's messages.
  void Add(const QString& message) { messages_ << message; }

 private:
  std::unique_lock<std::mutex> turn_;
  QStringList messages_;
};

}  // namespace pixdraft

// Decoding pictures for the open dialog's preview on a worker thread of its own, so that a large
// picture never stalls the dialog. Only the newest request counts: one not yet started is
// replaced by a newer one, and one in progress is stopped (its helper process killed) and its
// result dropped.
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace pixdraft {

class DecodeCancel;

class PreviewDecoder {
 public:
  // The picture reduced to at most this many pixels a side: the preview never shows it larger,
  // and a huge picture need not stay in memory at full size.
  static constexpr int kMaxPreviewSide = 2048;

  struct Result {
    QImage picture;  // null when the file does not decode
    QSize size;      // the picture's own size
  };
  using Done = std::function<void(const Result&)>;

  PreviewDecoder() = default;
  // Waits for a decode in progress to end.
  ~PreviewDecoder();
  PreviewDecoder(const PreviewDecoder&) = delete;
  PreviewDecoder& operator=(const PreviewDecoder&) = delete;

  // Decodes the file at `path` as "Load image" does. `done` then runs on `receiver`'s thread,
  // unless Request or Cancel is called again first. Anything but a regular file gives a null
  // picture without being read, as the load refuses it.
  void Request(const QString& path, QObject* receiver, Done done);
  // Drops the pending request and the result of the one in progress. After it returns nothing
  // more is delivered to the receivers given so far, so they may go.
  void Cancel();

 private:
  struct Job {
    QString path;
    QObject* receiver = nullptr;
    Done done;
    quint64 ticket = 0;
  };

  void Run();
  static Result Decode(const QString& path, const DecodeCancel& cancel);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> pending_;
  // Stops the decode in progress, whose helper process would otherwise go on to its end.
  std::shared_ptr<DecodeCancel> running_;
  bool stopping_ = false;
  // Bumped by every Request and Cancel; a result is delivered only under its own ticket.
  std::shared_ptr<std::atomic<quint64>> ticket_ = std::make_shared<std::atomic<quint64>>(0);
  std::thread thread_;  // started by the first request
};

}  // namespace pixdraft

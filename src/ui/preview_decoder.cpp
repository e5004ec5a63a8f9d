#include "ui/preview_decoder.h"

#include <QMetaObject>
#include <cstring>

#include "picture/decoder_process.h"
#include "ui/local_file_name.h"

namespace pixdraft {

PreviewDecoder::~PreviewDecoder() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.reset();
    if (running_) running_->Cancel();
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void PreviewDecoder::Request(const QString& path, QObject* receiver, Done done) {
  {
    std::lock_guard lock(mutex_);
    pending_ = Job{path, receiver, std::move(done), ++*ticket_};
    if (running_) running_->Cancel();
    if (!thread_.joinable()) thread_ = std::thread(&PreviewDecoder::Run, this);
  }
  wake_.notify_one();
}

void PreviewDecoder::Cancel() {
  std::lock_guard lock(mutex_);
  pending_.reset();
  ++*ticket_;
  if (running_) running_->Cancel();
}

void PreviewDecoder::Run() {
  for (;;) {
    Job job;
    std::shared_ptr<DecodeCancel> cancel;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
      if (stopping_) return;
      job = std::move(*pending_);
      pending_.reset();
      cancel = running_ = std::make_shared<DecodeCancel>();
    }
    Result result = Decode(job.path, *cancel);
    // Posting under the lock: Cancel, which the receiver calls before it goes, cannot slip in
    // between the ticket check and the post.
    std::lock_guard lock(mutex_);
    if (stopping_ || *ticket_ != job.ticket) continue;
    QMetaObject::invokeMethod(
        job.receiver,
        [ticket = ticket_, mine = job.ticket, done = std::move(job.done),
         result = std::move(result)] {
          // A newer request may have come while this call waited in the queue.
          if (*ticket == mine) done(result);
        },
        Qt::QueuedConnection);
  }
}

PreviewDecoder::Result PreviewDecoder::Decode(const QString& path, const DecodeCancel& cancel) {
  Result result;
  if (path.isEmpty()) return result;
  const std::string name = LocalFileName(path);
  try {
    const PreviewPicture preview = DecodePreviewPicture(name, kMaxPreviewSide, &cancel);
    result.picture = QImage(preview.width, preview.height, QImage::Format_ARGB32);
    if (result.picture.isNull()) return Result();
    for (int y = 0; y < preview.height; ++y) {
      std::memcpy(result.picture.scanLine(y),
                  preview.pixels.data() + std::size_t(y) * preview.width,
                  std::size_t(preview.width) * 4);
    }
    result.size = QSize(preview.sourceWidth, preview.sourceHeight);
  } catch (...) {
    // A preview, not a load: a file that does not decode simply shows nothing, without the
    // error box that "Load image" would raise.
    result = Result();
  }
  return result;
}

}  // namespace pixdraft

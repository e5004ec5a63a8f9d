#include "preview_decoder.h"

#include <QMetaObject>

#include "local_file_name.h"
#include "picture_file.h"

namespace pixdraft {

PreviewDecoder::~PreviewDecoder() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.reset();
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void PreviewDecoder::Request(const QString& path, QObject* receiver, Done done) {
  {
    std::lock_guard lock(mutex_);
    pending_ = Job{path, receiver, std::move(done), ++*ticket_};
    if (!thread_.joinable()) thread_ = std::thread(&PreviewDecoder::Run, this);
  }
  wake_.notify_one();
}

void PreviewDecoder::Cancel() {
  std::lock_guard lock(mutex_);
  pending_.reset();
  ++*ticket_;
}

void PreviewDecoder::Run() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
      if (stopping_) return;
      job = std::move(*pending_);
      pending_.reset();
    }
    Result result = Decode(job.path);
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

PreviewDecoder::Result PreviewDecoder::Decode(const QString& path) {
  Result result;
  if (path.isEmpty()) return result;
  const std::string name = LocalFileName(path);
  try {
    QImage picture = LoadPictureFile(name);
    result.size = picture.size();
    if (picture.width() > kMaxPreviewSide || picture.height() > kMaxPreviewSide) {
      picture = picture.scaled(kMaxPreviewSide, kMaxPreviewSide, Qt::KeepAspectRatio,
                               Qt::SmoothTransformation);
    }
    result.picture = std::move(picture);
  } catch (...) {
    // A preview, not a load: a file that does not decode simply shows nothing, without the
    // error box that "Load image" would raise.
    result = Result();
  }
  return result;
}

}  // namespace pixdraft

#include "decoder/picture_device.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "base/readable_file.h"

namespace pixdraft {
namespace {

constexpr qint64 kWindowBytes = 64 * 1024;

}  // namespace

PictureDevice::PictureDevice(const ReadableFile& file)
    : file_(&file), size_(qint64(file.size())), window_(kWindowBytes) {
  open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

PictureDevice::PictureDevice(QByteArray bytes) : bytes_(std::move(bytes)), size_(bytes_.size()) {
  open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 PictureDevice::readData(char* data, qint64 maxSize) {
  if (maxSize <= 0) return 0;
  const qint64 at = pos();
  const qint64 length = std::clamp<qint64>(size_ - at, 0, maxSize);
  if (length == 0) readAtEnd_ = true;
  if (length < maxSize) readShort_ = true;
  if (length == 0) return 0;
  if (file_ == nullptr) {
    std::memcpy(data, bytes_.constData() + at, std::size_t(length));
  } else if (!CopyFromFile(data, length, at)) {
    readFailed_ = true;
    return -1;
  }
  return length;
}

bool PictureDevice::CopyFromFile(char* out, qint64 length, qint64 offset) {
  // Decoders are C libraries underneath: nothing may be thrown through them.
  try {
    if (length >= kWindowBytes) {
      return qint64(ReadAt(*file_, out, std::size_t(length), std::uint64_t(offset))) == length;
    }
    if (offset < windowStart_ || offset + length > windowStart_ + windowSize_) {
      windowStart_ = offset;
      windowSize_ = qint64(ReadAt(*file_, window_.data(), window_.size(), std::uint64_t(offset)));
      if (windowSize_ < length) {
        windowSize_ = 0;
        return false;
      }
    }
    std::memcpy(out, window_.data() + (offset - windowStart_), std::size_t(length));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace pixdraft

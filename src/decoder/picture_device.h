// A picture's bytes as the device a decoder reads, noting when the decoder asks for more than
// there is: the sign of a file cut short, which some decoders pass over in silence, leaving part
// of the frame as whatever memory held before.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <vector>

namespace pixdraft {

class ReadableFile;

class PictureDevice : public QIODevice {
 public:
  // Reads `file`, which must outlive the device, from its start.
  explicit PictureDevice(const ReadableFile& file);
  // Reads `bytes` from their start.
  explicit PictureDevice(QByteArray bytes);

  bool isSequential() const override { return false; }
  qint64 size() const override { return size_; }

  // Forgets what earlier reads noted: asking for the header may read to the end on its own.
  void ClearReadNotes() { readAtEnd_ = readShort_ = false; }
  // A read asked for bytes at or past the end, and got none.
  bool ReadAtEnd() const { return readAtEnd_; }
  // A read got fewer bytes than it asked for.
  bool ReadShort() const { return readShort_; }
  // Reading the file failed, or it shrank while it was read.
  bool ReadFailed() const { return readFailed_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  // Copies `length` bytes at `offset`, through a window of the file, so that decoders that read
  // a byte at a time do not cost a system call each.
  bool CopyFromFile(char* out, qint64 length, qint64 offset);

  const ReadableFile* file_ = nullptr;
  QByteArray bytes_;
  qint64 size_ = 0;
  std::vector<char> window_;
  qint64 windowStart_ = 0;
  qint64 windowSize_ = 0;
  bool readAtEnd_ = false;
  bool readShort_ = false;
  bool readFailed_ = false;
};

}  // namespace pixdraft

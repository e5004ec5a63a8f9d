// The floor pixdraft-convert's time is measured against: one plain Qt process that decodes the
// picture with QImageReader, its content choosing the reader, and writes the same DXF bytes (a
// drawing the converter made beforehand, copied a block at a time) through a temporary name,
// flushed to the disk and then renamed into place, as a save does. With --app it first makes a
// QCoreApplication, as Qt programs usually do. Usage: floor_convert [--app] PICTURE REFERENCE_DXF
// OUTPUT_DXF
#include <fcntl.h>
#include <unistd.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> application;
  if (argc > 1 && std::string(argv[1]) == "--app") {
    application = std::make_unique<QCoreApplication>(argc, argv);
    ++argv;
    --argc;
  }
  if (argc != 4) return 2;
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) return 1;
  QBuffer buffer;
  buffer.setData(file.readAll());
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QImage image = reader.read();
  if (image.isNull()) return 1;

  const int reference = ::open(argv[2], O_RDONLY | O_CLOEXEC);
  const std::string target = argv[3];
  const std::string staged = target + ".floor";
  const int out = ::open(staged.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (reference < 0 || out < 0) return 1;
  // Copied a block at a time, as the converter writes its drawing.
  std::vector<char> block(1 << 20);
  bool written = true;
  for (ssize_t got; written && (got = ::read(reference, block.data(), block.size())) != 0;) {
    written = got > 0 && ::write(out, block.data(), std::size_t(got)) == got;
  }
  written = written && ::fdatasync(out) == 0 && ::close(out) == 0;
  if (!written || std::rename(staged.c_str(), target.c_str()) != 0) return 1;
  const std::string folder = target.substr(0, target.rfind('/') + 1) + ".";
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return 0;
}

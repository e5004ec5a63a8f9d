// What pixdraft-convert's peak memory is measured against: a program that only decodes a picture
// with QImageReader, from a file it reads whole, as the converter does.
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 2) return 2;
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) return 1;
  QBuffer buffer;
  buffer.setData(file.readAll());
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QImage image = reader.read();
  std::printf("%dx%d\n", image.width(), image.height());
  return image.isNull() ? 1 : 0;
}

#include "decoder/decoder_helper.h"

#include <QCoreApplication>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <new>

#include "base/errors.h"
#include "base/readable_file.h"
#include "decoder/picture_file.h"
#include "decoder/picture_fit.h"
#include "picture/decoder_protocol.h"
#include "platform/platform.h"

namespace pixdraft {
namespace {

// The picture reduced to at most `side` pixels a side, as straight ARGB32.
QImage Preview(QImage picture, int side) {
  if (picture.width() > side || picture.height() > side) {
    picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  picture = picture.convertToFormat(QImage::Format_ARGB32);
  if (picture.isNull()) throw EOutOfMemory();
  return picture;
}

// A PNG needs none of Qt's image plugins, its reader being built in; looking through them, each
// loaded with its libraries, would cost the helper more than decoding a small picture does.
void LeaveOutPluginsForPng(const ReadableFile& picture) {
  char start[8] = {};
  if (ReadAt(picture, start, sizeof start, 0) == sizeof start &&
      std::memcmp(start, "\x89PNG\r\n\x1a\n", sizeof start) == 0) {
    QCoreApplication::setLibraryPaths({});
  }
}

// Decodes and fits or reduces standard input's picture into `answer` and `pixels`.
void Decode(const DecodeRequest& request, Answer& answer, std::vector<std::uint32_t>& pixels) {
  const ReadableFile file(platform::File::StandardInput(), "standard input");
  LeaveOutPluginsForPng(file);
  QImage picture = LoadPicture(file);
  answer.sourceWidth = picture.width();
  answer.sourceHeight = picture.height();
  if (request.kind == DecodeRequest::Kind::kFit) {
    Raster raster = FitPicture(picture, request.fit);
    answer.width = raster.width;
    answer.height = raster.height;
    pixels = std::move(raster.pixels);
    return;
  }
  picture = Preview(std::move(picture), request.previewSide);
  answer.width = picture.width();
  answer.height = picture.height();
  pixels.resize(std::size_t(answer.width) * answer.height);
  for (int y = 0; y < answer.height; ++y) {
    std::memcpy(pixels.data() + std::size_t(y) * answer.width, picture.constScanLine(y),
                std::size_t(answer.width) * 4);
  }
}

bool WriteAll(const void* data, std::size_t size) {
  return std::fwrite(data, 1, size, stdout) == size;
}

}  // namespace

int RunDecoderHelper(const std::vector<std::string>& args) {
  DecodeRequest request;
  if (!ParseHelperArguments(args, request)) return 2;
  // A program that dies before its helper (killed, say) takes it along.
  platform::EndWithParent();
  // Limited before the first byte of the picture, whenever the program's setting of it lands.
  platform::LimitThisProcess({request.limits.memoryBytes, request.limits.cpuSeconds});

  Answer answer;
  std::vector<std::uint32_t> pixels;
  try {
    Decode(request, answer, pixels);
  } catch (const EOutOfMemory&) {
    answer.status = DecodeStatus::kOutOfMemory;
  } catch (const std::bad_alloc&) {
    answer.status = DecodeStatus::kOutOfMemory;
  } catch (const EReadError&) {
    answer.status = DecodeStatus::kReadError;
  } catch (const Exception&) {
    answer.status = DecodeStatus::kInvalidGraphic;
  }
  if (answer.status != DecodeStatus::kDecoded) {
    answer.width = answer.height = 0;
    pixels.clear();
  }
  const bool written = WriteAll(&answer, sizeof answer) &&
                       WriteAll(pixels.data(), pixels.size() * sizeof(std::uint32_t)) &&
                       std::fflush(stdout) == 0;
  return written ? 0 : 1;
}

}  // namespace pixdraft

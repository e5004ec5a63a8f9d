#include "decoder/tga_frame.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <vector>

#include "base/errors.h"

namespace pixdraft {
namespace {

constexpr int kHeaderBytes = 18;

unsigned Little16(const uchar* at) { return at[0] | unsigned(at[1]) << 8; }
std::uint32_t Little32(const uchar* at) {
  return Little16(at) | std::uint32_t(Little16(at + 2)) << 16;
}

bool OneOf(int value, std::initializer_list<int> allowed) {
  return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

// The first `size` bytes of the device, which is left at its start.
bool Peek(QIODevice& device, uchar* out, qint64 size) {
  device.seek(0);
  const bool read = device.read(reinterpret_cast<char*>(out), size) == size;
  device.seek(0);
  return read;
}

struct Header {
  int idLength, mapType, type, mapFirst, mapLength, mapDepth, width, height, depth, descriptor;

  bool Mapped() const { return (type & 7) == 1; }
  bool Grey() const { return (type & 7) == 3; }
  bool RunLength() const { return (type & 8) != 0; }
  bool Alpha() const { return (descriptor & 0x0F) != 0; }
  bool TopDown() const { return (descriptor & 0x20) != 0; }
  bool RightToLeft() const { return (descriptor & 0x10) != 0; }
  int PixelBytes() const { return (depth + 7) / 8; }
  int EntryBytes() const { return (mapDepth + 7) / 8; }
  qint64 MapBytes() const { return mapType == 1 ? qint64(mapLength) * EntryBytes() : 0; }
};

std::optional<Header> SoundHeader(QIODevice& device) {
  uchar b[kHeaderBytes];
  if (!Peek(device, b, kHeaderBytes)) return std::nullopt;
  const Header h{b[0],
                 b[1],
                 b[2],
                 int(Little16(b + 3)),
                 int(Little16(b + 5)),
                 b[7],
                 int(Little16(b + 12)),
                 int(Little16(b + 14)),
                 b[16],
                 b[17]};
  // Bits 6 and 7 of the descriptor chose an interleaving that no reader or writer uses.
  bool sound = OneOf(h.type, {1, 2, 3, 9, 10, 11}) && h.mapType <= 1 && h.width > 0 &&
               h.height > 0 && (h.descriptor & 0xC0) == 0;
  if (h.mapType == 1) sound = sound && h.mapLength > 0 && OneOf(h.mapDepth, {15, 16, 24, 32});
  if (h.Mapped()) sound = sound && h.mapType == 1 && OneOf(h.depth, {8, 16});
  if (h.Grey()) sound = sound && OneOf(h.depth, {8, 16});  // 16: grey and alpha
  if (!h.Mapped() && !h.Grey()) sound = sound && OneOf(h.depth, {15, 16, 24, 32});
  // Room for every pixel, or for a packet of at most 128 pixels each.
  const qint64 pixels = qint64(h.width) * h.height;
  const qint64 least =
      h.RunLength() ? (pixels + 127) / 128 * (1 + h.PixelBytes()) : pixels * h.PixelBytes();
  if (!sound || device.size() < kHeaderBytes + h.idLength + h.MapBytes() + least) {
    return std::nullopt;
  }
  return h;
}

// The next bytes of the pixel data, read in large pieces.
class Source {
 public:
  explicit Source(QIODevice& device) : device_(device), buffer_(64 * 1024) {}

  // Throws EInvalidGraphic when the data ends first.
  void Take(uchar* out, std::size_t size) {
    while (size > 0) {
      if (at_ == end_) {
        const qint64 got =
            device_.read(reinterpret_cast<char*>(buffer_.data()), qint64(buffer_.size()));
        if (got <= 0) throw EInvalidGraphic();
        at_ = 0;
        end_ = std::size_t(got);
      }
      const std::size_t piece = std::min(size, end_ - at_);
      std::memcpy(out, buffer_.data() + at_, piece);
      at_ += piece;
      out += piece;
      size -= piece;
    }
  }

 private:
  QIODevice& device_;
  std::vector<uchar> buffer_;
  std::size_t at_ = 0, end_ = 0;
};

// One stored colour: 15 or 16 bits as 5-5-5 with the top bit for alpha, 24 as blue, green, red,
// 32 with alpha after them; grey as 8 bits, or 16 with alpha after it.
QRgb Colour(const uchar* p, int depth, bool grey, bool alpha) {
  if (grey) return qRgba(p[0], p[0], p[0], alpha && depth == 16 ? p[1] : 255);
  switch (depth) {
    case 15:
    case 16: {
      const unsigned v = Little16(p);
      const auto eight = [](unsigned five) { return int(five << 3 | five >> 2); };
      return qRgba(eight(v >> 10 & 31), eight(v >> 5 & 31), eight(v & 31),
                   alpha && depth == 16 && (v & 0x8000) == 0 ? 0 : 255);
    }
    case 24:
      return qRgb(p[2], p[1], p[0]);
    default:
      return qRgba(p[2], p[1], p[0], alpha ? p[3] : 255);
  }
}

// The stored pixels of one row of the file, `width` of `bytes` each, unpacking run-length
// packets, which may run on into the next row.
class RowReader {
 public:
  RowReader(Source& source, const Header& h) : source_(source), h_(h) {}

  void Read(uchar* row) {
    const int bytes = h_.PixelBytes();
    if (!h_.RunLength()) return source_.Take(row, std::size_t(h_.width) * bytes);
    for (int x = 0; x < h_.width;) {
      if (repeat_ == 0 && literal_ == 0) {
        uchar packet = 0;
        source_.Take(&packet, 1);
        if (packet & 0x80) {
          repeat_ = (packet & 0x7F) + 1;
          source_.Take(repeated_, bytes);
        } else {
          literal_ = packet + 1;
        }
      }
      uchar* pixel = row + std::size_t(x) * bytes;
      if (repeat_ > 0) {
        std::memcpy(pixel, repeated_, bytes);
        --repeat_;
        ++x;
      } else {
        const int count = std::min(literal_, h_.width - x);
        source_.Take(pixel, std::size_t(count) * bytes);
        literal_ -= count;
        x += count;
      }
    }
  }

 private:
  Source& source_;
  const Header& h_;
  int repeat_ = 0, literal_ = 0;
  uchar repeated_[4] = {};
};

}  // namespace

bool LooksLikeTga(QIODevice& device) { return SoundHeader(device).has_value(); }

bool LooksLikeIconDirectory(QIODevice& device) {
  uchar b[22];
  if (!Peek(device, b, sizeof b)) return false;
  const unsigned count = Little16(b + 4);
  const std::uint32_t bytes = Little32(b + 14), offset = Little32(b + 18);
  return Little16(b) == 0 && OneOf(int(Little16(b + 2)), {1, 2}) && count > 0 &&
         offset >= 6 + 16 * count && qint64(offset) + bytes <= device.size();
}

QImage DecodeTgaFrame(QIODevice& device, std::int64_t memoryLimit) {
  const std::optional<Header> header = SoundHeader(device);
  if (!header) throw EInvalidGraphic();
  const Header& h = *header;
  if (std::int64_t(h.width) * h.height * 4 > memoryLimit) throw EOutOfMemory();
  device.seek(kHeaderBytes + h.idLength);
  Source source(device);

  std::vector<QRgb> map(std::size_t(h.mapType == 1 ? h.mapLength : 0));
  std::vector<uchar> entries(std::size_t(h.MapBytes()));
  source.Take(entries.data(), entries.size());
  for (std::size_t i = 0; i < map.size(); ++i) {
    map[i] = Colour(entries.data() + i * h.EntryBytes(), h.mapDepth, false, h.Alpha());
  }

  QImage image(h.width, h.height, QImage::Format_ARGB32);
  if (image.isNull()) throw EOutOfMemory();
  const int bytes = h.PixelBytes();
  std::vector<uchar> row(std::size_t(h.width) * bytes);
  RowReader rows(source, h);
  for (int y = 0; y < h.height; ++y) {
    rows.Read(row.data());
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(h.TopDown() ? y : h.height - 1 - y));
    for (int x = 0; x < h.width; ++x) {
      const uchar* pixel = row.data() + std::size_t(x) * bytes;
      QRgb colour;
      if (h.Mapped()) {
        const int index = int(bytes == 1 ? pixel[0] : Little16(pixel)) - h.mapFirst;
        if (index < 0 || index >= int(map.size())) throw EInvalidGraphic();
        colour = map[std::size_t(index)];
      } else {
        colour = Colour(pixel, h.depth, h.Grey(), h.Alpha());
      }
      out[h.RightToLeft() ? h.width - 1 - x : x] = colour;
    }
  }
  return image;
}

}  // namespace pixdraft

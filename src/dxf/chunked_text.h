// Generated text on its way to a sink: ASCII gathered in a buffer and written, in the document's
// encoding, about kChunkBytes at a time, so memory stays small whatever the drawing.
#pragma once

#include <string>

#include "base/byte_sink.h"
#include "base/text_encoding.h"

namespace pixdraft {

class ChunkedText {
 public:
  static constexpr std::size_t kChunkBytes = 1 << 20;

  // Every piece written at End() may take up to `room` bytes.
  ChunkedText(ByteSink& sink, TextEncoding encoding, std::size_t room)
      : sink_(sink), encoding_(encoding), ascii_(kChunkBytes + room, '\0'), end_(ascii_.data()) {}

  // Where the next piece goes, with `room` bytes free.
  char* End() const { return end_; }
  // The text now ends at `end`; a full chunk goes to the sink.
  void Advance(char* end) {
    end_ = end;
    if (std::size_t(end_ - ascii_.data()) >= kChunkBytes) Flush();
  }
  // Writes what is gathered. Throws as the sink does.
  void Flush() {
    const std::string_view chunk(ascii_.data(), end_ - ascii_.data());
    if (IsAsciiCompatible(encoding_)) {
      sink_.Write(chunk);
    } else {
      encoded_.clear();
      AppendAscii(chunk, encoding_, encoded_);
      sink_.Write(encoded_);
    }
    end_ = ascii_.data();
  }

 private:
  ByteSink& sink_;
  const TextEncoding encoding_;
  std::string ascii_, encoded_;
  char* end_;
};

}  // namespace pixdraft

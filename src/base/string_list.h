// An ordered list of text lines that loads and saves text files and remembers the encoding of
// the file it was loaded from, so that saving writes that encoding again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_sink.h"
#include "base/text_encoding.h"

namespace pixdraft {

class TStringList {
 public:
  // Files larger than this are refused: a template is a few kilobytes, and a list must never take
  // memory without bound.
  static constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

  // Replaces the lines with those of the file. The encoding is told by the file's preamble
  // (UTF-8, UTF-16 LE or BE), else it is DefaultEncoding. Lines end at CR LF, LF or CR; the
  // first NUL ends the text. Throws EFOpenError (also for a file larger than kMaxFileBytes),
  // EReadError and EEncodingError; after an EEncodingError the lines are unchanged but Encoding
  // already holds the detected encoding.
  void LoadFromFile(const std::string& fileName);
  // As LoadFromFile, from the file's bytes.
  void LoadFromBytes(std::string_view bytes);

  // Appends one line and returns its index.
  int Add(std::u16string_view line);
  int Count() const { return static_cast<int>(ends_.size()); }
  // Valid until the list changes.
  std::u16string_view operator[](int index) const {
    const std::uint32_t start = index == 0 ? 0 : ends_[index - 1];
    return std::u16string_view(text_).substr(start, ends_[index] - start);
  }

  // Writes the lines to `file`, the output being made: each followed by LineBreak, in
  // SaveEncoding(), behind the encoding's preamble when WriteBOM is set. Throws as `file` does.
  void SaveToFile(ByteSink& file) const;

  // The encoding SaveToFile writes: that of the last load, else DefaultEncoding.
  TextEncoding SaveEncoding() const { return Encoding.value_or(DefaultEncoding); }
  // Writes all lines, each followed by `lineBreak`, in `encoding`, without preamble, a block of
  // lines at a time.
  void WriteLines(ByteSink& sink, TextEncoding encoding, std::u16string_view lineBreak) const;

  std::optional<TextEncoding> Encoding;
  TextEncoding DefaultEncoding = TextEncoding::Ansi;
  bool WriteBOM = true;
  std::u16string LineBreak = u"\r\n";

 private:
  // The lines back to back, and where each ends: two allocations whatever the number of lines,
  // so a file of nothing but line breaks costs four bytes a line.
  std::u16string text_;
  std::vector<std::uint32_t> ends_;
};

}  // namespace pixdraft

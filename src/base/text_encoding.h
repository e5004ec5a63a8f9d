// The text encodings that line lists read and write, and their conversions. Text is held as
// UTF-16 code units, so every file round-trips whatever it holds.
#pragma once

#include <string>
#include <string_view>

namespace pixdraft {

enum class TextEncoding {
  Utf8,
  Utf16LE,
  Utf16BE,
  // Stand-in for the system's ANSI code page: Windows-1252, fixed. The five bytes the code page
  // leaves undefined map to the C1 controls of the same value, so every byte survives a round trip.
  Ansi,
};

// True when ASCII text is its own encoding.
constexpr bool IsAsciiCompatible(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Ansi;
}

// The byte-order mark that announces `encoding` at the start of a file; empty for Ansi.
std::string_view Preamble(TextEncoding encoding);

// Decodes `bytes` (without preamble). Strict for UTF-8: invalid input throws EEncodingError.
// UTF-16 ignores an odd last byte; Ansi accepts every byte.
std::u16string DecodeText(std::string_view bytes, TextEncoding encoding);

// Encodes `text` leniently, appending to `out`: a character Ansi cannot represent becomes '?', and
// an unpaired surrogate becomes U+FFFD in UTF-8.
void AppendEncoded(std::u16string_view text, TextEncoding encoding, std::string& out);

// Encodes ASCII-only `text` in `encoding`, appending to `out`. Faster than AppendEncoded for the
// generated parts of a document, which never leave ASCII.
void AppendAscii(std::string_view text, TextEncoding encoding, std::string& out);

}  // namespace pixdraft

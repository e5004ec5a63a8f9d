#include "base/text_encoding.h"

#include <array>
#include <cstdint>

#include "base/errors.h"

namespace pixdraft {
namespace {

// Windows-1252 bytes 80..9F. The undefined ones (81, 8D, 8F, 90, 9D) keep their own value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

char16_t DecodeCp1252(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : char16_t{byte};
}

char EncodeCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
    if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf16(char32_t c, std::u16string& out) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Strict UTF-8: rejects stray continuation bytes, truncated and overlong sequences, surrogates
// and values beyond U+10FFFF.
std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      text += char16_t{lead};
      ++i;
      continue;
    }
    int length;
    char32_t c;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
      throw EEncodingError();
    }
    if (bytes.size() - i < static_cast<std::size_t>(length)) throw EEncodingError();
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) throw EEncodingError();
      c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) {
      throw EEncodingError();
    }
    AppendUtf16(c, text);
    i += length;
  }
  return text;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
  }
  return text;
}

// Calls `emit` with each code point of `text`; an unpaired surrogate is passed on as it is.
template <class Emit>
void ForEachCodePoint(std::u16string_view text, Emit emit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    emit(c);
  }
}

}  // namespace

std::string_view Preamble(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return "\xEF\xBB\xBF";
    case TextEncoding::Utf16LE:
      return "\xFF\xFE";
    case TextEncoding::Utf16BE:
      return "\xFE\xFF";
    case TextEncoding::Ansi:
      break;
  }
  return {};
}

std::u16string DecodeText(std::string_view bytes, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return DecodeUtf8(bytes);
    case TextEncoding::Utf16LE:
      return DecodeUtf16(bytes, false);
    case TextEncoding::Utf16BE:
      return DecodeUtf16(bytes, true);
    case TextEncoding::Ansi:
      break;
  }
  std::u16string text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[i] = DecodeCp1252(static_cast<unsigned char>(bytes[i]));
  }
  return text;
}

void AppendEncoded(std::u16string_view text, TextEncoding encoding, std::string& bytes) {
  switch (encoding) {
    case TextEncoding::Utf8:
      bytes.reserve(bytes.size() + text.size());
      ForEachCodePoint(text, [&](char32_t c) {
        AppendUtf8(IsHighSurrogate(c) || IsLowSurrogate(c) ? 0xFFFD : c, bytes);
      });
      break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
      const bool bigEndian = encoding == TextEncoding::Utf16BE;
      const std::size_t at = bytes.size();
      bytes.resize(at + 2 * text.size());
      char* wide = bytes.data() + at;
      for (std::size_t i = 0; i < text.size(); ++i) {
        const auto high = static_cast<char>(text[i] >> 8);
        const auto low = static_cast<char>(text[i] & 0xFF);
        wide[2 * i] = bigEndian ? high : low;
        wide[2 * i + 1] = bigEndian ? low : high;
      }
      break;
    }
    case TextEncoding::Ansi:
      bytes.reserve(bytes.size() + text.size());
      ForEachCodePoint(text, [&](char32_t c) { bytes += EncodeCp1252(c); });
      break;
  }
}

void AppendAscii(std::string_view text, TextEncoding encoding, std::string& out) {
  switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Ansi:
      out += text;
      return;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
      // The high byte of every unit is zero; two loops keep the hot one free of branches.
      const std::size_t at = out.size();
      out.resize(at + 2 * text.size());
      char* wide = out.data() + at;
      if (encoding == TextEncoding::Utf16LE) {
        for (std::size_t i = 0; i < text.size(); ++i) wide[2 * i] = text[i], wide[2 * i + 1] = 0;
      } else {
        for (std::size_t i = 0; i < text.size(); ++i) wide[2 * i] = 0, wide[2 * i + 1] = text[i];
      }
      return;
    }
  }
}

}  // namespace pixdraft

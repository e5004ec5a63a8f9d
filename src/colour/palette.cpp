#include "colour/palette.h"

#include <unordered_set>

#include "base/readable_file.h"
#include "base/text_encoding.h"
#include "colour/colour_text.h"

namespace pixdraft {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == text.npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Names are shown in the counts and become layer names: text only, without control characters
// (a stray CR among them). Returns what is wrong, or nothing.
const char* NameProblem(std::string_view name) {
  for (const char c : name) {
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
      return "the name holds a control character";
    }
  }
  try {
    DecodeText(name, TextEncoding::Utf8);
    return nullptr;
  } catch (const EEncodingError&) {
    return "the name is not UTF-8 text";
  }
}

}  // namespace

std::vector<NamedColour> ParsePalette(std::string_view text, const std::string& fileName) {
  // UTF-16 is read as the templates are, by its byte-order mark; without one it would read as
  // "expected a colour" on its first line.
  for (const TextEncoding utf16 : {TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    if (text.starts_with(Preamble(utf16))) {
      std::string utf8;
      AppendEncoded(DecodeText(text.substr(2), utf16), TextEncoding::Utf8, utf8);
      return ParsePalette(utf8, fileName);
    }
  }
  if (text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0')) {
    throw EPaletteError(fileName + ": UTF-16 text without a byte-order mark; save it as UTF-8");
  }
  if (text.starts_with(Preamble(TextEncoding::Utf8))) text.remove_prefix(3);
  std::vector<NamedColour> colours;
  std::unordered_set<TColor> seen;
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == text.npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = Trim(line);
    const std::string_view colour = line.substr(0, line.find_first_of(kBlanks));
    const bool isColour = colour.size() == (colour.starts_with('#') ? 7 : 6) && ParseColour(colour);
    if (line.empty() || (line.starts_with('#') && !isColour)) continue;

    const auto problem = [&](const std::string& what) {
      return EPaletteError(fileName + ":" + std::to_string(number) + ": " + what);
    };
    if (!isColour) throw problem("expected a colour RRGGBB, then a name if any");
    const std::string_view name = Trim(line.substr(colour.size()));
    if (const char* why = NameProblem(name)) throw problem(why);
    if (name.size() > kMaxPaletteNameBytes) {
      throw problem("the name is longer than " + std::to_string(kMaxPaletteNameBytes) + " bytes");
    }
    const TColor value = *ParseColour(colour);
    if (!seen.insert(value).second) continue;
    if (colours.size() == kMaxPaletteColours) {
      throw problem("more than " + std::to_string(kMaxPaletteColours) + " colours");
    }
    colours.push_back({value, std::string(name)});
  }
  if (colours.empty()) throw EPaletteError(fileName + ": no colours");
  return colours;
}

std::vector<NamedColour> LoadPalette(const std::string& fileName) {
  return ParsePalette(ReadWholeFile(fileName, kMaxPaletteFileBytes), fileName);
}

}  // namespace pixdraft

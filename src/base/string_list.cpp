#include "base/string_list.h"

#include <limits>

#include "base/errors.h"
#include "base/readable_file.h"

namespace pixdraft {
namespace {

// Lines are encoded into blocks of about this size before they go to the sink.
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

// The encoding announced by the start of `bytes`, and the length of its preamble.
std::pair<std::optional<TextEncoding>, std::size_t> DetectPreamble(std::string_view bytes) {
  for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    const std::string_view preamble = Preamble(encoding);
    if (bytes.substr(0, preamble.size()) == preamble) return {encoding, preamble.size()};
  }
  return {std::nullopt, 0};
}

// Calls `each` with every line of `text`: lines end at CR LF, LF or CR, and the first NUL ends
// the text.
template <typename Each>
void ForEachLine(std::u16string_view text, Each each) {
  text = text.substr(0, text.find(u'\0'));
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find_first_of(u"\r\n", at), text.size());
    each(text.substr(at, end - at));
    at = end;
    if (at < text.size() && text[at] == u'\r') ++at;
    if (at < text.size() && text[at] == u'\n') ++at;
  }
}

}  // namespace

void TStringList::LoadFromFile(const std::string& fileName) {
  LoadFromBytes(ReadWholeFile(fileName, kMaxFileBytes));
}

void TStringList::LoadFromBytes(std::string_view bytes) {
  const auto [detected, preambleLength] = DetectPreamble(bytes);
  Encoding = detected.value_or(DefaultEncoding);
  bytes.remove_prefix(preambleLength);
  const std::u16string decoded = DecodeText(bytes, *Encoding);
  // A single byte after a UTF-16 preamble decodes to nothing at all.
  if (!bytes.empty() && decoded.empty()) throw EEncodingError();
  if (decoded.size() > std::numeric_limits<std::uint32_t>::max()) throw EOutOfMemory();

  // Counted first, so that each vector takes exactly the room it needs.
  std::size_t lines = 0, characters = 0;
  ForEachLine(decoded, [&](std::u16string_view line) { ++lines, characters += line.size(); });
  std::u16string text;
  text.reserve(characters);
  std::vector<std::uint32_t> ends;
  ends.reserve(lines);
  ForEachLine(decoded, [&](std::u16string_view line) {
    text += line;
    ends.push_back(static_cast<std::uint32_t>(text.size()));
  });
  text_ = std::move(text);
  ends_ = std::move(ends);
}

int TStringList::Add(std::u16string_view line) {
  if (text_.size() + line.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw EOutOfMemory();
  }
  text_ += line;
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  return Count() - 1;
}

void TStringList::WriteLines(ByteSink& sink, TextEncoding encoding,
                             std::u16string_view lineBreak) const {
  std::string encodedBreak;
  AppendEncoded(lineBreak, encoding, encodedBreak);
  std::string block;
  for (int i = 0; i < Count(); ++i) {
    AppendEncoded((*this)[i], encoding, block);
    block += encodedBreak;
    if (block.size() >= kBlockBytes) {
      sink.Write(block);
      block.clear();
    }
  }
  if (!block.empty()) sink.Write(block);
}

void TStringList::SaveToFile(ByteSink& file) const {
  if (WriteBOM) file.Write(Preamble(SaveEncoding()));
  WriteLines(file, SaveEncoding(), LineBreak);
}

}  // namespace pixdraft

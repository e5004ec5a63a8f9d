#include "string_list.h"

#include "errors.h"
#include "file_io.h"

namespace pixdraft {
namespace {

// The encoding announced by the start of `bytes`, and the length of its preamble.
std::pair<std::optional<TextEncoding>, std::size_t> DetectPreamble(std::string_view bytes) {
  for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    const std::string_view preamble = Preamble(encoding);
    if (bytes.substr(0, preamble.size()) == preamble) return {encoding, preamble.size()};
  }
  return {std::nullopt, 0};
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));  // the first NUL ends the text
  std::vector<std::u16string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find_first_of(u"\r\n", at), text.size());
    lines.emplace_back(text.substr(at, end - at));
    at = end;
    if (at < text.size() && text[at] == u'\r') ++at;
    if (at < text.size() && text[at] == u'\n') ++at;
  }
  return lines;
}

}  // namespace

void TStringList::LoadFromFile(const std::string& fileName) {
  LoadFromBytes(ReadWholeFile(fileName));
}

void TStringList::LoadFromBytes(std::string_view bytes) {
  const auto [detected, preambleLength] = DetectPreamble(bytes);
  Encoding = detected.value_or(DefaultEncoding);
  bytes.remove_prefix(preambleLength);
  std::u16string text = DecodeText(bytes, *Encoding);
  // A single byte after a UTF-16 preamble decodes to nothing at all.
  if (!bytes.empty() && text.empty()) throw EEncodingError();
  lines_ = SplitLines(text);
}

int TStringList::Add(std::u16string line) {
  lines_.push_back(std::move(line));
  return Count() - 1;
}

std::string TStringList::EncodedText(TextEncoding encoding, std::u16string_view lineBreak) const {
  std::size_t length = 0;
  for (const auto& line : lines_) length += line.size() + lineBreak.size();
  std::u16string text;
  text.reserve(length);
  for (const auto& line : lines_) {
    text += line;
    text += lineBreak;
  }
  return EncodeText(text, encoding);
}

void TStringList::SaveToSink(ByteSink& sink) const {
  if (WriteBOM) sink.Write(Preamble(SaveEncoding()));
  sink.Write(EncodedText(SaveEncoding(), LineBreak));
}

void TStringList::SaveToFile(const std::string& fileName) const {
  SafeFileWriter writer(fileName);
  SaveToSink(writer);
  writer.Commit();
}

}  // namespace pixdraft

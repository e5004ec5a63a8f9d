#include "base/string_list.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "sinks.h"
#include "system_reason.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

using namespace std::string_literals;

struct RoundTrip {
  std::string name;
  std::string fileBytes;
  std::vector<std::u16string> lines;
  TextEncoding encoding;
  std::string savedBytes;
};

void PrintTo(const RoundTrip& c, std::ostream* out) { *out << c.name; }

class LoadAndSave : public testing::TestWithParam<RoundTrip> {};

// Loads the bytes from a real file, checks lines and encoding, saves and checks the bytes.
TEST_P(LoadAndSave, ReadsLinesAndWritesThemBackInTheSameEncoding) {
  const RoundTrip& c = GetParam();
  TempDir dir;
  WriteFile(dir / "in.txt", c.fileBytes);

  TStringList list;
  list.LoadFromFile(dir / "in.txt");
  ASSERT_EQ(list.Count(), static_cast<int>(c.lines.size()));
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list[i], c.lines[i]) << "line " << i;
  EXPECT_EQ(list.Encoding, c.encoding);

  StringSink saved;
  list.SaveToFile(saved);
  EXPECT_EQ(saved.data, c.savedBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadAndSave,
    testing::Values(
        RoundTrip{"CrLf", "A\r\nB\r\n", {u"A", u"B"}, TextEncoding::Ansi, "A\r\nB\r\n"},
        RoundTrip{"LfNoFinalBreak", "A\nB", {u"A", u"B"}, TextEncoding::Ansi, "A\r\nB\r\n"},
        RoundTrip{
            "LfCrIsTwoBreaks", "A\n\rB", {u"A", u"", u"B"}, TextEncoding::Ansi, "A\r\n\r\nB\r\n"},
        RoundTrip{"LoneCr", "A\rB\r", {u"A", u"B"}, TextEncoding::Ansi, "A\r\nB\r\n"},
        RoundTrip{
            "EmptyLinesKept", "\r\n\r\nA", {u"", u"", u"A"}, TextEncoding::Ansi, "\r\n\r\nA\r\n"},
        RoundTrip{"NulEndsText", "A\nB\0C\nD"s, {u"A", u"B"}, TextEncoding::Ansi, "A\r\nB\r\n"},
        RoundTrip{"EmptyFile", "", {}, TextEncoding::Ansi, ""},
        RoundTrip{"Utf8PreambleOnly", "\xEF\xBB\xBF", {}, TextEncoding::Utf8, "\xEF\xBB\xBF"},
        // One to four bytes a character, up to the largest code point there is.
        RoundTrip{"Utf8",
                  "\xEF\xBB\xBF"
                  "caf\xC3\xA9\n\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF",
                  {u"café", u"€😀\U0010FFFF"},
                  TextEncoding::Utf8,
                  "\xEF\xBB\xBF"
                  "caf\xC3\xA9\r\n\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\r\n"},
        // The characters on each side of every change of length, and around the surrogates.
        RoundTrip{"Utf8Boundaries",
                  "\xEF\xBB\xBF\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"
                  "\xEF\xBF\xBF\xF0\x90\x80\x80",
                  {u"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000"},
                  TextEncoding::Utf8,
                  "\xEF\xBB\xBF\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"
                  "\xEF\xBF\xBF\xF0\x90\x80\x80\r\n"},
        RoundTrip{"Utf16LE",
                  "\xFF\xFE"
                  "A\0\r\0\n\0\xE9\0"s,
                  {u"A", u"é"},
                  TextEncoding::Utf16LE,
                  "\xFF\xFE"
                  "A\0\r\0\n\0\xE9\0\r\0\n\0"s},
        RoundTrip{"Utf16LEOddByteIgnored",
                  "\xFF\xFE"
                  "A\0B"s,
                  {u"A"},
                  TextEncoding::Utf16LE,
                  "\xFF\xFE"
                  "A\0\r\0\n\0"s},
        RoundTrip{"Utf16BE",
                  "\xFE\xFF\0A\0\n\x20\xAC\xD8\x3D\xDE\x00"s,
                  {u"A", u"€😀"},
                  TextEncoding::Utf16BE,
                  "\xFE\xFF\0A\0\r\0\n\x20\xAC\xD8\x3D\xDE\x00\0\r\0\n"s},
        // Each of the 32 bytes where Windows-1252 leaves Latin-1, by the character it stands for:
        // a round trip alone would not tell a wrong entry.
        RoundTrip{"AnsiEveryByteFrom80To9F",
                  "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
                  "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F",
                  {u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"},
                  TextEncoding::Ansi,
                  "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
                  "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F\r\n"},
        // Every byte without a preamble, undefined ones of the code page included, comes back.
        RoundTrip{"AnsiHighBytes",
                  "\x80\x81\x8D\x8F\x90\x9D\x9F\xA0\xE9\xFF",
                  {u"€\u0081\u008D\u008F\u0090\u009DŸ\u00A0éÿ"},
                  TextEncoding::Ansi,
                  "\x80\x81\x8D\x8F\x90\x9D\x9F\xA0\xE9\xFF\r\n"},
        // Two bytes that only start like a UTF-8 preamble are plain text.
        RoundTrip{"ShortOfPreamble", "\xEF\xBB", {u"ï»"}, TextEncoding::Ansi, "\xEF\xBB\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(StringList, UndecodableTextRaisesEncodingErrorAndKeepsTheLines) {
  const std::string message =
      "Aucun mappage pour le caractère Unicode n'existe dans la page de code multi-octet cible";
  for (const std::string bytes :
       {"\xEF\xBB\xBF\xFF",
        "\xEF\xBB\xBF"
        "A\xC3",
        "\xFF\xFEZ", "\xFE\xFFZ", "\xEF\xBB\xBF\xED\xA0\x80", "\xEF\xBB\xBF\xC0\xAF",
        // Past the largest code point, overlong forms of three and four bytes, a stray
        // continuation byte, a sequence cut short.
        "\xEF\xBB\xBF\xF4\x90\x80\x80", "\xEF\xBB\xBF\xE0\x9F\xBF", "\xEF\xBB\xBF\xF0\x8F\xBF\xBF",
        "\xEF\xBB\xBF\x80", "\xEF\xBB\xBF\xF0\x9F\x98"}) {
    TStringList list;
    list.Add(u"kept");
    try {
      list.LoadFromBytes(bytes);
      ADD_FAILURE() << "no error for " << testing::PrintToString(bytes);
    } catch (const EEncodingError& error) {
      EXPECT_EQ(error.what(), message);
    }
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], u"kept");
    EXPECT_TRUE(list.Encoding.has_value());
  }
}

TEST(StringList, AddKeepsOrderAndDuplicates) {
  TStringList list;
  EXPECT_EQ(list.Add(u"b"), 0);
  EXPECT_EQ(list.Add(u"a"), 1);
  EXPECT_EQ(list.Add(u"b"), 2);
  StringSink sink;
  list.SaveToFile(sink);
  EXPECT_EQ(sink.data, "b\r\na\r\nb\r\n");
}

// Lines go out a block of about a megabyte at a time: every block must arrive, in order.
TEST(StringList, SavesEveryLineOfAListOfSomeMegabytes) {
  TStringList list;
  std::string expected;
  for (int i = 0; i < 150000; ++i) {  // about two megabytes
    const std::string line = "line " + std::to_string(i);
    list.Add(std::u16string(line.begin(), line.end()));
    expected += line + "\r\n";
  }
  StringSink sink;
  list.SaveToFile(sink);
  EXPECT_TRUE(sink.data == expected) << sink.data.size() << " bytes for " << expected.size();
}

TEST(StringList, SavesUnrepresentableCharactersLeniently) {
  TStringList ansi;
  ansi.Add(u"€ ✓ 😀 \xD800");
  StringSink ansiBytes;
  ansi.SaveToFile(ansiBytes);
  EXPECT_EQ(ansiBytes.data, "\x80 ? ? ?\r\n");

  TStringList utf8;
  utf8.LoadFromBytes("\xEF\xBB\xBF");
  utf8.Add(u"\xDC00");
  StringSink utf8Bytes;
  utf8.SaveToFile(utf8Bytes);
  EXPECT_EQ(utf8Bytes.data, "\xEF\xBB\xBF\xEF\xBF\xBD\r\n");
}

TEST(StringList, OpenErrorNamesTheFullPathAndTheSystemText) {
  TempDir dir;
  const CurrentDirectory inDir(dir.path());
  TStringList list;
  try {
    list.LoadFromFile("sub/../missing.dx1");
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.what(), "Impossible d'ouvrir le fichier \"" + dir / "missing.dx1" + "\". " +
                                MissingFileReason());
  }
  std::filesystem::create_directory("folder");
  EXPECT_THROW(list.LoadFromFile("folder"), EFOpenError);
}

TEST(StringList, FileOfTheLargestSizeLoadsOneByteMoreIsRefused) {
  const TempDir dir;
  for (const std::size_t size : {TStringList::kMaxFileBytes, TStringList::kMaxFileBytes + 1}) {
    WriteFile(dir / "big.txt", "A\n");
    std::filesystem::resize_file(dir / "big.txt", size);  // the rest NUL, which ends the text
    TStringList list;
    try {
      list.LoadFromFile(dir / "big.txt");
      EXPECT_EQ(size, TStringList::kMaxFileBytes);
      EXPECT_EQ(list.Count(), 1);
    } catch (const EFOpenError& error) {
      EXPECT_EQ(size, TStringList::kMaxFileBytes + 1) << error.what();
    }
  }
}

}  // namespace
}  // namespace pixdraft

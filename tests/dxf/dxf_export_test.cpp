#include "dxf/dxf_export.h"

#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

#include "base/errors.h"
#include "drawing_test_support.h"
#include "dxf/colour_counts.h"
#include "dxf/trace_record.h"
#include "platform/platform.h"
#include "sinks.h"
#include "system_reason.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

using namespace std::string_literals;

const std::string kBlackOriginRecord =
    Record("012C", "0", "0.00000", "0.00000", "1.00000", "1.00000");

// `ascii` as UTF-16 in either byte order.
std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string wide;
  for (const char c : ascii) wide += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return wide;
}

TEST(DxfPath, ReplacesTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(DxfPathFor("/pics/cat.png"), "/pics/cat.dxf");
  EXPECT_EQ(DxfPathFor("/pics/cat.tar.gz"), "/pics/cat.tar.dxf");
  EXPECT_EQ(DxfPathFor("/pics/cat"), "/pics/cat.dxf");
  EXPECT_EQ(DxfPathFor("/old.pics/cat"), "/old.pics/cat.dxf");
  EXPECT_EQ(DxfPathFor("/pics/cat."), "/pics/cat.dxf");
  EXPECT_EQ(DxfPathFor("C:\\pics\\cat.png"), "C:\\pics\\cat.dxf");
  EXPECT_EQ(DxfPathFor("/photos d'été/chat\xFF.jpeg"), "/photos d'été/chat\xFF.dxf");
}

class Export : public testing::Test {
 protected:
  void SetUp() override {
    templates_.header = dir_ / "pixdraft.dx1";
    templates_.footer = dir_ / "pixdraft.dx2";
    picture_ = dir_ / "cat.png";
    WriteFile(picture_, "picture bytes");
  }

  std::string Run(const Raster& raster) {
    const std::string path = ExportDxf(raster, picture_, templates_);
    EXPECT_EQ(path, dir_ / "cat.dxf");
    return ReadFile(path);
  }

  TempDir dir_;
  TemplatePaths templates_;
  std::string picture_;
};

TEST_F(Export, OnePixelGivesHeaderRecordAndFooter) {
  WriteFile(templates_.header, "HEAD\nER");
  WriteFile(templates_.footer, "FOOT\r\n");
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);
  EXPECT_EQ(Run(raster), "HEAD\r\nER\r\n" + kBlackOriginRecord + "FOOT\r\n");
}

TEST_F(Export, EmptyTemplatesGiveOnlyTheRecords) {
  WriteFile(templates_.header, "");
  WriteFile(templates_.footer, "");
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);
  EXPECT_EQ(Run(raster), kBlackOriginRecord);
}

// Columns from the right, each from the top down; every field of every record compared, with
// colours whose three channels differ.
TEST_F(Export, WalksColumnsFromTheRightEachFromTheTop) {
  WriteFile(templates_.header, "H");
  WriteFile(templates_.footer, "F");
  Raster raster(2, 3);
  const TColor colours[3][2] = {{RGB(255, 0, 0), RGB(0, 0, 255)},
                                {RGB(255, 255, 255), RGB(1, 2, 3)},
                                {RGB(0, 255, 0), RGB(16, 32, 48)}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 2; ++x) raster.SetPixel(x, y, colours[y][x]);
  }
  EXPECT_EQ(Run(raster),
            "H\r\n" + Record("012C", "255", "1.00000", "0.00000", "2.00000", "1.00000") +
                Record("012D", "66051", "1.00000", "-1.00000", "2.00000", "0.00000") +
                Record("012E", "1056816", "1.00000", "-2.00000", "2.00000", "-1.00000") +
                Record("012F", "16711680", "0.00000", "0.00000", "1.00000", "1.00000") +
                Record("0130", "16777215", "0.00000", "-1.00000", "1.00000", "0.00000") +
                Record("0131", "65280", "0.00000", "-2.00000", "1.00000", "-1.00000") + "F\r\n");
}

TEST_F(Export, FileTakesTheHeaderEncodingWhateverTheFooter) {
  WriteFile(templates_.footer, "\xEF\xBB\xBF\xC3\xA9");  // é
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);
  for (const bool bigEndian : {false, true}) {
    WriteFile(templates_.header, bigEndian ? "\xFE\xFF\0H\0\n"s : "\xFF\xFEH\0\n\0"s);
    const std::string e = bigEndian ? "\0\xE9"s : "\xE9\0"s;
    EXPECT_EQ(Run(raster), (bigEndian ? "\xFE\xFF" : "\xFF\xFE") +
                               Utf16("H\r\n" + kBlackOriginRecord, bigEndian) + e +
                               Utf16("\r\n", bigEndian));
  }
  WriteFile(templates_.header, "\xEF\xBB\xBF");
  EXPECT_EQ(Run(raster), "\xEF\xBB\xBF" + kBlackOriginRecord + "\xC3\xA9\r\n");
  WriteFile(templates_.header, "");  // no preamble: the code page, where é is one byte
  EXPECT_EQ(Run(raster), kBlackOriginRecord + "\xE9\r\n");
}

TEST_F(Export, NumbersIgnoreTheLocale) {
  WriteFile(templates_.header, "");
  WriteFile(templates_.footer, "");
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);
  // A locale whose decimal separator is a comma, where one is installed.
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  const bool comma = std::setlocale(LC_ALL, "fr_FR.UTF-8") ||
                     std::setlocale(LC_ALL, "de_DE.UTF-8") ||
                     std::setlocale(LC_ALL, "French_France.1252");  // Windows' name
#ifndef _WIN32  // where the C++ library knows no locale but "C"
  std::locale::global(std::locale(std::setlocale(LC_ALL, nullptr)));
#endif
  const std::string bytes = Run(raster);
  std::setlocale(LC_ALL, previous.c_str());
  std::locale::global(std::locale::classic());
  EXPECT_EQ(bytes, kBlackOriginRecord);
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
}

TEST_F(Export, ReplacesAnEarlierExport) {
  WriteFile(templates_.header, "");
  WriteFile(templates_.footer, "");
  WriteFile(dir_ / "cat.dxf", "an earlier, longer export of the picture");
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);
  EXPECT_EQ(Run(raster), kBlackOriginRecord);
  EXPECT_EQ(Run(raster), kBlackOriginRecord);
  EXPECT_EQ(ListFolder(dir_.path()),
            (std::vector<std::string>{"cat.dxf", "cat.png", "pixdraft.dx1", "pixdraft.dx2"}));
}

// Fault injection, write by write: whichever write fails (the preamble, the header, a chunk of
// records, the footer), the document ends there with that write's error, asks for no other, and
// what came before it is the document's beginning.
TEST(Document, EndsAtTheFirstWriteThatFails) {
  TStringList header, footer;
  header.LoadFromBytes("\xEF\xBB\xBFHEAD");
  footer.LoadFromBytes("FOOT");
  const Raster raster(100, 100);  // more than two chunks of records
  StringSink whole;
  WriteDxfDocument(whole, header, raster, footer);
  ASSERT_GE(whole.writes, 5);
  for (int failing = 1; failing <= whole.writes; ++failing) {
    StringSink sink(failing);
    EXPECT_THROW(WriteDxfDocument(sink, header, raster, footer), EWriteError) << failing;
    EXPECT_EQ(sink.writes, failing);
    EXPECT_TRUE(whole.data.starts_with(sink.data)) << failing;
  }
}

// Fault: options that cannot be drawn together came through as a library error, not ours. They
// are refused in the converter's words before any byte, by the counts as by the export.
TEST(Document, RefusesOptionsThatCannotBeDrawnTogetherBeforeAnyByte) {
  const TStringList header, footer;
  const Raster raster(2, 2);
  DrawingOptions options;
  options.outlines = true;  // of TRACE squares
  StringSink sink;
  try {
    WriteDxfDocument(sink, header, raster, footer, options);
    ADD_FAILURE() << "drawn";
  } catch (const EDrawingOptions& error) {
    EXPECT_STREQ(error.what(), "--outlines needs --entity hatch");
  }
  EXPECT_EQ(sink.writes, 0);
  EXPECT_THROW(CountColours(raster, options), EDrawingOptions);
}

// Runs an export that must fail with `message` and checks that it touched nothing.
void ExpectFailureTouchingNothing(const Raster& raster, const std::string& picture,
                                  const TemplatePaths& templates, const std::string& message,
                                  const std::string& folder) {
  const auto before = ListFolder(folder);
  std::vector<std::string> contents;
  for (const auto& name : before) contents.push_back(ReadFile(folder + "/" + name));
  try {
    ExportDxf(raster, picture, templates);
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const Exception& error) {
    EXPECT_EQ(error.what(), message);
  }
  EXPECT_EQ(ListFolder(folder), before);
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(ReadFile(folder + "/" + before[i]), contents[i]) << before[i];
  }
}

TEST_F(Export, TemplateFailuresTouchNoOutput) {
  const Raster raster(2, 2);
  WriteFile(dir_ / "cat.dxf", "previous");
  ExpectFailureTouchingNothing(
      raster, picture_, templates_,
      "Impossible d'ouvrir le fichier \"" + templates_.header + "\". " + MissingFileReason(),
      dir_.path());
  WriteFile(templates_.header, "H");
  ExpectFailureTouchingNothing(
      raster, picture_, templates_,
      "Impossible d'ouvrir le fichier \"" + templates_.footer + "\". " + MissingFileReason(),
      dir_.path());
  const std::string encodingMessage =
      "Aucun mappage pour le caractère Unicode n'existe dans la page de code multi-octet cible";
  WriteFile(templates_.footer, "\xEF\xBB\xBF\xFF");
  ExpectFailureTouchingNothing(raster, picture_, templates_, encodingMessage, dir_.path());
  WriteFile(templates_.footer, "F");
  WriteFile(templates_.header, "\xFE\xFFH");
  ExpectFailureTouchingNothing(raster, picture_, templates_, encodingMessage, dir_.path());

  // Fault: a FIFO (a device on Windows) as a template blocked the export for good; a huge one
  // took gigabytes.
  TempDir elsewhere;  // not among the files the check reads back
  WriteFile(templates_.header, "H");
  templates_.footer = elsewhere / "fifo.dx2";
#ifdef _WIN32
  templates_.footer = "NUL";  // Windows makes no FIFOs: its null device instead
#else
  ASSERT_EQ(platform::MakeFifo(templates_.footer), 0);
#endif
  ExpectFailureTouchingNothing(raster, picture_, templates_,
                               "Impossible d'ouvrir le fichier \"" + FullPath(templates_.footer) +
                                   "\". Ce n'est pas un fichier ordinaire",
                               dir_.path());
  templates_.footer = elsewhere / "huge.dx2";
  WriteFile(templates_.footer, "");
  std::filesystem::resize_file(templates_.footer, TStringList::kMaxFileBytes + 1);
  ExpectFailureTouchingNothing(raster, picture_, templates_,
                               "Impossible d'ouvrir le fichier \"" + templates_.footer +
                                   "\". Le fichier dépasse la taille maximale de 64 Mio",
                               dir_.path());
}

TEST_F(Export, NeverReplacesThePictureItself) {
  WriteFile(templates_.header, "H");
  WriteFile(templates_.footer, "F");
  const std::string picture = dir_ / "drawing.dxf";
  WriteFile(picture, "a picture that happens to be named .dxf");
  ExpectFailureTouchingNothing(Raster(1, 1), picture, templates_,
                               "Impossible de créer le fichier \"" + picture +
                                   "\". Le fichier DXF remplacerait l'image d'origine",
                               dir_.path());

  // The DXF's name reaching the picture through a link, symbolic or hard.
  for (const bool symbolic : {false, true}) {
    std::filesystem::remove(dir_ / "cat.dxf");
    if (symbolic) {
      CREATE_SYMLINK_OR_SKIP("cat.png", dir_ / "cat.dxf");
    } else {
      std::filesystem::create_hard_link(picture_, dir_ / "cat.dxf");
    }
    ExpectFailureTouchingNothing(Raster(1, 1), picture_, templates_,
                                 "Impossible de créer le fichier \"" + (dir_ / "cat.dxf") +
                                     "\". Le fichier DXF remplacerait l'image d'origine",
                                 dir_.path());
  }
}

// Templates are read by bare names from the current directory at the time of the export.
TEST_F(Export, DefaultTemplatesComeFromTheCurrentDirectory) {
  WriteFile(dir_ / "pixdraft.dx1", "CWD HEADER");
  WriteFile(dir_ / "pixdraft.dx2", "");
  const CurrentDirectory inDir(dir_.path());
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);
  const std::string path = ExportDxf(raster, picture_);
  EXPECT_EQ(ReadFile(path), "CWD HEADER\r\n" + kBlackOriginRecord);
}

}  // namespace
}  // namespace pixdraft

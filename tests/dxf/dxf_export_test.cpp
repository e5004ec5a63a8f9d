#include "dxf_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <sstream>

#include "errors.h"
#include "temp_dir.h"
#include "trace_record.h"

namespace pixdraft {
namespace {

using namespace std::string_literals;

// The one record of a black 1 x 1 raster, CR LF after every line.
const std::string kBlackOriginRecord =
    "0 \r\nTRACE\r\n  5\r\n012C\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n420\r\n0\r\n"
    "100\r\nAcDbTrace\r\n 10\r\n0.00000\r\n 20 \r\n0.00000\r\n 30\r\n0.0\r\n"
    " 11 \r\n1.00000\r\n 21\r\n0.00000\r\n 31 \r\n0.0 \r\n"
    " 12\r\n0.00000\r\n 22\r\n1.00000\r\n 32\r\n0.0 \r\n"
    " 13\r\n1.00000\r\n 23 \r\n1.00000\r\n 33 \r\n0.0\r\n";

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    lines.push_back(text.substr(at, end - at));
  }
  EXPECT_EQ(at, text.size()) << "text does not end with CR LF";
  return lines;
}

TEST(DxfPath, ReplacesTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(DxfPathFor("/pics/cat.png"), "/pics/cat.dxf");
  EXPECT_EQ(DxfPathFor("/pics/cat.tar.gz"), "/pics/cat.tar.dxf");
  EXPECT_EQ(DxfPathFor("/pics/cat"), "/pics/cat.dxf");
  EXPECT_EQ(DxfPathFor("/old.pics/cat"), "/old.pics/cat.dxf");
  EXPECT_EQ(DxfPathFor("/pics/cat."), "/pics/cat.dxf");
  EXPECT_EQ(DxfPathFor("C:\\pics\\cat.png"), "C:\\pics\\cat.dxf");
}

TEST(DxfPath, ConfirmationPutsThePathOnASecondLine) {
  EXPECT_EQ(ConfirmationText("/pics/cat.dxf"), "DXF File saved to : \r\n/pics/cat.dxf");
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

TEST_F(Export, WalksColumnsFromTheRightEachFromTheTop) {
  WriteFile(templates_.header, "H");
  WriteFile(templates_.footer, "F");
  Raster raster(2, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 2; ++x) raster.SetPixel(x, y, RGB(x, y, 7));
  }
  const auto lines = SplitCrLf(Run(raster));
  ASSERT_EQ(lines.size(), 1 + 36 * 6 + 1u);
  EXPECT_EQ(lines.front(), "H");
  EXPECT_EQ(lines.back(), "F");

  const int expected[][2] = {{1, 0}, {1, 1}, {1, 2}, {0, 0}, {0, 1}, {0, 2}};
  for (int i = 0; i < 6; ++i) {
    const std::size_t at = 1 + 36 * i;
    const auto [x, y] = expected[i];
    EXPECT_EQ(lines[at + 3], HandleText(300 + i));
    EXPECT_EQ(lines[at + 9], std::to_string(x << 16 | y << 8 | 7));
    EXPECT_EQ(lines[at + 13], FormatCoordinate(x));
    EXPECT_EQ(lines[at + 15], FormatCoordinate(-y));
  }
}

TEST_F(Export, FileTakesTheHeaderEncodingWhateverTheFooter) {
  WriteFile(templates_.header, "\xFF\xFEH\0\n\0"s);
  WriteFile(templates_.footer, "\xEF\xBB\xBF\xC3\xA9");
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);

  std::string expected = "\xFF\xFEH\0\r\0\n\0"s;
  for (char c : kBlackOriginRecord) expected += {c, '\0'};
  expected += "\xE9\0\r\0\n\0"s;
  EXPECT_EQ(Run(raster), expected);

  WriteFile(templates_.header, "\xEF\xBB\xBF");
  EXPECT_EQ(Run(raster), "\xEF\xBB\xBF" + kBlackOriginRecord + "\xC3\xA9\r\n");
}

TEST_F(Export, NumbersIgnoreTheLocale) {
  WriteFile(templates_.header, "");
  WriteFile(templates_.footer, "");
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);
  // A locale whose decimal separator is a comma, where one is installed.
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  const bool comma = std::setlocale(LC_ALL, "fr_FR.UTF-8") || std::setlocale(LC_ALL, "de_DE.UTF-8");
  std::locale::global(std::locale(std::setlocale(LC_ALL, nullptr)));
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
      "Impossible d'ouvrir le fichier \"" + templates_.header + "\". No such file or directory",
      dir_.path());
  WriteFile(templates_.header, "H");
  ExpectFailureTouchingNothing(
      raster, picture_, templates_,
      "Impossible d'ouvrir le fichier \"" + templates_.footer + "\". No such file or directory",
      dir_.path());
  const std::string encodingMessage =
      "Aucun mappage pour le caractère Unicode n'existe dans la page de code multi-octet cible";
  WriteFile(templates_.footer, "\xEF\xBB\xBF\xFF");
  ExpectFailureTouchingNothing(raster, picture_, templates_, encodingMessage, dir_.path());
  WriteFile(templates_.footer, "F");
  WriteFile(templates_.header, "\xFE\xFFH");
  ExpectFailureTouchingNothing(raster, picture_, templates_, encodingMessage, dir_.path());

  // Fault: a FIFO as a template blocked the export for good; a huge one took gigabytes.
  TempDir elsewhere;  // not among the files the check reads back
  WriteFile(templates_.header, "H");
  templates_.footer = elsewhere / "fifo.dx2";
  ::mkfifo(templates_.footer.c_str(), 0644);
  ExpectFailureTouchingNothing(raster, picture_, templates_,
                               "Impossible d'ouvrir le fichier \"" + templates_.footer +
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

  // The same file reached by another name: a hard link that would be replaced.
  std::filesystem::create_hard_link(picture_, dir_ / "alias.dxf");
  ExpectFailureTouchingNothing(Raster(1, 1), dir_ / "alias.dxf", templates_,
                               "Impossible de créer le fichier \"" + (dir_ / "alias.dxf") +
                                   "\". Le fichier DXF remplacerait l'image d'origine",
                               dir_.path());
}

TEST_F(Export, MissingOutputFolderGivesTheCreateError) {
  WriteFile(templates_.header, "H");
  WriteFile(templates_.footer, "F");
  ExpectFailureTouchingNothing(Raster(1, 1), dir_ / "gone/cat.png", templates_,
                               "Impossible de créer le fichier \"" + (dir_ / "gone/cat.dxf") +
                                   "\". No such file or directory",
                               dir_.path());
}

// Templates are read by bare names from the current directory at the time of the export.
TEST_F(Export, DefaultTemplatesComeFromTheCurrentDirectory) {
  WriteFile(dir_ / "pixdraft.dx1", "CWD HEADER");
  WriteFile(dir_ / "pixdraft.dx2", "");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  Raster raster(1, 1);
  raster.SetPixel(0, 0, 0);
  const std::string path = ExportDxf(raster, picture_);
  std::filesystem::current_path(previous);
  EXPECT_EQ(ReadFile(path), "CWD HEADER\r\n" + kBlackOriginRecord);
}

}  // namespace
}  // namespace pixdraft

#include "app/converter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <sstream>

#include "app/converter_arguments.h"
#include "base/string_list.h"
#include "dxf/drawing_test_support.h"
#include "qt_application.h"
#include "sinks.h"
#include "system_reason.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

testing::Environment* const kQt =
    testing::AddGlobalTestEnvironment(new QtApplication<QCoreApplication>);

struct Outcome {
  int status;
  std::string out, err;
};

Outcome Convert(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunConverter(args, out, err);
  return {status, out.str(), err.str()};
}

// The exit statuses are the converter's interface to scripts: spelled out, not named.
TEST(Converter, UsageErrorsAndInformation) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const std::string tryHelp = "Try 'pixdraft-convert --help' for more information.\n";
  for (const Case& c : {
           Case{{}, 2, "", "pixdraft-convert: missing picture operand\n" + tryHelp},
           Case{{"--frobnicate", "a.png"},
                2,
                "",
                "pixdraft-convert: unknown option --frobnicate\n" + tryHelp},
           Case{{"a.png", "--templates"},
                2,
                "",
                "pixdraft-convert: --templates needs a folder\n" + tryHelp},
           Case{{"--merge", "regions"},
                2,
                "",
                "pixdraft-convert: there is no picture \"regions\": did you mean "
                "--merge=regions?\n" +
                    tryHelp},
           Case{{"-h", "a.png"}, 0, ConverterUsage(), ""},
           Case{{"-V"}, 0, "pixdraft-convert 1.0.0\n", ""},
       }) {
    const Outcome run = Convert(c.args);
    SCOPED_TRACE(testing::PrintToString(c.args));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
}

class ConvertPictures : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"pixdraft.dx1", "pixdraft.dx2"}) {
      WriteFile(dir_ / name, ReadFile(std::string(PIXDRAFT_TEMPLATES "/") + name));
    }
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir_ / "blue.png")));
  }
  TempDir dir_;
};

TEST_F(ConvertPictures, GoesOnAfterAFailureAndReportsEachPicture) {
  const Outcome run =
      Convert({"--templates", dir_.path(), dir_ / "missing.png", dir_ / "blue.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "DXF File saved to : \n" + (dir_ / "blue.dxf") + "\n");
  EXPECT_EQ(run.err, "pixdraft-convert: " + (dir_ / "missing.png") +
                         ": Impossible d'ouvrir le fichier \"" + (dir_ / "missing.png") + "\". " +
                         MissingFileReason() + ".\n");
  const std::string dxf = ReadFile(dir_ / "blue.dxf");
  std::size_t traces = 0;
  for (std::size_t at = 0; (at = dxf.find("\r\nTRACE\r\n", at)) != std::string::npos; ++at)
    ++traces;
  EXPECT_EQ(traces, 6u);
}

TEST_F(ConvertPictures, NamesRelativePicturesByTheirFullPathAndReadsTemplatesFromHere) {
  const CurrentDirectory inDir(dir_.path());
  const Outcome run = Convert({"blue.png", "--", "-odd.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "DXF File saved to : \n" + (dir_ / "blue.dxf") + "\n");
  EXPECT_NE(run.err.find("-odd.png: Impossible d'ouvrir le fichier"), std::string::npos);
}

// Faults: a.png and a.gif both made a.dxf, the second silently replacing the first; an output
// the converter could not write still gave exit status 0.
TEST_F(ConvertPictures, RefusesASecondDrawingOfOneNameAndAnOutputItCannotWrite) {
  std::filesystem::copy_file(dir_ / "blue.png", dir_ / "blue.gif");
  std::filesystem::copy_file(dir_ / "blue.png", dir_ / "other.png");
  CREATE_SYMLINK_OR_SKIP("blue.dxf", dir_ / "other.dxf");  // the same drawing again
  const Outcome run = Convert(
      {"--templates", dir_.path(), dir_ / "blue.png", dir_ / "blue.gif", dir_ / "other.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "pixdraft-convert: " + (dir_ / "blue.gif") +
                         ": Impossible de créer le fichier \"" + (dir_ / "blue.dxf") +
                         "\". Il vient d'être écrit pour \"" + (dir_ / "blue.png") +
                         "\"\npixdraft-convert: " + (dir_ / "other.png") +
                         ": Impossible de créer le fichier \"" + (dir_ / "other.dxf") +
                         "\". Il vient d'être écrit pour \"" + (dir_ / "blue.png") + "\"\n");

  std::ostringstream full, err;
  full.setstate(std::ios::badbit);
  EXPECT_EQ(RunConverter({"--templates", dir_.path(), dir_ / "blue.png"}, full, err), 1);
  EXPECT_EQ(err.str(), "pixdraft-convert: standard output: Erreur d'écriture dans le flux.\n");
}

// Faults: an explicit default changed a byte of the drawing; "-o -" also printed the
// confirmation into the drawing, or wrote a file beside the picture; --quiet changed the drawing.
TEST_F(ConvertPictures, ExplicitDefaultsAndStandardOutputGiveTheSameBytes) {
  ASSERT_EQ(Convert({"--templates", dir_.path(), dir_ / "blue.png"}).status, kAllConverted);
  const std::string plain = ReadFile(dir_ / "blue.dxf");
  std::filesystem::remove(dir_ / "blue.dxf");

  const Outcome quiet =
      Convert({"--templates", dir_.path(), "-q", "--size", "256", "--pixel-size", "1.0", "--entity",
               "trace", "--origin=top-left", dir_ / "blue.png"});
  EXPECT_EQ(quiet.status, kAllConverted);
  EXPECT_EQ(quiet.out + quiet.err, "");
  EXPECT_EQ(ReadFile(dir_ / "blue.dxf"), plain);
  std::filesystem::remove(dir_ / "blue.dxf");

  const Outcome piped = Convert({"--templates", dir_.path(), "-o", "-", dir_ / "blue.png"});
  EXPECT_EQ(piped.status, kAllConverted);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(piped.out, plain);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "blue.dxf"));

  // A template that fails sends nothing down the pipe.
  const Outcome failed = Convert({"--templates", dir_ / "none", "-o", "-", dir_ / "blue.png"});
  EXPECT_EQ(failed.status, kSomeFailed);
  EXPECT_EQ(failed.out, "");
}

TEST_F(ConvertPictures, OptionsReachTheDrawing) {
  const Outcome run = Convert({"--templates", dir_.path(), "--merge", "--size=2", "--pixel-size",
                               "0.5", "-o", "-", dir_ / "blue.png"});
  EXPECT_EQ(run.status, kAllConverted);
  // 3 x 2 sampled to 2 x 2, one flat square of 1 x 1 drawing units: not the 256 x 256 the
  // template shows, so the header holds its extent and a view of it.
  std::string header = ReadFile(dir_ / "pixdraft.dx1");
  header.insert(
      header.find("  0\r\nENDSEC"),
      "  9\r\n$EXTMIN\r\n 10\r\n0.00000\r\n 20\r\n-0.5\r\n 30\r\n0.0\r\n  9\r\n$EXTMAX\r\n"
      " 10\r\n1.00000\r\n 20\r\n0.5\r\n 30\r\n0.0\r\n");
  for (const auto& [from, to] : {std::pair<std::string, std::string>{
                                     " 12\r\n128.0\r\n 22\r\n-128.0", " 12\r\n0.5\r\n 22\r\n0.0"},
                                 {" 40\r\n300.0", " 40\r\n1.1"}}) {
    header.replace(header.find(from), from.size(), to);
  }
  EXPECT_EQ(run.out.substr(0, header.size()), header);
  EXPECT_EQ(
      run.out.substr(header.size()),
      Record("012C", "255", "0.00000", "-0.5", "1.00000", "0.5") + ReadFile(dir_ / "pixdraft.dx2"));
}

// -o keeps every guarantee of an export beside the picture.
TEST_F(ConvertPictures, OutputGoesWhereItIsNamedButNeverOverThePicture) {
  std::filesystem::create_directory(dir_ / "out");
  const Outcome run = Convert(
      {"--templates", dir_.path(), "--output", dir_ / "out/drawing.dxf", dir_ / "blue.png"});
  EXPECT_EQ(run.status, kAllConverted);
  EXPECT_EQ(run.out, "DXF File saved to : \n" + (dir_ / "out/drawing.dxf") + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "blue.dxf"));
  const std::string drawing = ReadFile(dir_ / "out/drawing.dxf");
  EXPECT_EQ(ListFolder(dir_ / "out"), std::vector<std::string>{"drawing.dxf"});

  CREATE_SYMLINK_OR_SKIP(dir_ / "out/drawing.dxf", dir_ / "link.dxf");
  WriteFile(dir_ / "out/drawing.dxf", "earlier");
  EXPECT_EQ(
      Convert({"--templates", dir_.path(), "-o", dir_ / "link.dxf", dir_ / "blue.png"}).status,
      kAllConverted);
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.dxf"));
  EXPECT_EQ(ReadFile(dir_ / "out/drawing.dxf"), drawing);

  const std::string picture = ReadFile(dir_ / "blue.png");
  const Outcome over =
      Convert({"--templates", dir_.path(), "-o", dir_ / "blue.png", dir_ / "blue.png"});
  EXPECT_EQ(over.status, kUsageError);
  EXPECT_EQ(over.err, "pixdraft-convert: the drawing \"" + (dir_ / "blue.png") +
                          "\" is the picture \"" + (dir_ / "blue.png") +
                          "\"\nTry 'pixdraft-convert --help' for more information.\n");
  EXPECT_EQ(ReadFile(dir_ / "blue.png"), picture);
}

// Faults: a UTF-16 header went unmentioned, or stopped the drawing; a picture with too many
// colours for a layer each left part of a drawing behind.
TEST_F(ConvertPictures, WarnsOfAUtf16HeaderAndRefusesTooManyColoursForLayers) {
  TStringList header;
  header.LoadFromFile(dir_ / "pixdraft.dx1");
  header.Encoding = TextEncoding::Utf16LE;
  StringSink utf16;
  header.SaveToFile(utf16);
  WriteFile(dir_ / "pixdraft.dx1", utf16.data);
  const Outcome run = Convert({"--templates", dir_.path(), "-o", "-", dir_ / "blue.png"});
  EXPECT_EQ(run.status, kAllConverted);
  EXPECT_EQ(run.err,
            "pixdraft-convert: warning: the header template " + dir_.path() + "/pixdraft.dx1" +
                " is UTF-16, so the drawings are too; most DXF readers cannot open them\n");
  EXPECT_EQ(run.out.substr(0, 4), std::string("\xFF\xFE \0", 4));

  // 4096 colours take a layer each; 4097 are refused before a byte is written.
  for (const int colours : {4096, 4097}) {
    QImage picture(65, 64, QImage::Format_RGB32);
    for (int i = 0; i < 65 * 64; ++i) picture.setPixel(i % 65, i / 65, std::min(i, colours - 1));
    ASSERT_TRUE(picture.save(QString::fromStdString(dir_ / "many.png")));
    const Outcome layers =
        Convert({"--templates", PIXDRAFT_TEMPLATES, "--layers", "-o", "-", dir_ / "many.png"});
    EXPECT_EQ(layers.status, colours == 4096 ? kAllConverted : kSomeFailed);
    EXPECT_EQ(layers.out.empty(), colours != 4096);
    EXPECT_EQ(layers.err, colours == 4096 ? ""
                                          : "pixdraft-convert: " + (dir_ / "many.png") +
                                                ": The picture has more than 4096 colours, too "
                                                "many for one layer each.\n");
  }
}

// Faults: a malformed palette converted anyway, or named no line; the counts on standard
// output carried a confirmation; a picture the counts refuse left a drawing or counts behind.
TEST_F(ConvertPictures, PaletteLinesAreCheckedAndCountsGoWhereTheyAreNamed) {
  WriteFile(dir_ / "tiles.txt", "# tiles\n000080 navy tile\nFF80 orange\n");
  const Outcome bad = Convert({"--palette", dir_ / "tiles.txt", dir_ / "blue.png"});
  EXPECT_EQ(bad.status, kUsageError);
  EXPECT_EQ(bad.err, "pixdraft-convert: " + (dir_ / "tiles.txt") +
                         ":3: expected a colour RRGGBB, then a name if any\n"
                         "Try 'pixdraft-convert --help' for more information.\n");

  WriteFile(dir_ / "tiles.txt", "# tiles\n000080 navy tile\nFFFFFF\n");
  const Outcome run = Convert({"--templates", dir_.path(), "--palette", dir_ / "tiles.txt",
                               "--layers", "--counts", "-", dir_ / "blue.png"});
  EXPECT_EQ(run.status, kAllConverted);
  EXPECT_EQ(run.out,
            "colour,name,layer,squares,entities,area\n000080,navy tile,navy_tile,6,6,6\n"
            "total,,,6,6,6\n");
  EXPECT_NE(ReadFile(dir_ / "blue.dxf").find("\r\n  8\r\nnavy_tile\r\n"), std::string::npos);

  QImage many(65, 64, QImage::Format_RGB32);
  for (int i = 0; i < 65 * 64; ++i) many.setPixel(i % 65, i / 65, i);
  ASSERT_TRUE(many.save(QString::fromStdString(dir_ / "many.png")));
  const Outcome refused =
      Convert({"--templates", dir_.path(), "--counts", dir_ / "many.csv", dir_ / "many.png"});
  EXPECT_EQ(refused.err, "pixdraft-convert: " + (dir_ / "many.png") +
                             ": The drawing has more than 4096 colours, too many to count: "
                             "reduce them with --colours or --palette.\n");
  EXPECT_EQ(ListFolder(dir_.path()).size(), 6u);  // templates, pictures and tiles.txt
}

}  // namespace
}  // namespace pixdraft

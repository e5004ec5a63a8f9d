#include "converter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <sstream>

#include "temp_dir.h"

namespace pixdraft {
namespace {

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
    std::string out, errStart;  // the usage text follows errStart where it is not empty
  };
  const std::string usage = "Usage: pixdraft-convert [--templates DIR] PICTURE...\n";
  for (const Case& c : {
           Case{{}, 2, "", usage},
           Case{{"--frobnicate", "a.png"},
                2,
                "",
                "pixdraft-convert: unknown option --frobnicate\n" + usage},
           Case{{"a.png", "--templates"},
                2,
                "",
                "pixdraft-convert: --templates needs a folder\n" + usage},
           Case{{"--help", "a.png"}, 0, usage, ""},
           Case{{"--version"}, 0, "pixdraft-convert 1.0.0\n", ""},
       }) {
    const Outcome run = Convert(c.args);
    SCOPED_TRACE(testing::PrintToString(c.args));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(run.out.empty(), c.out.empty());
    EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart);
    EXPECT_EQ(run.err.empty(), c.errStart.empty());
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
  EXPECT_EQ(run.err, (dir_ / "missing.png") + ": Impossible d'ouvrir le fichier \"" +
                         (dir_ / "missing.png") + "\". No such file or directory.\n");
  const std::string dxf = ReadFile(dir_ / "blue.dxf");
  std::size_t traces = 0;
  for (std::size_t at = 0; (at = dxf.find("\r\nTRACE\r\n", at)) != std::string::npos; ++at)
    ++traces;
  EXPECT_EQ(traces, 6u);
}

TEST_F(ConvertPictures, NamesRelativePicturesByTheirFullPathAndReadsTemplatesFromHere) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  const Outcome run = Convert({"blue.png", "--", "-odd.png"});
  std::filesystem::current_path(previous);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "DXF File saved to : \n" + (dir_ / "blue.dxf") + "\n");
  EXPECT_NE(run.err.find("-odd.png: Impossible d'ouvrir le fichier"), std::string::npos);
}

// Faults: a.png and a.gif both made a.dxf, the second silently replacing the first; an output
// the converter could not write still gave exit status 0.
TEST_F(ConvertPictures, RefusesASecondDrawingOfOneNameAndAnOutputItCannotWrite) {
  std::filesystem::copy_file(dir_ / "blue.png", dir_ / "blue.gif");
  std::filesystem::copy_file(dir_ / "blue.png", dir_ / "other.png");
  std::filesystem::create_symlink("blue.dxf", dir_ / "other.dxf");  // the same drawing again
  const Outcome run = Convert(
      {"--templates", dir_.path(), dir_ / "blue.png", dir_ / "blue.gif", dir_ / "other.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, (dir_ / "blue.gif") + ": Impossible de créer le fichier \"" +
                         (dir_ / "blue.dxf") + "\". Il vient d'être écrit pour \"" +
                         (dir_ / "blue.png") + "\"\n" + (dir_ / "other.png") +
                         ": Impossible de créer le fichier \"" + (dir_ / "other.dxf") +
                         "\". Il vient d'être écrit pour \"" + (dir_ / "blue.png") + "\"\n");

  std::ostringstream full, err;
  full.setstate(std::ios::badbit);
  EXPECT_EQ(RunConverter({"--templates", dir_.path(), dir_ / "blue.png"}, full, err), 1);
  EXPECT_EQ(err.str(), "pixdraft-convert: standard output: Erreur d'écriture dans le flux.\n");
}

}  // namespace
}  // namespace pixdraft

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

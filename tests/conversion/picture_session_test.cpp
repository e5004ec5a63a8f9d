#include "conversion/picture_session.h"

#include <gtest/gtest.h>

#include "picture_test_support.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

class Session : public testing::Test {
 protected:
  void SetUp() override {
    WritePicture(dir_ / "dot.png", Solid(1, 1, qRgb(10, 20, 30)), "png");
    WritePicture(dir_ / "wide.jpg", Solid(1024, 768, qRgb(0, 0, 0)), "png");  // named .jpg
    templates_.header = PIXDRAFT_TEMPLATES "/pixdraft.dx1";
    templates_.footer = PIXDRAFT_TEMPLATES "/pixdraft.dx2";
  }

  TempDir dir_;
  PictureSession session_;
  TemplatePaths templates_;
};

TEST_F(Session, LoadMakesThePictureCurrent) {
  session_.Load(dir_ / "dot.png");
  EXPECT_EQ(session_.CurrentImagePath(), dir_ / "dot.png");
  EXPECT_EQ(session_.raster().pixels, std::vector<TColor>{RGB(10, 20, 30)});

  session_.Load(dir_ / "wide.jpg");
  EXPECT_EQ(session_.CurrentImagePath(), dir_ / "wide.jpg");
  EXPECT_EQ(session_.raster().pixels, std::vector<TColor>(256 * 256, RGB(0, 0, 0)));
}

TEST_F(Session, FailedLoadKeepsEverythingAsItWas) {
  WriteFile(dir_ / "empty.png", "");
  WriteFile(dir_ / "huge.png", HandMadePng(1000000, 1000000, 6, ""));
  std::filesystem::create_directory(dir_ / "folder.png");
  session_.Load(dir_ / "dot.png");

  for (const char* name : {"empty.png", "huge.png", "folder.png", "missing.png"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(session_.Load(dir_ / name), Exception);
    EXPECT_EQ(session_.CurrentImagePath(), dir_ / "dot.png");
    EXPECT_EQ(session_.raster().width, 1);
    EXPECT_EQ(session_.raster().pixels, std::vector<TColor>{RGB(10, 20, 30)});
  }
}

TEST_F(Session, NothingToSaveBeforeTheFirstLoad) {
  WriteFile(dir_ / "empty.png", "");
  EXPECT_THROW(session_.Load(dir_ / "empty.png"), Exception);
  const auto before = ListFolder(dir_.path());

  EXPECT_EQ(session_.SaveToDxf(templates_), std::nullopt);
  EXPECT_EQ(ListFolder(dir_.path()), before);
}

// "link/.." is where the link leads, then up: the DXF goes beside the picture that was read, not
// beside a file the lexical path would name.
TEST_F(Session, PathThroughALinkAndUpKeepsItsMeaning) {
  std::filesystem::create_directories(dir_ / "real/deep");
  CREATE_SYMLINK_OR_SKIP("real/deep", dir_ / "link");
  std::filesystem::copy_file(dir_ / "dot.png", dir_ / "real/dot.png");
  std::filesystem::remove(dir_ / "dot.png");
  const std::string path = dir_ / "link/../dot.png";

  session_.Load(path);

  EXPECT_EQ(session_.CurrentImagePath(), path);
  EXPECT_EQ(session_.SaveToDxf(templates_), dir_ / "link/../dot.dxf");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "real/dot.dxf"));
}

TEST_F(Session, SaveWritesTheDxfBesideThePicture) {
  session_.Load(dir_ / "wide.jpg");

  EXPECT_EQ(session_.SaveToDxf(templates_), dir_ / "wide.dxf");

  const std::string dxf = ReadFile(dir_ / "wide.dxf");
  const std::string header = ReadFile(templates_.header);
  const std::string footer = ReadFile(templates_.footer);
  EXPECT_EQ(dxf.substr(0, header.size()), header);
  EXPECT_EQ(dxf.substr(dxf.size() - footer.size()), footer);
  std::size_t traces = 0;
  for (std::size_t at = 0; (at = dxf.find("\r\nTRACE\r\n", at)) != std::string::npos; ++at) {
    ++traces;
  }
  EXPECT_EQ(traces, 256u * 256u);
}

}  // namespace
}  // namespace pixdraft

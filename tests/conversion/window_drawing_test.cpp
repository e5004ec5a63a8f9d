// The window's drawings: each profile chosen in the options dialog saves, byte for byte, the
// drawing the converter makes with --for (tests/data/profiles), counts included.
#include "conversion/window_drawing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "base/errors.h"
#include "decoder/picture_fit.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

const std::string kProfiles = PIXDRAFT_PROFILES;
const TemplatePaths kTemplates{PIXDRAFT_TEMPLATES "/pixdraft.dx1",
                               PIXDRAFT_TEMPLATES "/pixdraft.dx2"};

Raster FittedLogo() {
  return FitPicture(QImage(QString::fromStdString(kProfiles + "/logo.png")), WindowFit());
}

TEST(WindowDrawing, EveryProfileSavesTheConvertersDrawing) {
  for (const Profile& profile : Profiles()) {
    const std::string name(profile.name);
    SCOPED_TRACE(name);
    TempDir folder;
    DrawingChoice choice = ChooseProfile({}, profile);
    if (profile.needsPalette) choice.palette = PIXDRAFT_TILES;
    const SavedDrawing saved = SaveBeside(FittedLogo(), folder / "logo.png", kTemplates, choice);
    EXPECT_EQ(ReadFile(saved.dxfPath), ReadFile(kProfiles + "/" + name + ".dxf"));
    ASSERT_EQ(saved.countsPath.has_value(), profile.writesCounts);
    if (saved.countsPath) {
      EXPECT_EQ(*saved.countsPath, folder / "logo.counts.csv");
      EXPECT_EQ(ReadFile(*saved.countsPath), ReadFile(kProfiles + "/" + name + ".counts.csv"));
    }
  }
}

// Fault: the counts were written through a link that leads to the picture.
TEST(WindowDrawing, CountsNeverLandOnThePicture) {
  TempDir folder;
  const std::string picture = folder / "logo.png";
  WriteFile(picture, ReadFile(kProfiles + "/logo.png"));
  CREATE_SYMLINK_OR_SKIP(picture, folder / "logo.counts.csv");
  DrawingChoice choice;
  choice.counts = true;
  EXPECT_THROW(SaveBeside(FittedLogo(), picture, kTemplates, choice), EFCreateError);
  EXPECT_EQ(ReadFile(picture), ReadFile(kProfiles + "/logo.png"));
  EXPECT_EQ(ListFolder(folder.path()), (std::vector<std::string>{"logo.counts.csv", "logo.png"}));
}

}  // namespace
}  // namespace pixdraft

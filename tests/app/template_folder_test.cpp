// Where the converter reads its templates when no folder is named: the current folder when it
// holds both, else the installed ones beside the program, else the current folder's names.
#include "app/template_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

// An installed tree (bin/ beside share/pixdraft/) and a working folder, each holding some of the
// templates.
class TemplateFolder : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::create_directories(root_ / "usr/bin");
    std::filesystem::create_directories(root_ / "usr/share/pixdraft");
    std::filesystem::create_directories(root_ / "work");
    std::filesystem::current_path(root_ / "work");
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  void Put(const std::string& folder, std::initializer_list<const char*> names) {
    for (const char* name : names) WriteFile(root_ / folder + "/" + name, "0\r\nEOF\r\n");
  }
  std::string Installed(const char* name) const {
    return root_ / "usr/bin/../share/pixdraft/" + name;
  }

  TempDir root_;
  std::filesystem::path previous_;
};

struct Case {
  const char* what;
  std::initializer_list<const char*> inWorkingFolder, installed;
  bool expectInstalled;
};

TEST_F(TemplateFolder, CurrentFolderFirstThenTheInstalledOnes) {
  for (const Case& c : {
           Case{"both here and installed",
                {"pixdraft.dx1", "pixdraft.dx2"},
                {"pixdraft.dx1", "pixdraft.dx2"},
                false},
           Case{"both installed only", {}, {"pixdraft.dx1", "pixdraft.dx2"}, true},
           Case{"one here, both installed",
                {"pixdraft.dx2"},
                {"pixdraft.dx1", "pixdraft.dx2"},
                true},
           Case{"one here, one installed", {"pixdraft.dx1"}, {"pixdraft.dx2"}, false},
           Case{"none anywhere", {}, {}, false},
       }) {
    SCOPED_TRACE(c.what);
    for (const char* folder : {"work", "usr/share/pixdraft"}) {
      for (const char* name : {"pixdraft.dx1", "pixdraft.dx2"}) {
        std::filesystem::remove(root_ / folder + "/" + name);
      }
    }
    Put("work", c.inWorkingFolder);
    Put("usr/share/pixdraft", c.installed);

    const TemplatePaths chosen = DefaultTemplatePaths(root_ / "usr/bin");
    if (c.expectInstalled) {
      EXPECT_EQ(chosen.header, Installed("pixdraft.dx1"));
      EXPECT_EQ(chosen.footer, Installed("pixdraft.dx2"));
    } else {
      EXPECT_EQ(chosen.header, "pixdraft.dx1");
      EXPECT_EQ(chosen.footer, "pixdraft.dx2");
    }
  }
}

TEST_F(TemplateFolder, WithoutTheProgramsFolderOnlyTheCurrentOne) {
  Put("usr/share/pixdraft", {"pixdraft.dx1", "pixdraft.dx2"});
  const TemplatePaths chosen = DefaultTemplatePaths({});
  EXPECT_EQ(chosen.header, "pixdraft.dx1");
  EXPECT_EQ(chosen.footer, "pixdraft.dx2");
}

TEST_F(TemplateFolder, ProgramFolderIsWhereTheRunningFileIs) {
  EXPECT_EQ(platform::ProgramFolder(), std::filesystem::canonical(TEST_BINARY_DIR));
}

}  // namespace
}  // namespace pixdraft

// Where the converter reads its templates when no folder is named: the current folder when it
// holds both, else the installed ones beside the program, else the current folder's names.
#include "app/template_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/std_path.h"
#include "platform/platform.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

// Where the installed templates are, from the programs' folder usr/bin: share/pixdraft beside
// bin, or on Windows the programs' own folder.
#ifdef _WIN32
constexpr char kInstalled[] = "usr/bin";
#else
constexpr char kInstalled[] = "usr/share/pixdraft";
#endif

// An installed tree and a working folder, each holding some of the templates.
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
  std::string Installed(const char* name) const { return root_ / kInstalled + "/" + name; }

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
    for (const char* folder : {"work", kInstalled}) {
      for (const char* name : {"pixdraft.dx1", "pixdraft.dx2"}) {
        std::filesystem::remove(root_ / folder + "/" + name);
      }
    }
    Put("work", c.inWorkingFolder);
    Put(kInstalled, c.installed);

    const TemplatePaths chosen = DefaultTemplatePaths(root_ / "usr/bin");
    if (c.expectInstalled) {
      EXPECT_TRUE(std::filesystem::equivalent(chosen.header, Installed("pixdraft.dx1")));
      EXPECT_TRUE(std::filesystem::equivalent(chosen.footer, Installed("pixdraft.dx2")));
    } else {
      EXPECT_EQ(chosen.header, "pixdraft.dx1");
      EXPECT_EQ(chosen.footer, "pixdraft.dx2");
    }
  }
}

TEST_F(TemplateFolder, WithoutTheProgramsFolderOnlyTheCurrentOne) {
  Put(kInstalled, {"pixdraft.dx1", "pixdraft.dx2"});
  const TemplatePaths chosen = DefaultTemplatePaths({});
  EXPECT_EQ(chosen.header, "pixdraft.dx1");
  EXPECT_EQ(chosen.footer, "pixdraft.dx2");
}

TEST_F(TemplateFolder, ProgramFolderIsWhereTheRunningFileIs) {
#ifdef _WIN32  // where the build's folder has another name (under wine)
  EXPECT_TRUE(std::filesystem::is_regular_file(StdPath(platform::ProgramFolder()) /
                                               "template_folder_test.exe"));
#else
  EXPECT_EQ(platform::ProgramFolder(), std::filesystem::canonical(TEST_BINARY_DIR));
#endif
}

}  // namespace
}  // namespace pixdraft

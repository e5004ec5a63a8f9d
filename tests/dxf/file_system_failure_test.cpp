// Failures the file system really produces: a full disk and folders the user may not write.
// Each export runs in a child process, which can lower its file-size limit or give up root.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "child_process.h"
#include "dxf_export.h"
#include "errors.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

class FileSystemFailure : public testing::Test {
 protected:
  void SetUp() override {
    ::chmod(dir_.path().c_str(), 0755);
    templates_.header = dir_ / "pixdraft.dx1";
    templates_.footer = dir_ / "pixdraft.dx2";
    WriteFile(templates_.header, "HEADER");
    WriteFile(templates_.footer, "FOOTER");
  }
  TempDir dir_;
  TemplatePaths templates_;
};

TEST_F(FileSystemFailure, DiskFullKeepsThePreviousFileAndLeavesNoTemporary) {
  const std::string picture = dir_ / "cat.png";
  WriteFile(picture, "picture");
  WriteFile(dir_ / "cat.dxf", "previous export");
  const auto before = ListFolder(dir_.path());

  const std::string message = ErrorInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100000, 100000};  // far below the 16 MB of a full raster
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ExportDxf(Raster(256, 256), picture, templates_);
  });

  EXPECT_EQ(message, "Erreur d'écriture dans le flux");
  EXPECT_EQ(ReadFile(dir_ / "cat.dxf"), "previous export");
  EXPECT_EQ(ListFolder(dir_.path()), before);
}

TEST_F(FileSystemFailure, ReadOnlyFolderGivesTheCreateError) {
  const std::string folder = dir_ / "locked";
  std::filesystem::create_directory(folder);
  WriteFile(folder + "/cat.png", "picture");
  WriteFile(folder + "/cat.dxf", "previous export");
  ::chmod((folder + "/cat.dxf").c_str(), 0644);
  ::chmod(folder.c_str(), 0555);

  const std::string message = ErrorInChild([&] {
    BecomeUnprivileged();
    ExportDxf(Raster(2, 2), folder + "/cat.png", templates_);
  });

  EXPECT_EQ(message,
            "Impossible de créer le fichier \"" + folder + "/cat.dxf\". Permission denied");
  EXPECT_EQ(ReadFile(folder + "/cat.dxf"), "previous export");
  EXPECT_EQ(ListFolder(folder), (std::vector<std::string>{"cat.dxf", "cat.png"}));
}

TEST_F(FileSystemFailure, WriteProtectedOutputStaysProtected) {
  WriteFile(dir_ / "cat.png", "picture");
  WriteFile(dir_ / "cat.dxf", "previous export");
  ::chmod((dir_ / "cat.dxf").c_str(), 0444);
  ::chmod(dir_.path().c_str(), 0777);

  const std::string message = ErrorInChild([&] {
    BecomeUnprivileged();
    ExportDxf(Raster(2, 2), dir_ / "cat.png", templates_);
  });

  EXPECT_EQ(message,
            "Impossible de créer le fichier \"" + (dir_ / "cat.dxf") + "\". Permission denied");
  EXPECT_EQ(ReadFile(dir_ / "cat.dxf"), "previous export");
}

}  // namespace
}  // namespace pixdraft

// Failures the file system really produces: a full disk, folders the user may not write, nodes
// that are not files, and signals that end the process halfway. Each export runs in a child
// process, which can lower its file-size limit, give up root, or die.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "base/errors.h"
#include "base/safe_file_writer.h"
#include "child_process.h"
#include "dxf/dxf_export.h"
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

  // Fault: the file-size limit's signal ended the process, without a message, the
  // temporary file left behind.
  const std::string message = ErrorInChild([&] {
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

// Fault: a replaced 6755 DXF stayed set-user-ID and set-group-ID, and root took it over.
TEST_F(FileSystemFailure, ReplacementKeepsOwnerAndPermissionsButNoSetIdBits) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another owner needs root";
  WriteFile(dir_ / "cat.png", "picture");
  WriteFile(dir_ / "cat.dxf", "previous export");
  ASSERT_EQ(::chown((dir_ / "cat.dxf").c_str(), 65534, 65534), 0);
  ::chmod((dir_ / "cat.dxf").c_str(), 06755);

  ExportDxf(Raster(1, 1), dir_ / "cat.png", templates_);

  struct stat info {};
  ::stat((dir_ / "cat.dxf").c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0755u);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
}

// Fault: a writable DXF in a folder the user may not write could not be saved at all.
TEST_F(FileSystemFailure, WritableFileInAReadOnlyFolderIsSavedInPlaceNeverTruncated) {
  const std::string folder = dir_ / "locked";
  std::filesystem::create_directory(folder);
  WriteFile(folder + "/cat.png", "picture");
  const std::string previous(4 << 20, 'p');  // longer than the new content
  WriteFile(folder + "/cat.dxf", previous);
  ::chmod((folder + "/cat.dxf").c_str(), 0666);
  ::chmod(folder.c_str(), 0555);
  const auto exportAs = [&](rlim_t fileSizeLimit) {
    return ErrorInChild([&] {
      BecomeUnprivileged();
      const rlimit limit{fileSizeLimit, fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      ExportDxf(Raster(64, 64), folder + "/cat.png", templates_);
    });
  };

  EXPECT_EQ(exportAs(100000), "Erreur d'écriture dans le flux");
  EXPECT_EQ(ReadFile(folder + "/cat.dxf"), previous);
  EXPECT_EQ(exportAs(RLIM_INFINITY), "no error");
  const std::string written = ReadFile(folder + "/cat.dxf");
  EXPECT_EQ(written.substr(0, 8), "HEADER\r\n");
  EXPECT_EQ(written.substr(written.size() - 8), "FOOTER\r\n");
  EXPECT_EQ(ListFolder(folder), (std::vector<std::string>{"cat.dxf", "cat.png"}));
}

// Fault: the temporary name added eight bytes, so names of 248 to 255 bytes could not be saved.
TEST_F(FileSystemFailure, NameOfTheLongestLegalLengthIsSaved) {
  const std::string stem(251, 'n');
  WriteFile(dir_ / (stem + ".png"), "picture");
  EXPECT_EQ(ExportDxf(Raster(1, 1), dir_ / (stem + ".png"), templates_), dir_ / (stem + ".dxf"));
}

struct Interruption {
  const char* name;
  int signal;
  SafeFileWriter::Staging staging;
};

class Interrupted : public FileSystemFailure, public testing::WithParamInterface<Interruption> {};

// Fault: a signal during an export left a hidden partial file of up to 16.5 MB beside the DXF.
TEST_P(Interrupted, LeavesTheEarlierFileAndNothingElse) {
  WriteFile(dir_ / "cat.dxf", "previous export");
  const auto before = ListFolder(dir_.path());

  EXPECT_EQ(ErrorInChild([&] {
              SafeFileWriter writer(dir_ / "cat.dxf", GetParam().staging);
              writer.Write(std::string(1 << 20, 'x'));
              ::kill(::getpid(), GetParam().signal);
            }),
            "child failed");

  EXPECT_EQ(ReadFile(dir_ / "cat.dxf"), "previous export");
  EXPECT_EQ(ListFolder(dir_.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Export, Interrupted,
    testing::Values(Interruption{"Term", SIGTERM, SafeFileWriter::Staging::Unnamed},
                    Interruption{"Kill", SIGKILL, SafeFileWriter::Staging::Unnamed},
                    Interruption{"TermNamed", SIGTERM, SafeFileWriter::Staging::Named},
                    Interruption{"IntNamed", SIGINT, SafeFileWriter::Staging::Named},
                    Interruption{"HupNamed", SIGHUP, SafeFileWriter::Staging::Named}),
    [](const auto& info) { return std::string(info.param.name); });

struct NodeCase {
  const char* name;
  bool device;       // a device node, which only root may make
  bool throughLink;  // cat.dxf links to the node instead of being it
};

class NotAFile : public FileSystemFailure, public testing::WithParamInterface<NodeCase> {};

// Fault: a DXF name that was a FIFO, or a link to a device node, got a regular file renamed over
// the node; as root, a link to /dev/null would have replaced /dev/null.
TEST_P(NotAFile, IsNeverReplaced) {
  const NodeCase& c = GetParam();
  if (c.device && ::geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
  const std::string node = c.throughLink ? dir_ / "node" : dir_ / "cat.dxf";
  ASSERT_EQ(c.device ? ::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3))
                     : ::mkfifo(node.c_str(), 0644),
            0);
  if (c.throughLink) std::filesystem::create_symlink("node", dir_ / "cat.dxf");
  struct stat before {
  }, after{};
  ::lstat(node.c_str(), &before);

  EXPECT_EQ(ErrorInChild([&] { ExportDxf(Raster(1, 1), dir_ / "cat.png", templates_); }),
            "Impossible de créer le fichier \"" + (dir_ / "cat.dxf") +
                "\". Ce n'est pas un fichier ordinaire");
  ::lstat(node.c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode, before.st_mode);
}

INSTANTIATE_TEST_SUITE_P(Export, NotAFile,
                         testing::Values(NodeCase{"Fifo", false, false},
                                         NodeCase{"LinkToFifo", false, true},
                                         NodeCase{"Device", true, false},
                                         NodeCase{"LinkToDevice", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pixdraft

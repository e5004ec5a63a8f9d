// Saves on a real file system: links, permissions and owners, and the failures it really
// produces: a full disk, folders the user may not write, nodes that are not files, and signals
// that end the process halfway. A save that must fail runs in a child process, which can lower its
// file-size limit, give up root, or die.
#include "base/safe_file_writer.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include "system_calls.h"
#endif
#include <csignal>
#include <cstdint>
#include <fstream>

#include "base/errors.h"
#include "platform/std_path.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

// Saves `bytes` as `fileName` as every save does: written, then committed.
void Save(const std::string& fileName, std::string_view bytes = "new") {
  SafeFileWriter writer(fileName);
  writer.Write(bytes);
  writer.Commit();
}

class SafeFileWriterTest : public testing::Test {
 protected:
#ifndef _WIN32
  void SetUp() override {  // for a child that gives up root
    std::filesystem::permissions(StdPath(dir_.path()), std::filesystem::perms(0755));
  }
#endif
  TempDir dir_;
};

// Fault: the temporary name added eight bytes, so names of 248 to 255 bytes could not be saved.
TEST_F(SafeFileWriterTest, NameOfTheLongestLegalLengthIsSaved) {
  const std::string name = dir_ / (std::string(251, 'n') + ".dxf");
  Save(name);
  EXPECT_EQ(ReadFile(name), "new");
}

#ifndef _WIN32  // limits, permissions, owners, links, signals and nodes as POSIX has them

// Permission bits, with set-user-ID, set-group-ID and sticky.
void SetMode(const std::string& path, unsigned mode) {
  std::filesystem::permissions(StdPath(path), std::filesystem::perms(mode));
}

platform::FileInfo InfoOf(const std::string& path) {
  platform::FileInfo info;
  platform::Inspect(path, info, false);
  return info;
}

// Gives the file to nobody, as only root may.
void GiveToNobody(const std::string& path) {
  platform::File file;
  ASSERT_EQ(platform::OpenToRead(path, file), 0);
  ASSERT_EQ(platform::SetOwner(file, 65534, 65534), 0);
}

TEST_F(SafeFileWriterTest, DiskFullKeepsThePreviousFileAndLeavesNoTemporary) {
  WriteFile(dir_ / "cat.dxf", "previous export");
  const auto before = ListFolder(dir_.path());

  // Faults: the file-size limit's signal ended the process, without a message, the temporary
  // file left behind; the message named neither the file nor the reason.
  for (const auto staging : {SafeFileWriter::Staging::Unnamed, SafeFileWriter::Staging::Named}) {
    const std::string message = ErrorInChild([&] {
      LimitFileSize(100000);
      SafeFileWriter writer(dir_ / "cat.dxf", staging);
      writer.Write(std::string(1 << 20, 'x'));
      writer.Commit();
    });

    EXPECT_EQ(message,
              "Erreur d'écriture dans le flux \"" + (dir_ / "cat.dxf") + "\". File too large");
    EXPECT_EQ(ReadFile(dir_ / "cat.dxf"), "previous export");
    EXPECT_EQ(ListFolder(dir_.path()), before);
  }
}

// A file that may not be made or replaced, as a user without root saves it: the error names it,
// and nothing changes.
TEST_F(SafeFileWriterTest, RefusedFileIsNamedAndLeftAsItWas) {
  const std::string locked = dir_ / "locked";
  std::filesystem::create_directories(dir_ / "folder.dxf");
  std::filesystem::create_directory(locked);
  for (const std::string& file : {locked + "/cat.dxf", dir_ / "protected.dxf"}) {
    WriteFile(file, "previous export");
    SetMode(file, 0444);
  }
  SetMode(locked, 0555);
  SetMode(dir_.path(), 0777);

  for (const auto& [file, why] : {std::pair{locked + "/cat.dxf", "Permission denied"},
                                  {dir_ / "protected.dxf", "Permission denied"},
                                  {dir_ / "folder.dxf", "Is a directory"},
                                  {dir_ / "no/such/folder.dxf", "No such file or directory"}}) {
    EXPECT_EQ(ErrorInChild([&file = file] {
                BecomeUnprivileged();
                Save(file);
              }),
              "Impossible de créer le fichier \"" + file + "\". " + why);
  }
  EXPECT_EQ(ReadFile(locked + "/cat.dxf"), "previous export");
  EXPECT_EQ(ReadFile(dir_ / "protected.dxf"), "previous export");
  EXPECT_EQ(ListFolder(locked), std::vector<std::string>{"cat.dxf"});
  EXPECT_EQ(ListFolder(dir_.path()),
            (std::vector<std::string>{"folder.dxf", "locked", "protected.dxf"}));
}

// Fault: a replaced 6755 DXF stayed set-user-ID and set-group-ID, and root took it over.
TEST_F(SafeFileWriterTest, ReplacementKeepsOwnerAndPermissionsButNoSetIdBits) {
  if (!RunsAsRoot()) GTEST_SKIP() << "giving a file to another owner needs root";
  WriteFile(dir_ / "cat.dxf", "previous export");
  GiveToNobody(dir_ / "cat.dxf");
  SetMode(dir_ / "cat.dxf", 06755);

  Save(dir_ / "cat.dxf");

  const platform::FileInfo info = InfoOf(dir_ / "cat.dxf");
  EXPECT_EQ(info.mode, 0755u);
  EXPECT_EQ(info.owner, 65534u);
  EXPECT_EQ(info.group, 65534u);
}

// Faults: a writable DXF in a folder the user may not write could not be saved at all; saved
// in place, it kept its set-group-ID and sticky bits, which a write alone does not clear.
TEST_F(SafeFileWriterTest, WritableFileInAReadOnlyFolderIsSavedInPlaceNeverTruncated) {
  const std::string folder = dir_ / "locked";
  std::filesystem::create_directory(folder);
  const std::string previous(4 << 20, 'p');  // longer than the new content
  WriteFile(folder + "/cat.dxf", previous);
  if (RunsAsRoot()) GiveToNobody(folder + "/cat.dxf");  // the saver's
  SetMode(folder + "/cat.dxf", 07666);
  SetMode(folder, 0555);
  const std::string content(1 << 20, 'n');
  const auto saveAs = [&](std::uint64_t fileSizeLimit) {
    return ErrorInChild([&] {
      BecomeUnprivileged();
      LimitFileSize(fileSizeLimit);
      Save(folder + "/cat.dxf", content);
    });
  };

  EXPECT_EQ(saveAs(100000),
            "Erreur d'écriture dans le flux \"" + folder + "/cat.dxf\". File too large");
  EXPECT_EQ(ReadFile(folder + "/cat.dxf"), previous);
  EXPECT_EQ(saveAs(UINT64_MAX), "no error");
  EXPECT_TRUE(ReadFile(folder + "/cat.dxf") == content);
  EXPECT_EQ(ListFolder(folder), std::vector<std::string>{"cat.dxf"});
  EXPECT_EQ(InfoOf(folder + "/cat.dxf").mode, 0666u);
}

TEST_F(SafeFileWriterTest, WritesThroughALinkAndKeepsIt) {
  std::filesystem::create_directory(dir_ / "elsewhere");
  WriteFile(dir_ / "elsewhere/real.txt", "previous");
  std::filesystem::create_symlink("elsewhere/real.txt", dir_ / "link.txt");
  // Fault: a link whose target did not exist yet was replaced by a file.
  std::filesystem::create_symlink("elsewhere/new.txt", dir_ / "dangling.txt");
  Save(dir_ / "link.txt");
  Save(dir_ / "dangling.txt");
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.txt"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "dangling.txt"));
  EXPECT_EQ(ReadFile(dir_ / "elsewhere/real.txt"), "new");
  EXPECT_EQ(ReadFile(dir_ / "elsewhere/new.txt"), "new");
  EXPECT_EQ(ListFolder(dir_ / "elsewhere"), (std::vector<std::string>{"new.txt", "real.txt"}));
}

TEST_F(SafeFileWriterTest, ReplacesAnExistingFileKeepingItsPermissions) {
  WriteFile(dir_ / "out.txt", "a much longer previous content");
  SetMode(dir_ / "out.txt", 0604);
  Save(dir_ / "out.txt");
  // A new file takes the usual mode, less the mask.
  WithFileModeMask(027, [&] { Save(dir_ / "new.txt"); });
  EXPECT_EQ(ReadFile(dir_ / "out.txt"), "new");
  EXPECT_EQ(InfoOf(dir_ / "out.txt").mode, 0604u);
  EXPECT_EQ(InfoOf(dir_ / "new.txt").mode, 0640u);
  EXPECT_EQ(ListFolder(dir_.path()), (std::vector<std::string>{"new.txt", "out.txt"}));
}

struct Interruption {
  const char* name;
  int signal;
  SafeFileWriter::Staging staging;
};

void PrintTo(const Interruption& c, std::ostream* out) { *out << c.name; }

class Interrupted : public SafeFileWriterTest, public testing::WithParamInterface<Interruption> {};

// Fault: a signal during a save left a hidden partial file of up to 16.5 MB beside the DXF.
TEST_P(Interrupted, LeavesTheEarlierFileAndNothingElse) {
  WriteFile(dir_ / "cat.dxf", "previous export");
  const auto before = ListFolder(dir_.path());

  EXPECT_EQ(ErrorInChild([&] {
              SafeFileWriter writer(dir_ / "cat.dxf", GetParam().staging);
              writer.Write(std::string(1 << 20, 'x'));
              std::raise(GetParam().signal);
            }),
            "child failed");

  EXPECT_EQ(ReadFile(dir_ / "cat.dxf"), "previous export");
  EXPECT_EQ(ListFolder(dir_.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Save, Interrupted,
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

void PrintTo(const NodeCase& c, std::ostream* out) { *out << c.name; }

class NotAFile : public SafeFileWriterTest, public testing::WithParamInterface<NodeCase> {};

// Fault: a DXF name that was a FIFO, or a link to a device node, got a regular file renamed over
// the node; as root, a link to /dev/null would have replaced /dev/null.
TEST_P(NotAFile, IsNeverReplaced) {
  const NodeCase& c = GetParam();
  if (c.device && !RunsAsRoot()) GTEST_SKIP() << "making a device node needs root";
  const std::string node = c.throughLink ? dir_ / "node" : dir_ / "cat.dxf";
  ASSERT_TRUE(c.device ? MakeDeviceNode(node) : platform::MakeFifo(node) == 0);
  if (c.throughLink) std::filesystem::create_symlink("node", dir_ / "cat.dxf");
  const platform::FileInfo before = InfoOf(node);

  EXPECT_EQ(ErrorInChild([&] { Save(dir_ / "cat.dxf"); }),
            "Impossible de créer le fichier \"" + (dir_ / "cat.dxf") +
                "\". Ce n'est pas un fichier ordinaire");
  const platform::FileInfo after = InfoOf(node);
  EXPECT_EQ(after.inode, before.inode);
  EXPECT_EQ(after.kind, before.kind);
  EXPECT_EQ(after.mode, before.mode);
}

INSTANTIATE_TEST_SUITE_P(Save, NotAFile,
                         testing::Values(NodeCase{"Fifo", false, false},
                                         NodeCase{"LinkToFifo", false, true},
                                         NodeCase{"Device", true, false},
                                         NodeCase{"LinkToDevice", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });
#endif

#ifdef _WIN32
// Fault: the new content was renamed over the old file, which lost its attributes (hidden,
// archive, not indexed), as MoveFileExW does.
TEST_F(SafeFileWriterTest, ReplacementKeepsTheFileAttributes) {
  const std::string name = dir_ / "cat.dxf";
  WriteFile(name, "a much longer previous export");
  ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
  // As far as the file system keeps them; the archive bit marks any change.
  const DWORD attributes = GetFileAttributesA(name.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE;
  Save(name);
  EXPECT_EQ(ReadFile(name), "new");
  EXPECT_EQ(GetFileAttributesA(name.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE, attributes);
  EXPECT_EQ(ListFolder(dir_.path()), std::vector<std::string>{"cat.dxf"});
}

// Fault: names went to the system in its code page, and long ones were cut at MAX_PATH.
TEST_F(SafeFileWriterTest, NamesBeyondAsciiAndMaxPathAreSaved) {
  const std::filesystem::path folder =
      StdPath(dir_ / "Dessins é 日本") / std::string(120, 'd') / std::string(120, 'e');
  std::filesystem::create_directories(folder);
  const std::string name = NameOf(folder / u8"plan n°1 ü.dxf");
  ASSERT_GT(name.size(), 260u);
  Save(name);
  Save(name, "again");
  std::ifstream saved(folder / u8"plan n°1 ü.dxf", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "again");
  // The library lists no folder beyond MAX_PATH: the system's own way, without that limit.
  WIN32_FIND_DATAW found;
  const HANDLE listing = FindFirstFileW((L"\\\\?\\" + (folder / "*").wstring()).c_str(), &found);
  ASSERT_NE(listing, INVALID_HANDLE_VALUE);
  std::vector<std::wstring> names;
  do {
    if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..") {
      names.push_back(found.cFileName);
    }
  } while (FindNextFileW(listing, &found));
  FindClose(listing);
  EXPECT_EQ(names, std::vector<std::wstring>{L"plan n°1 ü.dxf"});
}

// Fault: a read-only DXF was replaced, as a rename may; a device name was written to.
TEST_F(SafeFileWriterTest, ReadOnlyFilesAndDevicesAreRefused) {
  const std::string name = dir_ / "protected.dxf";
  WriteFile(name, "previous export");
  SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY);
  for (const auto& [file, why] :
       {std::pair{name, std::string("Acc")}, {std::string("NUL"), std::string(kNotARegularFile)}}) {
    try {
      Save(file);
      ADD_FAILURE() << file << " was saved";
    } catch (const EFCreateError& error) {
      EXPECT_EQ(std::string(error.what())
                    .rfind("Impossible de créer le fichier \"" + FullPath(file) + "\". " + why, 0),
                0u)
          << error.what();
    }
  }
  SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFile(name), "previous export");
  EXPECT_EQ(ListFolder(dir_.path()), std::vector<std::string>{"protected.dxf"});
}
#endif

}  // namespace
}  // namespace pixdraft

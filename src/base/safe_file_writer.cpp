#include "base/safe_file_writer.h"

#include <random>
#include <vector>

#include "base/errors.h"
#include "platform/file_identity.h"

namespace pixdraft {
namespace {

constexpr std::size_t kCopyBlock = std::size_t{1} << 20;

// Calls `make` with fresh hidden names in `folder`, each marked for the termination signals,
// until one is made. Returns it, or an empty name with `error` set when `make` fails otherwise
// than by finding the name taken. The name is short, so that it fits wherever the target does.
template <typename Make>
std::string MakeHidden(const std::string& folder, int& error, Make make) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = folder + "/.pixdraft-";
    for (int i = 0; i < 6; ++i) name += "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
    platform::RemoveOnTermination(name);
    error = make(name);
    if (error == 0) return name;
    platform::ForgetRemoveOnTermination(name);
    if (error != platform::kExists) return {};
  }
  error = platform::kExists;
  return {};
}

}  // namespace

int CreatePrivateFile(const std::string& folder, platform::File& file) {
  if (platform::CreateUnnamed(folder, 0600, true, file) == 0) return 0;
  int error = 0;
  const std::string name = MakeHidden(folder, error, [&file](const std::string& name) {
    return platform::CreateNamed(name, 0600, true, file);
  });
  if (name.empty()) return error;
  platform::Remove(name);
  platform::ForgetRemoveOnTermination(name);
  return 0;
}

SafeFileWriter::SafeFileWriter(std::string fileName, Staging staging)
    : fileName_(std::move(fileName)) {
  if (const int error = platform::EndOfLinks(fileName_, target_))
    throw EFCreateError(fileName_, error);
  folder_ = platform::FolderOf(target_);
  platform::FileInfo info;
  if (platform::Inspect(target_, info) == 0) {
    if (info.kind == platform::Kind::kDirectory)
      throw EFCreateError(fileName_, platform::kIsFolder);
    // A FIFO or a device node is never replaced by a file, nor written to.
    if (info.kind != platform::Kind::kRegular) throw EFCreateError(fileName_, kNotARegularFile);
    // A write-protected file stays protected, as it would against a plain overwrite.
    if (const int error = platform::CheckWritable(target_)) throw EFCreateError(fileName_, error);
    existing_ = info;
  }
  StageBesideTarget(staging);
  SetOwnerAndMode();
}

SafeFileWriter::~SafeFileWriter() { Discard(); }

void SafeFileWriter::StageBesideTarget(Staging staging) {
  const auto refuse = [this](int error) {
    if ((error == platform::kDenied || error == platform::kNotPermitted) && existing_)
      return StageElsewhere(error);
    throw EFCreateError(fileName_, error);
  };
  // A new file is 0666, less what the process's mask takes away. A replacement starts private and
  // takes the old file's mode once it is ours alone (SetOwnerAndMode): staged under a name, it is
  // never open to those the old file kept out.
  const unsigned mode = existing_ ? 0600 : 0666;
  if (staging == Staging::Unnamed && platform::CanNameUnnamed()) {
    const int error = platform::CreateUnnamed(folder_, mode, false, staged_);
    if (error == 0) {
      mode_ = Mode::Unnamed;
      return;
    }
    // Any answer but "not here" would hold for a named file too.
    if (error != platform::kUnsupported) return refuse(error);
  }
  int error = 0;
  stagedName_ = MakeHidden(folder_, error, [this, mode](const std::string& name) {
    return platform::CreateNamed(name, mode, false, staged_);
  });
  if (stagedName_.empty()) return refuse(error);
  mode_ = Mode::Named;
}

void SafeFileWriter::StageElsewhere(int createError) {
  platform::FileInfo info;
  if (platform::OpenToWrite(target_, targetFile_) != 0 ||
      platform::Inspect(targetFile_, info) != 0 || info.inode != existing_->inode ||
      info.device != existing_->device) {
    Discard();
    throw EFCreateError(fileName_, createError);
  }
  const std::string folder = platform::TemporaryFolder();
  // Private: a copy of the user's file in a folder that everyone may read.
  if (CreatePrivateFile(folder, staged_) != 0) {
    Discard();
    throw EFCreateError(fileName_, createError);
  }
  mode_ = Mode::InPlace;
}

void SafeFileWriter::SetOwnerAndMode() {
  if (mode_ == Mode::InPlace || !existing_) return;
  // When the file may not be given away, the new one stays the writer's.
  platform::SetOwner(staged_, existing_->owner, existing_->group);
  platform::SetMode(staged_, existing_->mode & 0777);
}

void SafeFileWriter::Write(std::string_view bytes) {
  if (const int error = platform::Write(staged_, bytes.data(), bytes.size())) {
    throw EWriteError(fileName_, error);
  }
  written_ += bytes.size();
  // A drawing runs to many megabytes: written out as it comes, the commit's flush waits for
  // little. Not a scratch copy, which never needs the disk.
  if (mode_ != Mode::InPlace && written_ - writtenOut_ >= kWriteOutBytes) {
    platform::StartWritingOut(staged_, writtenOut_, written_ - writtenOut_);
    writtenOut_ = written_;
  }
}

void SafeFileWriter::Commit() {
  if (mode_ == Mode::InPlace) return CopyOverTarget();
  // On the disk before it has a name: a crash must never find a name on an empty file.
  if (const int error = platform::Flush(staged_)) {
    Discard();
    throw EWriteError(fileName_, error);
  }
  if (mode_ == Mode::Unnamed) {
    // Named before it is closed, since only an open unnamed file can be named; hidden, so that a
    // failure at the close still leaves the target as it was.
    int error = 0;
    stagedName_ = MakeHidden(folder_, error, [this](const std::string& name) {
      return platform::NameUnnamed(staged_, name);
    });
    if (stagedName_.empty()) {
      Discard();
      throw EFCreateError(fileName_, error);
    }
  }
  CloseStaging();
  PutInPlace(stagedName_);
}

void SafeFileWriter::CloseStaging() {
  // Delayed allocation and network file systems may report a full disk only here.
  if (const int error = staged_.Close()) {
    Discard();
    throw EWriteError(fileName_, error);
  }
}

void SafeFileWriter::PutInPlace(const std::string& stagedName) {
  // A name that was free must still be: what took it meanwhile is not ours to replace.
  if (const int error = platform::Rename(stagedName, target_, existing_.has_value())) {
    Discard();
    throw EFCreateError(fileName_, error);
  }
  platform::ForgetRemoveOnTermination(stagedName_);
  stagedName_.clear();
  // The rename itself on the disk; the file is there whatever this answers.
  platform::FlushFolder(folder_);
}

void SafeFileWriter::CopyOverTarget() {
  const auto fail = [this](int error) {
    Discard();
    return EWriteError(fileName_, error);
  };
  // Reserved first, so that a full disk fails before the first byte of the file changes.
  if (written_ > 0) {
    const int error = platform::Reserve(targetFile_, written_);
    if (error == platform::kUnsupported) {  // no way to make it safe
      Discard();
      throw EFCreateError(fileName_, platform::kDenied);
    }
    if (error != 0) throw fail(error);
  }
  std::vector<char> block(kCopyBlock);
  for (std::uint64_t at = 0; at < written_;) {
    std::size_t got = 0;
    int error = platform::ReadAt(staged_, block.data(), block.size(), at, got);
    if (error == 0 && got == 0)
      error = platform::kInputOutput;  // the staged copy is shorter than was written
    if (error == 0) error = platform::WriteAt(targetFile_, block.data(), got, at);
    if (error != 0) throw fail(error);
    at += got;
  }
  if (const int error = platform::Truncate(targetFile_, written_)) throw fail(error);
  if (existing_->mode & 07000) platform::SetMode(targetFile_, existing_->mode & 0777);
  // Reported done only once it is on the disk.
  if (const int error = platform::Flush(targetFile_)) throw fail(error);
  platform::File target = std::move(targetFile_);
  Discard();
  if (const int error = target.Close()) throw EWriteError(fileName_, error);
}

void SafeFileWriter::Discard() {
  staged_.Close();
  targetFile_.Close();
  if (!stagedName_.empty()) {
    platform::Remove(stagedName_);
    platform::ForgetRemoveOnTermination(stagedName_);
  }
  stagedName_.clear();
}

}  // namespace pixdraft

#include "base/safe_file_writer.h"

#include <fcntl.h>
#include <linux/limits.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <random>
#include <vector>

#include "base/errors.h"

namespace pixdraft {
namespace {

constexpr int kMaxLinkHops = 40;
constexpr std::size_t kCopyBlock = std::size_t{1} << 20;

// The hidden file the ordinary termination signals remove before the process ends. One export
// runs at a time, so one name does.
char pendingName[PATH_MAX];
volatile std::sig_atomic_t pendingSet = 0;

extern "C" void RemovePendingAndEnd(int signal) {
  if (pendingSet) ::unlink(pendingName);
  ::signal(signal, SIG_DFL);
  ::raise(signal);  // delivered, with its default action, once this handler returns
}

void PrepareSignals() {
  static std::once_flag once;
  std::call_once(once, [] {
    const auto leftAtDefault = [](int signal) {
      struct sigaction current {};
      return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL;
    };
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
      if (!leftAtDefault(signal)) continue;
      struct sigaction cleanup {};
      cleanup.sa_handler = RemovePendingAndEnd;
      sigemptyset(&cleanup.sa_mask);
      ::sigaction(signal, &cleanup, nullptr);
    }
    if (leftAtDefault(SIGXFSZ)) ::signal(SIGXFSZ, SIG_IGN);
  });
}

void MarkPending(const std::string& name) {
  pendingSet = 0;
  if (name.size() >= sizeof pendingName) return;
  std::memcpy(pendingName, name.c_str(), name.size() + 1);
  pendingSet = 1;
}

void UnmarkPending() { pendingSet = 0; }

// Calls `make` with fresh hidden names in `folder`, each marked for the termination signals,
// until one is made. Returns it, or an empty name with errno set when `make` fails otherwise
// than by finding the name taken. The name is short, so that it fits wherever the target does.
template <typename Make>
std::string MakeHidden(const std::string& folder, Make make) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = folder + "/.pixdraft-";
    for (int i = 0; i < 6; ++i) name += "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
    MarkPending(name);
    if (make(name)) return name;
    const int error = errno;
    UnmarkPending();
    errno = error;
    if (error != EEXIST) return {};
  }
  errno = EEXIST;
  return {};
}

std::string FolderOf(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

// The file that writing `fileName` would change: links followed to their end, which may not
// exist yet.
std::string EndOfLinks(const std::string& fileName) {
  std::string name = fileName;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return name;
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(name.c_str(), target.data(), target.size());
    if (length < 0) throw EFCreateError(fileName, errno);
    if (length == 0 || length >= PATH_MAX) throw EFCreateError(fileName, ENAMETOOLONG);
    target.resize(static_cast<std::size_t>(length));
    name = target.front() == '/' ? target : FolderOf(name) + "/" + target;
  }
  throw EFCreateError(fileName, ELOOP);
}

// Unnamed files are named through /proc, or by root directly.
bool CanNameUnnamedFiles() { return ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0; }

bool LinkUnnamed(int fd, const std::string& name) {
  const std::string handle = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, handle.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    return true;
  }
  if (errno == EEXIST) return false;
  return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

mode_t DefaultFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string fileName, Staging staging)
    : fileName_(std::move(fileName)) {
  PrepareSignals();
  target_ = EndOfLinks(fileName_);
  folder_ = FolderOf(target_);
  struct stat info {};
  if (::stat(target_.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) throw EFCreateError(fileName_, EISDIR);
    // A FIFO or a device node is never replaced by a file, nor written to.
    if (!S_ISREG(info.st_mode)) throw EFCreateError(fileName_, kNotARegularFile);
    // A write-protected file stays protected, as it would against a plain overwrite.
    if (::access(target_.c_str(), W_OK) != 0) throw EFCreateError(fileName_, errno);
    existing_ = info;
  }
  StageBesideTarget(staging);
  SetOwnerAndMode();
}

SafeFileWriter::~SafeFileWriter() { Discard(); }

void SafeFileWriter::StageBesideTarget(Staging staging) {
  const auto refuse = [this](int error) {
    if ((error == EACCES || error == EPERM) && existing_) return StageElsewhere(error);
    throw EFCreateError(fileName_, error);
  };
  if (staging == Staging::Unnamed && CanNameUnnamedFiles()) {
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
      mode_ = Mode::Unnamed;
      return;
    }
    // Without unnamed files here the kernel or the file system answers one of these; any other
    // answer would hold for a named file too.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return refuse(errno);
  }
  stagedName_ = MakeHidden(folder_, [this](const std::string& name) {
    fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    return fd_ >= 0;
  });
  if (fd_ < 0) return refuse(errno);
  mode_ = Mode::Named;
}

void SafeFileWriter::StageElsewhere(int createError) {
  targetFd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  struct stat info {};
  if (targetFd_ < 0 || ::fstat(targetFd_, &info) != 0 || info.st_ino != existing_->st_ino ||
      info.st_dev != existing_->st_dev) {
    Discard();
    throw EFCreateError(fileName_, createError);
  }
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    const std::string name = MakeHidden(folder, [this](const std::string& name) {
      fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
      return fd_ >= 0;
    });
    if (!name.empty()) ::unlink(name.c_str());
    UnmarkPending();
  }
  if (fd_ < 0) {
    Discard();
    throw EFCreateError(fileName_, createError);
  }
  mode_ = Mode::InPlace;
}

void SafeFileWriter::SetOwnerAndMode() {
  if (mode_ == Mode::InPlace) return;
  if (!existing_) {
    ::fchmod(fd_, DefaultFileMode());
    return;
  }
  // Root may give the file back to its owner; others at least to a group of theirs.
  if (::fchown(fd_, existing_->st_uid, existing_->st_gid) != 0 &&
      ::fchown(fd_, static_cast<uid_t>(-1), existing_->st_gid) != 0) {
    // The new file stays the writer's: it may not be given away.
  }
  ::fchmod(fd_, existing_->st_mode & 0777);
}

void SafeFileWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw EWriteError();
    bytes.remove_prefix(static_cast<std::size_t>(n));
    written_ += static_cast<std::uint64_t>(n);
  }
}

void SafeFileWriter::Commit() {
  switch (mode_) {
    case Mode::InPlace:
      CopyOverTarget();
      return;
    case Mode::Unnamed:
      // Named before it is closed, since only an open unnamed file can be named; hidden, so that
      // a failure at the close still leaves the target as it was.
      stagedName_ =
          MakeHidden(folder_, [this](const std::string& name) { return LinkUnnamed(fd_, name); });
      if (stagedName_.empty()) {
        const int error = errno;
        Discard();
        throw EFCreateError(fileName_, error);
      }
      [[fallthrough]];
    case Mode::Named:
      CloseStaging();
      PutInPlace(stagedName_);
      return;
  }
}

void SafeFileWriter::CloseStaging() {
  const int fd = fd_;
  fd_ = -1;
  // Delayed allocation and network file systems may report a full disk only here.
  if (::close(fd) != 0) {
    Discard();
    throw EWriteError();
  }
}

void SafeFileWriter::PutInPlace(const std::string& stagedName) {
  // A name that was free must still be: what took it meanwhile is not ours to replace.
  const unsigned flags = existing_ ? 0 : RENAME_NOREPLACE;
  int result = ::renameat2(AT_FDCWD, stagedName.c_str(), AT_FDCWD, target_.c_str(), flags);
  if (result != 0 && errno == EINVAL && flags != 0) {  // a file system without the flag
    result = ::rename(stagedName.c_str(), target_.c_str());
  }
  if (result != 0) {
    const int error = errno;
    Discard();
    throw EFCreateError(fileName_, error);
  }
  stagedName_.clear();
  UnmarkPending();
}

void SafeFileWriter::CopyOverTarget() {
  const off_t size = static_cast<off_t>(written_);
  // Reserved first, so that a full disk fails before the first byte of the file changes.
  if (size > 0 && ::fallocate(targetFd_, FALLOC_FL_KEEP_SIZE, 0, size) != 0) {
    const int error = errno;
    Discard();
    if (error == EOPNOTSUPP) throw EFCreateError(fileName_, EACCES);  // no way to make it safe
    throw EWriteError();
  }
  std::vector<char> block(kCopyBlock);
  for (off_t at = 0; at < size;) {
    const ssize_t n = ::pread(fd_, block.data(), block.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Discard();
      throw EWriteError();
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::pwrite(targetFd_, block.data() + done, std::size_t(n - done), at + done);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        Discard();
        throw EWriteError();
      }
      done += w;
    }
    at += n;
  }
  if (::ftruncate(targetFd_, size) != 0) {
    Discard();
    throw EWriteError();
  }
  if (existing_->st_mode & 07000) ::fchmod(targetFd_, existing_->st_mode & 0777);
  const int target = targetFd_;
  targetFd_ = -1;
  Discard();
  if (::close(target) != 0) throw EWriteError();
}

void SafeFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (targetFd_ >= 0) ::close(targetFd_);
  targetFd_ = -1;
  if (!stagedName_.empty()) ::unlink(stagedName_.c_str());
  stagedName_.clear();
  UnmarkPending();
}

}  // namespace pixdraft

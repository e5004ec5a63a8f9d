// The operating system's services on Linux and other POSIX systems.
#include <fcntl.h>
#include <linux/limits.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

extern char** environ;

namespace pixdraft::platform {

struct Access {
  static int Handle(const File& file) { return file.handle_; }
  static void Set(File& file, int handle) {
    file = File();
    file.handle_ = handle;
  }
};

namespace {

int Handle(const File& file) { return Access::Handle(file); }

// The result of a call that returns -1 and sets errno on failure.
int Result(int returned) { return returned < 0 ? errno : 0; }

int Opened(int handle, File& file) {
  if (handle < 0) return errno;
  Access::Set(file, handle);
  return 0;
}

FileInfo Described(const struct stat& status) {
  FileInfo info;
  info.kind = S_ISREG(status.st_mode)   ? Kind::kRegular
              : S_ISDIR(status.st_mode) ? Kind::kDirectory
              : S_ISLNK(status.st_mode) ? Kind::kLink
                                        : Kind::kOther;
  info.size = std::uint64_t(status.st_size);
  info.device = std::uint64_t(status.st_dev);
  info.inode = std::uint64_t(status.st_ino);
  info.mode = unsigned(status.st_mode & 07777);
  info.owner = unsigned(status.st_uid);
  info.group = unsigned(status.st_gid);
  return info;
}

// The hidden files the termination signals remove, one slot for each save under way. A slot is
// free, being filled, or holds a name the handlers may read.
enum SlotState : int { kFree, kFilling, kHeld };
struct PendingSlot {
  char name[PATH_MAX];
  std::atomic<int> state = kFree;
};
PendingSlot pending[8];

extern "C" void RemovePendingAndEnd(int signal) {
  for (PendingSlot& slot : pending) {
    if (slot.state == kHeld) ::unlink(slot.name);
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);  // delivered, with its default action, once this handler returns
}

bool LeftAtDefault(int signal) {
  struct sigaction current {};
  return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL;
}

void SetLimit(pid_t process, decltype(RLIMIT_CPU) resource, rlim_t soft, rlim_t hard) {
  const rlimit limit{soft, hard};
  ::prlimit(process, resource, &limit, nullptr);
}

// No core dump; the soft CPU limit's SIGXCPU ends the process, the hard one's SIGKILL a second
// later, in case it is caught.
void SetLimits(pid_t process, const ChildProcess::Limits& limits) {
  SetLimit(process, RLIMIT_CORE, 0, 0);
  if (limits.cpuSeconds > 0) {
    SetLimit(process, RLIMIT_CPU, rlim_t(limits.cpuSeconds), rlim_t(limits.cpuSeconds) + 1);
  }
  // A sanitizer reserves terabytes of address space for itself.
  if (limits.addressSpace > 0 && !kSanitized) {
    SetLimit(process, RLIMIT_AS, rlim_t(limits.addressSpace), rlim_t(limits.addressSpace));
  }
}

}  // namespace

std::string ErrorReason(int errnum) { return std::strerror(errnum); }

int LastError() { return errno; }
void ClearLastError() { errno = 0; }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

int File::Close() {
  if (handle_ < 0) return 0;
  const int handle = handle_;
  handle_ = -1;
  return Result(::close(handle));
}

int Inspect(const std::string& path, FileInfo& info, bool followLinks) {
  struct stat status {};
  const int result = followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
  if (result != 0) return errno;
  info = Described(status);
  return 0;
}

int Inspect(const File& file, FileInfo& info) {
  struct stat status {};
  if (::fstat(Handle(file), &status) != 0) return errno;
  info = Described(status);
  return 0;
}

int ReadLink(const std::string& path, std::string& target) {
  target.assign(PATH_MAX, '\0');
  const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
  if (length < 0) return errno;
  if (length == 0 || length >= PATH_MAX) return ENAMETOOLONG;
  target.resize(std::size_t(length));
  return 0;
}

std::string ProgramFolder() {
  std::string program;
  if (ReadLink("/proc/self/exe", program) != 0) return {};
  const std::size_t slash = program.rfind('/');
  return program.substr(0, slash == 0 ? 1 : slash);
}

std::string TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

int CheckWritable(const std::string& path) { return Result(::access(path.c_str(), W_OK)); }

int OpenToRead(const std::string& path, File& file) {
  return Opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY), file);
}

int ReadAt(const File& file, char* out, std::size_t length, std::uint64_t offset,
           std::size_t& got) {
  got = 0;
  while (got < length) {
    const ssize_t n = ::pread(Handle(file), out + got, length - got, off_t(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) break;
    got += std::size_t(n);
  }
  return 0;
}

int CreateUnnamed(const std::string& folder, unsigned mode, bool readable, File& file) {
  const int access = readable ? O_RDWR : O_WRONLY;
  if (Opened(::open(folder.c_str(), O_TMPFILE | access | O_CLOEXEC, mode), file) == 0) return 0;
  // Without unnamed files here the kernel or the file system answers one of these.
  return errno == EISDIR || errno == EINVAL ? EOPNOTSUPP : errno;
}

int CreateNamed(const std::string& name, unsigned mode, bool readable, File& file) {
  const int access = readable ? O_RDWR : O_WRONLY;
  return Opened(::open(name.c_str(), O_CREAT | O_EXCL | access | O_CLOEXEC, mode), file);
}

int OpenToWrite(const std::string& path, File& file) {
  return Opened(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK), file);
}

std::string PathOf(const File& file) { return "/proc/self/fd/" + std::to_string(Handle(file)); }

bool CanNameUnnamed() { return ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0; }

int NameUnnamed(const File& file, const std::string& name) {
  // Through /proc, or by root directly.
  if (::linkat(AT_FDCWD, PathOf(file).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    return 0;
  }
  if (errno == EEXIST) return EEXIST;
  return Result(::linkat(Handle(file), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH));
}

int Write(const File& file, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t n = ::write(Handle(file), data, length);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    data += n;
    length -= std::size_t(n);
  }
  return 0;
}

int WriteAt(const File& file, const char* data, std::size_t length, std::uint64_t offset) {
  while (length > 0) {
    const ssize_t n = ::pwrite(Handle(file), data, length, off_t(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    data += n;
    length -= std::size_t(n);
    offset += std::uint64_t(n);
  }
  return 0;
}

int Reserve(const File& file, std::uint64_t size) {
  return Result(::fallocate(Handle(file), FALLOC_FL_KEEP_SIZE, 0, off_t(size)));
}

int Truncate(const File& file, std::uint64_t size) {
  return Result(::ftruncate(Handle(file), off_t(size)));
}

int SetMode(const File& file, unsigned mode) { return Result(::fchmod(Handle(file), mode)); }

int SetOwner(const File& file, unsigned owner, unsigned group) {
  // Root may give the file to anyone; others at least to a group of theirs.
  if (::fchown(Handle(file), uid_t(owner), gid_t(group)) == 0) return 0;
  return Result(::fchown(Handle(file), uid_t(-1), gid_t(group)));
}

int Flush(const File& file) { return Result(::fdatasync(Handle(file))); }

void StartWritingOut(const File& file, std::uint64_t offset, std::uint64_t length) {
  ::sync_file_range(Handle(file), off_t(offset), off_t(length), SYNC_FILE_RANGE_WRITE);
}

int FlushFolder(const std::string& folder) {
  File directory;
  if (const int error =
          Opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), directory)) {
    return error;
  }
  return Result(::fsync(Handle(directory)));
}

int Rename(const std::string& from, const std::string& to, bool replace) {
  if (replace) return Result(::rename(from.c_str(), to.c_str()));
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  // A file system without the flag: the check that the name is free happened just before.
  if (errno == EINVAL) return Result(::rename(from.c_str(), to.c_str()));
  return errno;
}

int Remove(const std::string& name) { return Result(::unlink(name.c_str())); }

int MakeFifo(const std::string& name) { return Result(::mkfifo(name.c_str(), 0644)); }

void RemoveOnTermination(const std::string& name) {
  if (name.size() >= PATH_MAX) return;
  for (PendingSlot& slot : pending) {
    int free = kFree;
    if (!slot.state.compare_exchange_strong(free, kFilling)) continue;
    std::memcpy(slot.name, name.c_str(), name.size() + 1);
    slot.state = kHeld;
    return;
  }
}

void ForgetRemoveOnTermination(const std::string& name) {
  for (PendingSlot& slot : pending) {
    if (slot.state == kHeld && name == slot.name) {
      slot.state = kFree;
      return;
    }
  }
}

void SetUpProgram() {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    if (!LeftAtDefault(signal)) continue;  // what started the program chose otherwise
    struct sigaction cleanup {};
    cleanup.sa_handler = RemovePendingAndEnd;
    sigemptyset(&cleanup.sa_mask);
    ::sigaction(signal, &cleanup, nullptr);
  }
  ::signal(SIGXFSZ, SIG_IGN);
}

// A child killed whose end has not been waited for yet: it is waited for before the next one
// starts, so that two never hold memory at once, or when the program ends, and its end costs no
// wait meanwhile.
std::atomic<pid_t> killedChild = -1;

void WaitForKilledChild() {
  const pid_t killed = killedChild.exchange(-1);
  if (killed < 0) return;
  while (::waitpid(killed, nullptr, 0) < 0 && errno == EINTR) {
  }
}

int ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                        const File& input, const Limits& limits) {
  static const bool waitedForAtExit = std::atexit(WaitForKilledChild) == 0;
  (void)waitedForAtExit;
  WaitForKilledChild();
  int channel[2];
  if (::pipe2(channel, O_CLOEXEC) != 0) return errno;
  Access::Set(output_, channel[0]);
  // Room for a whole answer of the usual size, which the child then writes at once and ends,
  // rather than a wait for the reader every 64 KiB; the system's default where it allows less.
  ::fcntl(channel[0], F_SETPIPE_SZ, 1 << 20);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, Handle(input), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&files, channel[1], STDOUT_FILENO);
  // A sanitizer's report of a fault in the child is the reader's business, nothing else.
  if (!kSanitized) {
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  // The limits end the child by signals, which must have their default actions there.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t chosen;
  sigemptyset(&chosen);
  posix_spawnattr_setsigmask(&attributes, &chosen);
  sigaddset(&chosen, SIGXCPU);
  sigaddset(&chosen, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &chosen);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> words = args;
  words.insert(words.begin(), program);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t id = -1;
  const int error = ::posix_spawn(&id, program.c_str(), &files, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  ::close(channel[1]);
  if (error != 0) return error;
  id_ = id;

  // Set from here too, so that no child, however broken, runs without them for long.
  SetLimits(id, limits);
  return 0;
}

ChildProcess::~ChildProcess() {
  if (id_ < 0) return;
  ::kill(id_, SIGKILL);
  if (::waitpid(id_, nullptr, WNOHANG) != 0) return;
  WaitForKilledChild();
  killedChild = id_;
}

bool ChildProcess::Read(void* out, std::size_t size, std::chrono::steady_clock::time_point deadline,
                        const std::atomic<bool>* stop) {
  constexpr int kPollMilliseconds = 20;
  char* bytes = static_cast<char*>(out);
  while (size > 0) {
    if ((stop != nullptr && *stop) || std::chrono::steady_clock::now() > deadline) return false;
    pollfd ready{Handle(output_), POLLIN, 0};
    if (::poll(&ready, 1, kPollMilliseconds) <= 0) continue;  // nothing yet, or a signal
    const ssize_t count = ::read(Handle(output_), bytes, size);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes += count;
    size -= std::size_t(count);
  }
  return true;
}

void LimitThisProcess(const ChildProcess::Limits& limits) { SetLimits(0, limits); }

void EndWithParent() { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }

}  // namespace pixdraft::platform

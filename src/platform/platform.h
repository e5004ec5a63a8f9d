// The operating system's services, in one place: every other file reaches files, processes and
// signals through these, so that a port replaces platform_posix.cpp alone. Calls that can fail
// return 0 or the system's error number (an errno value) and throw nothing; the layers above turn
// those into the program's errors, and tell apart only the ones named here. C++ standard library
// only in this header.
#pragma once

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pixdraft::platform {

// Whether this build runs under AddressSanitizer or ThreadSanitizer, which reserve terabytes of
// address space and report faults on the standard error.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

// How a program's file is named after the program: ".exe" on Windows.
#ifdef _WIN32
inline constexpr char kProgramSuffix[] = ".exe";
#else
inline constexpr char kProgramSuffix[] = "";
#endif

// The errors the layers above tell apart, by name (the C runtime's numbers on Windows too, where
// the system's errors are mapped to them).
inline constexpr int kNotFound = ENOENT, kExists = EEXIST, kDenied = EACCES, kNotPermitted = EPERM,
                     kIsFolder = EISDIR, kUnsupported = EOPNOTSUPP, kTooManyLinks = ELOOP,
                     kInputOutput = EIO, kOutOfMemory = ENOMEM;
// The error the last failed call of the C or C++ library left (a decoder's allocation), and
// forgetting it before the next call.
int LastError();
void ClearLastError();

// The system's words for `errnum`, an error a call here returned: on Windows those of the
// system's own error behind it.
std::string ErrorReason(int errnum);

// The folder that holds `path` ("." for a bare name), and whether `path` starts from a root
// rather than the current folder: on Windows "\" separates folders too, and "C:\" is a root.
std::string FolderOf(const std::string& path);
bool IsAbsolute(const std::string& path);

// An open file (or pipe end), closed when it goes.
class File {
 public:
  File() = default;
  ~File() { Close(); }
  File(File&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}
  File& operator=(File&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
  }

  bool open() const { return handle_ >= 0; }
  // Closes it now; returns what the close reports (a full disk may only show here).
  int Close();

  // The program's standard input, taken over: descriptor 0 on both systems.
  static File StandardInput() {
    File file;
    file.handle_ = 0;
    return file;
  }

 private:
  friend struct Access;
  int handle_ = -1;
};

enum class Kind { kMissing, kRegular, kDirectory, kLink, kOther };

struct FileInfo {
  Kind kind = Kind::kMissing;
  std::uint64_t size = 0;
  std::uint64_t device = 0, inode = 0;  // together, the file's identity
  unsigned mode = 0;                    // permission bits, with set-user-ID, set-group-ID, sticky
  unsigned owner = 0, group = 0;
};

// What `path` names, links followed (or, with `followLinks` false, the link itself).
int Inspect(const std::string& path, FileInfo& info, bool followLinks = true);
int Inspect(const File& file, FileInfo& info);
int ReadLink(const std::string& path, std::string& target);
// The folder of the running program's file, links resolved; empty when the system cannot say.
std::string ProgramFolder();
// The folder for temporary files: $TMPDIR when set, else the system's.
std::string TemporaryFolder();
// 0 when this process may write the file at `path`.
int CheckWritable(const std::string& path);

// Opens `path` to read, without waiting: opening a FIFO or a device does not block.
int OpenToRead(const std::string& path, File& file);
// Reads up to `length` bytes at `offset`; `got` is fewer only at the end.
int ReadAt(const File& file, char* out, std::size_t length, std::uint64_t offset, std::size_t& got);

// A new file in `folder` that no name reaches (kUnsupported where the file system has none), for
// writing (and reading, with `readable`), with the permissions `mode` less the process's file
// mode mask.
int CreateUnnamed(const std::string& folder, unsigned mode, bool readable, File& file);
// A new file named `name`, as CreateUnnamed makes them; kExists when the name is taken.
int CreateNamed(const std::string& name, unsigned mode, bool readable, File& file);
// An existing file, to write over it in place.
int OpenToWrite(const std::string& path, File& file);
// A name that opens `file` while it is open, unnamed or not.
std::string PathOf(const File& file);
// Gives the unnamed `file` the name `name`; kExists when it is taken.
int NameUnnamed(const File& file, const std::string& name);
// Whether this process can name unnamed files at all.
bool CanNameUnnamed();

// Writes all of `data`, at the current position or at `offset`.
int Write(const File& file, const char* data, std::size_t length);
int WriteAt(const File& file, const char* data, std::size_t length, std::uint64_t offset);
// Reserves `size` bytes for the file without changing its length; kUnsupported where that cannot
// be.
int Reserve(const File& file, std::uint64_t size);
int Truncate(const File& file, std::uint64_t size);
int SetMode(const File& file, unsigned mode);
// Gives the file to `owner` and `group`, or at least to `group`.
int SetOwner(const File& file, unsigned owner, unsigned group);
// Puts the file's data on the disk before returning (what a power cut must not lose).
int Flush(const File& file);
// Starts putting `length` bytes at `offset` on the disk without waiting, so that a large file's
// Flush has less left to wait for. Only a hint: where it means nothing, nothing happens.
void StartWritingOut(const File& file, std::uint64_t offset, std::uint64_t length);
// Puts a folder's entries (a rename in it) on the disk.
int FlushFolder(const std::string& folder);
// Renames `from` to `to`; without `replace`, only if `to` is still free.
int Rename(const std::string& from, const std::string& to, bool replace);
int Remove(const std::string& name);
// A FIFO named `name` (tests: a file whose opening or reading would block).
int MakeFifo(const std::string& name);

// The hidden files that the termination signals remove before the process ends: the staged
// files that name themselves in a folder until they replace their targets, one for each save
// under way (a drawing and its counts). Safe to call from any thread; the handlers read them.
void RemoveOnTermination(const std::string& name);
void ForgetRemoveOnTermination(const std::string& name);

// The process-wide policy both programs set up first in main: a write past the file-size limit
// fails instead of ending the process, and SIGTERM, SIGINT and SIGHUP remove the pending hidden
// files before they end it.
void SetUpProgram();

// A program run with its standard input from a file, its standard output to a pipe this end
// reads, and its standard error nowhere (with AddressSanitizer, here), under hard limits of CPU
// time and address space. It is killed when this goes, and its end waited for when the next one
// starts (or the program ends), so that no two hold memory at once.
class ChildProcess {
 public:
  struct Limits {
    std::int64_t addressSpace = 0;  // 0: none
    int cpuSeconds = 0;
  };
  // Starts `program` with `args` (after its own name). Returns 0 or why it could not start.
  int Start(const std::string& program, const std::vector<std::string>& args, const File& input,
            const Limits& limits);
  ~ChildProcess();

  // Reads `size` bytes of its output. False when it ended first, or the deadline passed, or
  // `stop` became true (checked every few milliseconds).
  bool Read(void* out, std::size_t size, std::chrono::steady_clock::time_point deadline,
            const std::atomic<bool>* stop);

 private:
  int id_ = -1;
  File output_;
};

// Puts this process under `limits`, as ChildProcess::Start puts its child.
void LimitThisProcess(const ChildProcess::Limits& limits);

// Makes this process end when the one that started it does.
void EndWithParent();

}  // namespace pixdraft::platform

// The operating system's services on Windows. Names are UTF-8 inside the program and UTF-16 at
// the system's edge; errors are turned into the errno values the POSIX side returns, so that the
// layers above decide alike, and the system's own words for the last one are kept for messages.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h.
#include <fcntl.h>
#include <io.h>
#include <winioctl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "platform/platform.h"

namespace pixdraft::platform {

struct Access {
  static int Descriptor(const File& file) { return file.handle_; }
  static void Set(File& file, int descriptor) {
    file = File();
    file.handle_ = descriptor;
  }
};

namespace {

// --- Errors -------------------------------------------------------------------------------

// The Windows error behind the errno value a call here last returned on this thread.
thread_local int lastErrno = 0;
thread_local DWORD lastCode = 0;

int ErrnoFor(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DELETE_PENDING:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_CANNOT_MAKE:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
      return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_TOO_LARGE:
      return EFBIG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_COMMITMENT_LIMIT:
      return ENOMEM;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_CANT_RESOLVE_FILENAME:
      return ELOOP;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
      return EPIPE;
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_NO_UNICODE_TRANSLATION:
      return EINVAL;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
      return EOPNOTSUPP;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    default:
      return EIO;
  }
}

// Maps `code` and keeps it for ErrorReason.
int Failed(DWORD code) {
  lastErrno = ErrnoFor(code);
  lastCode = code;
  return lastErrno;
}
int SystemError() { return Failed(GetLastError()); }
int Result(BOOL done) { return done ? 0 : SystemError(); }

// --- Names --------------------------------------------------------------------------------

std::wstring Widened(const std::string& text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(std::size_t(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), wide.data(),
                      size);
  return wide;
}

std::string Narrowed(const wchar_t* text, std::size_t length) {
  if (length == 0) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
  std::string narrow(std::size_t(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, int(length), narrow.data(), size, nullptr, nullptr);
  return narrow;
}

// The system's name for `name`: UTF-16, and beyond MAX_PATH in the form without that limit
// (absolute, "\\?\" before it), which the file functions take whatever the system's settings.
// False when `name` is no UTF-8 or empty.
bool SystemName(const std::string& name, std::wstring& wide) {
  wide = Widened(name);
  if (wide.empty()) {
    Failed(name.empty() ? ERROR_PATH_NOT_FOUND : ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  // Room for the 8.3 name CreateDirectory keeps beside a long one.
  if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0) return true;
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) {
    SystemError();
    return false;
  }
  full.resize(length);
  if (full.rfind(L"\\\\", 0) == 0) {
    wide = L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share\...
  } else {
    wide = L"\\\\?\\" + full;
  }
  return true;
}

// --- Open files ---------------------------------------------------------------------------

HANDLE Handle(const File& file) {
  const int descriptor = Access::Descriptor(file);
  return descriptor < 0 ? INVALID_HANDLE_VALUE : HANDLE(_get_osfhandle(descriptor));
}

// Gives `handle` to `file` (as a C runtime descriptor, which is what File holds).
int Opened(HANDLE handle, File& file) {
  if (handle == INVALID_HANDLE_VALUE) return SystemError();
  const int descriptor = _open_osfhandle(intptr_t(handle), _O_BINARY | _O_NOINHERIT);
  if (descriptor < 0) {
    CloseHandle(handle);
    return Failed(ERROR_TOO_MANY_OPEN_FILES);
  }
  Access::Set(file, descriptor);
  return 0;
}

// The names PathOf gives: an open file of this process, by its handle, even once it has no name.
constexpr char kOpenFilePrefix[] = "\\\\.\\pixdraft-open-file\\";

bool OpenFileNamed(const std::string& name, HANDLE& handle) {
  if (name.rfind(kOpenFilePrefix, 0) != 0) return false;
  handle =
      HANDLE(std::uintptr_t(std::strtoull(name.c_str() + sizeof kOpenFilePrefix - 1, nullptr, 16)));
  return true;
}

// Opens `name` for `access`; directories open too, so that they can be told apart.
HANDLE OpenName(const std::string& name, DWORD access, DWORD share, DWORD disposition,
                DWORD flags) {
  HANDLE open = INVALID_HANDLE_VALUE;
  if (OpenFileNamed(name, open)) {
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (!DuplicateHandle(GetCurrentProcess(), open, GetCurrentProcess(), &copy, access, FALSE, 0)) {
      Failed(ERROR_FILE_NOT_FOUND);
      return INVALID_HANDLE_VALUE;
    }
    return copy;
  }
  std::wstring wide;
  if (!SystemName(name, wide)) return INVALID_HANDLE_VALUE;
  const HANDLE handle =
      CreateFileW(wide.c_str(), access, share, nullptr, disposition, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) SystemError();
  return handle;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct ReparsePoint {
  DWORD tag;
  WORD dataLength, reserved;
  WORD substituteOffset, substituteLength, printOffset, printLength;
  ULONG flags;  // symbolic links only
  WCHAR path[1];
};

DWORD ReparseTag(HANDLE handle) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) return 0;
  return (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? tag.ReparseTag : 0;
}

int Describe(HANDLE handle, bool linkItself, FileInfo& info) {
  info = FileInfo();
  const DWORD type = GetFileType(handle);
  if (type != FILE_TYPE_DISK) {
    if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) return SystemError();
    info.kind = Kind::kOther;  // a pipe, a console, a device
    info.mode = 0666;
    return 0;
  }
  BY_HANDLE_FILE_INFORMATION status{};
  if (!GetFileInformationByHandle(handle, &status)) return SystemError();
  const bool directory = (status.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.kind = directory ? Kind::kDirectory : Kind::kRegular;
  if (linkItself && ReparseTag(handle) == IO_REPARSE_TAG_SYMLINK) info.kind = Kind::kLink;
  info.size = (std::uint64_t(status.nFileSizeHigh) << 32) | status.nFileSizeLow;
  info.device = status.dwVolumeSerialNumber;
  info.inode = (std::uint64_t(status.nFileIndexHigh) << 32) | status.nFileIndexLow;
  // What POSIX permission bits would say: everyone may read, write unless read-only.
  const bool readOnly = (status.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 && !directory;
  info.mode = (readOnly ? 0444u : 0666u) | (directory ? 0111u : 0u);
  return 0;
}

int SetBasicAttributes(HANDLE handle, DWORD set, DWORD clear) {
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
    return SystemError();
  }
  const DWORD wanted = (basic.FileAttributes & ~clear) | set;
  if (wanted == basic.FileAttributes) return 0;
  basic.FileAttributes = wanted == 0 ? FILE_ATTRIBUTE_NORMAL : wanted;
  return Result(SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic));
}

// --- Termination --------------------------------------------------------------------------

// The hidden files the console's termination events remove, one slot for each save under way.
// A slot is free, being filled, or holds a name the handler may read.
enum SlotState : int { kFree, kFilling, kHeld };
struct PendingSlot {
  wchar_t name[32768];
  std::atomic<int> state = kFree;
};
PendingSlot pending[8];

BOOL WINAPI RemovePendingAndEnd(DWORD) {
  for (PendingSlot& slot : pending) {
    if (slot.state == kHeld) DeleteFileW(slot.name);
  }
  return FALSE;  // on to the default handler, which ends the process
}

// The console's code page while the program writes UTF-8 to it, given back at the end.
UINT consoleOutput = 0;
void GiveBackConsoleCodePage() { SetConsoleOutputCP(consoleOutput); }

// Standard streams carry bytes: DXF lines already end in CR LF, and the decoding helper's answer
// is binary. Set before main, in every program.
const bool kBinaryStandardStreams = [] {
  _setmode(0, _O_BINARY);
  _setmode(1, _O_BINARY);
  _setmode(2, _O_BINARY);
  return true;
}();

// --- Processes ----------------------------------------------------------------------------

// One argument as the C runtime's command-line parser reads it back.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

// A job that holds one process under `limits`; with `killOnClose`, its processes end when its
// last handle closes, that is when the program holding it ends, however it ends.
HANDLE LimitingJob(const ChildProcess::Limits& limits, bool killOnClose) {
  const HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION settings{};
  DWORD flags = JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
  if (killOnClose) flags |= JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (limits.addressSpace > 0) {
    // Committed memory, the nearest Windows has to an address-space limit.
    flags |= JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    settings.ProcessMemoryLimit = SIZE_T(limits.addressSpace);
  }
  if (limits.cpuSeconds > 0) {
    flags |= JOB_OBJECT_LIMIT_PROCESS_TIME;
    settings.BasicLimitInformation.PerProcessUserTimeLimit.QuadPart =
        LONGLONG(limits.cpuSeconds) * 10'000'000;
  }
  settings.BasicLimitInformation.LimitFlags = flags;
  SetInformationJobObject(job, JobObjectExtendedLimitInformation, &settings, sizeof settings);
  return job;
}

LONG WINAPI EndAtOnce(EXCEPTION_POINTERS* fault) {
  TerminateProcess(GetCurrentProcess(), fault->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

// What ChildProcess keeps beyond its id, by id: File holds no more than a number.
struct Running {
  HANDLE process = nullptr, thread = nullptr, job = nullptr;
  int cpuSeconds = 0;
};

// Whether `child` has used up its CPU time: the job ends it then, and this ends it where a
// system does not keep to the job's limit (wine). Counted on its main thread, where the helper
// decodes: wine gives the asking process's own times for another process's, which would end
// every helper once the program itself had used that much.
bool OutOfTime(const Running& child) {
  FILETIME created, ended, kernel, user;
  if (child.cpuSeconds <= 0 || !GetThreadTimes(child.thread, &created, &ended, &kernel, &user)) {
    return false;
  }
  const auto ticks = [](const FILETIME& time) {
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return ticks(kernel) + ticks(user) > std::uint64_t(child.cpuSeconds) * 10'000'000;
}
std::mutex runningLock;
std::map<int, Running> running;

// A child killed whose end has not come yet: waited for before the next one starts, so that two
// never hold memory at once, or when the program ends, and its end costs no wait meanwhile.
std::atomic<HANDLE> killedChild = nullptr;

void WaitForKilledChild() {
  const HANDLE killed = killedChild.exchange(nullptr);
  if (killed == nullptr) return;
  WaitForSingleObject(killed, INFINITE);
  CloseHandle(killed);
}

}  // namespace

// --- platform.h ---------------------------------------------------------------------------

std::string ErrorReason(int errnum) {
  if (errnum == lastErrno && lastCode != 0) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, lastCode, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length > 0) {
      std::string reason = Narrowed(text, length);
      LocalFree(text);
      return reason;
    }
  }
  return std::strerror(errnum);
}

// What a decoder's failed allocation leaves is the C runtime's errno, as elsewhere.
int LastError() { return errno; }
void ClearLastError() { errno = 0; }

namespace {
bool Separator(char c) { return c == '/' || c == '\\'; }
bool DriveLetter(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}
}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return DriveLetter(path) ? path.substr(0, 2) : ".";
  // A root keeps its separator: "C:\x" is in "C:\", "\x" in "\".
  const std::size_t root = DriveLetter(path) ? 3 : 1;
  return slash < root ? path.substr(0, slash + 1) : path.substr(0, slash);
}

bool IsAbsolute(const std::string& path) {
  return (!path.empty() && Separator(path[0])) ||
         (DriveLetter(path) && path.size() > 2 && Separator(path[2]));
}

int File::Close() {
  if (handle_ < 0) return 0;
  const int descriptor = handle_;
  handle_ = -1;
  return _close(descriptor) == 0 ? 0 : EIO;
}

int Inspect(const std::string& path, FileInfo& info, bool followLinks) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const HANDLE handle = OpenName(path, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING, flags);
  if (handle == INVALID_HANDLE_VALUE) return lastErrno;
  const int error = Describe(handle, !followLinks, info);
  CloseHandle(handle);
  return error;
}

int Inspect(const File& file, FileInfo& info) { return Describe(Handle(file), false, info); }

int ReadLink(const std::string& path, std::string& target) {
  const HANDLE handle = OpenName(path, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
  if (handle == INVALID_HANDLE_VALUE) return lastErrno;
  std::vector<char> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
  DWORD got = 0;
  const BOOL read = DeviceIoControl(handle, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                                    DWORD(buffer.size()), &got, nullptr);
  const int error = read ? 0 : SystemError();
  CloseHandle(handle);
  if (error != 0) return error == EOPNOTSUPP || error == EIO ? EINVAL : error;
  const auto* point = reinterpret_cast<const ReparsePoint*>(buffer.data());
  if (point->tag != IO_REPARSE_TAG_SYMLINK) return EINVAL;
  // The name as the link's maker wrote it; else the system's form, without its "\??\".
  const WCHAR* name = point->path + point->printOffset / sizeof(WCHAR);
  std::size_t length = point->printLength / sizeof(WCHAR);
  if (length == 0) {
    name = point->path + point->substituteOffset / sizeof(WCHAR);
    length = point->substituteLength / sizeof(WCHAR);
    if (length >= 4 && std::wcsncmp(name, L"\\??\\", 4) == 0) {
      name += 4;
      length -= 4;
    }
  }
  if (length == 0) return ENAMETOOLONG;
  target = Narrowed(name, length);
  return 0;
}

std::string ProgramFolder() {
  std::wstring program(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, program.data(), DWORD(program.size()));
    if (length == 0) return {};
    if (length < program.size()) {
      program.resize(length);
      break;
    }
    program.resize(program.size() * 2);  // cut short: a longer name than MAX_PATH
  }
  // "\\?\" before a long name is the system's, not the user's.
  if (program.rfind(L"\\\\?\\", 0) == 0 && program.rfind(L"\\\\?\\UNC\\", 0) != 0) {
    program.erase(0, 4);
  }
  return FolderOf(Narrowed(program.data(), program.size()));
}

std::string TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1];  // the most GetTempPathW gives
  DWORD length = GetTempPathW(DWORD(std::size(folder)), folder);
  if (length == 0 || length > std::size(folder)) return ".";
  // "C:\Temp\" names the folder; "C:\" stays a root.
  if (length > 3 && Separator(char(folder[length - 1]))) --length;
  return Narrowed(folder, length);
}

int CheckWritable(const std::string& path) {
  std::wstring wide;
  if (!SystemName(path, wide)) return lastErrno;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return SystemError();
  if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Failed(ERROR_ACCESS_DENIED);
  }
  // The file's access control list decides the rest: ask for the right without using it.
  const HANDLE handle =
      OpenName(path, FILE_WRITE_DATA, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  if (handle == INVALID_HANDLE_VALUE) return lastErrno;
  CloseHandle(handle);
  return 0;
}

int OpenToRead(const std::string& path, File& file) {
  // Others may go on reading, writing and renaming it, as anywhere else.
  return Opened(OpenName(path, GENERIC_READ, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS),
                file);
}

int ReadAt(const File& file, char* out, std::size_t length, std::uint64_t offset,
           std::size_t& got) {
  got = 0;
  while (got < length) {
    OVERLAPPED at{};
    at.Offset = DWORD(offset + got);
    at.OffsetHigh = DWORD((offset + got) >> 32);
    const DWORD wanted = DWORD(std::min<std::size_t>(length - got, 1u << 30));
    DWORD n = 0;
    if (!ReadFile(Handle(file), out + got, wanted, &n, &at)) {
      const DWORD code = GetLastError();
      if (code == ERROR_HANDLE_EOF || code == ERROR_BROKEN_PIPE) break;
      return Failed(code);
    }
    if (n == 0) break;
    got += n;
  }
  return 0;
}

int CreateUnnamed(const std::string&, unsigned, bool, File&) {
  return EOPNOTSUPP;  // every file has a name here
}

int CreateNamed(const std::string& name, unsigned mode, bool readable, File& file) {
  const DWORD access = GENERIC_WRITE | (readable ? GENERIC_READ : 0) | DELETE;
  // Nobody else writes into it meanwhile; it may be removed while open (a private scratch file
  // is, at once) and goes when closed then.
  const DWORD attributes = (mode & 0222) != 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
  return Opened(OpenName(name, access, FILE_SHARE_READ | FILE_SHARE_DELETE, CREATE_NEW, attributes),
                file);
}

int OpenToWrite(const std::string& path, File& file) {
  return Opened(OpenName(path, GENERIC_WRITE | GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                         OPEN_EXISTING, 0),
                file);
}

std::string PathOf(const File& file) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%llx", kOpenFilePrefix,
                static_cast<unsigned long long>(std::uintptr_t(Handle(file))));
  return name;
}

int NameUnnamed(const File&, const std::string&) { return EOPNOTSUPP; }

bool CanNameUnnamed() { return false; }

int Write(const File& file, const char* data, std::size_t length) {
  while (length > 0) {
    DWORD n = 0;
    if (!WriteFile(Handle(file), data, DWORD(std::min<std::size_t>(length, 1u << 30)), &n,
                   nullptr)) {
      return SystemError();
    }
    if (n == 0) return EIO;
    data += n;
    length -= n;
  }
  return 0;
}

int WriteAt(const File& file, const char* data, std::size_t length, std::uint64_t offset) {
  while (length > 0) {
    OVERLAPPED at{};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD n = 0;
    if (!WriteFile(Handle(file), data, DWORD(std::min<std::size_t>(length, 1u << 30)), &n, &at)) {
      return SystemError();
    }
    if (n == 0) return EIO;
    data += n;
    length -= n;
    offset += n;
  }
  return 0;
}

int Reserve(const File& file, std::uint64_t size) {
  FILE_ALLOCATION_INFO allocation{};
  allocation.AllocationSize.QuadPart = LONGLONG(size);
  if (SetFileInformationByHandle(Handle(file), FileAllocationInfo, &allocation,
                                 sizeof allocation)) {
    return 0;
  }
  const int error = SystemError();
  return error == EINVAL ? EOPNOTSUPP : error;
}

int Truncate(const File& file, std::uint64_t size) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = LONGLONG(size);
  return Result(SetFileInformationByHandle(Handle(file), FileEndOfFileInfo, &end, sizeof end));
}

int SetMode(const File& file, unsigned mode) {
  // Of the permission bits, Windows keeps one: whether the owner may write.
  return (mode & 0200) != 0 ? SetBasicAttributes(Handle(file), 0, FILE_ATTRIBUTE_READONLY)
                            : SetBasicAttributes(Handle(file), FILE_ATTRIBUTE_READONLY, 0);
}

int SetOwner(const File&, unsigned, unsigned) {
  return 0;  // a file made in a folder takes the folder's access control list
}

int Flush(const File& file) { return Result(FlushFileBuffers(Handle(file))); }

// The cache manager writes behind on its own; nothing to ask for.
void StartWritingOut(const File&, std::uint64_t, std::uint64_t) {}

int FlushFolder(const std::string& folder) {
  // NTFS flushes a folder's entries through a handle to it opened for writing.
  const HANDLE handle = OpenName(folder, GENERIC_READ | GENERIC_WRITE, kShareAll, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS);
  if (handle == INVALID_HANDLE_VALUE) return lastErrno;
  const int error = Result(FlushFileBuffers(handle));
  CloseHandle(handle);
  return error;
}

int Rename(const std::string& from, const std::string& to, bool replace) {
  std::wstring source, target;
  if (!SystemName(from, source) || !SystemName(to, target)) return lastErrno;
  if (replace) {
    // The replaced file's attributes (hidden, archive, not indexed...), its access control list
    // and its creation time pass to the new content; ReplaceFileW does that itself, and the
    // attributes are checked after it, as not every file system keeps them.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (ReplaceFileW(target.c_str(), source.c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                     nullptr)) {
      if (attributes != INVALID_FILE_ATTRIBUTES &&
          GetFileAttributesW(target.c_str()) != attributes) {
        SetFileAttributesW(target.c_str(), attributes);
      }
      return 0;
    }
    const DWORD code = GetLastError();
    // Gone meanwhile, or a file system without it: an ordinary replacing rename.
    if (code != ERROR_FILE_NOT_FOUND && code != ERROR_INVALID_PARAMETER &&
        code != ERROR_NOT_SUPPORTED && code != ERROR_INVALID_FUNCTION) {
      return Failed(code);
    }
    return Result(MoveFileExW(source.c_str(), target.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  }
  return Result(MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH));
}

int Remove(const std::string& name) {
  std::wstring wide;
  if (!SystemName(name, wide)) return lastErrno;
  return Result(DeleteFileW(wide.c_str()));
}

int MakeFifo(const std::string&) { return kUnsupported; }  // named pipes live apart from files

void RemoveOnTermination(const std::string& name) {
  std::wstring wide;
  if (!SystemName(name, wide) || wide.size() >= std::size(pending[0].name)) return;
  for (PendingSlot& slot : pending) {
    int free = kFree;
    if (!slot.state.compare_exchange_strong(free, kFilling)) continue;
    std::memcpy(slot.name, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    slot.state = kHeld;
    return;
  }
}

void ForgetRemoveOnTermination(const std::string& name) {
  std::wstring wide;
  if (!SystemName(name, wide)) return;
  for (PendingSlot& slot : pending) {
    if (slot.state == kHeld && wide == slot.name) {
      slot.state = kFree;
      return;
    }
  }
}

void SetUpProgram() {
  // Ctrl+C, Ctrl+Break, the console's close box, logging off and shutting down remove the pending
  // hidden file before the process ends, as the termination signals do elsewhere.
  SetConsoleCtrlHandler(RemovePendingAndEnd, TRUE);
  // No dialog box about a missing disk or a drive not ready: the call fails instead.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Messages are UTF-8; a console shows them as such while the program runs.
  if (GetConsoleOutputCP() != CP_UTF8 && (consoleOutput = GetConsoleOutputCP()) != 0) {
    SetConsoleOutputCP(CP_UTF8);
    std::atexit(GiveBackConsoleCodePage);
  }
}

int ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                        const File& input, const Limits& limits) {
  static const bool waitedForAtExit = std::atexit(WaitForKilledChild) == 0;
  (void)waitedForAtExit;
  WaitForKilledChild();
  std::wstring programName;
  if (!SystemName(program, programName)) return lastErrno;
  std::wstring commandLine = Quoted(Widened(program));
  for (const std::string& arg : args) commandLine += L" " + Quoted(Widened(arg));

  // Its output: a pipe whose writing end only the child holds once it runs.
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE reading = nullptr, writing = nullptr;
  if (!CreatePipe(&reading, &writing, &inherited, 1 << 20)) return SystemError();
  SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
  Opened(reading, output_);
  HANDLE standardInput = nullptr;
  DuplicateHandle(GetCurrentProcess(), Handle(input), GetCurrentProcess(), &standardInput, 0, TRUE,
                  DUPLICATE_SAME_ACCESS);
  const HANDLE nowhere =
      CreateFileW(L"NUL", GENERIC_WRITE, kShareAll, &inherited, OPEN_EXISTING, 0, nullptr);
  const auto closeEnds = [&] {
    CloseHandle(writing);
    if (standardInput != nullptr) CloseHandle(standardInput);
    if (nowhere != INVALID_HANDLE_VALUE) CloseHandle(nowhere);
  };
  if (standardInput == nullptr || nowhere == INVALID_HANDLE_VALUE) {
    const int error = SystemError();
    closeEnds();
    return error;
  }

  // Exactly these three handles pass to the child, not whatever else another thread has open
  // for its own child meanwhile: a pipe end held by the wrong child never reports its end.
  HANDLE passed[] = {standardInput, writing, nowhere};
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> attributeMemory(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeMemory.data());
  InitializeProcThreadAttributeList(attributes, 1, 0, &size);
  UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, passed, sizeof passed,
                            nullptr, nullptr);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = standardInput;
  startup.StartupInfo.hStdOutput = writing;
  startup.StartupInfo.hStdError = nowhere;
  startup.lpAttributeList = attributes;

  // Started suspended, so that it runs no instruction outside its job.
  PROCESS_INFORMATION started{};
  const BOOL created =
      CreateProcessW(programName.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                     CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                     nullptr, &startup.StartupInfo, &started);
  const int error = created ? 0 : SystemError();
  DeleteProcThreadAttributeList(attributes);
  closeEnds();
  if (error != 0) return error;

  const HANDLE job = LimitingJob(limits, true);
  if (job == nullptr || !AssignProcessToJobObject(job, started.hProcess)) {
    const int jobError = SystemError();
    TerminateProcess(started.hProcess, 1);
    WaitForSingleObject(started.hProcess, INFINITE);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    if (job != nullptr) CloseHandle(job);
    return jobError;
  }
  ResumeThread(started.hThread);
  id_ = int(started.dwProcessId);
  const std::lock_guard lock(runningLock);
  running[id_] = {started.hProcess, started.hThread, job, limits.cpuSeconds};
  return 0;
}

ChildProcess::~ChildProcess() {
  if (id_ < 0) return;
  Running child;
  {
    const std::lock_guard lock(runningLock);
    child = running[id_];
    running.erase(id_);
  }
  TerminateJobObject(child.job, 1);
  CloseHandle(child.job);
  CloseHandle(child.thread);
  if (WaitForSingleObject(child.process, 0) == WAIT_OBJECT_0) {
    CloseHandle(child.process);
    return;
  }
  WaitForKilledChild();
  killedChild = child.process;
}

bool ChildProcess::Read(void* out, std::size_t size, std::chrono::steady_clock::time_point deadline,
                        const std::atomic<bool>* stop) {
  // An anonymous pipe cannot be waited on: it is looked at every millisecond or two while
  // empty, and read as soon as it holds something; the child's CPU time every 64 looks.
  char* bytes = static_cast<char*>(out);
  unsigned idle = 0;
  while (size > 0) {
    if ((stop != nullptr && *stop) || std::chrono::steady_clock::now() > deadline) return false;
    DWORD available = 0;
    if (!PeekNamedPipe(Handle(output_), nullptr, 0, nullptr, &available, nullptr)) return false;
    if (available == 0) {
      Sleep(1);
      if (++idle % 64 == 0) {
        const std::lock_guard lock(runningLock);
        if (OutOfTime(running[id_])) TerminateJobObject(running[id_].job, ERROR_NOT_ENOUGH_QUOTA);
      }
      continue;
    }
    DWORD count = 0;
    const DWORD wanted = DWORD(std::min<std::size_t>(size, available));
    if (!ReadFile(Handle(output_), bytes, wanted, &count, nullptr) || count == 0) return false;
    bytes += count;
    size -= count;
  }
  return true;
}

void LimitThisProcess(const ChildProcess::Limits& limits) {
  // A decoder that crashes ends here and now, without a dialog box or a debugger waiting (the
  // job says so too, where the system keeps to it).
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(EndAtOnce);
  // Its own job too, as the POSIX side sets its own limits: held until the process ends.
  if (const HANDLE job = LimitingJob(limits, false)) {
    if (!AssignProcessToJobObject(job, GetCurrentProcess())) CloseHandle(job);
  }
}

void EndWithParent() {
  // Nothing to do: the program holds this process's job, which ends it when the program ends.
}

}  // namespace pixdraft::platform

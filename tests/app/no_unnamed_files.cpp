// Loaded into a program with LD_PRELOAD, makes it see a file system without unnamed files
// (O_TMPFILE), as FAT, exFAT and many network folders are: its saves then stage named files.
#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

namespace {

using OpenFunction = int (*)(const char*, int, ...);

int Open(const char* symbol, const char* path, int flags, std::va_list args) {
  if ((flags & O_TMPFILE) == O_TMPFILE) {
    errno = EOPNOTSUPP;
    return -1;
  }
  const mode_t mode = flags & O_CREAT ? va_arg(args, mode_t) : 0;
  return reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, symbol))(path, flags, mode);
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
  std::va_list args;
  va_start(args, flags);
  const int result = Open("open", path, flags, args);
  va_end(args);
  return result;
}

extern "C" int open64(const char* path, int flags, ...) {
  std::va_list args;
  va_start(args, flags);
  const int result = Open("open64", path, flags, args);
  va_end(args);
  return result;
}

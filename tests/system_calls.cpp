#include "system_calls.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/errors.h"
#include "platform/platform.h"

namespace pixdraft {

std::string ErrorInChild(const std::function<void()>& action) {
  int channel[2];
  if (::pipe(channel) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    platform::SetUpProgram();
    ::close(channel[0]);
    std::string message = "no error";
    try {
      action();
    } catch (const Exception& error) {
      message = error.what();
    }
    [[maybe_unused]] auto written = ::write(channel[1], message.data(), message.size());
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string message;
  char buffer[512];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? message : "child failed";
}

void BecomeUnprivileged() {
  if (::geteuid() != 0) return;
  if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
}

void LimitFileSize(std::uint64_t bytes) {
  const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
}

bool RunsAsRoot() { return ::geteuid() == 0; }

void WithFileModeMask(unsigned mask, const std::function<void()>& action) {
  const mode_t previous = ::umask(mode_t(mask));
  try {
    action();
  } catch (...) {
    ::umask(previous);
    throw;
  }
  ::umask(previous);
}

bool MakeDeviceNode(const std::string& path) {
  return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

}  // namespace pixdraft

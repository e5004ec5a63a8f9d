// Runs a piece of a test in a child process, which may lower its limits or give up root without
// touching the test itself.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "base/errors.h"
#include "platform/platform.h"

// Runs `action` in a child process, set up as the programs set themselves up, and returns the
// message of the error of ours it raised, or "no error"; "child failed" when the child did not end
// normally.
inline std::string ErrorInChild(const std::function<void()>& action) {
  int channel[2];
  if (::pipe(channel) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    pixdraft::platform::SetUpProgram();
    ::close(channel[0]);
    std::string message = "no error";
    try {
      action();
    } catch (const pixdraft::Exception& error) {
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

// Root reads and writes through any permission, so a child that is root gives it up first.
inline void BecomeUnprivileged() {
  if (::geteuid() != 0) return;
  if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
}

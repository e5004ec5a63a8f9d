// What `pixdraft` makes of its command line before any window system is started: its help, its
// version and its usage errors work without a display, and the picture it names is kept byte for
// byte (Qt's own list of arguments cannot hold a name that is not UTF-8).
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace pixdraft {

// The help text: usage, options, exit statuses.
extern const char kWindowUsage[];

struct WindowCommandLine {
  enum class Action { kOpenWindow, kShowHelp, kShowVersion, kUsageError };
  Action action = Action::kOpenWindow;
  std::optional<std::string> picture;
  std::string problem;  // of a usage error
};

// Reads `argv` as the program and Qt will: Qt's own options and their values are Qt's; the first
// of --help (-h), --version (-v, -V) and an option neither knows decides, before "--"; more than
// one picture is a usage error.
WindowCommandLine ParseWindowArguments(int argc, char** argv);

// Answers help and version on `out`, a usage error on `err`, and returns the exit status; nothing
// when the window is to open.
std::optional<int> AnswerWithoutWindow(const WindowCommandLine& command, std::ostream& out,
                                       std::ostream& err);

}  // namespace pixdraft

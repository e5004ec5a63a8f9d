#include "app/window_command_line.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace pixdraft {

const char kWindowUsage[] =
    "Usage: pixdraft [OPTION]... [PICTURE]\n"
    "Opens the PixDraft window, with PICTURE loaded when one is named. \"Save to DXF\" writes\n"
    "the picture as a DXF drawing beside it, one filled square per pixel, between the templates\n"
    "pixdraft.dx1 and pixdraft.dx2: the current directory's when it holds both, else the\n"
    "installed ones.\n"
    "\n"
    "  -h, --help         show this help\n"
    "  -v, -V, --version  show the version\n"
    "\n"
    "Qt's own options, such as --platform NAME and --reverse, are taken as well.\n"
    "\n"
    "Exit status: 0 when the window was closed, 1 for a usage error or when no display could be\n"
    "opened.\n";

namespace {

// Qt's own options, which Qt takes with one dash or two: those that take the next argument as
// their value, and those that stand alone (or carry a value after "=").
constexpr std::string_view kQtOptionsWithValue[] = {"platform",
                                                    "platformpluginpath",
                                                    "platformtheme",
                                                    "plugin",
                                                    "qwindowgeometry",
                                                    "qwindowtitle",
                                                    "qwindowicon",
                                                    "session",
                                                    "display",
                                                    "geometry",
                                                    "title",
                                                    "icon",
                                                    "name",
                                                    "visual",
                                                    "ncols",
                                                    "style",
                                                    "stylesheet",
                                                    "im",
                                                    "inputstyle"};
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb",     "dograb",
                                         "sync",    "cmap",        "testability"};
constexpr std::string_view kQtOptionsWithEquals[] = {"style", "stylesheet", "qmljsdebugger"};

template <std::size_t N>
bool OneOf(std::string_view name, const std::string_view (&names)[N]) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

WindowCommandLine UsageError(std::string problem) {
  WindowCommandLine command;
  command.action = WindowCommandLine::Action::kUsageError;
  command.problem = std::move(problem);
  return command;
}

}  // namespace

WindowCommandLine ParseWindowArguments(int argc, char** argv) {
  WindowCommandLine command;
  int pictures = 0;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      if (pictures++ == 0) command.picture = std::string(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument == "-h" || argument == "--help") {
      command.action = WindowCommandLine::Action::kShowHelp;
      return command;
    }
    if (argument == "-v" || argument == "-V" || argument == "--version") {
      command.action = WindowCommandLine::Action::kShowVersion;
      return command;
    }
    const std::string_view name = argument.substr(argument[1] == '-' ? 2 : 1);
    const std::string_view beforeEquals = name.substr(0, name.find('='));
    if (OneOf(name, kQtOptionsWithValue)) {
      ++i;  // its value, whatever it looks like
    } else if (!OneOf(name, kQtFlags) &&
               !(name.find('=') != name.npos && OneOf(beforeEquals, kQtOptionsWithEquals))) {
      return UsageError("unknown option " + std::string(argument));
    }
  }
  if (pictures > 1) {
    return UsageError("the window opens one picture, not " + std::to_string(pictures));
  }
  return command;
}

std::optional<int> AnswerWithoutWindow(const WindowCommandLine& command, std::ostream& out,
                                       std::ostream& err) {
  switch (command.action) {
    case WindowCommandLine::Action::kShowHelp:
      out << kWindowUsage;
      return 0;
    case WindowCommandLine::Action::kShowVersion:
      out << "pixdraft " PIXDRAFT_VERSION "\n";
      return 0;
    case WindowCommandLine::Action::kUsageError:
      err << "pixdraft: " << command.problem << "\n"
          << "Try 'pixdraft --help' for more information.\n";
      return 1;
    case WindowCommandLine::Action::kOpenWindow:
      break;
  }
  return std::nullopt;
}

}  // namespace pixdraft

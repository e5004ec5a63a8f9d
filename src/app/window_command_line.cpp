#include "app/window_command_line.h"

#include <string_view>

namespace pixdraft {

const char kWindowUsage[] =
    "Usage: pixdraft [OPTION]... [PICTURE]\n"
    "Opens the PixDraft window, with PICTURE loaded when one is named. \"Save to DXF\" writes\n"
    "the picture as a DXF drawing beside it, one filled square per pixel, between the templates\n"
    "pixdraft.dx1 and pixdraft.dx2: the current directory's when it holds both, else the\n"
    "installed ones.\n"
    "\n"
    "  -h, --help     show this help\n"
    "  -v, --version  show the version\n"
    "\n"
    "Qt's own options, such as --platform NAME and --reverse, are taken as well.\n"
    "\n"
    "Exit status: 0 when the window was closed, 1 for an option that neither knows.\n";

std::optional<int> AnswerWithoutWindow(int argc, char** argv, std::ostream& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    if (argument == "-h" || argument == "--help") {
      out << kWindowUsage;
      return 0;
    }
    if (argument == "-v" || argument == "--version") {
      out << "pixdraft " PIXDRAFT_VERSION "\n";
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace pixdraft

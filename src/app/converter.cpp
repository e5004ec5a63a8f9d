#include "converter.h"

#include "error_text.h"
#include "picture_session.h"

namespace pixdraft {
namespace {

constexpr const char* kUsage =
    "Usage: pixdraft-convert [--templates DIR] PICTURE...\n"
    "Converts each PICTURE into a DXF drawing beside it: one filled square per pixel, the\n"
    "picture fitted into at most 256 x 256 pixels.\n"
    "\n"
    "  --templates DIR  read pixdraft.dx1 and pixdraft.dx2 from DIR (default: the current\n"
    "                   directory)\n"
    "  --help           show this help\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 when every picture was converted, 1 when any failed, 2 for a usage error.\n";

// The confirmation as the window shows it, with a plain line break for a terminal.
std::string ConsoleConfirmation(const std::string& dxfPath) {
  std::string text = ConfirmationText(dxfPath);
  if (const auto at = text.find('\r'); at != std::string::npos) text.erase(at, 1);
  return text;
}

}  // namespace

int RunConverter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TemplatePaths templates;
  std::vector<std::string> pictures;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      pictures.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help") {
      out << kUsage;
      return kAllConverted;
    } else if (arg == "--version") {
      out << "pixdraft-convert " PIXDRAFT_VERSION "\n";
      return kAllConverted;
    } else if (arg == "--templates" && i + 1 < args.size()) {
      const std::string& dir = args[++i];
      templates = {dir + "/pixdraft.dx1", dir + "/pixdraft.dx2"};
    } else {
      err << "pixdraft-convert: ";
      if (arg == "--templates") {
        err << "--templates needs a folder\n";
      } else {
        err << "unknown option " << arg << "\n";
      }
      err << kUsage;
      return kUsageError;
    }
  }
  if (pictures.empty()) {
    err << kUsage;
    return kUsageError;
  }

  int status = kAllConverted;
  for (const std::string& picture : pictures) {
    try {
      PictureSession session;
      session.Load(picture);
      out << ConsoleConfirmation(*session.SaveToDxf(templates)) << "\n";
    } catch (const std::exception& error) {
      err << picture << ": " << ErrorDisplayText(error) << "\n";
      status = kSomeFailed;
    }
  }
  return status;
}

}  // namespace pixdraft

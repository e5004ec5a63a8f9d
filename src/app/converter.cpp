#include "converter.h"

#include <sys/stat.h>

#include <map>
#include <utility>

#include "error_text.h"
#include "errors.h"
#include "picture_session.h"
#include "template_folder.h"

namespace pixdraft {
namespace {

constexpr const char* kUsage =
    "Usage: pixdraft-convert [--templates DIR] PICTURE...\n"
    "Converts each PICTURE into a DXF drawing beside it: one filled square per pixel, the\n"
    "picture fitted into at most 256 x 256 pixels.\n"
    "\n"
    "  --templates DIR  read pixdraft.dx1 and pixdraft.dx2 from DIR (default: the current\n"
    "                   directory when it holds both, else the installed ones)\n"
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

// The DXF files one run has written, so that a second picture of the run never replaces the
// drawing of the first (a.png and a.gif both make a.dxf), by whatever name it reaches it.
class WrittenDrawings {
 public:
  // Throws EFCreateError when `dxfPath` is a drawing this run has written.
  void CheckFree(const std::string& dxfPath) const {
    const auto named = byName_.find(FullPath(dxfPath));
    if (named != byName_.end()) throw Taken(dxfPath, named->second);
    struct stat info {};
    if (::stat(dxfPath.c_str(), &info) != 0) return;
    const auto same = byFile_.find({info.st_dev, info.st_ino});
    if (same != byFile_.end()) throw Taken(dxfPath, same->second);
  }

  void Add(const std::string& dxfPath, const std::string& picture) {
    byName_.emplace(FullPath(dxfPath), picture);
    struct stat info {};
    if (::stat(dxfPath.c_str(), &info) == 0)
      byFile_.emplace(std::pair{info.st_dev, info.st_ino}, picture);
  }

 private:
  static EFCreateError Taken(const std::string& dxfPath, const std::string& picture) {
    return EFCreateError(dxfPath, "Il vient d'être écrit pour \"" + picture + "\"");
  }

  std::map<std::string, std::string> byName_;
  std::map<std::pair<dev_t, ino_t>, std::string> byFile_;
};

}  // namespace

int RunConverter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TemplatePaths templates = DefaultTemplatePaths(ProgramFolder());
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
  WrittenDrawings written;
  for (const std::string& picture : pictures) {
    try {
      PictureSession session;
      session.Load(picture);
      written.CheckFree(DxfPathFor(session.CurrentImagePath()));
      const std::string dxfPath = *session.SaveToDxf(templates);
      written.Add(dxfPath, session.CurrentImagePath());
      out << ConsoleConfirmation(dxfPath) << "\n";
    } catch (const std::exception& error) {
      err << picture << ": " << ErrorDisplayText(error) << "\n";
      status = kSomeFailed;
    }
  }
  // What a script reads is part of the result: an output it cannot take is a failure too.
  if (!out.flush()) {
    err << "pixdraft-convert: standard output: " << ErrorDisplayText(EWriteError()) << "\n";
    status = kSomeFailed;
  }
  return status;
}

}  // namespace pixdraft

#include "app/converter.h"

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "app/converter_arguments.h"
#include "app/standard_input.h"
#include "app/template_folder.h"
#include "base/error_text.h"
#include "base/errors.h"
#include "base/readable_file.h"
#include "base/safe_file_writer.h"
#include "base/text_encoding.h"
#include "colour/palette.h"
#include "conversion/drawing_choice.h"
#include "conversion/picture_session.h"
#include "platform/file_identity.h"
#include "platform/platform.h"

namespace pixdraft {
namespace {

// The line that confirms a drawing written: the window's words, the path on a line of its own.
std::string ConsoleConfirmation(const std::string& dxfPath) {
  return "DXF File saved to : \n" + dxfPath;
}

// The DXF files one run has written, so that a second picture of the run never replaces the
// drawing of the first (a.png and a.gif both make a.dxf), by whatever name it reaches it.
class WrittenDrawings {
 public:
  // Throws EFCreateError when `dxfPath` is a drawing this run has written.
  void CheckFree(const std::string& dxfPath) const {
    const auto same = byFile_.find(platform::FileIdentity(dxfPath));
    if (same != byFile_.end()) {
      throw EFCreateError(dxfPath, "Il vient d'être écrit pour \"" + same->second + "\"");
    }
  }

  void Add(const std::string& dxfPath, const std::string& picture) {
    byFile_.emplace(platform::FileIdentity(dxfPath), picture);
  }

 private:
  std::map<std::string, std::string> byFile_;
};

// A file of the run, by its role and as the command line names it.
struct RunFile {
  const char* role;
  std::string name;
  bool besidePicture = false;  // a drawing named after its picture, not by --output
};

// The problem when a file to be written is one to be read or another one to be written, by
// whatever links or names: nothing is decoded or written then. Drawings named after their
// pictures may meet each other: the second is refused when its turn comes (WrittenDrawings).
std::optional<std::string> Collision(const ConverterArguments& arguments,
                                     const TemplatePaths& templates) {
  std::vector<RunFile> files;
  for (const std::string& picture : arguments.pictures) {
    if (picture != "-") files.push_back({"the picture", picture});
  }
  if (arguments.palette) files.push_back({"the palette", *arguments.palette});
  files.push_back({"the header template", templates.header});
  files.push_back({"the footer template", templates.footer});
  const std::size_t inputs = files.size();
  if (!arguments.output) {
    for (const std::string& picture : arguments.pictures) {
      if (picture != "-") files.push_back({"the drawing", DxfPathFor(picture), true});
    }
  } else if (*arguments.output != "-") {
    files.push_back({"the drawing", *arguments.output});
  }
  if (arguments.counts && *arguments.counts != "-") {
    files.push_back({"the counts file", *arguments.counts});
  }

  std::map<std::string, const RunFile*> seen;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const RunFile& file = files[i];
    const auto [earlier, first] = seen.emplace(platform::FileIdentity(file.name), &file);
    if (first || i < inputs || (file.besidePicture && earlier->second->besidePicture)) continue;
    return std::string(file.role) + " \"" + file.name + "\" is " + earlier->second->role + " \"" +
           earlier->second->name + "\"";
  }
  return std::nullopt;
}

// Throws as a save of `fileName` would, before the work: the file staged for it goes unused.
void CheckWritable(const std::string& fileName) { const SafeFileWriter probe(fileName); }

// Whether the header template begins with a UTF-16 byte-order mark: its drawings are then
// UTF-16 too, which no DXF reader we know opens. A template that cannot be read is no UTF-16
// one: the conversion itself reports why.
bool IsUtf16Template(const std::string& path) {
  try {
    const ReadableFile file(path);
    char start[2] = {};
    const std::string_view bytes(start, ReadAt(file, start, sizeof start, 0));
    return bytes == Preamble(TextEncoding::Utf16LE) || bytes == Preamble(TextEncoding::Utf16BE);
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

int RunConverter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto usageError = [&](const std::string& problem) {
    err << "pixdraft-convert: " << problem << "\n"
        << "Try 'pixdraft-convert --help' for more information.\n";
    return kUsageError;
  };
  const ParsedCommandLine parsed = ParseConverterArguments(args);
  switch (parsed.action) {
    case ParsedCommandLine::Action::ShowHelp:
      out << ConverterUsage();
      return kAllConverted;
    case ParsedCommandLine::Action::ShowVersion:
      out << "pixdraft-convert " PIXDRAFT_VERSION "\n";
      return kAllConverted;
    case ParsedCommandLine::Action::UsageError:
      return usageError(parsed.problem);
    case ParsedCommandLine::Action::Convert:
      break;
  }
  ConverterArguments arguments = parsed.arguments;
  TemplatePaths templates = DefaultTemplatePaths(platform::ProgramFolder());
  if (arguments.templatesDir) {
    const std::string& dir = *arguments.templatesDir;
    templates = {dir + "/pixdraft.dx1", dir + "/pixdraft.dx2"};
  }
  if (const auto& word = arguments.mergeValueAsPicture) {
    platform::FileInfo info;
    if (platform::Inspect(*word, info) == platform::kNotFound) {
      return usageError("there is no picture \"" + *word + "\": did you mean --merge=" + *word +
                        "?");
    }
  }
  if (const auto collision = Collision(arguments, templates)) return usageError(*collision);
  if (arguments.palette) {
    try {
      UsePalette(*arguments.palette, arguments.options);
    } catch (const std::exception& error) {
      const bool ofFile = dynamic_cast<const EPaletteError*>(&error) == nullptr;
      return usageError(ofFile ? "--palette: " + ErrorDisplayText(error) : error.what());
    }
  }
  // The counts' lines are all that goes to standard output when they go there, the drawing's
  // bytes all when it does: confirmations of other files then go to standard error.
  const bool quiet = arguments.quiet || arguments.counts == "-";
  std::ostream& confirmations = arguments.output == "-" ? err : out;

  if (IsUtf16Template(templates.header)) {
    err << "pixdraft-convert: warning: the header template " << templates.header
        << " is UTF-16, so the drawings are too; most DXF readers cannot open them\n";
  }

  int status = kAllConverted;
  WrittenDrawings written;
  for (const std::string& picture : arguments.pictures) {
    const bool fromInput = picture == "-";
    try {
      // Every file is checked before the picture is decoded, which may take long: the picture
      // can be read, and the drawing and the counts can be written. The counts are staged from
      // here on, so that a failed drawing leaves no counts.
      if (!fromInput) const ReadableFile readable(picture);
      if (!arguments.output) {
        const std::string dxfPath = DxfPathFor(AbsolutePath(picture));
        written.CheckFree(dxfPath);
        CheckWritable(dxfPath);
      } else if (*arguments.output != "-") {
        CheckWritable(*arguments.output);
      }
      std::unique_ptr<SafeFileWriter> countsFile;
      if (arguments.counts && *arguments.counts != "-") {
        countsFile = std::make_unique<SafeFileWriter>(*arguments.counts);
      }

      PictureSession session(arguments.options);
      if (fromInput) {
        const SpooledInput input(stdin);
        session.Load(input.path());
      } else {
        session.Load(picture);
      }
      // The counts are made before the drawing is written: a picture they refuse leaves no
      // drawing.
      const std::string counts =
          arguments.counts ? CountsCsv(session.raster(), arguments.options.drawing) : std::string();
      if (countsFile) countsFile->Write(counts);
      if (arguments.output == "-") {
        // Streamed as it is made; the drawing itself is all that goes to standard output.
        StreamSink sink(out);
        session.WriteDxf(sink, templates);
      } else {
        const std::string dxfPath = *session.SaveToDxf(templates, arguments.output);
        if (!arguments.output) written.Add(dxfPath, session.CurrentImagePath());
        if (!quiet) out << ConsoleConfirmation(dxfPath) << "\n";
      }
      if (countsFile) {
        countsFile->Commit();
        if (!quiet) {
          confirmations << "Counts saved to : \n" << AbsolutePath(*arguments.counts) << "\n";
        }
      } else if (arguments.counts) {
        out << counts;
      }
    } catch (const std::exception& error) {
      err << "pixdraft-convert: " << (fromInput ? "standard input" : picture) << ": "
          << ErrorDisplayText(error) << "\n";
      status = kSomeFailed;
    }
  }
  // What a script reads is part of the result: an output it cannot take is a failure too, said
  // once (a drawing streamed there has said it already).
  const bool alreadySaid = arguments.output == "-" && !out;
  if (!out.flush() && !alreadySaid) {
    err << "pixdraft-convert: standard output: " << ErrorDisplayText(EWriteError()) << "\n";
    status = kSomeFailed;
  }
  return status;
}

}  // namespace pixdraft

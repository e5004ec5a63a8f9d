#include "converter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <utility>

#include "colour_counts.h"
#include "converter_arguments.h"
#include "error_text.h"
#include "errors.h"
#include "palette.h"
#include "picture_session.h"
#include "readable_file.h"
#include "safe_file_writer.h"
#include "standard_input.h"
#include "template_folder.h"
#include "text_encoding.h"

namespace pixdraft {
namespace {

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

// The palette file's colours into the options: the colours to draw with, and the names of their
// layers.
void UsePalette(const std::string& fileName, ConversionOptions& options) {
  for (NamedColour& entry : LoadPalette(fileName)) {
    options.reduction.palette.push_back(entry.colour);
    if (!entry.name.empty()) options.drawing.colourNames.push_back(std::move(entry));
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
      out << kConverterUsage;
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
  if (arguments.palette) {
    try {
      UsePalette(*arguments.palette, arguments.options);
    } catch (const std::exception& error) {
      const bool ofFile = dynamic_cast<const EPaletteError*>(&error) == nullptr;
      return usageError(ofFile ? "--palette: " + ErrorDisplayText(error) : error.what());
    }
  }
  const DrawingOptions& drawing = arguments.options.drawing;
  // The counts' lines are all that goes to standard output when they go there.
  const bool quiet = arguments.quiet || arguments.counts == "-";
  TemplatePaths templates = DefaultTemplatePaths(ProgramFolder());
  if (arguments.templatesDir) {
    const std::string& dir = *arguments.templatesDir;
    templates = {dir + "/pixdraft.dx1", dir + "/pixdraft.dx2"};
  }

  if (IsUtf16Template(templates.header)) {
    err << "pixdraft-convert: warning: the header template " << templates.header
        << " is UTF-16, so the drawings are too; most DXF readers cannot open them\n";
  }

  int status = kAllConverted;
  WrittenDrawings written;
  for (const std::string& picture : arguments.pictures) {
    const bool fromInput = picture == "-";
    try {
      PictureSession session(arguments.options);
      if (fromInput) {
        const SpooledInput input(STDIN_FILENO);
        session.Load(input.path());
      } else {
        session.Load(picture);
      }
      // The counts are made, and their file staged, before the drawing is written: a picture
      // they refuse leaves no drawing, and a failed drawing leaves no counts.
      std::unique_ptr<SafeFileWriter> countsFile;
      std::string counts;
      if (arguments.counts) {
        StringSink csv;
        WriteCountsCsv(csv, CountColours(session.raster(), drawing), drawing);
        counts = std::move(csv.data);
        if (arguments.counts != "-") {
          countsFile = std::make_unique<SafeFileWriter>(*arguments.counts);
          countsFile->Write(counts);
        }
      }
      if (arguments.output == "-") {
        // Streamed as it is made; the drawing itself is all that goes to standard output.
        StreamSink sink(out);
        ExportDxfTo(sink, session.raster(), templates, drawing);
      } else if (arguments.output) {
        ExportDxfAs(session.raster(), session.CurrentImagePath(), *arguments.output, templates,
                    drawing);
        // Absolute, as the confirmation names drawings, but not normalised: it names what was
        // written.
        if (!quiet) out << ConsoleConfirmation(AbsolutePath(*arguments.output)) << "\n";
      } else {
        written.CheckFree(DxfPathFor(session.CurrentImagePath()));
        const std::string dxfPath = *session.SaveToDxf(templates);
        written.Add(dxfPath, session.CurrentImagePath());
        if (!quiet) out << ConsoleConfirmation(dxfPath) << "\n";
      }
      if (countsFile) {
        countsFile->Commit();
        if (!quiet) out << "Counts saved to : \n" << AbsolutePath(*arguments.counts) << "\n";
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

#include "app/converter.h"

#include <cstdio>
#include <map>
#include <sstream>
#include <memory>
#include <utility>

#include "app/converter_arguments.h"
#include "app/standard_input.h"
#include "app/template_folder.h"
#include "base/error_text.h"
#include "base/errors.h"
#include "base/readable_file.h"
#include "base/safe_file_writer.h"
#include "base/text_encoding.h"
#include "dxf/colour_counts.h"
#include "dxf/palette.h"
#include "picture/picture_session.h"
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
    const auto named = byName_.find(FullPath(dxfPath));
    if (named != byName_.end()) throw Taken(dxfPath, named->second);
    platform::FileInfo info;
    if (platform::Inspect(dxfPath, info) != 0) return;
    const auto same = byFile_.find({info.device, info.inode});
    if (same != byFile_.end()) throw Taken(dxfPath, same->second);
  }

  void Add(const std::string& dxfPath, const std::string& picture) {
    byName_.emplace(FullPath(dxfPath), picture);
    platform::FileInfo info;
    if (platform::Inspect(dxfPath, info) == 0)
      byFile_.emplace(std::pair{info.device, info.inode}, picture);
  }

 private:
  static EFCreateError Taken(const std::string& dxfPath, const std::string& picture) {
    return EFCreateError(dxfPath, "Il vient d'être écrit pour \"" + picture + "\"");
  }

  std::map<std::string, std::string> byName_;
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> byFile_;
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
        const SpooledInput input(stdin);
        session.Load(input.path());
      } else {
        session.Load(picture);
      }
      // The counts are made, and their file staged, before the drawing is written: a picture
      // they refuse leaves no drawing, and a failed drawing leaves no counts.
      std::unique_ptr<SafeFileWriter> countsFile;
      std::string counts;
      if (arguments.counts) {
        std::ostringstream csv;
        StreamSink sink(csv);
        WriteCountsCsv(sink, CountColours(session.raster(), drawing), drawing);
        counts = std::move(csv).str();
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

#include "dxf_export.h"

#include <sys/stat.h>

#include <optional>
#include <vector>

#include "errors.h"
#include "handle_seed.h"
#include "safe_file_writer.h"
#include "square_walk.h"
#include "trace_record.h"
#include "trace_record_writer.h"

namespace pixdraft {
namespace {

// Records are flushed to the sink in chunks of about this many bytes.
constexpr std::size_t kChunkBytes = 1 << 20;

// True when both names lead to the same file, or would once it exists.
bool SameFile(const std::string& a, const std::string& b) {
  if (FullPath(a) == FullPath(b)) return true;
  struct stat first {
  }, second{};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

struct Templates {
  TStringList header, footer;
};

// The header, then the footer: a missing header is reported before the footer is looked at.
Templates LoadTemplates(const TemplatePaths& paths) {
  Templates templates;
  templates.header.LoadFromFile(paths.header);
  templates.footer.LoadFromFile(paths.footer);
  return templates;
}

}  // namespace

std::string DxfPathFor(const std::string& picturePath) {
  const std::size_t delimiter = picturePath.find_last_of("./");
  const bool hasExtension = delimiter != std::string::npos && picturePath[delimiter] == '.';
  return picturePath.substr(0, hasExtension ? delimiter : picturePath.size()) + ".dxf";
}

void WriteDxfDocument(ByteSink& sink, const TStringList& header, const Raster& raster,
                      const TStringList& footer, const DrawingOptions& options) {
  // Counting the squares costs a walk, needed only when as many as there are pixels could pass
  // the seed.
  std::optional<TStringList> seeded;
  if (const auto seed = FindHandleSeed(header)) {
    const auto pixels = std::uint64_t(raster.width) * std::uint64_t(raster.height);
    if (pixels > 0 && kFirstTraceHandle + pixels - 1 >= seed->value) {
      const std::uint64_t squares = SquareWalk::Count(raster, options);
      if (squares > 0 && kFirstTraceHandle + squares - 1 >= seed->value) {
        seeded = WithHandleSeed(header, *seed, std::uint32_t(kFirstTraceHandle + squares));
      }
    }
  }

  const TextEncoding encoding = header.SaveEncoding();
  if (header.WriteBOM) sink.Write(Preamble(encoding));
  (seeded ? *seeded : header).WriteLines(sink, encoding, header.LineBreak);

  // Records are ASCII: built as such, then encoded a chunk at a time.
  const TraceRecordWriter writer(std::string(header.LineBreak.begin(), header.LineBreak.end()));
  std::string ascii(kChunkBytes + writer.MaxRecordSize(), '\0');
  std::string encoded;
  char* end = ascii.data();
  const auto flush = [&] {
    const std::string_view chunk(ascii.data(), end - ascii.data());
    if (IsAsciiCompatible(encoding)) {
      sink.Write(chunk);
    } else {
      encoded.clear();
      AppendAscii(chunk, encoding, encoded);
      sink.Write(encoded);
    }
    end = ascii.data();
  };

  // Squares start and end on the lines between pixels: format each line once. Column line i
  // lies at x = i, row line j at y = 1 - j, so row y spans row lines y + 1 (bottom) to y (top).
  std::vector<FieldText> columnLines, rowLines;
  for (int i = 0; i <= raster.width; ++i) columnLines.push_back(options.pixelSize.Coordinate(i));
  for (int j = 0; j <= raster.height; ++j) {
    rowLines.push_back(options.pixelSize.Coordinate(1 - std::int64_t{j}));
  }
  TraceFieldTexts texts;
  std::int32_t counter = kFirstTraceHandle;
  for (SquareWalk walk(raster, options); !walk.Done();) {
    for (const Square& square : walk.NextColumn()) {
      texts[int(TraceField::Handle)] = HandleField(counter++);
      texts[int(TraceField::Colour)] = TrueColourText(square.colour);
      texts[int(TraceField::Left)] = columnLines[square.x];
      texts[int(TraceField::Right)] = columnLines[square.x + square.width];
      texts[int(TraceField::Bottom)] = rowLines[square.y + square.height];
      texts[int(TraceField::Top)] = rowLines[square.y];
      end = writer.Write(end, texts);
      if (end - ascii.data() >= static_cast<std::ptrdiff_t>(kChunkBytes)) flush();
    }
  }
  flush();

  footer.WriteLines(sink, encoding, header.LineBreak);
}

std::string ExportDxf(const Raster& raster, const std::string& picturePath,
                      const TemplatePaths& templates, const DrawingOptions& options) {
  const std::string dxfPath = DxfPathFor(picturePath);
  ExportDxfAs(raster, picturePath, dxfPath, templates, options);
  return dxfPath;
}

void ExportDxfAs(const Raster& raster, const std::string& picturePath, const std::string& dxfPath,
                 const TemplatePaths& templates, const DrawingOptions& options) {
  const Templates loaded = LoadTemplates(templates);
  if (SameFile(dxfPath, picturePath)) {
    throw EFCreateError(dxfPath, kWouldReplaceThePicture);
  }
  SafeFileWriter writer(dxfPath);
  WriteDxfDocument(writer, loaded.header, raster, loaded.footer, options);
  writer.Commit();
}

void ExportDxfTo(ByteSink& sink, const Raster& raster, const TemplatePaths& templates,
                 const DrawingOptions& options) {
  const Templates loaded = LoadTemplates(templates);
  WriteDxfDocument(sink, loaded.header, raster, loaded.footer, options);
}

std::string ConfirmationText(const std::string& dxfPath) {
  return "DXF File saved to : \r\n" + dxfPath;
}

}  // namespace pixdraft

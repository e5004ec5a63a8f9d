#include "dxf_export.h"

#include <sys/stat.h>

#include <vector>

#include "errors.h"
#include "safe_file_writer.h"
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

}  // namespace

std::string DxfPathFor(const std::string& picturePath) {
  const std::size_t delimiter = picturePath.find_last_of("./");
  const bool hasExtension = delimiter != std::string::npos && picturePath[delimiter] == '.';
  return picturePath.substr(0, hasExtension ? delimiter : picturePath.size()) + ".dxf";
}

void WriteDxfDocument(ByteSink& sink, const TStringList& header, const Raster& raster,
                      const TStringList& footer) {
  const TextEncoding encoding = header.SaveEncoding();
  if (header.WriteBOM) sink.Write(Preamble(encoding));
  header.WriteLines(sink, encoding, header.LineBreak);

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

  // Coordinates depend on the row or the column alone: format each once.
  std::vector<FieldText> bottoms, tops;
  for (int y = 0; y < raster.height; ++y) {
    bottoms.push_back(CoordinateText(-std::int64_t{y}));
    tops.push_back(CoordinateText(1 - std::int64_t{y}));
  }
  TraceFieldTexts texts;
  std::int32_t counter = kFirstTraceHandle;
  for (int x = raster.width - 1; x >= 0; --x) {
    texts[int(TraceField::Left)] = CoordinateText(x);
    texts[int(TraceField::Right)] = CoordinateText(std::int64_t{x} + 1);
    for (int y = 0; y < raster.height; ++y) {
      texts[int(TraceField::Handle)] = HandleField(counter++);
      texts[int(TraceField::Colour)] = TrueColourText(raster.Pixel(x, y));
      texts[int(TraceField::Bottom)] = bottoms[y];
      texts[int(TraceField::Top)] = tops[y];
      end = writer.Write(end, texts);
      if (end - ascii.data() >= static_cast<std::ptrdiff_t>(kChunkBytes)) flush();
    }
  }
  flush();

  footer.WriteLines(sink, encoding, header.LineBreak);
}

std::string ExportDxf(const Raster& raster, const std::string& picturePath,
                      const TemplatePaths& templates) {
  TStringList header;
  header.LoadFromFile(templates.header);
  TStringList footer;
  footer.LoadFromFile(templates.footer);

  const std::string dxfPath = DxfPathFor(picturePath);
  if (SameFile(dxfPath, picturePath)) {
    throw EFCreateError(dxfPath, kWouldReplaceThePicture);
  }
  SafeFileWriter writer(dxfPath);
  WriteDxfDocument(writer, header, raster, footer);
  writer.Commit();
  return dxfPath;
}

std::string ConfirmationText(const std::string& dxfPath) {
  return "DXF File saved to : \r\n" + dxfPath;
}

}  // namespace pixdraft

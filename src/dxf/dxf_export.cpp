#include "dxf/dxf_export.h"

#include <optional>

#include "base/errors.h"
#include "base/safe_file_writer.h"
#include "dxf/chunked_text.h"
#include "dxf/colour_index.h"
#include "dxf/drawing_header.h"
#include "dxf/drawing_survey.h"
#include "dxf/grid_lines.h"
#include "dxf/handle_seed.h"
#include "dxf/layer_names.h"
#include "dxf/layer_table.h"
#include "dxf/shape_record_writer.h"
#include "dxf/trace_record.h"
#include "dxf/trace_record_writer.h"
#include "platform/file_identity.h"
#include "shapes/shape_walk.h"
#include "shapes/square_walk.h"

namespace pixdraft {
namespace {

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

// Squares as TRACE or SOLID records: their fixed lines are joined once, so a record costs a few
// block copies.
void WriteSquares(ByteSink& sink, TextEncoding encoding, const std::string& lineBreak,
                  const Raster& raster, const DrawingOptions& options, const GridLines& grid,
                  const LayerNames& layerNames, std::int32_t handle) {
  const TraceRecordWriter writer(lineBreak, TraceRecordLines(options.entity == EntityKind::Solid,
                                                             options.colourIndex, options.layers));
  ChunkedText text(sink, encoding, writer.MaxRecordSize());
  ColourIndexCache indices;
  TraceFieldTexts texts;
  for (SquareWalk walk(raster, options.merge == Merge::Rectangles); !walk.Done();) {
    for (const Square& square : walk.NextColumn()) {
      texts[int(TraceField::Handle)] = HandleField(handle++);
      texts[int(TraceField::Colour)] = TrueColourText(square.colour);
      if (options.colourIndex)
        texts[int(TraceField::ColourIndex)] = NumberField(indices(square.colour));
      if (options.layers) texts[int(TraceField::Layer)] = layerNames(square.colour);
      texts[int(TraceField::Left)] = grid.ColumnText(square.x);
      texts[int(TraceField::Right)] = grid.ColumnText(square.x + square.width);
      texts[int(TraceField::Bottom)] = grid.RowText(square.y + square.height);
      texts[int(TraceField::Top)] = grid.RowText(square.y);
      text.Advance(writer.AppendTraceRecord(text.End(), texts));
    }
  }
  text.Flush();
}

// Squares or regions as HATCH or LWPOLYLINE records.
void WriteShapes(ByteSink& sink, TextEncoding encoding, const std::string& lineBreak,
                 const Raster& raster, const DrawingOptions& options, const GridLines& grid,
                 const LayerNames& layerNames, std::int32_t handle) {
  ShapeRecordWriter writer(lineBreak, options.entity, options.colourIndex, options.layers,
                           layerNames);
  ShapeRecordWriter outliner(lineBreak, EntityKind::Polyline, options.colourIndex, options.layers,
                             layerNames);
  ChunkedText text(sink, encoding, std::max(writer.Room(), outliner.Room()));
  ForEachShape(raster, options.merge, options.partCorners, [&](const Shape& shape) {
    handle = writer.Write(text, shape, grid, handle);
    if (options.outlines) handle = outliner.Write(text, shape, grid, handle);
  });
  text.Flush();
}

}  // namespace

std::string DxfPathFor(const std::string& picturePath) {
  const std::size_t delimiter = picturePath.find_last_of("./");
  const bool hasExtension = delimiter != std::string::npos && picturePath[delimiter] == '.';
  return picturePath.substr(0, hasExtension ? delimiter : picturePath.size()) + ".dxf";
}

void WriteDxfDocument(ByteSink& sink, const TStringList& header, const Raster& raster,
                      const TStringList& footer, const DrawingOptions& options) {
  // Everything that can refuse the drawing comes before its first byte.
  CheckDrawingOptions(options);
  const DrawingSurvey survey = SurveyDrawing(raster, options);
  const std::uint64_t layers = options.layers ? survey.colours.size() : 0;

  // Layers take the first handles, entities the next ones; no walk gives more entities than
  // there are drawn pixels. Merged squares are counted, which costs a walk; regions would cost
  // a second walk of their own, so their seed is set past the most they could use. Outlines
  // double the entities: a shape never has more loops than pixels.
  std::optional<HandleSeed> seed = FindHandleSeed(header);
  if (seed) {
    const std::uint64_t perShape = options.outlines ? 2 : 1;
    const std::uint64_t most = layers + survey.drawnPixels * perShape;
    std::uint64_t handles = 0;
    if (most > 0 && kFirstTraceHandle + most - 1 >= seed->value) {
      handles = options.merge == Merge::Rectangles
                    ? layers + SquareWalk::Count(raster, true) * perShape
                    : most;
    }
    if (handles > 0 && kFirstTraceHandle + handles - 1 >= seed->value) {
      seed->value = kFirstTraceHandle + handles;
    } else {
      seed.reset();
    }
  }

  const GridLines grid(raster, options);
  const LayerNames& layerNames = options.layerNames;
  const std::optional<TStringList> changed =
      DrawingHeader(header, options, raster, survey, grid, layerNames, kFirstTraceHandle, seed);
  (changed ? *changed : header).SaveToFile(sink);  // the changed copy keeps its encoding
  const TextEncoding encoding = header.SaveEncoding();

  const std::string lineBreak(header.LineBreak.begin(), header.LineBreak.end());
  const auto firstHandle = std::int32_t(kFirstTraceHandle + layers);
  if (options.entity == EntityKind::Trace || options.entity == EntityKind::Solid) {
    WriteSquares(sink, encoding, lineBreak, raster, options, grid, layerNames, firstHandle);
  } else {
    WriteShapes(sink, encoding, lineBreak, raster, options, grid, layerNames, firstHandle);
  }

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
  if (platform::SameFile(dxfPath, picturePath)) {
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

}  // namespace pixdraft

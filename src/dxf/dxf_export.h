// The "Save to DXF" operation: the working raster as a DXF drawing beside its picture, between
// a header and a footer template.
#pragma once

#include <string>

#include "base/byte_sink.h"
#include "base/string_list.h"
#include "colour/raster.h"
#include "dxf/drawing_options.h"

namespace pixdraft {

// The templates are data supplied beside the program. Relative names are looked for in the
// current directory at the moment of the export.
struct TemplatePaths {
  std::string header = "pixdraft.dx1";
  std::string footer = "pixdraft.dx2";
};

// The first handle of an export's records; the templates' own handles stay below it.
constexpr std::int32_t kFirstTraceHandle = 300;

// `picturePath` with its extension replaced by ".dxf": everything from the last "." on is cut,
// unless a "/" comes after it. /pics/cat.tar.gz -> /pics/cat.tar.dxf.
std::string DxfPathFor(const std::string& picturePath);

// Writes the header lines, one entity per square of `raster` (square_walk.h: by default one
// TRACE per pixel, columns from the right, each from the top down) or per region
// (region_walk.h), then the footer lines, all in the header's encoding and line break. Handles
// count up from kFirstTraceHandle, the layers' first (layer_table.h). Coordinates are those of
// the squares' or regions' corners, times the pixel size, from the chosen origin. The header is
// written as it is unless the options change it (drawing_header.h); should the last handle
// reach its $HANDSEED, the seed written is the handle after it (after one per drawn pixel for
// regions). The records are encoded and written in chunks rather than held as lines, so memory
// stays small whatever the raster. Only kNoSquare is left out: the options' left-out colours and
// background must be applied to the raster before (ReduceColours, LeaveOutBackground). Throws,
// before writing anything, ETooManyColours when one layer per colour is asked of more colours
// than kMaxLayers, and EDrawingOptions when DrawingOptionsProblem finds one.
void WriteDxfDocument(ByteSink& sink, const TStringList& header, const Raster& raster,
                      const TStringList& footer, const DrawingOptions& options = {});

// Loads the templates, writes the DXF beside `picturePath` and returns its path. An existing
// file is replaced only once the new one is complete, and never when it is the picture itself.
// Throws EFOpenError / EEncodingError for the templates, EFCreateError and EWriteError for the
// output.
std::string ExportDxf(const Raster& raster, const std::string& picturePath,
                      const TemplatePaths& templates = {}, const DrawingOptions& options = {});

// As ExportDxf, into `dxfPath` instead of beside the picture, with the same guarantees.
void ExportDxfAs(const Raster& raster, const std::string& picturePath, const std::string& dxfPath,
                 const TemplatePaths& templates = {}, const DrawingOptions& options = {});

// Loads the templates, then writes the DXF into `sink` as it is made, for a pipe. Throws as
// ExportDxf; nothing reaches the sink when a template fails.
void ExportDxfTo(ByteSink& sink, const Raster& raster, const TemplatePaths& templates = {},
                 const DrawingOptions& options = {});

}  // namespace pixdraft

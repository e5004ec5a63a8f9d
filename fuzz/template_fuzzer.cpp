// Feeds arbitrary bytes through template loading (preamble detection, decoding, line splitting)
// and saving. Whatever loads must save and load again to the same lines, and must serve as the
// header and footer of an export.
#include <cstdint>
#include <cstdlib>

#include "base/errors.h"
#include "base/string_list.h"
#include "dxf/dxf_export.h"
#include "sinks.h"

using namespace pixdraft;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TStringList list;
  try {
    list.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EEncodingError&) {
    return 0;
  }

  StringSink saved;
  list.SaveToFile(saved);
  TStringList again;
  again.LoadFromBytes(saved.data);
  if (again.Count() != list.Count() || again.Encoding != list.Encoding) std::abort();
  for (int i = 0; i < list.Count(); ++i) {
    if (again[i] != list[i]) std::abort();
  }

  StringSink document;
  Raster raster(2, 1);
  WriteDxfDocument(document, list, raster, list);
  // The document opens with exactly the bytes the header list saves.
  if (document.data.compare(0, saved.data.size(), saved.data) != 0) std::abort();

  // With merged squares, whatever $HANDSEED the header holds, if any, may be renamed.
  StringSink merged;
  DrawingOptions merge;
  merge.merge = Merge::Rectangles;
  WriteDxfDocument(merged, list, raster, list, merge);

  // Every option that edits the header (layers, units, extents and view, the seed) and writes
  // outlines, on whatever tables and variables the template seems to have.
  DrawingOptions edits;
  edits.entity = size % 2 ? EntityKind::Hatch : EntityKind::Polyline;
  edits.merge = Merge::Regions;
  edits.layers = edits.colourIndex = true;
  edits.units = ParseUnit("in");
  edits.origin = Origin::BottomLeft;
  edits.pixelSize = *PixelSize::Parse("0.25");
  StringSink edited;
  WriteDxfDocument(edited, list, raster, list, edits);
  return 0;
}

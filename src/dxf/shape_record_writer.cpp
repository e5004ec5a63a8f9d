#include "shape_record_writer.h"

#include <charconv>
#include <cstring>

#include "layer_table.h"
#include "trace_record.h"

namespace pixdraft {
namespace {

std::string_view Number(char (&buffer)[24], std::uint64_t value) {
  return {buffer, std::size_t(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer)};
}

}  // namespace

ShapeRecordWriter::ShapeRecordWriter(std::string_view lineBreak, EntityKind kind, bool colourIndex,
                                     bool layers)
    : lineBreak_(lineBreak), kind_(kind), colourIndex_(colourIndex), layers_(layers) {}

char* ShapeRecordWriter::Line(char* out, std::string_view text) const {
  std::memcpy(out, text.data(), text.size());
  out += text.size();
  std::memcpy(out, lineBreak_.data(), lineBreak_.size());
  return out + lineBreak_.size();
}

char* ShapeRecordWriter::Lines(char* out, std::string_view literal) const {
  for (std::size_t at = 0; at <= literal.size();) {
    const std::size_t end = std::min(literal.find('\n', at), literal.size());
    out = Line(out, literal.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

// The groups every entity begins with, up to its own subclass marker.
char* ShapeRecordWriter::Head(char* out, std::string_view type, std::int32_t handle,
                              TColor colour) {
  out = Line(Line(out, "  0"), type);
  out = Line(Line(out, "  5"), HandleField(handle).view());
  out = Lines(out, "100\nAcDbEntity\n  8");
  out = Line(out, layers_ ? LayerName(colour).view() : "0");
  if (colourIndex_) {
    char buffer[24];
    out = Line(Line(out, " 62"), Number(buffer, std::uint64_t(indices_(colour))));
  }
  return Line(Line(out, "420"), TrueColourText(colour).view());
}

char* ShapeRecordWriter::Corners(ChunkedText& text, std::span<const Corner> loop,
                                 const GridLines& grid) const {
  char* out = text.End();
  for (const Corner& corner : loop) {
    out = Line(Line(out, " 10"), grid.ColumnText(corner.x).view());
    out = Line(Line(out, " 20"), grid.RowText(corner.y).view());
    text.Advance(out);
    out = text.End();
  }
  return out;
}

std::int32_t ShapeRecordWriter::Write(ChunkedText& text, const Shape& shape, const GridLines& grid,
                                      std::int32_t handle) {
  char buffer[24];
  if (kind_ == EntityKind::Polyline) {
    for (std::size_t i = 0; i < shape.LoopCount(); ++i) {
      const auto loop = shape.Loop(i);
      char* out = Head(text.End(), "LWPOLYLINE", handle++, shape.colour);
      out = Line(Lines(out, "100\nAcDbPolyline\n 90"), Number(buffer, loop.size()));
      text.Advance(Lines(out, " 70\n1"));
      text.Advance(Corners(text, loop, grid));
    }
    return handle;
  }

  char* out = Head(text.End(), "HATCH", handle++, shape.colour);
  out = Lines(out,
              "100\nAcDbHatch\n 10\n0.0\n 20\n0.0\n 30\n0.0\n210\n0.0\n220\n0.0\n230\n1.0\n"
              "  2\nSOLID\n 70\n1\n 71\n0\n 91");
  text.Advance(Line(out, Number(buffer, shape.LoopCount())));
  for (std::size_t i = 0; i < shape.LoopCount(); ++i) {
    const auto loop = shape.Loop(i);
    // Path flags: 2 a polyline, 1 the external one.
    out = Lines(text.End(), i == 0 ? " 92\n3\n 72\n0\n 73\n1\n 93" : " 92\n2\n 72\n0\n 73\n1\n 93");
    text.Advance(Line(out, Number(buffer, loop.size())));
    text.Advance(Lines(Corners(text, loop, grid), " 97\n0"));
  }
  // Odd parity fill, a predefined pattern (SOLID), no seed points.
  text.Advance(Lines(text.End(), " 75\n0\n 76\n1\n 98\n0"));
  return handle;
}

}  // namespace pixdraft

#include "shape_record_writer.h"

#include <charconv>
#include <cstring>

#include "layer_table.h"
#include "trace_record.h"

namespace pixdraft {
namespace {

char* Put(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

char* PutNumber(char* out, std::uint64_t value) { return std::to_chars(out, out + 24, value).ptr; }

}  // namespace

ShapeRecordWriter::ShapeRecordWriter(std::string_view lineBreak, EntityKind kind, bool colourIndex,
                                     bool layers)
    : lineBreak_(lineBreak), kind_(kind), colourIndex_(colourIndex), layers_(layers) {
  const bool hatch = kind == EntityKind::Hatch;
  start_ = Piece(hatch ? "  0\nHATCH\n  5\n" : "  0\nLWPOLYLINE\n  5\n");
  afterHandle_ = Piece("\n100\nAcDbEntity\n  8\n");
  afterLayer_ = Piece(colourIndex ? "\n 62\n" : "\n420\n");
  afterIndex_ = Piece("\n420\n");
  afterColour_ = Piece(hatch ? "\n100\nAcDbHatch\n 10\n0.0\n 20\n0.0\n 30\n0.0\n210\n0.0\n220\n"
                               "0.0\n230\n1.0\n  2\nSOLID\n 70\n1\n 71\n0\n 91\n"
                             : "\n100\nAcDbPolyline\n 90\n");
  // Path flags: 2 a polyline, 1 the external one. Loops are closed and without bulges.
  outerPath_ = Piece("\n 92\n3\n 72\n0\n 73\n1\n 93\n");
  innerPath_ = Piece(" 92\n2\n 72\n0\n 73\n1\n 93\n");
  afterCount_ = Piece(hatch ? "\n" : "\n 70\n1\n");
  afterCorners_ = Piece(" 97\n0\n");
  // Odd parity fill, a predefined pattern (SOLID), no seed points.
  end_ = Piece(" 75\n0\n 76\n1\n 98\n0\n");
  beforeX_ = Piece(" 10\n");
  beforeY_ = Piece("\n 20\n");
  afterY_ = Piece("\n");
}

std::string ShapeRecordWriter::Piece(std::string_view lines) const {
  std::string piece;
  for (const char c : lines) c == '\n' ? piece.append(lineBreak_) : piece.append(1, c);
  return piece;
}

// The groups every entity begins with, up to the first count.
char* ShapeRecordWriter::Head(char* out, std::int32_t handle, TColor colour) {
  out = Put(Put(out, start_), HandleField(handle).view());
  out = Put(Put(out, afterHandle_), layers_ ? LayerName(colour).view() : "0");
  out = Put(out, afterLayer_);
  if (colourIndex_) out = Put(PutNumber(out, std::uint64_t(indices_(colour))), afterIndex_);
  return Put(Put(out, TrueColourText(colour).view()), afterColour_);
}

void ShapeRecordWriter::Corners(ChunkedText& text, std::span<const Corner> loop,
                                const GridLines& grid) const {
  for (const Corner& corner : loop) {
    char* out = Put(Put(text.End(), beforeX_), grid.ColumnText(corner.x).view());
    text.Advance(Put(Put(Put(out, beforeY_), grid.RowText(corner.y).view()), afterY_));
  }
}

std::int32_t ShapeRecordWriter::Write(ChunkedText& text, const Shape& shape, const GridLines& grid,
                                      std::int32_t handle) {
  if (kind_ == EntityKind::Polyline) {
    for (std::size_t i = 0; i < shape.LoopCount(); ++i) {
      const auto loop = shape.Loop(i);
      char* out = Head(text.End(), handle++, shape.colour);
      text.Advance(Put(PutNumber(out, loop.size()), afterCount_));
      Corners(text, loop, grid);
    }
    return handle;
  }

  char* out = PutNumber(Head(text.End(), handle++, shape.colour), shape.LoopCount());
  for (std::size_t i = 0; i < shape.LoopCount(); ++i) {
    const auto loop = shape.Loop(i);
    out = Put(out, i == 0 ? outerPath_ : innerPath_);
    text.Advance(Put(PutNumber(out, loop.size()), afterCount_));
    Corners(text, loop, grid);
    out = Put(text.End(), afterCorners_);
  }
  text.Advance(Put(out, end_));
  return handle;
}

}  // namespace pixdraft

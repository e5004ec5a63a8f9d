#include "dxf/shape_record_writer.h"

#include <algorithm>
#include <charconv>

#include "dxf/block_copy.h"
#include "dxf/layer_table.h"
#include "dxf/trace_record.h"

namespace pixdraft {
namespace {

// Pieces and fields are copied in whole blocks (block_copy.h).
char* Put(char* out, const FieldText& field) { return CopyBlocks(out, field); }
char* Put(char* out, const ShapeRecordWriter::Piece& piece) {
  return CopyBlocks(out, piece.text.data(), piece.size);
}

char* PutNumber(char* out, std::uint64_t value) { return std::to_chars(out, out + 24, value).ptr; }

}  // namespace

ShapeRecordWriter::ShapeRecordWriter(std::string_view lineBreak, EntityKind kind, bool colourIndex,
                                     bool layers, const LayerNames& layerNames)
    : lineBreak_(lineBreak),
      kind_(kind),
      colourIndex_(colourIndex),
      layers_(layers),
      layerNames_(layerNames) {
  const bool hatch = kind == EntityKind::Hatch;
  start_ = Join(hatch ? "  0\nHATCH\n  5\n" : "  0\nLWPOLYLINE\n  5\n");
  afterHandle_ = Join("\n100\nAcDbEntity\n  8\n");
  layerZero_ = Join("0");
  afterLayer_ = Join(colourIndex ? "\n 62\n" : "\n420\n");
  afterIndex_ = Join("\n420\n");
  afterColour_ = Join(hatch ? "\n100\nAcDbHatch\n 10\n0.0\n 20\n0.0\n 30\n0.0\n210\n0.0\n220\n"
                              "0.0\n230\n1.0\n  2\nSOLID\n 70\n1\n 71\n0\n 91\n"
                            : "\n100\nAcDbPolyline\n 90\n");
  // Path flags: 2 a polyline, 1 the external one. Loops are closed and without bulges.
  outerPath_ = Join("\n 92\n3\n 72\n0\n 73\n1\n 93\n");
  innerPath_ = Join(" 92\n2\n 72\n0\n 73\n1\n 93\n");
  afterCount_ = Join(hatch ? "\n" : "\n 70\n1\n");
  afterCorners_ = Join(" 97\n0\n");
  // Odd parity fill, a predefined pattern (SOLID), no seed points.
  end_ = Join(" 75\n0\n 76\n1\n 98\n0\n");
  beforeX_ = Join(" 10\n");
  beforeY_ = Join("\n 20\n");
  afterY_ = Join("\n");
}

ShapeRecordWriter::Piece ShapeRecordWriter::Join(std::string_view lines) const {
  Piece piece;
  for (const char c : lines) c == '\n' ? piece.text.append(lineBreak_) : piece.text.append(1, c);
  piece.size = PadToBlocks(piece.text);
  return piece;
}

// The groups every entity begins with, up to the first count.
char* ShapeRecordWriter::Head(char* out, std::int32_t handle, TColor colour) {
  out = Put(Put(out, start_), HandleField(handle));
  out = Put(out, afterHandle_);
  out = layers_ ? Put(out, layerNames_(colour)) : Put(out, layerZero_);
  out = Put(out, afterLayer_);
  if (colourIndex_) out = Put(PutNumber(out, std::uint64_t(indices_(colour))), afterIndex_);
  return Put(Put(out, TrueColourText(colour)), afterColour_);
}

void ShapeRecordWriter::Point(ChunkedText& text, const FieldText& x, const FieldText& y) const {
  char* out = Put(Put(text.End(), beforeX_), x);
  text.Advance(Put(Put(Put(out, beforeY_), y), afterY_));
}

std::size_t ShapeRecordWriter::PointCount(const Shape& shape, std::size_t i) {
  const std::uint32_t begin = i == 0 ? 0 : shape.loopEnds[i - 1], end = shape.loopEnds[i];
  const auto first = std::lower_bound(shape.parted.begin(), shape.parted.end(), begin);
  return end - begin + std::size_t(std::lower_bound(first, shape.parted.end(), end) - first);
}

void ShapeRecordWriter::Corners(ChunkedText& text, const Shape& shape, std::size_t i,
                                const GridLines& grid) const {
  const auto loop = shape.Loop(i);
  const std::uint32_t begin = i == 0 ? 0 : shape.loopEnds[i - 1];
  auto parted = std::lower_bound(shape.parted.begin(), shape.parted.end(), begin);
  for (std::size_t k = 0; k < loop.size(); ++k) {
    const Corner c = loop[k];
    if (parted == shape.parted.end() || *parted != begin + k) {
      Point(text, grid.ColumnText(c.x), grid.RowText(c.y));
      continue;
    }
    ++parted;
    // Back along the edge it came by, then on along the edge it leaves by.
    for (const Corner towards :
         {loop[(k + loop.size() - 1) % loop.size()], loop[(k + 1) % loop.size()]}) {
      const int stepX = (towards.x > c.x) - (towards.x < c.x);
      const int stepY = (towards.y > c.y) - (towards.y < c.y);
      Point(text, stepX ? grid.ColumnBeside(c.x, stepX) : grid.ColumnText(c.x),
            stepY ? grid.RowBeside(c.y, stepY) : grid.RowText(c.y));
    }
  }
}

std::int32_t ShapeRecordWriter::Write(ChunkedText& text, const Shape& shape, const GridLines& grid,
                                      std::int32_t handle) {
  if (kind_ == EntityKind::Polyline) {
    for (std::size_t i = 0; i < shape.LoopCount(); ++i) {
      char* out = Head(text.End(), handle++, shape.colour);
      text.Advance(Put(PutNumber(out, PointCount(shape, i)), afterCount_));
      Corners(text, shape, i, grid);
    }
    return handle;
  }

  char* out = PutNumber(Head(text.End(), handle++, shape.colour), shape.LoopCount());
  for (std::size_t i = 0; i < shape.LoopCount(); ++i) {
    out = Put(out, i == 0 ? outerPath_ : innerPath_);
    text.Advance(Put(PutNumber(out, PointCount(shape, i)), afterCount_));
    Corners(text, shape, i, grid);
    out = Put(text.End(), afterCorners_);
  }
  text.Advance(Put(out, end_));
  return handle;
}

}  // namespace pixdraft

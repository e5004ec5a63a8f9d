// The coordinates of the lines between pixels, each formatted once: column line i lies at
// x = i, row line j at y = 1 - j from the top-left origin or at y = height - j from the
// bottom-left one, times the pixel size.
#pragma once

#include <cstdint>
#include <vector>

#include "colour/raster.h"
#include "dxf/drawing_options.h"
#include "dxf/trace_record.h"

namespace pixdraft {

class GridLines {
 public:
  GridLines(const Raster& raster, const DrawingOptions& options)
      : top_(options.origin == Origin::BottomLeft ? raster.height : 1), size_(options.pixelSize) {
    for (int i = 0; i <= raster.width; ++i) columns_.push_back(options.pixelSize.Coordinate(i));
    for (int j = 0; j <= raster.height; ++j) rows_.push_back(options.pixelSize.Coordinate(Row(j)));
  }

  const FieldText& ColumnText(int i) const { return columns_[i]; }
  const FieldText& RowText(int j) const { return rows_[j]; }
  // Row line j in pixels from the origin, upwards.
  std::int64_t Row(int j) const { return top_ - j; }
  // A 32nd of a pixel beside column line i, towards column line i + step (step -1, 0 or 1), and
  // beside row line j towards row line j + step.
  FieldText ColumnBeside(int i, int step) const {
    return size_.CoordinateIn32nds(32 * std::int64_t(i) + step);
  }
  FieldText RowBeside(int j, int step) const { return size_.CoordinateIn32nds(32 * Row(j) - step); }

 private:
  std::int64_t top_;
  PixelSize size_;
  std::vector<FieldText> columns_, rows_;
};

}  // namespace pixdraft

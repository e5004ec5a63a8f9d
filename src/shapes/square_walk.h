// The squares a drawing is made of, and the order the export writes them in.
//
// Every pixel but kNoSquare is drawn. Without merging, every drawn pixel is one square of 1 x 1.
//
// Merging joins squares by a simple, deterministic method:
//  1. Down each column, the drawn pixels form runs: maximal stretches of vertically adjacent
//     pixels of one colour.
//  2. A run is joined to the run of exactly the same rows and colour in the column to its left,
//     that one to the next such run further left, and so on while there is one.
//  3. Each group of joined runs is one rectangular square.
// So squares never overlap, and together they cover exactly the drawn pixels, each in its own
// colour. A flat picture becomes one square; a photo stays close to one square per pixel.
//
// Order: each square comes where its top-left pixel comes in the pixel walk, columns from the
// right, each from the top down. Without merging, that is the pixel walk itself.
//
// The walk reads each pixel once and holds two columns' squares at a time, whatever the raster.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "colour/raster.h"

namespace pixdraft {

struct Square {
  int x = 0, y = 0;           // the top-left pixel
  int width = 1, height = 1;  // in pixels
  TColor colour = 0;
  bool operator==(const Square&) const = default;
};

// Walks the squares of `raster` column by column, from the right, merged or not. Holds a
// reference to the raster, which must outlive it.
class SquareWalk {
 public:
  SquareWalk(const Raster& raster, bool merge);

  // Whether every column has been walked.
  bool Done() const { return next_ < 0; }
  // The squares whose top-left pixel lies in the next column, from the top down: column
  // width - 1 first, column 0 last. Valid until the next call; call only while not Done().
  std::span<const Square> NextColumn();

  // How many squares a whole walk of `raster` gives.
  static std::uint64_t Count(const Raster& raster, bool merge);

 private:
  // Appends the runs of column `x` to `runs`, each as a square one pixel wide.
  void AppendRuns(int x, std::vector<Square>& runs) const;

  const Raster& raster_;
  const bool merge_;
  int next_;                  // the column the next call returns
  std::vector<Square> open_;  // merging: squares whose left edge may still move left
  std::vector<Square> runs_, stillOpen_, column_;
};

}  // namespace pixdraft

#include "shapes/square_walk.h"

namespace pixdraft {

SquareWalk::SquareWalk(const Raster& raster, bool merge)
    : raster_(raster), merge_(merge), next_(raster.width - 1) {
  if (merge_ && next_ >= 0) AppendRuns(next_, open_);
}

void SquareWalk::AppendRuns(int x, std::vector<Square>& runs) const {
  const int height = raster_.height;
  for (int y = 0; y < height;) {
    const TColor colour = raster_.Pixel(x, y);
    const int top = y;
    while (++y < height && raster_.Pixel(x, y) == colour) {
    }
    if (colour != kNoSquare) runs.push_back({x, top, 1, y - top, colour});
  }
}

std::span<const Square> SquareWalk::NextColumn() {
  const int x = next_--;
  column_.clear();
  if (!merge_) {
    for (int y = 0; y < raster_.height; ++y) {
      const TColor colour = raster_.Pixel(x, y);
      if (colour != kNoSquare) column_.push_back({x, y, 1, 1, colour});
    }
    return column_;
  }

  // The open squares' left edge is column x. Those that the next column to the left continues
  // with a run of exactly their rows and colour move on; the others end here. Both lists run
  // from the top down, so one pass pairs them.
  if (x == 0) {
    column_.swap(open_);
    return column_;
  }
  runs_.clear();
  AppendRuns(x - 1, runs_);
  stillOpen_.clear();
  auto open = open_.begin();
  for (const Square& run : runs_) {
    while (open != open_.end() && open->y < run.y) column_.push_back(*open++);
    if (open != open_.end() && open->y == run.y && open->height == run.height &&
        open->colour == run.colour) {
      stillOpen_.push_back({x - 1, run.y, open->width + 1, run.height, run.colour});
      ++open;
    } else {
      stillOpen_.push_back(run);
    }
  }
  column_.insert(column_.end(), open, open_.end());
  open_.swap(stillOpen_);
  return column_;
}

std::uint64_t SquareWalk::Count(const Raster& raster, bool merge) {
  SquareWalk walk(raster, merge);
  std::uint64_t count = 0;
  while (!walk.Done()) count += walk.NextColumn().size();
  return count;
}

}  // namespace pixdraft

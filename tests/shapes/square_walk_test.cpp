#include "shapes/square_walk.h"

#include <gtest/gtest.h>

#include "colour/raster_test_support.h"
#include "shapes/walk_test_support.h"

namespace pixdraft {
namespace {

std::vector<Square> Walk(const Raster& raster, bool merge) {
  SquareWalk walk(raster, merge);
  std::vector<Square> squares;
  for (int x = raster.width - 1; x >= 0; --x) {
    EXPECT_FALSE(walk.Done());
    for (const Square& square : walk.NextColumn()) {
      EXPECT_EQ(square.x, x);
      squares.push_back(square);
    }
  }
  EXPECT_TRUE(walk.Done());
  EXPECT_EQ(SquareWalk::Count(raster, merge), squares.size());
  return squares;
}

// Paints `squares` onto an empty raster; a square outside it or over another fails the test.
Raster Paint(int width, int height, const std::vector<Square>& squares) {
  Raster painted(width, height);
  std::fill(painted.pixels.begin(), painted.pixels.end(), kNoSquare);
  for (const Square& s : squares) {
    EXPECT_TRUE(s.width > 0 && s.height > 0 && s.x >= 0 && s.y >= 0 && s.x + s.width <= width &&
                s.y + s.height <= height)
        << "square at " << s.x << ", " << s.y << " of " << s.width << " x " << s.height;
    for (int y = std::max(s.y, 0); y < std::min(s.y + s.height, height); ++y) {
      for (int x = std::max(s.x, 0); x < std::min(s.x + s.width, width); ++x) {
        EXPECT_EQ(painted.Pixel(x, y), kNoSquare) << "painted twice: " << x << ", " << y;
        painted.SetPixel(x, y, s.colour);
      }
    }
  }
  return painted;
}

class Merge : public testing::TestWithParam<Picture> {};

TEST_P(Merge, PaintsBackExactlyTheUnmergedDrawingInWalkOrder) {
  const Raster& drawn = GetParam().raster;
  const std::vector<Square> plain = Walk(drawn, false);
  EXPECT_EQ(Paint(drawn.width, drawn.height, plain).pixels, drawn.pixels);
  const std::vector<Square> merged = Walk(drawn, true);
  EXPECT_EQ(Paint(drawn.width, drawn.height, merged).pixels, drawn.pixels);

  // Each square comes where its top-left pixel comes in the pixel walk, as each plain one does.
  const auto walkIndex = [&](const Square& s) {
    return std::int64_t(drawn.width - 1 - s.x) * drawn.height + s.y;
  };
  for (const auto* squares : {&plain, &merged}) {
    for (std::size_t i = 1; i < squares->size(); ++i) {
      EXPECT_LT(walkIndex((*squares)[i - 1]), walkIndex((*squares)[i])) << "square " << i;
    }
  }
  for (const Square& s : plain) EXPECT_TRUE(s.width == 1 && s.height == 1);
  EXPECT_LE(merged.size(), plain.size());
}

INSTANTIATE_TEST_SUITE_P(SquareWalk, Merge, testing::ValuesIn(Pictures()),
                         [](const testing::TestParamInfo<Picture>& info) {
                           return info.param.name;
                         });

TEST(Merge, FlatPicturesGiveOneSquareAndCheckerboardsOnePerPixel) {
  EXPECT_EQ(Walk(Raster(40, 30), true), (std::vector<Square>{{0, 0, 40, 30, RGB(255, 255, 255)}}));
  EXPECT_EQ(Walk(RasterOf({"rbr", "brb"}), true).size(), 6u);
}

// The method, on one picture: runs down each column, joined leftwards with equal runs; a run
// that only partly matches its neighbour stays apart. Squares come in the order of their
// top-left pixels: the blue one, at column 1, before the black one reaching column 0.
TEST(Merge, JoinsEqualRunsOfNeighbouringColumns) {
  const TColor r = RGB(255, 0, 0), b = RGB(0, 0, 255), k = RGB(0, 0, 0);
  EXPECT_EQ(
      Walk(RasterOf({"rrb",  //
                     "rrb",  //
                     "kkk",  //
                     "krr"}),
           true),
      (std::vector<Square>{
          {2, 0, 1, 2, b}, {1, 2, 2, 1, k}, {1, 3, 2, 1, r}, {0, 0, 2, 2, r}, {0, 2, 1, 2, k}}));
}

}  // namespace
}  // namespace pixdraft

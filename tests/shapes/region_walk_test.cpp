#include "shapes/region_walk.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "shapes/walk_test_support.h"

namespace pixdraft {
namespace {

class Regions : public testing::TestWithParam<Picture> {};

// Regions painted back, each by the even-odd rule over its loops, give the drawn raster; every
// loop passes no grid point twice, turns at every corner and starts at its topmost, leftmost
// corner; outer loops run anticlockwise (positive area), holes clockwise, so each colour's areas
// sum to its pixels; regions come in the reading order of their first pixels.
TEST_P(Regions, PaintBackTheDrawingWithSimpleLoops) {
  const Raster& drawn = GetParam().raster;
  std::vector<TColor> painted(drawn.pixels.size(), kNoSquare);
  std::map<TColor, std::int64_t> area, pixels;
  for (const TColor pixel : drawn.pixels) pixels[pixel] += pixel != kNoSquare;
  const auto before = [](Corner a, Corner b) { return a.y < b.y || (a.y == b.y && a.x < b.x); };
  Corner lastFirst{-1, -1};
  Shape shape;
  for (RegionWalk walk(drawn, false); walk.Next(shape);) {
    EXPECT_TRUE(before(lastFirst, shape.Loop(0)[0]));  // the first pixel's top-left corner
    lastFirst = shape.Loop(0)[0];
    std::vector<int> crossings(drawn.pixels.size());  // edges right of each pixel's centre
    for (std::size_t i = 0; i < shape.LoopCount(); ++i) {
      const auto loop = shape.Loop(i);
      EXPECT_TRUE(i < 2 || before(shape.Loop(i - 1)[0], loop[0])) << "holes out of order";
      std::set<std::pair<int, int>> passed;
      std::int64_t twiceArea = 0;
      for (std::size_t k = 0; k < loop.size(); ++k) {
        const Corner a = loop[k], b = loop[(k + 1) % loop.size()], c = loop[(k + 2) % loop.size()];
        ASSERT_TRUE((a.x == b.x) != (a.y == b.y)) << "not one straight edge";
        EXPECT_NE(a.x == b.x, b.x == c.x) << "no turn at " << b.x << ", " << b.y;
        EXPECT_FALSE(before(a, loop[0])) << "does not start at its topmost, leftmost corner";
        twiceArea += std::int64_t(a.x) * -b.y - std::int64_t(b.x) * -a.y;
        const int dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
        for (int x = a.x, y = a.y; x != b.x || y != b.y; x += dx, y += dy) {
          EXPECT_TRUE(passed.insert({x, y}).second) << "passes " << x << ", " << y << " twice";
          if (dy && a.x > 0) ++crossings[std::size_t(dy > 0 ? y : y - 1) * drawn.width + a.x - 1];
        }
      }
      EXPECT_EQ(twiceArea > 0, i == 0) << "loop " << i << " runs the wrong way";
      area[shape.colour] += twiceArea / 2;
    }
    // A pixel is inside when an odd number of edges cross its row to its right.
    for (int y = 0; y < drawn.height; ++y) {
      for (int x = drawn.width - 1, odd = 0; x >= 0; --x) {
        const std::size_t at = std::size_t(y) * drawn.width + x;
        if (!(odd ^= crossings[at] & 1)) continue;
        EXPECT_EQ(painted[at], kNoSquare) << "painted twice: " << x << ", " << y;
        painted[at] = shape.colour;
      }
    }
  }
  EXPECT_EQ(painted, drawn.pixels);
  pixels.erase(kNoSquare);
  EXPECT_EQ(area, pixels);
}

INSTANTIATE_TEST_SUITE_P(RegionWalk, Regions, testing::ValuesIn(Pictures()),
                         [](const testing::TestParamInfo<Picture>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace pixdraft

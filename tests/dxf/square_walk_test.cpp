#include "dxf/square_walk.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "drawing_test_support.h"
#include "dxf/region_walk.h"

namespace pixdraft {
namespace {

std::vector<Square> Walk(const Raster& raster, const DrawingOptions& options) {
  SquareWalk walk(raster, options);
  std::vector<Square> squares;
  for (int x = raster.width - 1; x >= 0; --x) {
    EXPECT_FALSE(walk.Done());
    for (const Square& square : walk.NextColumn()) {
      EXPECT_EQ(square.x, x);
      squares.push_back(square);
    }
  }
  EXPECT_TRUE(walk.Done());
  EXPECT_EQ(SquareWalk::Count(raster, options), squares.size());
  return squares;
}

// The raster as drawn: left-out colours become kNoSquare.
Raster Drawn(Raster raster, const std::vector<TColor>& leftOut) {
  for (TColor& pixel : raster.pixels) {
    if (std::find(leftOut.begin(), leftOut.end(), pixel) != leftOut.end()) pixel = kNoSquare;
  }
  return raster;
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

struct Picture {
  std::string name;
  Raster raster;
  std::vector<TColor> leftOut;
};
void PrintTo(const Picture& picture, std::ostream* out) { *out << picture.name; }

// Random pictures of few colours, so that runs form, and with pixels left out; flat pictures and
// checkerboards; lines both ways.
std::vector<Picture> Pictures() {
  std::vector<Picture> pictures;
  std::mt19937 random(7);
  const int sizes[][2] = {{1, 1}, {1, 37}, {37, 1}, {2, 2}, {5, 3}, {16, 16}, {31, 47}, {64, 9}};
  for (const auto [width, height] : sizes) {
    for (const int colours : {1, 2, 3, 5}) {
      Raster raster(width, height);
      for (TColor& pixel : raster.pixels) {
        const int pick = int(random() % (colours + 1));
        pixel = pick == colours ? kNoSquare : RGB(40 * pick, 0, 255 - 40 * pick);
      }
      const std::string size = std::to_string(width) + "x" + std::to_string(height);
      pictures.push_back({"Random" + size + "Colours" + std::to_string(colours), raster, {}});
      pictures.push_back({"Random" + size + "Colours" + std::to_string(colours) + "LeftOut",
                          raster,
                          {RGB(0, 0, 255)}});
    }
    Raster flat(width, height), board(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x)
        board.SetPixel(x, y, (x + y) % 2 ? RGB(0, 0, 0) : RGB(9, 9, 9));
    }
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    pictures.push_back({"Flat" + size, flat, {}});
    pictures.push_back({"Checkerboard" + size, board, {}});
  }
  return pictures;
}

class Merge : public testing::TestWithParam<Picture> {};

TEST_P(Merge, PaintsBackExactlyTheUnmergedDrawingInWalkOrder) {
  const Picture& p = GetParam();
  DrawingOptions options;
  options.leftOutColours = p.leftOut;
  const Raster drawn = Drawn(p.raster, p.leftOut);

  const std::vector<Square> plain = Walk(p.raster, options);
  EXPECT_EQ(Paint(drawn.width, drawn.height, plain).pixels, drawn.pixels);
  options.merge = true;
  const std::vector<Square> merged = Walk(p.raster, options);
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

// Regions painted back, each by the even-odd rule over its loops, give the drawn raster; every
// loop passes no grid point twice, turns at every corner and starts at its topmost, leftmost
// corner; outer loops run anticlockwise (positive area), holes clockwise, so each colour's areas
// sum to its pixels; regions come in the reading order of their first pixels.
TEST_P(Merge, RegionsPaintBackTheDrawingWithSimpleLoops) {
  const Picture& p = GetParam();
  DrawingOptions options{.leftOutColours = p.leftOut};
  const Raster drawn = Drawn(p.raster, p.leftOut);
  std::vector<TColor> painted(drawn.pixels.size(), kNoSquare);
  std::map<TColor, std::int64_t> area, pixels;
  for (const TColor pixel : drawn.pixels) pixels[pixel] += pixel != kNoSquare;
  const auto before = [](Corner a, Corner b) { return a.y < b.y || (a.y == b.y && a.x < b.x); };
  Corner lastFirst{-1, -1};
  Shape shape;
  for (RegionWalk walk(p.raster, options); walk.Next(shape);) {
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

TEST(Merge, FlatPicturesGiveOneSquareAndCheckerboardsOnePerPixel) {
  DrawingOptions merge;
  merge.merge = true;
  EXPECT_EQ(Walk(Raster(40, 30), merge), (std::vector<Square>{{0, 0, 40, 30, RGB(255, 255, 255)}}));
  EXPECT_EQ(Walk(RasterOf({"rbr", "brb"}), merge).size(), 6u);
}

// The method, on one picture: runs down each column, joined leftwards with equal runs; a run
// that only partly matches its neighbour stays apart. Squares come in the order of their
// top-left pixels: the blue one, at column 1, before the black one reaching column 0.
TEST(Merge, JoinsEqualRunsOfNeighbouringColumns) {
  DrawingOptions merge;
  merge.merge = true;
  const TColor r = RGB(255, 0, 0), b = RGB(0, 0, 255), k = RGB(0, 0, 0);
  EXPECT_EQ(
      Walk(RasterOf({"rrb",  //
                     "rrb",  //
                     "kkk",  //
                     "krr"}),
           merge),
      (std::vector<Square>{
          {2, 0, 1, 2, b}, {1, 2, 2, 1, k}, {1, 3, 2, 1, r}, {0, 0, 2, 2, r}, {0, 2, 1, 2, k}}));
}

}  // namespace
}  // namespace pixdraft

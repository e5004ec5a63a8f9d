// The plain background a logo stands on, found to be left out.
#include "shapes/background.h"

#include <gtest/gtest.h>

#include "colour/raster_test_support.h"

namespace pixdraft {
namespace {

// The corners' colour where it reaches the edge through pixel edges; white enclosed by black,
// or reached only through a corner, stays; corners that differ leave everything.
TEST(Background, IsTheCornersColourJoinedToTheEdge) {
  const std::pair<std::vector<std::string>, std::vector<std::string>> table[] = {
      {{"wwwww", "wkkkw", "wkwkw", "wkkrw", "wwwww"},
       {".....", ".kkk.", ".kwk.", ".kkr.", "....."}},
      {{"wwww", "wkkw", "kwwk", "wkkw"}, {"....", ".kk.", "kwwk", ".kk."}},
      {{"wwwb", "wkkw", "wwww"}, {"wwwb", "wkkw", "wwww"}},
      {{"wwww", "wkkw", "bwww"}, {"wwww", "wkkw", "bwww"}},
      {{"wwww", "wkkw", "wwwb"}, {"wwww", "wkkw", "wwwb"}},
      {{".ww.", "wkkw", ".ww."}, {".ww.", "wkkw", ".ww."}},
      {{"r"}, {"."}},
  };
  for (const auto& [rows, left] : table) {
    Raster raster = RasterOf(rows);
    LeaveOutBackground(raster);
    EXPECT_EQ(raster.pixels, RasterOf(left).pixels) << rows[0];
  }
}

}  // namespace
}  // namespace pixdraft

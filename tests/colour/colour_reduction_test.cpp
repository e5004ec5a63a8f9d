// The nearest colour, the choice of a few colours, dithering and the colours left out: each a
// table of whole results on small rasters.
#include "colour/colour_reduction.h"

#include <gtest/gtest.h>

#include "colour/colour_choice.h"
#include "colour/colour_mapping.h"
#include "colour/nearest_colour.h"
#include "colour/raster_test_support.h"

namespace pixdraft {
namespace {

Raster Row(std::initializer_list<std::uint32_t> rgbs, int height = 1) {
  Raster raster(int(rgbs.size()) / height, height);
  raster.pixels = Hexes(rgbs);
  return raster;
}

// A pixel takes the colour nearest by CIE76 in CIELAB, the first listed on an exact tie.
TEST(NearestColour, ByCie76TheFirstListedOnATie) {
  struct Case {
    std::vector<TColor> palette;
    std::uint32_t pixel, nearest;
  };
  // More than 64 colours are searched by L* first, and 256 need two bytes each: the same answers.
  std::vector<TColor> many;
  for (std::uint32_t i = 0; i < 254; ++i) many.push_back(Hex(0xFF0000 | i << 8));
  many.insert(many.begin() + 20, Hex(0x686868));
  many.push_back(Hex(0x606060));
  for (const Case& c : {
           Case{many, 0x646464, 0x686868},
           Case{many, 0xFF2A00, 0xFF2A00},
           Case{many, 0x5F6060, 0x606060},
           // Nearer purple than red by red, green and blue; nearer red as people see it.
           Case{Hexes({0xFF0000, 0x800080}), 0x4DC707, 0xFF0000},
           Case{Hexes({0x000000, 0xFFFFFF, 0xFF8000}), 0xE0A040, 0xFF8000},
           // Greys whose L* lies exactly halfway, both ways round, and among others.
           Case{Hexes({0x606060, 0x686868}), 0x646464, 0x606060},
           Case{Hexes({0x686868, 0x606060}), 0x646464, 0x686868},
           Case{Hexes({0xFFFFFF, 0x070707, 0x000000, 0x030303}), 0x050505, 0x070707},
           Case{Hexes({0x030303, 0xFFFFFF, 0x070707}), 0x050505, 0x030303},
       }) {
    Raster raster = Row({c.pixel});
    MapToColours(raster, c.palette, false);
    EXPECT_EQ(raster.pixels, Hexes({c.nearest})) << std::hex << c.pixel;
  }
}

// A raster large enough to be mapped in parts, one a thread, its colours in every part: every
// pixel as if mapped alone.
TEST(NearestColour, EveryPixelOfALargeRasterMappedInParts) {
  Raster raster(1023, 1025);  // an odd count, shared unevenly
  for (std::size_t i = 0; i < raster.pixels.size(); ++i) {
    raster.pixels[i] = i % 1000 == 0 ? kNoSquare : TColor(i % 65521 * 2654435761u & 0xFFFFFF);
  }
  const Raster original = raster;
  std::vector<TColor> palette;
  for (std::uint32_t i = 1; i <= 48; ++i) palette.push_back(Hex(i * 0x35A7F1 & 0xFFFFFF));
  std::vector<Lab> labs;
  for (const TColor colour : palette) labs.push_back(ToLab(colour));
  const NearestColour nearest(labs);
  MapToColours(raster, palette, false);
  for (std::size_t i = 0; i < raster.pixels.size(); ++i) {
    const TColor pixel = original.pixels[i];
    ASSERT_EQ(raster.pixels[i],
              pixel == kNoSquare ? kNoSquare : palette[nearest.Find(ToLab(pixel))])
        << i;
  }
}

TEST(ChooseColours, KeepsFewColoursElseCutsByMedianAndMeans) {
  struct Case {
    Raster raster;
    int count;
    std::vector<TColor> palette, chosen;
  };
  const Raster twoColours = Row({0x102030, 0xFFEEDD, 0x102030, kOut, 0x102030, 0xFFEEDD});
  const Raster gradient = Row({0x000000, 0x242424, 0x494949, 0x6D6D6D, 0x929292, 0xB6B6B6, 0xDBDBDB,
                               0xFFFFFF, 0x000000, 0xFFFFFF});
  // A flat red with a little anti-aliasing keeps its exact red; blue and white stay apart.
  const Raster logo = Row({0xC81E1E, 0xC81E1E, 0xC81E1E, 0xC81F1D, 0xE08080, 0x1E1EC8, 0x1E1EC8,
                           0xFFFFFF, 0xFFFFFF, 0xFEFEFE});
  const std::vector<TColor> tiles = Hexes({0xFFFFFF, 0x000000, 0xFF0000, 0x0000FF, 0x808080});
  for (const Case& c : {
           Case{twoColours, 2, {}, Hexes({0x102030, 0xFFEEDD})},
           Case{twoColours, 256, {}, Hexes({0x102030, 0xFFEEDD})},
           Case{gradient, 4, {}, Hexes({0x000000, 0x494949, 0xB6B6B6, 0xFFFFFF})},
           Case{gradient, 2, {}, Hexes({0x242424, 0xDBDBDB})},
           Case{logo, 3, {}, Hexes({0x1E1EC8, 0xC81E1E, 0xFFFFFF})},
           Case{Row({kOut, kOut}), 2, {}, {}},
           // Of the palette: the colours the pixels take when they are few, else those the
           // groups' means are nearest.
           Case{logo, 3, tiles, Hexes({0xFFFFFF, 0xFF0000, 0x0000FF})},
           Case{gradient, 3, tiles, Hexes({0xFFFFFF, 0x000000, 0x808080})},
           Case{gradient, 2, tiles, Hexes({0xFFFFFF, 0x000000})},
       }) {
    EXPECT_EQ(ChooseColours(c.raster, c.count, c.palette), c.chosen) << c.count;
  }
}

// Dithering spreads the error in CIELAB; left-out squares stay out, exact colours stay flat.
TEST(ReduceColours, DithersOnlyWhenAskedAndLeavesOutFirst) {
  struct Case {
    ColourReduction reduction;
    std::vector<TColor> leftOut;
    Raster raster, reduced;
  };
  const std::vector<TColor> blackWhite = Hexes({0x000000, 0xFFFFFF});
  Raster grey(4, 3);
  grey.pixels.assign(12, Hex(0x606060));
  for (const Case& c : {
           Case{{blackWhite}, {}, grey, RasterOf({"kkkk", "kkkk", "kkkk"})},
           Case{{blackWhite, 0, true}, {}, grey, RasterOf({"kwkw", "kwkk", "kwkw"})},
           Case{{blackWhite, 0, true},
                {Hex(0x606060)},
                Row({0x606060, 0xFFFFFF, 0x101010, 0xFFFFFF}),
                Row({kOut, 0xFFFFFF, 0, 0xFFFFFF})},
           Case{{{}, 2, true},
                {Hex(0x00FF00)},
                Row({0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000, 0x0000FF, 0x0000FE}),
                Row({0xFF0000, kOut, 0x0000FF, 0xFF0000, 0x0000FF, 0x0000FF})},
           // Left out without a reduction too, and again once a pixel takes a left-out colour.
           Case{{}, {Hex(0x606060)}, grey, RasterOf({"....", "....", "...."})},
           Case{{blackWhite}, {Hex(0xFFFFFF)}, Row({0xF0F0F0, 0x101010}), Row({kOut, 0})},
           // Errors reach the next row below left, below and below right, and only that row.
           Case{
               {Hexes({0x000000, 0xFFFFFF, 0xFF0000}), 0, true},
               {},
               Row({0x987F7F, 0xB59F9F, 0xCFC6C6, 0x6D6060, 0x554646, 0xDBB4B4, 0x706464, 0x987777,
                    0x473E3E, 0xD9B9B9, 0xBC9A9A, 0x4A3333, 0x999696, 0x795656, 0x927979, 0xDFCECE},
                   4),
               RasterOf({"wkwk", "kwwk", "kwwk", "wkrw"})},
       }) {
    Raster raster = c.raster;
    ReduceColours(raster, c.reduction, c.leftOut);
    EXPECT_EQ(raster.pixels, c.reduced.pixels);
  }
}

}  // namespace
}  // namespace pixdraft

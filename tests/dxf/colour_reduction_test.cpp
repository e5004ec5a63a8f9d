// Palettes, the nearest colour, the choice of a few colours, dithering, layer names and the
// counts: each a table of whole results on small rasters.
#include "dxf/colour_reduction.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "drawing_test_support.h"
#include "dxf/background.h"
#include "dxf/colour_choice.h"
#include "dxf/colour_counts.h"
#include "dxf/colour_mapping.h"
#include "dxf/layer_names.h"
#include "dxf/nearest_colour.h"
#include "dxf/palette.h"

namespace pixdraft {
namespace {

TColor Hex(std::uint32_t rgb) { return RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF); }
std::vector<TColor> Hexes(std::initializer_list<std::uint32_t> rgbs) {
  std::vector<TColor> colours;
  for (const std::uint32_t rgb : rgbs) colours.push_back(rgb == 0xFF000000 ? kNoSquare : Hex(rgb));
  return colours;
}
constexpr std::uint32_t kOut = 0xFF000000;  // no square
Raster Row(std::initializer_list<std::uint32_t> rgbs, int height = 1) {
  Raster raster(int(rgbs.size()) / height, height);
  raster.pixels = Hexes(rgbs);
  return raster;
}

TEST(Palette, ReadsColoursNamesCommentsAndBlankLines) {
  const std::string text =
      "\xEF\xBB\xBF# Tiles\r\n"
      "FF8000 orange tile\r\n"
      "\n"
      "  #1e90ff\t blue  \n"
      "#facade tiles\n"
      "# 000000 commented out\n"
      "ff8000 orange again\n"
      "FFFFFF";
  const std::vector<NamedColour> colours = {{Hex(0xFF8000), "orange tile"},
                                            {Hex(0x1E90FF), "blue"},
                                            {Hex(0xFACADE), "tiles"},
                                            {Hex(0xFFFFFF), ""}};
  EXPECT_EQ(ParsePalette(text, "p.txt"), colours);
  // The same text in UTF-16, as Windows' editors save it, with its byte-order mark.
  for (const TextEncoding utf16 : {TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    std::string encoded(Preamble(utf16));
    AppendEncoded(DecodeText(text.substr(3), TextEncoding::Utf8), utf16, encoded);
    EXPECT_EQ(ParsePalette(encoded, "p.txt"), colours);
  }
}

TEST(Palette, RefusesAMalformedLineByFileAndLine) {
  std::string many;
  for (int i = 0; i <= 4096; ++i) many += std::to_string(100000 + i) + "\n";
  for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
           {"FFFFFF\n\nFF80 orange\n", "p.txt:3: expected a colour RRGGBB, then a name if any"},
           {"FF8000orange", "p.txt:1: expected a colour RRGGBB, then a name if any"},
           {"GG0000 green", "p.txt:1: expected a colour RRGGBB, then a name if any"},
           {"FFFFFF0 white", "p.txt:1: expected a colour RRGGBB, then a name if any"},
           {"FF8000 or\xE9", "p.txt:1: the name is not UTF-8 text"},
           {"FF8000 a\x01z", "p.txt:1: the name holds a control character"},
           {"FF8000 orange\rFFFFFF white\r", "p.txt:1: the name holds a control character"},
           {std::string("F\0F\0", 4),
            "p.txt: UTF-16 text without a byte-order mark; save it as UTF-8"},
           {"FF8000 " + std::string(201, 'x'), "p.txt:1: the name is longer than 200 bytes"},
           {many, "p.txt:4097: more than 4096 colours"},
           {"# nothing\n\n", "p.txt: no colours"}}) {
    try {
      ParsePalette(text, "p.txt");
      ADD_FAILURE() << text;
    } catch (const EPaletteError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
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
           Case{{}, {Hex(0x606060)}, grey, grey},
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

TEST(LayerNames, SafeForDxfAndUniqueIgnoringCase) {
  const std::vector<NamedColour> named = {{Hex(0xFF8000), "orange tile"},
                                          {Hex(0xFF8001), "Orange  Tile!"},
                                          {Hex(0x123456), "  Rosé / n°5  "},
                                          {Hex(0x000001), "0"},
                                          {Hex(0x000002), "défpoints"},
                                          {Hex(0x000003), "C_00FF00"},
                                          {Hex(0x00FF00), "c_00ff00"},
                                          {Hex(0x000004), "€€"},
                                          {Hex(0x000005), std::string(30, 'x')},
                                          {Hex(0x000006), "ORANGE_TILE_2"},
                                          {Hex(0x000007), "y"},
                                          {Hex(0x000008), "y_3"},
                                          {Hex(0x000009), "Y"},
                                          {Hex(0x00000A), "y"}};
  const LayerNames names(named);
  std::string all;
  for (const NamedColour& entry : named) all += std::string(names(entry.colour).view()) + " ";
  EXPECT_EQ(all,
            "orange_tile Orange_Tile_2 Ros_n_5 0_2 d_fpoints C_00FF00_2 C_00FF00 C_000004 "
            "xxxxxxxxxxxxxxxxxxxxxxxx ORANGE_TILE_2_2 y y_3 Y_2 y_4 ");
  EXPECT_EQ(names(Hex(0xABCDEF)).view(), "C_ABCDEF");
}

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

// Rows in the layers' order, summing to the pixels drawn; entities as each kind writes them.
TEST(ColourCounts, CsvOfEachColourDrawnAndTheirTotal) {
  const Raster raster = RasterOf({"rrb.", "rkbb", "kkww"});
  DrawingOptions options;
  options.colourNames = {{PaletteColour('r'), "red, \"bright\""}, {PaletteColour('b'), "sky"}};
  options.leftOutColours = {PaletteColour('w')};
  options.merge = true;
  options.layers = true;
  options.pixelSize = *PixelSize::Parse("2.5");
  options.units = Units::Millimetres;
  StringSink csv;
  WriteCountsCsv(csv, CountColours(raster, options), options);
  EXPECT_EQ(csv.data,
            "colour,name,layer,squares,entities,area_mm2\n"
            "000000,,C_000000,3,2,18.75\n"
            "0000FF,sky,sky,3,2,18.75\n"
            "FF0000,\"red, \"\"bright\"\"\",red_bright,3,2,18.75\n"
            "total,,,9,6,56.25\n");

  options = {.regions = true, .entity = EntityKind::Polyline};
  options.pixelSize = *PixelSize::Parse("0.001");
  csv.data.clear();
  WriteCountsCsv(csv, CountColours(RasterOf({"kkk", "kwk", "kkk"}), options), options);
  EXPECT_EQ(csv.data,
            "colour,name,layer,squares,entities,area\n"
            "000000,,0,8,2,0.000008\n"
            "FFFFFF,,0,1,1,0.000001\n"
            "total,,,9,3,0.000009\n");

  // A HATCH and its outlines; squares and their outlines.
  for (const bool regions : {true, false}) {
    options = {
        .merge = !regions, .regions = regions, .entity = EntityKind::Hatch, .outlines = true};
    csv.data.clear();
    WriteCountsCsv(csv, CountColours(RasterOf({"kkk", "kwk", "kkk"}), options), options);
    EXPECT_EQ(csv.data, regions ? "colour,name,layer,squares,entities,area\n"
                                  "000000,,0,8,3,8\n"
                                  "FFFFFF,,0,1,2,1\n"
                                  "total,,,9,5,9\n"
                                : "colour,name,layer,squares,entities,area\n"
                                  "000000,,0,8,8,8\n"
                                  "FFFFFF,,0,1,2,1\n"
                                  "total,,,9,10,9\n");
  }
}

}  // namespace
}  // namespace pixdraft

// The bill of materials: each colour drawn, its squares, entities and area, and the total.
#include "dxf/colour_counts.h"

#include <gtest/gtest.h>

#include "colour/raster_test_support.h"
#include "sinks.h"

namespace pixdraft {
namespace {

// Rows in the layers' order, summing to the pixels drawn; entities as each kind writes them.
TEST(ColourCounts, CsvOfEachColourDrawnAndTheirTotal) {
  const Raster raster = RasterOf({"rrb.", "rkbb", "kk.."});
  DrawingOptions options;
  options.layerNames =
      LayerNames({{PaletteColour('r'), "red, \"bright\""}, {PaletteColour('b'), "sky"}});
  options.merge = Merge::Rectangles;
  options.layers = true;
  options.pixelSize = *PixelSize::Parse("2.5");
  options.units = ParseUnit("mm");
  StringSink csv;
  WriteCountsCsv(csv, CountColours(raster, options), options);
  EXPECT_EQ(csv.data,
            "colour,name,layer,squares,entities,area_mm2\n"
            "000000,,C_000000,3,2,18.75\n"
            "0000FF,sky,sky,3,2,18.75\n"
            "FF0000,\"red, \"\"bright\"\"\",red_bright,3,2,18.75\n"
            "total,,,9,6,56.25\n");

  options = {.merge = Merge::Regions, .entity = EntityKind::Polyline};
  options.pixelSize = *PixelSize::Parse("0.001");
  options.units = ParseUnit("in");
  csv.data.clear();
  WriteCountsCsv(csv, CountColours(RasterOf({"kkk", "kwk", "kkk"}), options), options);
  EXPECT_EQ(csv.data,
            "colour,name,layer,squares,entities,area_in2\n"
            "000000,,0,8,2,0.000008\n"
            "FFFFFF,,0,1,1,0.000001\n"
            "total,,,9,3,0.000009\n");

  // A HATCH and its outlines; squares and their outlines.
  for (const bool regions : {true, false}) {
    options = {.merge = regions ? Merge::Regions : Merge::Rectangles,
               .entity = EntityKind::Hatch,
               .outlines = true};
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

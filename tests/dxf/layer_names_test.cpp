// Layer names of named colours, fit for every DXF reader and unique.
#include "dxf/layer_names.h"

#include <gtest/gtest.h>

#include "colour/raster_test_support.h"

namespace pixdraft {
namespace {

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

}  // namespace
}  // namespace pixdraft

#include "dxf/pixel_size.h"

#include <gtest/gtest.h>

namespace pixdraft {
namespace {

std::string Text(const char* size, std::int64_t k) {
  return std::string(PixelSize::Parse(size).value().Coordinate(k).view());
}

TEST(PixelSize, ReadsPlainDecimalsAboveZeroWithinTheLimits) {
  for (const char* good : {"1", "0.5", ".5", "5.", "007", "2.500", "0.000000001", "1000000",
                           "1000000.000", "999999.999999999", "0.1234567890000"}) {
    EXPECT_TRUE(PixelSize::Parse(good)) << good;
  }
  for (const char* bad :
       {"", ".", "0", "0.000", "-1", "+1", "1e3", "1,5", " 1", "1 ", "1..5", "0x10", "1000000.1",
        "1000001", "0.0000000001", "0.1234567891", "nan", "inf", "99999999999999999999"}) {
    EXPECT_EQ(PixelSize::Parse(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(PixelSize::Parse("1.000"), PixelSize());
}

struct CoordinateCase {
  const char* size;
  std::int64_t k;
  const char* text;
};
void PrintTo(const CoordinateCase& c, std::ostream* out) { *out << c.k << " * " << c.size; }

class Coordinate : public testing::TestWithParam<CoordinateCase> {};

TEST_P(Coordinate, IsTheShortestDecimalOfTheExactProduct) {
  const CoordinateCase& c = GetParam();
  EXPECT_EQ(Text(c.size, c.k), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    PixelSize, Coordinate,
    testing::Values(
        // Whole values are written as ever, never as "-0".
        CoordinateCase{"1", 0, "0.00000"}, CoordinateCase{"1", -3, "-3.00000"},
        CoordinateCase{"0.5", 0, "0.00000"}, CoordinateCase{"0.5", -4, "-2.00000"},
        CoordinateCase{"2.5", 4097, "10242.5"},
        CoordinateCase{"1000000", -4095, "-4095000000.00000"},
        // Exact decimal products, not binary ones: 3 * 0.1 and 4096 * 0.7 have binary rounding.
        CoordinateCase{"0.1", 3, "0.3"}, CoordinateCase{"0.1", -3, "-0.3"},
        CoordinateCase{"0.7", 4096, "2867.2"}, CoordinateCase{"0.01", 4095, "40.95"},
        CoordinateCase{"0.000000001", 1, "0.000000001"}, CoordinateCase{"2", 1, "2.00000"},
        CoordinateCase{"0.333333333", 3, "0.999999999"},
        CoordinateCase{"0.000000001", -4095, "-0.000004095"},
        // More significant digits than a double holds: the shortest text of the nearest double.
        CoordinateCase{"999999.999999999", 4097, "4096999999.9999957"},
        CoordinateCase{"0.123456789", 2147483647, "265121435.4886295"}));

// A parted corner's point, k 32nds of a pixel, exactly as far as the largest sizes and rasters go.
TEST(PixelSize, CoordinatesIn32ndsAreTheShortestDecimalOfTheExactProduct) {
  const auto text = [](const char* size, std::int64_t k) {
    return std::string(PixelSize::Parse(size).value().CoordinateIn32nds(k).view());
  };
  EXPECT_EQ(text("1", 31), "0.96875");
  EXPECT_EQ(text("0.1", -33), "-0.103125");
  EXPECT_EQ(text("32", 65), "65.00000");
  EXPECT_EQ(text("0.000000001", 1), "0.00000000003125");
  EXPECT_EQ(text("999999.999999999", -(32 * 65536LL + 1)), "-65536031249.99993");
}

}  // namespace
}  // namespace pixdraft

// Colours as RRGGBB text, read and written.
#include "colour/colour_text.h"

#include <gtest/gtest.h>

namespace pixdraft {
namespace {

TEST(ColourText, SixHexadecimalDigitsRedFirst) {
  EXPECT_EQ(HexText(RGB(255, 128, 0)), "FF8000");
  EXPECT_EQ(HexText(RGB(1, 2, 171)), "0102AB");
  EXPECT_EQ(ParseColour("FF8000"), RGB(255, 128, 0));
  EXPECT_EQ(ParseColour("#ff8000"), RGB(255, 128, 0));
  EXPECT_EQ(ParseColour("0000fF"), RGB(0, 0, 255));
  for (const char* bad :
       {"", "#", "FF800", "FF80000", "##FF8000", "GG0000", "+F8000", " FF8000", "0xFF80"}) {
    EXPECT_EQ(ParseColour(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace pixdraft

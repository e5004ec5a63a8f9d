// The header's $HANDSEED, found and raised past the export's last handle.
#include "dxf/handle_seed.h"

#include <gtest/gtest.h>

#include "drawing_test_support.h"

namespace pixdraft {
namespace {

// The header's $HANDSEED names the handle after the last one, only once that handle reaches it.
struct SeedCase {
  std::string name;
  std::string header;  // LF line ends
  int pixels;          // a black row this long
  bool merge;
  std::string expectedHeader;  // CR LF line ends
};
void PrintTo(const SeedCase& c, std::ostream* out) { *out << c.name; }

class HandleSeedRule : public testing::TestWithParam<SeedCase> {};

TEST_P(HandleSeedRule, PatchesTheSeedOnlyWhenTheHandlesReachIt) {
  const SeedCase& c = GetParam();
  std::string records;
  if (c.merge) {
    records = Record("012C", "0", "0.00000", "0.00000", Coordinate(c.pixels), "1.00000");
  } else {
    for (int i = 0; i < c.pixels; ++i) {
      const int x = c.pixels - 1 - i;
      records +=
          Record(HandleText(300 + i), "0", Coordinate(x), "0.00000", Coordinate(x + 1), "1.00000");
    }
  }
  EXPECT_EQ(Document(c.header, RasterOf({std::string(c.pixels, 'k')}),
                     {.merge = c.merge ? Merge::Rectangles : Merge::None}),
            c.expectedHeader + records + "F\r\n");
}

const std::string kSeed12E = "  0\nSECTION\n  9\n$HANDSEED\n  5\n12E\n";

INSTANTIATE_TEST_SUITE_P(
    Export, HandleSeedRule,
    testing::Values(SeedCase{"BelowTheSeed", kSeed12E, 2, false,
                             "  0\r\nSECTION\r\n  9\r\n$HANDSEED\r\n  5\r\n12E\r\n"},
                    SeedCase{"ReachesTheSeed", kSeed12E, 3, false,
                             "  0\r\nSECTION\r\n  9\r\n$HANDSEED\r\n  5\r\n012F\r\n"},
                    SeedCase{"PassesTheSeed", kSeed12E, 5, false,
                             "  0\r\nSECTION\r\n  9\r\n$HANDSEED\r\n  5\r\n0131\r\n"},
                    SeedCase{"MergedBelowTheSeed", kSeed12E, 5, true,
                             "  0\r\nSECTION\r\n  9\r\n$HANDSEED\r\n  5\r\n12E\r\n"},
                    SeedCase{"LowerCaseWithBlanks", "  9\n$HANDSEED\n  5\n 12d \n", 2, false,
                             "  9\r\n$HANDSEED\r\n  5\r\n012E\r\n"},
                    // Hexadecimal letters at both ends of A-F, as digits of their own values.
                    SeedCase{"DigitAReached", "  9\n$HANDSEED\n  5\n12A\n", 1, false,
                             "  9\r\n$HANDSEED\r\n  5\r\n012D\r\n"},
                    SeedCase{"DigitFBelow", "  9\n$HANDSEED\n  5\n12F\n", 3, false,
                             "  9\r\n$HANDSEED\r\n  5\r\n12F\r\n"},
                    SeedCase{"DigitFReached", "  9\n$HANDSEED\n  5\n12F\n", 4, false,
                             "  9\r\n$HANDSEED\r\n  5\r\n0130\r\n"},
                    // Not a variable: the name stands where a group code belongs.
                    SeedCase{"OutOfStep", "$HANDSEED\n  5\n12E\n  0\n", 4, false,
                             "$HANDSEED\r\n  5\r\n12E\r\n  0\r\n"},
                    SeedCase{"NotHexadecimal", "  9\n$HANDSEED\n  5\n12G\n", 4, false,
                             "  9\r\n$HANDSEED\r\n  5\r\n12G\r\n"},
                    SeedCase{"NoSeed", "  9\n$ACADVER\n  1\nAC1018\n", 4, false,
                             "  9\r\n$ACADVER\r\n  1\r\nAC1018\r\n"}),
    [](const testing::TestParamInfo<SeedCase>& info) { return info.param.name; });

// A UTF-16 header: " 9", "$HANDSEED", " 5", "12C", and a one-pixel raster whose handle is 12C.
TEST(HandleSeedRule, KeepsTheHeaderEncoding) {
  TStringList head, foot;
  using namespace std::string_literals;
  head.LoadFromBytes(
      "\xFF\xFE"
      " \0"
      "9\0\n\0$\0H\0A\0N\0D\0S\0E\0E\0D\0\n\0"
      " \0"
      "5\0\n\0"
      "1\0"
      "2\0"
      "C\0\n\0"s);
  StringSink sink;
  WriteDxfDocument(sink, head, RasterOf({"k"}), foot, {});
  const std::string expectedHeader =
      "\xFF\xFE"
      " \0"
      "9\0\r\0\n\0$\0H\0A\0N\0D\0S\0E\0E\0D\0\r\0\n\0"
      " \0"
      "5\0\r\0\n\0"
      "0\0"
      "1\0"
      "2\0"
      "D\0\r\0\n\0"s;
  EXPECT_EQ(sink.data.substr(0, expectedHeader.size()), expectedHeader);
}

}  // namespace
}  // namespace pixdraft

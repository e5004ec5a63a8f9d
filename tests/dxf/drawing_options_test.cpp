// Whole documents for small rasters under each drawing option, compared byte for byte.
#include <gtest/gtest.h>

#include "colour_index.h"
#include "drawing_test_support.h"
#include "dxf_export.h"
#include "trace_record.h"

namespace pixdraft {
namespace {

DrawingOptions Options(const char* pixelSize, std::vector<TColor> leftOut = {},
                       bool merge = false) {
  DrawingOptions options;
  options.pixelSize = PixelSize::Parse(pixelSize).value();
  options.leftOutColours = std::move(leftOut);
  options.merge = merge;
  return options;
}

std::string Document(const std::string& header, const Raster& raster,
                     const DrawingOptions& options) {
  TStringList head, foot;
  head.LoadFromBytes(header);
  foot.LoadFromBytes("F");
  StringSink sink;
  WriteDxfDocument(sink, head, raster, foot, options);
  return sink.data;
}

struct DrawingCase {
  std::string name;
  std::vector<std::string> rows;
  DrawingOptions options;
  std::vector<std::string> records;
};
void PrintTo(const DrawingCase& c, std::ostream* out) { *out << c.name; }

class Drawing : public testing::TestWithParam<DrawingCase> {};

TEST_P(Drawing, WritesExactlyTheseRecords) {
  const DrawingCase& c = GetParam();
  std::string expected = "H\r\n";
  for (const std::string& record : c.records) expected += record;
  expected += "F\r\n";
  EXPECT_EQ(Document("H", RasterOf(c.rows), c.options), expected);
}

std::string CaseName(const testing::TestParamInfo<DrawingCase>& info) { return info.param.name; }

const std::string kRed = "16711680", kBlue = "255", kBlack = "0";

// Coordinates are the pixel size times the whole numbers of a default drawing, exactly: whole
// values as ever, others the shortest decimal of the exact product.
INSTANTIATE_TEST_SUITE_P(
    PixelSize, Drawing,
    testing::Values(DrawingCase{"One",
                                {"r"},
                                Options("1"),
                                {Record("012C", kRed, "0.00000", "0.00000", "1.00000", "1.00000")}},
                    DrawingCase{"Half",
                                {"rb"},
                                Options("0.5"),
                                {Record("012C", kBlue, "0.5", "0.00000", "1.00000", "0.5"),
                                 Record("012D", kRed, "0.00000", "0.00000", "0.5", "0.5")}},
                    // 3 * 0.1 in binary floating point is 0.30000000000000004.
                    DrawingCase{"Tenth",
                                {"kkk"},
                                Options(".1"),
                                {Record("012C", kBlack, "0.2", "0.00000", "0.3", "0.1"),
                                 Record("012D", kBlack, "0.1", "0.00000", "0.2", "0.1"),
                                 Record("012E", kBlack, "0.00000", "0.00000", "0.1", "0.1")}},
                    DrawingCase{"RowsGoDown",
                                {"r", "b"},
                                Options("2.5"),
                                {Record("012C", kRed, "0.00000", "0.00000", "2.5", "2.5"),
                                 Record("012D", kBlue, "0.00000", "-2.5", "2.5", "0.00000")}}),
    CaseName);

// Left-out squares take no handle: the others count on from 012C without a gap.
INSTANTIATE_TEST_SUITE_P(
    LeftOut, Drawing,
    testing::Values(
        DrawingCase{"WhiteLeftOut",
                    {"rw", "wb"},
                    Options("1", {RGB(255, 255, 255)}),
                    {Record("012C", kBlue, "1.00000", "-1.00000", "2.00000", "0.00000"),
                     Record("012D", kRed, "0.00000", "0.00000", "1.00000", "1.00000")}},
        DrawingCase{"NoSquarePixels",
                    {".r", "b."},
                    Options("1"),
                    {Record("012C", kRed, "1.00000", "0.00000", "2.00000", "1.00000"),
                     Record("012D", kBlue, "0.00000", "-1.00000", "1.00000", "0.00000")}},
        DrawingCase{
            "EveryColourLeftOut", {"rg"}, Options("1", {RGB(0, 255, 0), RGB(255, 0, 0)}), {}},
        DrawingCase{"AbsentColour",
                    {"rk"},
                    Options("1", {RGB(0, 0, 255)}),
                    {Record("012C", kBlack, "1.00000", "0.00000", "2.00000", "1.00000"),
                     Record("012D", kRed, "0.00000", "0.00000", "1.00000", "1.00000")}}),
    CaseName);

// Each merged square comes where its top-left pixel comes in the pixel walk.
INSTANTIATE_TEST_SUITE_P(
    Merge, Drawing,
    testing::Values(
        DrawingCase{"Flat",
                    {"rr", "rr"},
                    Options("1", {}, true),
                    {Record("012C", kRed, "0.00000", "-1.00000", "2.00000", "1.00000")}},
        DrawingCase{"TwoColumns",
                    {"rb", "rb"},
                    Options("1", {}, true),
                    {Record("012C", kBlue, "1.00000", "-1.00000", "2.00000", "1.00000"),
                     Record("012D", kRed, "0.00000", "-1.00000", "1.00000", "1.00000")}},
        // Column 0's run of two is not column 1's run of one: they stay apart.
        DrawingCase{"LShape",
                    {"rr", "rb"},
                    Options("1", {}, true),
                    {Record("012C", kRed, "1.00000", "0.00000", "2.00000", "1.00000"),
                     Record("012D", kBlue, "1.00000", "-1.00000", "2.00000", "0.00000"),
                     Record("012E", kRed, "0.00000", "-1.00000", "1.00000", "1.00000")}},
        DrawingCase{"JoinsToTheLeft",
                    {"bbr"},
                    Options("1", {}, true),
                    {Record("012C", kRed, "2.00000", "0.00000", "3.00000", "1.00000"),
                     Record("012D", kBlue, "0.00000", "0.00000", "2.00000", "1.00000")}},
        DrawingCase{"GapsKeepSquaresApart",
                    {"r.r", "rwr"},
                    Options("1", {RGB(255, 255, 255)}, true),
                    {Record("012C", kRed, "2.00000", "-1.00000", "3.00000", "1.00000"),
                     Record("012D", kRed, "0.00000", "-1.00000", "1.00000", "1.00000")}},
        DrawingCase{"OrderOfTopLeftPixels",
                    {"rbb", "kkk"},
                    Options("1", {}, true),
                    {Record("012C", kBlue, "1.00000", "0.00000", "3.00000", "1.00000"),
                     Record("012D", kRed, "0.00000", "0.00000", "1.00000", "1.00000"),
                     Record("012E", kBlack, "0.00000", "-1.00000", "3.00000", "0.00000")}},
        DrawingCase{"WithPixelSize",
                    {"rr"},
                    Options("0.5", {}, true),
                    {Record("012C", kRed, "0.00000", "0.00000", "1.00000", "0.5")}}),
    CaseName);

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
    records = Record("012C", kBlack, "0.00000", "0.00000", FormatCoordinate(c.pixels), "1.00000");
  } else {
    for (int i = 0; i < c.pixels; ++i) {
      const int x = c.pixels - 1 - i;
      records += Record(HandleText(300 + i), kBlack, FormatCoordinate(x), "0.00000",
                        FormatCoordinate(x + 1), "1.00000");
    }
  }
  EXPECT_EQ(Document(c.header, RasterOf({std::string(c.pixels, 'k')}), Options("1", {}, c.merge)),
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

// Greys stay grey (never 7, whose colour depends on the background); colours take the nearest.
TEST(ColourIndex, NearestToGreysAndPrimaries) {
  const std::pair<TColor, int> table[] = {
      {RGB(0, 0, 0), 250},       {RGB(60, 60, 60), 250},    {RGB(100, 100, 100), 252},
      {RGB(128, 128, 128), 8},   {RGB(160, 160, 160), 253}, {RGB(192, 192, 192), 9},
      {RGB(250, 250, 250), 255}, {RGB(255, 255, 255), 255}, {RGB(255, 0, 0), 1},
      {RGB(255, 255, 0), 2},     {RGB(0, 255, 0), 3},       {RGB(0, 255, 255), 4},
      {RGB(0, 0, 255), 5},       {RGB(255, 0, 255), 6},     {RGB(255, 128, 0), 30},
      {RGB(128, 0, 0), 14},      {RGB(255, 254, 255), 255}, {RGB(40, 20, 24), 249}};
  for (const auto& [colour, index] : table) {
    EXPECT_EQ(NearestColourIndex(colour), index) << std::hex << colour;
  }
  EXPECT_EQ(ColourIndexColour(11), RGB(255, 127, 127));
  EXPECT_EQ(ColourIndexColour(249), RGB(38, 19, 23));
  EXPECT_EQ(ColourIndexColour(250), RGB(51, 51, 51));
}

TEST(ParseColour, ReadsSixHexadecimalDigits) {
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

// Whole documents for small rasters under each drawing option, compared byte for byte.
#include <gtest/gtest.h>

#include "drawing_test_support.h"
#include "dxf/colour_index.h"
#include "dxf/dxf_export.h"

namespace pixdraft {
namespace {

DrawingOptions Options(const char* pixelSize, std::vector<TColor> leftOut = {},
                       bool merge = false) {
  DrawingOptions options;
  options.pixelSize = PixelSize::Parse(pixelSize).value();
  options.leftOutColours = std::move(leftOut);
  options.merge = merge ? Merge::Rectangles : Merge::None;
  return options;
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

const std::string kRed = "16711680", kBlue = "255", kBlack = "0", kWhite = "16777215";

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

// Regions in the reading order of their first pixels, each loop from its topmost, leftmost
// corner, holes clockwise; where red touches itself at a corner (2, 2), its outline splits into
// two loops that meet there, and the two white regions that touch there stay apart.
INSTANTIATE_TEST_SUITE_P(
    Regions, Drawing,
    testing::Values(DrawingCase{"RingWithHole",
                                {"rrr", "rwr", "rrr"},
                                {.merge = Merge::Regions, .entity = EntityKind::Polyline},
                                {Polyline("012C", kRed, "0,0 0,3 3,3 3,0"),
                                 Polyline("012D", kRed, "1,1 2,1 2,2 1,2"),
                                 Polyline("012E", kWhite, "1,1 1,2 2,2 2,1")}},
                    DrawingCase{"TouchesItselfAtACorner",
                                {"rrr", "rwr", "rrw"},
                                {.merge = Merge::Regions, .entity = EntityKind::Polyline},
                                {Polyline("012C", kRed, "0,0 0,3 2,3 2,2 3,2 3,0"),
                                 Polyline("012D", kRed, "1,1 2,1 2,2 1,2"),
                                 Polyline("012E", kWhite, "1,1 1,2 2,2 2,1"),
                                 Polyline("012F", kWhite, "2,2 2,3 3,3 3,2")}},
                    DrawingCase{"RegionAroundRegion",
                                {"bbbb", "brrb", "brrb", "bbbb"},
                                {.merge = Merge::Regions, .entity = EntityKind::Hatch},
                                {Hatch("012C", kBlue, {"0,0 0,4 4,4 4,0", "1,1 3,1 3,3 1,3"}),
                                 Hatch("012D", kRed, {"1,1 1,3 3,3 3,1"})}},
                    DrawingCase{"Checkerboard",
                                {"rb", "br"},
                                {.merge = Merge::Regions, .entity = EntityKind::Polyline},
                                {Polyline("012C", kRed, "0,0 0,1 1,1 1,0"),
                                 Polyline("012D", kBlue, "1,0 1,1 2,1 2,0"),
                                 Polyline("012E", kBlue, "0,1 0,2 1,2 1,1"),
                                 Polyline("012F", kRed, "1,1 1,2 2,2 2,1")}},
                    DrawingCase{"OneRow",
                                {"rrb"},
                                {.merge = Merge::Regions, .entity = EntityKind::Polyline},
                                {Polyline("012C", kRed, "0,0 0,1 2,1 2,0"),
                                 Polyline("012D", kBlue, "2,0 2,1 3,1 3,0")}},
                    DrawingCase{"OneColumn",
                                {"r", "r", "b"},
                                {.merge = Merge::Regions, .entity = EntityKind::Hatch},
                                {Hatch("012C", kRed, {"0,0 0,2 1,2 1,0"}),
                                 Hatch("012D", kBlue, {"0,2 0,3 1,3 1,2"})}}),
    CaseName);

// Parted corners go a 32nd of a pixel back along both edges, only where two pixels of the loop's
// colour touch at that corner alone: regions that touched come apart, a region that touched itself
// is bridged.
INSTANTIATE_TEST_SUITE_P(
    PartedCorners, Drawing,
    testing::Values(
        DrawingCase{"Checkerboard",
                    {"rb", "br"},
                    {.merge = Merge::Regions, .entity = EntityKind::Polyline, .partCorners = true},
                    {Polyline("012C", kRed, "0,0 0,1 0.96875,1 1,0.96875 1,0"),
                     Polyline("012D", kBlue, "1,0 1,0.96875 1.03125,1 2,1 2,0"),
                     Polyline("012E", kBlue, "0,1 0,2 1,2 1,1.03125 0.96875,1"),
                     Polyline("012F", kRed, "1.03125,1 1,1.03125 1,2 2,2 2,1")}},
        DrawingCase{
            "WhereARegionTouchesItself",
            {"rrr", "rwr", "rrb"},
            {.merge = Merge::Regions, .entity = EntityKind::Hatch, .partCorners = true},
            {Hatch("012C", kRed,
                   {"0,0 0,3 2,3 2,2.03125 2.03125,2 3,2 3,0", "1,1 2,1 2,1.96875 1.96875,2 1,2"}),
             Hatch("012D", kWhite, {"1,1 1,2 2,2 2,1"}),
             Hatch("012E", kBlue, {"2,2 2,3 3,3 3,2"})}}),
    CaseName);

// Outlines: each HATCH, then its loops as LWPOLYLINEs, squares too.
INSTANTIATE_TEST_SUITE_P(
    Outlines, Drawing,
    testing::Values(
        DrawingCase{
            "RegionAroundRegion",
            {"bbb", "brb", "bbb"},
            {.merge = Merge::Regions, .entity = EntityKind::Hatch, .outlines = true},
            {Hatch("012C", kBlue, {"0,0 0,3 3,3 3,0", "1,1 2,1 2,2 1,2"}),
             Polyline("012D", kBlue, "0,0 0,3 3,3 3,0"), Polyline("012E", kBlue, "1,1 2,1 2,2 1,2"),
             Hatch("012F", kRed, {"1,1 1,2 2,2 2,1"}), Polyline("0130", kRed, "1,1 1,2 2,2 2,1")}},
        DrawingCase{
            "Squares",
            {"rr"},
            {.merge = Merge::Rectangles, .entity = EntityKind::Hatch, .outlines = true},
            {Hatch("012C", kRed, {"0,0 0,1 2,1 2,0"}), Polyline("012D", kRed, "0,0 0,1 2,1 2,0")}}),
    CaseName);

// SOLID has TRACE's groups; outlines start at the top-left corner and run anticlockwise.
// Layers take the first handles (the header "H" has no table to declare them in); group 62
// comes before 420. Bottom-left puts the raster's lower-left corner at (0, 0).
INSTANTIATE_TEST_SUITE_P(
    EntitiesLayersColourIndexOrigin, Drawing,
    testing::Values(
        DrawingCase{"Solid",
                    {"r"},
                    {.entity = EntityKind::Solid},
                    {Styled(Record("012C", kRed, "0.00000", "0.00000", "1.00000", "1.00000"), "0",
                            "", "SOLID")}},
        DrawingCase{"HatchPerSquare",
                    {"r"},
                    {.entity = EntityKind::Hatch},
                    {Hatch("012C", kRed, {"0,0 0,1 1,1 1,0"})}},
        DrawingCase{"LayersAndColourIndex",
                    {"rk"},
                    {.colourIndex = true, .layers = true},
                    {Styled(Record("012E", kBlack, "1.00000", "0.00000", "2.00000", "1.00000"),
                            "C_000000", "250"),
                     Styled(Record("012F", kRed, "0.00000", "0.00000", "1.00000", "1.00000"),
                            "C_FF0000", "1")}},
        DrawingCase{"ColourIndexOfAnOutline",
                    {"b"},
                    {.entity = EntityKind::Polyline, .colourIndex = true},
                    {Styled(Polyline("012C", kBlue, "0,0 0,1 1,1 1,0"), "0", "5")}},
        DrawingCase{"BottomLeft",
                    {"r", "b"},
                    {.origin = Origin::BottomLeft},
                    {Record("012C", kRed, "0.00000", "1.00000", "1.00000", "2.00000"),
                     Record("012D", kBlue, "0.00000", "0.00000", "1.00000", "1.00000")}}),
    CaseName);

// A header with the places options change: $INSUNITS, $HANDSEED, the active viewport (its
// aspect 2) and the layer table.
const std::string kTemplate =
    "  0\nSECTION\n  2\nHEADER\n  9\n$INSUNITS\n 70\n0\n  9\n$HANDSEED\n  5\n12E\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nVPORT\n  0\nVPORT\n  2\n*Active\n 12\n128.0\n"
    " 22\n-128.0\n 40\n300.0\n 41\n2.0\n  0\nENDTAB\n  0\nTABLE\n  2\nLAYER\n  5\n2\n 70\n1\n"
    "  0\nLAYER\n  2\n0\n  0\nENDTAB\n  0\nENDSEC\n";

struct HeaderCase {
  std::string name;
  std::vector<std::string> rows;
  DrawingOptions options;
  // The template's changes, each text replaced by another (LF line ends).
  std::vector<std::pair<std::string, std::string>> changes;
};
void PrintTo(const HeaderCase& c, std::ostream* out) { *out << c.name; }

class HeaderRule : public testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderRule, ChangesTheHeaderOnlyAsTheOptionsNeed) {
  const HeaderCase& c = GetParam();
  std::string expected = kTemplate;
  for (const auto& [from, to] : c.changes) {
    ASSERT_NE(expected.find(from), std::string::npos) << from;
    expected.replace(expected.find(from), from.size(), to);
  }
  for (std::size_t at = 0; (at = expected.find('\n', at)) != std::string::npos; at += 2) {
    expected.insert(at, "\r");
  }
  const std::string document = Document(kTemplate, RasterOf(c.rows), c.options);
  EXPECT_EQ(document.substr(0, document.rfind("ENDSEC\r\n") + 8), expected);
}

const std::string kHeaderEnd = "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES";

std::string Extent(const char* minX, const char* minY, const char* maxX, const char* maxY) {
  return std::string("  9\n$EXTMIN\n 10\n") + minX + "\n 20\n" + minY +
         "\n 30\n0.0\n  9\n$EXTMAX\n 10\n" + maxX + "\n 20\n" + maxY + "\n 30\n0.0\n";
}
const std::string kView = " 12\n128.0\n 22\n-128.0\n 40\n300.0";

INSTANTIATE_TEST_SUITE_P(
    Export, HeaderRule,
    testing::Values(
        HeaderCase{"DefaultLeavesItAlone", {"rk"}, {}, {}},
        HeaderCase{"Millimetres",
                   {"rk"},
                   {.units = ParseUnit("mm")},
                   {{"$INSUNITS\n 70\n0", "$INSUNITS\n 70\n4"},
                    {kHeaderEnd, "  9\n$MEASUREMENT\n 70\n1\n" + kHeaderEnd}}},
        HeaderCase{"Metres",
                   {"rk"},
                   {.units = ParseUnit("m")},
                   {{"$INSUNITS\n 70\n0", "$INSUNITS\n 70\n6"},
                    {kHeaderEnd, "  9\n$MEASUREMENT\n 70\n1\n" + kHeaderEnd}}},
        HeaderCase{"Feet",
                   {"rk"},
                   {.units = ParseUnit("ft")},
                   {{"$INSUNITS\n 70\n0", "$INSUNITS\n 70\n2"},
                    {kHeaderEnd, "  9\n$MEASUREMENT\n 70\n0\n" + kHeaderEnd}}},
        // Two layers and two squares: handles 12C to 12F pass the seed 12E.
        HeaderCase{"LayersRaiseTheSeed",
                   {"rk"},
                   {.layers = true},
                   {{"  5\n12E", "  5\n0130"},
                    {"  5\n2\n 70\n1", "  5\n2\n 70\n3"},
                    {"  2\n0\n  0\nENDTAB",
                     "  2\n0\n  0\nLAYER\n  5\n012C\n330\n2\n100\nAcDbSymbolTableRecord\n100\n"
                     "AcDbLayerTableRecord\n  2\nC_000000\n 70\n0\n 62\n7\n420\n0\n  6\n"
                     "Continuous\n  0\nLAYER\n  5\n012D\n330\n2\n100\nAcDbSymbolTableRecord\n"
                     "100\nAcDbLayerTableRecord\n  2\nC_FF0000\n 70\n0\n 62\n7\n420\n16711680\n"
                     "  6\nContinuous\n  0\nENDTAB"}}},
        // Half units: 1 x 0.5 around (0.5, 0.25), in a view twice as wide as it is high.
        HeaderCase{"PixelSize",
                   {"rk"},
                   Options("0.5"),
                   {{kHeaderEnd,
                     "  9\n$EXTMIN\n 10\n0.00000\n 20\n0.00000\n 30\n0.0\n  9\n$EXTMAX\n 10\n"
                     "1.00000\n 20\n0.5\n 30\n0.0\n" +
                         kHeaderEnd},
                    {kView, " 12\n0.5\n 22\n0.25\n 40\n0.55"}}},
        HeaderCase{"NothingDrawn", {".."}, Options("2"), {}},
        // One edge of the raster left out, each in turn: the extent shrinks from that side.
        HeaderCase{"LeftColumnLeftOut",
                   {".r", ".r"},
                   {},
                   {{kHeaderEnd, Extent("1.00000", "-1.00000", "2.00000", "1.00000") + kHeaderEnd},
                    {kView, " 12\n1.5\n 22\n0.0\n 40\n2.2"}}},
        HeaderCase{"RightColumnLeftOut",
                   {"r.", "r."},
                   {},
                   {{kHeaderEnd, Extent("0.00000", "-1.00000", "1.00000", "1.00000") + kHeaderEnd},
                    {kView, " 12\n0.5\n 22\n0.0\n 40\n2.2"}}},
        HeaderCase{"TopRowLeftOut",
                   {"..", "rr"},
                   {},
                   {{kHeaderEnd, Extent("0.00000", "-1.00000", "2.00000", "0.00000") + kHeaderEnd},
                    {kView, " 12\n1.0\n 22\n-0.5\n 40\n1.1"}}},
        HeaderCase{"BottomRowLeftOut",
                   {"rr", ".."},
                   {},
                   {{kHeaderEnd, Extent("0.00000", "0.00000", "2.00000", "1.00000") + kHeaderEnd},
                    {kView, " 12\n1.0\n 22\n0.5\n 40\n1.1"}}},
        // One region, but the seed is set past as many handles as there are drawn pixels.
        HeaderCase{"RegionsPassTheSeedByPixels",
                   {"rrr"},
                   {.merge = Merge::Regions, .entity = EntityKind::Polyline},
                   {{"  5\n12E", "  5\n012F"}}},
        // Outlines: twice as many.
        HeaderCase{"OutlinesPassTheSeedByTwicePixels",
                   {"rrr"},
                   {.merge = Merge::Regions, .entity = EntityKind::Hatch, .outlines = true},
                   {{"  5\n12E", "  5\n0132"}}}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

// Greys stay grey (never 7, whose colour depends on the background); colours take the nearest.
TEST(ColourIndex, NearestToGreysAndPrimaries) {
  const std::pair<TColor, int> table[] = {
      {RGB(0, 0, 0), 250},       {RGB(100, 100, 100), 252}, {RGB(128, 128, 128), 8},
      {RGB(160, 160, 160), 253}, {RGB(192, 192, 192), 9},   {RGB(255, 255, 255), 255},
      {RGB(255, 0, 0), 1},       {RGB(255, 255, 0), 2},     {RGB(0, 255, 0), 3},
      {RGB(0, 255, 255), 4},     {RGB(0, 0, 255), 5},       {RGB(255, 0, 255), 6},
      {RGB(255, 128, 0), 30},    {RGB(255, 254, 255), 255}, {RGB(40, 20, 24), 249}};
  for (const auto& [colour, index] : table) {
    EXPECT_EQ(NearestColourIndex(colour), index) << std::hex << colour;
  }
  EXPECT_EQ(ColourIndexColour(249), RGB(38, 19, 23));
}

}  // namespace
}  // namespace pixdraft

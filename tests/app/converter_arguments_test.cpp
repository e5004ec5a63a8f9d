#include "app/converter_arguments.h"

#include <gtest/gtest.h>

#include <cctype>

namespace pixdraft {
namespace {

using Args = std::vector<std::string>;

void PrintArgs(const Args& args, std::ostream* out) {
  for (const std::string& arg : args) *out << (&arg == &args.front() ? "" : " ") << arg;
}

struct Accepted {
  Args args;
  int side = 256;
  bool keepAspect = false, leaveOutTransparent = false;
  Merge merge = Merge::None;
  EntityKind entity = EntityKind::Trace;
  bool colourIndex = false, layers = false;
  std::optional<Unit> units = {};
  Origin origin = Origin::TopLeft;
  bool quiet = false;
  const char* pixelSize = "1";
  std::vector<TColor> leftOut = {};
  std::optional<std::string> output = {};
  Args pictures = {"a.png"};
  std::optional<std::string> palette = {}, counts = {};
  int colours = 0;
  bool dither = false;
};
void PrintTo(const Accepted& c, std::ostream* out) { PrintArgs(c.args, out); }

// The row's number and the letters and digits of its arguments: "3___size_64_a_png".
template <typename Case>
std::string ArgumentsName(const testing::TestParamInfo<Case>& info) {
  std::string name = std::to_string(info.index);
  for (const std::string& arg : info.param.args) {
    name += '_';
    for (const char c : arg) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  return name;
}

class AcceptedArguments : public testing::TestWithParam<Accepted> {};

TEST_P(AcceptedArguments, GiveTheseOptions) {
  const Accepted& c = GetParam();
  const ParsedCommandLine parsed = ParseConverterArguments(c.args);
  ASSERT_EQ(parsed.action, ParsedCommandLine::Action::Convert) << parsed.problem;
  const ConversionOptions& options = parsed.arguments.options;
  EXPECT_EQ(options.fit.side, c.side);
  EXPECT_EQ(options.fit.keepAspect, c.keepAspect);
  EXPECT_EQ(options.fit.leaveOutTransparent, c.leaveOutTransparent);
  EXPECT_EQ(options.drawing.merge, c.merge);
  EXPECT_EQ(parsed.arguments.quiet, c.quiet);
  EXPECT_EQ(options.drawing.entity, c.entity);
  EXPECT_EQ(options.drawing.colourIndex, c.colourIndex);
  EXPECT_EQ(options.drawing.layers, c.layers);
  EXPECT_EQ(options.drawing.units, c.units);
  EXPECT_EQ(options.drawing.origin, c.origin);
  EXPECT_EQ(options.drawing.pixelSize, PixelSize::Parse(c.pixelSize).value());
  EXPECT_EQ(options.drawing.leftOutColours, c.leftOut);
  EXPECT_EQ(parsed.arguments.output, c.output);
  EXPECT_EQ(parsed.arguments.pictures, c.pictures);
  EXPECT_EQ(parsed.arguments.palette, c.palette);
  EXPECT_EQ(parsed.arguments.counts, c.counts);
  EXPECT_EQ(options.reduction.colours, c.colours);
  EXPECT_EQ(options.reduction.dither, c.dither);
}

INSTANTIATE_TEST_SUITE_P(
    Converter, AcceptedArguments,
    testing::Values(Accepted{.args = {"a.png"}},
                    Accepted{.args = {"-s", "64", "a.png"}, .side = 64},
                    Accepted{.args = {"-s64", "a.png"}, .side = 64},
                    Accepted{.args = {"--size=64", "a.png"}, .side = 64},
                    Accepted{.args = {"--size", "4096", "a.png", "--size", "1"}, .side = 1},
                    Accepted{.args = {"--keep-aspect", "a.png", "--skip-transparent", "--merge"},
                             .keepAspect = true,
                             .leaveOutTransparent = true,
                             .merge = Merge::Rectangles},
                    Accepted{.args = {"--pixel-size", "0.25", "a.png"}, .pixelSize = "0.25"},
                    Accepted{.args = {"--entity", "hatch", "--merge=regions", "--colour-index",
                                      "--layers", "--units=in", "--origin", "bottom-left", "a.png"},
                             .merge = Merge::Regions,
                             .entity = EntityKind::Hatch,
                             .colourIndex = true,
                             .layers = true,
                             .units = ParseUnit("in"),
                             .origin = Origin::BottomLeft},
                    // The last --merge counts; --merge=regions checks the entity at the end.
                    Accepted{.args = {"--merge=regions", "--merge=rectangles", "--entity=solid",
                                      "--color-index", "a.png"},
                             .merge = Merge::Rectangles,
                             .entity = EntityKind::Solid,
                             .colourIndex = true},
                    Accepted{.args = {"--skip-colour", "#FFFFFF", "--skip-color=00ff80", "a.png"},
                             .leftOut = {RGB(255, 255, 255), RGB(0, 255, 128)}},
                    Accepted{.args = {"-o", "-", "a.png"}, .output = "-"},
                    Accepted{.args = {"-oout.dxf", "a.png"}, .output = "out.dxf"},
                    Accepted{.args = {"--output=x.dxf", "a.png"}, .output = "x.dxf"},
                    Accepted{.args = {"--", "-s", "--merge"}, .pictures = {"-s", "--merge"}},
                    Accepted{.args = {"-q", "-o", "x.dxf", "-"},
                             .quiet = true,
                             .output = "x.dxf",
                             .pictures = {"-"}},
                    Accepted{.args = {"a.png", "", "b.png"}, .pictures = {"a.png", "", "b.png"}},
                    Accepted{.args = {"--palette", "t.txt", "--colours=2", "--dither", "a.png"},
                             .palette = "t.txt",
                             .colours = 2,
                             .dither = true},
                    Accepted{.args = {"--colors", "256", "--counts", "-", "-o", "a.dxf", "a.png"},
                             .output = "a.dxf",
                             .counts = "-",
                             .colours = 256},
                    // Options given with a profile override it, before it or after.
                    Accepted{.args = {"--units", "cm", "--for", "laser", "--entity=hatch", "a.png"},
                             .leaveOutTransparent = true,
                             .merge = Merge::Regions,
                             .entity = EntityKind::Hatch,
                             .colourIndex = true,
                             .layers = true,
                             .units = ParseUnit("cm"),
                             .origin = Origin::BottomLeft}),
    ArgumentsName<Accepted>);

struct Rejected {
  Args args;
  std::string problem;
};
void PrintTo(const Rejected& c, std::ostream* out) { PrintArgs(c.args, out); }

class RejectedArguments : public testing::TestWithParam<Rejected> {};

TEST_P(RejectedArguments, AreAUsageErrorWithThisLine) {
  const ParsedCommandLine parsed = ParseConverterArguments(GetParam().args);
  EXPECT_EQ(parsed.action, ParsedCommandLine::Action::UsageError);
  EXPECT_EQ(parsed.problem, GetParam().problem);
}

const std::string kSizeRange = " takes a whole number from 1 to 4096, not ";
const std::string kPixelSizeRange =
    "--pixel-size takes a decimal number above 0, at most 1000000 with at most 9 decimals, not ";

INSTANTIATE_TEST_SUITE_P(
    Converter, RejectedArguments,
    testing::Values(
        Rejected{{"--size", "0", "a.png"}, "--size" + kSizeRange + "\"0\""},
        Rejected{{"-s", "4097", "a.png"}, "-s" + kSizeRange + "\"4097\""},
        Rejected{{"--size=+5", "a.png"}, "--size" + kSizeRange + "\"+5\""},
        Rejected{{"--size=", "a.png"}, "--size" + kSizeRange + "\"\""},
        Rejected{{"-s", "99999999999", "a.png"}, "-s" + kSizeRange + "\"99999999999\""},
        Rejected{{"a.png", "--size"}, "--size needs a number"},
        Rejected{{"--pixel-size", "0", "a.png"}, kPixelSizeRange + "\"0\""},
        Rejected{{"--pixel-size", "1e3", "a.png"}, kPixelSizeRange + "\"1e3\""},
        Rejected{{"--skip-colour", "white", "a.png"},
                 "--skip-colour takes a colour as RRGGBB in hexadecimal, not \"white\""},
        Rejected{{"--skip-color", "FFF", "a.png"},
                 "--skip-color takes a colour as RRGGBB in hexadecimal, not \"FFF\""},
        Rejected{{"--merge=yes", "a.png"}, "--merge takes rectangles or regions, not \"yes\""},
        Rejected{{"--merge=", "a.png"}, "--merge takes rectangles or regions, not \"\""},
        Rejected{{"--merge=regions", "a.png"},
                 "--merge=regions needs --entity hatch or --entity polyline"},
        Rejected{{"--part-corners", "--merge", "--entity=polyline", "a.png"},
                 "--part-corners needs --merge=regions"},
        Rejected{{"--outlines", "--entity=solid", "a.png"}, "--outlines needs --entity hatch"},
        Rejected{{"--entity", "circle", "a.png"},
                 "--entity takes trace, solid, hatch or polyline, not \"circle\""},
        Rejected{{"--units", "yd", "a.png"}, "--units takes mm, cm, m, in or ft, not \"yd\""},
        Rejected{{"--origin=centre", "a.png"},
                 "--origin takes top-left or bottom-left, not \"centre\""},
        Rejected{{"--layers=yes", "a.png"}, "--layers takes no value"},
        Rejected{{"--keep", "a.png"}, "unknown option --keep"},
        Rejected{{"--frobnicate=1", "a.png"}, "unknown option --frobnicate"},
        Rejected{{"-x", "a.png"}, "unknown option -x"},
        Rejected{{"-", "a.png"}, "a picture from standard input needs --output"},
        Rejected{{"--quiet=no", "a.png"}, "--quiet takes no value"},
        Rejected{{"-o", "x.dxf", "a.png", "b.png"}, "--output takes one picture, not 2"},
        Rejected{{"-o", "", "a.png"}, "-o needs a file name"},
        Rejected{{"a.png", "-o"}, "-o needs a file name"},
        Rejected{{"--templates=", "a.png"}, "--templates needs a folder name"},
        Rejected{{"--merge"}, "missing picture operand"},
        Rejected{{"--colours", "1", "a.png"},
                 "--colours takes a whole number from 2 to 256, not \"1\""},
        Rejected{{"--colors=257", "a.png"},
                 "--colors takes a whole number from 2 to 256, not \"257\""},
        Rejected{{"--dither", "a.png"}, "--dither needs --palette or --colours"},
        Rejected{{"--palette=", "a.png"}, "--palette needs a file name"},
        Rejected{{"--counts", "c.csv", "a.png", "b.png"}, "--counts takes one picture, not 2"},
        Rejected{{"--counts", "-", "-o", "-", "a.png"},
                 "--counts - needs the drawing in a file, not on standard output"},
        Rejected{{"--for=lazer", "a.png"},
                 "--for takes plain, laser, cad, 3d, vector, mosaic, not \"lazer\""},
        Rejected{{"--for", "mosaic", "--counts", "c.csv", "a.png"},
                 "--for mosaic: a mosaic needs --palette FILE"},
        Rejected{{"--for", "laser", "--entity", "trace", "a.png"},
                 "--for laser: --merge=regions needs --entity hatch or --entity polyline"}),
    ArgumentsName<Rejected>);

// The help's options and their entries in the manual page: check_manual_pages.sh.
TEST(ConverterHelp, ComesBeforeAnyProblem) {
  EXPECT_EQ(ParseConverterArguments({"a.png", "--help", "--size=0"}).action,
            ParsedCommandLine::Action::ShowHelp);
  EXPECT_EQ(ParseConverterArguments({"-V", "-h"}).action, ParsedCommandLine::Action::ShowVersion);
}

}  // namespace
}  // namespace pixdraft

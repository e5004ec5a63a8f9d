#include "app/converter_arguments.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "conversion/profiles.h"

namespace pixdraft {
namespace {

const char kUsage[] =
    "Usage: pixdraft-convert [OPTION]... PICTURE...\n"
    "Converts each PICTURE into a DXF drawing beside it: one filled square per pixel, the\n"
    "picture fitted into at most 256 x 256 pixels.\n"
    "\n"
    "      --for NAME          draw with the options of the profile NAME (below); options given\n"
    "                          with it override the profile's, whatever their order\n"
    "  -s, --size N            fit into at most N x N pixels, N from 1 to 4096 (default 256);\n"
    "                          a larger picture is sampled to exactly N x N\n"
    "      --keep-aspect       sample a larger picture with its proportions, its longer side N\n"
    "      --pixel-size S      make each square S drawing units wide, S a decimal above 0, at\n"
    "                          most 1000000 with at most 9 decimals (default 1)\n"
    "      --skip-transparent  leave out fully transparent pixels (default: white squares)\n"
    "      --skip-background   leave out the colour of the four corners where it reaches the\n"
    "                          picture's edge (after --colours and --palette)\n"
    "      --skip-colour RRGGBB\n"
    "                          leave out squares of this colour (hexadecimal, \"#\" optional);\n"
    "                          may be repeated; --skip-color is the same\n"
    "      --merge             draw squares of one colour that form a rectangle as one: runs\n"
    "                          down each column, joined with equal runs to their left\n"
    "      --merge=regions     draw each 4-connected region of one colour as one shape, its\n"
    "                          outline and holes on the pixel edges (hatch and polyline only)\n"
    "      --outlines          follow each hatch by its outlines as polylines, for readers\n"
    "                          that draw no hatch (with --entity hatch)\n"
    "      --part-corners      cut outlines of one colour back by 1/32 pixel where they touch\n"
    "                          at a corner, for OpenSCAD and FreeCAD (with --merge=regions)\n"
    "      --entity KIND       draw squares or shapes as trace (default), solid, hatch (filled\n"
    "                          outlines) or polyline (closed outlines only, for cutting)\n"
    "      --colour-index      give every entity and layer the nearest AutoCAD Colour Index\n"
    "                          too (group 62); --color-index is the same\n"
    "      --layers            put every colour on a layer of its own, named C_RRGGBB (at\n"
    "                          most 4096 colours)\n"
    "      --units UNIT        name the drawing unit: mm, cm, m, in or ft\n"
    "      --origin CORNER     top-left (default: the picture hangs below y = 1) or\n"
    "                          bottom-left (the raster's lower-left corner at 0, 0)\n"
    "      --palette FILE      draw in the colours of FILE, each pixel in the nearest by CIELAB\n"
    "                          (a colour RRGGBB a line, \"#\" optional, then a name if any)\n"
    "      --colours N         draw in at most N colours, 2 to 256, chosen from the picture or\n"
    "                          from the palette; --colors is the same\n"
    "      --dither            spread each pixel's colour error to its neighbours\n"
    "                          (Floyd-Steinberg), for photos; needs --palette or --colours\n"
    "      --counts FILE       write each colour's squares, entities and area as CSV to FILE\n"
    "                          (one PICTURE only); \"-\" writes it to standard output\n"
    "  -o, --output PATH       write the DXF to PATH (one PICTURE only); \"-\" writes it to\n"
    "                          standard output\n"
    "      --templates DIR     read pixdraft.dx1 and pixdraft.dx2 from DIR (default: the current\n"
    "                          directory when it holds both, else the installed ones)\n"
    "  -q, --quiet             print no confirmations; errors still go to standard error\n"
    "  -h, --help              show this help\n"
    "  -V, --version           show the version\n"
    "\n"
    "A PICTURE of \"-\" is read from standard input; its DXF then needs --output.\n"
    "\n"
    "Profiles (--for), each a set of the options above tried in the programs it is for:\n"
    "%PROFILES%"
    "\n"
    "Exit status: 0 when every picture was converted, 1 when any failed, 2 for a usage error.\n";

enum class Option {
  For,
  Size,
  KeepAspect,
  PixelSize,
  SkipTransparent,
  SkipBackground,
  SkipColour,
  Merge,
  PartCorners,
  Outlines,
  Entity,
  ColourIndex,
  Layers,
  Units,
  Origin,
  Palette,
  Colours,
  Dither,
  Counts,
  Output,
  Templates,
  Quiet,
  Help,
  Version
};

struct KnownOption {
  std::string_view name;  // without the dashes
  char letter;            // the short form, or 0
  Option option;
  std::string_view value;      // what the option needs, as its error names it; empty for a flag
  bool valueOptional = false;  // the value comes only after "=": "--merge", "--merge=regions"
};

constexpr KnownOption kOptions[] = {
    {"for", 0, Option::For, "a profile name"},
    {"size", 's', Option::Size, "a number"},
    {"keep-aspect", 0, Option::KeepAspect, {}},
    {"pixel-size", 0, Option::PixelSize, "a number"},
    {"skip-transparent", 0, Option::SkipTransparent, {}},
    {"skip-background", 0, Option::SkipBackground, {}},
    {"skip-colour", 0, Option::SkipColour, "a colour"},
    {"skip-color", 0, Option::SkipColour, "a colour"},
    {"merge", 0, Option::Merge, "rectangles or regions", true},
    {"part-corners", 0, Option::PartCorners, {}},
    {"outlines", 0, Option::Outlines, {}},
    {"entity", 0, Option::Entity, "trace, solid, hatch or polyline"},
    {"colour-index", 0, Option::ColourIndex, {}},
    {"color-index", 0, Option::ColourIndex, {}},
    {"layers", 0, Option::Layers, {}},
    {"units", 0, Option::Units, "mm, cm, m, in or ft"},
    {"origin", 0, Option::Origin, "top-left or bottom-left"},
    {"palette", 0, Option::Palette, "a file name"},
    {"colours", 0, Option::Colours, "a number"},
    {"colors", 0, Option::Colours, "a number"},
    {"dither", 0, Option::Dither, {}},
    {"counts", 0, Option::Counts, "a file name"},
    {"output", 'o', Option::Output, "a file name"},
    {"templates", 0, Option::Templates, "a folder"},
    {"quiet", 'q', Option::Quiet, {}},
    {"help", 'h', Option::Help, {}},
    {"version", 'V', Option::Version, {}},
};

const KnownOption* FindOption(std::string_view name, char letter) {
  for (const KnownOption& known : kOptions) {
    if (letter ? known.letter == letter : known.name == name) return &known;
  }
  return nullptr;
}

std::optional<int> ParseSide(std::string_view text) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != text.npos) {
    return std::nullopt;
  }
  int side = 0;
  std::from_chars(text.data(), text.data() + text.size(), side);
  if (side < 1 || side > kLargestRasterSide) return std::nullopt;
  return side;
}

// Applies one option; returns the problem, or nothing.
std::optional<std::string> Apply(Option option, const std::string& typed, const std::string& value,
                                 ConverterArguments& arguments) {
  ConversionOptions& options = arguments.options;
  const std::string quoted = ", not \"" + value + "\"";
  switch (option) {
    case Option::For:
      if (!FindProfile(value)) return typed + " takes " + ProfileNames() + quoted;
      arguments.profile = value;
      return std::nullopt;
    case Option::Size:
      if (const auto side = ParseSide(value)) {
        options.fit.side = *side;
        return std::nullopt;
      }
      return typed + " takes a whole number from 1 to 4096" + quoted;
    case Option::PixelSize:
      if (const auto size = PixelSize::Parse(value)) {
        options.drawing.pixelSize = *size;
        return std::nullopt;
      }
      return typed + " takes a decimal number above 0, at most 1000000 with at most 9 decimals" +
             quoted;
    case Option::SkipColour:
      if (const auto colour = ParseColour(value)) {
        options.drawing.leftOutColours.push_back(*colour);
        return std::nullopt;
      }
      return typed + " takes a colour as RRGGBB in hexadecimal" + quoted;
    case Option::Output:
      if (value.empty()) return typed + " needs a file name";
      arguments.output = value;
      return std::nullopt;
    case Option::Templates:
      if (value.empty()) return typed + " needs a folder name";
      arguments.templatesDir = value;
      return std::nullopt;
    case Option::KeepAspect:
      options.fit.keepAspect = true;
      return std::nullopt;
    case Option::SkipTransparent:
      options.fit.leaveOutTransparent = true;
      return std::nullopt;
    case Option::Merge:
      if (value.empty() || value == "rectangles" || value == "regions") {
        options.drawing.merge = value != "regions";
        options.drawing.regions = value == "regions";
        return std::nullopt;
      }
      return typed + " takes rectangles or regions" + quoted;
    case Option::Entity:
      if (const auto kind = ParseEntityKind(value)) {
        options.drawing.entity = *kind;
        return std::nullopt;
      }
      return typed + " takes trace, solid, hatch or polyline" + quoted;
    case Option::ColourIndex:
      options.drawing.colourIndex = true;
      return std::nullopt;
    case Option::Quiet:
      arguments.quiet = true;
      return std::nullopt;
    case Option::Layers:
      options.drawing.layers = true;
      return std::nullopt;
    case Option::SkipBackground:
      options.drawing.leaveOutBackground = true;
      return std::nullopt;
    case Option::PartCorners:
      options.drawing.partCorners = true;
      return std::nullopt;
    case Option::Outlines:
      options.drawing.outlines = true;
      return std::nullopt;
    case Option::Units:
      if (const auto units = ParseUnits(value)) {
        options.drawing.units = *units;
        return std::nullopt;
      }
      return typed + " takes mm, cm, m, in or ft" + quoted;
    case Option::Origin:
      if (const auto origin = ParseOrigin(value)) {
        options.drawing.origin = *origin;
        return std::nullopt;
      }
      return typed + " takes top-left or bottom-left" + quoted;
    case Option::Palette:
      if (value.empty()) return typed + " needs a file name";
      arguments.palette = value;
      return std::nullopt;
    case Option::Colours:
      if (const auto count = ParseSide(value); count && *count >= 2 && *count <= 256) {
        options.reduction.colours = *count;
        return std::nullopt;
      }
      return typed + " takes a whole number from 2 to 256" + quoted;
    case Option::Dither:
      options.reduction.dither = true;
      return std::nullopt;
    case Option::Counts:
      if (value.empty()) return typed + " needs a file name";
      arguments.counts = value;
      return std::nullopt;
    case Option::Help:
    case Option::Version:
      return std::nullopt;
  }
  return std::nullopt;
}

ParsedCommandLine UsageError(std::string problem) {
  ParsedCommandLine parsed;
  parsed.action = ParsedCommandLine::Action::UsageError;
  parsed.problem = std::move(problem);
  return parsed;
}

bool Fail(ParsedCommandLine& parsed, std::string problem) {
  parsed = UsageError(std::move(problem));
  return false;
}

// Reads `args` over `parsed.arguments` as they stand: false, with the action set, when it is
// not a conversion.
bool ReadArguments(const std::vector<std::string>& args, ParsedCommandLine& parsed) {
  ConverterArguments& arguments = parsed.arguments;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      arguments.pictures.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }

    // "--name", "--name=value", "-x", "-xvalue".
    const bool isLong = arg[1] == '-';
    const std::size_t equals = isLong ? arg.find('=') : std::string::npos;
    const std::string typed = isLong ? arg.substr(0, equals) : arg.substr(0, 2);
    const KnownOption* known =
        isLong ? FindOption(std::string_view(typed).substr(2), 0) : FindOption({}, arg[1]);
    if (!known) return Fail(parsed, "unknown option " + typed);

    std::string value;
    if (known->valueOptional) {  // long options only
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
        if (value.empty())
          return Fail(parsed, typed + " takes " + std::string(known->value) + ", not \"\"");
      }
    } else if (known->value.empty()) {
      if (equals != std::string::npos || (!isLong && arg.size() > 2)) {
        return Fail(parsed, typed + " takes no value");
      }
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (!isLong && arg.size() > 2) {
      value = arg.substr(2);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return Fail(parsed, typed + " needs " + std::string(known->value));
    }

    if (known->option == Option::Help) {
      parsed.action = ParsedCommandLine::Action::ShowHelp;
      return false;
    }
    if (known->option == Option::Version) {
      parsed.action = ParsedCommandLine::Action::ShowVersion;
      return false;
    }
    if (auto problem = Apply(known->option, typed, value, arguments)) {
      return Fail(parsed, std::move(*problem));
    }
    if (known->option == Option::Merge && equals == std::string::npos && i + 1 < args.size() &&
        (args[i + 1] == "regions" || args[i + 1] == "rectangles")) {
      arguments.mergeValueAsPicture = args[i + 1];
    }
  }
  return true;
}

}  // namespace

std::string ConverterUsage() {
  std::string profiles;
  for (const Profile& profile : Profiles()) {
    std::string name = "  " + std::string(profile.name);
    name.resize(std::max<std::size_t>(name.size() + 2, 10), ' ');
    profiles += name + std::string(profile.description) + "\n";
  }
  std::string usage = kUsage;
  return usage.replace(usage.find("%PROFILES%"), 10, profiles);
}

ParsedCommandLine ParseConverterArguments(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  if (!ReadArguments(args, parsed)) return parsed;
  ConverterArguments& arguments = parsed.arguments;
  const Profile* profile = arguments.profile ? FindProfile(*arguments.profile) : nullptr;
  if (profile) {
    // The profile's options first, then every option given with it over them.
    parsed = {};
    profile->apply(parsed.arguments.options);
    if (!ReadArguments(args, parsed)) return parsed;
  }
  // A refusal of options the profile set names it, since they were not typed.
  const std::string by = profile ? "--for " + std::string(profile->name) + ": " : "";
  const DrawingOptions& drawing = arguments.options.drawing;
  if (drawing.regions && drawing.entity != EntityKind::Hatch &&
      drawing.entity != EntityKind::Polyline) {
    return UsageError(by + "--merge=regions needs --entity hatch or --entity polyline");
  }
  if (drawing.partCorners && !drawing.regions) {
    return UsageError(by + "--part-corners needs --merge=regions");
  }
  if (drawing.outlines && drawing.entity != EntityKind::Hatch) {
    return UsageError(by + "--outlines needs --entity hatch");
  }
  if (profile && profile->needsPalette && !arguments.palette) {
    return UsageError(by + "a " + std::string(profile->name) + " needs --palette FILE");
  }
  if (profile && profile->writesCounts && !arguments.counts) {
    return UsageError(by + "a " + std::string(profile->name) + " needs --counts FILE");
  }
  if (arguments.options.reduction.dither && !arguments.palette &&
      arguments.options.reduction.colours == 0) {
    return UsageError("--dither needs --palette or --colours");
  }
  if (arguments.pictures.empty()) return UsageError("missing picture operand");
  for (const auto& [option, given] : {std::pair{"--output", arguments.output.has_value()},
                                      std::pair{"--counts", arguments.counts.has_value()}}) {
    if (given && arguments.pictures.size() > 1) {
      return UsageError(std::string(option) + " takes one picture, not " +
                        std::to_string(arguments.pictures.size()));
    }
  }
  if (arguments.counts == "-" && arguments.output == "-") {
    return UsageError("--counts - needs the drawing in a file, not on standard output");
  }
  // A drawing beside standard input has no name.
  if (!arguments.output && std::find(arguments.pictures.begin(), arguments.pictures.end(), "-") !=
                               arguments.pictures.end()) {
    return UsageError("a picture from standard input needs --output");
  }
  return parsed;
}

}  // namespace pixdraft

#include "app/converter_arguments.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>

#include "colour/colour_text.h"
#include "conversion/profiles.h"
#include "dxf/drawing_options.h"

namespace pixdraft {
namespace {

using Arguments = ConverterArguments;
using Value = const std::string&;

// One option of the command line: how it is written, what its value must be, its help, and how
// it applies.
struct OptionRow {
  // As the help shows it: the short form, the names, the value: "-s, --size N",
  // "--skip-colour, --skip-color RRGGBB"; "--merge[=regions]" takes a value only after "=".
  std::string_view tag;
  // Without a value, the line says what the option needs: "--size needs a number".
  std::string_view needs;
  // A refused value's line: "takes ..." is followed by the value, "--size takes a whole number
  // from 1 to 4096, not \"0\""; "needs ..." is for an empty name, "--output needs a file name".
  std::string_view refused;
  std::string_view help;             // the help's lines, "\n" between them
  bool (*apply)(Arguments&, Value);  // false when it refuses the value; none for help, version
};

std::optional<int> ParseWhole(std::string_view text, int least, int most) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != text.npos) {
    return std::nullopt;
  }
  int number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number);
  if (number < least || number > most) return std::nullopt;
  return number;
}

// Sets `field` to the parsed value when there is one.
template <typename Field, typename Parsed>
bool Set(Field& field, const std::optional<Parsed>& parsed) {
  if (parsed) field = *parsed;
  return parsed.has_value();
}
bool SetName(std::optional<std::string>& field, Value value) {
  if (!value.empty()) field = value;
  return !value.empty();
}

// The profiles' names, as --for's refusal lists them.
const std::string kProfileRefusal = "takes " + ProfileNames();

// The units' names as --units lists them: "mm, cm, m, in or ft".
std::string UnitNames() {
  std::string names;
  for (const Unit& unit : kUnits) {
    if (!names.empty()) names += &unit == &std::end(kUnits)[-1] ? " or " : ", ";
    names += unit.name;
  }
  return names;
}
const std::string kUnitNames = UnitNames();
const std::string kUnitRefusal = "takes " + kUnitNames;
const std::string kUnitHelp = "name the drawing unit: " + kUnitNames;

// In the help's order.
const OptionRow kOptions[] = {
    {"--for NAME", "a profile name", kProfileRefusal,
     "draw with the options of the profile NAME (below); options given\n"
     "with it override the profile's, whatever their order",
     [](Arguments& a, Value v) {
       if (FindProfile(v)) a.profile = v;
       return FindProfile(v) != nullptr;
     }},
    {"-s, --size N", "a number", "takes a whole number from 1 to 4096",
     "fit into at most N x N pixels, N from 1 to 4096 (default 256);\n"
     "a larger picture is sampled to exactly N x N",
     [](Arguments& a, Value v) {
       return Set(a.options.fit.side, ParseWhole(v, 1, kLargestRasterSide));
     }},
    {"--keep-aspect", "", "", "sample a larger picture with its proportions, its longer side N",
     [](Arguments& a, Value) { return a.options.fit.keepAspect = true; }},
    {"--pixel-size S", "a number",
     "takes a decimal number above 0, at most 1000000 with at most 9 decimals",
     "make each square S drawing units wide, S a decimal above 0, at\n"
     "most 1000000 with at most 9 decimals (default 1)",
     [](Arguments& a, Value v) { return Set(a.options.drawing.pixelSize, PixelSize::Parse(v)); }},
    {"--skip-transparent", "", "", "leave out fully transparent pixels (default: white squares)",
     [](Arguments& a, Value) { return a.options.fit.leaveOutTransparent = true; }},
    {"--skip-background", "", "",
     "leave out the colour of the four corners where it reaches the\n"
     "picture's edge (after --colours and --palette)",
     [](Arguments& a, Value) { return a.options.drawing.leaveOutBackground = true; }},
    {"--skip-colour, --skip-color RRGGBB", "a colour", "takes a colour as RRGGBB in hexadecimal",
     "leave out squares of this colour (hexadecimal, \"#\" optional);\n"
     "may be repeated",
     [](Arguments& a, Value v) {
       const auto colour = ParseColour(v);
       if (colour) a.options.drawing.leftOutColours.push_back(*colour);
       return colour.has_value();
     }},
    {"--merge[=regions]", "", "takes rectangles or regions",
     "draw squares of one colour that form a rectangle as one: runs\n"
     "down each column, joined with equal runs to their left; =regions\n"
     "draws each 4-connected region of one colour as one shape, its\n"
     "outline and holes on the pixel edges (hatch and polyline only)",
     [](Arguments& a, Value v) {
       const bool known = v.empty() || v == "rectangles" || v == "regions";
       if (known) a.options.drawing.merge = v == "regions" ? Merge::Regions : Merge::Rectangles;
       return known;
     }},
    {"--outlines", "", "",
     "follow each hatch by its outlines as polylines, for readers\n"
     "that draw no hatch (with --entity hatch)",
     [](Arguments& a, Value) { return a.options.drawing.outlines = true; }},
    {"--part-corners", "", "",
     "cut outlines of one colour back by 1/32 pixel where they touch\n"
     "at a corner, for OpenSCAD and FreeCAD (with --merge=regions)",
     [](Arguments& a, Value) { return a.options.drawing.partCorners = true; }},
    {"--entity KIND", "trace, solid, hatch or polyline", "takes trace, solid, hatch or polyline",
     "draw squares or shapes as trace (default), solid, hatch (filled\n"
     "outlines) or polyline (closed outlines only, for cutting)",
     [](Arguments& a, Value v) { return Set(a.options.drawing.entity, ParseEntityKind(v)); }},
    {"--colour-index, --color-index", "", "",
     "give every entity and layer the nearest AutoCAD Colour Index\n"
     "too (group 62)",
     [](Arguments& a, Value) { return a.options.drawing.colourIndex = true; }},
    {"--layers", "", "",
     "put every colour on a layer of its own, named C_RRGGBB (at\n"
     "most 4096 colours)",
     [](Arguments& a, Value) { return a.options.drawing.layers = true; }},
    {"--units UNIT", kUnitNames, kUnitRefusal, kUnitHelp,
     [](Arguments& a, Value v) { return Set(a.options.drawing.units, ParseUnit(v)); }},
    {"--origin CORNER", "top-left or bottom-left", "takes top-left or bottom-left",
     "top-left (default: the picture hangs below y = 1) or\n"
     "bottom-left (the raster's lower-left corner at 0, 0)",
     [](Arguments& a, Value v) { return Set(a.options.drawing.origin, ParseOrigin(v)); }},
    {"--palette FILE", "a file name", "needs a file name",
     "draw in the colours of FILE, each pixel in the nearest by CIELAB\n"
     "(a colour RRGGBB a line, \"#\" optional, then a name if any)",
     [](Arguments& a, Value v) { return SetName(a.palette, v); }},
    {"--colours, --colors N", "a number", "takes a whole number from 2 to 256",
     "draw in at most N colours, 2 to 256, chosen from the picture or\n"
     "from the palette",
     [](Arguments& a, Value v) { return Set(a.options.reduction.colours, ParseWhole(v, 2, 256)); }},
    {"--dither", "", "",
     "spread each pixel's colour error to its neighbours\n"
     "(Floyd-Steinberg), for photos; needs --palette or --colours",
     [](Arguments& a, Value) { return a.options.reduction.dither = true; }},
    {"--counts FILE", "a file name", "needs a file name",
     "write each colour's squares, entities and area as CSV to FILE\n"
     "(one PICTURE only); \"-\" writes it to standard output",
     [](Arguments& a, Value v) { return SetName(a.counts, v); }},
    {"-o, --output PATH", "a file name", "needs a file name",
     "write the DXF to PATH (one PICTURE only); \"-\" writes it to\n"
     "standard output",
     [](Arguments& a, Value v) { return SetName(a.output, v); }},
    {"--templates DIR", "a folder", "needs a folder name",
     "read pixdraft.dx1 and pixdraft.dx2 from DIR (default: the current\n"
     "directory when it holds both, else the installed ones)",
     [](Arguments& a, Value v) { return SetName(a.templatesDir, v); }},
    {"-q, --quiet", "", "", "print no confirmations; errors still go to standard error",
     [](Arguments& a, Value) { return a.quiet = true; }},
    {"-h, --help", "", "", "show this help", nullptr},
    {"-V, --version", "", "", "show the version", nullptr},
};

// A tag's parts: "-s, --size N" is the names "-s, --size" and the value "N".
struct Form {
  std::string_view names, value;
  bool valueOptional;  // "--merge[=regions]"
};

Form FormOf(std::string_view tag) {
  if (const std::size_t bracket = tag.find('['); bracket != tag.npos) {
    return {tag.substr(0, bracket), tag.substr(bracket), true};
  }
  const std::size_t blank = tag.rfind(' ');
  if (blank != tag.npos && tag[blank + 1] != '-') {
    return {tag.substr(0, blank), tag.substr(blank + 1), false};
  }
  return {tag, {}, false};
}

// The row of an option as typed, with its dashes: "--size", "-s", "--colors".
const OptionRow* FindOption(std::string_view typed) {
  for (const OptionRow& row : kOptions) {
    std::string_view names = FormOf(row.tag).names;
    for (std::size_t comma; !names.empty();
         names.remove_prefix(std::min(comma + 2, names.size()))) {
      comma = names.find(", ");
      if (names.substr(0, comma) == typed) return &row;
    }
  }
  return nullptr;
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

}  // namespace

std::string ConverterUsage() {
  constexpr std::size_t kHelpColumn = 26;
  std::string text =
      "Usage: pixdraft-convert [OPTION]... PICTURE...\n"
      "Converts each PICTURE into a DXF drawing beside it: one filled square per pixel, the\n"
      "picture fitted into at most 256 x 256 pixels.\n"
      "\n";
  for (const OptionRow& row : kOptions) {
    // Long names line up whether or not a short form comes first.
    const std::string tag = (row.tag[1] == '-' ? "      " : "  ") + std::string(row.tag);
    text += tag.size() + 2 > kHelpColumn ? tag + "\n" + std::string(kHelpColumn, ' ')
                                         : tag + std::string(kHelpColumn - tag.size(), ' ');
    for (const char c : row.help) {
      text += c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, c);
    }
    text += "\n";
  }
  text +=
      "\n"
      "A PICTURE of \"-\" is read from standard input; its DXF then needs --output.\n"
      "\n"
      "Profiles (--for), each a set of the options above tried in the programs it is for:\n";
  for (const Profile& profile : Profiles()) {
    std::string name = "  " + std::string(profile.name);
    name.resize(10, ' ');
    text += name + std::string(profile.description) + "\n";
  }
  return text +
         "\n"
         "Exit status: 0 when every picture was converted, 1 when any failed, 2 for a usage "
         "error.\n";
}

namespace {

// Reads `args` over `parsed.arguments` as they stand; false, with the action set, when the
// command line asks for no conversion.
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
    const OptionRow* row = FindOption(typed);
    if (!row) return Fail(parsed, "unknown option " + typed);
    const Form form = FormOf(row->tag);
    const auto refused = [&](const std::string& value) {
      return Fail(parsed, typed + " " + std::string(row->refused) +
                              (row->refused.starts_with("takes") ? ", not \"" + value + "\"" : ""));
    };

    std::string value;
    if (form.valueOptional) {  // long options only
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
        if (value.empty()) return refused(value);
      }
    } else if (form.value.empty()) {
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
      return Fail(parsed, typed + " needs " + std::string(row->needs));
    }

    if (!row->apply) {
      parsed.action = row->tag.ends_with("help") ? ParsedCommandLine::Action::ShowHelp
                                                 : ParsedCommandLine::Action::ShowVersion;
      return false;
    }
    if (!row->apply(arguments, value)) return refused(value);
    if (form.valueOptional && equals == std::string::npos && i + 1 < args.size() &&
        (args[i + 1] == "regions" || args[i + 1] == "rectangles")) {
      arguments.mergeValueAsPicture = args[i + 1];
    }
  }
  return true;
}

}  // namespace

ParsedCommandLine ParseConverterArguments(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  if (!ReadArguments(args, parsed)) return parsed;
  ConverterArguments& arguments = parsed.arguments;
  const Profile* profile = arguments.profile ? FindProfile(*arguments.profile) : nullptr;
  if (profile) {
    // The profile's options first, then every option given with it over them.
    parsed = {};
    profile->apply(arguments.options);
    if (!ReadArguments(args, parsed)) return parsed;
  }
  // A refusal of options the profile set names it, since they were not typed.
  const std::string by = profile ? "--for " + std::string(profile->name) + ": " : "";
  if (auto problem = DrawingOptionsProblem(arguments.options.drawing)) {
    return UsageError(by + *problem);
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
  for (const auto& [option, isGiven] : {std::pair{"--output", arguments.output.has_value()},
                                        std::pair{"--counts", arguments.counts.has_value()}}) {
    if (isGiven && arguments.pictures.size() > 1) {
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

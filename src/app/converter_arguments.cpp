#include "app/converter_arguments.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "colour/colour_text.h"

namespace pixdraft {
namespace {

using Arguments = ConverterArguments;

// One option of the command line: its names, what value it takes, its help, and how it applies.
struct OptionRow {
  std::string_view name;         // without the dashes
  std::string_view alias;        // another name of the same option ("color-index"), or none
  char letter;                   // the short form, or 0
  std::string_view placeholder;  // the value as the help names it ("N"); none for a flag
  std::string_view needs;        // a missing value's line: "--size needs a number"
  // A refused value's line: "--size takes a whole number from 1 to 4096, not \"0\""; when empty,
  // a refused value is a missing one (a file name that is empty).
  std::string_view takes;
  bool valueOptional;     // the value comes only after "=": "--merge", "--merge=regions"
  std::string_view help;  // the help's lines, "\n" between them
  // Sets the value into the arguments; false when it refuses it.
  bool (*apply)(Arguments& arguments, const std::string& value);
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

// Sets `field` to the parsed value when `parsed` holds one.
template <typename Field, typename Parsed>
bool Set(Field& field, const std::optional<Parsed>& parsed) {
  if (parsed) field = *parsed;
  return parsed.has_value();
}
bool SetName(std::optional<std::string>& field, const std::string& value) {
  if (!value.empty()) field = value;
  return !value.empty();
}

// In the help's order. --help and --version are read before any other option applies.
const OptionRow kOptions[] = {
    {"size",
     {},
     's',
     "N",
     "a number",
     "a whole number from 1 to 4096",
     false,
     "fit into at most N x N pixels, N from 1 to 4096 (default 256);\n"
     "a larger picture is sampled to exactly N x N",
     [](Arguments& a, const std::string& v) {
       return Set(a.options.fit.side, ParseWhole(v, 1, kLargestRasterSide));
     }},
    {"keep-aspect",
     {},
     0,
     {},
     {},
     {},
     false,
     "sample a larger picture with its proportions, its longer side N",
     [](Arguments& a, const std::string&) { return a.options.fit.keepAspect = true; }},
    {"pixel-size",
     {},
     0,
     "S",
     "a number",
     "a decimal number above 0, at most 1000000 with at most 9 decimals",
     false,
     "make each square S drawing units wide, S a decimal above 0, at\n"
     "most 1000000 with at most 9 decimals (default 1)",
     [](Arguments& a, const std::string& v) {
       return Set(a.options.drawing.pixelSize, PixelSize::Parse(v));
     }},
    {"skip-transparent",
     {},
     0,
     {},
     {},
     {},
     false,
     "leave out fully transparent pixels (default: white squares)",
     [](Arguments& a, const std::string&) { return a.options.fit.leaveOutTransparent = true; }},
    {"skip-background",
     {},
     0,
     {},
     {},
     {},
     false,
     "leave out the colour of the four corners where it reaches the\n"
     "picture's edge (after --colours and --palette)",
     [](Arguments& a, const std::string&) { return a.options.drawing.leaveOutBackground = true; }},
    {"skip-colour", "skip-color", 0, "RRGGBB", "a colour", "a colour as RRGGBB in hexadecimal",
     false,
     "leave out squares of this colour (hexadecimal, \"#\" optional);\n"
     "may be repeated",
     [](Arguments& a, const std::string& v) {
       const auto colour = ParseColour(v);
       if (colour) a.options.drawing.leftOutColours.push_back(*colour);
       return colour.has_value();
     }},
    {"merge",
     {},
     0,
     "[=regions]",
     "rectangles or regions",
     "rectangles or regions",
     true,
     "draw squares of one colour that form a rectangle as one: runs\n"
     "down each column, joined with equal runs to their left; =regions\n"
     "draws each 4-connected region of one colour as one shape, its\n"
     "outline and holes on the pixel edges (hatch and polyline only)",
     [](Arguments& a, const std::string& v) {
       const bool regions = v == "regions";
       if (v.empty() || v == "rectangles" || regions) {
         a.options.drawing.merge = regions ? Merge::Regions : Merge::Rectangles;
       }
       return v.empty() || v == "rectangles" || regions;
     }},
    {"outlines",
     {},
     0,
     {},
     {},
     {},
     false,
     "follow each hatch by its outlines as polylines, for readers\n"
     "that draw no hatch (with --entity hatch)",
     [](Arguments& a, const std::string&) { return a.options.drawing.outlines = true; }},
    {"part-corners",
     {},
     0,
     {},
     {},
     {},
     false,
     "cut outlines of one colour back by 1/32 pixel where they touch\n"
     "at a corner, for OpenSCAD and FreeCAD (with --merge=regions)",
     [](Arguments& a, const std::string&) { return a.options.drawing.partCorners = true; }},
    {"entity",
     {},
     0,
     "KIND",
     "trace, solid, hatch or polyline",
     "trace, solid, hatch or polyline",
     false,
     "draw squares or shapes as trace (default), solid, hatch (filled\n"
     "outlines) or polyline (closed outlines only, for cutting)",
     [](Arguments& a, const std::string& v) {
       return Set(a.options.drawing.entity, ParseEntityKind(v));
     }},
    {"colour-index",
     "color-index",
     0,
     {},
     {},
     {},
     false,
     "give every entity and layer the nearest AutoCAD Colour Index\n"
     "too (group 62)",
     [](Arguments& a, const std::string&) { return a.options.drawing.colourIndex = true; }},
    {"layers",
     {},
     0,
     {},
     {},
     {},
     false,
     "put every colour on a layer of its own, named C_RRGGBB (at\n"
     "most 4096 colours)",
     [](Arguments& a, const std::string&) { return a.options.drawing.layers = true; }},
    {"units",
     {},
     0,
     "UNIT",
     "mm, cm, m, in or ft",
     "mm, cm, m, in or ft",
     false,
     "name the drawing unit: mm, cm, m, in or ft",
     [](Arguments& a, const std::string& v) { return Set(a.options.drawing.units, ParseUnit(v)); }},
    {"origin",
     {},
     0,
     "CORNER",
     "top-left or bottom-left",
     "top-left or bottom-left",
     false,
     "top-left (default: the picture hangs below y = 1) or\n"
     "bottom-left (the raster's lower-left corner at 0, 0)",
     [](Arguments& a, const std::string& v) {
       return Set(a.options.drawing.origin, ParseOrigin(v));
     }},
    {"palette",
     {},
     0,
     "FILE",
     "a file name",
     {},
     false,
     "draw in the colours of FILE, each pixel in the nearest by CIELAB\n"
     "(a colour RRGGBB a line, \"#\" optional, then a name if any)",
     [](Arguments& a, const std::string& v) { return SetName(a.palette, v); }},
    {"colours", "colors", 0, "N", "a number", "a whole number from 2 to 256", false,
     "draw in at most N colours, 2 to 256, chosen from the picture or\n"
     "from the palette",
     [](Arguments& a, const std::string& v) {
       return Set(a.options.reduction.colours, ParseWhole(v, 2, 256));
     }},
    {"dither",
     {},
     0,
     {},
     {},
     {},
     false,
     "spread each pixel's colour error to its neighbours\n"
     "(Floyd-Steinberg), for photos; needs --palette or --colours",
     [](Arguments& a, const std::string&) { return a.options.reduction.dither = true; }},
    {"counts",
     {},
     0,
     "FILE",
     "a file name",
     {},
     false,
     "write each colour's squares, entities and area as CSV to FILE\n"
     "(one PICTURE only); \"-\" writes it to standard output",
     [](Arguments& a, const std::string& v) { return SetName(a.counts, v); }},
    {"output",
     {},
     'o',
     "PATH",
     "a file name",
     {},
     false,
     "write the DXF to PATH (one PICTURE only); \"-\" writes it to\n"
     "standard output",
     [](Arguments& a, const std::string& v) { return SetName(a.output, v); }},
    {"templates",
     {},
     0,
     "DIR",
     "a folder name",
     {},
     false,
     "read pixdraft.dx1 and pixdraft.dx2 from DIR (default: the current\n"
     "directory when it holds both, else the installed ones)",
     [](Arguments& a, const std::string& v) { return SetName(a.templatesDir, v); }},
    {"quiet",
     {},
     'q',
     {},
     {},
     {},
     false,
     "print no confirmations; errors still go to standard error",
     [](Arguments& a, const std::string&) { return a.quiet = true; }},
    {"help", {}, 'h', {}, {}, {}, false, "show this help", nullptr},
    {"version", {}, 'V', {}, {}, {}, false, "show the version", nullptr},
};

const OptionRow* FindOption(std::string_view name, char letter) {
  for (const OptionRow& row : kOptions) {
    if (letter ? row.letter == letter
               : row.name == name || (!row.alias.empty() && row.alias == name))
      return &row;
  }
  return nullptr;
}

// An option as the command line gives it, before it applies.
struct GivenOption {
  const OptionRow* row;
  std::string value;
};

// The line for a value the option refuses.
std::string Refused(const OptionRow& row, const std::string& typed, const std::string& value) {
  return row.takes.empty() ? typed + " needs " + std::string(row.needs)
                           : typed + " takes " + std::string(row.takes) + ", not \"" + value + "\"";
}

ParsedCommandLine UsageError(std::string problem) {
  ParsedCommandLine parsed;
  parsed.action = ParsedCommandLine::Action::UsageError;
  parsed.problem = std::move(problem);
  return parsed;
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
    std::string tag = row.letter ? std::string("  -") + row.letter + ", --" : "      --";
    tag += row.name;
    if (!row.alias.empty()) tag += ", --" + std::string(row.alias);
    if (!row.placeholder.empty())
      tag += (row.valueOptional ? "" : " ") + std::string(row.placeholder);
    text += tag.size() + 2 > kHelpColumn ? tag + "\n" + std::string(kHelpColumn, ' ')
                                         : tag + std::string(kHelpColumn - tag.size(), ' ');
    for (const char c : row.help)
      text += c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, c);
    text += "\n";
  }
  return text +
         "\n"
         "A PICTURE of \"-\" is read from standard input; its DXF then needs --output.\n"
         "\n"
         "Exit status: 0 when every picture was converted, 1 when any failed, 2 for a usage "
         "error.\n";
}

ParsedCommandLine ParseConverterArguments(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  ConverterArguments& arguments = parsed.arguments;
  std::vector<GivenOption> given;
  ConverterArguments tried;  // each value is tried as it is read, so the first problem decides
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
    const OptionRow* row =
        isLong ? FindOption(std::string_view(typed).substr(2), 0) : FindOption({}, arg[1]);
    if (!row) return UsageError("unknown option " + typed);

    std::string value;
    if (row->valueOptional) {  // long options only
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
        if (value.empty())
          return UsageError(typed + " takes " + std::string(row->takes) + ", not \"\"");
      }
    } else if (row->placeholder.empty()) {
      if (equals != std::string::npos || (!isLong && arg.size() > 2)) {
        return UsageError(typed + " takes no value");
      }
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (!isLong && arg.size() > 2) {
      value = arg.substr(2);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return UsageError(typed + " needs " + std::string(row->needs));
    }

    if (row->name == "help" || row->name == "version") {
      parsed.action = row->name == "help" ? ParsedCommandLine::Action::ShowHelp
                                          : ParsedCommandLine::Action::ShowVersion;
      return parsed;
    }
    if (!row->apply(tried, value)) return UsageError(Refused(*row, typed, value));
    if (row->name == "merge" && equals == std::string::npos && i + 1 < args.size() &&
        (args[i + 1] == "regions" || args[i + 1] == "rectangles")) {
      arguments.mergeValueAsPicture = args[i + 1];
    }
    given.push_back({row, value});
  }

  // Options apply once the line is read, in the order given, so a later one overrides an earlier
  // one; a profile's options will apply first, as defaults that those given override.
  for (const GivenOption& option : given) option.row->apply(arguments, option.value);

  if (auto problem = DrawingOptionsProblem(arguments.options.drawing)) {
    return UsageError(std::move(*problem));
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

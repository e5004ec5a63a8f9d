// The command line of pixdraft-convert: GNU-style options ("--size 64", "--size=64", "-s 64",
// "-s64"; "--" ends the options), read in one place into what the conversion needs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "conversion/conversion_options.h"

namespace pixdraft {

// The help text: usage, every option as its table gives it, the profiles, the exit statuses.
std::string ConverterUsage();

struct ConverterArguments {
  ConversionOptions options;
  std::optional<std::string> profile;       // --for: its options under every other one
  std::optional<std::string> templatesDir;  // --templates
  std::optional<std::string> output;        // --output; "-" is standard output
  std::optional<std::string> palette;       // --palette, read once the line is parsed
  std::optional<std::string> counts;        // --counts; "-" is standard output
  bool quiet = false;                       // --quiet: no confirmations
  std::vector<std::string> pictures;        // "-" is standard input
  // "--merge regions": the picture that may be the value, typed after a blank instead of "=".
  std::optional<std::string> mergeValueAsPicture;
};

struct ParsedCommandLine {
  enum class Action { Convert, ShowHelp, ShowVersion, UsageError };
  Action action = Action::Convert;
  ConverterArguments arguments;
  // For a usage error, the line that says what is wrong: "--size needs a number".
  std::string problem;
};

// Reads `args` (the program name excluded) from left to right: the first problem, --help or
// --version decides; a repeated option takes its last value, except --skip-colour, which adds.
// With --for, the profile's options come first and every other option overrides them.
ParsedCommandLine ParseConverterArguments(const std::vector<std::string>& args);

}  // namespace pixdraft

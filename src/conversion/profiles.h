// The profiles: for each kind of program people open the drawing in, the set of options tried
// in those programs (docs/profiles.md). Both the converter's --for and the window's options
// choose from this one table.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "conversion/conversion_options.h"

namespace pixdraft {

struct Profile {
  std::string_view name;         // as --for and the settings name it
  std::string_view description;  // one line, for --help and the options dialog
  // Sets the profile's options; those it does not name stay as they were.
  void (*apply)(ConversionOptions& options);
  // Mosaics are laid from the colours a maker can buy, and bought by the counts: a palette and
  // the counts file are part of the profile.
  bool needsPalette = false;
  bool writesCounts = false;
};

// The plain drawing first: the window's and the converter's default.
std::span<const Profile> Profiles();

// The profile of that name, or nothing.
const Profile* FindProfile(std::string_view name);

// The names in the table's order, joined by ", ": "plain, laser, cad, 3d, vector, mosaic".
std::string ProfileNames();

}  // namespace pixdraft

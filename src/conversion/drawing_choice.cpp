#include "conversion/drawing_choice.h"

#include <utility>

#include "colour/palette.h"

namespace pixdraft {

DrawingChoice ChooseProfile(DrawingChoice choice, const Profile& profile) {
  ConversionOptions options;
  profile.apply(options);
  choice.profile = profile.name;
  choice.units = options.drawing.units ? std::string(options.drawing.units->name) : "";
  choice.leaveOutTransparent = options.fit.leaveOutTransparent;
  choice.layers = options.drawing.layers;
  choice.counts = profile.writesCounts;
  return choice;
}

std::optional<std::string> ChoiceProblem(const DrawingChoice& choice) {
  const Profile* profile = FindProfile(choice.profile);
  if (!profile) {
    return "There is no profile \"" + choice.profile + "\": choose one of " + ProfileNames() + ".";
  }
  if (!PixelSize::Parse(choice.pixelSize)) {
    return "The size of one pixel must be a decimal number above 0, at most 1000000 with at most "
           "9 decimals, not \"" +
           choice.pixelSize + "\".";
  }
  if (!choice.units.empty() && !ParseUnit(choice.units)) {
    return "The unit must be mm, cm, m, in or ft, not \"" + choice.units + "\".";
  }
  if (choice.colours != 0 && (choice.colours < 2 || choice.colours > 256)) {
    return "At most N colours takes N from 2 to 256, not " + std::to_string(choice.colours) + ".";
  }
  if (profile->needsPalette && choice.palette.empty()) {
    return "The " + std::string(profile->name) + " profile needs a palette file.";
  }
  return std::nullopt;
}

ConversionOptions OptionsFor(const DrawingChoice& choice) {
  if (const auto problem = ChoiceProblem(choice)) throw EDrawingChoice(*problem);
  ConversionOptions options;
  FindProfile(choice.profile)->apply(options);
  options.drawing.pixelSize = *PixelSize::Parse(choice.pixelSize);
  options.drawing.units = choice.units.empty() ? std::optional<Unit>() : ParseUnit(choice.units);
  options.fit.leaveOutTransparent = choice.leaveOutTransparent;
  options.reduction.colours = choice.colours;
  options.drawing.layers = choice.layers;
  if (!choice.palette.empty()) UsePalette(choice.palette, options);
  return options;
}

void UsePalette(const std::string& fileName, ConversionOptions& options) {
  const std::vector<NamedColour> palette = LoadPalette(fileName);
  for (const NamedColour& entry : palette) options.reduction.palette.push_back(entry.colour);
  options.drawing.layerNames = LayerNames(palette);
}

}  // namespace pixdraft

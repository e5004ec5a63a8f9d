// What the window's options dialog chooses: a profile, and the few options a person sets beside
// it. Nothing chosen is the plain drawing the window has always saved.
#pragma once

#include <optional>
#include <string>

#include "base/errors.h"
#include "conversion/conversion_options.h"
#include "conversion/profiles.h"

namespace pixdraft {

// A choice that cannot be drawn, its message saying why: "The mosaic profile needs a palette
// file."
class EDrawingChoice : public Exception {
 public:
  using Exception::Exception;
};

struct DrawingChoice {
  std::string profile = "plain";
  std::string pixelSize = "1";  // a decimal, as PixelSize::Parse reads it
  std::string units;            // "mm", "cm", "m", "in" or "ft"; empty: as the template has it
  bool leaveOutTransparent = false;
  int colours = 0;      // at most this many, 2 to 256; 0: the picture's own
  std::string palette;  // a palette file; empty: none
  bool layers = false;
  bool counts = false;  // the counts, written beside the DXF
  bool operator==(const DrawingChoice&) const = default;
};

// `choice` with `profile` chosen: the unit, transparency, layers and counts as the profile sets
// them; the pixel size, colours and palette as they were.
DrawingChoice ChooseProfile(DrawingChoice choice, const Profile& profile);

// Why `choice` cannot be drawn, or nothing: an unknown profile, a pixel size or unit that does
// not read, a number of colours out of range, a mosaic without a palette.
std::optional<std::string> ChoiceProblem(const DrawingChoice& choice);

// The conversion `choice` asks for: its profile's options, then the choice's own over them, the
// palette file read. Throws EDrawingChoice with ChoiceProblem's text, and as LoadPalette.
ConversionOptions OptionsFor(const DrawingChoice& choice);

// The palette file's colours into `options`: the colours to draw with, and the names of their
// layers. Throws as LoadPalette.
void UsePalette(const std::string& fileName, ConversionOptions& options);

}  // namespace pixdraft

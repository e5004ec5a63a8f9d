#include "colour/colour_reduction.h"

#include <algorithm>
#include <span>

#include "colour/colour_choice.h"
#include "colour/colour_mapping.h"

namespace pixdraft {

namespace {

void LeaveOut(Raster& raster, const std::vector<TColor>& leftOut) {
  for (TColor& pixel : leftOut.empty() ? std::span<TColor>() : std::span(raster.pixels)) {
    if (std::find(leftOut.begin(), leftOut.end(), pixel) != leftOut.end()) pixel = kNoSquare;
  }
}

}  // namespace

void ReduceColours(Raster& raster, const ColourReduction& reduction,
                   const std::vector<TColor>& leftOut) {
  LeaveOut(raster, leftOut);
  if (!reduction.Active()) return;
  const std::vector<TColor> colours =
      reduction.colours > 0 ? ChooseColours(raster, reduction.colours, reduction.palette)
                            : reduction.palette;
  if (!colours.empty()) MapToColours(raster, colours, reduction.dither);
  LeaveOut(raster, leftOut);
}

}  // namespace pixdraft

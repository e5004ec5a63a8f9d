#include "dxf/colour_reduction.h"

#include <algorithm>
#include <span>

#include "dxf/colour_choice.h"
#include "dxf/colour_mapping.h"

namespace pixdraft {

void ReduceColours(Raster& raster, const ColourReduction& reduction,
                   const std::vector<TColor>& leftOut) {
  if (!reduction.Active()) return;
  for (TColor& pixel : leftOut.empty() ? std::span<TColor>() : std::span(raster.pixels)) {
    if (std::find(leftOut.begin(), leftOut.end(), pixel) != leftOut.end()) pixel = kNoSquare;
  }
  const std::vector<TColor> colours =
      reduction.colours > 0 ? ChooseColours(raster, reduction.colours, reduction.palette)
                            : reduction.palette;
  if (!colours.empty()) MapToColours(raster, colours, reduction.dither);
}

}  // namespace pixdraft

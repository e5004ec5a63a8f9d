// Fewer colours for makers: the working raster drawn in the colours of a palette, or in at most
// N colours, before the drawing is made, so merging, regions, layers and counts all see the
// colours that will be cut or bought.
#pragma once

#include <vector>

#include "dxf/raster.h"

namespace pixdraft {

struct ColourReduction {
  // The colours to draw with; empty: the picture's own.
  std::vector<TColor> palette;
  // At most this many colours (colour_choice.h); 0: no limit beyond the palette.
  int colours = 0;
  // Floyd-Steinberg (colour_mapping.h) instead of flat areas staying flat.
  bool dither = false;

  bool Active() const { return !palette.empty() || colours > 0; }
};

// Reduces the colours of `raster` in place: pixels of the `leftOut` colours are left out first
// (kNoSquare), so they take no part; then every other pixel takes the nearest of the chosen
// colours (colour_mapping.h). Nothing happens unless `reduction` is Active().
void ReduceColours(Raster& raster, const ColourReduction& reduction,
                   const std::vector<TColor>& leftOut);

}  // namespace pixdraft

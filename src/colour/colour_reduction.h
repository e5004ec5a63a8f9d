// Fewer colours for makers: the working raster drawn in the colours of a palette, or in at most
// N colours, before the drawing is made, so merging, regions, layers and counts all see the
// colours that will be cut or bought.
#pragma once

#include <vector>

#include "colour/raster.h"

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

// The colours `raster` is drawn in, in place, once before any shape is walked or counted, so
// that those see only kNoSquare: pixels of the `leftOut` colours are left out first, so they take
// no part in the reduction; then, when `reduction` is Active(), every other pixel takes the
// nearest of the chosen colours (colour_mapping.h), and one that takes a `leftOut` colour is
// left out too.
void ReduceColours(Raster& raster, const ColourReduction& reduction,
                   const std::vector<TColor>& leftOut);

}  // namespace pixdraft

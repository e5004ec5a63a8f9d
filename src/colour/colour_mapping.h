// Drawing a raster in a given set of colours: every drawn pixel takes the nearest of them
// (nearest_colour.h), or, dithered, the nearest once the errors of the pixels before it are
// added (Floyd-Steinberg in CIELAB).
#pragma once

#include <cstddef>
#include <vector>

#include "colour/raster.h"

namespace pixdraft {

// Every pixel of `raster` but kNoSquare becomes the nearest of `colours`, which must not be
// empty.
//
// With `dither`, rows from the top, each from the left: a pixel's target is its CIELAB colour
// plus the error carried to it, clamped to L* 0-100 and a*, b* within +-128; it takes the
// colour nearest its target, and the difference (target less that colour, in hundredths) goes
// on: 7/16 to the pixel on its right, 3/16 below left, 5/16 below, 1/16 below right, each share
// rounded towards zero and what rounding leaves given to the one below, so no error is lost
// on the way. Error carried to a pixel left out (kNoSquare) is dropped.
void MapToColours(Raster& raster, const std::vector<TColor>& colours, bool dither);

// The indices of `colours` (not empty) that the pixels of `raster` would take without
// dithering, in ascending order.
std::vector<std::size_t> UsedColours(const Raster& raster, const std::vector<TColor>& colours);

}  // namespace pixdraft

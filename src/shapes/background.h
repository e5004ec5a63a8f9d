// The background of a logo or pixel art on a plain colour, found so that it can be left out.
#pragma once

#include "colour/raster.h"

namespace pixdraft {

// When the raster's four corner pixels are of one colour, leaves out (kNoSquare) every pixel of
// that colour joined to the raster's edge through pixel edges; pixels of that colour enclosed
// by others stay. Nothing changes when the corners differ or are left out already. Memory: four
// bytes per pixel of the background.
void LeaveOutBackground(Raster& raster);

}  // namespace pixdraft

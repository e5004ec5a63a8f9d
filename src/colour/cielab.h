// Colours as people see them: CIELAB (D65 white, sRGB pixels), whose straight-line distance
// (CIE76) follows how different two colours look far better than distances in red, green and
// blue do. Coordinates are whole hundredths, so distances are exact integers: two colours are
// equally near exactly when their distances are equal, the same on every run and machine.
#pragma once

#include <cstdint>

#include "colour/raster.h"

namespace pixdraft {

// L* from 0 (black) to 10000 (white), a* and b* about -12800 to 12800: hundredths of CIELAB.
struct Lab {
  std::int32_t l = 0, a = 0, b = 0;
  bool operator==(const Lab&) const = default;
};

// The CIELAB coordinates of a pixel colour (not kNoSquare).
Lab ToLab(TColor colour);
// The same for a colour of fractional red, green and blue (0 to 255 each), such as a mean.
Lab ToLab(double red, double green, double blue);

// CIE76: the square of the Euclidean distance, in hundredths squared.
inline std::int64_t LabDistance(const Lab& p, const Lab& q) {
  const std::int64_t dl = p.l - q.l, da = p.a - q.a, db = p.b - q.b;
  return dl * dl + da * da + db * db;
}

}  // namespace pixdraft

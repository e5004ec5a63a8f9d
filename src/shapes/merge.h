// How pixels of one colour are joined into shapes: not at all (a square each), into rectangles
// (square_walk.h), or into regions with holes (region_walk.h).
#pragma once

namespace pixdraft {

enum class Merge { None, Rectangles, Regions };

}  // namespace pixdraft

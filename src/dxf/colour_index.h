// The AutoCAD Colour Index (ACI, group 62): the 255 colours every DXF reader knows, for readers
// that ignore true colour (group 420) and for programs that choose a laser's power or a tool by
// index.
//
// The palette is AutoCAD's default: 1-9 red, yellow, green, cyan, blue, magenta, white, grey
// 128 and grey 192; 10-249 twenty-four hues 15 degrees apart, each in five brightnesses, full
// and half saturated; 250-255 the greys 51, 80, 105, 130, 190 and 255.
//
// The nearest index to a colour is the one whose palette colour is nearest by squared
// Euclidean distance of red, green and blue, the lowest index on a tie, with two rules:
//  - 7 is never chosen: readers show it black or white depending on their background.
//  - A grey (red = green = blue) takes the nearest grey index (8, 9, 250-255), so that it never
//    turns into a colour: pure black becomes 250, the darkest grey, and pure white 255.
#pragma once

#include "colour/raster.h"

namespace pixdraft {

// The palette colour of `index`, 1 to 255.
TColor ColourIndexColour(int index);

// The nearest index to `colour`, by the rules above.
int NearestColourIndex(TColor colour);

// NearestColourIndex with a memory of recent colours, for pictures that repeat a few colours
// many times.
class ColourIndexCache {
 public:
  int operator()(TColor colour);

 private:
  static constexpr int kSlots = 4096;
  TColor colours_[kSlots] = {};
  unsigned char indices_[kSlots] = {};  // 0: the slot is empty
};

}  // namespace pixdraft

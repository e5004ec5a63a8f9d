// Feeds arbitrary bytes to the palette reader. Whatever it accepts must give unique layer names
// of letters, digits, "_" and "-" only, and draw a small raster, dithered or not, in its colours
// alone, with counts that sum to the raster's squares.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "colour/colour_reduction.h"
#include "colour/palette.h"
#include "dxf/colour_counts.h"
#include "dxf/layer_names.h"

using namespace pixdraft;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<NamedColour> palette;
  try {
    palette = ParsePalette(std::string_view(reinterpret_cast<const char*>(data), size), "p.txt");
  } catch (const EPaletteError&) {
    return 0;
  }
  const LayerNames names(palette);
  std::set<std::string> seen;
  for (const NamedColour& entry : palette) {
    std::string name(names(entry.colour).view());
    for (char& c : name) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (name.empty() ||
        name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-") != std::string::npos ||
        !seen.insert(name).second) {
      std::abort();
    }
  }

  ColourReduction reduction;
  for (const NamedColour& entry : palette) reduction.palette.push_back(entry.colour);
  Raster raster(4, 3);
  for (std::size_t i = 0; i < raster.pixels.size(); ++i) {
    raster.pixels[i] = i < size ? data[i] * 0x010307u & 0xFFFFFF : kNoSquare;
  }
  reduction.dither = size % 2 == 1;
  reduction.colours = size % 3 == 0 ? 2 : 0;
  ReduceColours(raster, reduction, {});
  DrawingOptions options;
  options.layerNames = LayerNames(palette);
  std::uint64_t squares = 0;
  for (const ColourCount& count : CountColours(raster, options)) {
    if (std::find(reduction.palette.begin(), reduction.palette.end(), count.colour) ==
        reduction.palette.end()) {
      std::abort();
    }
    squares += count.squares;
  }
  if (squares != std::uint64_t(std::count_if(raster.pixels.begin(), raster.pixels.end(),
                                             [](TColor c) { return c != kNoSquare; }))) {
    std::abort();
  }
  return 0;
}

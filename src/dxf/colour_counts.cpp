#include "dxf/colour_counts.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "colour/colour_text.h"
#include "dxf/layer_table.h"
#include "shapes/shape_walk.h"

namespace pixdraft {
namespace {

// squares * size^2, exactly: at most 2^24 squares times (10^15)^2 fits 128 bits.
std::string AreaText(std::uint64_t squares, const PixelSize& size) {
  const auto units = static_cast<unsigned __int128>(size.Units());
  unsigned __int128 value = squares * units * units;
  std::string digits;
  do {
    digits.insert(digits.begin(), char('0' + int(value % 10)));
    value /= 10;
  } while (value > 0);
  const std::size_t decimals = 2 * std::size_t(size.Decimals());
  if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - decimals);
  std::string fraction = digits.substr(digits.size() - decimals);
  fraction.erase(fraction.find_last_not_of('0') + 1);
  return fraction.empty() ? whole : whole + "." + fraction;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos && !text.starts_with(' ') &&
      !text.ends_with(' ')) {
    return text;
  }
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

ETooManyColoursToCount::ETooManyColoursToCount()
    : Exception("The drawing has more than " + std::to_string(kMaxLayers) +
                " colours, too many to count: reduce them with --colours or --palette") {}

std::uint64_t EntitiesOf(const Shape& shape, const DrawingOptions& options) {
  switch (options.entity) {
    case EntityKind::Trace:
    case EntityKind::Solid:
      return 1;
    case EntityKind::Hatch:
      return 1 + (options.outlines ? shape.LoopCount() : 0);
    case EntityKind::Polyline:
      return shape.LoopCount();
  }
  return 1;
}

std::vector<ColourCount> CountColours(const Raster& raster, const DrawingOptions& options) {
  std::unordered_map<TColor, ColourCount> counts;
  const auto count = [&](TColor colour) -> ColourCount& {
    const auto [at, added] = counts.try_emplace(colour, ColourCount{colour});
    if (added && counts.size() > kMaxLayers) throw ETooManyColoursToCount();
    return at->second;
  };
  CheckDrawingOptions(options);
  for (const TColor pixel : raster.pixels) {
    if (pixel != kNoSquare) ++count(pixel).squares;
  }
  ForEachShape(raster, options.merge, options.partCorners, [&](const Shape& shape) {
    count(shape.colour).entities += EntitiesOf(shape, options);
  });
  std::vector<ColourCount> sorted;
  for (const auto& [colour, c] : counts) sorted.push_back(c);
  std::sort(sorted.begin(), sorted.end(), [](const ColourCount& p, const ColourCount& q) {
    return RedFirst(p.colour) < RedFirst(q.colour);
  });
  return sorted;
}

void WriteCountsCsv(ByteSink& sink, const std::vector<ColourCount>& counts,
                    const DrawingOptions& options) {
  std::string text = "colour,name,layer,squares,entities,area";
  if (options.units) text += "_" + std::string(options.units->name) + "2";
  text += "\n";
  const LayerNames& names = options.layerNames;
  ColourCount total;
  for (const ColourCount& c : counts) {
    text += HexText(c.colour) + "," + CsvField(std::string(names.Name(c.colour))) + "," +
            (options.layers ? std::string(names(c.colour).view()) : "0") + "," +
            std::to_string(c.squares) + "," + std::to_string(c.entities) + "," +
            AreaText(c.squares, options.pixelSize) + "\n";
    total.squares += c.squares;
    total.entities += c.entities;
  }
  text += "total,,," + std::to_string(total.squares) + "," + std::to_string(total.entities) + "," +
          AreaText(total.squares, options.pixelSize) + "\n";
  sink.Write(text);
}

}  // namespace pixdraft

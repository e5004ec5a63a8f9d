#include "colour_mapping.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "cielab.h"
#include "nearest_colour.h"

namespace pixdraft {
namespace {

// Pictures repeat colours, photos in nearby pixels: a small table remembers recent answers
// by colour, so most pixels cost one look-up. The answer never depends on it.
template <typename Value>
class ColourCache {
 public:
  template <typename Compute>
  const Value& Get(TColor colour, Compute compute) {
    Slot& slot = (*slots_)[(colour * 0x9E3779B1u) >> (32 - kBits)];
    if (slot.colour != colour) slot = {colour, compute(colour)};
    return slot.value;
  }

 private:
  static constexpr int kBits = 16;
  struct Slot {
    TColor colour = kNoSquare;  // no pixel looked up is kNoSquare
    Value value{};
  };
  std::unique_ptr<std::array<Slot, 1 << kBits>> slots_ =
      std::make_unique<std::array<Slot, 1 << kBits>>();
};

std::vector<Lab> Labs(const std::vector<TColor>& colours) {
  std::vector<Lab> labs;
  for (const TColor colour : colours) labs.push_back(ToLab(colour));
  return labs;
}

void MapPlain(Raster& raster, const std::vector<TColor>& colours) {
  const NearestColour nearest(Labs(colours));
  ColourCache<TColor> cache;
  const auto find = [&](TColor colour) { return colours[nearest.Find(ToLab(colour))]; };
  for (TColor& pixel : raster.pixels) {
    if (pixel != kNoSquare) pixel = cache.Get(pixel, find);
  }
}

void MapDithered(Raster& raster, const std::vector<TColor>& colours) {
  const std::vector<Lab> labs = Labs(colours);
  const NearestColour nearest(labs);
  ColourCache<Lab> cache;
  // Errors of this row and the next, one pixel of margin on either side.
  std::vector<Lab> here(std::size_t(raster.width) + 2), below(here.size());
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      TColor& pixel = raster.pixels[std::size_t(y) * raster.width + x];
      if (pixel == kNoSquare) continue;
      const Lab own = cache.Get(pixel, [](TColor c) { return ToLab(c); });
      const Lab& carried = here[x + 1];
      const Lab target = {std::clamp(own.l + carried.l, 0, 10000),
                          std::clamp(own.a + carried.a, -12800, 12800),
                          std::clamp(own.b + carried.b, -12800, 12800)};
      const std::size_t chosen = nearest.Find(target);
      pixel = colours[chosen];
      const auto spread = [&](std::int32_t Lab::*channel) {
        const std::int32_t error = target.*channel - labs[chosen].*channel;
        const std::int32_t right = error * 7 / 16, left = error * 3 / 16, far = error / 16;
        here[x + 2].*channel += right;
        below[x].*channel += left;
        below[x + 1].*channel += error - right - left - far;
        below[x + 2].*channel += far;
      };
      spread(&Lab::l);
      spread(&Lab::a);
      spread(&Lab::b);
    }
    here.swap(below);
    std::fill(below.begin(), below.end(), Lab{});
  }
}

}  // namespace

void MapToColours(Raster& raster, const std::vector<TColor>& colours, bool dither) {
  dither ? MapDithered(raster, colours) : MapPlain(raster, colours);
}

std::vector<std::size_t> UsedColours(const Raster& raster, const std::vector<TColor>& colours) {
  const NearestColour nearest(Labs(colours));
  ColourCache<std::size_t> cache;
  std::vector<bool> used(colours.size());
  for (const TColor pixel : raster.pixels) {
    if (pixel != kNoSquare) {
      used[cache.Get(pixel, [&](TColor c) { return nearest.Find(ToLab(c)); })] = true;
    }
  }
  std::vector<std::size_t> indices;
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (used[i]) indices.push_back(i);
  }
  return indices;
}

}  // namespace pixdraft

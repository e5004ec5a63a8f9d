#include "colour/colour_mapping.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>
#include <system_error>
#include <thread>

#include "colour/cielab.h"
#include "colour/nearest_colour.h"

namespace pixdraft {
namespace {

// The nearest colour's index for every colour, each worked out once: a table of all 2^24
// colours, zeroed by the system as it is touched, so a picture pays in memory (at most 32 MiB)
// only for the stretches of colours it has; a byte a colour (16 MiB) for fewer than 255 colours.
// Colours are placed in Morton order (the bits of red, green and blue interleaved), so similar
// colours, as neighbouring pixels have, lie together. Threads may share it: a slot only ever
// receives the one value its colour gives, so two threads filling it at once agree.
template <typename Slot>
class NearestByColour {
 public:
  explicit NearestByColour(const NearestColour& nearest)
      : nearest_(nearest),
        table_(static_cast<Slot*>(std::calloc(std::size_t{1} << 24, sizeof(Slot)))) {
    if (!table_) throw std::bad_alloc();
  }
  std::size_t operator()(TColor colour) const {
    const std::atomic_ref<Slot> slot(table_[Place(colour)]);
    Slot known = slot.load(std::memory_order_relaxed);
    if (known == 0) {
      known = Slot(nearest_.Find(ToLab(colour)) + 1);
      slot.store(known, std::memory_order_relaxed);
    }
    return known - 1u;
  }
  // Asks for a colour's slot ahead of its use: a photo's colours are scattered over the table.
  void Prefetch(TColor colour) const { __builtin_prefetch(&table_[Place(colour)]); }

 private:
  static std::uint32_t Place(TColor colour) {
    static const std::array<std::uint32_t, 256> spread = [] {
      std::array<std::uint32_t, 256> bits{};
      for (std::uint32_t v = 0; v < 256; ++v) {
        for (int bit = 0; bit < 8; ++bit) bits[v] |= (v >> bit & 1) << (3 * bit);
      }
      return bits;
    }();
    return spread[colour & 0xFF] | spread[colour >> 8 & 0xFF] << 1 |
           spread[colour >> 16 & 0xFF] << 2;
  }
  struct Free {
    void operator()(Slot* table) const { std::free(table); }
  };
  const NearestColour& nearest_;
  std::unique_ptr<Slot[], Free> table_;  // index + 1; 0 for not yet known
};

std::vector<Lab> Labs(const std::vector<TColor>& colours) {
  std::vector<Lab> labs;
  for (const TColor colour : colours) labs.push_back(ToLab(colour));
  return labs;
}

// Calls use(pixel, index of its nearest colour) for every drawn pixel of `pixels`.
template <typename Slot, typename Pixels, typename Use>
void ForEachNearest(Pixels& pixels, const NearestColour& nearest, Use use) {
  NearestByColour<Slot> find(nearest);
  for (auto& pixel : pixels) {
    if (pixel != kNoSquare) use(pixel, find(pixel));
  }
}
template <typename Pixels, typename Use>
void ForEachNearest(Pixels& pixels, const std::vector<TColor>& colours, Use use) {
  const NearestColour nearest(Labs(colours));
  colours.size() < 255 ? ForEachNearest<std::uint8_t>(pixels, nearest, use)
                       : ForEachNearest<std::uint16_t>(pixels, nearest, use);
}

// Every drawn pixel of `pixels` becomes its nearest colour, the work shared among the processors
// for a large raster: a photo of millions of colours costs a search for each.
template <typename Slot>
void MapPlain(std::span<TColor> pixels, const std::vector<TColor>& colours,
              const NearestColour& nearest) {
  const NearestByColour<Slot> find(nearest);
  const auto map = [&](std::span<TColor> part) {
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < part.size(); ++i) {
      if (i + kAhead < part.size()) find.Prefetch(part[i + kAhead]);
      if (part[i] != kNoSquare) part[i] = colours[find(part[i])];
    }
  };
  constexpr std::size_t kPixelsWorthAThread = std::size_t{1} << 18;
  const std::size_t parts =
      std::clamp<std::size_t>(std::min<std::size_t>(std::thread::hardware_concurrency(),
                                                    pixels.size() / kPixelsWorthAThread),
                              1, 8);
  const std::size_t share = pixels.size() / parts;
  std::vector<std::jthread> helpers;
  std::size_t start = share;  // this thread maps the first share
  try {
    for (std::size_t part = 1; part < parts; ++part, start += share) {
      helpers.emplace_back(map,
                           pixels.subspan(start, part + 1 < parts ? share : std::dynamic_extent));
    }
  } catch (const std::system_error&) {  // no more threads to be had: map the rest here
    map(pixels.subspan(start));
  }
  map(pixels.first(share));
}

void MapPlain(Raster& raster, const std::vector<TColor>& colours) {
  const NearestColour nearest(Labs(colours));
  colours.size() < 255 ? MapPlain<std::uint8_t>(raster.pixels, colours, nearest)
                       : MapPlain<std::uint16_t>(raster.pixels, colours, nearest);
}

void MapDithered(Raster& raster, const std::vector<TColor>& colours) {
  const std::vector<Lab> labs = Labs(colours);
  const NearestColour nearest(labs);
  // Errors of this row and the next, one pixel of margin on either side.
  std::vector<Lab> here(std::size_t(raster.width) + 2), below(here.size());
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      TColor& pixel = raster.pixels[std::size_t(y) * raster.width + x];
      if (pixel == kNoSquare) continue;
      const Lab own = ToLab(pixel);
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
  std::vector<bool> used(colours.size());
  ForEachNearest(raster.pixels, colours, [&](TColor, std::size_t i) { used[i] = true; });
  std::vector<std::size_t> indices;
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (used[i]) indices.push_back(i);
  }
  return indices;
}

}  // namespace pixdraft

// Reducing the colours of a 4096 x 4096 photo-like raster (smooth colours with noise, millions of
// distinct colours) to 16 of its own and to a palette of 48, with and without dithering. Wall
// time: the mapping shares its work among the processors.
#include <benchmark/benchmark.h>

#include <random>

#include "bench_support.h"
#include "colour/colour_reduction.h"

namespace pixdraft {
namespace {

const Raster& Photo4096() {
  static const Raster raster = [] {
    Raster photo(4096, 4096);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 5);
    for (int y = 0; y < photo.height; ++y) {
      for (int x = 0; x < photo.width; ++x) {
        const auto channel = [&](double wave) {
          return std::clamp(int(128 + 100 * wave + noise(random)), 0, 255);
        };
        photo.SetPixel(x, y,
                       RGB(channel(std::sin(x / 400.0 + y / 900.0)),
                           channel(std::cos(y / 300.0) * std::sin(x / 1000.0)),
                           channel(std::cos((x - 2000.0) * (y - 1000.0) / 2e6))));
      }
    }
    return photo;
  }();
  return raster;
}

std::vector<TColor> Palette48() {
  std::vector<TColor> palette;
  std::mt19937 random(2);
  for (int i = 0; i < 48; ++i) palette.push_back(random() & 0xFFFFFF);
  return palette;
}

void Reduce(benchmark::State& state, int colours, bool palette, bool dither) {
  const ColourReduction reduction{palette ? Palette48() : std::vector<TColor>{}, colours, dither};
  for (auto _ : state) {
    state.PauseTiming();
    Raster raster = Photo4096();
    state.ResumeTiming();
    ReduceColours(raster, reduction, {});
    benchmark::DoNotOptimize(raster.pixels.data());
  }
}

BENCHMARK_CAPTURE(Reduce, colours_16, 16, false, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Reduce, palette_48, 0, true, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Reduce, colours_16_dither, 16, false, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Reduce, palette_48_dither, 0, true, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Reduce, colours_256, 256, false, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace pixdraft

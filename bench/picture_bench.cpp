// Fitting a large decoded picture against decoding it from PNG: the fit must stay a small share
// (5 % at most) of what the user already waits for.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImageWriter>
#include <chrono>
#include <random>

#include "decoder/picture_file.h"
#include "decoder/picture_fit.h"

namespace pixdraft {
namespace {

constexpr int kSide = 4096;

// Gradients with noise in the low bits: a PNG encoder finds structure, but not so much that
// decoding becomes trivial.
struct Pictures {
  Pictures() {
    QImage image(kSide, kSide, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int y = 0; y < kSide; ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < kSide; ++x) {
        const unsigned noise = random();
        line[x] = qRgb((x >> 4 ^ (noise & 15)) & 255, (y >> 4 ^ (noise >> 4 & 15)) & 255,
                       ((x + y) >> 5 ^ (noise >> 8 & 31)) & 255);
      }
    }
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    decoded = Decode();
  }

  QImage Decode() {
    QBuffer buffer(&png);
    buffer.open(QIODevice::ReadOnly);
    return LoadPictureStream(buffer);
  }

  QByteArray png;
  QImage decoded;
};

Pictures& Shared() {
  static Pictures pictures;
  return pictures;
}

void DecodePng(benchmark::State& state) {
  Pictures& pictures = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(pictures.Decode());
  state.counters["png_MB"] = double(pictures.png.size()) / (1 << 20);
}

void Fit(benchmark::State& state) {
  const QImage& decoded = Shared().decoded;
  for (auto _ : state) benchmark::DoNotOptimize(FitPicture(decoded));
}

// Both in turn, under the same conditions: the fit's cost as a percentage of the decode's.
void FitPerDecode(benchmark::State& state) {
  Pictures& pictures = Shared();
  using Clock = std::chrono::steady_clock;
  Clock::duration decoding{}, fitting{};
  for (auto _ : state) {
    const auto start = Clock::now();
    const QImage decoded = pictures.Decode();
    const auto decodedAt = Clock::now();
    benchmark::DoNotOptimize(FitPicture(decoded));
    fitting += Clock::now() - decodedAt;
    decoding += decodedAt - start;
  }
  state.counters["fit_percent_of_decode"] =
      100.0 * double(fitting.count()) / double(decoding.count());
}

BENCHMARK(DecodePng)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Fit)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FitPerDecode)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pixdraft

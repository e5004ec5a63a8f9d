// The export of the default raster against the plain cost of writing its bytes to a file in the
// same folder, and the export with merged squares against the plain export, on noise: the worst
// case for merging, which finds nothing to join and pays for looking. Then regions, as polylines
// and as hatches, against the plain export of the same 4096 x 4096 raster, noise (a region per
// pixel) and a four-colour logo, into a sink that only counts the bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "base/readable_file.h"
#include "bench_support.h"

namespace pixdraft {
namespace {

void Export(benchmark::State& state, bool utf16) {
  const ScratchFolder folder(utf16);
  const Raster raster = NoisyRaster(256, 256);
  const std::string picture = folder.File("picture.png");
  for (auto _ : state) ExportDxf(raster, picture, folder.templates);
  state.SetBytesProcessed(state.iterations() *
                          ReadWholeFile(folder.File("picture.dxf"), std::size_t{1} << 30).size());
}

void ExportMerged(benchmark::State& state) {
  const ScratchFolder folder;
  const Raster raster = NoisyRaster(256, 256);
  const std::string picture = folder.File("picture.png");
  DrawingOptions merge;
  merge.merge = Merge::Rectangles;
  for (auto _ : state) ExportDxf(raster, picture, folder.templates, merge);
  state.SetBytesProcessed(state.iterations() *
                          ReadWholeFile(folder.File("picture.dxf"), std::size_t{1} << 30).size());
}

// open, write and close, as plainly as the system allows: the floor any export stands on.
void WriteSameBytes(benchmark::State& state, bool utf16) {
  const ScratchFolder folder(utf16);
  ExportDxf(NoisyRaster(256, 256), folder.File("picture.png"), folder.templates);
  const std::string bytes = ReadWholeFile(folder.File("picture.dxf"), std::size_t{1} << 30);
  const std::string target = folder.File("plain.dxf");
  for (auto _ : state) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    ::close(fd);
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

class CountingSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { size += bytes.size(); }
  std::uint64_t size = 0;
};

void ExportLarge(benchmark::State& state, const Raster& (*picture)(), EntityKind entity,
                 bool regions) {
  const Raster& raster = picture();
  TStringList header, footer;
  header.LoadFromFile(PIXDRAFT_TEMPLATES "/pixdraft.dx1");
  footer.LoadFromFile(PIXDRAFT_TEMPLATES "/pixdraft.dx2");
  DrawingOptions options;
  options.entity = entity;
  options.merge = regions ? Merge::Regions : Merge::None;
  for (auto _ : state) {
    CountingSink sink;
    WriteDxfDocument(sink, header, raster, footer, options);
    state.counters["MB"] = double(sink.size) / 1e6;
  }
}

const Raster& Noise4096() {
  static const Raster raster = NoisyRaster(4096, 4096);
  return raster;
}
const Raster& Logo4096() {
  static const Raster raster = LogoRaster(4096, 4096);
  return raster;
}

BENCHMARK_CAPTURE(Export, Ansi, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteSameBytes, Ansi, false)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportMerged)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Utf16, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteSameBytes, Utf16, true)->Unit(benchmark::kMillisecond);

#define LARGE(name, ...)                            \
  BENCHMARK_CAPTURE(ExportLarge, name, __VA_ARGS__) \
      ->Unit(benchmark::kMillisecond)               \
      ->Iterations(1)                               \
      ->Repetitions(5)                              \
      ->ReportAggregatesOnly(true)
LARGE(NoisePlain, Noise4096, EntityKind::Trace, false);
LARGE(NoiseRegionPolylines, Noise4096, EntityKind::Polyline, true);
LARGE(NoiseRegionHatches, Noise4096, EntityKind::Hatch, true);
LARGE(LogoPlain, Logo4096, EntityKind::Trace, false);
LARGE(LogoRegionPolylines, Logo4096, EntityKind::Polyline, true);
LARGE(LogoRegionHatches, Logo4096, EntityKind::Hatch, true);

}  // namespace
}  // namespace pixdraft

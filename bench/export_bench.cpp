// The export of the default raster against the plain cost of writing its bytes to a file in the
// same folder, and the export with merged squares against the plain export, on noise: the worst
// case for merging, which finds nothing to join and pays for looking.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "bench_support.h"
#include "readable_file.h"

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
  merge.merge = true;
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

BENCHMARK_CAPTURE(Export, Ansi, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteSameBytes, Ansi, false)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportMerged)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Utf16, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteSameBytes, Utf16, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pixdraft

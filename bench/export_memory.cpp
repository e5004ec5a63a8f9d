// Exports the largest raster once and prints how far the export raised the process's peak
// resident memory (VmHWM) above what it held before.
#include <fstream>
#include <iostream>
#include <string>

#include "bench_support.h"

namespace {

long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main() {
  using namespace pixdraft;
  const ScratchFolder folder;
  const Raster raster = NoisyRaster(256, 256);
  const long before = PeakResidentKiB();
  ExportDxf(raster, folder.File("picture.png"), folder.templates);
  const long after = PeakResidentKiB();
  std::cout << "peak resident before export: " << before << " KiB\n"
            << "peak resident after export:  " << after << " KiB\n"
            << "raised by: " << (after - before) / 1024.0 << " MiB\n";
}

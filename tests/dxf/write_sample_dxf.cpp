// Writes the DXF of a small raster whose pixel (x, y) has the colour (40x, 60y, 255 - 30x - 30y),
// for checks by real DXF readers. Usage: write_sample_dxf WIDTH HEIGHT PICTURE TEMPLATE_DIR
#include <cstdlib>
#include <iostream>

#include "base/errors.h"
#include "dxf/dxf_export.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: write_sample_dxf WIDTH HEIGHT PICTURE TEMPLATE_DIR\n";
    return 2;
  }
  using namespace pixdraft;
  Raster raster(std::atoi(argv[1]), std::atoi(argv[2]));
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      raster.SetPixel(x, y, RGB(40 * x % 256, 60 * y % 256, (255 - 30 * x - 30 * y) & 255));
    }
  }
  const std::string dir = argv[4];
  try {
    std::cout << ExportDxf(raster, argv[3], {dir + "/pixdraft.dx1", dir + "/pixdraft.dx2"}) << "\n";
  } catch (const Exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}

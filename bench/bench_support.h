// A 256 x 256 raster of varied colours, and templates in a scratch folder, for export benchmarks.
#pragma once

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "base/safe_file_writer.h"
#include "dxf/dxf_export.h"

namespace pixdraft {

inline Raster NoisyRaster(int width, int height) {
  Raster raster(width, height);
  std::mt19937 random(42);
  for (auto& pixel : raster.pixels) pixel = random() & 0xFFFFFF;
  return raster;
}

// Four colours as a logo has them: a red ring, a blue bar across it and black stripes below,
// on white.
inline Raster LogoRaster(int width, int height) {
  Raster raster(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double dx = (x - width / 2.0) / width, dy = (y - height / 2.0) / height;
      const double r2 = dx * dx + dy * dy;
      if (r2 >= 0.1 && r2 < 0.16) raster.SetPixel(x, y, RGB(200, 20, 30));
      if (std::abs(dy) < 0.04 && std::abs(dx) < 0.35) raster.SetPixel(x, y, RGB(20, 40, 120));
      if (dy > 0.42 && int(16 * (dx + 0.5)) % 2 == 0) raster.SetPixel(x, y, RGB(0, 0, 0));
    }
  }
  return raster;
}

// A folder with a picture name and the shipped templates, the header re-encoded on request.
class ScratchFolder {
 public:
  explicit ScratchFolder(bool utf16Header = false) {
    std::string pattern = std::filesystem::temp_directory_path() / "pixdraft-bench-XXXXXX";
    path_ = ::mkdtemp(pattern.data());
    templates.header = path_ + "/pixdraft.dx1";
    templates.footer = path_ + "/pixdraft.dx2";
    TStringList header;
    header.LoadFromFile(PIXDRAFT_TEMPLATES "/pixdraft.dx1");
    if (utf16Header) header.Encoding = TextEncoding::Utf16LE;
    SafeFileWriter file(templates.header);
    header.SaveToFile(file);
    file.Commit();
    std::filesystem::copy_file(PIXDRAFT_TEMPLATES "/pixdraft.dx2", templates.footer);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }

  std::string File(const std::string& name) const { return path_ + "/" + name; }

  TemplatePaths templates;

 private:
  std::string path_;
};

}  // namespace pixdraft

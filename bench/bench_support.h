// A 256 x 256 raster of varied colours, and templates in a scratch folder, for export benchmarks.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "dxf_export.h"

namespace pixdraft {

inline Raster NoisyRaster(int width, int height) {
  Raster raster(width, height);
  std::mt19937 random(42);
  for (auto& pixel : raster.pixels) pixel = random() & 0xFFFFFF;
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
    header.SaveToFile(templates.header);
    std::filesystem::copy_file(PIXDRAFT_TEMPLATES "/pixdraft.dx2", templates.footer);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }

  std::string File(const std::string& name) const { return path_ + "/" + name; }

  TemplatePaths templates;

 private:
  std::string path_;
};

}  // namespace pixdraft

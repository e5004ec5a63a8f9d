#include "picture_session.h"

#include <filesystem>
#include <utility>

#include "decoder_process.h"

namespace pixdraft {
std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

std::string StatusText(const std::string& path, int width, int height) {
  const std::string name = path.substr(path.rfind('/') + 1);  // npos + 1 == 0: the whole path
  return "Image : " + name + " | Width : " + std::to_string(width) +
         " | Height : " + std::to_string(height);
}

void PictureSession::Load(const std::string& path, const DecodeCancel* cancel) {
  // Everything that can throw happens before the first member changes.
  Raster raster = DecodeFittedPicture(path, options_.fit, cancel);
  ReduceColours(raster, options_.reduction, options_.drawing.leftOutColours);
  std::string fullPath = AbsolutePath(path);
  std::string status = StatusText(fullPath, raster.width, raster.height);
  currentImagePath_ = std::move(fullPath);
  raster_ = std::move(raster);
  statusText_ = std::move(status);
}

std::optional<std::string> PictureSession::SaveToDxf(const TemplatePaths& templates) const {
  if (currentImagePath_.empty()) return std::nullopt;
  return ExportDxf(raster_, currentImagePath_, templates, options_.drawing);
}

}  // namespace pixdraft

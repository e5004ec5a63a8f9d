#include "picture/picture_session.h"

#include <filesystem>
#include <utility>

#include "base/std_path.h"
#include "picture/decoder_process.h"
#include "shapes/background.h"

namespace pixdraft {
std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(StdPath(path), error);
  return error ? path : NameOf(absolute);
}

void PrepareFittedRaster(Raster& raster, const ConversionOptions& options) {
  ReduceColours(raster, options.reduction, options.drawing.leftOutColours);
  if (options.drawing.leaveOutBackground) LeaveOutBackground(raster);
}

void PictureSession::Load(const std::string& path, const DecodeCancel* cancel) {
  // Everything that can throw happens before the first member changes.
  Raster raster = DecodeFittedPicture(path, options_.fit, cancel);
  PrepareFittedRaster(raster, options_);
  currentImagePath_ = AbsolutePath(path);
  raster_ = std::move(raster);
}

std::optional<std::string> PictureSession::SaveToDxf(const TemplatePaths& templates) const {
  if (currentImagePath_.empty()) return std::nullopt;
  return ExportDxf(raster_, currentImagePath_, templates, options_.drawing);
}

}  // namespace pixdraft

#include "conversion/picture_session.h"

#include <filesystem>
#include <sstream>
#include <utility>

#include "dxf/colour_counts.h"
#include "picture/decoder_process.h"
#include "platform/std_path.h"
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

std::string CountsCsv(const Raster& raster, const DrawingOptions& drawing) {
  std::ostringstream csv;
  StreamSink sink(csv);
  WriteCountsCsv(sink, CountColours(raster, drawing), drawing);
  return std::move(csv).str();
}

void PictureSession::Load(const std::string& path, const DecodeCancel* cancel) {
  // Everything that can throw happens before the first member changes.
  Raster raster = DecodeFittedPicture(path, options_.fit, cancel);
  PrepareFittedRaster(raster, options_);
  currentImagePath_ = AbsolutePath(path);
  raster_ = std::move(raster);
}

std::optional<std::string> PictureSession::SaveToDxf(
    const TemplatePaths& templates, const std::optional<std::string>& dxfPath) const {
  if (currentImagePath_.empty()) return std::nullopt;
  if (!dxfPath) return ExportDxf(raster_, currentImagePath_, templates, options_.drawing);
  ExportDxfAs(raster_, currentImagePath_, *dxfPath, templates, options_.drawing);
  // Absolute, as drawings beside the picture are named, but not normalised: it names what was
  // written.
  return AbsolutePath(*dxfPath);
}

void PictureSession::WriteDxf(ByteSink& sink, const TemplatePaths& templates) const {
  ExportDxfTo(sink, raster_, templates, options_.drawing);
}

}  // namespace pixdraft

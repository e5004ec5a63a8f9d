#include "conversion/window_drawing.h"

#include <algorithm>
#include <memory>

#include "base/safe_file_writer.h"
#include "conversion/picture_session.h"
#include "dxf/colour_counts.h"
#include "platform/file_identity.h"
#include "shapes/shape_walk.h"

namespace pixdraft {
FitOptions WindowFit() {
  FitOptions fit;
  fit.leaveOutTransparent = true;
  return fit;
}

Raster RasterFor(const Raster& fitted, const ConversionOptions& options) {
  Raster raster = fitted;
  if (!options.fit.leaveOutTransparent) {
    std::replace(raster.pixels.begin(), raster.pixels.end(), kNoSquare, RGB(255, 255, 255));
  }
  PrepareFittedRaster(raster, options);
  return raster;
}

std::string CountsPathFor(const std::string& dxfPath) {
  const std::string stem =
      dxfPath.ends_with(".dxf") ? dxfPath.substr(0, dxfPath.size() - 4) : dxfPath;
  return stem + ".counts.csv";
}

SavedDrawing SaveBeside(const Raster& fitted, const std::string& picturePath,
                        const TemplatePaths& templates, const DrawingChoice& choice) {
  const ConversionOptions options = OptionsFor(choice);
  const Raster raster = RasterFor(fitted, options);
  SavedDrawing saved{DxfPathFor(picturePath), std::nullopt};
  std::unique_ptr<SafeFileWriter> counts;
  if (choice.counts) {
    saved.countsPath = CountsPathFor(saved.dxfPath);
    for (const std::string& other : {picturePath, saved.dxfPath}) {
      if (platform::SameFile(*saved.countsPath, other)) {
        throw EFCreateError(*saved.countsPath, "It would replace the picture or its drawing");
      }
    }
    const std::string csv = CountsCsv(raster, options.drawing);
    counts = std::make_unique<SafeFileWriter>(*saved.countsPath);
    counts->Write(csv);
  }
  ExportDxf(raster, picturePath, templates, options.drawing);
  if (counts) counts->Commit();
  return saved;
}

DrawingPreview PreviewOf(const Raster& fitted, const ConversionOptions& options) {
  DrawingPreview preview;
  preview.raster = RasterFor(fitted, options);
  const DrawingOptions& drawing = options.drawing;
  ForEachShape(preview.raster, drawing.merge, drawing.partCorners, [&](const Shape& shape) {
    preview.corners.insert(preview.corners.end(), shape.corners.begin(), shape.corners.end());
    const auto offset = std::uint32_t(preview.corners.size() - shape.corners.size());
    for (const std::uint32_t end : shape.loopEnds) preview.loopEnds.push_back(offset + end);
    preview.entities += EntitiesOf(shape, options.drawing);
  });
  return preview;
}

}  // namespace pixdraft

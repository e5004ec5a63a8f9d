// The conversion both programs call: the chosen path and its working raster (loaded, fitted, its
// colours left out and reduced), drawn beside the picture, to a named path or to a sink, with its
// counts. The window and the command-line converter both drive one of these.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "colour/raster.h"
#include "conversion/conversion_options.h"
#include "dxf/dxf_export.h"

namespace pixdraft {

class DecodeCancel;

// `path` made absolute against the current directory but not normalised: "link/.." keeps meaning
// what it meant when the file was opened. `path` itself when there is no current directory.
std::string AbsolutePath(const std::string& path);

// Makes a fitted raster the one `options` draw: its colours reduced, then its background left
// out.
void PrepareFittedRaster(Raster& raster, const ConversionOptions& options);

// The colour counts of `raster` as `drawing` draws it, as CSV text: made before the drawing is
// written, so that a picture they refuse leaves no drawing.
std::string CountsCsv(const Raster& raster, const DrawingOptions& drawing);

class PictureSession {
 public:
  // The window's conversion by default.
  explicit PictureSession(ConversionOptions options = {}) : options_(std::move(options)) {}

  // Decodes and fits the picture at `path` (in the decoding helper), reduces its colours as the
  // options ask, and makes it current. On any error, or DecodeCancelled once `cancel` is
  // cancelled, the path and raster stay as they were,
  // and the error propagates.
  void Load(const std::string& path, const DecodeCancel* cancel = nullptr);

  // Exports the current raster into `dxfPath`, or beside the current path without one, and
  // returns the DXF file's path made absolute; does nothing and returns nothing while no picture
  // has been loaded.
  std::optional<std::string> SaveToDxf(const TemplatePaths& templates = {},
                                       const std::optional<std::string>& dxfPath = {}) const;
  // Streams the current raster's drawing into `sink` as it is made.
  void WriteDxf(ByteSink& sink, const TemplatePaths& templates = {}) const;

  // The current picture's path made absolute (not normalised); empty before the first successful
  // load.
  const std::string& CurrentImagePath() const { return currentImagePath_; }
  const Raster& raster() const { return raster_; }

 private:
  ConversionOptions options_;
  std::string currentImagePath_;
  Raster raster_;
};

}  // namespace pixdraft

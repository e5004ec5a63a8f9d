#include "dxf/drawing_survey.h"

#include <algorithm>
#include <unordered_set>

#include "dxf/layer_table.h"

namespace pixdraft {

DrawingSurvey SurveyDrawing(const Raster& raster, const DrawingOptions& options) {
  const bool colours = options.layers;
  std::unordered_set<TColor> seen;
  DrawingSurvey survey;
  survey.left = raster.width;
  survey.top = raster.height;
  // The last colour looked at: pictures repeat colours in runs.
  TColor last = kNoSquare;
  bool lastDrawn = false;
  for (int y = 0; y < raster.height; ++y) {
    int rowLeft = -1, rowRight = 0;
    for (int x = 0; x < raster.width; ++x) {
      const TColor colour = raster.Pixel(x, y);
      if (colour != last) {
        last = colour;
        lastDrawn = colour != kNoSquare;
        if (lastDrawn && colours && seen.insert(colour).second && seen.size() > kMaxLayers) {
          throw ETooManyColours();
        }
      }
      if (!lastDrawn) continue;
      ++survey.drawnPixels;
      if (rowLeft < 0) rowLeft = x;
      rowRight = x + 1;
    }
    if (rowLeft < 0) continue;
    survey.left = std::min(survey.left, rowLeft);
    survey.right = std::max(survey.right, rowRight);
    survey.top = std::min(survey.top, y);
    survey.bottom = y + 1;
  }
  if (survey.drawnPixels == 0) survey.left = survey.top = 0;
  survey.colours.assign(seen.begin(), seen.end());
  std::sort(survey.colours.begin(), survey.colours.end(),
            [](TColor a, TColor b) { return RedFirst(a) < RedFirst(b); });
  return survey;
}

}  // namespace pixdraft

// One layer per colour: each colour of the drawing on a layer of its own, named after it and
// declared in the header's LAYER table with that colour, so that readers list the layers and
// programs that choose a laser's power or a tool by layer can tell the colours apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/errors.h"
#include "colour/raster.h"
#include "dxf/layer_names.h"
#include "dxf/trace_record.h"

namespace pixdraft {

// The most colours a drawing with one layer per colour may have.
constexpr std::size_t kMaxLayers = 4096;

// A drawing with one layer per colour asked of a picture with more colours than kMaxLayers.
class ETooManyColours : public Exception {
 public:
  ETooManyColours();
};

// The LAYER records of `colours`, in their order, line by line, named by `names`: handles from
// `firstHandle` on,
// owned by the table whose handle is `tableHandle` (none: no owner group), colour 420 and group
// 62 with the nearest colour index when `colourIndex`, else 7, the usual default.
std::vector<std::u16string> LayerRecords(const std::vector<TColor>& colours,
                                         std::int32_t firstHandle,
                                         const std::optional<std::u16string>& tableHandle,
                                         bool colourIndex, const LayerNames& names);

}  // namespace pixdraft

// One layer per colour: each colour of the drawing on a layer of its own, named after it and
// declared in the header's LAYER table with that colour, so that readers list the layers and
// programs that choose a laser's power or a tool by layer can tell the colours apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dxf/layer_names.h"
#include "dxf/raster.h"
#include "dxf/trace_record.h"

namespace pixdraft {

// The most colours a drawing with one layer per colour may have.
constexpr std::size_t kMaxLayers = 4096;

// The layer of a colour: "C_" and its true colour as six upper-case hexadecimal digits, red
// first: orange (255, 128, 0) is on layer C_FF8000.
FieldText LayerName(TColor colour);

// The LAYER records of `colours`, in their order, line by line, named by `names`: handles from
// `firstHandle` on,
// owned by the table whose handle is `tableHandle` (none: no owner group), colour 420 and group
// 62 with the nearest colour index when `colourIndex`, else 7, the usual default.
std::vector<std::u16string> LayerRecords(const std::vector<TColor>& colours,
                                         std::int32_t firstHandle,
                                         const std::optional<std::u16string>& tableHandle,
                                         bool colourIndex, const LayerNames& names);

}  // namespace pixdraft

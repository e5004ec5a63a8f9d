// The header template as a drawing's options need it:
//  - with one layer per colour, the LAYER table holds a layer for each of the survey's colours;
//  - with units, $INSUNITS names them and $MEASUREMENT says metric (1) or imperial (0);
//  - when the drawn pixels' extent differs from that of the default drawing of the raster (one
//    unit per pixel from the top-left origin, every pixel drawn), $EXTMIN and $EXTMAX hold the
//    true extent and the active viewport (VPORT *Active) is centred on it, a tenth taller than
//    what shows all of it;
//  - $HANDSEED names `seed`'s value when it is given.
// Variables the template lacks are added at the end of its HEADER section; what the template has
// no place for (no HEADER section, no LAYER table, no active viewport) is left out.
#pragma once

#include <cstdint>
#include <optional>

#include "base/string_list.h"
#include "dxf/drawing_options.h"
#include "dxf/drawing_survey.h"
#include "dxf/grid_lines.h"
#include "dxf/handle_seed.h"
#include "dxf/layer_names.h"

namespace pixdraft {

// Nothing when the header stays as it is: the default options change nothing.
std::optional<TStringList> DrawingHeader(const TStringList& header, const DrawingOptions& options,
                                         const Raster& raster, const DrawingSurvey& survey,
                                         const GridLines& grid, const LayerNames& layerNames,
                                         std::int32_t firstLayerHandle,
                                         const std::optional<HandleSeed>& seed);

}  // namespace pixdraft

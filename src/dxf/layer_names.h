// Layer names for named colours, such as a palette's: "orange tile" draws on layer orange_tile.
//
// A name is made fit for every DXF reader and for the header's code page (the shipped templates
// declare Windows-1252): letters A-Z and a-z, digits, "_" and "-" stay; every other run of
// characters (blanks, punctuation, anything beyond ASCII) becomes one "_"; "_" at either end
// goes; at most kMaxLayerNameLength characters are kept. A name with nothing left keeps the
// colour's own layer name, C_RRGGBB (layer_table.h).
//
// Names are unique as readers compare them, ignoring case: in the order given, a name already
// taken, or that is "0", "Defpoints" or another colour's C_RRGGBB, gets "_2", "_3" and so on,
// the first that is free.
#pragma once

#include <utility>
#include <vector>

#include "dxf/drawing_options.h"
#include "dxf/trace_record.h"

namespace pixdraft {

constexpr std::size_t kMaxLayerNameLength = 24;

class LayerNames {
 public:
  explicit LayerNames(const std::vector<NamedColour>& named = {});

  // The layer of `colour`: its name's, or C_RRGGBB for a colour without a name.
  FieldText operator()(TColor colour) const;

 private:
  std::vector<std::pair<TColor, FieldText>> named_;  // by colour
};

}  // namespace pixdraft

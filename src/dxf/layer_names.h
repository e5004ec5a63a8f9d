// Layer names: a colour's own, C_RRGGBB, and those of named colours, such as a palette's:
// "orange tile" draws on layer orange_tile.
//
// A name is made fit for every DXF reader and for the header's code page (the shipped templates
// declare Windows-1252): letters A-Z and a-z, digits, "_" and "-" stay; every other run of
// characters (blanks, punctuation, anything beyond ASCII) becomes one "_"; "_" at either end
// goes; at most kMaxLayerNameLength characters are kept. A name with nothing left keeps the
// colour's own layer name.
//
// Names are unique as readers compare them, ignoring case: in the order given, a name already
// taken, or that is "0", "Defpoints" or another colour's C_RRGGBB, gets "_2", "_3" and so on,
// the first that is free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "colour/palette.h"
#include "dxf/trace_record.h"

namespace pixdraft {

constexpr std::size_t kMaxLayerNameLength = 24;

// The layer of a colour: "C_" and its true colour as six upper-case hexadecimal digits, red
// first: orange (255, 128, 0) is on layer C_FF8000.
FieldText LayerName(TColor colour);

// The named colours of a drawing and their layers, made once: thousands of names take a while.
class LayerNames {
 public:
  LayerNames() = default;
  explicit LayerNames(const std::vector<NamedColour>& named);

  // The layer of `colour`: its name's, or C_RRGGBB for a colour without a name.
  FieldText operator()(TColor colour) const;
  // The name `colour` was given; empty for a colour without a name.
  std::string_view Name(TColor colour) const;

 private:
  struct Entry {
    TColor colour;
    std::string name;
    FieldText layer;
  };
  const Entry* Find(TColor colour) const;
  std::vector<Entry> named_;  // by colour
};

}  // namespace pixdraft

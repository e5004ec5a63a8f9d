#include "dxf/layer_table.h"

#include "dxf/colour_index.h"

namespace pixdraft {

ETooManyColours::ETooManyColours()
    : Exception("The picture has more than " + std::to_string(kMaxLayers) +
                " colours, too many for one layer each") {}

std::vector<std::u16string> LayerRecords(const std::vector<TColor>& colours,
                                         std::int32_t firstHandle,
                                         const std::optional<std::u16string>& tableHandle,
                                         bool colourIndex, const LayerNames& names) {
  std::vector<std::u16string> lines;
  const auto add = [&](std::string_view code, std::string_view value) {
    lines.emplace_back(code.begin(), code.end());
    lines.emplace_back(value.begin(), value.end());
  };
  std::int32_t handle = firstHandle;
  for (const TColor colour : colours) {
    add("  0", "LAYER");
    add("  5", HandleField(handle++).view());
    if (tableHandle) {
      lines.emplace_back(u"330");
      lines.push_back(*tableHandle);
    }
    add("100", "AcDbSymbolTableRecord");
    add("100", "AcDbLayerTableRecord");
    add("  2", names(colour).view());
    add(" 70", "0");
    add(" 62", colourIndex ? std::to_string(NearestColourIndex(colour)) : "7");
    add("420", TrueColourText(colour).view());
    add("  6", "Continuous");
  }
  return lines;
}

}  // namespace pixdraft

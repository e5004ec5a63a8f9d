#include "dxf/drawing_header.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <utility>
#include <vector>

#include "dxf/header_edits.h"
#include "dxf/header_pairs.h"
#include "dxf/layer_names.h"
#include "dxf/layer_table.h"

namespace pixdraft {
namespace {

std::u16string Utf16(std::string_view text) { return {text.begin(), text.end()}; }

// A group code as the templates write it, right-aligned in three characters.
std::u16string CodeText(int code) {
  std::string text = std::to_string(code);
  return Utf16(std::string(3 - std::min<std::size_t>(3, text.size()), ' ') + text);
}

// The shortest decimal that reads back as `value`, with at least one decimal: "128.0", "0.55".
std::string DecimalText(double value) {
  char buffer[400];
  char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr;
  std::string text(buffer, end);
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

std::optional<double> NumberAt(const HeaderPairs& pairs, std::optional<int> line) {
  if (!line) return std::nullopt;
  const std::u16string_view value = pairs.Value(*line);
  std::string ascii;
  for (const char16_t c : value) ascii += c < 128 ? char(c) : '?';
  double number = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), number);
  if (error != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
  return number;
}

class Changes {
 public:
  explicit Changes(const TStringList& header)
      : pairs_(header), headerEnd_(pairs_.SectionEnd(u"HEADER")) {}

  // Gives the header variable `name` these group values: those it has are replaced, the others
  // added.
  void SetVariable(std::u16string_view name,
                   const std::vector<std::pair<int, std::string>>& values) {
    const auto nameLine = pairs_.VariableName(name);
    std::vector<std::u16string> missing;
    for (const auto& [code, value] : values) {
      if (const auto line = nameLine ? pairs_.VariableValue(name, code) : std::nullopt) {
        edits_.Replace(*line, Utf16(value));
      } else {
        missing.push_back(CodeText(code));
        missing.push_back(Utf16(value));
      }
    }
    if (missing.empty()) return;
    if (nameLine) {
      edits_.InsertBefore(*nameLine + 1, missing);
    } else if (headerEnd_) {
      missing.insert(missing.begin(), {u"  9", std::u16string(name)});
      edits_.InsertBefore(*headerEnd_, missing);
    }
  }

  void AddLayers(const std::vector<TColor>& colours, std::int32_t firstHandle, bool colourIndex,
                 const LayerNames& names) {
    const auto table = pairs_.FindTable(u"LAYER");
    if (!table) return;
    std::optional<std::u16string> owner;
    if (table->handle) owner = std::u16string(pairs_.Value(*table->handle));
    edits_.InsertBefore(table->end, LayerRecords(colours, firstHandle, owner, colourIndex, names));
    if (const auto entries = NumberAt(pairs_, table->entries)) {
      edits_.Replace(*table->entries,
                     Utf16(std::to_string(std::int64_t(*entries) + std::int64_t(colours.size()))));
    }
  }

  // Centres the active viewport on the box from (left, bottom) to (right, top).
  void CentreView(double left, double bottom, double right, double top) {
    const auto value = [&](int code) { return pairs_.EntryValue(u"VPORT", u"*Active", code); };
    double aspect = NumberAt(pairs_, value(41)).value_or(1);
    if (!(aspect > 0)) aspect = 1;
    const double height = std::max(top - bottom, (right - left) / aspect) * 11 / 10;
    const std::pair<int, double> values[] = {
        {12, (left + right) / 2}, {22, (bottom + top) / 2}, {40, height}};
    for (const auto& [code, number] : values) {
      if (const auto line = value(code)) edits_.Replace(*line, Utf16(DecimalText(number)));
    }
  }

  void Replace(int line, std::string_view text) { edits_.Replace(line, Utf16(text)); }

  std::optional<TStringList> Apply(const TStringList& header) const {
    if (edits_.Empty()) return std::nullopt;
    return edits_.Apply(header);
  }

 private:
  HeaderPairs pairs_;
  std::optional<int> headerEnd_;
  HeaderEdits edits_;
};

// Whether the drawn pixels fill the default drawing's extent: x 0 to width, y 1 - height to 1.
bool DefaultExtent(const DrawingOptions& options, const Raster& raster, const DrawingSurvey& survey,
                   const GridLines& grid) {
  return options.pixelSize == PixelSize() && survey.left == 0 && survey.right == raster.width &&
         grid.Row(survey.top) == 1 && grid.Row(survey.bottom) == 1 - std::int64_t{raster.height};
}

}  // namespace

std::optional<TStringList> DrawingHeader(const TStringList& header, const DrawingOptions& options,
                                         const Raster& raster, const DrawingSurvey& survey,
                                         const GridLines& grid, const LayerNames& layerNames,
                                         std::int32_t firstLayerHandle,
                                         const std::optional<HandleSeed>& seed) {
  Changes changes(header);
  if (options.layers) {
    changes.AddLayers(survey.colours, firstLayerHandle, options.colourIndex, layerNames);
  }
  if (options.units) {
    changes.SetVariable(u"$INSUNITS", {{70, std::to_string(options.units->insUnits)}});
    changes.SetVariable(u"$MEASUREMENT", {{70, options.units->metric ? "1" : "0"}});
  }
  if (survey.drawnPixels > 0 && !DefaultExtent(options, raster, survey, grid)) {
    const auto text = [](const FieldText& field) { return std::string(field.view()); };
    changes.SetVariable(u"$EXTMIN", {{10, text(grid.ColumnText(survey.left))},
                                     {20, text(grid.RowText(survey.bottom))},
                                     {30, "0.0"}});
    changes.SetVariable(u"$EXTMAX", {{10, text(grid.ColumnText(survey.right))},
                                     {20, text(grid.RowText(survey.top))},
                                     {30, "0.0"}});
    const double size = options.pixelSize.Value();
    changes.CentreView(size * survey.left, size * double(grid.Row(survey.bottom)),
                       size * survey.right, size * double(grid.Row(survey.top)));
  }
  if (seed) changes.Replace(seed->line, HandleText(std::int32_t(seed->value)));
  return changes.Apply(header);
}

}  // namespace pixdraft

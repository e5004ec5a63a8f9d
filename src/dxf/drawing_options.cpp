#include "dxf/drawing_options.h"

#include <utility>

namespace pixdraft {
namespace {

template <typename Value, std::size_t N>
std::optional<Value> Lookup(const std::pair<std::string_view, Value> (&names)[N],
                            std::string_view text) {
  for (const auto& [name, value] : names) {
    if (name == text) return value;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> DrawingOptionsProblem(const DrawingOptions& options) {
  const bool outlines =
      options.entity == EntityKind::Hatch || options.entity == EntityKind::Polyline;
  if (options.merge == Merge::Regions && !outlines) {
    return "--merge=regions needs --entity hatch or --entity polyline";
  }
  if (options.partCorners && options.merge != Merge::Regions) {
    return "--part-corners needs --merge=regions";
  }
  if (options.outlines && options.entity != EntityKind::Hatch) {
    return "--outlines needs --entity hatch";
  }
  return std::nullopt;
}

void CheckDrawingOptions(const DrawingOptions& options) {
  if (const auto problem = DrawingOptionsProblem(options)) throw EDrawingOptions(*problem);
}

std::optional<EntityKind> ParseEntityKind(std::string_view text) {
  static constexpr std::pair<std::string_view, EntityKind> kNames[] = {
      {"trace", EntityKind::Trace},
      {"solid", EntityKind::Solid},
      {"hatch", EntityKind::Hatch},
      {"polyline", EntityKind::Polyline}};
  return Lookup(kNames, text);
}

std::optional<Unit> ParseUnit(std::string_view text) {
  for (const Unit& unit : kUnits) {
    if (unit.name == text) return unit;
  }
  return std::nullopt;
}

std::optional<Origin> ParseOrigin(std::string_view text) {
  static constexpr std::pair<std::string_view, Origin> kNames[] = {
      {"top-left", Origin::TopLeft}, {"bottom-left", Origin::BottomLeft}};
  return Lookup(kNames, text);
}

}  // namespace pixdraft

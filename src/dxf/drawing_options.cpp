#include "dxf/drawing_options.h"

#include <charconv>
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

std::optional<TColor> ParseColour(std::string_view text) {
  if (text.starts_with('#')) text.remove_prefix(1);
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != text.npos) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return RGB(value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF);
}

std::optional<EntityKind> ParseEntityKind(std::string_view text) {
  static constexpr std::pair<std::string_view, EntityKind> kNames[] = {
      {"trace", EntityKind::Trace},
      {"solid", EntityKind::Solid},
      {"hatch", EntityKind::Hatch},
      {"polyline", EntityKind::Polyline}};
  return Lookup(kNames, text);
}

std::optional<Units> ParseUnits(std::string_view text) {
  static constexpr std::pair<std::string_view, Units> kNames[] = {{"mm", Units::Millimetres},
                                                                  {"cm", Units::Centimetres},
                                                                  {"m", Units::Metres},
                                                                  {"in", Units::Inches},
                                                                  {"ft", Units::Feet}};
  return Lookup(kNames, text);
}

std::optional<Origin> ParseOrigin(std::string_view text) {
  static constexpr std::pair<std::string_view, Origin> kNames[] = {
      {"top-left", Origin::TopLeft}, {"bottom-left", Origin::BottomLeft}};
  return Lookup(kNames, text);
}

}  // namespace pixdraft

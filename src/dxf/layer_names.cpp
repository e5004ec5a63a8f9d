#include "dxf/layer_names.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "colour/colour_text.h"

namespace pixdraft {
namespace {

bool Kept(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

std::string SafeName(const std::string& name) {
  std::string safe;
  for (const char c : name) {
    if (Kept(c)) {
      safe += c;
    } else if (!safe.empty() && safe.back() != '_') {
      safe += '_';
    }
  }
  if (safe.size() > kMaxLayerNameLength) safe.resize(kMaxLayerNameLength);
  while (!safe.empty() && safe.back() == '_') safe.pop_back();
  return safe;
}

std::string Upper(std::string text) {
  for (char& c : text) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return text;
}

// C_ and six hexadecimal digits: the form of a colour's own layer.
bool IsColourLayer(const std::string& upper) {
  return upper.size() == 8 && upper.starts_with("C_") && ParseColour(upper.substr(2));
}

FieldText Field(const std::string& text) {
  FieldText field;
  field.size = text.copy(field.data, kMaxFieldLength);
  return field;
}

}  // namespace

FieldText LayerName(TColor colour) { return Field("C_" + HexText(colour)); }

LayerNames::LayerNames(const std::vector<NamedColour>& named) {
  std::unordered_set<std::string> taken = {"0", "DEFPOINTS"};
  // Per name, the suffix to try first: those below it were taken, and stay so. Without it,
  // thousands of colours of one name would try every suffix before theirs.
  std::unordered_map<std::string, int> nextSuffix;
  for (const NamedColour& entry : named) {
    const std::string own(LayerName(entry.colour).view());
    const std::string safe = SafeName(entry.name);
    const std::string upper = Upper(safe);
    if (safe.empty() || upper == own) {
      named_.push_back({entry.colour, entry.name, LayerName(entry.colour)});
      continue;
    }
    std::string name = safe;
    if (taken.count(upper) || IsColourLayer(upper)) {
      int& n = nextSuffix.try_emplace(upper, 2).first->second;
      do {
        name = safe + "_" + std::to_string(n++);
      } while (taken.count(Upper(name)) || IsColourLayer(Upper(name)));
    }
    taken.insert(Upper(name));
    named_.push_back({entry.colour, entry.name, Field(name)});
  }
  std::stable_sort(named_.begin(), named_.end(),
                   [](const Entry& p, const Entry& q) { return p.colour < q.colour; });
}

const LayerNames::Entry* LayerNames::Find(TColor colour) const {
  const auto at = std::lower_bound(named_.begin(), named_.end(), colour,
                                   [](const Entry& entry, TColor c) { return entry.colour < c; });
  return at != named_.end() && at->colour == colour ? &*at : nullptr;
}

FieldText LayerNames::operator()(TColor colour) const {
  const Entry* entry = Find(colour);
  return entry ? entry->layer : LayerName(colour);
}

std::string_view LayerNames::Name(TColor colour) const {
  const Entry* entry = Find(colour);
  return entry ? std::string_view(entry->name) : std::string_view();
}

}  // namespace pixdraft

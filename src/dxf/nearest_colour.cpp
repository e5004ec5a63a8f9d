#include "nearest_colour.h"

#include <algorithm>
#include <cstdint>

namespace pixdraft {

NearestColour::NearestColour(const std::vector<Lab>& colours) {
  for (std::size_t i = 0; i < colours.size(); ++i) byLightness_.push_back({colours[i], i});
  std::stable_sort(byLightness_.begin(), byLightness_.end(),
                   [](const Entry& p, const Entry& q) { return p.lab.l < q.lab.l; });
}

std::size_t NearestColour::Find(const Lab& target) const {
  const auto start = std::partition_point(byLightness_.begin(), byLightness_.end(),
                                          [&](const Entry& e) { return e.lab.l < target.l; });
  std::int64_t best = INT64_MAX;
  std::size_t bestIndex = 0;
  // Equal distances go on to be compared: only a colour strictly farther in L* alone is out.
  const auto consider = [&](const Entry& e) {
    const std::int64_t dl = e.lab.l - target.l;
    if (dl * dl > best) return false;
    const std::int64_t d = LabDistance(e.lab, target);
    if (d < best || (d == best && e.index < bestIndex)) {
      best = d;
      bestIndex = e.index;
    }
    return true;
  };
  for (auto up = start; up != byLightness_.end() && consider(*up); ++up) {
  }
  for (auto down = start; down != byLightness_.begin() && consider(*--down);) {
  }
  return bestIndex;
}

}  // namespace pixdraft

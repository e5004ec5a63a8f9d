#include "colour/nearest_colour.h"

#include <algorithm>
#include <cstdint>

namespace pixdraft {

NearestColour::NearestColour(const std::vector<Lab>& colours) : count_(colours.size()) {
  for (const Lab& lab : colours) {
    ls_.push_back(lab.l);
    as_.push_back(lab.a);
    bs_.push_back(lab.b);
  }
  // Whole blocks, so the processor works them out together; the padding is never nearest.
  while (ls_.size() % kBlock != 0) {
    ls_.push_back(1e9);
    as_.push_back(1e9);
    bs_.push_back(1e9);
  }
  for (std::size_t i = 0; i < colours.size(); ++i) byLightness_.push_back({colours[i], i});
  std::stable_sort(byLightness_.begin(), byLightness_.end(),
                   [](const Entry& p, const Entry& q) { return p.lab.l < q.lab.l; });
}

std::size_t NearestColour::Find(const Lab& target) const {
  if (count_ <= kScanned) {  // the first of the nearest, in one straight pass
    // Hundredths are below 2^15, so the squared distances are whole numbers a double holds
    // exactly, and the processor works out several at once.
    double distances[kScanned];
    const std::size_t n = count_;
    const double l = target.l, a = target.a, b = target.b;
    for (std::size_t block = 0; block < ls_.size(); block += kBlock) {
      for (std::size_t i = block; i < block + kBlock; ++i) {
        const double dl = ls_[i] - l, da = as_[i] - a, db = bs_[i] - b;
        distances[i] = dl * dl + da * da + db * db;
      }
    }
    // Without branches: which colour wins is as good as random to the processor.
    double best = distances[0];
    std::size_t bestIndex = 0;
    for (std::size_t i = 1; i < n; ++i) {
      const bool nearer = distances[i] < best;
      best = nearer ? distances[i] : best;
      bestIndex = nearer ? i : bestIndex;
    }
    return bestIndex;
  }
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

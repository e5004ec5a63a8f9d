// The nearest of a list of colours by CIE76 in CIELAB (cielab.h). A colour equally near two of
// the list takes the one listed first, so the answer never depends on how the search runs.
#pragma once

#include <cstddef>
#include <vector>

#include "colour/cielab.h"

namespace pixdraft {

class NearestColour {
 public:
  // `colours` must not be empty.
  explicit NearestColour(const std::vector<Lab>& colours);

  // The index in the list of the colour nearest `target`.
  std::size_t Find(const Lab& target) const;

 private:
  // Short lists are searched through, as quick as any shortcut.
  static constexpr std::size_t kScanned = 64, kBlock = 8;
  std::size_t count_;
  std::vector<double> ls_, as_, bs_;  // the same, coordinate by coordinate, in whole blocks
  struct Entry {
    Lab lab;
    std::size_t index;
  };
  // By L*, so a search stops once L* alone is farther than the best found.
  std::vector<Entry> byLightness_;
};

}  // namespace pixdraft

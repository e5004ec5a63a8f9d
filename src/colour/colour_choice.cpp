#include "colour/colour_choice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "colour/cielab.h"
#include "colour/colour_mapping.h"
#include "colour/nearest_colour.h"

namespace pixdraft {
namespace {

constexpr int kRounds = 8;

// A box of similar colours: how many pixels, the CIELAB of their mean, and that mean rounded.
struct Point {
  Lab lab;
  std::uint64_t count;
  TColor colour;
};

struct Sums {
  std::uint64_t count = 0, red = 0, green = 0, blue = 0;
};

// The boxes that hold pixels, in the order of their place in the colour cube.
std::vector<Point> Boxes(const Raster& raster) {
  std::vector<Sums> boxes(1 << 18);
  const auto boxOf = [](TColor pixel) {
    return (pixel >> 2 & 0x3F) | (pixel >> 10 & 0x3F) << 6 | (pixel >> 18 & 0x3F) << 12;
  };
  const std::vector<TColor>& pixels = raster.pixels;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    // A photo's pixels fall in boxes all over the cube: ask for the box a few pixels ahead.
    constexpr std::size_t kAhead = 16;
    if (i + kAhead < pixels.size()) __builtin_prefetch(&boxes[boxOf(pixels[i + kAhead])]);
    const TColor pixel = pixels[i];
    if (pixel == kNoSquare) continue;
    Sums& box = boxes[boxOf(pixel)];
    ++box.count;
    box.red += pixel & 0xFF;
    box.green += pixel >> 8 & 0xFF;
    box.blue += pixel >> 16 & 0xFF;
  }
  std::vector<Point> points;
  for (const Sums& box : boxes) {
    if (box.count == 0) continue;
    const double n = double(box.count);
    const double r = double(box.red) / n, g = double(box.green) / n, b = double(box.blue) / n;
    points.push_back({ToLab(r, g, b), box.count,
                      RGB(int(std::lround(r)), int(std::lround(g)), int(std::lround(b)))});
  }
  return points;
}

// The picture's colours when there are at most `count`, else none.
std::vector<TColor> FewColours(const Raster& raster, int count) {
  std::vector<TColor> colours;
  std::vector<bool> seen(1 << 24);
  for (const TColor pixel : raster.pixels) {
    if (pixel == kNoSquare || seen[pixel]) continue;
    if (colours.size() == std::size_t(count)) return {};
    seen[pixel] = true;
    colours.push_back(pixel);
  }
  std::sort(colours.begin(), colours.end(),
            [](TColor p, TColor q) { return RedFirst(p) < RedFirst(q); });
  return colours;
}

constexpr std::array<std::int32_t Lab::*, 3> kAxes = {&Lab::l, &Lab::a, &Lab::b};

Lab Mean(const std::vector<Point>& points, const std::size_t* begin, const std::size_t* end) {
  std::array<double, 3> sum{};
  double count = 0;
  for (const std::size_t* p = begin; p != end; ++p) {
    for (int axis = 0; axis < 3; ++axis)
      sum[axis] += double(points[*p].count) * (points[*p].lab.*kAxes[axis]);
    count += double(points[*p].count);
  }
  return {std::int32_t(std::lround(sum[0] / count)), std::int32_t(std::lround(sum[1] / count)),
          std::int32_t(std::lround(sum[2] / count))};
}

// Median cut: groups of `order`'s points, as ranges of it.
struct Group {
  std::size_t begin, end;
  double spread;
};

Group MakeGroup(const std::vector<Point>& points, const std::vector<std::size_t>& order,
                std::size_t begin, std::size_t end) {
  const Lab mean = Mean(points, &order[begin], &order[0] + end);
  double spread = 0;
  for (std::size_t i = begin; i < end; ++i) {
    spread += double(points[order[i]].count) * double(LabDistance(points[order[i]].lab, mean));
  }
  return {begin, end, spread};
}

std::vector<Lab> MedianCut(const std::vector<Point>& points, int count,
                           std::vector<std::size_t>& order) {
  order.resize(points.size());
  std::iota(order.begin(), order.end(), 0);
  std::vector<Group> groups = {MakeGroup(points, order, 0, order.size())};
  while (groups.size() < std::size_t(count)) {
    Group* widest = nullptr;
    for (Group& group : groups) {
      if (group.spread > 0 && (!widest || group.spread > widest->spread)) widest = &group;
    }
    if (!widest) break;
    const auto first = order.begin() + std::ptrdiff_t(widest->begin);
    const auto last = order.begin() + std::ptrdiff_t(widest->end);
    std::int32_t Lab::*axis = kAxes[0];
    std::int32_t widestRange = -1;
    for (const auto a : kAxes) {
      const auto [low, high] = std::minmax_element(first, last, [&](std::size_t p, std::size_t q) {
        return points[p].lab.*a < points[q].lab.*a;
      });
      if (points[*high].lab.*a - points[*low].lab.*a > widestRange) {
        widestRange = points[*high].lab.*a - points[*low].lab.*a;
        axis = a;
      }
    }
    std::sort(first, last, [&](std::size_t p, std::size_t q) {
      return points[p].lab.*axis != points[q].lab.*axis ? points[p].lab.*axis < points[q].lab.*axis
                                                        : p < q;
    });
    std::uint64_t total = 0, below = 0;
    for (auto p = first; p != last; ++p) total += points[*p].count;
    std::size_t split = widest->begin;
    while (2 * (below + points[order[split]].count) < total) below += points[order[split++]].count;
    split = std::clamp(split + 1, widest->begin + 1, widest->end - 1);
    const std::size_t begin = widest->begin, end = widest->end;
    *widest = MakeGroup(points, order, begin, split);
    groups.push_back(MakeGroup(points, order, split, end));
  }
  std::vector<Lab> means;
  for (const Group& group : groups)
    means.push_back(Mean(points, &order[group.begin], &order[0] + group.end));
  return means;
}

// k-means from the median cut's groups; returns each point's group.
std::vector<std::size_t> Refine(const std::vector<Point>& points, std::vector<Lab>& means) {
  std::vector<std::size_t> group(points.size(), means.size());
  for (int round = 0; round < kRounds; ++round) {
    const NearestColour nearest(means);
    bool changed = false;
    for (std::size_t p = 0; p < points.size(); ++p) {
      const std::size_t g = nearest.Find(points[p].lab);
      changed |= g != group[p];
      group[p] = g;
    }
    if (!changed) break;
    std::vector<std::array<double, 4>> sums(means.size());
    for (std::size_t p = 0; p < points.size(); ++p) {
      const double n = double(points[p].count);
      sums[group[p]][0] += n;
      for (int axis = 0; axis < 3; ++axis)
        sums[group[p]][axis + 1] += n * (points[p].lab.*kAxes[axis]);
    }
    for (std::size_t g = 0; g < means.size(); ++g) {
      if (sums[g][0] == 0) continue;  // an empty group keeps its mean, and gives no colour
      for (int axis = 0; axis < 3; ++axis) {
        means[g].*kAxes[axis] = std::int32_t(std::lround(sums[g][axis + 1] / sums[g][0]));
      }
    }
  }
  return group;
}

}  // namespace

std::vector<TColor> ChooseColours(const Raster& raster, int count,
                                  const std::vector<TColor>& palette) {
  if (!palette.empty()) {
    const std::vector<std::size_t> used = UsedColours(raster, palette);
    if (used.size() <= std::size_t(count)) {
      std::vector<TColor> colours;
      for (const std::size_t i : used) colours.push_back(palette[i]);
      return colours;
    }
  } else if (std::vector<TColor> few = FewColours(raster, count); !few.empty()) {
    return few;
  }

  const std::vector<Point> points = Boxes(raster);
  if (points.empty()) return {};
  std::vector<std::size_t> order;
  std::vector<Lab> means = MedianCut(points, count, order);
  const std::vector<std::size_t> group = Refine(points, means);

  std::vector<TColor> colours;
  if (!palette.empty()) {
    std::vector<Lab> labs;
    for (const TColor colour : palette) labs.push_back(ToLab(colour));
    const NearestColour nearest(labs);
    std::vector<bool> held(means.size()), chosen(palette.size());
    for (const std::size_t g : group) held[g] = true;
    for (std::size_t g = 0; g < means.size(); ++g) {
      if (held[g]) chosen[nearest.Find(means[g])] = true;
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
      if (chosen[i]) colours.push_back(palette[i]);
    }
    return colours;
  }
  // Each group's box nearest its mean; the earlier box on a tie.
  std::vector<std::size_t> best(means.size(), points.size());
  for (std::size_t p = 0; p < points.size(); ++p) {
    std::size_t& b = best[group[p]];
    if (b == points.size() ||
        LabDistance(points[p].lab, means[group[p]]) < LabDistance(points[b].lab, means[group[p]])) {
      b = p;
    }
  }
  for (const std::size_t b : best) {
    if (b < points.size()) colours.push_back(points[b].colour);
  }
  std::sort(colours.begin(), colours.end(),
            [](TColor p, TColor q) { return RedFirst(p) < RedFirst(q); });
  return colours;
}

}  // namespace pixdraft

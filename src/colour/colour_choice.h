// Choosing a few colours for a picture: at most N of its own, or at most N of a palette's.
//
// A picture that already has at most N colours (or whose pixels take at most N of the palette's,
// each its nearest) keeps them. Otherwise, in CIELAB (cielab.h), deterministically:
//  1. The drawn pixels are gathered in boxes of 4 x 4 x 4 values of red, green and blue; each
//     box stands for its pixels by their count and the CIELAB colour of their mean.
//  2. Median cut: starting from one group of all boxes, the group with the largest spread (the
//     sum over its boxes of count times squared distance from the group's mean; the earliest
//     group on a tie) is split in two across its widest coordinate (L*, then a*, then b* on a
//     tie), at the count-weighted median, until there are N groups or none can be split.
//  3. k-means: each box joins the group whose mean is nearest, and each group's mean is taken
//     again, for at most 8 rounds, fewer once no box changes group.
//  4. Each group gives one colour: the mean colour of its box nearest the group's mean (so a
//     flat area keeps its exact colour), or with a palette the palette's colour nearest it.
#pragma once

#include <vector>

#include "colour/raster.h"

namespace pixdraft {

// At most `count` (at least 1) colours for the pixels of `raster` other than kNoSquare: the
// picture's own in the order of RRGGBB, or, with a `palette`, some of its colours in its order.
// None for a raster without drawn pixels.
std::vector<TColor> ChooseColours(const Raster& raster, int count,
                                  const std::vector<TColor>& palette = {});

}  // namespace pixdraft

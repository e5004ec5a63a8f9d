// The side of one square in drawing units. It is kept as the decimal the user typed, so that a
// coordinate is that decimal times a whole number exactly, not a sum of binary rounding errors:
// three squares of 0.1 end at 0.3, not at 0.30000000000000004.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "dxf/trace_record.h"

namespace pixdraft {

class PixelSize {
 public:
  // The largest side and the most decimals a pixel size may have; within them every coordinate
  // of a raster up to 2^31 pixels wide is computed without overflow and fits a FieldText.
  static constexpr std::int64_t kMaxUnits = 1000000;
  static constexpr int kMaxDecimals = 9;

  // One drawing unit per pixel.
  PixelSize() = default;

  // Reads a decimal such as "0.5", "2", ".25" or "1.": digits with at most one ".", above 0, at
  // most kMaxUnits and with at most kMaxDecimals significant decimals. No sign, exponent, blank
  // or locale's separator. Nothing for any other text.
  static std::optional<PixelSize> Parse(std::string_view text);

  // The coordinate `k` pixels from the origin, k times the size, for |k| < 2^31. A whole number
  // is written as FormatCoordinate writes it ("3.00000"); any other value as the shortest decimal
  // that reads back as the same double, with at least one decimal ("0.3", "-2.5"). No locale.
  FieldText Coordinate(std::int64_t k) const;
  // The coordinate k 32nds of a pixel from the origin, written the same way, for |k| < 2^36:
  // where parted corners (drawing_options.h) leave the grid lines.
  FieldText CoordinateIn32nds(std::int64_t k) const;

  // The size as the nearest double, for what needs no exact decimal (the view's size).
  double Value() const;
  // The size exactly: Units() / 10^Decimals(), Units() without trailing zeros.
  std::int64_t Units() const { return units_; }
  int Decimals() const { return decimals_; }

  bool operator==(const PixelSize&) const = default;

 private:
  PixelSize(std::int64_t units, int decimals) : units_(units), decimals_(decimals) {}
  // whole.remainder, the remainder with `decimals` digits, as Coordinate writes it.
  static FieldText Format(bool negative, std::uint64_t whole, std::uint64_t remainder,
                          int decimals);

  std::int64_t units_ = 1;  // the size is units_ / 10^decimals_, without trailing zeros
  int decimals_ = 0;
};

}  // namespace pixdraft

#include "cielab.h"

#include <array>
#include <cmath>

namespace pixdraft {
namespace {

// sRGB's transfer curve undone: a channel of 0 to 255 as linear light from 0 to 1.
double Linear(double channel) {
  const double c = channel / 255;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

const std::array<double, 256>& LinearTable() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = Linear(i);
    return t;
  }();
  return table;
}

double F(double t) {
  constexpr double kDelta = 6.0 / 29;
  return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29;
}

Lab FromLinear(double r, double g, double b) {
  // sRGB to XYZ; the white point is the matrix's row sums, so greys have a* = b* = 0.
  const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.9504700;
  const double y = (0.2126729 * r + 0.7151522 * g + 0.0721750 * b) / 1.0000001;
  const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.0888300;
  const double fx = F(x), fy = F(y), fz = F(z);
  return {std::int32_t(std::lround(100 * (116 * fy - 16))),
          std::int32_t(std::lround(100 * 500 * (fx - fy))),
          std::int32_t(std::lround(100 * 200 * (fy - fz)))};
}

}  // namespace

Lab ToLab(TColor colour) {
  const auto& linear = LinearTable();
  return FromLinear(linear[colour & 0xFF], linear[colour >> 8 & 0xFF], linear[colour >> 16 & 0xFF]);
}

Lab ToLab(double red, double green, double blue) {
  return FromLinear(Linear(red), Linear(green), Linear(blue));
}

}  // namespace pixdraft

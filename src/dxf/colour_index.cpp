#include "dxf/colour_index.h"

#include <array>

namespace pixdraft {
namespace {

constexpr TColor kFirstNine[] = {RGB(255, 0, 0),     RGB(255, 255, 0),   RGB(0, 255, 0),
                                 RGB(0, 255, 255),   RGB(0, 0, 255),     RGB(255, 0, 255),
                                 RGB(255, 255, 255), RGB(128, 128, 128), RGB(192, 192, 192)};
constexpr int kGreys[] = {51, 80, 105, 130, 190, 255};  // 250-255

// Index 10 + 10 h + v: hue h (0-23) at 15 h degrees; brightness 100, 65, 50, 30 or 15 % for
// v / 2; v odd halves the saturation. Each channel is the floor of 255 times its fraction.
constexpr TColor HueColour(int index) {
  const int hue = (index - 10) / 10, variant = index % 10;
  const int sector = hue / 4, step = hue % 4;  // channels in quarters of full
  const std::array<std::array<int, 3>, 6> sectors = {{{4, step, 0},
                                                      {4 - step, 4, 0},
                                                      {0, 4, step},
                                                      {0, 4 - step, 4},
                                                      {step, 0, 4},
                                                      {4, 0, 4 - step}}};
  constexpr int kBrightness[] = {100, 65, 50, 30, 15};
  int channels[3] = {};
  for (int c = 0; c < 3; ++c) {
    const int quarters = sectors[sector][c];
    const int eighths = variant % 2 ? 4 + quarters : 2 * quarters;
    channels[c] = 255 * kBrightness[variant / 2] * eighths / 800;
  }
  return RGB(channels[0], channels[1], channels[2]);
}

constexpr std::array<TColor, 256> MakePalette() {
  std::array<TColor, 256> palette{};
  for (int i = 1; i <= 9; ++i) palette[i] = kFirstNine[i - 1];
  for (int i = 10; i <= 249; ++i) palette[i] = HueColour(i);
  for (int i = 250; i <= 255; ++i)
    palette[i] = RGB(kGreys[i - 250], kGreys[i - 250], kGreys[i - 250]);
  return palette;
}

constexpr std::array<TColor, 256> kPalette = MakePalette();

int Distance(TColor a, TColor b) {
  int sum = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
    sum += d * d;
  }
  return sum;
}

bool IsGrey(TColor colour) {
  return (colour & 0xFF) == (colour >> 8 & 0xFF) && (colour & 0xFF) == (colour >> 16 & 0xFF);
}

}  // namespace

TColor ColourIndexColour(int index) { return kPalette.at(index); }

int NearestColourIndex(TColor colour) {
  const bool grey = IsGrey(colour);
  int best = 0, bestDistance = 1 << 30;
  for (int i = 1; i <= 255; ++i) {
    if (i == 7 || (grey && !IsGrey(kPalette[i]))) continue;
    const int distance = Distance(colour, kPalette[i]);
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  return best;
}

int ColourIndexCache::operator()(TColor colour) {
  const std::size_t slot = (colour * 2654435761u >> 20) % kSlots;
  if (indices_[slot] == 0 || colours_[slot] != colour) {
    colours_[slot] = colour;
    indices_[slot] = static_cast<unsigned char>(NearestColourIndex(colour));
  }
  return indices_[slot];
}

}  // namespace pixdraft

#include "dxf/pixel_size.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

namespace pixdraft {
namespace {

constexpr std::uint64_t PowerOfTen(int exponent) {
  std::uint64_t value = 1;
  while (exponent-- > 0) value *= 10;
  return value;
}

bool AllDigits(std::string_view text) {
  return text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::optional<PixelSize> PixelSize::Parse(std::string_view text) {
  const std::size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (!AllDigits(whole) || !AllDigits(fraction)) return std::nullopt;

  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  fraction.remove_suffix(fraction.size() - (fraction.find_last_not_of('0') + 1));
  if (whole.size() > 7 || fraction.size() > std::size_t(kMaxDecimals)) return std::nullopt;

  std::int64_t wholeValue = 0, fractionValue = 0;
  std::from_chars(whole.data(), whole.data() + whole.size(), wholeValue);
  std::from_chars(fraction.data(), fraction.data() + fraction.size(), fractionValue);
  const int decimals = int(fraction.size());
  if (wholeValue > kMaxUnits || (wholeValue == kMaxUnits && fractionValue > 0)) {
    return std::nullopt;
  }
  const std::int64_t units = wholeValue * std::int64_t(PowerOfTen(decimals)) + fractionValue;
  if (units == 0) return std::nullopt;
  return PixelSize(units, decimals);
}

double PixelSize::Value() const { return double(units_) / double(PowerOfTen(decimals_)); }

FieldText PixelSize::Coordinate(std::int64_t k) const {
  // |k| * size, split so that no product passes 2^64: |k| < 2^31, whole part <= 10^6, fraction
  // digits < 10^9.
  const std::uint64_t scale = PowerOfTen(decimals_);
  const std::uint64_t count = std::uint64_t(std::llabs(k));
  const std::uint64_t fractionProduct = count * (std::uint64_t(units_) % scale);
  const std::uint64_t whole = count * (std::uint64_t(units_) / scale) + fractionProduct / scale;
  return Format(k < 0, whole, fractionProduct % scale, decimals_);
}

FieldText PixelSize::CoordinateIn32nds(std::int64_t k) const {
  // A 32nd is 3125 / 10^5: |k| * units * 3125 < 2^36 * 10^15 * 2^12 < 2^100.
  const int decimals = decimals_ + 5;
  const unsigned __int128 product =
      static_cast<unsigned __int128>(std::uint64_t(std::llabs(k))) * std::uint64_t(units_) * 3125;
  const std::uint64_t scale = PowerOfTen(decimals);
  return Format(k < 0, std::uint64_t(product / scale), std::uint64_t(product % scale), decimals);
}

FieldText PixelSize::Format(bool negative, std::uint64_t whole, std::uint64_t remainder,
                            int decimals) {
  if (remainder == 0)
    return FormatCoordinate(negative ? -std::int64_t(whole) : std::int64_t(whole));

  // The exact product as decimal text, read back as the nearest double, written shortest.
  std::string digits = std::to_string(remainder);
  const std::string exact = (negative ? "-" : "") + std::to_string(whole) + "." +
                            std::string(decimals - digits.size(), '0') + digits;
  double value = 0;
  std::from_chars(exact.data(), exact.data() + exact.size(), value);

  // At most a sign, 16 digits before the point and 17 significant ones in all, or "0." with
  // ten zeros before 17 significant digits: always within kMaxFieldLength.
  FieldText text;
  char* out =
      std::to_chars(text.data, text.data + kMaxFieldLength, value, std::chars_format::fixed).ptr;
  if (std::string_view(text.data, out - text.data).find('.') == std::string_view::npos) {
    *out++ = '.';
    *out++ = '0';
  }
  text.size = out - text.data;
  return text;
}

}  // namespace pixdraft

// One pixel as a DXF TRACE entity: a unit square filled with the pixel's true colour, written as
// 36 lines (18 pairs of group code and value). Pixel (x, y) spans x..x+1 across and -y..-y+1
// upwards, so the drawing shows the picture upright.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "colour/raster.h"

namespace pixdraft {

// The values that vary from one record to the next. For pixel (x, y): Left x, Right x + 1,
// Bottom -y, Top 1 - y. ColourIndex and Layer appear only in records that options change.
enum class TraceField { None, Handle, Colour, Left, Right, Bottom, Top, ColourIndex, Layer };

// One line of the record: fixed text, or the text of a field.
struct TraceLine {
  std::string_view literal;
  TraceField field = TraceField::None;
};

// The record, line by line. Group codes keep their leading and trailing spaces: readers ignore
// them, but the bytes of the file are fixed.
inline constexpr std::array<TraceLine, 36> kTraceRecord = {{
    {"0 "},   {"TRACE"},
    {"  5"},  {{}, TraceField::Handle},
    {"100"},  {"AcDbEntity"},
    {"  8"},  {"0"},  // layer
    {"420"},  {{}, TraceField::Colour},
    {"100"},  {"AcDbTrace"},
    {" 10"},  {{}, TraceField::Left},
    {" 20 "}, {{}, TraceField::Bottom},
    {" 30"},  {"0.0"},
    {" 11 "}, {{}, TraceField::Right},
    {" 21"},  {{}, TraceField::Bottom},
    {" 31 "}, {"0.0 "},
    {" 12"},  {{}, TraceField::Left},
    {" 22"},  {{}, TraceField::Top},
    {" 32"},  {"0.0 "},
    {" 13"},  {{}, TraceField::Right},
    {" 23 "}, {{}, TraceField::Top},
    {" 33 "}, {"0.0"},
}};

// The most characters any field text takes: a 64-bit coordinate with its decimals.
constexpr std::size_t kMaxFieldLength = 32;

// A field's text, in a buffer of fixed size so that it can always be copied whole.
struct FieldText {
  char data[kMaxFieldLength] = {};
  std::size_t size = 0;
  std::string_view view() const { return {data, size}; }
};

// The field texts of one record, indexed by TraceField.
using TraceFieldTexts = std::array<FieldText, static_cast<std::size_t>(TraceField::Layer) + 1>;

// The record as drawing options change it: SOLID instead of TRACE (same groups and corners),
// the Layer field instead of layer 0, and group 62 with the ColourIndex field before group 420.
std::vector<TraceLine> TraceRecordLines(bool solid, bool colourIndex, bool layers);

// `v` in fixed-point notation with five decimals and "." whatever the locale: 3 -> "3.00000".
FieldText FormatCoordinate(std::int64_t v);
// `counter` as an unsigned hexadecimal handle, upper case, at least four digits: 300 -> "012C".
FieldText HandleField(std::int32_t counter);
// `value` in decimal, as group 62 gives the colour index.
FieldText NumberField(std::int64_t value);
// The 24-bit true colour of group 420 in decimal: red in the high byte, the reverse of TColor.
FieldText TrueColourText(TColor colour);

// The handle's text as a string.
std::string HandleText(std::int32_t counter);

}  // namespace pixdraft

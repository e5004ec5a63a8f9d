// One pixel as a DXF TRACE entity: a unit square filled with the pixel's true colour, written as
// 36 lines (18 pairs of group code and value). Pixel (x, y) spans x..x+1 across and -y..-y+1
// upwards, so the drawing shows the picture upright.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "raster.h"
#include "string_list.h"

namespace pixdraft {

// The values that vary from one record to the next.
enum class TraceField { None, Handle, Colour, Left, Right, Bottom, Top, Count };

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

// The texts of the fields of one record, indexed by TraceField.
using TraceFieldTexts = std::array<std::string_view, static_cast<std::size_t>(TraceField::Count)>;

// `v` in fixed-point notation with five decimals and "." whatever the locale: 3 -> "3.00000".
std::string FormatCoordinate(std::int64_t v);

// `counter` as an unsigned hexadecimal handle, upper case, at least four digits: 300 -> "012C".
std::string HandleText(std::int32_t counter);

// The 24-bit true colour of group 420: red in the high byte, the reverse of TColor.
std::uint32_t TrueColour(TColor colour);

// Appends the 36 lines of the record for pixel (x, y) to `list`. The caller counts the handles.
void AppendTraceRecord(TStringList& list, std::int32_t x, std::int32_t y, TColor colour,
                       std::int32_t counter);

}  // namespace pixdraft

// Small rasters drawn as text, and trace records spelled out line by line, for tests that
// compare whole drawings.
#pragma once

#include <charconv>
#include <sstream>
#include <string>
#include <vector>

#include "colour/colour_reduction.h"
#include "colour/raster_test_support.h"
#include "dxf/dxf_export.h"
#include "dxf/trace_record.h"
#include "shapes/background.h"
#include "sinks.h"

namespace pixdraft {

inline std::string Coordinate(std::int64_t v) { return std::string(FormatCoordinate(v).view()); }
// A whole value as above; a parted corner's point as its shortest decimal.
inline std::string PointCoordinate(double v) {
  if (v == double(std::int64_t(v))) return Coordinate(std::int64_t(v));
  char text[32];
  return std::string(text, std::to_chars(text, text + 32, v, std::chars_format::fixed).ptr);
}

// The whole document WriteDxfDocument makes of `raster` between the header of `header`'s bytes
// and the footer "F", the left-out colours and background left out first, as a conversion does.
inline std::string Document(const std::string& header, Raster raster,
                            const DrawingOptions& options) {
  ReduceColours(raster, {}, options.leftOutColours);
  if (options.leaveOutBackground) LeaveOutBackground(raster);
  TStringList head, foot;
  head.LoadFromBytes(header);
  foot.LoadFromBytes("F");
  StringSink sink;
  WriteDxfDocument(sink, head, raster, foot, options);
  return sink.data;
}

// The 36 lines of one TRACE record as the file holds them, CR LF after each.
inline std::string Record(const std::string& handle, const std::string& trueColour,
                          const std::string& left, const std::string& bottom,
                          const std::string& right, const std::string& top) {
  return "0 \r\nTRACE\r\n  5\r\n" + handle + "\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n420\r\n" +
         trueColour + "\r\n100\r\nAcDbTrace\r\n 10\r\n" + left + "\r\n 20 \r\n" + bottom +
         "\r\n 30\r\n0.0\r\n 11 \r\n" + right + "\r\n 21\r\n" + bottom +
         "\r\n 31 \r\n0.0 \r\n 12\r\n" + left + "\r\n 22\r\n" + top + "\r\n 32\r\n0.0 \r\n 13\r\n" +
         right + "\r\n 23 \r\n" + top + "\r\n 33 \r\n0.0\r\n";
}

// `record` on another layer, with group 62 before 420 when `index` is given, and of another
// entity type when `type` is.
inline std::string Styled(std::string record, const std::string& layer,
                          const std::string& index = "", const std::string& type = "") {
  record.replace(record.find("  8\r\n0\r\n"), 8, "  8\r\n" + layer + "\r\n");
  if (!index.empty()) record.insert(record.find("420\r\n"), " 62\r\n" + index + "\r\n");
  const std::size_t name = record.find("\r\n") + 2;
  if (!type.empty()) record.replace(name, record.find("\r\n  5") - name, type);
  return record;
}

// An LWPOLYLINE per loop, or a HATCH of all loops, the first external. Loops are written
// "x,y x,y ..." on the pixel grid (rows downwards), drawn one unit per pixel from the top-left.
inline std::string Outline(const std::string& type, const std::string& handle,
                           const std::string& trueColour, const std::vector<std::string>& loops) {
  const bool hatch = type == "HATCH";
  std::string text =
      "  0\r\n" + type + "\r\n  5\r\n" + handle + "\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n420\r\n" +
      trueColour + "\r\n100\r\n" +
      (hatch ? "AcDbHatch\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n0.0\r\n210\r\n0.0\r\n220\r\n"
               "0.0\r\n230\r\n1.0\r\n  2\r\nSOLID\r\n 70\r\n1\r\n 71\r\n0\r\n 91\r\n" +
                   std::to_string(loops.size()) + "\r\n"
             : "AcDbPolyline\r\n");
  for (const std::string& loop : loops) {
    std::istringstream in(loop);
    std::string corners;
    double x, y;
    int n = 0;
    for (char comma; in >> x >> comma >> y; ++n) {
      corners += " 10\r\n" + PointCoordinate(x) + "\r\n 20\r\n" + PointCoordinate(1 - y) + "\r\n";
    }
    const std::string count = std::to_string(n) + "\r\n";
    text += hatch ? " 92\r\n" + std::string(&loop == &loops[0] ? "3" : "2") +
                        "\r\n 72\r\n0\r\n 73\r\n1\r\n 93\r\n" + count + corners + " 97\r\n0\r\n"
                  : " 90\r\n" + count + " 70\r\n1\r\n" + corners;
  }
  return text + (hatch ? " 75\r\n0\r\n 76\r\n1\r\n 98\r\n0\r\n" : "");
}
inline std::string Polyline(const std::string& handle, const std::string& trueColour,
                            const std::string& loop) {
  return Outline("LWPOLYLINE", handle, trueColour, {loop});
}
inline std::string Hatch(const std::string& handle, const std::string& trueColour,
                         const std::vector<std::string>& loops) {
  return Outline("HATCH", handle, trueColour, loops);
}

}  // namespace pixdraft

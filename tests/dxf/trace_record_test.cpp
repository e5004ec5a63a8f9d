#include "dxf/trace_record.h"

#include <gtest/gtest.h>

#include "dxf/pixel_size.h"
#include "dxf/trace_record_writer.h"

namespace pixdraft {
namespace {

// Pixel (3, 2), red 255 green 128 blue 0, first handle: its fields as the export makes them, and
// the record as the writer appends it.
TEST(TraceRecord, WorkedExampleGivesTheExactLines) {
  TraceFieldTexts texts;
  texts[int(TraceField::Handle)] = HandleField(300);
  texts[int(TraceField::Colour)] = TrueColourText(33023);
  texts[int(TraceField::Left)] = FormatCoordinate(3);
  texts[int(TraceField::Right)] = FormatCoordinate(4);
  texts[int(TraceField::Bottom)] = FormatCoordinate(-2);
  texts[int(TraceField::Top)] = FormatCoordinate(-1);
  const TraceRecordWriter writer("\n");
  std::string record(writer.MaxRecordSize(), '\0');
  record.resize(writer.AppendTraceRecord(record.data(), texts) - record.data());
  EXPECT_EQ(record,
            "0 \nTRACE\n  5\n012C\n100\nAcDbEntity\n  8\n0\n420\n16744448\n100\nAcDbTrace\n"
            " 10\n3.00000\n 20 \n-2.00000\n 30\n0.0\n 11 \n4.00000\n 21\n-2.00000\n 31 \n0.0 \n"
            " 12\n3.00000\n 22\n-1.00000\n 32\n0.0 \n 13\n4.00000\n 23 \n-1.00000\n 33 \n0.0\n");
}

TEST(TraceRecord, HandlesAreUpperCaseHexWithAtLeastFourDigits) {
  EXPECT_EQ(HandleText(0), "0000");
  EXPECT_EQ(HandleText(300), "012C");
  EXPECT_EQ(HandleText(65535), "FFFF");
  EXPECT_EQ(HandleText(65536), "10000");
  EXPECT_EQ(HandleText(65835), "1012B");
  EXPECT_EQ(HandleText(-1), "FFFFFFFF");
}

TEST(TraceRecord, CoordinatesHaveFiveDecimalsAndNoNegativeZero) {
  EXPECT_EQ(FormatCoordinate(3).view(), "3.00000");
  EXPECT_EQ(FormatCoordinate(-2).view(), "-2.00000");
  EXPECT_EQ(FormatCoordinate(0).view(), "0.00000");
  // A negative coordinate below five decimals' reach keeps its digits, never "-0.00000".
  EXPECT_EQ(PixelSize::Parse("0.000001")->Coordinate(-1).view(), "-0.000001");
  EXPECT_EQ(PixelSize::Parse("0.000001")->CoordinateIn32nds(-1).view(), "-0.00000003125");
  EXPECT_EQ(FormatCoordinate(-2147483648LL).view(), "-2147483648.00000");
  EXPECT_EQ(FormatCoordinate(2147483648LL).view(), "2147483648.00000");
}

}  // namespace
}  // namespace pixdraft

#include "dxf/trace_record.h"

#include <gtest/gtest.h>

namespace pixdraft {
namespace {

std::vector<std::u16string> RecordLines(int x, int y, TColor colour, int counter) {
  TStringList list;
  AppendTraceRecord(list, x, y, colour, counter);
  std::vector<std::u16string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.emplace_back(list[i]);
  return lines;
}

TEST(TraceRecord, WorkedExampleGivesTheExactLines) {
  // Pixel (3, 2), red 255 green 128 blue 0, first handle.
  const std::vector<std::u16string> expected = {
      u"0 ",   u"TRACE",    u"  5",  u"012C",      u"100", u"AcDbEntity", u"  8",  u"0",
      u"420",  u"16744448", u"100",  u"AcDbTrace", u" 10", u"3.00000",    u" 20 ", u"-2.00000",
      u" 30",  u"0.0",      u" 11 ", u"4.00000",   u" 21", u"-2.00000",   u" 31 ", u"0.0 ",
      u" 12",  u"3.00000",  u" 22",  u"-1.00000",  u" 32", u"0.0 ",       u" 13",  u"4.00000",
      u" 23 ", u"-1.00000", u" 33 ", u"0.0"};
  EXPECT_EQ(RecordLines(3, 2, 33023, 300), expected);
}

TEST(TraceRecord, AppendsAfterExistingLines) {
  TStringList list;
  list.Add(u"header");
  AppendTraceRecord(list, 0, 0, 0, 300);
  ASSERT_EQ(list.Count(), 37);
  EXPECT_EQ(list[0], u"header");
  EXPECT_EQ(list[1], u"0 ");
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
  EXPECT_EQ(FormatCoordinate(3), "3.00000");
  EXPECT_EQ(FormatCoordinate(-2), "-2.00000");
  EXPECT_EQ(FormatCoordinate(0), "0.00000");
  EXPECT_EQ(FormatCoordinate(-0), "0.00000");
  EXPECT_EQ(FormatCoordinate(-2147483648LL), "-2147483648.00000");
  EXPECT_EQ(FormatCoordinate(2147483648LL), "2147483648.00000");
}

}  // namespace
}  // namespace pixdraft

// Palette files: what they hold, and every line they refuse, by file and line.
#include "colour/palette.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "colour/raster_test_support.h"

namespace pixdraft {
namespace {

TEST(Palette, ReadsColoursNamesCommentsAndBlankLines) {
  const std::string text =
      "\xEF\xBB\xBF# Tiles\r\n"
      "FF8000 orange tile\r\n"
      "\n"
      "  #1e90ff\t blue  \n"
      "#facade tiles\n"
      "# 000000 commented out\n"
      "ff8000 orange again\n"
      "FFFFFF";
  const std::vector<NamedColour> colours = {{Hex(0xFF8000), "orange tile"},
                                            {Hex(0x1E90FF), "blue"},
                                            {Hex(0xFACADE), "tiles"},
                                            {Hex(0xFFFFFF), ""}};
  EXPECT_EQ(ParsePalette(text, "p.txt"), colours);
  // The same text in UTF-16, as Windows' editors save it, with its byte-order mark.
  for (const TextEncoding utf16 : {TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    std::string encoded(Preamble(utf16));
    AppendEncoded(DecodeText(text.substr(3), TextEncoding::Utf8), utf16, encoded);
    EXPECT_EQ(ParsePalette(encoded, "p.txt"), colours);
  }
}

TEST(Palette, RefusesAMalformedLineByFileAndLine) {
  std::string many;
  for (int i = 0; i <= 4096; ++i) many += std::to_string(100000 + i) + "\n";
  for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
           {"FFFFFF\n\nFF80 orange\n", "p.txt:3: expected a colour RRGGBB, then a name if any"},
           {"FF8000orange", "p.txt:1: expected a colour RRGGBB, then a name if any"},
           {"GG0000 green", "p.txt:1: expected a colour RRGGBB, then a name if any"},
           {"FFFFFF0 white", "p.txt:1: expected a colour RRGGBB, then a name if any"},
           {"FF8000 or\xE9", "p.txt:1: the name is not UTF-8 text"},
           {"FF8000 a\x01z", "p.txt:1: the name holds a control character"},
           {"FF8000 orange\rFFFFFF white\r", "p.txt:1: the name holds a control character"},
           {std::string("F\0F\0", 4),
            "p.txt: UTF-16 text without a byte-order mark; save it as UTF-8"},
           {"FF8000 " + std::string(201, 'x'), "p.txt:1: the name is longer than 200 bytes"},
           {many, "p.txt:4097: more than 4096 colours"},
           {"# nothing\n\n", "p.txt: no colours"}}) {
    try {
      ParsePalette(text, "p.txt");
      ADD_FAILURE() << text;
    } catch (const EPaletteError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
}

}  // namespace
}  // namespace pixdraft

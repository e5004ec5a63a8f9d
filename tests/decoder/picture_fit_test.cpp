#include "decoder/picture_fit.h"

#include <gtest/gtest.h>

#include <array>

#include "decoder/picture_file.h"
#include "picture_test_support.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

struct SizeCase {
  int width, height;
  int rasterWidth, rasterHeight;
};

void PrintTo(const SizeCase& c, std::ostream* out) {
  *out << c.width << 'x' << c.height << " -> " << c.rasterWidth << 'x' << c.rasterHeight;
}

class FitSize : public testing::TestWithParam<SizeCase> {};

TEST_P(FitSize, KeepsSmallPicturesAndStretchesLargeOnesToTheFullSquare) {
  const SizeCase& c = GetParam();
  const Raster raster = FitPicture(CoordinatePicture(c.width, c.height));
  EXPECT_EQ(raster.width, c.rasterWidth);
  EXPECT_EQ(raster.height, c.rasterHeight);
}

INSTANTIATE_TEST_SUITE_P(Fit, FitSize,
                         testing::Values(SizeCase{1, 1, 1, 1}, SizeCase{255, 3, 255, 3},
                                         SizeCase{256, 256, 256, 256}, SizeCase{256, 100, 256, 100},
                                         SizeCase{100, 256, 100, 256}, SizeCase{257, 256, 256, 256},
                                         SizeCase{256, 257, 256, 256}, SizeCase{257, 1, 256, 256},
                                         SizeCase{1, 300, 256, 256},
                                         SizeCase{1024, 768, 256, 256}));

// Any side from 1 to 4096, with or without the proportions: the longer side the chosen one, the
// shorter rounded, halves up, and never below 1.
struct OptionSizeCase {
  int width, height;
  int side;
  bool keepAspect;
  int rasterWidth, rasterHeight;
};

void PrintTo(const OptionSizeCase& c, std::ostream* out) {
  *out << c.width << " x " << c.height << ", side " << c.side << (c.keepAspect ? ", kept" : "");
}

class FitOptionSize : public testing::TestWithParam<OptionSizeCase> {};

TEST_P(FitOptionSize, GivesTheChosenSizeAndSamplesToIt) {
  const OptionSizeCase& c = GetParam();
  const FitOptions options{c.side, c.keepAspect, false};
  EXPECT_EQ(FittedSize(c.width, c.height, options), (RasterSize{c.rasterWidth, c.rasterHeight}));
  const Raster raster = FitPicture(CoordinatePicture(c.width, c.height), options);
  EXPECT_EQ(raster.width, c.rasterWidth);
  EXPECT_EQ(raster.height, c.rasterHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Fit, FitOptionSize,
    testing::Values(OptionSizeCase{8, 8, 8, false, 8, 8}, OptionSizeCase{7, 3, 8, true, 7, 3},
                    OptionSizeCase{10, 5, 8, false, 8, 8}, OptionSizeCase{10, 5, 8, true, 8, 4},
                    OptionSizeCase{9, 1, 8, true, 8, 1}, OptionSizeCase{1, 9, 8, true, 1, 8},
                    OptionSizeCase{1000, 10, 256, true, 256, 3},
                    OptionSizeCase{10, 1000, 256, true, 3, 256},
                    OptionSizeCase{300, 100, 256, true, 256, 85},
                    OptionSizeCase{600, 300, 255, true, 255, 128},
                    OptionSizeCase{2, 3, 1, false, 1, 1}, OptionSizeCase{2, 3, 1, true, 1, 1},
                    OptionSizeCase{600, 500, 512, false, 512, 512},
                    OptionSizeCase{4097, 2, 4096, true, 4096, 2},
                    OptionSizeCase{1024, 768, 256, false, 256, 256}),
    [](const testing::TestParamInfo<OptionSizeCase>& info) {
      const OptionSizeCase& c = info.param;
      return std::to_string(c.width) + "x" + std::to_string(c.height) + "Side" +
             std::to_string(c.side) + (c.keepAspect ? "Kept" : "");
    });

// Each axis samples the source pixel under each raster pixel's centre on its own:
// floor((2i + 1) * source / (2 * raster)).
TEST(Fit, OptionsSampleEachAxisUnderTheCentres) {
  struct Case {
    int width, height;
    FitOptions options;
    std::vector<std::array<int, 4>> samples;  // raster x, y; source x, y
  } cases[] = {
      {1024, 512, {256, true, false}, {{0, 0, 2, 2}, {1, 1, 6, 6}, {255, 127, 1022, 510}}},
      {300, 200, {64, false, false}, {{0, 0, 2, 1}, {63, 63, 297, 198}, {32, 10, 152, 32}}},
      {10, 1000, {256, true, false}, {{0, 0, 1, 1}, {1, 128, 5, 501}, {2, 255, 8, 998}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    const Raster raster = FitPicture(CoordinatePicture(c.width, c.height), c.options);
    for (const auto& [x, y, sx, sy] : c.samples) {
      EXPECT_EQ(raster.Pixel(x, y), CoordinateColour(sx, sy)) << x << ", " << y;
    }
  }
}

// Only alpha 0 is left out; alpha 1 is still a (nearly white) square. In the copy and when
// sampled.
TEST(Fit, TransparentPixelsCanBeLeftOut) {
  QImage picture = Solid(4, 1, qRgba(0, 0, 0, 0));
  picture.setPixel(1, 0, qRgba(100, 200, 50, 1));
  picture.setPixel(2, 0, qRgb(0, 0, 255));
  const FitOptions leaveOut{256, false, true};
  EXPECT_EQ(FitPicture(picture, leaveOut).pixels,
            (std::vector<TColor>{kNoSquare, RGB(254, 255, 254), RGB(0, 0, 255), kNoSquare}));
  EXPECT_EQ(FitPicture(picture).pixels[0], RGB(255, 255, 255));

  const FitOptions sampled{2, false, true};  // columns 1 and 3
  EXPECT_EQ(FitPicture(picture, sampled).pixels,
            (std::vector<TColor>{RGB(254, 255, 254), kNoSquare, RGB(254, 255, 254), kNoSquare}));
}

TEST(Fit, UpTo256IsCopiedPixelForPixel) {
  const Raster raster = FitPicture(CoordinatePicture(256, 256));
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) ASSERT_EQ(raster.Pixel(x, y), CoordinateColour(x, y));
  }
}

// Raster pixel i samples the source pixel under the centre of its span: floor((2i + 1) * W / 512).
TEST(Fit, SamplesTheSourcePixelUnderEachCentre) {
  struct Sample {
    int x, y;    // in the raster
    int sx, sy;  // in the source
  };
  struct Case {
    int width, height;
    std::vector<Sample> samples;
  };
  const Case cases[] = {
      // One column too many: source column 128 is the one left out.
      {257, 256, {{0, 0, 0, 0}, {127, 5, 127, 5}, {128, 5, 129, 5}, {255, 255, 256, 255}}},
      // Four columns and three rows per raster pixel: the third column, the second row.
      {1024, 768, {{0, 0, 2, 1}, {1, 1, 6, 4}, {128, 128, 514, 385}, {255, 255, 1022, 766}}},
      // Fewer than two source pixels per raster pixel, both ways.
      {300, 400, {{0, 0, 0, 0}, {1, 1, 1, 2}, {100, 200, 117, 313}, {255, 255, 299, 399}}},
      {4096, 4096, {{0, 0, 8, 8}, {255, 255, 4088, 4088}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    const Raster raster = FitPicture(CoordinatePicture(c.width, c.height));
    for (const Sample& s : c.samples) {
      EXPECT_EQ(raster.Pixel(s.x, s.y), CoordinateColour(s.sx, s.sy)) << s.x << ", " << s.y;
    }
  }
}

TEST(Fit, OneRowStretchesToIdenticalRows) {
  const Raster raster = FitPicture(CoordinatePicture(257, 1));
  for (int y = 1; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) ASSERT_EQ(raster.Pixel(x, y), raster.Pixel(x, 0));
  }
  EXPECT_EQ(raster.Pixel(128, 0), CoordinateColour(129, 0));
}

struct AlphaCase {
  QRgb straight;  // red, green, blue and alpha as stored
  TColor expected;
};

// p = round(c * a / 255), channel = p + 255 - a.
const AlphaCase kAlphaCases[] = {
    {qRgba(10, 20, 30, 255), RGB(10, 20, 30)},    {qRgba(10, 20, 30, 0), RGB(255, 255, 255)},
    {qRgba(255, 0, 0, 128), RGB(255, 127, 127)},  {qRgba(0, 0, 0, 128), RGB(127, 127, 127)},
    {qRgba(100, 200, 50, 1), RGB(254, 255, 254)}, {qRgba(0, 0, 0, 254), RGB(1, 1, 1)},
    {qRgba(200, 100, 3, 77), RGB(238, 208, 179)},
};

// Through a real PNG, both in the 1:1 copy and in the stretch to 256 x 256.
TEST(Fit, CompositesOverWhiteByTheIntegerRule) {
  TempDir dir;
  for (const int width : {1, 300}) {
    for (const AlphaCase& c : kAlphaCases) {
      SCOPED_TRACE(std::to_string(width) + " wide, alpha " + std::to_string(qAlpha(c.straight)));
      WritePicture(dir / "alpha.png", Solid(width, 1, c.straight), "png");
      const Raster raster = FitPicture(LoadPictureFile(dir / "alpha.png"));
      EXPECT_EQ(raster.Pixel(0, 0), c.expected);
      EXPECT_EQ(raster.Pixel(raster.width - 1, raster.height - 1), c.expected);
    }
  }
}

TEST(Fit, TransparentBackgroundBecomesWhite) {
  TempDir dir;
  QImage picture = Solid(3, 3, qRgba(0, 0, 0, 0));
  picture.setPixel(1, 1, qRgb(0, 0, 255));
  WritePicture(dir / "dot.png", picture, "png");

  const Raster raster = FitPicture(LoadPictureFile(dir / "dot.png"));

  const TColor w = RGB(255, 255, 255);
  EXPECT_EQ(raster.pixels, (std::vector<TColor>{w, w, w, w, RGB(0, 0, 255), w, w, w, w}));
}

// Every stored format comes to 8-bit straight RGBA before compositing, in both branches.
TEST(Fit, PaletteGreyAndDeepPicturesGiveTheirColours) {
  struct Case {
    const char* name;
    QImage::Format format;
    QColor fill;
    QList<QRgb> colourTable;
    TColor expected;
  } cases[] = {
      {"palette with alpha",
       QImage::Format_Indexed8,
       {},
       {qRgb(0, 200, 0), qRgba(255, 0, 0, 128)},
       RGB(255, 127, 127)},
      {"mono", QImage::Format_Mono, {}, {qRgb(0, 0, 0), qRgb(30, 60, 90)}, RGB(30, 60, 90)},
      {"grey 8", QImage::Format_Grayscale8, QColor(77, 77, 77), {}, RGB(77, 77, 77)},
      {"grey 16",
       QImage::Format_Grayscale16,
       QColor::fromRgba64(77 * 257, 77 * 257, 77 * 257),
       {},
       RGB(77, 77, 77)},
      {"RGBA 16",
       QImage::Format_RGBA64,
       QColor::fromRgba64(65535, 0, 40 * 257, 128 * 257),
       {},
       RGB(255, 127, 147)},
  };
  TempDir dir;
  for (const Case& c : cases) {
    for (const int width : {2, 300}) {
      SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(width) + " wide");
      QImage picture(width, 1, c.format);
      if (c.colourTable.empty()) {
        picture.fill(c.fill);
      } else {
        picture.setColorTable(c.colourTable);
        picture.fill(1);  // the second entry
      }
      WritePicture(dir / "p.png", picture, "png");
      const QImage decoded = LoadPictureFile(dir / "p.png");
      ASSERT_EQ(decoded.format(), c.format) << "the file does not store that format";
      EXPECT_EQ(FitPicture(decoded).Pixel(1, 0), c.expected);
    }
  }
}

TEST(Fit, NullPictureIsInvalid) {
  EXPECT_EQ(ErrorOf([] { FitPicture(QImage()); }), "Image non valide");
}

TEST(Fit, RasterToImageShowsTheRasterColours) {
  Raster raster(2, 1);
  raster.SetPixel(0, 0, RGB(1, 2, 3));
  const QImage image = RasterToImage(raster);
  ASSERT_EQ(image.size(), QSize(2, 1));
  EXPECT_EQ(image.pixel(0, 0), qRgb(1, 2, 3));
  EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
  EXPECT_TRUE(RasterToImage(Raster()).isNull());
  raster.SetPixel(0, 0, kNoSquare);
  EXPECT_EQ(RasterToImage(raster).pixel(0, 0), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace pixdraft

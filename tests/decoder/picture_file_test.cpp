#include "decoder/picture_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <filesystem>

#include "base/readable_file.h"
#ifndef _WIN32
#include "system_calls.h"
#endif
#include "picture/decoder_process.h"
#include "picture_test_support.h"
#include "platform/platform.h"
#include "system_reason.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

const std::string kFixtures = PIXDRAFT_PICTURES;

// Largest difference of any channel between two pictures of the same size.
int MaxChannelDifference(const QImage& a, const QImage& b) {
  int largest = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  }
  return largest;
}

struct FormatCase {
  const char* format;
  const char* fileName;
  int tolerance;              // what the encoder may lose
  int width = 0, height = 0;  // of a coordinate picture, instead of the small one
};

void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.fileName; }

class EveryFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(EveryFormat, DecodesTheWrittenPixels) {
  const FormatCase& c = GetParam();
  SKIP_WITHOUT_FORMAT(c.format);
  TempDir dir;
  // Lossy encoders get flat areas, which they keep nearly exact; the others a pixel-level pattern.
  const QImage written = c.width > 0        ? CoordinatePicture(c.width, c.height)
                         : c.tolerance == 0 ? CoordinatePicture(7, 5)
                                            : Solid(16, 16, qRgb(40, 150, 220));
  WritePicture(dir / c.fileName, written, c.format);

  const QImage decoded = LoadPictureFile(dir / c.fileName);

  ASSERT_EQ(decoded.size(), written.size());
  EXPECT_LE(MaxChannelDifference(decoded, written), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Picture, EveryFormat,
                         testing::Values(FormatCase{"png", "a.png", 0},
                                         FormatCase{"bmp", "a.bmp", 0},
                                         FormatCase{"tiff", "a.tiff", 0},
                                         FormatCase{"ico", "a.ico", 0},
                                         FormatCase{"webp", "lossless.webp", 0},  // quality 100
                                         FormatCase{"jpeg", "a.jpg", 2},
                                         // Files larger than one read-ahead window, read in
                                         // pieces smaller and larger (rows of 66,000 bytes)
                                         // than it.
                                         FormatCase{"bmp", "large.bmp", 0, 300, 300},
                                         FormatCase{"webp", "large.webp", 0, 300, 300},
                                         FormatCase{"bmp", "wide.bmp", 0, 22000, 2}),
                         [](const auto& info) {
                           const std::string name = info.param.fileName;
                           return name.substr(0, name.find('.')) + info.param.format;
                         });

TEST(Picture, OnlyTheFirstFrameCounts) {
  for (const char* name : {"animated.gif", "multipage.tiff", "multi.ico"}) {
    SCOPED_TRACE(name);
    if (!QImageReader::supportedImageFormats().contains(QByteArray(name).split('.').last())) {
      continue;  // no TIFF in the Windows build
    }
    const QImage decoded = LoadPictureFile(kFixtures + "/" + name);
    EXPECT_EQ(decoded.size(), QSize(3, 2));
    EXPECT_EQ(MaxChannelDifference(decoded, Solid(3, 2, qRgb(255, 0, 0))), 0);
  }
}

TEST(Picture, ContentNotNamePicksTheDecoder) {
  TempDir dir;
  const QImage written = CoordinatePicture(4, 3);
  WritePicture(dir / "png.jpg", written, "png");
  WritePicture(dir / "bmp.png", written, "bmp");
  WritePicture(dir / "no-extension", written, "ppm");
  for (const char* name : {"png.jpg", "bmp.png", "no-extension"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(MaxChannelDifference(LoadPictureFile(dir / name), written), 0);
  }
}

TEST(Picture, CmykJpegBecomesRgb) {
  const QImage decoded = LoadPictureFile(kFixtures + "/cmyk.jpg");
  ASSERT_EQ(decoded.size(), QSize(8, 8));
  // 40 % cyan, no magenta, full yellow, 20 % black.
  EXPECT_LE(MaxChannelDifference(decoded, Solid(8, 8, qRgb(122, 204, 0))), 3);
}

TEST(Picture, OrientationTagIsNotApplied) {
  SKIP_WITHOUT_FORMAT("tiff");
  TempDir dir;
  // Qt's TIFF writer stores the tag (its JPEG writer would turn the pixels instead).
  QImageWriter writer(QString::fromStdString(dir / "turned.tiff"), "tiff");
  writer.setTransformation(QImageIOHandler::TransformationRotate90);
  ASSERT_TRUE(writer.write(CoordinatePicture(32, 16)));

  const QImage decoded = LoadPictureFile(dir / "turned.tiff");

  ASSERT_EQ(decoded.size(), QSize(32, 16));
  EXPECT_EQ(MaxChannelDifference(decoded, CoordinatePicture(32, 16)), 0);
}

TEST(Picture, ColourProfileIsNotApplied) {
  TempDir dir;
  QImage written = CoordinatePicture(4, 3);
  written.setColorSpace(QColorSpace(QColorSpace::Primaries::AdobeRgb, 1.0f));  // linear
  WritePicture(dir / "profiled.png", written, "png");

  const QImage decoded = LoadPictureFile(dir / "profiled.png");

  ASSERT_TRUE(decoded.colorSpace().isValid()) << "the profile was not written";
  EXPECT_EQ(MaxChannelDifference(decoded, written), 0);
}

TEST(Picture, StreamIsReadFromItsStart) {
  TempDir dir;
  WritePicture(dir / "a.png", CoordinatePicture(4, 3), "png");
  QByteArray bytes = QByteArray::fromStdString(ReadFile(dir / "a.png"));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  buffer.seek(bytes.size());

  EXPECT_EQ(LoadPictureStream(buffer).size(), QSize(4, 3));
}

// A BMP of `bits` (8 or 4) bits a pixel, compressed by runs (RLE8, RLE4) into `runs`, whose
// first two colours are (10, 20, 30) and (200, 0, 0).
std::string RleBmp(int bits, int width, int height, const std::string& runs) {
  const auto le = [](std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char(value >> 8 * i & 0xFF);
    return out;
  };
  const std::string palette = std::string("\x1E\x14\x0A\0\0\0\xC8\0", 8);
  const std::uint32_t offset = 14 + 40 + 8;
  return "BM" + le(offset + runs.size(), 4) + le(0, 4) + le(offset, 4) + le(40, 4) + le(width, 4) +
         le(height, 4) + le(1, 2) + le(bits, 2) + le(bits == 8 ? 1 : 2, 4) + le(runs.size(), 4) +
         le(2835, 4) + le(2835, 4) + le(2, 4) + le(0, 4) + palette + runs;
}

// A TGA of image `type` whose pixels are `data`, with a colour map of 24-bit `entries` when
// there are any.
std::string Tga(int type, int width, int height, int depth, int descriptor, const std::string& data,
                const std::string& entries = "") {
  const auto le = [](int value) { return std::string{char(value & 0xFF), char(value >> 8)}; };
  return std::string{'\0', char(entries.empty() ? 0 : 1), char(type)} + le(0) +
         le(int(entries.size() / 3)) + char(entries.empty() ? 0 : 24) + le(0) + le(0) + le(width) +
         le(height) + char(depth) + char(descriptor) + entries + data;
}

struct CompleteCase {
  const char* name;
  std::string bytes;
  int width;
  std::vector<QRgb> pixels;  // row by row
};

void PrintTo(const CompleteCase& c, std::ostream* out) { *out << c.name; }

class Complete : public testing::TestWithParam<CompleteCase> {};

TEST_P(Complete, DecodesExactly) {
  TempDir dir;
  WriteFile(dir / "picture", GetParam().bytes);
  const QImage decoded = LoadPictureFile(dir / "picture");
  std::vector<QRgb> pixels;
  for (int y = 0; y < decoded.height(); ++y) {
    for (int x = 0; x < decoded.width(); ++x) pixels.push_back(decoded.pixel(x, y));
  }
  EXPECT_EQ(decoded.width(), GetParam().width);
  EXPECT_EQ(pixels, GetParam().pixels);
}

constexpr QRgb kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
constexpr QRgb kFirst = 0xFF0A141E, kSecond = 0xFFC80000;  // of RleBmp's palette

INSTANTIATE_TEST_SUITE_P(
    Picture, Complete,
    testing::Values(
        // Fault: readers look one byte past the end for the end of the last number or line, and
        // that was taken for a cut file.
        CompleteCase{"AsciiPbmWithoutFinalNewline", "P1\n2 1\n0 1", 2, {kWhite, kBlack}},
        CompleteCase{"AsciiPgmWithoutFinalNewline", "P2\n2 1\n255\n0 200", 2, {kBlack, 0xFFC8C8C8}},
        CompleteCase{"AsciiPpmWithoutFinalNewline", "P3\n1 1\n255\n255 0 0", 1, {kRed}},
        CompleteCase{"XbmWithoutFinalNewline",
                     "#define a_width 2\n#define a_height 1\nstatic char a_bits[] = {0x01};",
                     2,
                     {kBlack, kWhite}},
        CompleteCase{"XpmWithoutFinalNewline",
                     "/* XPM */\nstatic char *a[] = {\n\"2 1 2 1\",\n\"a c #FF0000\",\n"
                     "\"b c #0000FF\",\n\"ab\"\n};",
                     2,
                     {kRed, kBlue}},
        // Fault: pixels that compressed BMP data leaves unset (its end comes early, or a jump
        // skips them, as the format allows) held whatever memory held before. Now colour 0.
        CompleteCase{"Rle8BmpEndingAtOnce",
                     RleBmp(8, 2, 2, std::string("\0\1", 2)),
                     2,
                     {kFirst, kFirst, kFirst, kFirst}},
        CompleteCase{"Rle8BmpSkippingItsBottomRow",
                     RleBmp(8, 2, 2, std::string("\0\2\0\1\2\1\0\1", 8)),
                     2,
                     {kSecond, kSecond, kFirst, kFirst}},
        // TGA as editors write it beyond true colour: a colour map and runs that cross rows, from
        // the top down; grey, from the bottom up and right to left.
        CompleteCase{
            "MappedRunLengthTga",
            Tga(9, 2, 2, 8, 0x20, std::string("\x82\0\0\1", 4), std::string("\0\0\xFF\xFF\0\0", 6)),
            2,
            {kRed, kRed, kRed, kBlue}},
        CompleteCase{"GreyTgaFromTheBottomRightToLeft",
                     Tga(3, 2, 2, 8, 0x10, std::string("\0\xFF\xFF\xFF", 4)),
                     2,
                     {kWhite, kWhite, kWhite, kBlack}},
        CompleteCase{"Rle4BmpEndingAfterItsBottomRow",
                     RleBmp(4, 2, 2, std::string("\2\x11\0\0\0\1", 6)),
                     2,
                     {kFirst, kFirst, kSecond, kSecond}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
  const char* name;
  void (*make)(const std::string& path);
  std::string message;                  // after the full path for open errors, else the whole
  const char* throughHelper = nullptr;  // when the helper's limit makes it another
  const char* path = nullptr;           // a name of the system's, instead of a file in a new folder
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class Failure : public testing::TestWithParam<FailureCase> {};

#ifdef _WIN32
constexpr char kDeviceName[] = "NUL";
#else
constexpr char kDeviceName[] = "/dev/null";
#endif

TEST_P(Failure, GivesTheUserMessage) {
  TempDir dir;
  const std::string path = GetParam().path != nullptr ? GetParam().path : dir / "picture.png";
  GetParam().make(path);
  if (IsSkipped() || HasFatalFailure()) return;
  const std::string message = ErrorOf([&] { LoadPictureFile(path); });
  const std::string expected = GetParam().message;
  if (expected.front() == '.') {
    EXPECT_EQ(message, "Impossible d'ouvrir le fichier \"" + FullPath(path) + "\"" + expected);
  } else {
    EXPECT_EQ(message, expected);
  }
  // The same verdict from the decoding helper, as both programs meet it.
  const char* helper = platform::kSanitized || UnderWine() ? nullptr : GetParam().throughHelper;
  EXPECT_EQ(ErrorOf([&] { DecodeFittedPicture(path, {}); }), helper ? helper : message)
      << "through the helper";
}

std::string Encoded(const char* format, int width = 40, int height = 30) {
  TempDir dir;
  WritePicture(dir / "picture", CoordinatePicture(width, height), format, 90);
  return ReadFile(dir / "picture");
}

std::string SmallPng() { return Encoded("png"); }

std::string ProgressiveJpeg() {
  TempDir dir;
  QImageWriter writer(QString::fromStdString(dir / "picture"), "jpeg");
  writer.setProgressiveScanWrite(true);
  EXPECT_TRUE(writer.write(CoordinatePicture(16, 16)));
  return ReadFile(dir / "picture");
}

// A JPEG of a few hundred bytes whose header declares `side` x `side` pixels.
std::string JpegDeclaring(int side, bool progressive = false) {
  std::string jpeg = progressive ? ProgressiveJpeg() : Encoded("jpeg", 16, 16);
  const std::size_t frame = jpeg.find(progressive ? "\xFF\xC2" : "\xFF\xC0");  // size at +5
  for (const std::size_t at : {frame + 5, frame + 7}) {
    jpeg[at] = char(side >> 8);
    jpeg[at + 1] = char(side & 0xFF);
  }
  return jpeg;
}

// An MNG, an animation format, whose one frame is a small PNG.
std::string Mng() {
  const std::string png = Encoded("png", 4, 4);
  const std::string mhdr = BigEndian32(4) + BigEndian32(4) + BigEndian32(1) + std::string(16, '\0');
  return "\x8AMNG\r\n\x1A\n" + PngChunk("MHDR", mhdr) + png.substr(8) + PngChunk("MEND", "");
}

INSTANTIATE_TEST_SUITE_P(
    Picture, Failure,
    testing::Values(
        FailureCase{"Missing", [](const std::string&) {}, ". " + MissingFileReason()},
        FailureCase{"Folder", [](const std::string& p) { std::filesystem::create_directory(p); },
                    ". Is a directory"},
        FailureCase{"Empty", [](const std::string& p) { WriteFile(p, ""); }, "Image non valide"},
        FailureCase{"Text", [](const std::string& p) { WriteFile(p, "not a picture\n"); },
                    "Image non valide"},
        FailureCase{"Truncated",
                    [](const std::string& p) {
                      const std::string png = SmallPng();
                      WriteFile(p, png.substr(0, png.size() / 2));
                    },
                    "Image non valide"},
        FailureCase{"HeaderOnly",  // a small size declared, no pixel data
                    [](const std::string& p) { WriteFile(p, HandMadePng(40, 30, 6, "")); },
                    "Image non valide"},
        FailureCase{
            "HugeDeclaredSize",  // 4 TB of pixels
            [](const std::string& p) { WriteFile(p, HandMadePng(1000000, 1000000, 6, "")); },
            "Mémoire insuffisante"},
        // A frame of exactly 1 GiB may be decoded, far past Qt's own default limit (this one then
        // lacks its pixels), though not within the helper's memory with a PNG reader's own; one
        // row more is refused.
        FailureCase{"DeclaringExactly1GiB",
                    [](const std::string& p) { WriteFile(p, HandMadePng(16384, 16384, 6, "")); },
                    "Image non valide", "Mémoire insuffisante"},
        FailureCase{"DeclaringOneRowOver1GiB",
                    [](const std::string& p) { WriteFile(p, HandMadePng(16384, 16385, 6, "")); },
                    "Mémoire insuffisante"},
        // Fault: decoders that stop quietly at the end of the data leave the rest of the frame
        // as whatever memory held before.
        FailureCase{"BmpCutToAQuarterOfItsPixels",
                    [](const std::string& p) {
                      const std::string bmp = Encoded("bmp");
                      WriteFile(p, bmp.substr(0, 54 + (bmp.size() - 54) / 4));
                    },
                    "Image non valide"},
        FailureCase{"XbmCutInHalf",  // its reader asks past the end, then goes on
                    [](const std::string& p) {
                      const std::string xbm = Encoded("xbm");
                      WriteFile(p, xbm.substr(0, xbm.size() / 2));
                    },
                    "Image non valide"},
        FailureCase{"JpegCutInHalf",  // libjpeg only warns, and paints the rest grey
                    [](const std::string& p) {
                      const std::string jpeg = Encoded("jpeg");
                      WriteFile(p, jpeg.substr(0, jpeg.size() / 2));
                    },
                    "Image non valide"},
        // Fault: a stray byte before a marker raised the one warning Qt passes on, so the
        // warning that the scan data broke off (at the end marker) never came.
        FailureCase{"JpegCutAfterAHarmlessWarning",
                    [](const std::string& p) {
                      std::string jpeg = Encoded("jpeg");
                      const std::size_t scan = jpeg.find("\xFF\xDA");
                      jpeg.insert(scan, 1, '\0');
                      WriteFile(p, jpeg.substr(0, scan + (jpeg.size() - scan) / 3) + "\xFF\xD9");
                    },
                    "Image non valide"},
        // Fault: libjpeg only warns of a bad code inside the data, and paints what it can.
        FailureCase{"JpegWithABadCodeInsideItsData",
                    [](const std::string& p) {
                      std::string jpeg = Encoded("jpeg", 100, 80);
                      const std::size_t scan = jpeg.find("\xFF\xDA");
                      jpeg.replace(scan + (jpeg.size() - scan) / 2, 2, "\xFF\x00", 2);
                      WriteFile(p, jpeg);
                    },
                    "Image non valide"},
        FailureCase{"JpegWithAMarkerInsideItsData",  // libjpeg stops at it, and paints the rest
                    [](const std::string& p) {
                      std::string jpeg = Encoded("jpeg");
                      const std::size_t scan = jpeg.find("\xFF\xDA");
                      jpeg.insert(scan + (jpeg.size() - scan) / 2, "\xFF\xD3");
                      WriteFile(p, jpeg);
                    },
                    "Image non valide"},
        FailureCase{"RunLengthTgaCutShort",  // one run of the 16 pixels
                    [](const std::string& p) { WriteFile(p, Tga(10, 4, 4, 24, 0, "\x83RGB")); },
                    "Image non valide"},
        FailureCase{"TgaIndexOutsideItsMap",
                    [](const std::string& p) {
                      WriteFile(p, Tga(1, 2, 1, 8, 0, std::string("\0\5", 2), "RGB"));
                    },
                    "Image non valide"},
        // Fault: decoders ran for minutes: 20,000 scans of one JPEG, an MNG that loops.
        FailureCase{"JpegOfMoreScansThanEncodersWrite",
                    [](const std::string& p) {
                      std::string jpeg = ProgressiveJpeg();
                      const std::size_t last = jpeg.rfind("\xFF\xDA");
                      const std::string scan = jpeg.substr(last, jpeg.size() - 2 - last);
                      for (int i = 0; i < 1000; ++i) jpeg.insert(last, scan);
                      WriteFile(p, jpeg);
                    },
                    "Image non valide"},
        FailureCase{"Mng", [](const std::string& p) { WriteFile(p, Mng()); }, "Image non valide"},
        // Fault: the limit counted the frame only, not what libjpeg keeps for a progressive one.
        FailureCase{"ProgressiveJpegWhoseWorkingMemoryPassesTheLimit",
                    [](const std::string& p) { WriteFile(p, JpegDeclaring(13000, true)); },
                    "Mémoire insuffisante"},
        // Fault: a bomb of a few hundred bytes took gigabytes and seconds before it failed.
        FailureCase{"JpegDeclaring40000Square",
                    [](const std::string& p) { WriteFile(p, JpegDeclaring(40000)); },
                    "Mémoire insuffisante"},
        // Fault: a FIFO blocked the open for good, a device was read until memory ran out.
        FailureCase{"Fifo",
                    [](const std::string& p) {
#ifdef _WIN32
                      GTEST_SKIP() << "Windows makes no FIFOs";
#endif
                      ASSERT_EQ(platform::MakeFifo(p), 0);
                    },
                    ". Ce n'est pas un fichier ordinaire"},
#ifndef _WIN32
        FailureCase{"LinkToDevZero",
                    [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); },
                    ". Ce n'est pas un fichier ordinaire"},
#endif
        // Fault: a device was read as a file.
        FailureCase{"Device", [](const std::string&) {}, ". Ce n'est pas un fichier ordinaire",
                    nullptr, kDeviceName}),
    [](const auto& info) { return std::string(info.param.name); });

// Root reads through any permission, so the load runs in a child that gives root up.
// Fault: a JPEG whose file shrank while it was read was "Image non valide", as if it were broken.
TEST(Picture, FileThatShrinksWhileReadGivesTheReadError) {
  TempDir dir;
  for (const char* format : {"jpg", "png"}) {
    const std::string path = dir / (std::string("a.") + format);
    WritePicture(path, CoordinatePicture(64, 64), format);
    const ReadableFile file(path);
    std::filesystem::resize_file(path, file.size() / 4);
    EXPECT_EQ(ErrorOf([&] { LoadPicture(file); }), "Erreur de lecture du flux") << format;
  }
}

#ifndef _WIN32  // permissions as POSIX has them
TEST(Picture, UnreadableFileGivesTheOpenError) {
  TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
  const std::string path = dir / "locked.png";
  WritePicture(path, CoordinatePicture(2, 2), "png");
  std::filesystem::permissions(path, std::filesystem::perms::none);

  const std::string message = ErrorInChild([&] {
    BecomeUnprivileged();
    LoadPictureFile(path);
  });
  EXPECT_EQ(message, "Impossible d'ouvrir le fichier \"" + path + "\". Permission denied");
}
#endif

}  // namespace
}  // namespace pixdraft

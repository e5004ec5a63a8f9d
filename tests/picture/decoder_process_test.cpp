#include "picture/decoder_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/readable_file.h"
#include "picture/decoder_protocol.h"
#include "picture_test_support.h"
#include "platform/platform.h"
#include "system_reason.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

// Runs the test with `program` as the decoding helper, the build's own afterwards.
class HelperProgram {
 public:
  explicit HelperProgram(const std::string& program) {
    if (const char* build = std::getenv("PIXDRAFT_DECODER")) saved_ = build;
    qputenv("PIXDRAFT_DECODER", QByteArray::fromStdString(program));
  }
  ~HelperProgram() { qputenv("PIXDRAFT_DECODER", QByteArray::fromStdString(saved_)); }

 private:
  std::string saved_;
};

struct BrokenHelper {
  const char* name;
  const char* script;  // what the helper does instead of decoding
  const char* does;    // the same, by tests/picture/broken_helper.cpp where there is no shell
  const char* message = "Image non valide";
};

#ifdef _WIN32
std::string ShellScript(const TempDir& dir, const BrokenHelper& helper) {
  const std::string copy = dir / (std::string(helper.does) + ".exe");
  std::filesystem::copy_file(BROKEN_HELPER, copy);
  return copy;
}
#else
std::string ShellScript(const TempDir& dir, const BrokenHelper& helper) {
  const std::string path = dir / "helper.sh";
  WriteFile(path, "#!/bin/sh\n" + std::string(helper.script) + "\n");
  std::filesystem::permissions(path, std::filesystem::perms(0755));
  return path;
}
#endif

void PrintTo(const BrokenHelper& helper, std::ostream* out) { *out << helper.name; }

class Decoding : public testing::TestWithParam<BrokenHelper> {};

// Whatever the helper does, the picture is refused, with the helper's verdict when it gives one.
// Its CPU time is the kernel's to stop, long before the wall-clock deadline (or the test's own
// time-out).
TEST_P(Decoding, RefusesThePictureWhenTheHelperFails) {
  TempDir dir;
  WritePicture(dir / "a.png", CoordinatePicture(2, 2), "png");
  const HelperProgram helper(ShellScript(dir, GetParam()));
  const std::string message = ErrorOf([&] {
    DecodeFittedPicture(dir / "a.png", {}, nullptr, {1 << 30, 1, 600});
  });
  EXPECT_EQ(message, GetParam().message);
}

// An answer of `status` (DecodeStatus) and no pixels, in the byte order of this machine.
#define PIXDRAFT_ANSWER(status) "printf 'PXD1\\" status "\\0\\0\\0'; head -c 16 /dev/zero"

INSTANTIATE_TEST_SUITE_P(
    Helper, Decoding,
    testing::Values(BrokenHelper{"SpinsForever", "while :; do :; done", "spin"},
                    BrokenHelper{"Crashes", "kill -SEGV $$", "crash"},
                    BrokenHelper{"AnswersNonsense", "echo nonsense", "nonsense"},
                    BrokenHelper{"AnswersOutOfMemory", PIXDRAFT_ANSWER("2"), "answer-2",
                                 "Mémoire insuffisante"},
                    BrokenHelper{"AnswersReadError", PIXDRAFT_ANSWER("3"), "answer-3",
                                 "Erreur de lecture du flux"}),
    [](const auto& info) { return std::string(info.param.name); });

// The helper's own verdict on a file it cannot read (here one open for writing only): the picture
// tests see the others in-process and through the helper.
TEST(Decoding, HelperThatCannotReadThePictureSaysSo) {
#ifdef _WIN32
  GTEST_SKIP() << "a file open to write is open to read too here";
#endif
  TempDir dir;
  WritePicture(dir / "a.png", CoordinatePicture(2, 2), "png");
  platform::File picture;
  ASSERT_EQ(platform::OpenToWrite(dir / "a.png", picture), 0);
  platform::ChildProcess helper;
  ASSERT_EQ(helper.Start(DecoderProgram(), HelperArguments({}), picture, {}), 0);
  Answer answer;
  ASSERT_TRUE(helper.Read(&answer, sizeof answer,
                          std::chrono::steady_clock::now() + std::chrono::seconds(25), nullptr));
  EXPECT_EQ(answer.status, DecodeStatus::kReadError);
}

TEST(Decoding, MissingHelperIsNamed) {
  TempDir dir;
  WritePicture(dir / "a.png", CoordinatePicture(2, 2), "png");
  const HelperProgram helper(dir / "pixdraft-decode");
  EXPECT_EQ(
      ErrorOf([&] { DecodeFittedPicture(dir / "a.png", {}); }),
      "Impossible d'ouvrir le fichier \"" + dir / "pixdraft-decode" + "\". " + MissingFileReason());
}

TEST(Decoding, CancelStopsAHelperThatNeverAnswers) {
  TempDir dir;
  WritePicture(dir / "a.png", CoordinatePicture(2, 2), "png");
  const HelperProgram helper(ShellScript(dir, {"Sleeps", "exec sleep 600", "sleep"}));
  DecodeCancel cancel;
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    cancel.Cancel();
  });
  EXPECT_THROW(DecodeFittedPicture(dir / "a.png", {}, &cancel), DecodeCancelled);
  canceller.join();
}

// Fault: a GIF of a few bytes whose one frame is to be restored afterwards made Qt's reader take
// a second frame's memory for it, past any limit on the frame alone. The helper keeps the limit
// itself, however late the program's setting of it comes.
TEST(Decoding, DecoderMemoryHasAHardLimit) {
  if (platform::kSanitized) GTEST_SKIP() << "the sanitizer reserves the address space";
#ifdef _WIN32
  if (UnderWine()) GTEST_SKIP() << "wine does not hold a job to its memory limit";
#endif
  TempDir dir;
  const std::string side("\x00\x20", 2);  // 8192, little-endian
  WriteFile(dir / "restore.gif",
            "GIF89a" + side + side + std::string("\x80\0\0\0\0\0\xFF\xFF\xFF", 9) +
                std::string("\x21\xF9\x04\x0C\0\0\0\0", 8) + "\x2C" + std::string(4, '\0') + side +
                side + std::string("\0\x02\x02\x4C\x01\0\x3B", 7));
  EXPECT_EQ(ErrorOf([&] {
              DecodeFittedPicture(dir / "restore.gif", {}, nullptr, {512 << 20, 10});
            }),
            "Mémoire insuffisante");

  DecodeRequest request;
  request.limits = {512 << 20, 10};
  platform::ChildProcess helper;
  ASSERT_EQ(helper.Start(DecoderProgram(), HelperArguments(request),
                         ReadableFile(dir / "restore.gif").file(), {}),
            0);
  Answer answer;
  ASSERT_TRUE(helper.Read(&answer, sizeof answer,
                          std::chrono::steady_clock::now() + std::chrono::seconds(25), nullptr));
  EXPECT_EQ(answer.status, DecodeStatus::kOutOfMemory);
}

}  // namespace
}  // namespace pixdraft

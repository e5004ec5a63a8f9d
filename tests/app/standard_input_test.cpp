// Standard input spooled into an unnamed file: the bytes whole, and never more read than one byte
// past the limit, whatever the input holds.
#include "app/standard_input.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/errors.h"
#include "base/readable_file.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

TEST(StandardInput, HoldsTheBytesUpToTheLimitAndReadsOneMoreAtMost) {
  TempDir dir;
  const std::string bytes(100000, 'p');  // more than the spool's buffer takes at once
  WriteFile(dir / "exact", bytes);
  WriteFile(dir / "over", bytes + "0123456789");
  std::FILE* exact = std::fopen((dir / "exact").c_str(), "rb");
  std::FILE* over = std::fopen((dir / "over").c_str(), "rb");

  // The name opens the spool as the program opens it; no other program need understand it.
  EXPECT_EQ(ReadWholeFile(SpooledInput(exact, bytes.size()).path(), bytes.size()), bytes);
  EXPECT_THROW(SpooledInput(over, bytes.size()), EOutOfMemory);
  EXPECT_EQ(std::ftell(over), long(bytes.size() + 1));
  std::fclose(exact);
  std::fclose(over);
}

}  // namespace
}  // namespace pixdraft

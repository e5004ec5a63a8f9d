// Standard input spooled into an unnamed file: the bytes whole, and never more read than one byte
// past the limit, whatever the input holds.
#include "app/standard_input.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "base/errors.h"
#include "temp_dir.h"

namespace pixdraft {
namespace {

TEST(StandardInput, HoldsTheBytesUpToTheLimitAndReadsOneMoreAtMost) {
  TempDir dir;
  const std::string bytes(100000, 'p');  // more than the spool's buffer takes at once
  WriteFile(dir / "exact", bytes);
  WriteFile(dir / "over", bytes + "0123456789");
  const int exact = ::open((dir / "exact").c_str(), O_RDONLY);
  const int over = ::open((dir / "over").c_str(), O_RDONLY);

  EXPECT_EQ(ReadFile(SpooledInput(exact, bytes.size()).path()), bytes);
  EXPECT_THROW(SpooledInput(over, bytes.size()), EOutOfMemory);
  EXPECT_EQ(::lseek(over, 0, SEEK_CUR), off_t(bytes.size() + 1));
  ::close(exact);
  ::close(over);
}

}  // namespace
}  // namespace pixdraft

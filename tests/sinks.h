// A sink that stands in for a file: it keeps the bytes in memory, and fails on purpose when asked
// to, as a full disk would.
#pragma once

#include <string>
#include <string_view>

#include "base/byte_sink.h"
#include "base/errors.h"

namespace pixdraft {

// Keeps every byte written, in order, and counts the writes. Given `failing`, throws EWriteError
// on that write (counted from 1) instead of keeping it.
class StringSink : public ByteSink {
 public:
  explicit StringSink(int failing = 0) : failing_(failing) {}
  void Write(std::string_view bytes) override {
    if (++writes == failing_) throw EWriteError();
    data += bytes;
  }
  std::string data;
  int writes = 0;

 private:
  int failing_;
};

}  // namespace pixdraft

// Sinks that stand in for a file: one that keeps the bytes in memory, and one that fails on
// purpose, as a full disk would.
#pragma once

#include <string>
#include <string_view>

#include "base/byte_sink.h"
#include "base/errors.h"

namespace pixdraft {

// Keeps every byte written, in order.
class StringSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { data += bytes; }
  std::string data;
};

// Keeps the bytes of the writes before the `failing`th (counted from 1), throws EWriteError on
// that one, and counts every write it is asked for.
class FailingSink : public StringSink {
 public:
  explicit FailingSink(int failing) : failing_(failing) {}
  void Write(std::string_view bytes) override {
    if (++writes == failing_) throw EWriteError();
    StringSink::Write(bytes);
  }
  int writes = 0;

 private:
  int failing_;
};

}  // namespace pixdraft

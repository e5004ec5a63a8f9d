// Where a document's bytes go. The export and the line list write to a sink rather than to a
// path, so tests can collect the bytes in memory or make a write fail on purpose.
#pragma once

#include <ostream>
#include <string_view>

#include "base/errors.h"

namespace pixdraft {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all of `bytes` or throws.
  virtual void Write(std::string_view bytes) = 0;
};

// Passes the bytes on to a stream as they come, such as standard output into a pipe.
class StreamSink : public ByteSink {
 public:
  explicit StreamSink(std::ostream& stream) : stream_(stream) {}
  // Throws EWriteError when the stream fails.
  void Write(std::string_view bytes) override {
    if (!stream_.write(bytes.data(), std::streamsize(bytes.size()))) throw EWriteError();
  }

 private:
  std::ostream& stream_;
};

}  // namespace pixdraft

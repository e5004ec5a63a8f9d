// Where a document's bytes go. The export and the line list write to a sink rather than to a
// path, so tests can collect the bytes in memory or make a write fail on purpose.
#pragma once

#include <string>
#include <string_view>

namespace pixdraft {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all of `bytes` or throws.
  virtual void Write(std::string_view bytes) = 0;
};

// Collects the bytes in memory.
class StringSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { data += bytes; }
  std::string data;
};

}  // namespace pixdraft

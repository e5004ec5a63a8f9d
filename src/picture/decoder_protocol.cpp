#include "picture/decoder_protocol.h"

#include <algorithm>
#include <charconv>

namespace pixdraft {
namespace {

bool ParseNumber(const std::string& text, std::int64_t& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

}  // namespace

// fit SIDE KEEP_ASPECT LEAVE_OUT_TRANSPARENT, or preview SIDE; then MEMORY_BYTES CPU_SECONDS.
std::vector<std::string> HelperArguments(const DecodeRequest& request) {
  std::vector<std::string> args =
      request.kind == DecodeRequest::Kind::kPreview
          ? std::vector<std::string>{"preview", std::to_string(request.previewSide)}
          : std::vector<std::string>{"fit", std::to_string(request.fit.side),
                                     request.fit.keepAspect ? "1" : "0",
                                     request.fit.leaveOutTransparent ? "1" : "0"};
  args.push_back(std::to_string(request.limits.memoryBytes));
  args.push_back(std::to_string(request.limits.cpuSeconds));
  return args;
}

bool ParseHelperArguments(std::vector<std::string> args, DecodeRequest& request) {
  std::int64_t memory = 0, cpu = 0;
  if (args.size() < 4 || !ParseNumber(args[args.size() - 2], memory) || memory < 0 ||
      !ParseNumber(args.back(), cpu) || cpu < 0 || cpu > 1 << 20) {
    return false;
  }
  request.limits.memoryBytes = memory;
  request.limits.cpuSeconds = int(cpu);
  args.resize(args.size() - 2);
  std::int64_t side = 0;
  if (!ParseNumber(args[1], side) || side < 1 || side > 1 << 14) return false;
  if (args[0] == "preview" && args.size() == 2) {
    request.kind = DecodeRequest::Kind::kPreview;
    request.previewSide = int(side);
    return true;
  }
  if (args[0] != "fit" || args.size() != 4) return false;
  request.kind = DecodeRequest::Kind::kFit;
  request.fit = {int(std::min<std::int64_t>(side, kLargestRasterSide)), args[2] == "1",
                 args[3] == "1"};
  return true;
}

}  // namespace pixdraft

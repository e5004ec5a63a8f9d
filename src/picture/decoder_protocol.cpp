#include "decoder_protocol.h"

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

// MEMORY CPU fit SIDE KEEP_ASPECT LEAVE_OUT_TRANSPARENT, or MEMORY CPU preview SIDE.
std::vector<std::string> HelperArguments(const DecodeRequest& request) {
  std::vector<std::string> args = {std::to_string(request.limits.memoryBytes),
                                   std::to_string(request.limits.cpuSeconds)};
  if (request.kind == DecodeRequest::Kind::kPreview) {
    args.insert(args.end(), {"preview", std::to_string(request.previewSide)});
  } else {
    args.insert(args.end(),
                {"fit", std::to_string(request.fit.side), request.fit.keepAspect ? "1" : "0",
                 request.fit.leaveOutTransparent ? "1" : "0"});
  }
  return args;
}

bool ParseHelperArguments(const std::vector<std::string>& args, DecodeRequest& request) {
  std::int64_t numbers[4] = {};
  if (args.size() < 4 || !ParseNumber(args[0], numbers[0]) || !ParseNumber(args[1], numbers[1]) ||
      !ParseNumber(args[3], numbers[2]) || numbers[1] < 1 || numbers[1] > 3600) {
    return false;
  }
  request.limits = {numbers[0], int(numbers[1])};
  if (args[2] == "preview" && args.size() == 4 && numbers[2] >= 1 && numbers[2] <= 1 << 14) {
    request.kind = DecodeRequest::Kind::kPreview;
    request.previewSide = int(numbers[2]);
    return true;
  }
  if (args[2] != "fit" || args.size() != 6 || !ParseNumber(args[4], numbers[3])) return false;
  request.kind = DecodeRequest::Kind::kFit;
  request.fit = {int(std::clamp<std::int64_t>(numbers[2], 1, kLargestRasterSide)), numbers[3] == 1,
                 args[5] == "1"};
  return true;
}

}  // namespace pixdraft

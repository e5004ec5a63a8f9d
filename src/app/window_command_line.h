// What `pixdraft` answers from its command line alone: its help and its version, before any
// window system is started, so that both work without a display.
#pragma once

#include <optional>
#include <ostream>

namespace pixdraft {

// The help text: usage, options, exit statuses.
extern const char kWindowUsage[];

// Answers --help (-h) or --version (-v) on `out`, whichever comes first before "--", and returns
// the exit status; nothing when neither is asked for and the window is to start.
std::optional<int> AnswerWithoutWindow(int argc, char** argv, std::ostream& out);

}  // namespace pixdraft

// The text that shows an error: in the window's error box, and on the converter's error lines.
#pragma once

#include <exception>
#include <string>

namespace pixdraft {

// `message` with "." appended when its last character's code is greater than that of ".": a
// message ending in a letter, digit or ":" gets a full stop; an empty one stays empty.
std::string WithFinalStop(std::string message);

// The message of `error`, or of the innermost error nested in it whose message is not empty,
// with WithFinalStop applied.
std::string ErrorDisplayText(const std::exception& error);

}  // namespace pixdraft

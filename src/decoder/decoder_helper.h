// The decoding helper's work, which pixdraft-decode's main hands over to: a process of its own for
// every picture, so that the kernel bounds what a decoder may take and the program can stop it.
#pragma once

#include <string>
#include <vector>

namespace pixdraft {

// Decodes the picture on standard input as `args` ask (see HelperArguments) and writes the Answer
// and its pixels to standard output. The program that started it has set its limits. Returns the
// exit status: 0 once an answer is written (a picture refused is an answer too), 1 when it could
// not be written, 2 for arguments it does not understand. A decoder that crashes or runs out of
// time ends the process without an answer.
int RunDecoderHelper(const std::vector<std::string>& args);

}  // namespace pixdraft

// pixdraft-decode: decodes one picture for pixdraft and pixdraft-convert, in a process of its own
// under hard limits. Not meant to be run by hand.
#include <string>
#include <vector>

#include "decoder/decoder_helper.h"

int main(int argc, char** argv) {
  return pixdraft::RunDecoderHelper(std::vector<std::string>(argv + 1, argv + argc));
}

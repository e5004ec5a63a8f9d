// pixdraft-decode: decodes one picture for pixdraft and pixdraft-convert, in a process of its own
// under hard limits. Not meant to be run by hand.
#include <QCoreApplication>
#include <string>
#include <vector>

#include "picture/decoder_helper.h"

int main(int argc, char** argv) {
  // Qt finds its image decoders through the application object: beside the program, where the
  // Windows folder has them, and where qt.conf says.
  QCoreApplication application(argc, argv);
  return pixdraft::RunDecoderHelper(std::vector<std::string>(argv + 1, argv + argc));
}
